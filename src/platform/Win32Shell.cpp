#ifdef _WIN32

#include "platform/Win32Shell.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdint>

namespace platform::win32 {

std::optional<std::wstring> favoritesFolder()
{
    wchar_t buf[MAX_PATH + 1] = {};
    if (SHGetFolderPathW(nullptr, CSIDL_FAVORITES, nullptr, SHGFP_TYPE_CURRENT, buf) != S_OK)
        return std::nullopt;
    buf[MAX_PATH] = L'\0';
    std::wstring path = buf;
    if (path.empty())
        return std::nullopt;
    return path;
}

int findExecutable(const std::wstring &documentPath)
{
    wchar_t found[MAX_PATH + 1] = {};
    const HINSTANCE r = FindExecutableW(documentPath.c_str(), nullptr, found);
    return int(reinterpret_cast<std::intptr_t>(r));
}

} // namespace platform::win32

#endif
