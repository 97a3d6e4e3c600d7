#pragma once

class Form;
class QPushButton;
class QWidget;

// What every editing window shares: its owner, its keys and where it opens.
namespace editorwindows {

// The browser window when it is loaded. The editing windows are its own windows, so
// they stay above it and go with it.
QWidget *owner();

// Dialog keys for `window`: Enter presses `confirm`, Escape presses `cancel` (either may
// be null). A focused button takes Enter itself, and a box or a choice lets it through
// to the window. Also makes every button of the window take Enter when it has the focus.
void dialogKeys(Form *window, QPushButton *confirm, QPushButton *cancel);

// Moves a window about to open just below `anchor` (the button that opens it), kept
// over the browser window where it fits and always on the screen.
void placeNear(QWidget *window, const QWidget *anchor);

} // namespace editorwindows

#include "base/forms.h"

namespace editorwindows {

// Window T, loaded if need be; one that was not on screen yet opens near `anchor`.
template <class T> T *openNear(const QWidget *anchor)
{
    T *open = forms::loaded<T>();
    const bool fresh = !open || !open->isVisible();
    T *w = forms::touch<T>();
    if (fresh)
        placeNear(w, anchor);
    return w;
}

} // namespace editorwindows
