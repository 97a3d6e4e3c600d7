#include "FavoritesHelpers.h"
#include "TestEnv.h"
#include "favorites/FavoritesWalk.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Favorites;

class FavWalk : public LanternaTest {
protected:
    void SetUp() override
    {
        LanternaTest::SetUp();
        Favorites::reset();
        ordered = std::make_unique<OrderedFilesInstall>();
    }
    void TearDown() override
    {
        ordered.reset();
        LanternaTest::TearDown();
    }
    void url(const QString &relative, const QString &address, const QString &folder = {})
    {
        writeFile((folder.isEmpty() ? fav : folder) + QLatin1Char('\\') + relative, shortcut(address));
    }
    bool build(bool allAtFirstLevel = false)
    {
        Walk walk(tree, allAtFirstLevel);
        return walk.BuildFavoritesTree(QStringLiteral("testo"), QStringLiteral("titolo"));
    }
    // Favorites folder at another place, state back to program start.
    void useFavorites(const QString &path)
    {
        Favorites::reset();
        tree.clear();
        shell.favorites = path;
    }
    QString lines(std::initializer_list<const char *> l) const
    {
        QStringList out;
        for (const char *s : l)
            out << QString::fromUtf8(s);
        return out.join(QLatin1Char('\n'));
    }

    const QString fav = QStringLiteral("C:\\Utenti\\mario\\Favorites");
    MemoryFavTree tree;
    std::unique_ptr<OrderedFilesInstall> ordered;
};

TEST_F(FavWalk, FolderQueryProfileReaderAndFolderLookup)
{
    EXPECT_EQ(GetSpecialFolder(5), ""); // only the Favorites folder is known
    shell.favorites = fav + QChar(0) + QStringLiteral("junk");
    EXPECT_EQ(GetSpecialFolder(6), fav);
    shell.favorites.reset();
    EXPECT_EQ(GetSpecialFolder(6), "");

    const QString ini = fav + QStringLiteral("\\x.url");
    writeFile(ini, "[internetshortcut]\r\n  url =  http://a.example/  \r\n");
    EXPECT_EQ(ProfileGetItem("InternetShortcut", "URL", "", ini), "http://a.example/");
    EXPECT_EQ(ProfileGetItem("InternetShortcut", "Missing", "", ini), "");
    EXPECT_EQ(ProfileGetItem("InternetShortcut", "Missing", "dflt", ini), "dflt");
    EXPECT_EQ(ProfileGetItem("InternetShortcut", "URL", "", fav + "\\none.url"), "");

    makeDir(fav + "\\Plain");
    makeDir(fav + "\\.Hidden");
    EXPECT_TRUE(FolderExists(fav + "\\Plain"));
    EXPECT_FALSE(FolderExists(fav + "\\.Hidden"));
    EXPECT_FALSE(FolderExists(fav + "\\Missing"));
}

TEST_F(FavWalk, UsualShapeShortcutsBeforeFoldersAndState)
{
    url("Zeta.url", "http://zeta/");
    url("Alpha\\a.url", "http://a/");
    url("Alpha\\Beta\\b.url", "http://b/");
    url("Alpha\\Beta\\Gamma\\c.url", "http://c/");
    url("Delta\\d.url", "http://d/");

    ASSERT_TRUE(build());
    EXPECT_EQ(tree.dump(), lines({"Internet Preferiti",
                                  "  Zeta -> http://zeta/",
                                  "  Alpha/",
                                  "    a -> http://a/",
                                  "    Beta/",
                                  "      b -> http://b/",
                                  "      Gamma/",
                                  "        c -> http://c/",
                                  "  Delta/",
                                  "    d -> http://d/"}));
    EXPECT_TRUE(tree.entries["R"].expanded);
    EXPECT_FALSE(tree.entries["Alpha"].expanded);
    EXPECT_EQ(tree.find("Gamma")->tag, fav + "\\Alpha\\Beta\\Gamma");
    EXPECT_EQ(tree.find("Delta")->tag, fav + "\\Delta");
    EXPECT_EQ(FavoritesPath, fav);
    EXPECT_EQ(ShortcutPattern, "*.url");
    EXPECT_EQ(ScanPath, fav + "\\Delta"); // the folder entered last, never restored
    EXPECT_EQ(CurrentParentKey, "");
    EXPECT_EQ(FolderLevel, 0);
    EXPECT_EQ(LevelKeys[0], "R");
    EXPECT_EQ(LevelKeys[2], "Delta");
    EXPECT_EQ(LevelKeys[4], "Gamma");
    ASSERT_TRUE(LastNode);
    EXPECT_EQ(LastNode->key, "d_URL");
    EXPECT_TRUE(ui.messages.empty());

    // A rebuild starts from an empty tree and picks up what changed.
    url("Delta\\e.url", "http://e/");
    ASSERT_TRUE(build());
    EXPECT_EQ(tree.clears, 2);
    EXPECT_EQ(tree.childrenOf("Delta"), QStringList({"d_URL", "e_URL"}));
    EXPECT_EQ(tree.childrenOf("R").size(), 3);
}

