#include "browser/frmBrowser.h"

#include "browser/FindBar.h"
#include "browser/PageTools.h"
#include "platform/Services.h"
#include "platform/Ui.h"
#include "platform/WebBrowser.h"

#include <QLabel>
#include <QStatusBar>

#include <algorithm>

namespace {
// How long the zoom shows in the status bar.
constexpr int kZoomNoticeMs = 2000;
constexpr int kPrintNoticeMs = 6000;
} // namespace

void frmBrowser::connectPageTools()
{
    using B = platform::WebBrowser;
    connect(brwWebBrowser, &B::ZoomWheel, this, &frmBrowser::zoomBy);
    connect(brwWebBrowser, &B::PrintFinished, this, &frmBrowser::printFinished);
}

// Made when first opened: its clear button's picture alone cost the first page about
// 20 ms when the bar was made with the window.
void frmBrowser::makeFindBar()
{
    using B = platform::WebBrowser;
    if (findBar)
        return;
    findBar = new FindBar(this);
    connect(findBar, &FindBar::find, this, &frmBrowser::findInPage);
    connect(findBar, &FindBar::closed, this, [this] {
        brwWebBrowser->FindText(QString(), B::FindDirection::Forward, B::FindCase::Ignore);
        Form_Resize(); // the page takes its room back
        brwWebBrowser->setFocus(Qt::OtherFocusReason);
    });
    connect(brwWebBrowser, &B::FindResult, findBar, &FindBar::showResult);
    // Another page: the count was the last one's.
    connect(brwWebBrowser, &B::NavigateComplete2, findBar, [this] { findBar->lblCount->clear(); });
}

void frmBrowser::placeFindBar()
{
    if (!findBar || findBar->isHidden() || !StatusBar1 || !brwWebBrowser)
        return;
    const int h = findBar->sizeHint().height();
    const int top = StatusBar1->y() - h;
    findBar->setGeometry(0, top, width(), h);
    findBar->raise();
    if (brwWebBrowser->geometry().bottom() >= top)
        brwWebBrowser->resize(brwWebBrowser->width(), std::max(0, top - brwWebBrowser->y()));
}

void frmBrowser::openFindBar()
{
    makeFindBar();
    findBar->open();
    placeFindBar();
    if (!findBar->text().isEmpty())
        findInPage(platform::WebBrowser::FindDirection::Forward);
}

void frmBrowser::findInPage(platform::WebBrowser::FindDirection direction)
{
    if (!findBar || findBar->isHidden()) {
        openFindBar(); // F3 with the bar closed: the bar, and the last text looked for again
        return;
    }
    // An empty text ends the search: no highlights, no count.
    if (findBar->text().isEmpty())
        findBar->showResult(0, 0);
    brwWebBrowser->FindText(findBar->text(), direction, findBar->matchCase());
}

void frmBrowser::zoomBy(int steps)
{
    const double factor = pagetools::zoomStep(brwWebBrowser->ZoomFactor(), steps);
    brwWebBrowser->SetZoomFactor(factor);
    StatusBar1->showMessage(pagetools::zoomText(factor), kZoomNoticeMs);
}

void frmBrowser::zoomReset()
{
    brwWebBrowser->SetZoomFactor(1.0);
    StatusBar1->showMessage(pagetools::zoomText(1.0), kZoomNoticeMs);
}

void frmBrowser::printPage() { brwWebBrowser->Print(this); }

void frmBrowser::printFinished(bool ok, const QString &pdfFile)
{
    if (ok) {
        StatusBar1->showMessage(pdfFile.isEmpty() ? QStringLiteral("Pagina inviata alla stampante")
                                                  : QStringLiteral("Pagina salvata in ") + pdfFile,
                                kPrintNoticeMs);
        return;
    }
    platform::ui().MsgBox(pdfFile.isEmpty() ? QStringLiteral("Non è stato possibile stampare la pagina.")
                                            : QStringLiteral("Non è stato possibile scrivere il file ") + pdfFile,
                          platform::vbOKOnly | platform::vbExclamation, QStringLiteral("Stampa"));
}
