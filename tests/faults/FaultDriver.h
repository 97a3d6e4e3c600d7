#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sys/resource.h>
#include <sys/types.h>

#include <chrono>
#include <optional>

// The fault driver as a child process of the test: its output lines, its end.
class FaultDriver {
public:
    struct Options {
        rlim_t fileSizeLimit = RLIM_INFINITY;
        bool ignoreSizeSignal = false; // SIGXFSZ ignored: writes past the limit fail instead
        std::optional<uid_t> user;     // run under this user (the test runs as root)
        QString program;               // the driver's executable, when not the built one
    };

    FaultDriver(const QStringList &args, const Options &options);
    ~FaultDriver();
    FaultDriver(const FaultDriver &) = delete;
    FaultDriver &operator=(const FaultDriver &) = delete;

    // Reads output until a line equal to `line` arrives; false at the deadline or the end.
    bool waitForLine(const QString &line, std::chrono::milliseconds deadline);
    // Waits for the end (killing it at the deadline); the exit status as waitpid gives it.
    int finish(std::chrono::milliseconds deadline);
    void kill9();
    // For a driver started with "fork": starts one run of the work in a forked copy and
    // returns its process number (0 at the deadline); forgets the lines read so far.
    pid_t startChild(std::chrono::milliseconds deadline);

    // The number of the last operation reported finished, 0 before the first.
    long lastDone() const;
    QStringList messages() const;
    const QStringList &lines() const { return lines_; }

private:
    bool readSome(int timeoutMs);
    pid_t pid_ = -1;
    int out_ = -1;
    int in_ = -1;
    QByteArray pending_;
    QStringList lines_;
    bool ended_ = false;
};
