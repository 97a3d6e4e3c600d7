#include "TestEnv.h"
#include "base/forms.h"
#include "browser/frmBrowser.h"

#include <QComboBox>
#include <QTimer>

class FinishedPage : public LanternaTest {};

// A page reached through a link (no address typed, timer idle) still ends up in the
// caption and Tag, which the editor rewrites.
TEST_F(FinishedPage, LinkClickedPageReachesCaptionAndTag)
{
    frmBrowser *w = forms::frmBrowser();
    FakeWebBrowser *b = browser();
    b->locationURL = QStringLiteral("file:///C:/HOME-PAG/INIZIO.HTM");
    w->timTimer_Timer();
    ASSERT_EQ(w->Tag, QStringLiteral("C:\\HOME-PAG\\INIZIO.HTM"));
    ASSERT_FALSE(w->timTimer->isActive());

    b->busy = true;
    emit b->DownloadBegin();
    b->locationURL = QStringLiteral("file:///C:/HOME-PAG/SECONDA.HTM");
    emit b->NavigateComplete2(b->locationURL);
    emit b->DownloadComplete();
    emit b->DocumentComplete(b->locationURL);
    b->busy = false;
    EXPECT_EQ(w->windowTitle(), QStringLiteral("file:///C:/HOME-PAG/SECONDA.HTM"));
    EXPECT_EQ(w->Tag, QStringLiteral("C:\\HOME-PAG\\INIZIO.HTM")); // not yet: the page was busy
    ASSERT_TRUE(w->timTimer->isActive());

    w->timTimer_Timer(); // the next tick
    EXPECT_EQ(w->windowTitle(), QStringLiteral("C:\\HOME-PAG\\SECONDA.HTM"));
    EXPECT_EQ(w->Tag, QStringLiteral("C:\\HOME-PAG\\SECONDA.HTM"));
    EXPECT_EQ(w->cboAddress->currentText(), QStringLiteral("file:///C:/HOME-PAG/SECONDA.HTM"));
    EXPECT_FALSE(w->timTimer->isActive());
}
