#pragma once
#include "platform/Processes.h"
#include "platform/RealProcesses.h"

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

// Real processes for tests: copies of `sleep` under chosen names (iexplore.exe, ...),
// started by the test as its own children. Whatever happens in the test, the
// destructor kills and reaps every one of them, and nothing else.
class SleepCopies {
public:
    SleepCopies()
    {
        sleepPath_ = QStandardPaths::findExecutable(QStringLiteral("sleep"));
        if (sleepPath_.isEmpty())
            sleepPath_ = QStringLiteral("/bin/sleep");
    }
    ~SleepCopies()
    {
        // Our own unreaped children: their numbers cannot have been reused.
        for (auto &[pid, p] : started_) {
            if (p->state() != QProcess::NotRunning) {
                ::kill(pid_t(pid), SIGKILL);
                p->waitForFinished(10000);
            }
        }
    }
    SleepCopies(const SleepCopies &) = delete;
    SleepCopies &operator=(const SleepCopies &) = delete;

    bool valid() const { return dir_.isValid(); }
    QString folder() const { return dir_.path(); }

    // A copy of sleep under this file name in the temporary folder; its native path.
    QString copy(const QString &fileName)
    {
        const QString path = dir_.filePath(fileName);
        if (!QFile::exists(path)) {
            EXPECT_TRUE(QFile::copy(sleepPath_, path)) << path.toStdString();
            QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeGroup
                                            | QFile::ExeOther);
        }
        return path;
    }

    // Starts the copy named fileName sleeping for a long time; its process number (0 on failure).
    quint32 start(const QString &fileName)
    {
        auto p = std::make_unique<QProcess>();
        p->setProgram(copy(fileName));
        p->setArguments({QStringLiteral("600")});
        p->start();
        if (!p->waitForStarted(10000)) {
            ADD_FAILURE() << "could not start " << fileName.toStdString();
            return 0;
        }
        const auto pid = quint32(p->processId());
        started_.emplace_back(pid, std::move(p));
        pids_.insert(pid);
        return pid;
    }

    // Waits, up to a generous timeout, for a started process to end; reaps it.
    bool waitGone(quint32 pid)
    {
        for (auto &[n, p] : started_)
            if (n == pid)
                return p->state() == QProcess::NotRunning || p->waitForFinished(15000);
        return false;
    }

    // Still running (not ended, not a zombie).
    static bool running(quint32 pid)
    {
        QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!f.open(QIODevice::ReadOnly))
            return false;
        const QByteArray stat = f.readAll();
        const qsizetype close = stat.lastIndexOf(')');
        if (close < 0 || close + 2 >= stat.size())
            return false;
        const char state = stat.at(close + 2);
        return state != 'Z' && state != 'X';
    }

    const std::set<quint32> &pids() const { return pids_; }

private:
    QString sleepPath_;
    QTemporaryDir dir_;
    std::vector<std::pair<quint32, std::unique_ptr<QProcess>>> started_;
    std::set<quint32> pids_;
};

// The real process table seen through a filter: the snapshot lists only the
// processes the test started, so nothing a test does can reach anyone else's.
class OwnProcesses : public platform::Processes {
public:
    explicit OwnProcesses(const SleepCopies &mine) : mine_(mine) {}

    std::optional<std::vector<platform::ProcessEntry>> snapshot() override
    {
        auto all = real_.snapshot();
        if (!all)
            return all;
        std::erase_if(*all, [this](const platform::ProcessEntry &e) { return !mine_.pids().count(e.pid); });
        return all;
    }
    std::optional<Handle> open(quint32 pid) override
    {
        if (!mine_.pids().count(pid))
            return std::nullopt;
        return real_.open(pid);
    }
    std::optional<quint32> exitCode(Handle h) override { return real_.exitCode(h); }
    bool terminate(Handle h, quint32 code) override { return real_.terminate(h, code); }
    void close(Handle h) override { real_.close(h); }
    std::optional<platform::StartError> start(const QString &program, const QStringList &arguments) override
    {
        return real_.start(program, arguments);
    }

private:
    const SleepCopies &mine_;
    platform::RealProcesses real_;
};
