#pragma once
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QWidget>
#include <QWindow>

// Input as the windowing system delivers it: keys go to the window, which hands them
// to its focus widget; unused keys travel up to the window itself.
namespace keys {

// Shows a window and waits until it is the active one.
inline bool showActive(QWidget *w)
{
    w->show();
    w->raise();
    w->activateWindow();
    return QTest::qWaitForWindowActive(w, 5000);
}

// One key pressed and released on the window that holds `w`.
inline void press(QWidget *w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QTest::keyClick(w->window()->windowHandle(), key, mods);
}

// The widget that has the focus in the window that holds `w`.
inline QWidget *focused(QWidget *w) { return w->window()->focusWidget(); }

// `text` put on the system clipboard and pasted with the paste keys into `box`.
inline void pasteInto(QWidget *box, const QString &text)
{
    box->setFocus(Qt::OtherFocusReason);
    QGuiApplication::clipboard()->setText(text);
    QTest::keySequence(box->window()->windowHandle(), QKeySequence(QKeySequence::Paste));
}

// `text` dragged in from elsewhere and dropped at the left end of `box`.
inline void dropOnto(QWidget *box, const QString &text)
{
    QMimeData data;
    data.setText(text);
    const QPoint at(2, box->height() / 2);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &drop);
}

} // namespace keys
