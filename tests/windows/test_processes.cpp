#include "WinTestSupport.h"
#include "iemanager/IeTermination.h"
#include "platform/Win32Processes.h"

#include <tlhelp32.h>

#include <algorithm>

using platform::win32::ProcessRecord;
using platform::win32::ProcessTable;
using namespace wintest;

namespace {

// What the program asks of a name: its upper-case form contains IEXPLORE.EXE.
bool isIe(const std::wstring &name)
{
    std::wstring up = name;
    CharUpperBuffW(up.data(), DWORD(up.size()));
    return up.find(L"IEXPLORE.EXE") != std::wstring::npos;
}

std::vector<DWORD> pidsAmong(const std::vector<ProcessRecord> &snap, const std::vector<DWORD> &wanted)
{
    std::vector<DWORD> out;
    for (const auto &e : snap)
        if (std::find(wanted.begin(), wanted.end(), e.pid) != wanted.end())
            out.push_back(e.pid);
    return out;
}

std::vector<DWORD> rawSnapshotPids()
{
    std::vector<DWORD> out;
    HANDLE s = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W pe{};
    pe.dwSize = sizeof pe;
    if (Process32FirstW(s, &pe))
        do
            out.push_back(pe.th32ProcessID);
        while (Process32NextW(s, &pe));
    CloseHandle(s);
    return out;
}

// Under Wine a started process reaches the snapshot a moment after CreateProcess returns.
bool listed(const std::vector<DWORD> &pids)
{
    return waitFor([&] {
        const auto raw = rawSnapshotPids();
        return std::all_of(pids.begin(), pids.end(),
                           [&](DWORD p) { return std::find(raw.begin(), raw.end(), p) != raw.end(); });
    });
}

std::string state(const Started &p)
{
    const auto raw = rawSnapshotPids();
    return " [" + std::to_string(p.pid()) + (p.running() ? " running" : " ended " + std::to_string(p.exitCode()))
           + (std::find(raw.begin(), raw.end(), p.pid()) != raw.end() ? " listed]" : " not listed]");
}

DWORD handleCount()
{
    DWORD n = 0;
    GetProcessHandleCount(GetCurrentProcess(), &n);
    return n;
}

} // namespace

TEST(ProcessTable, SnapshotListsStartedProgramsByNameAndNumberInSnapshotOrder)
{
    TempFolder tmp;
    const std::wstring ie = copyProbeAs(tmp.path(), L"iexplore.exe");
    const std::wstring upper = copyProbeAs(tmp / L"Programmi", L"IEXPLORE.EXE");
    const std::wstring other = copyProbeAs(tmp.path(), L"other.exe");
    Started a(ie, L"\"" + ie + L"\""), b(other, L"\"" + other + L"\""), c(upper, L"\"" + upper + L"\"");
    ASSERT_TRUE(a.ok() && b.ok() && c.ok());
    ASSERT_TRUE(listed({a.pid(), b.pid(), c.pid()})) << state(a) << state(b) << state(c);

    ProcessTable table;
    const auto snap = table.snapshot();
    ASSERT_TRUE(snap.has_value());
    const auto nameOf = [&](DWORD pid) {
        std::vector<std::wstring> names;
        for (const auto &e : *snap)
            if (e.pid == pid)
                names.push_back(e.exeName);
        return names;
    };
    // The bare file name, as the system reports it, once per process.
    EXPECT_EQ(nameOf(a.pid()), std::vector<std::wstring>{L"iexplore.exe"});
    EXPECT_EQ(nameOf(b.pid()), std::vector<std::wstring>{L"other.exe"});
    EXPECT_EQ(nameOf(c.pid()), std::vector<std::wstring>{L"IEXPLORE.EXE"});
    EXPECT_TRUE(isIe(nameOf(a.pid()).at(0)) && isIe(nameOf(c.pid()).at(0)) && !isIe(nameOf(b.pid()).at(0)));

    // Nothing is sorted or dropped on the way: the order is the system's own.
    const std::vector<DWORD> ours{a.pid(), b.pid(), c.pid()};
    EXPECT_EQ(pidsAmong(*snap, ours).size(), 3u);
    const auto raw = rawSnapshotPids();
    std::vector<DWORD> rawOurs;
    for (DWORD p : raw)
        if (std::find(ours.begin(), ours.end(), p) != ours.end())
            rawOurs.push_back(p);
    EXPECT_EQ(pidsAmong(*snap, ours), rawOurs);
    EXPECT_GE(snap->size(), 4u); // the system's own processes and this test are there too
}

TEST(ProcessTable, TerminateEndsExactlyTheNamedProcessAndNothingElse)
{
    TempFolder tmp;
    const std::wstring ie = copyProbeAs(tmp.path(), L"iexplore.exe");
    const std::wstring other = copyProbeAs(tmp.path(), L"other.exe");
    const std::wstring cmdIe = L"\"" + ie + L"\"";
    Started first(ie, cmdIe), second(ie, cmdIe), bystander(other, L"\"" + other + L"\"");
    ASSERT_TRUE(first.ok() && second.ok() && bystander.ok());
    ASSERT_TRUE(listed({first.pid(), second.pid(), bystander.pid()}))
        << state(first) << state(second) << state(bystander);
    ProcessTable table;
    const DWORD handlesBefore = handleCount();

    // A running process is opened and reads as still active.
    const auto h = table.open(second.pid());
    ASSERT_TRUE(h.has_value());
    EXPECT_EQ(table.exitCode(*h), std::optional<std::uint32_t>(STILL_ACTIVE));
    table.close(*h);

    EXPECT_EQ(terminateIfIe(table, first.pid(), isIe), TerminateOutcome::Terminated);
    ASSERT_TRUE(first.waitForEnd());
    // It was given the exit code read just before: still-active.
    EXPECT_EQ(first.exitCode(), DWORD(STILL_ACTIVE));
    EXPECT_TRUE(second.running());
    EXPECT_TRUE(bystander.running());

    // A number that names another program now is not ended.
    EXPECT_EQ(terminateIfIe(table, bystander.pid(), isIe), TerminateOutcome::NotAllowed);
    EXPECT_TRUE(bystander.running());
    // A number whose process has gone ends nothing, even while a handle keeps its record.
    EXPECT_EQ(terminateIfIe(table, first.pid(), isIe), TerminateOutcome::NoProcess);
    EXPECT_EQ(terminateIfIe(table, 0xFFFFFFF0u, isIe), TerminateOutcome::NoProcess);
    EXPECT_TRUE(second.running());
    EXPECT_TRUE(bystander.running());
    // Every handle opened on the way was closed again.
    EXPECT_EQ(handleCount(), handlesBefore);

    EXPECT_EQ(terminateIfIe(table, second.pid(), isIe), TerminateOutcome::Terminated);
    EXPECT_TRUE(second.waitForEnd());
    EXPECT_TRUE(bystander.running());
}
