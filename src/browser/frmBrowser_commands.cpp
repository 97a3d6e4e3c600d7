#include "browser/frmBrowser.h"

#include "base/Module1.h"
#include "base/forms.h"
#include "browser/AddressRules.h"
#include "browser/LaunchNewInstance.h"
#include "editor/Form2.h"
#include "favorites/frmFav.h"
#include "iemanager/Test_URL.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "platform/Ui.h"
#include "platform/WebBrowser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>

namespace {

// Shows a window that may already be open behind this one, in front and active.
void bringUp(Form *w)
{
    w->show();
    w->raise();
    w->activateWindow();
}

} // namespace

QWidget *frmBrowser::editButton() { return Command1; }

void frmBrowser::refreshPage()
{
    if (brwWebBrowser)
        brwWebBrowser->Refresh();
}

void frmBrowser::openAddress(const QString &address)
{
    // Every step runs even when an earlier one could not.
    if (cboAddress)
        cboAddress->setCurrentText(address);
    if (timTimer)
        timTimer->start();
    if (brwWebBrowser)
        brwWebBrowser->Navigate(address);
    const QString shown = cboAddress ? cboAddress->currentText() : address;
    if (Command1)
        Command1->setText(address::trimBlanks(shown).left(7) == QLatin1String("file://")
                              ? QStringLiteral(" Modifica    pagina")
                              : QStringLiteral("Nuovo Lucerna2"));
}

void frmBrowser::Command1_Click()
{
    if (!cboAddress)
        return;
    cboAddress->setCurrentText(brwWebBrowser ? brwWebBrowser->LocationURL() : QString());
    const QString boxText = cboAddress->currentText();
    const QString text = address::trimBlanks(boxText);
    if (text == QLatin1String("about:blank"))
        return;
    if (address::isLocalPage(text)) {
        if (Command1)
            Command1->setText(QStringLiteral(" Modifica    pagina"));
        bringUp(forms::Form2());
    } else {
        if (Command1)
            Command1->setText(QStringLiteral("Nuovo Lucerna2"));
        LaunchNewInstance(boxText);
    }
}

void frmBrowser::Command3_Click()
{
    // The Favorites window puts the pointer back once its tree is built.
    platform::ui().setWaitCursor(true);
    forms::frmFav()->show();
}

void frmBrowser::Command4_Click() { forms::Test_URL()->show(); }

void frmBrowser::Command6_Click()
{
    auto &shell = platform::shell();
    const QString ip = shell.localIP();
    platform::ui().MsgBox(QStringLiteral("Il tuo indirizzo IP e':   ") + ip + QStringLiteral("\r\n\r\n")
                              + QStringLiteral("Login: ") + shell.localHostName().toUpper(),
                          platform::vbOKOnly | platform::vbInformation, QStringLiteral("IP Check"));
    platform::ui().setClipboardText(ip);
}

void frmBrowser::Command7_Click()
{
    const QString title = QStringLiteral("Location Url");
    const QString url = brwWebBrowser ? brwWebBrowser->LocationURL() : QString();
    auto &ui = platform::ui();
    if (url.isEmpty()) {
        ui.MsgBox(QStringLiteral("Non c'e' nessun indirizzo valido !!!"), platform::vbOKOnly | platform::vbInformation,
                  title);
        return;
    }
    ui.MsgBox(QStringLiteral("Indirizzo attuale: ") + url, platform::vbOKOnly | platform::vbInformation, title);
    ui.setClipboardText(url);
}

void frmBrowser::Command8_Click(int Index)
{
    if (Index < 0 || Index >= int(address::kShortcuts.size()))
        return;
    Module1::StartUrl = QString::fromLatin1(address::kShortcuts[size_t(Index)]);
    if (cboAddress)
        cboAddress->setCurrentText(Module1::StartUrl);
    cboAddress_Click();
    if (Command7)
        Command7->setFocus();
}

void frmBrowser::Check2_Click()
{
    if (Check2)
        Module1::AllowPopups = !Check2->isChecked();
}

void frmBrowser::lblAddress_DblClick()
{
    platform::ui().beep();
    platform::ui().MsgBox(
        QStringLiteral("Lanterna: visualizzatore di file HTML per Internet, a cura del progetto Lanterna")
            + QLatin1Char('\r') + QLatin1Char('\r') + QStringLiteral("P.L.  7 dicembre 2026"),
        platform::vbOKOnly);
}
