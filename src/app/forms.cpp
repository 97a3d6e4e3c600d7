#include "base/forms.h"

#include "base/BrowserHost.h"

#include "browser/frmBrowser.h"
#include "editor/Colore.h"
#include "editor/Form1.h"
#include "editor/Form2.h"
#include "editor/Form3.h"
#include "editor/Form4.h"
#include "favorites/frmFav.h"
#include "iemanager/Test_URL.h"

namespace forms {
::frmBrowser *frmBrowser() { return touch<::frmBrowser>(); }
::frmFav *frmFav() { return touch<::frmFav>(); }
::Test_URL *Test_URL() { return touch<::Test_URL>(); }
::Form1 *Form1() { return touch<::Form1>(); }
::Form2 *Form2() { return touch<::Form2>(); }
::Form3 *Form3() { return touch<::Form3>(); }
::Form4 *Form4() { return touch<::Form4>(); }
::Colore *Colore() { return touch<::Colore>(); }

BrowserHost *browser() { return frmBrowser(); }
BrowserHost *loadedBrowser() { return loaded<::frmBrowser>(); }
} // namespace forms