TEST_F(FavWalk, DepthOfTheFavoritesPathDecidesWhereFoldersLand)
{
    auto populate = [&](const QString &folder) {
        url("Zeta.url", "z", folder);
        url("Alpha\\a.url", "a", folder);
        url("Alpha\\Beta\\b.url", "b", folder);
        url("Alpha\\Beta\\Gamma\\c.url", "c", folder);
        url("Delta\\d.url", "d", folder);
    };
    // Two folders deep: the usual shape. One folder deep: the second level has depth
    // index 1 and joins the root. A drive root: the first level has no depth index at
    // all (and none is written).
    const struct {
        const char *favorites, *folder;
        QString tree;
    } cases[] = {
        {"C:\\mario\\Favorites", "C:\\mario\\Favorites",
         lines({"Internet Preferiti", "  Zeta -> z", "  Alpha/", "    a -> a", "    Beta/", "      b -> b",
                "      Gamma/", "        c -> c", "  Delta/", "    d -> d"})},
        {"C:\\Favorites", "C:\\Favorites",
         lines({"Internet Preferiti", "  Zeta -> z", "  Alpha/", "    a -> a", "  Beta/", "    b -> b",
                "    Gamma/", "      c -> c", "  Delta/", "    d -> d"})},
        {"D:\\", "D:",
         lines({"Internet Preferiti", "  Zeta -> z", "  Alpha/", "    a -> a", "    Beta/", "      b -> b",
                "  Gamma/", "    c -> c", "  Delta/", "    d -> d"})},
    };
    for (const auto &c : cases) {
        useFavorites(c.favorites);
        populate(c.folder);
        ASSERT_TRUE(build());
        EXPECT_EQ(tree.dump(), c.tree);
        EXPECT_EQ(CurrentParentKey, "");
    }
    EXPECT_EQ(LevelKeys[0], "Beta");
    EXPECT_EQ(LevelKeys[1], "Gamma");
}

TEST_F(FavWalk, DuplicateNamesKeepTheFirstNode)
{
    url("Same.url", "http://top/");
    url("Outer\\Same.url", "http://inner/");
    url("Outer\\Same\\y.url", "y");
    url("Same\\x.url", "x");
    url("R\\r.url", "r");
    ASSERT_TRUE(build());
    // The second "Same" folder is not added; its content goes under the first one.
    // A folder named R is the root's key: its shortcuts land on the root.
    EXPECT_EQ(tree.dump(), lines({"Internet Preferiti", "  Same -> http://top/", "  Outer/", "    Same/",
                                  "      y -> y", "      x -> x", "  r -> r"}));
    EXPECT_EQ(tree.find("Same")->tag, fav + "\\Outer\\Same");
}

TEST_F(FavWalk, WhichFilesAreShortcuts)
{
    url("Site.url", "http://site/");
    url("News.URL", "http://news/");
    url("a.url.url", "http://a/");
    url("x.URL.url", "http://x/");
    url(".url", "http://dot/");
    url("notes.txt", "http://txt/");
    makeDir(fav + "\\Folder.url");
    ASSERT_TRUE(build());
    EXPECT_EQ(tree.dump(), lines({"Internet Preferiti", "   -> http://dot/", "  Site -> http://site/",
                                  "  a -> http://a/", "  x.URL -> http://x/", "  Folder.url/"}));
}

