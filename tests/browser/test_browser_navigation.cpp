#include "BrowserTest.h"
#include "TestEnv.h"
#include "base/Module1.h"
#include "base/forms.h"
#include "browser/PageTitle.h"
#include "browser/frmBrowser.h"
#include "iemanager/Test_URL.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>

namespace {

QAction *toolButton(frmBrowser *w, const QString &key)
{
    for (QAction *a : w->tbToolBar->actions())
        if (a->data().toString() == key)
            return a;
    return nullptr;
}

} // namespace

TEST(PageTitleRule, PathFormOfTheAddress)
{
    // Only up to the first "file:///" goes, whatever stands before it; case matters.
    EXPECT_EQ(address::pageTitle("view:file:///C:/a/file:///b"), "C:\\a\\file:\\\\\\b");
    EXPECT_EQ(address::pageTitle("FILE:///C:/a"), "FILE:\\\\\\C:\\a");
    EXPECT_EQ(address::pageTitle("about:blank#x"), "about:blank#x");
}

class Navigation : public BlankBrowserTest {
protected:
    void type(frmBrowser *w, const QString &text)
    {
        w->cboAddress->lineEdit()->clear();
        QTest::keyClicks(w->cboAddress->lineEdit(), text);
    }
};

TEST_F(Navigation, EnterNavigatesToTheTypedTextAndRelabelsCommand1)
{
    frmBrowser *w = open();
    const int listed = w->cboAddress->count();
    type(w, " file:///C:/HOME-PAG/INIZIO.HTM");
    EXPECT_TRUE(browser()->calls.isEmpty()); // typing alone does nothing
    EXPECT_EQ(Module1::PageVisited, 0);

    QTest::keyClick(w->cboAddress->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(browser()->calls, QStringList{"Navigate: file:///C:/HOME-PAG/INIZIO.HTM"});
    EXPECT_EQ(w->Command1->text(), " Modifica    pagina");
    EXPECT_TRUE(w->timTimer->isActive());
    EXPECT_EQ(Module1::PageVisited, 1);
    EXPECT_EQ(w->cboAddress->count(), listed); // the list grows only when pages finish

    type(w, "http://host/dir/page.htm");
    QTest::keyClick(w->cboAddress->lineEdit(), Qt::Key_Enter);
    EXPECT_EQ(browser()->calls.last(), "Navigate:http://host/dir/page.htm");
    EXPECT_EQ(w->Command1->text(), "Nuovo Lucerna2");
    EXPECT_EQ(w->cboAddress->count(), listed);

    // Other keys do nothing of their own.
    browser()->calls.clear();
    w->cboAddress_KeyPress('a');
    w->cboAddress_KeyPress(10);
    EXPECT_TRUE(browser()->calls.isEmpty());

    // Typing an address that is already listed: Enter navigates once, and leaving the
    // box without Enter navigates nowhere.
    w->cboAddress->addItem(QStringLiteral("http://listed/"));
    w->cboAddress->addItem(QStringLiteral("http://other/"));
    w->cboAddress->setCurrentIndex(0);
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->isActiveWindow(); }, 5000));
    w->cboAddress->lineEdit()->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->cboAddress->lineEdit()->hasFocus(); }, 5000));
    type(w, "http://listed/");
    QTest::keyClick(w->cboAddress->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(browser()->calls, QStringList{"Navigate:http://listed/"});

    browser()->calls.clear();
    type(w, "http://other/");
    w->Command7->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->Command7->hasFocus(); }, 5000));
    EXPECT_TRUE(browser()->calls.isEmpty());
    EXPECT_EQ(w->cboAddress->currentText(), "http://other/");
}

