#include "BrowserTest.h"
#include "EventWait.h"
#include "base/Module1.h"
#include "base/forms.h"
#include "browser/frmBrowser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include <deque>
#include <vector>

class Events : public BrowserTest {
protected:
    void SetUp() override
    {
        BrowserTest::SetUp();
        w->joinVisitedLog(); // the start is over: the pages below come after the log
        Module1::PageVisited = 0;
    }
    bool navigate(const QString &url, bool cancelIn)
    {
        bool cancel = cancelIn;
        emit browser()->BeforeNavigate2(url, &cancel);
        return cancel;
    }
    bool newWindow(bool cancelIn = false)
    {
        bool cancel = cancelIn;
        emit browser()->NewWindow2(&cancel);
        return cancel;
    }
};

TEST_F(Events, StatusTextAndProgress)
{
    emit browser()->StatusTextChange(QStringLiteral("http://link.it/"));
    EXPECT_EQ(w->StatusPanel1->text(), QStringLiteral("http://link.it/"));

    // Progress -> the bar (-1: left as it was) and whether the page counts as visited.
    // A negative maximum keeps the bar but still marks the visit.
    const struct {
        qint32 p, max;
        int bar;
        int visited;
    } cases[] = {{-1, 0, -1, 0}, {0, 100, -1, 0}, {1, 8, 8, 1}, {3, 8, 22, 1},
                 {100, 100, 60, 1}, {200, 100, 120, 1}, {5, 0, 0, 1}, {5, -8, -1, 1}};
    for (const auto &c : cases) {
        Module1::PageVisited = 0;
        w->StatusPanel2->setText(QStringLiteral("old"));
        emit browser()->ProgressChange(c.p, c.max);
        EXPECT_EQ(w->StatusPanel1->text(), QStringLiteral("Reading %1 of %2").arg(c.p).arg(c.max));
        EXPECT_EQ(w->StatusPanel2->text(), c.bar < 0 ? QStringLiteral("old") : QString(c.bar, QLatin1Char('I')))
            << c.p << "/" << c.max;
        EXPECT_EQ(Module1::PageVisited, c.visited) << c.p << "/" << c.max;
    }

    // Far above the maximum: the bar stops at its bound.
    emit browser()->ProgressChange(1000000, 1);
    EXPECT_EQ(w->StatusPanel2->text().size(), 600);
    EXPECT_TRUE(ui.messages.empty());
    // Progress is painted at a pace, never left unpainted.
    EXPECT_FALSE(w->StatusBar1->updatesEnabled());
    EXPECT_TRUE(waitForEvents([this] { return w->StatusBar1->updatesEnabled(); }, 5000));
}

TEST_F(Events, CaptionFollowsLoadingAndCompletionRunsTheTick)
{
    // The yield comes before the caption: a title that changes meanwhile is shown.
    browser()->locationName = QStringLiteral("Vecchio");
    ui.processEventsOnDoEvents = true;
    QTimer::singleShot(0, w, [this] { browser()->locationName = QStringLiteral("Nuovo titolo"); });
    const int yields = ui.doEventsCalls;
    emit browser()->DownloadBegin();
    EXPECT_EQ(ui.doEventsCalls, yields + 1);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Starting Download Nuovo titolo"));

    emit browser()->TitleChange(QStringLiteral("ignored"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Starting Download Nuovo titolo"));

    // NavigateComplete2 and DownloadComplete run the tick at once: idle, it stops
    // the timer and writes the page's address in path form.
    browser()->busy = false;
    browser()->locationURL = QStringLiteral("http://host/dir/page.htm");
    w->timTimer->start();
    emit browser()->NavigateComplete2(QStringLiteral("http://host/dir/page.htm"));
    EXPECT_FALSE(w->timTimer->isActive());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("http:\\\\host\\dir\\page.htm"));

    browser()->locationURL = QStringLiteral("file:///C:/HOME-PAG/INIZIO.HTM");
    w->timTimer->start();
    emit browser()->DownloadComplete();
    EXPECT_FALSE(w->timTimer->isActive());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("C:\\HOME-PAG\\INIZIO.HTM"));
    EXPECT_EQ(w->Tag, QStringLiteral("C:\\HOME-PAG\\INIZIO.HTM"));

    // Busy: the tick shows that the page is still loading.
    browser()->busy = true;
    w->timTimer->start();
    emit browser()->DownloadComplete();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Working..."));
    EXPECT_TRUE(w->timTimer->isActive());
}

