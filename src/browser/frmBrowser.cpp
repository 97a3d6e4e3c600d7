#include "browser/frmBrowser.h"

frmBrowser::frmBrowser() = default;
frmBrowser::~frmBrowser() = default;
void frmBrowser::Form_Load() {}
void frmBrowser::Form_Unload() {}
void frmBrowser::Form_Resize() {}
void frmBrowser::resizeEvent(QResizeEvent *) {}
