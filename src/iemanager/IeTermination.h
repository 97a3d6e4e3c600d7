#pragma once
#include <algorithm>
#include <cstdint>
#include <type_traits>

// The steps of ending one Internet Explorer process, on any process table that offers
// snapshot / open / exitCode / terminate / close (the platform's, or the Windows one
// without the toolkit), so the same steps run in every build.
enum class TerminateOutcome { NoProcess, NotAllowed, Terminated, Failed };

template <class Table, class IsIe>
TerminateOutcome terminateIfIe(Table &table, std::uint32_t pid, IsIe isIe)
{
    const auto handle = table.open(pid);
    if (!handle)
        return TerminateOutcome::NoProcess;
    // Closed whatever way this returns.
    struct Guard {
        Table &t;
        std::remove_cvref_t<decltype(*handle)> h;
        ~Guard() { t.close(h); }
    } guard{table, *handle};
    const auto code = table.exitCode(*handle);
    if (!code)
        return TerminateOutcome::NotAllowed;

    // The list may be older than this call (a yield can run a relisting, and a number
    // can be reused by another program): only a process that is an Internet Explorer
    // process right now is ended.
    const auto snapshot = table.snapshot();
    if (!snapshot)
        return TerminateOutcome::NotAllowed;
    const auto it = std::find_if(snapshot->begin(), snapshot->end(), [pid](const auto &e) { return e.pid == pid; });
    if (it == snapshot->end())
        return TerminateOutcome::NoProcess;
    if (!isIe(it->exeName))
        return TerminateOutcome::NotAllowed;
    return table.terminate(*handle, *code) ? TerminateOutcome::Terminated : TerminateOutcome::Failed;
}
