#ifdef _WIN32

#include "platform/Win32Files.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>

namespace platform::win32 {

namespace {

constexpr unsigned kClassicBits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM
                                  | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE;

bool sameLetter(wchar_t a, wchar_t b)
{
    return a == b || CompareStringOrdinal(&a, 1, &b, 1, TRUE) == CSTR_EQUAL;
}

} // namespace

bool matchesWildcard(const std::wstring &name, const std::wstring &mask)
{
    if (mask == L"*.*" || mask == L"*")
        return true;
    // Greedy match with one back-tracking point; the file system's short names take no
    // part, so "*.url" never matches "a.urlx".
    std::size_t n = 0, m = 0, starN = 0;
    std::size_t starM = std::wstring::npos;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == L'?' || (mask[m] != L'*' && sameLetter(mask[m], name[n])))) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == L'*') {
            starM = m++;
            starN = n;
        } else if (starM != std::wstring::npos) {
            m = starM + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == L'*')
        ++m;
    return m == mask.size();
}

std::optional<std::vector<FoundEntry>> listFolder(const std::wstring &pattern)
{
    std::wstring p = pattern;
    for (wchar_t &c : p)
        if (c == L'/')
            c = L'\\';
    const std::size_t cut = p.find_last_of(L"\\:");
    std::wstring folder = cut == std::wstring::npos ? std::wstring() : p.substr(0, cut + 1);
    // "X:name" is taken at the drive's root, as the other platforms do.
    if (folder.size() == 2 && folder[1] == L':')
        folder += L'\\';
    const std::wstring mask = cut == std::wstring::npos ? p : p.substr(cut + 1);
    if (mask.empty())
        return std::nullopt;

    WIN32_FIND_DATAW fd{};
    HANDLE h = FindFirstFileW((folder + L"*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::vector<FoundEntry> out;
    do {
        fd.cFileName[MAX_PATH - 1] = L'\0';
        const std::wstring name = fd.cFileName;
        if (matchesWildcard(name, mask))
            out.push_back({name, unsigned(fd.dwFileAttributes) & kClassicBits});
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    if (out.empty())
        return std::nullopt;
    return out;
}

bool lookupPath(const std::wstring &path, unsigned allowed)
{
    std::wstring p = path;
    while (p.size() > 3 && (p.back() == L'\\' || p.back() == L'/'))
        p.pop_back();
    if (p.empty())
        return false;
    const DWORD a = GetFileAttributesW(p.c_str());
    if (a == INVALID_FILE_ATTRIBUTES)
        return false;
    const unsigned bits = unsigned(a) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY);
    return (bits & ~allowed) == 0;
}

std::wstring profileString(const std::wstring &section, const std::wstring &key, const std::wstring &defaultValue,
                           const std::wstring &file, int size)
{
    if (size <= 1)
        return {};
    std::wstring buffer(std::size_t(size), L'\0');
    const DWORD n = GetPrivateProfileStringW(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                                             DWORD(size), fullPath(file).c_str());
    buffer.resize(std::min<std::size_t>(n, std::size_t(size - 1)));
    return buffer;
}

std::wstring fullPath(const std::wstring &path)
{
    if (path.empty())
        return {};
    const DWORD need = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (need == 0)
        return path;
    std::wstring out(need, L'\0');
    const DWORD n = GetFullPathNameW(path.c_str(), need, out.data(), nullptr);
    if (n == 0 || n >= need)
        return path;
    out.resize(n);
    return out;
}

} // namespace platform::win32

#endif
