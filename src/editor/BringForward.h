#pragma once
#include <QWidget>

// Shows a window that is already open in front of the others as it is; a minimized one
// comes back to its size, or asking for it again would seem to do nothing.
inline void bringForward(QWidget *w)
{
    if (w->isMinimized())
        w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
    w->show();
    w->raise();
    w->activateWindow();
}
