#include "FavoritesHelpers.h"
#include "TestEnv.h"
#include "base/forms.h"
#include "browser/frmBrowser.h"
#include "favorites/FavoritesWalk.h"
#include "favorites/frmFav.h"
#include "platform/Twips.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <array>

using platform::px;

namespace {

const QString kEdit = QStringLiteral(" Modifica    pagina");
const QString kNewCopy = QStringLiteral("Nuovo Lucerna2");

// Remembers what the association query found in the temporary file.
class ProbingShell : public FakeShell {
public:
    explicit ProbingShell(platform::Files &files) : files_(files) {}
    QByteArray seen;
    int findExecutable(const QString &doc) override
    {
        seen = files_.readAll(doc).value_or(QByteArray("<missing>"));
        return FakeShell::findExecutable(doc);
    }

private:
    platform::Files &files_;
};

} // namespace

class FavWindow : public LanternaTest {
protected:
    void SetUp() override
    {
        LanternaTest::SetUp();
        Favorites::reset();
        fav = *shell.favorites;
        writeFile(fav + "\\Site.url", shortcut("http://site.example/"));
        writeFile(fav + "\\Local.url", shortcut("file:///C:/HOME-PAG/INIZIO.HTM"));
        writeFile(fav + "\\Cartella\\Dentro.url", shortcut("http://dentro.example/"));
    }

    frmFav *open() { return forms::frmFav(); }
    QTreeWidgetItem *item(frmFav *w, const QString &key) { return w->nodes().itemOf(key); }
    // Clicks a node the way the user does.
    void click(frmFav *w, const QString &key)
    {
        QTreeWidgetItem *it = item(w, key);
        ASSERT_NE(it, nullptr) << key.toStdString();
        w->TreeView1->scrollToItem(it);
        const QRect r = w->TreeView1->visualItemRect(it);
        ASSERT_TRUE(r.isValid()) << key.toStdString();
        QTest::mouseClick(w->TreeView1->viewport(), Qt::LeftButton, {}, r.center());
    }

    QString fav;
};

TEST_F(FavWindow, LoadPlacesTheControlsBuildsTheTreeAndShows)
{
    frmFav *w = open();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->pos(), QPoint(px(2910), px(1170)));
    EXPECT_EQ(Favorites::TreeBuilt, 1);
    EXPECT_GE(ui.waitOnCount, 1);
    EXPECT_FALSE(ui.waitCursor());

    EXPECT_FALSE(w->Check1->isVisible());
    EXPECT_FALSE(w->Check1->isChecked());
    EXPECT_FALSE(w->Check2->isVisible());
    EXPECT_TRUE(w->Check2->isChecked());
    EXPECT_FALSE(w->TreeView1->isSortingEnabled());

    EXPECT_EQ(w->ImageList1.keys, QStringList({"CloseFolder", "OpenFolder", "URL"}));
    for (const QPixmap &p : w->ImageList1.images) {
        EXPECT_FALSE(p.isNull());
        EXPECT_EQ(p.deviceIndependentSize().toSize(), QSize(16, 16));
    }
    EXPECT_EQ(w->mnuPopupURL->title(), "URLMenu");
    QStringList texts;
    for (QAction *a : w->mnuPopupURL->actions())
        texts << a->text();
    EXPECT_EQ(texts, QStringList({"Open Site", "Open Site (New Window)", "Organize", "Cancel"}));

    QTreeWidgetItem *root = w->TreeView1->topLevelItem(0);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->text(0), "Internet Preferiti");
    EXPECT_TRUE(root->isExpanded());
    ASSERT_EQ(root->childCount(), 3);
    EXPECT_EQ(root->child(2)->text(0), "Cartella"); // shortcuts first
    EXPECT_EQ(w->nodes().find("Site_URL")->tag, "http://site.example/");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(FavWindow, LoadWithoutAFavoritesFolderEndsTheProgram)
{
    shell.favorites.reset();
    frmFav *w = open();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.last().text, " Non trovo la directory preferiti! Questo programma richiede MicroSoft Internet "
                              "Explorer installato. Il programma verra chiuso!");
    EXPECT_EQ(ui.last().title, "Errore di accesso");
    EXPECT_EQ(ui.last().flags, platform::vbOKOnly | platform::vbCritical);
    EXPECT_EQ(ui.endProgramCalls, 1);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->TreeView1->topLevelItemCount(), 1);
}

