#include "browser/frmBrowser.h"

#include "base/Module1.h"
#include "base/forms.h"
#include "browser/AddressRules.h"
#include "browser/PageTitle.h"
#include "iemanager/IeProcesses.h"
#include "iemanager/Test_URL.h"
#include "platform/Services.h"
#include "platform/Ui.h"
#include "platform/WebBrowser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>

namespace {
const QString kEditCaption = QStringLiteral(" Modifica    pagina");
}

void frmBrowser::setCommand1Caption(const QString &webCaption)
{
    Command1->setText(address::isLocalPage(cboAddress->currentText()) ? kEditCaption : webCaption);
}

void frmBrowser::cboAddress_KeyPress(int keyAscii)
{
    if (keyAscii != 13)
        return;
    try {
        cboAddress_Click();
    } catch (...) {
    }
}

bool frmBrowser::userEditsAddress() const
{
    return typedAddress_ && focusWidget() == cboAddress && cboAddress->currentText() == *typedAddress_;
}

void frmBrowser::showPageAddress(const QString &url)
{
    // Rewriting the box drops its selection, and after Ctrl+L the next key typed would
    // then be appended to the old address instead of replacing it.
    if (cboAddress->currentText() == url)
        return;
    QLineEdit *edit = cboAddress->lineEdit();
    const bool whole = edit && !edit->text().isEmpty() && edit->selectedText() == edit->text();
    cboAddress->setEditText(url);
    if (whole)
        edit->selectAll();
}

void frmBrowser::cboAddress_Click()
{
    typedAddress_.reset();
    timTimer->start();
    try {
        brwWebBrowser->Navigate(cboAddress->currentText());
    } catch (...) {
    }
    setCommand1Caption(QStringLiteral("Nuovo Lucerna2"));
    Module1::PageVisited = 1;
}

void frmBrowser::tbToolBar_ButtonClick(const QString &key)
{
    typedAddress_.reset();
    timTimer->start();
    try {
        if (key == QLatin1String("Back")) {
            brwWebBrowser->GoBack();
        } else if (key == QLatin1String("Forward")) {
            brwWebBrowser->GoForward();
        } else if (key == QLatin1String("Refresh")) {
            brwWebBrowser->Refresh();
        } else if (key == QLatin1String("Home")) {
            brwWebBrowser->GoHome();
        } else if (key == QLatin1String("Search")) {
            brwWebBrowser->GoSearch();
        } else if (key == QLatin1String("Stop")) {
            timTimer->stop();
            brwWebBrowser->Stop();
            timTimer_Timer();
        }
    } catch (...) {
    }
    setCommand1Caption(QStringLiteral("Nuovo Lanterna"));
}

void frmBrowser::timTimer_Timer()
{
    try {
        if (brwWebBrowser->Busy()) {
            busyTick();
            return;
        }
        timTimer->stop();
        const QString s = brwWebBrowser->LocationURL();
        const QString title = address::pageTitle(s);
        const QString trimmed = address::trimBlanks(s);
        if (!trimmed.isEmpty() && trimmed != QLatin1String("about:blank"))
            Module1::CommandLinePath = title;
        setWindowTitle(title);
        Tag = title;
        // What the user is typing stays; the page's address comes back once they are done.
        if (!userEditsAddress())
            showPageAddress(brwWebBrowser->LocationURL());
        platform::ui().doEvents();
    } catch (...) {
    }
}

void frmBrowser::busyTick()
{
    if (busyTickRunning_)
        return;
    QPointer<frmBrowser> self(this);
    busyTickRunning_ = true;
    struct Reset {
        QPointer<frmBrowser> &w;
        ~Reset()
        {
            if (w)
                w->busyTickRunning_ = false;
        }
    } reset{self};

    setWindowTitle(QStringLiteral("Working..."));
    if (forms::loaded<::Test_URL>()) {
        {
            const QSignalBlocker quiet(forms::Test_URL()->List1);
            forms::Test_URL()->List1->clear();
        }
        ListIeProcesses();
    } else {
        // Loading the list window (hidden) lists the processes afresh already.
        forms::Test_URL();
    }
    ::Test_URL *list = forms::loaded<::Test_URL>();
    if (!list || list->List1->count() == 0)
        return;

    QString answer = QStringLiteral("6");
    if (!Check1->isChecked()) {
        const QString top = list->List1->item(0)->text();
        answer = QString::number(platform::ui().MsgBox(
            QStringLiteral("Confermi cancellazione di tutte le finestre IE:  ") + QStringLiteral("\r\r") + top,
            platform::vbYesNo, QStringLiteral("Gestione finestre IE")));
        if (!self)
            return;
    }
    if (answer != QLatin1String("6"))
        return;

    timTimer->stop();
    list = forms::loaded<::Test_URL>();
    const int n = list ? std::min<int>(list->List1->count(), Module1::kMaxIeProcesses) : 0;
    for (int i = 0; i < n; ++i) {
        Module1::LastIeProcessId = Module1::IeProcessIds[i + 1];
        TerminateIeProcess(Module1::LastIeProcessId);
        platform::ui().doEvents();
        if (!self)
            return;
    }
    // Gives the ended processes time to disappear before the list is rebuilt.
    for (int i = 0; i < 1001; ++i) {
        platform::ui().doEvents();
        if (!self)
            return;
    }
    ListIeProcesses();
    timTimer->start();
}
