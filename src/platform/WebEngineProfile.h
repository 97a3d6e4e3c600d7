#pragma once
#include <QString>
#include <QUrl>
#include <functional>

class QObject;
class QWebEnginePage;
class QWebEngineProfile;

namespace platform {

// The one profile every browser control and pop-up window of the process shares,
// created on first use (a QApplication must exist): the user's stored one, shared with
// the other copies (see ProfileStore), or off the record for a private start. It carries the
// request interceptor that makes pages written the Windows way (file:///C:\...) load
// their files through the path space, and it routes each download to the page that
// asked for it.
QWebEngineProfile *webEngineProfile();

// The page script that rewrites the forms the engine never requests (file://C:\...,
// src="C:\...") to ones the interceptor takes. Every page of the program starts with
// it; before each main-frame navigation, preparePathFixup() keeps it only if the
// document to come may need it (see markupMayNeedPathFixup: local files are read).
void usePathFixup(QWebEnginePage *page);
void preparePathFixup(QWebEnginePage *page, const QUrl &url);

// Downloads a page asks for are first offered to its announcer, whose ask() answers
// true to cancel; pages without one download straight away, each into a name of its
// own in downloadFolder(), listed in the "Scaricamenti" window. A download refused
// for the page's sake (too many of them) is told to status().
struct DownloadAnnouncer {
    std::function<bool()> ask;
    std::function<void(const QString &)> status;
};
void setDownloadAnnouncer(QWebEnginePage *page, DownloadAnnouncer announcer);
void clearDownloadAnnouncer(QWebEnginePage *page);

// Cookies, cache and site storage of the user, for this copy and the next ones.
void clearSiteData();

// Pages of the profile, or windows holding them, that may still be alive when the
// application quits: they are destroyed then, before the profile, which must
// outlive its pages.
void destroyBeforeProfile(QObject *holder);

// The user's download folder.
QString downloadFolder();

} // namespace platform