TEST_F(FavWindow, OnlyAShortcutClickOpensTheMenu)
{
    frmFav *w = open();
    click(w, "R");
    click(w, "Cartella");
    EXPECT_TRUE(ui.menusShown.isEmpty());
    const FavNodeRef before = Favorites::LastNode;

    click(w, "Site_URL");
    EXPECT_EQ(ui.menusShown, QStringList("URLMenu"));
    ASSERT_TRUE(Favorites::LastNode);
    EXPECT_EQ(Favorites::LastNode->key, "Site_URL");
    EXPECT_NE(Favorites::LastNode, before);

    // Cancel and Open do nothing; Exit hides.
    ui.menuChoices = {"Cancel"};
    click(w, "Local_URL");
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(forms::loaded<frmBrowser>(), nullptr);
    w->mnuOpen->trigger();
    EXPECT_TRUE(w->isVisible());
    w->mnuExit->trigger();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(forms::loaded<frmFav>(), w);
}

TEST_F(FavWindow, OpenSiteDrivesTheBrowserWindowAndHides)
{
    frmBrowser *b = forms::frmBrowser();
    frmFav *w = open();
    b->timTimer->stop();
    browser()->calls.clear();

    ui.menuChoices = {"Open Site"};
    click(w, "Site_URL");
    EXPECT_EQ(b->cboAddress->currentText(), "http://site.example/");
    EXPECT_TRUE(b->timTimer->isActive());
    EXPECT_EQ(browser()->calls, QStringList("Navigate:http://site.example/"));
    EXPECT_EQ(b->Command1->text(), kNewCopy);
    EXPECT_FALSE(w->isVisible());

    w->show();
    ui.menuChoices = {"Open Site"};
    click(w, "Local_URL");
    EXPECT_EQ(b->cboAddress->currentText(), "file:///C:/HOME-PAG/INIZIO.HTM");
    EXPECT_EQ(b->Command1->text(), kEdit);
    EXPECT_FALSE(w->isVisible());

    // Blanks around the address do not matter; the prefix is case-sensitive.
    Favorites::LastNode->tag = "  file://C:/x.htm ";
    w->mnuOpenSite_Click();
    EXPECT_EQ(b->Command1->text(), kEdit);
    Favorites::LastNode->tag = "FILE:///C:/x.htm";
    w->mnuOpenSite_Click();
    EXPECT_EQ(b->Command1->text(), kNewCopy);

    // An empty address still goes through every step.
    Favorites::LastNode->tag.clear();
    browser()->calls.clear();
    w->show();
    w->mnuOpenSite_Click();
    EXPECT_EQ(b->cboAddress->currentText(), "");
    EXPECT_EQ(browser()->calls, QStringList("Navigate:"));
    EXPECT_FALSE(w->isVisible());
}

