#include "editor/EditorWindows.h"

#include "base/BrowserHost.h"
#include "base/Form.h"
#include "base/forms.h"

#include <QKeyEvent>
#include <QMargins>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace editorwindows {

namespace {

// Sees the keys no control of the window took: they travel up to the window itself.
class DialogKeys : public QObject {
public:
    DialogKeys(Form *window, QPushButton *confirm, QPushButton *cancel)
        : QObject(window), confirm_(confirm), cancel_(cancel)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *k = static_cast<QKeyEvent *>(event);
        const auto mods = k->modifiers() & ~Qt::KeypadModifier;
        if (mods != Qt::NoModifier)
            return false;
        QPushButton *target = nullptr;
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter)
            target = confirm_;
        else if (k->key() == Qt::Key_Escape)
            target = cancel_;
        if (!target)
            return false;
        target->click();
        return true;
    }

private:
    QPointer<QPushButton> confirm_;
    QPointer<QPushButton> cancel_;
};

// `r` moved inside `bounds`; a rectangle larger than them starts at their top left.
QRect clampInto(QRect r, const QRect &bounds)
{
    r.moveLeft(std::max(bounds.left(), std::min(r.left(), bounds.right() + 1 - r.width())));
    r.moveTop(std::max(bounds.top(), std::min(r.top(), bounds.bottom() + 1 - r.height())));
    return r;
}

} // namespace

QWidget *owner()
{
    BrowserHost *b = forms::loadedBrowser();
    return b ? b->hostWindow() : nullptr;
}

void dialogKeys(Form *window, QPushButton *confirm, QPushButton *cancel)
{
    // Outside a dialog a button ignores Enter unless told otherwise.
    for (QPushButton *b : window->findChildren<QPushButton *>())
        b->setAutoDefault(true);
    if (confirm)
        confirm->setDefault(true);
    new DialogKeys(window, confirm, cancel);
}

void placeNear(QWidget *window, const QWidget *anchor)
{
    if (!window || !anchor)
        return;
    // A window not shown yet has no frame; the browser window's frame is the best guess.
    QMargins frame;
    QWidget *browser = owner();
    if (browser && browser->isVisible()) {
        const QRect outer = browser->frameGeometry(), inner = browser->geometry();
        frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    }
    QRect r(anchor->mapToGlobal(QPoint(0, anchor->height())), window->size().grownBy(frame));
    if (browser) {
        const QRect over = browser->frameGeometry();
        if (r.width() <= over.width() && r.height() <= over.height())
            r = clampInto(r, over);
    }
    if (const QScreen *screen = anchor->screen())
        r = clampInto(r, screen->availableGeometry());
    window->move(r.topLeft());
}

} // namespace editorwindows
