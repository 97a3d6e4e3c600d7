#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The Windows process table without the toolkit: the Toolhelp snapshot, process handles
// and CreateProcess. The Qt build wraps it in RealProcesses; the Windows tests use it as is.
namespace platform::win32 {

struct ProcessRecord {
    std::uint32_t pid = 0;
    std::wstring exeName; // as the snapshot reports it
};

struct StartFailure {
    int number = 0;           // GetLastError()
    std::wstring description; // the system's text for it
};

class ProcessTable {
public:
    using Handle = std::int64_t;

    // Every process in the snapshot's order; nullopt when no snapshot can be taken.
    std::optional<std::vector<ProcessRecord>> snapshot();
    // nullopt when the process cannot be opened to read its exit code and end it.
    std::optional<Handle> open(std::uint32_t pid);
    // nullopt when the code cannot be read; 259 (STILL_ACTIVE) while it runs.
    std::optional<std::uint32_t> exitCode(Handle h);
    bool terminate(Handle h, std::uint32_t exitCode);
    void close(Handle h);
};

// Starts `program` (".exe" added when only that names a file) with the arguments as
// the text after its name, joined by single blanks, without waiting and without a shell.
std::optional<StartFailure> startProgram(const std::wstring &program, const std::vector<std::wstring> &arguments);

// The command line a started program receives: its quoted path, then one blank and the
// arguments joined by single blanks (none when there are no arguments).
std::wstring commandLineFor(const std::wstring &program, const std::vector<std::wstring> &arguments);
// The text after the program name of a command line, exactly: a quoted name ends at its
// closing quote, a bare one at the first blank or tab; one separating blank or tab is
// dropped and everything after it (quotes, more blanks) is kept.
std::wstring textAfterProgramName(const wchar_t *commandLine);
// textAfterProgramName of this process's own command line.
std::wstring ownArgumentText();

} // namespace platform::win32