TEST_F(FavWindow, FineKeepsTheTreeUnloadRebuildsIt)
{
    frmFav *w = open();
    w->Command1->click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(Favorites::TreeBuilt, 1);

    writeFile(fav + "\\Nuovo.url", shortcut("http://nuovo/"));
    EXPECT_EQ(open(), w); // still loaded: no new load
    w->show();
    EXPECT_EQ(w->nodes().find("Nuovo_URL"), nullptr);

    forms::unload<frmFav>();
    EXPECT_EQ(Favorites::TreeBuilt, 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    frmFav *again = open();
    EXPECT_EQ(Favorites::TreeBuilt, 1);
    ASSERT_TRUE(again->nodes().find("Nuovo_URL"));
    EXPECT_EQ(again->nodes().find("Nuovo_URL")->tag, "http://nuovo/");
    EXPECT_TRUE(again->isVisible());
}

TEST_F(FavWindow, LowerCaseTRefreshesUpperCaseTDoesNot)
{
    frmFav *w = open();
    writeFile(fav + "\\tizio.url", shortcut("http://tizio/"));
    w->TreeView1->setCurrentItem(item(w, "R"));

    ui.waitOnCount = 0;
    QTest::keyClick(w->TreeView1, 't');
    ASSERT_TRUE(w->nodes().find("tizio_URL"));
    EXPECT_EQ(Favorites::TreeBuilt, 1);
    EXPECT_EQ(ui.waitOnCount, 0);
    // The tree still got the key: its type-ahead moved to the node starting with t.
    ASSERT_NE(w->TreeView1->currentItem(), nullptr);
    EXPECT_EQ(w->TreeView1->currentItem()->text(0), "tizio");

    writeFile(fav + "\\tutto.url", shortcut("http://tutto/"));
    QTest::keyClick(w->TreeView1, 'T');
    EXPECT_EQ(w->nodes().find("tutto_URL"), nullptr);
    QTest::keyClick(w->TreeView1, 'a');
    EXPECT_EQ(w->nodes().find("tutto_URL"), nullptr);

    shell.favorites.reset();
    QTest::keyClick(w->TreeView1, 't');
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.last().text, " Non trovo ila cartella preferiti Richiesto Microsoft's Internet Explorer Installato!");
    EXPECT_EQ(ui.last().title, "Errore");
    EXPECT_EQ(ui.endProgramCalls, 1);
}

TEST_F(FavWindow, OpenSiteInANewCopy)
{
    ProbingShell probe(*files);
    probe.favorites = shell.favorites;
    platform::Services s{ui, *files, processes, probe, platform::services().makeBrowser};
    platform::install(s);

    frmFav *w = open();
    writeFile(fav + "\\Odd.url", shortcut("http://odd/?a=1&b=\"q\" ; rm -rf x"));
    QTest::keyClick(w->TreeView1, 't');

    ui.menuChoices = {"Open Site (New Window)"};
    click(w, "Odd_URL");
    ASSERT_EQ(processes.starts.size(), 1u);
    EXPECT_EQ(processes.starts[0].program, "C:\\PROG\\lanterna");
    EXPECT_EQ(processes.starts[0].arguments, QStringList("http://odd/?a=1&b=\"q\" ; rm -rf x"));
    EXPECT_EQ(probe.findExecutableCalls, QStringList("C:\\PROG\\temphtm.HTM"));
    EXPECT_EQ(probe.seen, QByteArray("\"<HTML> <\\HTML>\"\r\n"));
    EXPECT_FALSE(exists("C:\\PROG\\temphtm.HTM"));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(forms::loaded<frmBrowser>(), nullptr);

    // No program handles the page type.
    probe.findExecutableResult = 32;
    ui.menuChoices = {"Open Site (New Window)"};
    click(w, "Site_URL");
    EXPECT_EQ(processes.starts.size(), 1u);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.last(),
              FakeUi::box("nessun Browser associato", "Browser Non trovato",
                          platform::vbOKOnly | platform::vbExclamation));
    EXPECT_FALSE(exists("C:\\PROG\\temphtm.HTM"));

    // The copy cannot be started.
    probe.findExecutableResult = 33;
    processes.startFails = platform::StartError{2, "not found"};
    ui.menuChoices = {"Open Site (New Window)"};
    click(w, "Site_URL");
    EXPECT_EQ(processes.starts.size(), 2u);
    EXPECT_EQ(processes.starts[1].arguments, QStringList("http://site.example/"));
    EXPECT_EQ(ui.beeps, 1);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(
        ui.last(), (FakeUi::Message{"Non trovo il programma  LANTERNA.EXE  !!!", "Lanterna", platform::vbOKOnly}));
    EXPECT_FALSE(exists("C:\\PROG\\temphtm.HTM"));
}