TEST_F(Events, NavigationQuestionForBothSwitchStates)
{
    // Questions off: silent, never cancelled, the box takes the address.
    w->cboAddress->setEditText(QStringLiteral("prima"));
    EXPECT_FALSE(navigate(QStringLiteral("http://a.it/"), true));
    EXPECT_EQ(w->cboAddress->currentText(), QStringLiteral("http://a.it/"));
    EXPECT_TRUE(ui.messages.empty());

    w->Check1->setChecked(false);
    // Cancel: the navigation is cancelled and the box keeps its text.
    ui.answers = {platform::vbCancel};
    EXPECT_TRUE(navigate(QStringLiteral("http://b.it/"), false));
    EXPECT_EQ(w->cboAddress->currentText(), QStringLiteral("http://a.it/"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.last(), FakeUi::box(QStringLiteral("Cerca di aprire nuovo sito: http://b.it/"),
                                     QStringLiteral("Apre nella stessa finestra"), platform::vbOKCancel));

    // OK: it goes ahead.
    ui.answers = {platform::vbOK};
    EXPECT_FALSE(navigate(QStringLiteral("http://c.it/"), true));
    EXPECT_EQ(w->cboAddress->currentText(), QStringLiteral("http://c.it/"));
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_TRUE(processes.starts.empty());
}

TEST_F(Events, NewWindowDecisionForBothSwitches)
{
    browser()->locationURL = QStringLiteral("http://www.example.it/");

    // Start state: questions off, pop-ups blocked silently.
    EXPECT_TRUE(newWindow(false));
    EXPECT_TRUE(ui.messages.empty());

    // Pop-ups allowed: never cancelled, and the control gets its yield.
    w->Check2->click();
    ASSERT_TRUE(Module1::AllowPopups);
    const int yields = ui.doEventsCalls;
    EXPECT_FALSE(newWindow(true));
    EXPECT_GT(ui.doEventsCalls, yields);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(processes.starts.empty());

    // Questions on: the pop-up switch no longer matters.
    w->Check1->setChecked(false);
    for (bool popups : {true, false}) {
        w->Check2->setChecked(!popups);
        w->Check2_Click();
        ASSERT_EQ(Module1::AllowPopups, popups);

        // OK to the first question: Command1 runs, the window opens too. Cancel, then
        // OK: the second question, then the same as OK. Cancel twice: cancelled, nothing else.
        const struct {
            std::deque<int> answers;
            bool cancelled;
            int questions;
        } rows[] = {{{platform::vbOK}, false, 1},
                    {{platform::vbCancel, platform::vbOK}, false, 2},
                    {{platform::vbCancel, platform::vbCancel}, true, 2}};
        const QString title = QStringLiteral("Apre in una nuova finestra");
        const std::vector<FakeUi::Message> asked = {
            {QStringLiteral("Cerca di aprire nuovo sito: http://www.example.it/"), title, platform::vbOKCancel},
            {QStringLiteral("Apro su stessa pagina il sito: http://www.example.it/"), title, platform::vbOKCancel}};
        for (const auto &r : rows) {
            ui.messages.clear();
            processes.starts.clear();
            ui.answers = r.answers;
            EXPECT_EQ(newWindow(false), r.cancelled);
            EXPECT_EQ(ui.messages, std::vector<FakeUi::Message>(asked.begin(), asked.begin() + r.questions));
            ASSERT_EQ(processes.starts.size(), r.cancelled ? 0u : 1u);
            if (!r.cancelled)
                EXPECT_EQ(processes.starts[0].arguments, QStringList{QStringLiteral("http://www.example.it/")});
        }
        EXPECT_EQ(w->Command1->text(), QStringLiteral("Nuovo Lucerna2"));
    }
}

TEST_F(Events, DocumentCompleteListsNewAddressesOnce)
{
    const QStringList before = listEntries();
    const QString first = before.value(0);
    ASSERT_FALSE(first.isEmpty());

    // The same address with blanks around it adds nothing.
    w->cboAddress->setEditText(QStringLiteral("   ") + first + QStringLiteral("  "));
    emit browser()->DocumentComplete(QStringLiteral("http://evento.it/"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("http://evento.it/"));
    EXPECT_EQ(listEntries(), before);

    // A new one is added trimmed, at the end; the box keeps what it shows.
    w->cboAddress->setEditText(QStringLiteral("  http://nuovo.it/ "));
    emit browser()->DocumentComplete(QStringLiteral("http://nuovo.it/"));
    EXPECT_EQ(listEntries(), before + QStringList{QStringLiteral("http://nuovo.it/")});
    EXPECT_EQ(w->cboAddress->currentText(), QStringLiteral("  http://nuovo.it/ "));

    // Again (a frame finishing): still once. Letter case counts.
    emit browser()->DocumentComplete(QStringLiteral("http://nuovo.it/frame"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("http://nuovo.it/frame"));
    w->cboAddress->setEditText(QStringLiteral("http://NUOVO.it/"));
    emit browser()->DocumentComplete(QStringLiteral("http://NUOVO.it/"));
    const QStringList added{QStringLiteral("http://nuovo.it/"), QStringLiteral("http://NUOVO.it/")};
    EXPECT_EQ(listEntries(), before + added);

    // An empty or blank box is never listed.
    w->cboAddress->setEditText(QStringLiteral("   "));
    emit browser()->DocumentComplete(QStringLiteral("about:blank"));
    EXPECT_EQ(listEntries().size(), before.size() + 2);

    // The first entry of an empty list does not replace the typed text.
    w->cboAddress->clear();
    w->cboAddress->setEditText(QStringLiteral(" http://solo.it/ "));
    emit browser()->DocumentComplete(QStringLiteral("http://solo.it/"));
    EXPECT_EQ(listEntries(), QStringList{QStringLiteral("http://solo.it/")});
    EXPECT_EQ(w->cboAddress->currentText(), QStringLiteral(" http://solo.it/ "));
}

TEST_F(Events, FileDownloadIsAnnouncedOnlyWithQuestionsAndATitle)
{
    browser()->locationName = QStringLiteral("Archivio");
    browser()->locationURL = QStringLiteral("http://www.example.it/file.zip");
    bool cancel = false;
    emit browser()->FileDownload(&cancel);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(cancel);

    w->Check1->setChecked(false);
    ui.answers = {platform::vbCancel};
    emit browser()->FileDownload(&cancel);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.last(), FakeUi::box(QStringLiteral("FileDownload: Archivio http://www.example.it/file.zip")));
    EXPECT_FALSE(cancel); // never cancelled

    browser()->locationName = QStringLiteral("   ");
    emit browser()->FileDownload(&cancel);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_FALSE(cancel);
}
