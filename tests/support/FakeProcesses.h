#pragma once
#include "platform/Processes.h"

#include <map>
#include <set>

// An in-memory process table. Starting a program records it.
class FakeProcesses : public platform::Processes {
public:
    std::optional<std::vector<platform::ProcessEntry>> table = std::vector<platform::ProcessEntry>{};
    std::set<quint32> noPermission;
    std::vector<quint32> terminated;
    struct Start {
        QString program;
        QStringList arguments;
    };
    std::vector<Start> starts;
    std::optional<platform::StartError> startFails; // the error every start reports
    int snapshots = 0; // readings of the table

    std::optional<std::vector<platform::ProcessEntry>> snapshot() override
    {
        ++snapshots;
        return table;
    }
    std::optional<Handle> open(quint32 pid) override
    {
        if (!table)
            return std::nullopt;
        for (const auto &e : *table)
            if (e.pid == pid)
                return Handle(pid);
        return std::nullopt;
    }
    std::optional<quint32> exitCode(Handle h) override
    {
        if (noPermission.count(quint32(h)))
            return std::nullopt;
        return kStillActive;
    }
    bool terminate(Handle h, quint32) override
    {
        terminated.push_back(quint32(h));
        if (table)
            std::erase_if(*table, [h](const auto &e) { return e.pid == quint32(h); });
        return true;
    }
    void close(Handle) override {}
    std::optional<platform::StartError> start(const QString &program, const QStringList &arguments) override
    {
        starts.push_back({program, arguments});
        return startFails;
    }
};
