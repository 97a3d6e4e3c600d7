#include "BoxHelpers.h"
#include "TestEnv.h"
#include "base/Module1.h"
#include "base/forms.h"
#include "iemanager/IeProcesses.h"
#include "iemanager/Test_URL.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTest>
#include <QTimer>

#include <functional>

using platform::ProcessEntry;

namespace {

// A user who, while a question is open, lets something else happen first.
class HookUi : public FakeUi {
public:
    std::function<void()> whileAsking;

protected:
    int showMessage(const QString &text, int flags, const QString &title) override
    {
        if (whileAsking) {
            auto f = std::move(whileAsking);
            whileAsking = nullptr;
            f();
        }
        return FakeUi::showMessage(text, flags, title);
    }
};

} // namespace

class IeList : public LanternaTest {
protected:
    QStringList lines() const { return boxEntries(forms::Test_URL()->List1); }
    QStringList ids() const
    {
        QStringList out;
        for (int i = 1; i <= Module1::IeProcessCount; ++i)
            out << Module1::IeProcessIds[size_t(i)];
        return out;
    }
    void rename(quint32 pid, const QString &name)
    {
        for (auto &e : *processes.table)
            if (e.pid == pid)
                e.exeName = name;
    }
    void installUi(platform::Ui &u)
    {
        hooked_ = std::make_unique<platform::Services>(platform::Services{
            u, *files, processes, shell, [](QWidget *) -> platform::WebBrowser * { return nullptr; }});
        platform::install(*hooked_);
    }
    void TearDown() override
    {
        unloadAll();
        useProcesses(processes); // back to the fixture's own services before ours go
        LanternaTest::TearDown();
    }

private:
    std::unique_ptr<platform::Services> hooked_;
};

TEST_F(IeList, WindowCaptionsLayoutInfoAndHide)
{
    Test_URL *w = forms::Test_URL();
    EXPECT_FALSE(w->isVisible()); // loading alone does not show it
    // Tab goes list, refresh, info, end, end all.
    QWidget *chain = w->List1;
    for (QWidget *next : {static_cast<QWidget *>(w->Command1), static_cast<QWidget *>(w->Command2),
                          static_cast<QWidget *>(w->Command3), static_cast<QWidget *>(w->Command4)}) {
        chain = chain->nextInFocusChain();
        while (chain->focusPolicy() == Qt::NoFocus)
            chain = chain->nextInFocusChain();
        EXPECT_EQ(chain, next);
    }

    w->Command2->click();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.last(), FakeUi::box("Elenco_URL_IE by KV"));

    processes.table->push_back({0x10, "iexplore.exe"});
    w->Command1->click();
    w->show();
    w->Command3->click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(forms::loaded<Test_URL>(), w); // hidden, not unloaded
    EXPECT_EQ(lines(), QStringList{"iexplore.exe 10"});

    // Asked for again while open behind another window: it comes to the front.
    w->show();
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &other; }));
    w->show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == w; }));
    EXPECT_EQ(lines(), QStringList{"iexplore.exe 10"}); // showing is not a new listing
}