TEST_F(FavWindow, OrganizeOpensTheFavoritesFolderAgain)
{
    frmFav *w = open();
    shell.favorites = "C:\\Altrove\\Favorites";
    ui.menuChoices = {"Organize"};
    click(w, "Site_URL");
    EXPECT_EQ(shell.organizeCalls, QStringList("C:\\Altrove\\Favorites"));
    EXPECT_NE(w->nodes().find("Site_URL"), nullptr); // not rebuilt
}

TEST_F(FavWindow, ActivationPutsThePointerBackAndFocusesTheTree)
{
    frmFav *w = open();
    w->Command1->setFocus();
    ui.setWaitCursor(true);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(w, &activate);
    EXPECT_FALSE(ui.waitCursor());
    EXPECT_EQ(w->focusWidget(), w->TreeView1);

    // The browser's button asks for the window again while it is open behind the
    // browser: it comes to the front, and the hourglass does not stay behind.
    frmBrowser *b = forms::frmBrowser();
    b->show();
    b->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == b; }, 5000));
    b->Command3_Click();
    EXPECT_FALSE(ui.waitCursor());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == w; }, 5000));
    EXPECT_EQ(forms::loaded<frmFav>(), w);
}

TEST(FavResize, SnapRule)
{
    // window asked for -> window, tree; at the bounds (not greater) it snaps.
    const struct {
        int width, height;
        std::array<int, 4> layout;
    } rows[] = {{9000, 6000, {9000, 6000, 8800, 5300}},
                {800, 1500, {1000, 2000, 1000, 1300}},
                {1000, 2000, {1000, 2000, 1000, 1300}},
                {1001, 2001, {1001, 2001, 801, 1301}}};
    for (const auto &r : rows) {
        const FavLayout l = FavResizeRule(r.width, r.height);
        EXPECT_EQ((std::array<int, 4>{l.windowWidth, l.windowHeight, l.treeWidth, l.treeHeight}), r.layout)
            << r.width << "x" << r.height;
    }
}

TEST_F(FavWindow, ResizingTheWindowSnapsAndStretchesTheTree)
{
    // The rule measures the whole window, frame included.
    frmFav *w = open();
    auto treeFollowsFrame = [&] {
        const QSize f = w->frameGeometry().size();
        return w->TreeView1->size()
            == QSize(px(platform::twips(f.width()) - 200), px(platform::twips(f.height()) - 700));
    };
    ASSERT_TRUE(QTest::qWaitFor(treeFollowsFrame, 5000)) << w->TreeView1->width() << "x" << w->TreeView1->height();

    w->resize(600, 400);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->width() == 600 && treeFollowsFrame(); }, 5000))
        << w->TreeView1->width() << "x" << w->TreeView1->height();
    EXPECT_GT(w->TreeView1->width(), px(8000));

    w->resize(40, 60);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->frameGeometry().size() == QSize(px(1000), px(2000)); }, 5000))
        << w->frameGeometry().width() << "x" << w->frameGeometry().height();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->TreeView1->size() == QSize(px(1000), px(1300)); }, 5000))
        << w->TreeView1->width() << "x" << w->TreeView1->height();
    // Settled: later events leave the snapped layout alone.
    QCoreApplication::processEvents();
    EXPECT_EQ(w->frameGeometry().size(), QSize(px(1000), px(2000)));
    EXPECT_EQ(w->TreeView1->size(), QSize(px(1000), px(1300)));
    EXPECT_EQ(w->Command1->geometry(), platform::twipsRect(5385, 0, 975, 270));
}
