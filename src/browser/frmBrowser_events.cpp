#include "browser/frmBrowser.h"

#include "base/Module1.h"
#include "browser/AddressListModel.h"
#include "browser/AddressRules.h"
#include "browser/Progress.h"
#include "platform/Services.h"
#include "platform/Ui.h"
#include "platform/WebBrowser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QTimer>

namespace {

// Half a second after the first page is complete it has shown, and the engine's
// start is over.
constexpr int kJoinAfterPageMs = 500;

bool ticked(const QCheckBox *box) { return box && box->isChecked(); }

QString locationName(const platform::WebBrowser *b) { return b ? b->LocationName() : QString(); }
QString locationURL(const platform::WebBrowser *b) { return b ? b->LocationURL() : QString(); }

} // namespace

void frmBrowser::brwWebBrowser_StatusTextChange(const QString &Text)
{
    if (StatusPanel1)
        StatusPanel1->setText(Text);
}

void frmBrowser::brwWebBrowser_ProgressChange(qint32 Progress, qint32 ProgressMax)
{
    holdStatusPaint();
    if (StatusPanel1)
        StatusPanel1->setText(progress::ReadingText(Progress, ProgressMax));
    if (Progress > 0) {
        PercentBar(Progress, ProgressMax);
        Module1::PageVisited = 1;
    }
}

void frmBrowser::PercentBar(qint32 done, qint32 total)
{
    if (!StatusPanel2)
        return;
    if (const auto bar = progress::PercentBarText(done, total))
        StatusPanel2->setText(*bar);
}

void frmBrowser::brwWebBrowser_DownloadBegin()
{
    QPointer<frmBrowser> self(this);
    platform::ui().doEvents();
    // The yield may have closed the window.
    if (!self)
        return;
    setWindowTitle(QStringLiteral("Starting Download ") + locationName(brwWebBrowser));
}

void frmBrowser::brwWebBrowser_DownloadComplete()
{
    setWindowTitle(locationName(brwWebBrowser));
    timTimer_Timer();
}

void frmBrowser::brwWebBrowser_TitleChange(const QString &)
{
    // The caption follows loading through the other events and the timer only.
}

void frmBrowser::brwWebBrowser_BeforeNavigate2(const QString &URL, bool *Cancel)
{
    if (!ticked(Check1)) {
        const int answer = platform::ui().MsgBox(QStringLiteral("Cerca di aprire nuovo sito: ") + URL,
                                                 platform::vbOKCancel,
                                                 QStringLiteral("Apre nella stessa finestra"));
        if (answer == platform::vbCancel) {
            if (Cancel)
                *Cancel = true;
            return;
        }
    }
    if (Cancel)
        *Cancel = false;
    if (cboAddress)
        cboAddress->setCurrentText(URL);
}

void frmBrowser::brwWebBrowser_NewWindow2(bool *Cancel)
{
    if (ticked(Check1)) {
        if (Module1::AllowPopups) {
            if (Cancel)
                *Cancel = false;
            // Lets the control open its new window its own way.
            platform::ui().doEvents();
        } else if (Cancel) {
            *Cancel = true;
        }
        return;
    }

    const QString title = QStringLiteral("Apre in una nuova finestra");
    const QString url = locationURL(brwWebBrowser);
    auto &ui = platform::ui();
    if (ui.MsgBox(QStringLiteral("Cerca di aprire nuovo sito: ") + url, platform::vbOKCancel, title)
            != platform::vbCancel
        || ui.MsgBox(QStringLiteral("Apro su stessa pagina il sito: ") + url, platform::vbOKCancel, title)
            != platform::vbCancel) {
        // Cancel stays as it came, so the control opens its window as well.
        Command1_Click();
        return;
    }
    if (Cancel)
        *Cancel = true;
}

void frmBrowser::brwWebBrowser_NavigateComplete2(const QString &)
{
    setWindowTitle(locationName(brwWebBrowser));
    timTimer_Timer();
}

void frmBrowser::brwWebBrowser_DocumentComplete(const QString &URL)
{
    if (keepMaximized_) {
        keepMaximized_ = false;
        if (!isMaximized()) {
            setWindowState(windowState() | Qt::WindowMaximized);
            activateWindow();
        }
    }
    setWindowTitle(URL);
    // The next tick writes the finished page into caption, Tag and address box, also
    // after a navigation the page started itself (a link click), so the editor never
    // works on the page shown before.
    if (timTimer)
        timTimer->start();
    if (!cboAddress)
        return;
    // The page has shown: the log read at load can join the list.
    joinVisitedLogIn(kJoinAfterPageMs);
    // Half-typed text is not a visited address: the page's own is what the box would hold.
    const QString boxText = userEditsAddress() ? locationURL(brwWebBrowser) : cboAddress->currentText();
    whenLogJoined([this, boxText] { listFinishedPage(boxText); });
}

void frmBrowser::listFinishedPage(const QString &boxText)
{
    const QString entry = address::newListEntry(
        boxText, [list = addressList_](const QString &text) { return list->containsTrimmed(text); });
    if (!entry.isEmpty())
        addListEntry(entry);
}

void frmBrowser::addListEntry(const QString &entry)
{
    if (!cboAddress)
        return;
    const QString shown = cboAddress->currentText();
    cboAddress->addItem(entry);
    // Adding the first entry would select it and replace the typed text.
    if (cboAddress->isEditable() && cboAddress->currentText() != shown)
        cboAddress->setCurrentText(shown);
}

void frmBrowser::brwWebBrowser_FileDownload(bool *)
{
    // The download always goes ahead; questions only announce it.
    if (ticked(Check1) || !brwWebBrowser)
        return;
    const QString name = brwWebBrowser->LocationName();
    if (address::trimBlanks(name).isEmpty())
        return;
    platform::ui().MsgBox(QStringLiteral("FileDownload: ") + name + QLatin1Char(' ') + brwWebBrowser->LocationURL(),
                          platform::vbOKOnly);
}
