#include "browser/frmBrowser.h"

void frmBrowser::cboAddress_KeyPress(int) {}
void frmBrowser::cboAddress_Click() {}
void frmBrowser::tbToolBar_ButtonClick(const QString &) {}
void frmBrowser::timTimer_Timer() {}