TEST_F(Navigation, PickingAListEntryNavigatesToIt)
{
    frmBrowser *w = open();
    w->cboAddress->addItem(QStringLiteral("FILE://C:/x.htm"));
    w->cboAddress->setCurrentIndex(1);
    emit w->cboAddress->activated(1);
    EXPECT_EQ(browser()->calls, QStringList{"Navigate:FILE://C:/x.htm"});
    EXPECT_EQ(w->Command1->text(), "Nuovo Lucerna2"); // the prefix test is case-sensitive
    EXPECT_TRUE(w->timTimer->isActive());
    EXPECT_EQ(Module1::PageVisited, 1);

    // Stepping through the list with the arrow keys picks entries too.
    w->cboAddress->addItem(QStringLiteral("file:///C:/y.htm"));
    browser()->calls.clear();
    QTest::keyClick(w->cboAddress->lineEdit(), Qt::Key_Down);
    EXPECT_EQ(browser()->calls, QStringList{"Navigate:file:///C:/y.htm"});
    EXPECT_EQ(w->Command1->text(), " Modifica    pagina");
}

TEST_F(Navigation, ToolbarRunsItsCommandAndRelabelsFromTheTypedText)
{
    frmBrowser *w = open();
    // The button's key -> the control's call.
    const std::pair<QString, QString> keys[] = {{"Back", "GoBack"}, {"Forward", "GoForward"}, {"Refresh", "Refresh"},
        {"Home", "GoHome"}, {"Search", "GoSearch"}};
    w->cboAddress->setEditText(QStringLiteral("http://typed/"));
    for (const auto &[key, call] : keys) {
        w->timTimer->stop();
        QAction *a = toolButton(w, key);
        ASSERT_NE(a, nullptr) << key.toStdString();
        a->trigger();
        EXPECT_EQ(browser()->calls.last(), call);
        EXPECT_TRUE(w->timTimer->isActive()) << key.toStdString();
        EXPECT_EQ(w->Command1->text(), "Nuovo Lanterna");
    }
    EXPECT_EQ(browser()->calls.size(), 5);
    EXPECT_EQ(Module1::PageVisited, 0); // the toolbar is no visit of its own

    // The typed (not yet confirmed) text decides, not the page shown.
    browser()->locationURL = QStringLiteral("http://shown/");
    w->cboAddress->setEditText(QStringLiteral("  file:///C:/a.htm"));
    w->tbToolBar_ButtonClick(QStringLiteral("Back"));
    EXPECT_EQ(w->Command1->text(), " Modifica    pagina");
    // An unknown key only relabels.
    w->cboAddress->setEditText(QStringLiteral("http://x/"));
    browser()->calls.clear();
    w->tbToolBar_ButtonClick(QStringLiteral("Print"));
    EXPECT_TRUE(browser()->calls.isEmpty());
    EXPECT_EQ(w->Command1->text(), "Nuovo Lanterna");
}

TEST_F(Navigation, StopEndsTheWatchAndShowsThePageAtOnce)
{
    frmBrowser *w = open();
    w->cboAddress->setEditText(QStringLiteral("http://host/slow.htm"));
    w->cboAddress_Click();
    browser()->busy = true;
    browser()->locationURL = QStringLiteral("http://host/slow.htm");

    toolButton(w, QStringLiteral("Stop"))->trigger();
    EXPECT_EQ(browser()->calls.last(), "Stop");
    EXPECT_FALSE(w->timTimer->isActive());
    EXPECT_EQ(w->windowTitle(), "http:\\\\host\\slow.htm");
    EXPECT_EQ(w->Tag, "http:\\\\host\\slow.htm");
    EXPECT_EQ(w->cboAddress->currentText(), "http://host/slow.htm");
    EXPECT_EQ(w->Command1->text(), "Nuovo Lanterna");
}

