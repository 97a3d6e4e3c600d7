#include "BoxHelpers.h"
#include "TestEnv.h"
#include "app/Main.h"
#include "app/Startup.h"
#include "base/Module1.h"
#include "base/forms.h"
#include "browser/frmBrowser.h"

#include <QComboBox>
#include <QTimer>

TEST(SplitArgument, PathFormFolderAndFile)
{
    struct Case {
        const char *arg, *path, *dir, *file, *start;
    };
    const Case cases[] = {
        {"C:/SITI/PROVA.HTM", "C:\\SITI\\PROVA.HTM", "C:\\SITI\\", "PROVA.HTM", "C:\\SITI\\PROVA.HTM"},
        {"C:\\SITI\\", "C:\\SITI\\", "C:\\SITI\\", "", "C:\\SITI\\INIZIO.HTM"},
        {"PROVA.HTM", "PROVA.HTM", "", "PROVA.HTM", "PROVA.HTM"},
        {"http://host/a.htm", "http:\\\\host\\a.htm", "http:\\\\host\\", "a.htm", "http:\\\\host\\a.htm"},
        // Quotes and surrounding blanks stay; only the emptiness tests trim.
        {" \"C:\\A B\\x.htm\" ", " \"C:\\A B\\x.htm\" ", " \"C:\\A B\\", "x.htm\" ", " \"C:\\A B\\x.htm\" "},
        {"C:\\SITI\\   ", "C:\\SITI\\   ", "C:\\SITI\\", "   ", "C:\\SITI\\INIZIO.HTM"},
        {"/", "\\", "\\", "", "\\INIZIO.HTM"},
    };
    for (const auto &c : cases) {
        const auto a = SplitArgument(QString::fromLatin1(c.arg));
        ASSERT_TRUE(a.has_value()) << c.arg;
        EXPECT_EQ(a->commandLinePath, QString::fromLatin1(c.path)) << c.arg;
        EXPECT_EQ(a->homePageDir, QString::fromLatin1(c.dir)) << c.arg;
        EXPECT_EQ(a->homePageFile, QString::fromLatin1(c.file)) << c.arg;
        EXPECT_EQ(a->startUrl, QString::fromLatin1(c.start)) << c.arg;
    }
    const auto accented = SplitArgument(QStringLiteral("C:\\Città\\pagina è.htm"));
    ASSERT_TRUE(accented);
    EXPECT_EQ(accented->homePageFile, QStringLiteral("pagina è.htm"));

    EXPECT_FALSE(SplitArgument(QString()));
    EXPECT_FALSE(SplitArgument(QStringLiteral("    ")));
}

TEST(CommandLine, OnlyExactlyVersionHelpOrPrivatoAloneAreOptions)
{
    const auto text = [](std::vector<const char *> argv) {
        argv.insert(argv.begin(), "lanterna");
        return startup::optionText(int(argv.size()), argv.data());
    };
    EXPECT_EQ(text({"--version"}), std::string("Lanterna ") + startup::version() + "\n");
    ASSERT_TRUE(text({"--help"}));
    EXPECT_EQ(text({"--help"})->rfind("Uso: lanterna [INDIRIZZO]\n", 0), 0u);
    const auto privato = [](std::vector<const char *> argv) {
        argv.insert(argv.begin(), "lanterna");
        return startup::privateStart(int(argv.size()), argv.data());
    };
    EXPECT_TRUE(privato({"--privato"}));
    EXPECT_FALSE(text({"--privato"}));
    // Everything else is an address, as it always was.
    for (const auto &argv : std::vector<std::vector<const char *>>{{},
                                                                 {"-v"},
                                                                 {"-h"},
                                                                 {"--Help"},
                                                                 {"--version "},
                                                                 {" --help"},
                                                                 {"--help", "x"},
                                                                 {"--version", ""},
                                                                 {"--privato "},
                                                                 {"--Privato"},
                                                                 {"--privato", "x"}}) {
        EXPECT_FALSE(text(argv)) << (argv.empty() ? "" : argv[0]);
        EXPECT_FALSE(privato(argv)) << (argv.empty() ? "" : argv[0]);
    }
}

class Startup : public LanternaTest {
protected:
    // The list as the user finds it on opening it: with the log read at load.
    QStringList listed() const
    {
        frmBrowser *w = forms::loaded<frmBrowser>();
        if (!w)
            return {};
        w->joinVisitedLog();
        return boxEntries(w->cboAddress);
    }
};

