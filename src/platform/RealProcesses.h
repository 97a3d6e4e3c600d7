#pragma once
#include "platform/Processes.h"

#include <map>

namespace platform {

// The system's process table: /proc and signals on Linux, the Toolhelp snapshot
// and process handles on Windows.
class RealProcesses : public Processes {
public:
    RealProcesses() = default;
    ~RealProcesses() override;
    RealProcesses(const RealProcesses &) = delete;
    RealProcesses &operator=(const RealProcesses &) = delete;

    // Processes that have already ended (zombies waiting for their parent) are left out.
    std::optional<std::vector<ProcessEntry>> snapshot() override;
    std::optional<Handle> open(quint32 pid) override;
    std::optional<quint32> exitCode(Handle h) override;
    // On Linux the process is killed (SIGKILL); the exit code cannot be chosen there.
    bool terminate(Handle h, quint32 exitCode) override;
    void close(Handle h) override;
    std::optional<StartError> start(const QString &program, const QStringList &arguments) override;

private:
#ifndef _WIN32
    struct Opened {
        int pid = 0;
        int pidfd = -1; // pins the process, so a reused number is never signalled
    };
    std::map<Handle, Opened> opened_;
    Handle nextHandle_ = 1;
#endif
};

} // namespace platform
