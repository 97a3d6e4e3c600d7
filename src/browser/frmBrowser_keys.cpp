#include "browser/frmBrowser.h"

#include "browser/FindBar.h"
#include "browser/LaunchNewInstance.h"
#include "platform/WebBrowser.h"

#include <QComboBox>
#include <QLineEdit>
#include <QShortcut>
#include <QTimer>
#include <QToolBar>

namespace {

// The zoom keys on the keypad (Ctrl+plus comes as plus or as the = key under it).
QKeySequence keypad(Qt::Key key) { return QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, key)); }

} // namespace

void frmBrowser::createShortcuts()
{
    using Dir = platform::WebBrowser::FindDirection;
    // Window-wide: they work from the page, the address box and the find bar alike. The
    // page keeps the keys it edits with (typing, Backspace, the clipboard keys).
    const auto key = [this](const QList<QKeySequence> &keys, auto action) {
        auto *s = new QShortcut(this);
        s->setKeys(keys);
        connect(s, &QShortcut::activated, this, action);
        return s;
    };
    key({Qt::Key_F5, QKeySequence(Qt::CTRL | Qt::Key_R)}, [this] { tbToolBar_ButtonClick(QStringLiteral("Refresh")); });
    key({QKeySequence(Qt::ALT | Qt::Key_Left)}, [this] { tbToolBar_ButtonClick(QStringLiteral("Back")); });
    key({QKeySequence(Qt::ALT | Qt::Key_Right)}, [this] { tbToolBar_ButtonClick(QStringLiteral("Forward")); });
    escapeKey_ = key({Qt::Key_Escape}, &frmBrowser::escapePressed);
    escapeKey_->setEnabled(false);
    key({QKeySequence(Qt::CTRL | Qt::Key_L), QKeySequence(Qt::ALT | Qt::Key_D), Qt::Key_F6},
        &frmBrowser::focusAddressBox);
    key({QKeySequence(Qt::CTRL | Qt::Key_N)}, &frmBrowser::newCopy);
    key({Qt::Key_F11}, &frmBrowser::toggleFullScreen);
    key({QKeySequence(Qt::CTRL | Qt::Key_F)}, &frmBrowser::openFindBar);
    key({Qt::Key_F3}, [this] { findInPage(Dir::Forward); });
    key({QKeySequence(Qt::SHIFT | Qt::Key_F3)}, [this] { findInPage(Dir::Backward); });
    key({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal), keypad(Qt::Key_Plus)},
        [this] { zoomBy(1); });
    key({QKeySequence(Qt::CTRL | Qt::Key_Minus), keypad(Qt::Key_Minus)}, [this] { zoomBy(-1); });
    key({QKeySequence(Qt::CTRL | Qt::Key_0), keypad(Qt::Key_0)}, &frmBrowser::zoomReset);
    key({QKeySequence(Qt::CTRL | Qt::Key_P)}, &frmBrowser::printPage);

    // Whether a page is loading is known once the control's event has been handled.
    using B = platform::WebBrowser;
    for (auto signal : {&B::DownloadBegin, &B::DownloadComplete})
        connect(brwWebBrowser, signal, this, &frmBrowser::updateEscapeKey, Qt::QueuedConnection);
    connect(brwWebBrowser, &B::DocumentComplete, this, &frmBrowser::updateEscapeKey, Qt::QueuedConnection);
    connect(tbToolBar, &QToolBar::actionTriggered, this, &frmBrowser::updateEscapeKey, Qt::QueuedConnection);
    connectPageTools();
}

void frmBrowser::updateEscapeKey()
{
    if (escapeKey_ && brwWebBrowser)
        escapeKey_->setEnabled(brwWebBrowser->Busy());
}

void frmBrowser::escapePressed()
{
    if (brwWebBrowser && brwWebBrowser->Busy())
        tbToolBar_ButtonClick(QStringLiteral("Stop"));
    updateEscapeKey();
}

void frmBrowser::focusAddressBox()
{
    if (!cboAddress)
        return;
    cboAddress->setFocus(Qt::ShortcutFocusReason);
    if (QLineEdit *edit = cboAddress->lineEdit())
        edit->selectAll();
}

void frmBrowser::newCopy() { LaunchNewInstance(brwWebBrowser ? brwWebBrowser->LocationURL() : QString()); }

void frmBrowser::toggleFullScreen()
{
    // Full screen is the user's choice now: no longer kept maximised.
    keepMaximized_ = false;
    if (isFullScreen()) {
        if (maximizedBeforeFullScreen_)
            showMaximized();
        else
            showNormal();
    } else {
        maximizedBeforeFullScreen_ = isMaximized();
        showFullScreen();
    }
}
