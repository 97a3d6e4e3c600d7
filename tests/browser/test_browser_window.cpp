#include "TestEnv.h"
#include "base/Module1.h"
#include "app/Startup.h"
#include "base/forms.h"
#include "browser/frmBrowser.h"
#include "iemanager/Test_URL.h"
#include "platform/Twips.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using platform::px;
using platform::twipsRect;

namespace {

const QString kLog = QStringLiteral("C:\\PROG\\LANTERNA.DAT");
const QString kQuestion = QStringLiteral("Desideri registrare i Link dei Siti Internet visualizzati (S/N)");

// Resizes the window and waits until it has taken the new size.
void resizeTo(frmBrowser *w, int width, int height)
{
    w->resize(width, height);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->size() == QSize(width, height); }, 5000));
}

} // namespace

class BrowserWindow : public LanternaTest {};

TEST_F(BrowserWindow, ControlsStartAtTheirDesignPlacesAndCaptions)
{
    auto *w = new frmBrowser(); // built, not loaded
    EXPECT_FALSE(w->timTimer->isActive());
    EXPECT_EQ(w->timTimer->interval(), 1000);
    EXPECT_TRUE(w->windowTitle().isEmpty());
    EXPECT_EQ(w->brwWebBrowser, browser());
    // Captions and places: the design sheet test.
    for (QPushButton *b : {w->Command1, w->Command2, w->Command3, w->Command4, w->Command5, w->Command6, w->Command7})
        EXPECT_EQ(b->parentWidget(), w->picAddress);
    for (QPushButton *b : w->Command8)
        EXPECT_EQ(b->parentWidget(), w->picAddress);
    EXPECT_TRUE(w->Command2->isHidden());
    EXPECT_EQ(w->lblAddress->buddy(), w->cboAddress);
    EXPECT_EQ(w->cboAddress->currentText(), "cboAddress");
    EXPECT_EQ(w->cboAddress->count(), 0);
    EXPECT_TRUE(w->Check1->isChecked());
    EXPECT_TRUE(w->Check2->isChecked());

    // Six image buttons, Key = text = tooltip, no captions shown.
    const QStringList keys = {"Back", "Forward", "Stop", "Refresh", "Home", "Search"};
    const auto actions = w->tbToolBar->actions();
    ASSERT_EQ(actions.size(), 6);
    EXPECT_EQ(w->tbToolBar->toolButtonStyle(), Qt::ToolButtonIconOnly);
    EXPECT_EQ(w->tbToolBar->iconSize(), QSize(24, 24));
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(actions[i]->data().toString(), keys[i]);
        EXPECT_EQ(actions[i]->text(), keys[i]);
        EXPECT_EQ(actions[i]->toolTip(), keys[i]);
        EXPECT_FALSE(actions[i]->icon().isNull()) << keys[i].toStdString();
        EXPECT_EQ(actions[i]->icon().availableSizes().value(0), QSize(24, 24));
    }

    // Two status panels: the text panel takes what the progress panel leaves.
    EXPECT_EQ(w->StatusPanel1->parentWidget(), w->StatusBar1);
    EXPECT_EQ(w->StatusPanel2->parentWidget(), w->StatusBar1);
    EXPECT_EQ(w->StatusPanel2->width(), px(2220));
    delete w;
}