TEST_F(Startup, HomePageProbeTriesCThenDThenGivesABlankPage)
{
    auto c = ChooseHomePage();
    EXPECT_EQ(c.homePageDir, "D:\\HOME-PAG\\");
    EXPECT_EQ(c.startUrl, "about:blank");

    // A folder of that name cannot be opened for reading.
    makeDir(QStringLiteral("C:\\HOME-PAG\\INIZIO.HTM"));
    writeFile(QStringLiteral("D:\\HOME-PAG\\INIZIO.HTM"), "<html></html>");
    c = ChooseHomePage();
    EXPECT_EQ(c.homePageDir, "D:\\HOME-PAG\\");
    EXPECT_EQ(c.startUrl, "D:\\HOME-PAG\\INIZIO.HTM");

    writeFile(QStringLiteral("C:\\HOME-PAG\\inizio.htm"), "other case");
    writeFile(QStringLiteral("C:\\INIZIO.HTM"), "wrong folder");
    c = ChooseHomePage();
    EXPECT_EQ(c.startUrl, "D:\\HOME-PAG\\INIZIO.HTM");
}

TEST_F(Startup, NoArgumentOpensTheHomePageOnC)
{
    writeFile(QStringLiteral("C:\\HOME-PAG\\INIZIO.HTM"), "<html></html>");
    writeFile(QStringLiteral("D:\\HOME-PAG\\INIZIO.HTM"), "<html></html>");
    writeFile(QStringLiteral("C:\\PROG\\LANTERNA.DAT"), "http://logged/\r\n");
    Main(QStringLiteral("   "));

    EXPECT_EQ(Module1::HomePageDir, "C:\\HOME-PAG\\");
    EXPECT_EQ(Module1::StartUrl, "C:\\HOME-PAG\\INIZIO.HTM");
    EXPECT_TRUE(Module1::HomePageFile.isEmpty());
    EXPECT_TRUE(Module1::CommandLinePath.isEmpty());
    frmBrowser *w = forms::loaded<frmBrowser>();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->timTimer->isActive());
    EXPECT_EQ(browser()->calls, QStringList{"Navigate:C:\\HOME-PAG\\INIZIO.HTM"});
    EXPECT_EQ(listed(), (QStringList{"C:\\HOME-PAG\\INIZIO.HTM", "http://logged/"}));
    EXPECT_EQ(w->brwWebBrowser->homePage(), "C:\\HOME-PAG\\INIZIO.HTM");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Startup, NoArgumentFallsBackToDThenToABlankPage)
{
    writeFile(QStringLiteral("D:\\HOME-PAG\\INIZIO.HTM"), "<html></html>");
    Main(QString());
    EXPECT_EQ(Module1::HomePageDir, "D:\\HOME-PAG\\");
    EXPECT_EQ(Module1::StartUrl, "D:\\HOME-PAG\\INIZIO.HTM");
    EXPECT_EQ(browser()->calls, QStringList{"Navigate:D:\\HOME-PAG\\INIZIO.HTM"});
    unloadAll();

    Module1::reset();
    files->removeFile(QStringLiteral("D:\\HOME-PAG\\INIZIO.HTM"));
    Main(QString());
    EXPECT_EQ(Module1::HomePageDir, "D:\\HOME-PAG\\");
    EXPECT_EQ(Module1::StartUrl, "about:blank");
    EXPECT_EQ(browser()->calls, QStringList{"Navigate:about:blank"});
    EXPECT_EQ(listed(), QStringList{"about:blank"});
    EXPECT_EQ(forms::loaded<frmBrowser>()->brwWebBrowser->homePage(), "about:blank");
    EXPECT_TRUE(forms::loaded<frmBrowser>()->isVisible());
}

TEST_F(Startup, ArgumentIsListedAndRequestedTwiceWithoutAProbe)
{
    writeFile(QStringLiteral("C:\\HOME-PAG\\INIZIO.HTM"), "<html></html>");
    writeFile(QStringLiteral("C:\\PROG\\LANTERNA.DAT"), "http://logged/\r\nC:\\SITI\\PROVA.HTM\r\n");
    Main(QStringLiteral("C:/SITI/PROVA.HTM")); // does not exist: nothing is checked

    EXPECT_EQ(Module1::CommandLinePath, "C:\\SITI\\PROVA.HTM");
    EXPECT_EQ(Module1::HomePageDir, "C:\\SITI\\");
    EXPECT_EQ(Module1::HomePageFile, "PROVA.HTM");
    EXPECT_EQ(Module1::StartUrl, "C:\\SITI\\PROVA.HTM");
    frmBrowser *w = forms::loaded<frmBrowser>();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->timTimer->isActive());
    EXPECT_EQ(browser()->calls, (QStringList{"Navigate:C:\\SITI\\PROVA.HTM", "Navigate:C:\\SITI\\PROVA.HTM"}));
    EXPECT_EQ(listed(), (QStringList{"C:\\SITI\\PROVA.HTM", "http://logged/", "C:\\SITI\\PROVA.HTM"}));
    EXPECT_EQ(w->cboAddress->currentText(), "C:\\SITI\\PROVA.HTM");
    // The argument's folder has no home page: Home leads to the fixed one.
    EXPECT_EQ(w->brwWebBrowser->homePage(), "C:\\HOME-PAG\\INIZIO.HTM");
}