TEST_F(Navigation, FinishedTickWritesCaptionTagAndAddress)
{
    frmBrowser *w = open();
    struct Case {
        const char *location;
        const char *title;
    };
    const Case cases[] = {
        {"file:///C:/HOME-PAG/INIZIO.HTM", "C:\\HOME-PAG\\INIZIO.HTM"},
        {"http://host/dir/page.htm", "http:\\\\host\\dir\\page.htm"},
        {" about:blank  ", "about:blank"},
        {"", ""},
    };
    for (const auto &c : cases) {
        Module1::CommandLinePath = QStringLiteral("before");
        w->cboAddress->setEditText(QStringLiteral("typed"));
        browser()->locationURL = QString::fromLatin1(c.location);
        w->timTimer->start();
        const int yields = ui.doEventsCalls;
        w->timTimer_Timer();
        EXPECT_FALSE(w->timTimer->isActive()) << c.location;
        EXPECT_EQ(w->windowTitle(), c.title);
        EXPECT_EQ(w->Tag, c.title);
        EXPECT_EQ(w->cboAddress->currentText(), QString::fromLatin1(c.location)); // not converted
        EXPECT_EQ(ui.doEventsCalls, yields + 1);
        // The title is built in CommandLinePath, except for a blank page.
        const bool blank = QString::fromLatin1(c.title).isEmpty() || QString::fromLatin1(c.title) == "about:blank";
        EXPECT_EQ(Module1::CommandLinePath, blank ? QStringLiteral("before") : QString::fromLatin1(c.title));
    }
    EXPECT_TRUE(ui.messages.empty());

    // After Ctrl+L the whole address stays selected through a tick, so typing replaces it.
    QLineEdit *edit = w->cboAddress->lineEdit();
    for (const char *location : {"http://host/same.htm", "http://host/moved.htm"}) {
        w->cboAddress->setEditText(QStringLiteral("http://host/same.htm"));
        w->cboAddress->setFocus();
        edit->selectAll();
        browser()->locationURL = QString::fromLatin1(location);
        w->timTimer_Timer();
        QTest::keyClicks(edit, QStringLiteral("x.it"));
        EXPECT_EQ(w->cboAddress->currentText(), "x.it") << location;
    }
}

TEST_F(Navigation, TimerFiresTheTickEverySecondWhileWatching)
{
    frmBrowser *w = open();
    browser()->locationURL = QStringLiteral("http://done/");
    w->cboAddress_Click();
    ASSERT_TRUE(w->timTimer->isActive());
    // Waits on the real timer (1 s interval) until its tick has written the caption.
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->windowTitle() == "http:\\\\done\\"; }, 10000));
    EXPECT_FALSE(w->timTimer->isActive());
}

class LoadingTick : public Navigation {
protected:
    void SetUp() override
    {
        Navigation::SetUp();
        processes.table = std::vector<platform::ProcessEntry>{
            {0x10, QStringLiteral("C:\\Program Files\\Internet Explorer\\iexplore.exe")},
            {0x20, QStringLiteral("/bin/sleep")},
            {0x2A, QStringLiteral("IEXPLORE.EXE")},
        };
    }
    frmBrowser *loading()
    {
        frmBrowser *w = open();
        browser()->busy = true;
        w->timTimer->start();
        return w;
    }
    static QString question(const QString &top)
    {
        return QStringLiteral("Confermi cancellazione di tutte le finestre IE:  \r\r") + top;
    }
};

TEST_F(LoadingTick, QuestionsOffEndsEveryIeProcessAndWatchesOn)
{
    frmBrowser *w = loading();
    const int yields = ui.doEventsCalls;
    w->timTimer_Timer();
    EXPECT_EQ(w->windowTitle(), "Working...");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(processes.terminated, (std::vector<quint32>{0x10, 0x2A}));
    ASSERT_TRUE(processes.table);
    ASSERT_EQ(processes.table->size(), 1u);
    EXPECT_EQ(processes.table->front().pid, 0x20u); // not an IE process: untouched
    EXPECT_GE(ui.doEventsCalls - yields, 2 + 1001);
    EXPECT_TRUE(w->timTimer->isActive());
    // The IE list was loaded to work in, not shown, and is empty again.
    Test_URL *list = forms::loaded<Test_URL>();
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(list->List1->count(), 0);
}