TEST_F(BrowserWindow, LoadShowsListsEnablesAndNavigates)
{
    writeFile(QStringLiteral("C:\\HOME-PAG\\INIZIO.HTM"), "<html></html>");
    writeFile(kLog, "http://logged/\r\n");
    Module1::StartUrl = QStringLiteral("C:\\HOME-PAG\\INIZIO.HTM");
    Module1::HomePageDir = QStringLiteral("C:\\HOME-PAG\\");
    Module1::AllowPopups = true;
    frmBrowser *w = forms::frmBrowser();

    EXPECT_TRUE(w->isVisible());
    // All six toolbar buttons fit the toolbar's design width: none hides in an overflow menu.
    for (QAction *a : w->tbToolBar->actions())
        EXPECT_TRUE(w->tbToolBar->widgetForAction(a)->isVisible()) << a->text().toStdString();
    EXPECT_FALSE(Module1::AllowPopups);
    EXPECT_TRUE(w->timTimer->isActive());
    EXPECT_EQ(browser()->calls, QStringList{"Navigate:C:\\HOME-PAG\\INIZIO.HTM"});
    EXPECT_EQ(w->cboAddress->currentText(), "C:\\HOME-PAG\\INIZIO.HTM");
    EXPECT_EQ(w->cboAddress->count(), 1); // the log joins once the page has shown
    w->joinVisitedLog();
    ASSERT_EQ(w->cboAddress->count(), 2);
    EXPECT_EQ(w->cboAddress->itemText(0), "C:\\HOME-PAG\\INIZIO.HTM");
    EXPECT_EQ(w->cboAddress->itemText(1), "http://logged/");
    EXPECT_EQ(w->brwWebBrowser->homePage(), "C:\\HOME-PAG\\INIZIO.HTM");
    EXPECT_TRUE(w->brwWebBrowser->searchPage().startsWith("https://"));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(BrowserWindow, BlankStartBecomesAboutBlankAndHomeFallsBack)
{
    Module1::StartUrl = QStringLiteral("   ");
    Module1::HomePageDir = QStringLiteral("D:\\HOME-PAG\\"); // Main found no home page
    frmBrowser *w = forms::frmBrowser();
    EXPECT_EQ(Module1::StartUrl, "about:blank");
    EXPECT_EQ(browser()->calls, QStringList{"Navigate:about:blank"});
    EXPECT_EQ(w->cboAddress->itemText(0), "about:blank");
    EXPECT_EQ(w->brwWebBrowser->homePage(), "about:blank");
}

namespace {
// A control that refuses every address but one.
class RefusingBrowser : public FakeWebBrowser {
public:
    using FakeWebBrowser::FakeWebBrowser;
    QString accepts;
    void Navigate(const QString &url) override
    {
        FakeWebBrowser::Navigate(url);
        if (url != accepts)
            throw std::runtime_error("refused");
    }
};
} // namespace

TEST_F(BrowserWindow, RefusedFirstNavigationFallsBackTwiceThenGivesUp)
{
    writeFile(kLog, "http://logged/\r\n");
    QString accepts = QStringLiteral("C:\\WINDOWS\\VUOTA.HTM");
    RefusingBrowser *made = nullptr;
    platform::Services s{ui, *files, processes, shell, [&](QWidget *parent) -> platform::WebBrowser * {
                             made = new RefusingBrowser(parent);
                             made->accepts = accepts;
                             return made;
                         }};
    platform::install(s);

    Module1::StartUrl = QStringLiteral("http://refused/");
    frmBrowser *w = forms::frmBrowser();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->calls, (QStringList{"Navigate:http://refused/", "Navigate:D:\\HOME-PAG\\INIZIO.HTM",
                                        "Navigate:C:\\WINDOWS\\VUOTA.HTM"}));
    EXPECT_EQ(Module1::StartUrl, "C:\\WINDOWS\\VUOTA.HTM");
    EXPECT_EQ(w->cboAddress->currentText(), "C:\\WINDOWS\\VUOTA.HTM");
    // Every attempt listed its address; the log is merged after them.
    w->joinVisitedLog();
    EXPECT_EQ(w->cboAddress->count(), 4);
    EXPECT_EQ(w->cboAddress->itemText(3), "http://logged/");
    forms::unload<frmBrowser>();

    // Nothing accepted: three attempts and no more; the log is still merged.
    accepts.clear();
    Module1::StartUrl = QStringLiteral("http://refused/");
    w = forms::frmBrowser();
    EXPECT_EQ(made->calls.size(), 3);
    w->joinVisitedLog();
    EXPECT_EQ(w->cboAddress->count(), 4);
    EXPECT_TRUE(w->isVisible());
    forms::unload<frmBrowser>();
    useProcesses(processes); // the fixture's services again before `s` goes
}

