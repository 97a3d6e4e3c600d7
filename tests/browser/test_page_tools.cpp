#include "BrowserTest.h"
#include "KeyHelpers.h"
#include "TestEnv.h"
#include "base/Module1.h"
#include "base/forms.h"
#include "browser/FindBar.h"
#include "browser/PageTools.h"
#include "browser/frmBrowser.h"
#include "platform/PdfName.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTimer>

using keys::press;

TEST(PageTools, ZoomStepsCountsAndPdfNames)
{
    EXPECT_EQ(pagetools::zoomStep(1.0, 1), 1.1);
    EXPECT_EQ(pagetools::zoomStep(1.0, -3), 0.75);
    EXPECT_EQ(pagetools::zoomStep(1.17, 1), 1.25); // between two notches
    EXPECT_EQ(pagetools::zoomStep(4.0, 5), 5.0);
    EXPECT_EQ(pagetools::zoomStep(0.25, -1), 0.25);
    EXPECT_EQ(pagetools::zoomText(1.25), "Zoom 125%");
    EXPECT_EQ(pagetools::findCountText("a", 2, 5), "2 di 5");
    EXPECT_EQ(pagetools::findCountText("a", 0, 0), "Nessun risultato");
    EXPECT_EQ(pagetools::findCountText("", 0, 0), "");
    EXPECT_EQ(platform::pdfFileName(" ..Ricette: pane/pizza?\x01 . "), "Ricette_ pane_pizza_.pdf");
    EXPECT_EQ(platform::pdfFileName("..."), "pagina.pdf");
    EXPECT_EQ(platform::pdfFileName(QString(300, u'a')).size(), 104);
}

class PageKeys : public BlankBrowserTest {
protected:
    frmBrowser *open()
    {
        frmBrowser *w = BlankBrowserTest::open();
        EXPECT_TRUE(keys::showActive(w));
        browser()->calls.clear();
        return w;
    }
};

TEST_F(PageKeys, FindBarSearchesStepsCountsAndCloses)
{
    frmBrowser *w = open();
    EXPECT_EQ(w->findBar, nullptr); // made when first opened
    press(w, Qt::Key_F, Qt::ControlModifier);
    FindBar *bar = w->findBar;
    ASSERT_TRUE(bar && bar->isVisible());
    EXPECT_EQ(keys::focused(w), bar->txtFind);
    EXPECT_LE(w->brwWebBrowser->geometry().bottom(), bar->y()); // the page makes room

    QTest::keyClicks(bar->txtFind, "ab");
    emit w->brwWebBrowser->FindResult(2, 5);
    EXPECT_EQ(bar->lblCount->text(), "2 di 5");
    press(w, Qt::Key_Return);
    press(w, Qt::Key_Return, Qt::ShiftModifier);
    press(w, Qt::Key_F3);
    press(w, Qt::Key_F3, Qt::ShiftModifier);
    bar->chkCase->click();
    EXPECT_EQ(browser()->calls, QStringList({"Find:a:next", "Find:ab:next", "Find:ab:next", "Find:ab:back",
                                             "Find:ab:next", "Find:ab:back", "Find:ab:next:case"}));
    emit w->brwWebBrowser->FindResult(0, 0);
    EXPECT_EQ(bar->lblCount->text(), "Nessun risultato");
    emit w->brwWebBrowser->NavigateComplete2("http://altra/");
    EXPECT_EQ(bar->lblCount->text(), "");

    browser()->calls.clear();
    press(w, Qt::Key_Escape);
    EXPECT_TRUE(bar->isHidden());
    EXPECT_EQ(browser()->calls, QStringList{"Find::next"}); // highlights cleared
    // F3 opens the bar again on the same text.
    press(w, Qt::Key_F3);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(browser()->calls.last(), "Find:ab:next:case");
}

TEST_F(PageKeys, ZoomShowsInTheStatusBarAndPrintSaysWhereItWent)
{
    frmBrowser *w = open();
    press(w, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(browser()->zoom, 1.1);
    EXPECT_EQ(w->StatusBar1->currentMessage(), "Zoom 110%");
    emit w->brwWebBrowser->ZoomWheel(2);
    EXPECT_EQ(w->StatusBar1->currentMessage(), "Zoom 150%");
    press(w, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(browser()->zoom, 1.25);
    press(w, Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(browser()->zoom, 1.0);
    EXPECT_EQ(w->StatusBar1->currentMessage(), "Zoom 100%");

    press(w, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(browser()->calls, QStringList{"Print"});
    emit w->brwWebBrowser->PrintFinished(true, "/tmp/a.pdf");
    EXPECT_EQ(w->StatusBar1->currentMessage(), "Pagina salvata in /tmp/a.pdf");
    emit w->brwWebBrowser->PrintFinished(false, "/tmp/a.pdf");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Non è stato possibile scrivere il file /tmp/a.pdf");
}
