#pragma once
// Helpers of the Windows tests: a fresh folder per test, files as bytes, started
// programs that are always ended, and waiting for a condition with a deadline.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace wintest {

inline std::wstring folderOf(const std::wstring &path) { return path.substr(0, path.find_last_of(L'\\')); }

inline std::wstring thisProgram()
{
    std::wstring buf(32768, L'\0');
    buf.resize(GetModuleFileNameW(nullptr, buf.data(), DWORD(buf.size())));
    return buf;
}

// The helper program built beside the tests.
inline std::wstring probePath() { return folderOf(thisProgram()) + L"\\probe.exe"; }

inline void removeTree(const std::wstring &path)
{
    WIN32_FIND_DATAW fd{};
    HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring full = path + L"\\" + name;
            SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(full);
            else
                DeleteFileW(full.c_str());
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(path.c_str());
}

// A new folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder()
    {
        wchar_t base[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH, base);
        for (unsigned i = 0;; ++i) {
            path_ = std::wstring(base) + L"lanterna-" + std::to_wstring(GetCurrentProcessId()) + L"-"
                    + std::to_wstring(i);
            if (CreateDirectoryW(path_.c_str(), nullptr))
                break;
        }
    }
    ~TempFolder() { removeTree(path_); }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    const std::wstring &path() const { return path_; }
    std::wstring operator/(const std::wstring &name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

inline bool writeBytes(const std::wstring &path, const std::string &bytes)
{
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(f, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size();
    CloseHandle(f);
    return ok;
}

// nullopt when the file cannot be opened (missing, or still held by its writer).
inline std::optional<std::string> readBytes(const std::wstring &path)
{
    std::string out;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return std::nullopt;
    char buf[4096];
    DWORD n = 0;
    while (ReadFile(f, buf, sizeof buf, &n, nullptr) && n > 0)
        out.append(buf, n);
    CloseHandle(f);
    return out;
}

inline bool exists(const std::wstring &path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Polls until the condition holds or the deadline passes.
inline bool waitFor(const std::function<bool()> &condition, DWORD milliseconds = 20000)
{
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (!condition()) {
        if (GetTickCount64() > end)
            return false;
        Sleep(20);
    }
    return true;
}

// A program the test started; ended and released when the test leaves.
class Started {
public:
    Started(const std::wstring &program, const std::wstring &commandLine)
    {
        std::wstring cmd = commandLine;
        STARTUPINFOW si{};
        si.cb = sizeof si;
        ok_ = CreateProcessW(program.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_);
    }
    ~Started()
    {
        if (!ok_)
            return;
        if (running())
            TerminateProcess(pi_.hProcess, 1);
        WaitForSingleObject(pi_.hProcess, 10000);
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }
    Started(const Started &) = delete;
    Started &operator=(const Started &) = delete;

    bool ok() const { return ok_; }
    DWORD pid() const { return pi_.dwProcessId; }
    HANDLE handle() const { return pi_.hProcess; }
    bool running() const { return WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }
    bool waitForEnd(DWORD ms = 20000) const { return WaitForSingleObject(pi_.hProcess, ms) == WAIT_OBJECT_0; }
    DWORD exitCode() const
    {
        DWORD c = 0;
        GetExitCodeProcess(pi_.hProcess, &c);
        return c;
    }

private:
    PROCESS_INFORMATION pi_{};
    bool ok_ = false;
};

// A copy of the helper program under another name (iexplore.exe, say) in `folder`.
inline std::wstring copyProbeAs(const std::wstring &folder, const std::wstring &name)
{
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring target = folder + L"\\" + name;
    EXPECT_TRUE(CopyFileW(probePath().c_str(), target.c_str(), FALSE)) << target;
    return target;
}

} // namespace wintest
