// Started by the tests. With LANTERNA_PROBE_OUT set it writes the text after its own
// name there (UTF-16, written whole, then renamed into place) and ends; otherwise it
// waits to be ended, for two minutes at most so that nothing outlives a failed test.
#include "platform/Win32Processes.h"

#include <windows.h>

#include <string>

int main()
{
    wchar_t out[MAX_PATH * 4] = {};
    const DWORD n = GetEnvironmentVariableW(L"LANTERNA_PROBE_OUT", out, DWORD(std::size(out)));
    if (n == 0 || n >= std::size(out)) {
        Sleep(120000);
        return 0;
    }
    const std::wstring text = platform::win32::ownArgumentText();
    const std::wstring target = out;
    const std::wstring part = target + L".part";
    HANDLE f = CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    const DWORD bytes = DWORD(text.size() * sizeof(wchar_t));
    const bool ok = WriteFile(f, text.data(), bytes, &written, nullptr) && written == bytes;
    CloseHandle(f);
    if (!ok || !MoveFileExW(part.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
        return 1;
    return 0;
}
