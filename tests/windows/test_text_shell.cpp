#include "WinTestSupport.h"
#include "platform/Ansi.h"
#include "platform/Win32Files.h"
#include "platform/Win32Shell.h"

#include <shlobj.h>

using namespace platform;
using namespace wintest;

namespace {

std::vector<std::string> lines(std::string_view bytes)
{
    std::vector<std::string> out;
    for (const auto &[offset, length] : ansi::lineSpans(bytes))
        out.emplace_back(bytes.substr(offset, length));
    return out;
}

std::wstring wide(const std::u16string &s) { return std::wstring(s.begin(), s.end()); }

// Sets the Favorites entry of the user's shell folders; the old value comes back after.
class FavoritesRedirect {
public:
    explicit FavoritesRedirect(const std::wstring &folder)
    {
        RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        DWORD size = sizeof old_;
        had_ = RegQueryValueExW(key_, L"Favorites", nullptr, &type_, reinterpret_cast<BYTE *>(old_), &size)
               == ERROR_SUCCESS;
        RegSetValueExW(key_, L"Favorites", 0, REG_SZ, reinterpret_cast<const BYTE *>(folder.c_str()),
                       DWORD((folder.size() + 1) * sizeof(wchar_t)));
    }
    ~FavoritesRedirect()
    {
        if (had_)
            RegSetValueExW(key_, L"Favorites", 0, type_, reinterpret_cast<const BYTE *>(old_),
                           DWORD((wcslen(old_) + 1) * sizeof(wchar_t)));
        else
            RegDeleteValueW(key_, L"Favorites");
        RegCloseKey(key_);
    }

private:
    static constexpr const wchar_t *kKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    HKEY key_ = nullptr;
    DWORD type_ = REG_SZ;
    wchar_t old_[1024] = {};
    bool had_ = false;
};

} // namespace

TEST(Text, EveryByteRoundTripsThroughTheCodePageAsTheSystemDecodesIt)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(char(b));
    const std::u16string decoded = ansi::decode(all);
    ASSERT_EQ(decoded.size(), 256u);
    EXPECT_EQ(ansi::encode(decoded), all);
    EXPECT_EQ(decoded[0x80], u'\u20AC');
    EXPECT_EQ(decoded[0xE0], u'\u00E0');
    EXPECT_EQ(decoded[0x81], u'\u0081');
    EXPECT_EQ(ansi::encode(u"citt\u00E0 \u20AC"), "citt\xE0 \x80");
    EXPECT_EQ(ansi::encode(u"\u4E2D"), "?");

    // The system's own code page 1252 agrees on every byte (its five holes included), and
    // a wchar_t text is the same 16-bit text.
    std::wstring system(256, L'\0');
    ASSERT_EQ(MultiByteToWideChar(1252, 0, all.data(), 256, system.data(), 256), 256);
    EXPECT_EQ(wide(decoded), system);
}

TEST(Text, LinesEndAtCrLfLoneCrOrLoneLf)
{
    EXPECT_EQ(lines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(lines("a\r\n"), std::vector<std::string>{"a"});
    EXPECT_EQ(lines("a\n\nb\r\r\n"), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_TRUE(lines("").empty());
    EXPECT_EQ(lines(std::string_view("x\0y", 3)), std::vector<std::string>{std::string("x\0y", 3)});
}

TEST(Shell, TheFavoritesFolderIsTheSystemsSpecialFolder)
{
    const auto folder = win32::favoritesFolder();
    ASSERT_TRUE(folder.has_value());
    // The same folder the newer query gives, full, and deep enough for the tree's levels.
    PWSTR known = nullptr;
    ASSERT_EQ(SHGetKnownFolderPath(FOLDERID_Favorites, KF_FLAG_DONT_VERIFY, nullptr, &known), S_OK);
    EXPECT_EQ(*folder, std::wstring(known));
    CoTaskMemFree(known);
    EXPECT_EQ(win32::fullPath(*folder), *folder);
    EXPECT_GE(std::count(folder->begin(), folder->end(), L'\\'), 2);

    // Moved by the user's shell settings, it follows them; moved to a folder that is not
    // there, the system has none to give.
    TempFolder tmp;
    const std::wstring moved = tmp / L"Preferiti spostati";
    {
        FavoritesRedirect redirect(moved);
        EXPECT_EQ(win32::favoritesFolder(), std::nullopt);
        ASSERT_TRUE(CreateDirectoryW(moved.c_str(), nullptr));
        EXPECT_EQ(win32::favoritesFolder(), std::optional<std::wstring>(moved));
    }
    EXPECT_EQ(win32::favoritesFolder(), folder);
}

TEST(Shell, FindExecutableTellsWhetherAProgramOpensADocument)
{
    TempFolder tmp;
    ASSERT_TRUE(writeBytes(tmp / L"a.zzqx", "x"));
    EXPECT_LE(win32::findExecutable(tmp / L"a.zzqx"), 32);
    EXPECT_LE(win32::findExecutable(tmp / L"missing.htm"), 32);
    const std::wstring program = copyProbeAs(tmp.path(), L"lanterna.exe");
    EXPECT_GT(win32::findExecutable(program), 32);
}