TEST_F(BrowserWindow, LayoutFollowsTheWindowInTwips)
{
    Module1::StartUrl = QStringLiteral("about:blank");
    frmBrowser *w = forms::frmBrowser();

    resizeTo(w, 1000, 700); // 15000 x 10500 twips
    EXPECT_EQ(w->lblAddress->x(), px(3800));
    EXPECT_EQ(w->cboAddress->width(), px(15000 - 4735));
    EXPECT_EQ(w->brwWebBrowser->width(), px(15000 - 100));
    EXPECT_EQ(w->brwWebBrowser->height(), px(10500 - 1025));
    EXPECT_EQ(w->brwWebBrowser->pos(), twipsRect(75, 690, 0, 0).topLeft());
    EXPECT_EQ(w->Command7->pos(), twipsRect(10395, 315, 0, 0).topLeft());
    // Docked bars span the width; the status bar sits at the bottom.
    EXPECT_EQ(w->picAddress->width(), 1000);
    EXPECT_EQ(w->StatusBar1->width(), 1000);
    EXPECT_EQ(w->StatusBar1->geometry().bottom(), 699);

    // The user cannot make the window so small that a control of the strip, the
    // toolbar or the status bar goes out of reach, or the page has no room at all.
    const QSize least = w->minimumSize();
    for (QWidget *c : w->picAddress->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (!c->isHidden() && c != w->cboAddress) // the box follows the window's width
            EXPECT_LE(c->geometry().right(), least.width() - 1) << c->metaObject()->className();
    EXPECT_LE(w->tbToolBar->geometry().right(), least.width() - 1);
    EXPECT_GE(least.height() - px(690) - px(285), px(1000));
    EXPECT_LE(least.width(), 800); // still fits the smallest screens
    // The layout rules themselves hold at any size the window is given.
    w->setMinimumSize(0, 0);

    // Narrower than the address box rule and too low for the web view: both keep their sizes.
    const int cboWidth = w->cboAddress->width();
    const int webHeight = w->brwWebBrowser->height();
    resizeTo(w, 300, 70); // 4500 x 1050 twips
    EXPECT_EQ(w->cboAddress->width(), cboWidth);
    EXPECT_EQ(w->brwWebBrowser->height(), webHeight);
    EXPECT_EQ(w->brwWebBrowser->width(), px(4500 - 100));

    // H = 1095: H - 1025 = 70 > 50, so the height is set; narrower than 100 twips: width 0.
    resizeTo(w, 6, 73);
    EXPECT_EQ(w->brwWebBrowser->width(), 0);
    EXPECT_EQ(w->brwWebBrowser->height(), px(1095 - 1025));

    // Minimized: the label and the address box still follow, the web view does not.
    resizeTo(w, 1000, 700);
    const QSize web = w->brwWebBrowser->size();
    w->setWindowState(Qt::WindowMinimized);
    resizeTo(w, 1200, 800);
    EXPECT_EQ(w->cboAddress->width(), px(18000 - 4735));
    EXPECT_EQ(w->lblAddress->x(), px(3800));
    EXPECT_EQ(w->brwWebBrowser->size(), web);
}

class Closing : public LanternaTest {
protected:
    frmBrowser *open(const QStringList &extra)
    {
        Module1::StartUrl = QStringLiteral("http://start/");
        frmBrowser *w = forms::frmBrowser();
        w->joinVisitedLog(); // the session's pages come after the log read at load
        for (const auto &e : extra)
            w->cboAddress->addItem(e);
        return w;
    }
    bool asked() const
    {
        for (const auto &m : ui.messages)
            if (m.text == kQuestion)
                return true;
        return false;
    }
};

TEST_F(Closing, NoQuestionWithOneEntryOrWithoutAVisit)
{
    Module1::PageVisited = 1;
    open({});
    forms::unload<frmBrowser>();
    EXPECT_FALSE(asked());
    EXPECT_FALSE(exists(kLog));
    EXPECT_EQ(ui.endProgramCalls, 1);

    Module1::PageVisited = 0;
    open({"http://other/"});
    forms::unload<frmBrowser>();
    EXPECT_FALSE(asked());
    EXPECT_FALSE(exists(kLog));
    EXPECT_EQ(ui.endProgramCalls, 2);
}

TEST_F(Closing, NoWritesNothingAndStillClosesEverything)
{
    frmBrowser *w = open({"http://other/"});
    Module1::PageVisited = 1;
    forms::Test_URL();
    ASSERT_NE(forms::loaded<Test_URL>(), nullptr);
    ui.answers = {platform::vbNo};
    w->close(); // the close box
    ASSERT_TRUE(asked());
    EXPECT_EQ(ui.last().title, "Chiusura Lanterna");
    EXPECT_EQ(ui.last().flags, platform::vbYesNo);
    EXPECT_FALSE(exists(kLog));
    EXPECT_EQ(forms::loaded<frmBrowser>(), nullptr);
    EXPECT_EQ(forms::loaded<Test_URL>(), nullptr);
    EXPECT_FALSE(w->timTimer->isActive());
    EXPECT_EQ(ui.endProgramCalls, 1);
}

TEST_F(Closing, YesMergesTheLogAgainAndRewritesIt)
{
    writeFile(kLog, "http://a/\r\n");
    frmBrowser *w = open({"about:blank", "  ", "http://visited/  "});
    Module1::PageVisited = 1;
    // Another copy of the program added an address meanwhile.
    writeFile(kLog, "http://a/\r\nhttp://from-other-copy/\n");
    ui.answers = {platform::vbYes};
    w->close();
    ASSERT_TRUE(asked());
    EXPECT_EQ(readFile(kLog),
              QByteArray("http://start/\r\nhttp://a/\r\nhttp://visited/  \r\nhttp://from-other-copy/\r\n"));
    EXPECT_EQ(ui.endProgramCalls, 1);
}

TEST_F(BrowserWindow, EveryCaptionOfTheStripIsWholeAtTheDesignSize)
{
    startup::useDesignFont(); // as the program starts
    auto *w = new frmBrowser();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    const int stripBottom = w->picAddress->height();
    // A switch needs room for its box, the gap and the whole caption.
    for (QCheckBox *c : {w->Check1, w->Check2}) {
        c->ensurePolished();
        EXPECT_LE(c->sizeHint().width(), c->width()) << c->text().toStdString();
    }
    // Buttons: the caption's letters inside the frame and above the strip's lower edge,
    // which cuts the shortcut row.
    QList<QPushButton *> buttons{w->Command1, w->Command3, w->Command4, w->Command5, w->Command6, w->Command7};
    for (QPushButton *b : w->Command8)
        buttons << b;
    for (QPushButton *b : buttons) {
        b->ensurePolished();
        const QFontMetrics fm(b->font());
        const QString text = b->text().simplified();
        const int visible = std::min(b->height(), stripBottom - b->y());
        const QRect ink = fm.tightBoundingRect(text);
        // Centred in the frame (one pixel each side): the ink must not reach the cut.
        const int inkBottom = (b->height() + fm.ascent() - fm.descent()) / 2 + ink.bottom();
        if (b == w->Command1) // the only caption on two lines
            continue;
        EXPECT_LE(fm.horizontalAdvance(text), b->width() - 2) << text.toStdString();
        EXPECT_LE(inkBottom, visible - 1) << text.toStdString();
    }
    delete w;
}
