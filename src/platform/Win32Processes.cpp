#include "platform/Win32Processes.h"

namespace platform::win32 {

std::wstring commandLineFor(const std::wstring &program, const std::vector<std::wstring> &arguments)
{
    // The path is quoted on its own, so blanks in it never split it.
    std::wstring line = L"\"" + program + L"\"";
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        line += L' ';
        line += arguments[i];
    }
    return line;
}

std::wstring textAfterProgramName(const wchar_t *commandLine)
{
    if (!commandLine)
        return {};
    const wchar_t *p = commandLine;
    if (*p == L'"') {
        ++p;
        while (*p && *p != L'"')
            ++p;
        if (*p)
            ++p;
    } else {
        while (*p && *p != L' ' && *p != L'\t')
            ++p;
    }
    // Only the separator goes: the argument's own blanks and quotes are its text.
    if (*p == L' ' || *p == L'\t')
        ++p;
    return p;
}

} // namespace platform::win32

#ifdef _WIN32

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <tlhelp32.h>

namespace platform::win32 {

namespace {

HANDLE asHandle(ProcessTable::Handle h) { return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(h)); }

bool isFile(const std::wstring &path)
{
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring systemText(DWORD err)
{
    wchar_t *buf = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                       | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, err, 0, reinterpret_cast<wchar_t *>(&buf), 0, nullptr);
    std::wstring text = n ? std::wstring(buf, n) : std::wstring();
    if (buf)
        LocalFree(buf);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
        text.pop_back();
    return text;
}

} // namespace

std::optional<std::vector<ProcessRecord>> ProcessTable::snapshot()
{
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::vector<ProcessRecord> out;
    PROCESSENTRY32W pe{};
    pe.dwSize = sizeof(pe);
    if (Process32FirstW(snap, &pe)) {
        do {
            pe.szExeFile[MAX_PATH - 1] = L'\0';
            out.push_back({std::uint32_t(pe.th32ProcessID), pe.szExeFile});
            pe.dwSize = sizeof(pe);
        } while (Process32NextW(snap, &pe));
    }
    CloseHandle(snap);
    return out;
}

std::optional<ProcessTable::Handle> ProcessTable::open(std::uint32_t pid)
{
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, DWORD(pid));
    if (!h)
        return std::nullopt;
    return Handle(reinterpret_cast<std::intptr_t>(h));
}

std::optional<std::uint32_t> ProcessTable::exitCode(Handle h)
{
    DWORD code = 0;
    if (!GetExitCodeProcess(asHandle(h), &code))
        return std::nullopt;
    return std::uint32_t(code);
}

bool ProcessTable::terminate(Handle h, std::uint32_t exitCode)
{
    return TerminateProcess(asHandle(h), UINT(exitCode)) != 0;
}

void ProcessTable::close(Handle h) { CloseHandle(asHandle(h)); }

std::optional<StartFailure> startProgram(const std::wstring &program, const std::vector<std::wstring> &arguments)
{
    std::wstring path = program;
    // The program's own name comes without its extension, and CreateProcess adds
    // none to the module name it is given.
    if (!isFile(path) && isFile(path + L".exe"))
        path += L".exe";
    std::wstring cmd = commandLineFor(path, arguments);

    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWMAXIMIZED;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(path.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        const DWORD err = GetLastError();
        return StartFailure{int(err), systemText(err)};
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return std::nullopt;
}

std::wstring ownArgumentText() { return textAfterProgramName(GetCommandLineW()); }

} // namespace platform::win32

#endif
