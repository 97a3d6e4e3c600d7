#include "browser/frmBrowser.h"

frmBrowser::frmBrowser() = default;
frmBrowser::~frmBrowser() = default;
void frmBrowser::Form_Load() {}
void frmBrowser::Form_Unload() {}
void frmBrowser::Form_Resize() {}
void frmBrowser::cboAddress_KeyPress(int) {}
void frmBrowser::cboAddress_Click() {}
void frmBrowser::tbToolBar_ButtonClick(const QString &) {}
void frmBrowser::timTimer_Timer() {}
void frmBrowser::Command1_Click() {}
void frmBrowser::Command2_Click() {}
void frmBrowser::Command3_Click() {}
void frmBrowser::Command4_Click() {}
void frmBrowser::Command5_Click() {}
void frmBrowser::Command6_Click() {}
void frmBrowser::Command7_Click() {}
void frmBrowser::Command8_Click(int) {}
void frmBrowser::Check2_Click() {}
void frmBrowser::lblAddress_DblClick() {}
void frmBrowser::resizeEvent(QResizeEvent *) {}