TEST_F(FavWalk, HiddenFoldersTakeNoDepthIndex)
{
    url(".Private\\p.url", "p");
    url("Alpha\\.Secret\\s.url", "s");
    url("Alpha\\Zed\\z.url", "z");
    url("Beta\\b.url", "b");
    ASSERT_TRUE(build());
    // After a hidden folder inside Alpha the walk steps back past Alpha, so Alpha's
    // next sub-folder reaches the root.
    EXPECT_EQ(tree.dump(), lines({"Internet Preferiti", "  .Private/", "    p -> p", "  Alpha/", "    .Secret/",
                                  "      s -> s", "  Zed/", "    z -> z", "  Beta/", "    b -> b"}));
    EXPECT_EQ(tree.find(".Secret")->tag, fav + "\\Alpha\\.Secret");
    EXPECT_EQ(CurrentParentKey, "");
}

TEST_F(FavWalk, SystemFoldersAreLeavesAndVanishAtTheTop)
{
    url("Alpha\\Sys\\s.url", "http://s/");
    url("Canale\\c.url", "http://c/");
    ordered->files->systemFolders = {fav + "\\Alpha\\Sys", fav + "\\Canale"};
    ASSERT_TRUE(build());
    EXPECT_EQ(tree.dump(), lines({"Internet Preferiti", "  Alpha/", "    Sys -> ", "    s -> http://s/",
                                  "  c -> http://c/"}));
    EXPECT_EQ(tree.find("Canale"), nullptr);
    EXPECT_EQ(tree.find("Canale_URL"), nullptr);
}

TEST_F(FavWalk, EmptyOrMissingFolderGivesTheRootAlone)
{
    makeDir(fav);
    ASSERT_TRUE(build());
    EXPECT_EQ(tree.dump(), "Internet Preferiti");
    EXPECT_TRUE(tree.entries["R"].expanded);

    useFavorites("C:\\Utenti\\nessuno\\Favorites");
    ASSERT_TRUE(build());
    EXPECT_EQ(tree.dump(), "Internet Preferiti");
    EXPECT_TRUE(tree.entries["R"].expanded);
    EXPECT_EQ(CurrentParentKey, "");

    // A drive that is not there walks as a missing folder.
    useFavorites("Q:\\Favorites");
    ASSERT_TRUE(build());
    EXPECT_EQ(tree.dump(), "Internet Preferiti");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.endProgramCalls, 0);
}

TEST_F(FavWalk, QueryFailingShowsTheCallersMessageAndEndsTheProgram)
{
    url("a.url", "a");
    shell.favorites.reset();
    EXPECT_FALSE(build());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.last(), FakeUi::box("testo", "titolo", platform::vbOKOnly | platform::vbCritical));
    EXPECT_EQ(ui.endProgramCalls, 1);
    EXPECT_EQ(tree.dump(), "Internet Preferiti"); // the root came first
    EXPECT_FALSE(tree.entries["R"].expanded);
    EXPECT_EQ(FavoritesPath, "");
    EXPECT_EQ(ordered->files->listCalls, 0);
    ASSERT_TRUE(LastNode);
    EXPECT_EQ(LastNode->key, "R");
}

TEST_F(FavWalk, MalformedShortcutFilesGiveNodesNotCrashes)
{
    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary.append(char((i * 37) & 0xFF));
    writeFile(fav + "\\Binary.url", binary);
    writeFile(fav + "\\NoSection.url", "URL=http://nosection/\r\n");
    writeFile(fav + "\\Empty.url", "");
    writeFile(fav + "\\Blank.url", "[InternetShortcut]\r\nURL=\r\n");
    const QByteArray longValue = "http://long/" + QByteArray(1 << 20, 'x');
    writeFile(fav + "\\Long.url", "[InternetShortcut]\r\nURL=" + longValue + "\r\n");
    writeFile(fav + "\\Accent.url", "[InternetShortcut]\nURL=http://citt\xe0.example/\n");
    ASSERT_TRUE(build());

    for (const char *k : {"Binary_URL", "NoSection_URL", "Empty_URL", "Blank_URL"}) {
        ASSERT_TRUE(tree.find(k)) << k;
        EXPECT_EQ(tree.find(k)->tag, "") << k;
    }
    ASSERT_TRUE(tree.find("Long_URL"));
    EXPECT_EQ(tree.find("Long_URL")->tag, QString::fromLatin1(longValue.left(2047)));
    EXPECT_EQ(tree.find("Accent_URL")->tag, QStringLiteral("http://citt\u00e0.example/"));
    // The files are read, never changed.
    EXPECT_EQ(readFile(fav + "\\Binary.url"), binary);
}

