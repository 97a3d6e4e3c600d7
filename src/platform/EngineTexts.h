#pragma once
#include <QString>
#include <QUrl>

class QWebEnginePage;

namespace platform {

// The engine's own words, in Italian: the toolkit ships none for it.

// Names the page's actions (its context menu) in Italian.
void useItalianActions(QWebEnginePage *page);

// Why a site's certificate was refused (QWebEngineCertificateError::Type).
QString certificateReason(int type);
// What a page asks to use (QWebEnginePage::Feature), as "... di usare ..." completes it.
QString permissionName(int feature);

// How the engine words the question before a page is left, and how the program does.
QString engineLeavePageText();
QString leavePageText();

// A site as its questions name it: scheme, host and port ("http://127.0.0.1:8080");
// a local page by its Windows-form address.
QString siteOf(const QUrl &url);

} // namespace platform