TEST_F(IeList, ListsUpperCaseMatchesNewestOnTopWithHexNumbers)
{
    *processes.table = {
        {420, "C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE"},
        {4, "explorer.exe"},
        {0x10, "iexplore.exe"},
        {0xBEEF, "C:\\old\\IEXPLORE.EXE.bak"},
        {77, "iexplore.ex"},
        {0x2A, QString("iexplore.exe") + QChar(0) + "junk"},
        {0x2B, QString("abc") + QChar(0) + "iexplore.exe"},
        {0xFFFFFFFF, "/usr/lib/wine/Iexplore.Exe"},
    };
    // Touching the window loads it, and loading lists.
    forms::Test_URL();
    EXPECT_EQ(ids(), (QStringList{"1A4", "10", "BEEF", "2A", "FFFFFFFF"}));
    EXPECT_EQ(lines(), (QStringList{"/usr/lib/wine/Iexplore.Exe FFFFFFFF", "iexplore.exe 2A",
                                    "C:\\old\\IEXPLORE.EXE.bak BEEF", "iexplore.exe 10",
                                    "C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE 1A4"}));
    EXPECT_TRUE(ui.messages.empty());

    // A shorter listing leaves no old numbers behind the count.
    std::erase_if(*processes.table, [](const ProcessEntry &e) { return e.pid != 0x10; });
    const int yields = ui.doEventsCalls;
    forms::Test_URL()->Command1->click();
    EXPECT_EQ(ids(), QStringList{"10"});
    EXPECT_EQ(lines(), QStringList{"iexplore.exe 10"});
    EXPECT_TRUE(Module1::IeProcessIds[2].isEmpty());
    EXPECT_EQ(ui.doEventsCalls, yields + 1);

    // No snapshot: an empty list, no message.
    processes.table.reset();
    ListIeProcesses();
    EXPECT_EQ(Module1::IeProcessCount, 0);
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(IeList, ListingFromOutsideLoadsTheWindowHiddenAndNeverAsks)
{
    *processes.table = {{0x10, "iexplore.exe"}, {0x20, "IEXPLORE.EXE"}};
    ASSERT_EQ(forms::loaded<Test_URL>(), nullptr);
    forms::Test_URL()->List1->clear();
    ListIeProcesses();
    ASSERT_NE(forms::loaded<Test_URL>(), nullptr);
    EXPECT_FALSE(forms::Test_URL()->isVisible());
    EXPECT_EQ(forms::Test_URL()->List1->count(), Module1::IeProcessCount);

    // With a line selected, rebuilding the list is not a click on it.
    QListWidget *list = forms::Test_URL()->List1;
    {
        const QSignalBlocker quiet(list);
        list->setCurrentRow(1);
    }
    ASSERT_EQ(list->selectedItems().size(), 1);
    forms::Test_URL()->Command1->click();
    {
        const QSignalBlocker quiet(list);
        list->setCurrentRow(0);
    }
    list->clear();
    ListIeProcesses();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(processes.terminated.empty());
    EXPECT_EQ(lines(), (QStringList{"IEXPLORE.EXE 20", "iexplore.exe 10"}));
}

TEST_F(IeList, OutcomesOfEndingOneAndOnlyInternetExplorerIsEnded)
{
    *processes.table = {{0x1A4, "IEXPLORE.EXE"}, {0x20, "iexplore.exe"}, {0x30, "notepad.exe"}};
    processes.noPermission.insert(0x20);

    EXPECT_EQ(TerminateIeProcess(""), "");
    EXPECT_EQ(TerminateIeProcess("   "), "");
    EXPECT_EQ(LastTerminateOutcome(), "");
    EXPECT_EQ(TerminateIeProcess("999"), "Processo inesistente");
    EXPECT_EQ(TerminateIeProcess("XYZ"), "Processo inesistente");
    EXPECT_EQ(TerminateIeProcess("1000001A4"), "Processo inesistente"); // not cut down to 1A4
    EXPECT_EQ(TerminateIeProcess("20"), "Non permesso");
    EXPECT_EQ(TerminateIeProcess("30"), "Non permesso"); // alive, but not Internet Explorer
    EXPECT_TRUE(processes.terminated.empty());
    EXPECT_EQ(TerminateIeProcess(" 1a4 "), "Processo Terminato");
    EXPECT_EQ(LastTerminateOutcome(), "Processo Terminato");
    EXPECT_EQ(processes.terminated, std::vector<quint32>{0x1A4});
    EXPECT_EQ(TerminateIeProcess("1A4"), "Processo inesistente");
    EXPECT_TRUE(ui.messages.empty()); // outcomes are never shown
}

TEST_F(IeList, EndOneAsksAboutTheSelectedLineYesEndsItNoEndsNothingBothRefresh)
{
    *processes.table = {{0x100, "iexplore.exe"}, {0x150, "notepad.exe"}, {0x200, "IEXPLORE.EXE"},
                        {0x300, "C:\\IE\\iexplore.exe"}};
    Test_URL *w = forms::Test_URL();
    ASSERT_EQ(lines(), (QStringList{"C:\\IE\\iexplore.exe 300", "IEXPLORE.EXE 200", "iexplore.exe 100"}));

    ui.answers = {platform::vbYes};
    const int yields = ui.doEventsCalls;
    w->List1->setCurrentRow(0);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.last(),
              FakeUi::box("Spengo la finestra IE:  \r\rC:\\IE\\iexplore.exe 300", "Gestione finestre IE",
                          platform::vbYesNo));
    EXPECT_EQ(processes.terminated, std::vector<quint32>{0x300});
    EXPECT_EQ(Module1::LastIeProcessId, "300");
    EXPECT_EQ(lines(), (QStringList{"IEXPLORE.EXE 200", "iexplore.exe 100"}));
    EXPECT_GE(ui.doEventsCalls - yields, 1001);
    EXPECT_EQ(ui.messages.size(), 1u); // the refresh did not ask again

    // No: nothing ends, and the list is rebuilt all the same.
    processes.table->push_back({0x400, "iexplore.exe"});
    ui.answers = {platform::vbNo};
    w->List1->setCurrentRow(1);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.last().text, "Spengo la finestra IE:  \r\riexplore.exe 100");
    EXPECT_EQ(processes.terminated, std::vector<quint32>{0x300});
    EXPECT_EQ(lines(), (QStringList{"iexplore.exe 400", "IEXPLORE.EXE 200", "iexplore.exe 100"}));

    // The keyboard changes the selection too.
    ui.answers = {platform::vbYes};
    w->List1->setFocus();
    QTest::keyClick(w->List1, Qt::Key_Down);
    ASSERT_EQ(ui.messages.size(), 3u);
    ASSERT_EQ(processes.terminated.size(), 2u);
    const QString asked = ui.last().text.section(' ', -1);
    EXPECT_EQ(IeProcessId(processes.terminated[1]), asked);
    EXPECT_EQ(ui.messages.size(), 3u);

    // And the mouse: the list is rebuilt inside the click, under the pressed line.
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    ASSERT_GE(w->List1->count(), 1);
    const QString top = w->List1->item(0)->text();
    ui.answers = {platform::vbYes};
    QTest::mouseClick(w->List1->viewport(), Qt::LeftButton, {},
                      w->List1->visualItemRect(w->List1->item(0)).center());
    ASSERT_EQ(ui.messages.size(), 4u);
    EXPECT_EQ(ui.last().text, "Spengo la finestra IE:  \r\r" + top);
    EXPECT_EQ(IeProcessId(processes.terminated.back()), top.section(' ', -1));
    EXPECT_FALSE(lines().contains(top));
}

