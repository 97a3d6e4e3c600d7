#include "TestEnv.h"
#include <QTemporaryDir>
#include "platform/PathSpace.h"
#include "platform/RealFiles.h"
#include "platform/RealUi.h"
#include "platform/Text.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <sys/stat.h>

using namespace platform;

TEST(Text, EveryByteRoundTripsThroughTheCodePage)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString decoded = fromAnsi(all);
    ASSERT_EQ(decoded.size(), 256);
    EXPECT_EQ(toAnsi(decoded), all);
    // The Windows-1252 letters the Italian user types land where that code page puts them.
    EXPECT_EQ(decoded[0x80], QChar(0x20AC));
    EXPECT_EQ(decoded[0xE0], QChar(0xE0));
    EXPECT_EQ(decoded[0x81], QChar(0x81));
    EXPECT_EQ(toAnsi(QStringLiteral("città €")), QByteArray("citt\xE0 \x80"));
    EXPECT_EQ(toAnsi(QString(QChar(0x4E2D))), QByteArray("?"));
}

TEST(Text, LinesEndAtCrLfLoneCrOrLoneLf)
{
    EXPECT_EQ(splitLines("a\r\nb\rc\nd"), (QList<QByteArray>{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\r\n"), (QList<QByteArray>{"a"}));
    EXPECT_EQ(splitLines("a\n\nb\r\r\n"), (QList<QByteArray>{"a", "", "b", ""}));
    EXPECT_TRUE(splitLines("").isEmpty());
    EXPECT_EQ(splitLines(QByteArray("x\0y", 3)), (QList<QByteArray>{QByteArray("x\0y", 3)}));
    EXPECT_EQ(joinLinesCrLf({"a", "", "b"}), QByteArray("a\r\n\r\nb\r\n"));
}

class PathSpaceTest : public LanternaTest {};

TEST_F(PathSpaceTest, DrivesMapToTheirFoldersAndBack)
{
    const QString c = QDir::cleanPath(driveC);
    EXPECT_EQ(toNativePath(QStringLiteral("C:\\HOME-PAG\\INIZIO.HTM")), c + "/HOME-PAG/INIZIO.HTM");
    EXPECT_EQ(toNativePath(QStringLiteral("c:/home-pag/x.htm")), c + "/home-pag/x.htm");
    EXPECT_EQ(toNativePath(QStringLiteral("\\SITI\\A.HTM")), c + "/SITI/A.HTM");
    EXPECT_EQ(toNativePath(QStringLiteral("D:\\HOME-PAG\\")), QDir::cleanPath(driveD) + "/HOME-PAG/");
    EXPECT_EQ(toNativePath(QStringLiteral("Z:\\etc\\hosts")), QStringLiteral("/etc/hosts"));
    EXPECT_EQ(toNativePath(QStringLiteral("A.HTM")), QDir::currentPath() + "/A.HTM");
    // A drive nobody mapped is a drive that is not there.
    EXPECT_TRUE(toNativePath(QStringLiteral("Q:\\x")).isEmpty());
    EXPECT_TRUE(toNativePath(QStringLiteral("\\\\server\\share")).isEmpty());
    EXPECT_TRUE(toNativePath(QString()).isEmpty());

    EXPECT_EQ(toWindowsPath(c + "/HOME-PAG/INIZIO.HTM"), QStringLiteral("C:\\HOME-PAG\\INIZIO.HTM"));
    EXPECT_EQ(toWindowsPath(driveD + "/a/b"), QStringLiteral("D:\\a\\b"));
    EXPECT_EQ(toWindowsPath(QStringLiteral("/usr/share")), QStringLiteral("Z:\\usr\\share"));
    for (const QString w : {QStringLiteral("C:\\a\\b c\\città.htm"), QStringLiteral("D:\\x")})
        EXPECT_EQ(toWindowsPath(toNativePath(w)), w);
}

TEST_F(PathSpaceTest, WithoutVariablesCIsTheUsersDriveFolderAndOtherDrivesAreAbsent)
{
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    qunsetenv("LANTERNA_DRIVE_C");
    qunsetenv("LANTERNA_DRIVE_D");
    const QString c = data.path() + QStringLiteral("/lanterna/C");
    EXPECT_EQ(toNativePath(QStringLiteral("C:\\tmp\\a")), c + QStringLiteral("/tmp/a"));
    EXPECT_TRUE(toNativePath(QStringLiteral("D:\\HOME-PAG\\INIZIO.HTM")).isEmpty());
    EXPECT_EQ(toWindowsPath(c + QStringLiteral("/tmp/a")), QStringLiteral("C:\\tmp\\a"));
    EXPECT_EQ(toWindowsPath(QStringLiteral("/tmp/a")), QStringLiteral("Z:\\tmp\\a"));
}

class RealFilesTest : public LanternaTest {};

TEST_F(RealFilesTest, ReadWriteReplaceCopyAndProbe)
{
    Files &f = *files;
    EXPECT_FALSE(f.canOpenForRead(QStringLiteral("C:\\nope.htm")));
    EXPECT_FALSE(f.canOpenForRead(QStringLiteral("C:\\PROG"))); // a folder is not a page
    EXPECT_FALSE(f.canOpenForRead(QStringLiteral("Q:\\x.htm")));
    EXPECT_FALSE(f.readAll(QStringLiteral("C:\\nope.htm")).has_value());

    ASSERT_TRUE(f.writeAll(QStringLiteral("C:\\a.txt"), "uno"));
    EXPECT_TRUE(f.canOpenForRead(QStringLiteral("c:/a.txt")));
    ASSERT_TRUE(f.replaceFile(QStringLiteral("C:\\a.txt"), "due\r\n"));
    EXPECT_EQ(*f.readAll(QStringLiteral("C:\\a.txt")), QByteArray("due\r\n"));
    ASSERT_TRUE(f.copyFile(QStringLiteral("C:\\a.txt"), QStringLiteral("D:\\b.txt")));
    EXPECT_EQ(readFile(QStringLiteral("D:\\b.txt")), QByteArray("due\r\n"));
    // A copy from a missing file fails and leaves the target alone.
    EXPECT_FALSE(f.copyFile(QStringLiteral("C:\\nope"), QStringLiteral("D:\\b.txt")));
    EXPECT_EQ(readFile(QStringLiteral("D:\\b.txt")), QByteArray("due\r\n"));
    // Replacing into a folder that does not exist fails without creating anything.
    EXPECT_FALSE(f.replaceFile(QStringLiteral("C:\\NOFOLDER\\x.txt"), "x"));
    EXPECT_FALSE(exists(QStringLiteral("C:\\NOFOLDER")));
    // A pipe named like a page is not read (it would block the program).
    ASSERT_EQ(::mkfifo(QFile::encodeName(driveC + "/pipe.htm").constData(), 0600), 0);
    EXPECT_FALSE(f.canOpenForRead(QStringLiteral("C:\\pipe.htm")));
    EXPECT_FALSE(f.readAll(QStringLiteral("C:\\pipe.htm")).has_value());
    QFile::remove(driveC + "/pipe.htm");
    // Nothing but the target is left in the folder after a replace.
    EXPECT_EQ(QDir(driveC).entryList(QDir::Files), QStringList{"a.txt"});
    EXPECT_TRUE(f.removeFile(QStringLiteral("C:\\a.txt")));
    EXPECT_FALSE(f.removeFile(QStringLiteral("C:\\a.txt")));
}

TEST_F(RealFilesTest, ListingIsSortedWithoutRegardToCaseDotsFirst)
{
    // Enough names that the file system's own order (hash order on ext4) shows.
    const QStringList made = {"zeta.url", "Alpha.url", "a.url", "B", "_x.url", "beta.url", "Zulu", "10.url",
                              "2.url", "[q].url", "~tilde.url", "Mela.url", "mELA2.url", "kiwi.url"};
    for (const QString &n : made) {
        if (n.contains(QLatin1Char('.')))
            writeFile(QStringLiteral("C:\\ORD\\") + n, "x");
        else
            makeDir(QStringLiteral("C:\\ORD\\") + n);
    }
    auto all = files->list(QStringLiteral("C:\\ORD\\*.*"));
    ASSERT_TRUE(all.has_value());
    QStringList got;
    for (const auto &e : *all)
        got << e.name;
    // Upper-case ordinal: "_" (0x5F) after the letters, "[" (0x5B) after "Z", "~" last.
    EXPECT_EQ(got, (QStringList{".", "..", "10.url", "2.url", "a.url", "Alpha.url", "B", "beta.url", "kiwi.url",
                                "Mela.url", "mELA2.url", "zeta.url", "Zulu", "[q].url", "_x.url", "~tilde.url"}));
    auto urls = files->list(QStringLiteral("C:\\ORD\\*.url"));
    ASSERT_TRUE(urls.has_value());
    EXPECT_EQ(urls->front().name, QStringLiteral("10.url"));
    EXPECT_EQ(urls->back().name, QStringLiteral("~tilde.url"));
}

TEST_F(RealFilesTest, ListingMatchesWildcardsAndReportsAttributes)
{
    makeDir(QStringLiteral("C:\\FAV\\Sub"));
    makeDir(QStringLiteral("C:\\FAV\\.nascosta"));
    writeFile(QStringLiteral("C:\\FAV\\Site.url"), "x");
    writeFile(QStringLiteral("C:\\FAV\\News.URL"), "x");
    writeFile(QStringLiteral("C:\\FAV\\note.txt"), "x");

    auto all = files->list(QStringLiteral("C:\\FAV\\*.*"));
    ASSERT_TRUE(all.has_value());
    QStringList names;
    for (const auto &e : *all)
        names << e.name;
    names.sort();
    EXPECT_EQ(names, (QStringList{".", "..", ".nascosta", "News.URL", "Site.url", "Sub", "note.txt"}));
    auto find = [&](const QString &n) {
        return *std::find_if(all->begin(), all->end(), [&](const DirEntry &e) { return e.name == n; });
    };
    EXPECT_TRUE(find("Sub").isDirectory());
    EXPECT_FALSE(find("Sub").attributes & AttrHidden);
    EXPECT_TRUE(find(".nascosta").attributes & AttrHidden);
    EXPECT_FALSE(find("Site.url").isDirectory());

    auto urls = files->list(QStringLiteral("C:\\FAV\\*.url"));
    ASSERT_TRUE(urls.has_value());
    QStringList u;
    for (const auto &e : *urls)
        u << e.name;
    u.sort();
    EXPECT_EQ(u, (QStringList{"News.URL", "Site.url"}));

    EXPECT_FALSE(files->list(QStringLiteral("C:\\FAV\\*.jpg")).has_value());
    EXPECT_FALSE(files->list(QStringLiteral("C:\\MISSING\\*.*")).has_value());

    EXPECT_TRUE(files->lookup(QStringLiteral("C:\\FAV\\Sub"), AttrDirectory));
    EXPECT_FALSE(files->lookup(QStringLiteral("C:\\FAV\\.nascosta"), AttrDirectory));
    EXPECT_FALSE(files->lookup(QStringLiteral("C:\\FAV\\.nascosta"), AttrSystem | AttrDirectory));
    EXPECT_TRUE(files->lookup(QStringLiteral("C:\\FAV\\.nascosta"), AttrHidden | AttrDirectory));
    EXPECT_FALSE(files->lookup(QStringLiteral("C:\\FAV\\Missing"), AttrDirectory));
    EXPECT_FALSE(files->lookup(QStringLiteral("C:\\FAV\\Sub"), 0));
}

TEST_F(RealFilesTest, ProfileStringsReadLikeTheSystemReader)
{
    const QString f = QStringLiteral("C:\\FAV\\a.url");
    writeFile(f, "[DEFAULT]\r\nBASEURL=http://x/\r\n[internetshortcut]\r\n  url =  \"http://www.esempio.it/\xE8\"  \r\n"
                 "Other=1\r\n");
    EXPECT_EQ(files->profileString("InternetShortcut", "URL", "", f), QStringLiteral("http://www.esempio.it/\u00E8"));
    EXPECT_EQ(files->profileString("InternetShortcut", "Missing", "def", f), QStringLiteral("def"));
    EXPECT_EQ(files->profileString("Nope", "URL", "", f), QString());
    EXPECT_EQ(
        files->profileString("InternetShortcut", "URL", "d", QStringLiteral("C:\\none.url")), QStringLiteral("d"));

    // A 100 KB value is cut to the buffer; binary junk and a file without sections give the default.
    writeFile(f, "[InternetShortcut]\nURL=" + QByteArray(100 * 1024, 'a') + "\n");
    EXPECT_EQ(files->profileString("InternetShortcut", "URL", "", f).size(), 2047);
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk.append(char(i * 7));
    writeFile(f, junk);
    EXPECT_EQ(files->profileString("InternetShortcut", "URL", "", f), QString());
    writeFile(f, "URL=http://x/\r\n");
    EXPECT_EQ(files->profileString("InternetShortcut", "URL", "", f), QString());
}

TEST_F(RealFilesTest, ProgramFolderAndName)
{
    EXPECT_EQ(files->programFolder(), QStringLiteral("C:\\PROG"));
    EXPECT_EQ(files->exeName(), QStringLiteral("lanterna"));
    RealFiles plain;
    EXPECT_EQ(toNativePath(plain.programFolder()), QDir::cleanPath(QCoreApplication::applicationDirPath()));
    EXPECT_EQ(plain.exeName(), QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
}

TEST(RealUiFilter, DialogPatternsMatchBothLetterCases)
{
    EXPECT_EQ(dialogNameFilter("*.JPG;*.BMP"), QStringLiteral("*.JPG *.jpg *.BMP *.bmp"));
    EXPECT_EQ(dialogNameFilter("*.htm"), QStringLiteral("*.htm *.HTM"));
}

TEST(Wildcards, MatchLikeTheClassicFileSystem)
{
    const struct {
        const char *name, *pattern;
        bool matches;
    } cases[] = {
        {"Site.url", "*.url", true},
        {"NEWS.URL", "*.url", true},
        {"Site.urlx", "*.url", false},
        {"Site.ur", "*.url", false},
        {"a.url.url", "*.url", true},
        {"SF01.JPG", "SF*.JPG", true},
        {"sf.jpg", "SF*.JPG", true},
        {"XSF01.JPG", "SF*.JPG", false},
        {"noext", "*.*", true},
        {"ab", "a?", true},
        {"abc", "a?", false},
        {"città.htm", "CITTÀ.*", true},
        {"", "a*", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(matchesWildcard(QString::fromUtf8(c.name), QString::fromUtf8(c.pattern)), c.matches)
            << c.name << " ~ " << c.pattern;
}
