#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

struct ProcessEntry {
    quint32 pid = 0;
    QString exeName; // as the system reports it (bare name or full path)
};

struct StartError {
    int number = 0;      // the system's error number
    QString description; // the system's text for it
};

class Processes {
public:
    virtual ~Processes() = default;
    using Handle = std::int64_t;
    static constexpr quint32 kStillActive = 259;

    // All running processes in the order the system lists them; nullopt when no snapshot.
    virtual std::optional<std::vector<ProcessEntry>> snapshot() = 0;
    // nullopt when there is no such process.
    virtual std::optional<Handle> open(quint32 pid) = 0;
    // nullopt without permission; kStillActive for a running process.
    virtual std::optional<quint32> exitCode(Handle h) = 0;
    virtual bool terminate(Handle h, quint32 exitCode) = 0;
    virtual void close(Handle h) = 0;
    // Starts `program` (a Windows path) with `arguments`, each one argv element,
    // never through a shell, without waiting; its window is to open maximised with
    // the focus. nullopt on success, else the error.
    virtual std::optional<StartError> start(const QString &program, const QStringList &arguments) = 0;
};

// Whether whoever started this program asked for its window maximised (how the
// program starts its own copies). Read once, at the first call, which should come
// before any thread runs: on POSIX the request is taken out of the environment then,
// so programs this one starts do not inherit it.
bool startedMaximized();

} // namespace platform
