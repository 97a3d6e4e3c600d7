#include "browser/frmBrowser.h"

void frmBrowser::brwWebBrowser_StatusTextChange(const QString &) {}
void frmBrowser::brwWebBrowser_ProgressChange(qint32, qint32) {}
void frmBrowser::brwWebBrowser_DownloadBegin() {}
void frmBrowser::brwWebBrowser_DownloadComplete() {}
void frmBrowser::brwWebBrowser_TitleChange(const QString &) {}
void frmBrowser::brwWebBrowser_BeforeNavigate2(const QString &, bool *) {}
void frmBrowser::brwWebBrowser_NewWindow2(bool *) {}
void frmBrowser::brwWebBrowser_NavigateComplete2(const QString &) {}
void frmBrowser::brwWebBrowser_DocumentComplete(const QString &) {}
void frmBrowser::brwWebBrowser_FileDownload(bool *) {}
void frmBrowser::PercentBar(qint32, qint32) {}
