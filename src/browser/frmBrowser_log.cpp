#include "browser/frmBrowser.h"

void frmBrowser::ReadVisitedLog() {}
void frmBrowser::WriteVisitedLog() {}
void frmBrowser::Command2_Click() {}
void frmBrowser::Command5_Click() {}
