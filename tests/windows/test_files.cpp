#include "WinTestSupport.h"
#include "platform/Win32Files.h"

#include <algorithm>

using namespace platform::win32;
using namespace wintest;

namespace {

constexpr unsigned kReadOnly = 0x01, kHidden = 0x02, kSystem = 0x04, kDirectory = 0x10;

std::vector<std::wstring> names(const std::optional<std::vector<FoundEntry>> &entries)
{
    std::vector<std::wstring> out;
    if (entries)
        for (const auto &e : *entries)
            out.push_back(e.name);
    std::sort(out.begin(), out.end());
    return out;
}

unsigned attributesOf(const std::vector<FoundEntry> &entries, const std::wstring &name)
{
    for (const auto &e : entries)
        if (e.name == name)
            return e.attributes;
    ADD_FAILURE() << "no entry " << name;
    return 0;
}

} // namespace

TEST(Win32Files, ListingMatchesWildcardsAndReportsTheFileSystemsAttributes)
{
    TempFolder tmp;
    const std::wstring fav = tmp / L"FAV";
    for (const wchar_t *d : {L"", L"\\Sub", L"\\Nascosta", L"\\Sistema"})
        ASSERT_TRUE(CreateDirectoryW((fav + d).c_str(), nullptr));
    ASSERT_TRUE(SetFileAttributesW((fav + L"\\Nascosta").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesW((fav + L"\\Sistema").c_str(), FILE_ATTRIBUTE_SYSTEM));
    for (const wchar_t *f : {L"Site.url", L"News.URL", L"note.txt", L"Site.urlx", L"citt\u00E0.url"})
        ASSERT_TRUE(writeBytes(fav + L"\\" + f, "x"));
    ASSERT_TRUE(SetFileAttributesW((fav + L"\\note.txt").c_str(), FILE_ATTRIBUTE_READONLY));

    const auto all = listFolder(fav + L"\\*.*");
    ASSERT_TRUE(all.has_value());
    EXPECT_EQ(names(all), (std::vector<std::wstring>{L".", L"..", L"Nascosta", L"News.URL", L"Sistema", L"Site.url",
                                                      L"Site.urlx", L"Sub", L"citt\u00E0.url", L"note.txt"}));
    EXPECT_EQ(attributesOf(*all, L"Sub") & (kDirectory | kHidden | kSystem), kDirectory);
    EXPECT_EQ(attributesOf(*all, L"Nascosta") & (kDirectory | kHidden | kSystem), kDirectory | kHidden);
    EXPECT_EQ(attributesOf(*all, L"Sistema") & (kDirectory | kHidden | kSystem), kDirectory | kSystem);
    EXPECT_EQ(attributesOf(*all, L"note.txt") & (kDirectory | kReadOnly), kReadOnly);
    EXPECT_EQ(attributesOf(*all, L"Site.url") & kDirectory, 0u);

    // Letters in either case, never the short names' looser match, "/" as a separator.
    EXPECT_EQ(names(listFolder(fav + L"/*.url")),
              (std::vector<std::wstring>{L"News.URL", L"Site.url", L"citt\u00E0.url"}));
    EXPECT_EQ(names(listFolder(fav + L"\\CITT\u00C0.*")), std::vector<std::wstring>{L"citt\u00E0.url"});
    EXPECT_EQ(names(listFolder(fav + L"\\s?te.URL")), std::vector<std::wstring>{L"Site.url"});
    EXPECT_FALSE(listFolder(fav + L"\\*.jpg").has_value());
    EXPECT_FALSE(listFolder(tmp / L"MISSING\\*.*").has_value());
    EXPECT_FALSE(listFolder(fav + L"\\").has_value());

    EXPECT_TRUE(lookupPath(fav + L"\\Sub", kDirectory));
    EXPECT_TRUE(lookupPath(fav + L"\\Sub\\", kDirectory));
    EXPECT_FALSE(lookupPath(fav + L"\\Sub", 0));
    EXPECT_FALSE(lookupPath(fav + L"\\Nascosta", kDirectory));
    EXPECT_FALSE(lookupPath(fav + L"\\Nascosta", kSystem | kDirectory));
    EXPECT_TRUE(lookupPath(fav + L"\\Nascosta", kHidden | kDirectory));
    EXPECT_FALSE(lookupPath(fav + L"\\Sistema", kDirectory));
    EXPECT_TRUE(lookupPath(fav + L"\\Sistema", kSystem | kDirectory));
    EXPECT_TRUE(lookupPath(fav + L"\\note.txt", 0)); // read-only never prevents a match
    EXPECT_FALSE(lookupPath(fav + L"\\Missing", kDirectory));
}

TEST(Win32Files, WildcardsMatchLikeOnTheOtherPlatforms)
{
    EXPECT_TRUE(matchesWildcard(L"Site.url", L"*.url"));
    EXPECT_TRUE(matchesWildcard(L"NEWS.URL", L"*.url"));
    EXPECT_FALSE(matchesWildcard(L"Site.urlx", L"*.url"));
    EXPECT_FALSE(matchesWildcard(L"Site.ur", L"*.url"));
    EXPECT_TRUE(matchesWildcard(L"a.url.url", L"*.url"));
    EXPECT_TRUE(matchesWildcard(L"SF01.JPG", L"SF*.JPG"));
    EXPECT_TRUE(matchesWildcard(L"sf.jpg", L"SF*.JPG"));
    EXPECT_FALSE(matchesWildcard(L"XSF01.JPG", L"SF*.JPG"));
    EXPECT_TRUE(matchesWildcard(L"noext", L"*.*"));
    EXPECT_TRUE(matchesWildcard(L"ab", L"a?"));
    EXPECT_FALSE(matchesWildcard(L"abc", L"a?"));
    EXPECT_TRUE(matchesWildcard(L"citt\u00E0.htm", L"CITT\u00C0.*"));
    EXPECT_FALSE(matchesWildcard(L"", L"a*"));
}

TEST(Win32Files, ShortcutsReadWithTheSystemsProfileReader)
{
    TempFolder tmp;
    int n = 0;
    // Each case in a file of its own: the system reader may keep a file it has read.
    const auto shortcut = [&](const std::string &bytes) {
        const std::wstring f = tmp / (L"s" + std::to_wstring(n++) + L".url");
        EXPECT_TRUE(writeBytes(f, bytes));
        return f;
    };
    const std::wstring f = shortcut("[DEFAULT]\r\nBASEURL=http://x/\r\n[internetshortcut]\r\n"
                                    "  url =  \"http://www.esempio.it/\xE8\"  \r\nOther=1\r\n");
    EXPECT_EQ(profileString(L"InternetShortcut", L"URL", L"", f, 2048), L"http://www.esempio.it/\u00E8");
    EXPECT_EQ(profileString(L"InternetShortcut", L"Other", L"", f, 2048), L"1");
    EXPECT_EQ(profileString(L"InternetShortcut", L"Missing", L"def", f, 2048), L"def");
    EXPECT_EQ(profileString(L"Nope", L"URL", L"", f, 2048), L"");
    EXPECT_EQ(profileString(L"InternetShortcut", L"URL", L"d", tmp / L"none.url", 2048), L"d");
    EXPECT_EQ(profileString(L"InternetShortcut", L"URL", L"", shortcut("[InternetShortcut]\nURL='a b'\n"), 2048),
              L"a b");
    EXPECT_EQ(profileString(L"InternetShortcut", L"URL", L"", shortcut("[InternetShortcut]\nURL=\n"), 2048), L"");

    // A 100 KB value is cut to the buffer; binary junk and a file without sections give the default.
    const std::wstring big = shortcut("[InternetShortcut]\nURL=" + std::string(100 * 1024, 'a') + "\n");
    EXPECT_EQ(profileString(L"InternetShortcut", L"URL", L"", big, 2048), std::wstring(2047, L'a'));
    std::string junk;
    for (int i = 0; i < 4096; ++i)
        junk.push_back(char(i * 7));
    EXPECT_EQ(profileString(L"InternetShortcut", L"URL", L"", shortcut(junk), 2048), L"");
    EXPECT_EQ(profileString(L"InternetShortcut", L"URL", L"", shortcut("URL=http://x/\r\n"), 2048), L"");

    // A relative name is a file of the current folder, not of the system's folder.
    wchar_t cwd[MAX_PATH + 1] = {};
    GetCurrentDirectoryW(MAX_PATH, cwd);
    ASSERT_TRUE(SetCurrentDirectoryW(tmp.path().c_str()));
    ASSERT_TRUE(writeBytes(tmp / L"rel.url", "[InternetShortcut]\r\nURL=http://rel/\r\n"));
    EXPECT_EQ(profileString(L"InternetShortcut", L"URL", L"", L"rel.url", 2048), L"http://rel/");
    SetCurrentDirectoryW(cwd);
}

TEST(Win32Paths, WindowsFormIsTheFullPathAndRoundTrips)
{
    TempFolder tmp;
    wchar_t cwd[MAX_PATH + 1] = {};
    GetCurrentDirectoryW(MAX_PATH, cwd);
    ASSERT_TRUE(SetCurrentDirectoryW(tmp.path().c_str()));
    EXPECT_EQ(fullPath(L"A.HTM"), tmp / L"A.HTM");
    EXPECT_EQ(fullPath(L"sub/a.htm"), tmp / L"sub\\a.htm");
    SetCurrentDirectoryW(cwd);
    EXPECT_EQ(fullPath(L"C:/HOME-PAG/INIZIO.HTM"), L"C:\\HOME-PAG\\INIZIO.HTM");
    EXPECT_EQ(fullPath(L"C:\\a\\..\\b\\"), L"C:\\b\\");
    for (const wchar_t *w : {L"C:\\a\\b c\\citt\u00E0.htm", L"D:\\x", L"C:\\HOME-PAG\\"})
        EXPECT_EQ(fullPath(w), w);
    EXPECT_EQ(fullPath(L""), L"");
}