TEST_F(LoadingTick, QuestionsOnAsksAboutTheTopLineAndNoAsksAgainNextTick)
{
    frmBrowser *w = loading();
    w->Check1->setChecked(false);
    ui.answers = {platform::vbNo};
    const int readings = processes.snapshots;
    w->timTimer_Timer();
    // The table is read once per tick, also by the tick that loads the list window.
    EXPECT_EQ(processes.snapshots - readings, 1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.last().text, question("IEXPLORE.EXE 2A")); // the list shows the last found first
    EXPECT_EQ(ui.last().title, "Gestione finestre IE");
    EXPECT_EQ(ui.last().flags, platform::vbYesNo);
    EXPECT_TRUE(processes.terminated.empty());
    EXPECT_TRUE(w->timTimer->isActive());
    EXPECT_EQ(forms::loaded<Test_URL>()->List1->count(), 2);

    ui.answers = {platform::vbYes};
    const int before = processes.snapshots;
    w->timTimer_Timer();
    // The list, a look before each of the two endings, the list again after them.
    EXPECT_EQ(processes.snapshots - before, 4);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.last().text, question("IEXPLORE.EXE 2A"));
    EXPECT_EQ(processes.terminated, (std::vector<quint32>{0x10, 0x2A}));
    EXPECT_TRUE(w->timTimer->isActive());
}

TEST_F(LoadingTick, NoIeProcessOnlyShowsWorking)
{
    processes.table = std::vector<platform::ProcessEntry>{{0x20, QStringLiteral("/bin/sleep")}};
    frmBrowser *w = loading();
    w->Check1->setChecked(false);
    w->cboAddress->setEditText(QStringLiteral("typed"));
    w->timTimer_Timer();
    EXPECT_EQ(w->windowTitle(), "Working...");
    EXPECT_EQ(w->cboAddress->currentText(), "typed");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(processes.terminated.empty());
    EXPECT_TRUE(w->timTimer->isActive());
    EXPECT_FALSE(forms::loaded<Test_URL>()->isVisible());
}

namespace {
// Runs a tick of the window from inside each termination, as a yield can.
class ReenteringProcesses : public FakeProcesses {
public:
    frmBrowser *window = nullptr;
    bool terminate(Handle h, quint32 code) override
    {
        const bool ok = FakeProcesses::terminate(h, code);
        if (window)
            window->timTimer_Timer();
        return ok;
    }
};
} // namespace

TEST_F(LoadingTick, TickArrivingDuringTheTerminationDoesNotAskOrEndAgain)
{
    ReenteringProcesses reentering;
    reentering.table = processes.table;
    useProcesses(reentering);
    frmBrowser *w = loading();
    reentering.window = w;
    w->Check1->setChecked(false);
    ui.answers = {platform::vbYes};
    w->timTimer_Timer();
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(reentering.terminated, (std::vector<quint32>{0x10, 0x2A}));

    // Once the first tick is over, the next one works again.
    reentering.window = nullptr;
    reentering.table->push_back({0x30, QStringLiteral("iexplore.exe")});
    ui.answers = {platform::vbYes};
    w->timTimer_Timer();
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(reentering.terminated.back(), 0x30u);
    useProcesses(processes);
}

TEST_F(Navigation, TabFollowsTheDesignOrderSkippingWhatCannotTakeTheFocus)
{
    frmBrowser *w = open();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->isActiveWindow(); }, 5000));
    auto tabFrom = [&](QWidget *from, bool back = false) {
        from->setFocus();
        EXPECT_TRUE(QTest::qWaitFor([&] { return from->hasFocus(); }, 5000));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
        return QApplication::focusWidget();
    };
    // The label, the toolbar and the strip take no focus; the hidden button neither.
    EXPECT_EQ(tabFrom(w->cboAddress), w->Command1);
    EXPECT_EQ(tabFrom(w->Command1, true), w->cboAddress);
    EXPECT_EQ(tabFrom(w->Check1), w->Command3);
    EXPECT_EQ(tabFrom(w->Command4), w->Check2);
    EXPECT_EQ(tabFrom(w->Check2), w->Command5);
    EXPECT_EQ(tabFrom(w->Command7), w->Command8[0]);
    EXPECT_EQ(tabFrom(w->Command8[4]), w->Command8[5]);
}
