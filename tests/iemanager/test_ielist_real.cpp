#include "IeManagerHelpers.h"
#include "BoxHelpers.h"
#include "TestEnv.h"
#include "base/Module1.h"
#include "base/forms.h"
#include "iemanager/IeProcesses.h"
#include "iemanager/Test_URL.h"

#include <QListWidget>
#include <QPushButton>

// The window on the real process table, limited to the processes each test starts.
class IeListReal : public LanternaTest {
protected:
    void SetUp() override
    {
        LanternaTest::SetUp();
        ASSERT_TRUE(copies.valid());
        useProcesses(own);
    }

    QStringList lines() const { return boxEntries(forms::Test_URL()->List1); }
    // What the list must show for these processes: newest in snapshot order on top.
    QStringList expectedLines(const std::set<quint32> &matching)
    {
        platform::RealProcesses real;
        const auto snap = real.snapshot();
        QStringList out;
        if (!snap)
            return out;
        for (const auto &e : *snap)
            if (matching.count(e.pid))
                out.prepend(e.exeName + ' ' + QString::number(e.pid, 16).toUpper());
        return out;
    }

    // Two spellings of Internet Explorer and another program, running.
    void startThree()
    {
        lower = copies.start("iexplore.exe");
        upper = copies.start("IEXPLORE.EXE");
        other = copies.start("notepad.exe");
        ASSERT_TRUE(lower && upper && other);
    }

    SleepCopies copies;
    OwnProcesses own{copies};
    quint32 lower = 0, upper = 0, other = 0;
};

TEST_F(IeListReal, ListsBothSpellingsNewestFirstAndYesEndsExactlyTheClickedOne)
{
    ASSERT_NO_FATAL_FAILURE(startThree());

    Test_URL *w = forms::Test_URL();
    const QStringList expected = expectedLines({lower, upper});
    ASSERT_EQ(expected.size(), 2);
    EXPECT_EQ(lines(), expected);
    EXPECT_TRUE(lines().filter(copies.copy("iexplore.exe") + ' ' + QString::number(lower, 16).toUpper()).size() == 1);
    EXPECT_EQ(Module1::IeProcessCount, 2);

    // The bottom line is the first one of the snapshot.
    const QString bottom = lines().at(1);
    const quint32 victim = bottom.section(' ', -1).toUInt(nullptr, 16);
    const quint32 spared = victim == lower ? upper : lower;
    ui.answers = {platform::vbYes};
    w->List1->setCurrentRow(1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.last().text, "Spengo la finestra IE:  \r\r" + bottom);
    EXPECT_EQ(LastTerminateOutcome(), "Processo Terminato");
    EXPECT_TRUE(copies.waitGone(victim));
    EXPECT_TRUE(SleepCopies::running(spared));
    EXPECT_TRUE(SleepCopies::running(other));

    w->Command1->click();
    EXPECT_EQ(lines(), expectedLines({spared}));
}

TEST_F(IeListReal, NoEndsNothingAndRefreshesTheList)
{
    const quint32 first = copies.start("iexplore.exe");
    ASSERT_TRUE(first);
    Test_URL *w = forms::Test_URL();
    ASSERT_EQ(lines().size(), 1);

    const quint32 second = copies.start("IEXPLORE.EXE"); // not listed yet
    ASSERT_TRUE(second);
    ui.answers = {platform::vbNo};
    w->List1->setCurrentRow(0);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(SleepCopies::running(first));
    EXPECT_TRUE(SleepCopies::running(second));
    EXPECT_EQ(lines(), expectedLines({first, second}));
}

TEST_F(IeListReal, EndAllEndsEveryInternetExplorerAndLeavesOtherProgramsRunning)
{
    ASSERT_NO_FATAL_FAILURE(startThree());

    Test_URL *w = forms::Test_URL();
    ASSERT_EQ(lines().size(), 2);
    w->Command4->click();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(copies.waitGone(lower));
    EXPECT_TRUE(copies.waitGone(upper));
    EXPECT_TRUE(SleepCopies::running(other));

    w->Command1->click();
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_EQ(Module1::IeProcessCount, 0);
}
