#pragma once
#include "base/Form.h"

#include <QPointer>

// The window registry: each window exists at most once. Touching a window that is
// not loaded creates it and runs its Form_Load before returning; unload runs
// Form_Unload and destroys it, so the next touch starts afresh; hide keeps it.
namespace forms {

namespace detail {
template <class T> QPointer<Form> &slot()
{
    static QPointer<Form> p;
    return p;
}
} // namespace detail

template <class T> void unload();

// The window if it is loaded, else nullptr. Never loads it.
template <class T> T *loaded() { return static_cast<T *>(detail::slot<T>().data()); }

template <class T> T *touch()
{
    auto &s = detail::slot<T>();
    if (!s) {
        T *w = new T();
        s = w;
        w->setUnloader([] { unload<T>(); });
        w->Form_Load();
    }
    return static_cast<T *>(s.data());
}

template <class T> void unload()
{
    auto &s = detail::slot<T>();
    if (!s)
        return;
    Form *w = s.data();
    s = nullptr;
    w->Form_Unload();
    w->hide();
    // Deleted once control is back in the event loop: an unload may run inside the
    // window's own handler.
    w->deleteLater();
}

template <class T> void hide()
{
    if (T *w = loaded<T>())
        w->hide();
}

} // namespace forms

class frmBrowser;
class frmFav;
class Test_URL;
class Form1;
class Form2;
class Form3;
class Form4;
class Colore;

// One accessor per window: touching creates and loads it.
namespace forms {
::frmBrowser *frmBrowser();
::frmFav *frmFav();
::Test_URL *Test_URL();
::Form1 *Form1();
::Form2 *Form2();
::Form3 *Form3();
::Form4 *Form4();
::Colore *Colore();
} // namespace forms