TEST_F(FavWalk, FolderLinksBackIntoTheWalkAreLeftOut)
{
    url("Alpha\\a.url", "a");
    ASSERT_TRUE(QFile::link(native(fav), native(fav + "\\Alpha\\Back")));
    ASSERT_TRUE(QFile::link(native(fav + "\\Alpha"), native(fav + "\\Alpha\\Self")));
    ASSERT_TRUE(QFile::link(native(fav), native(fav + "\\.Hidden")));
    // Not a loop: Alpha is finished when Other is walked.
    ASSERT_TRUE(QFile::link(native(fav + "\\Alpha"), native(fav + "\\Other")));
    ASSERT_TRUE(build());
    EXPECT_EQ(tree.dump(), lines({"Internet Preferiti", "  Alpha/", "    a -> a", "  Other/"}));
    EXPECT_EQ(CurrentParentKey, "");

    // The walk keeps no memory of links across builds.
    ASSERT_TRUE(build());
    EXPECT_EQ(tree.dump(), lines({"Internet Preferiti", "  Alpha/", "    a -> a", "  Other/"}));
}

TEST_F(FavWalk, TreeDeeperThanTheDepthIndexesStopsThereAndGoesOn)
{
    QString path = fav;
    for (int k = 0; k < 205; ++k) {
        path += QStringLiteral("\\d%1").arg(k, 3, 10, QLatin1Char('0'));
        url(QStringLiteral("s%1.url").arg(k, 3, 10, QLatin1Char('0')), QStringLiteral("u%1").arg(k), path);
    }
    // Below d204 the tree goes on to 10,000 folders, past the longest path the system opens.
    const auto removeDeep = qScopeGuard([&] { QProcess::execute("rm", {"-rf", native(fav + "\\d000")}); });
    int fd = ::open(QFile::encodeName(native(path)).constData(), O_RDONLY | O_DIRECTORY);
    for (int k = 205; k < 10000 && fd >= 0; ++k) {
        const int next = ::mkdirat(fd, "d", 0700) == 0 ? ::openat(fd, "d", O_RDONLY | O_DIRECTORY) : -1;
        ::close(fd);
        fd = next;
    }
    ASSERT_GE(fd, 0);
    ::close(fd);
    url("zz\\z.url", "z");
    ASSERT_TRUE(build());

    // d000 has depth index 2, so d198 is the deepest one LevelKeys can hold.
    ASSERT_TRUE(tree.find("d198"));
    EXPECT_EQ(tree.parentOf("d198"), "d197");
    EXPECT_EQ(tree.parentOf("s198_URL"), "d198");
    EXPECT_EQ(tree.find("d199"), nullptr);
    EXPECT_EQ(tree.find("s199_URL"), nullptr);
    EXPECT_EQ(tree.find("s204_URL"), nullptr);
    EXPECT_EQ(LevelKeys[200], "d198");
    EXPECT_EQ(tree.parentOf("zz"), "R");
    EXPECT_EQ(tree.parentOf("z_URL"), "zz");
    EXPECT_EQ(CurrentParentKey, "");
}

TEST_F(FavWalk, HiddenSwitchPutsEverythingOnTheFirstLevel)
{
    url("Alpha\\a.url", "a");
    url("Alpha\\Beta\\b.url", "b");
    ASSERT_TRUE(build(true));
    EXPECT_EQ(tree.dump(), lines({"Internet Preferiti", "  Alpha/", "  a -> a", "  Beta/", "  b -> b"}));
}