TEST_F(IeList, EndAllWithNoneOrMoreThanTwoHundred)
{
    // Nothing running: only the pause and a new listing, no question.
    Test_URL *w = forms::Test_URL();
    const int yields = ui.doEventsCalls;
    w->Command4->click();
    EXPECT_TRUE(processes.terminated.empty());
    EXPECT_EQ(ui.doEventsCalls - yields, 1000 + 1);

    for (quint32 pid = 1000; pid < 1250; ++pid)
        processes.table->push_back({pid, "IEXPLORE.EXE"});
    processes.table->push_back({1100000, "explorer.exe"});
    w->Command1->click();
    EXPECT_EQ(Module1::IeProcessCount, Module1::kMaxIeProcesses);
    EXPECT_EQ(w->List1->count(), 200);
    EXPECT_EQ(Module1::IeProcessIds[1], IeProcessId(1000));
    EXPECT_EQ(Module1::IeProcessIds[200], IeProcessId(1199));
    EXPECT_EQ(w->List1->item(0)->text(), "IEXPLORE.EXE " + IeProcessId(1199));

    // End all works on what was listed; the rest show up at the next listing.
    w->Command4->click();
    ASSERT_EQ(processes.terminated.size(), 200u);
    EXPECT_EQ(processes.terminated.front(), 1000u);
    EXPECT_EQ(processes.terminated.back(), 1199u);
    EXPECT_EQ(w->List1->count(), 50);
    EXPECT_EQ(Module1::IeProcessIds[1], IeProcessId(1200));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(processes.table->back().exeName, "explorer.exe");
}

TEST_F(IeList, NumbersThatStopNamingInternetExplorerUnderAYieldAreLeftAlone)
{
    *processes.table = {{0x10, "iexplore.exe"}, {0x20, "iexplore.exe"}, {0x30, "iexplore.exe"}};
    Test_URL *w = forms::Test_URL();

    // The second process ends and its number goes to another program while the
    // loop yields; the list still holds the old line.
    ui.processEventsOnDoEvents = true;
    QTimer::singleShot(0, w, [this] { rename(0x20, "notepad.exe"); });
    w->Command4->click();
    EXPECT_EQ(processes.terminated, (std::vector<quint32>{0x10, 0x30}));
    EXPECT_EQ(lines(), QStringList{});
    ASSERT_EQ(processes.table->size(), 1u);
    EXPECT_EQ(processes.table->front().pid, 0x20u);

    // Same, with the browser's timer relisting in between: the loop finds no stale number.
    *processes.table = {{0x40, "iexplore.exe"}, {0x50, "iexplore.exe"}, {0x60, "iexplore.exe"}};
    w->Command1->click();
    processes.terminated.clear();
    QTimer::singleShot(0, w, [this] {
        rename(0x50, "notepad.exe");
        forms::Test_URL()->List1->clear();
        ListIeProcesses();
    });
    w->Command4->click();
    for (quint32 pid : processes.terminated)
        EXPECT_NE(pid, 0x50u);
    EXPECT_EQ(processes.terminated.front(), 0x40u);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(IeList, EndOneEndsTheProcessTheQuestionNamedEvenIfTheListChangedMeanwhile)
{
    HookUi hook;
    installUi(hook);
    *processes.table = {{0x10, "iexplore.exe"}, {0x20, "iexplore.exe"}, {0x30, "iexplore.exe"}};
    Test_URL *w = forms::Test_URL();

    // A new Internet Explorer appears and the list is rebuilt while the question is
    // open: Yes still ends the process the question named, not the new top line.
    hook.whileAsking = [this] {
        processes.table->push_back({0x40, "iexplore.exe"});
        ListIeProcesses();
    };
    w->List1->setCurrentRow(0);
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.last().text, "Spengo la finestra IE:  \r\riexplore.exe 30");
    EXPECT_EQ(processes.terminated, std::vector<quint32>{0x30});

    // The named process ends and its number is reused by another program meanwhile.
    hook.whileAsking = [this] {
        rename(0x40, "notepad.exe");
        ListIeProcesses();
    };
    ASSERT_EQ(lines().value(0), "iexplore.exe 40");
    w->List1->setCurrentRow(0);
    EXPECT_EQ(processes.terminated, std::vector<quint32>{0x30});
    EXPECT_EQ(LastTerminateOutcome(), "Non permesso");
    EXPECT_EQ(lines(), (QStringList{"iexplore.exe 20", "iexplore.exe 10"}));
}
