#include "TestEnv.h"
#include "app/Module1.h"
#include "app/forms.h"
#include "browser/PageTitle.h"
#include "browser/frmBrowser.h"

#include <QAction>
#include <QComboBox>
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
    EXPECT_EQ(address::pageTitle("file:///C:/HOME-PAG/INIZIO.HTM"), "C:\\HOME-PAG\\INIZIO.HTM");
    EXPECT_EQ(address::pageTitle("http://host/dir/page.htm"), "http:\\\\host\\dir\\page.htm");
    EXPECT_EQ(address::pageTitle("  about:blank "), "about:blank");
    EXPECT_EQ(address::pageTitle("   "), "");
    EXPECT_EQ(address::pageTitle(""), "");
    // Only up to the first "file:///" goes, whatever stands before it; case matters.
    EXPECT_EQ(address::pageTitle("view:file:///C:/a/file:///b"), "C:\\a\\file:\\\\\\b");
    EXPECT_EQ(address::pageTitle("FILE:///C:/a"), "FILE:\\\\\\C:\\a");
    EXPECT_EQ(address::pageTitle("about:blank#x"), "about:blank#x");
}

class Navigation : public LanternaTest {
protected:
    frmBrowser *open()
    {
        Module1::StartUrl = QStringLiteral("about:blank");
        frmBrowser *w = forms::frmBrowser();
        w->timTimer->stop();
        browser()->calls.clear();
        return w;
    }
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
}

TEST_F(Navigation, ToolbarRunsItsCommandAndRelabelsFromTheTypedText)
{
    frmBrowser *w = open();
    const QStringList keys = {"Back", "Forward", "Refresh", "Home", "Search"};
    w->cboAddress->setEditText(QStringLiteral("http://typed/"));
    for (const auto &key : keys) {
        w->timTimer->stop();
        QAction *a = toolButton(w, key);
        ASSERT_NE(a, nullptr) << key.toStdString();
        a->trigger();
        EXPECT_EQ(browser()->calls.last(), key == "Back"      ? "GoBack"
                                           : key == "Forward" ? "GoForward"
                                                              : (key == "Home" ? "GoHome"
                                                                 : key == "Search" ? "GoSearch"
                                                                                   : "Refresh"));
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
