#include "platform/WebEngineProfile.h"

#include "platform/DownloadRules.h"
#include "platform/DownloadsWindow.h"
#include "platform/PathSpace.h"
#include "platform/ProfileStore.h"
#include "platform/RealFiles.h"
#include "platform/WebEngineUrls.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QPointer>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

// Pages written the Windows way name their files file:///C:/... (Chromium turns the
// backslashes of file:///C:\... into slashes): every such request, page, frame or
// picture, goes to the native file instead.
class WindowsPathInterceptor : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    // Qt 6 calls this on the UI thread, so the path space can be asked directly.
    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        const QUrl url = info.requestUrl();
        const QUrl native = nativeFileUrl(url);
        // The drive mapping is for local pages and what the user types: a web page
        // never reaches the user's files through it, whatever spelling it tries.
        const bool local = native.isValid() || url.isLocalFile();
        if ((local && fromWebPage(info))
            || (fromLocalPage(info) && !localPageMayLoad(info, native.isValid() ? native : url))) {
            info.block(true);
            return;
        }
        if (native.isValid() && native != url)
            info.redirect(native);
    }

private:
    static bool isWeb(const QUrl &u)
    {
        const QString s = u.scheme().toLower();
        return !u.isEmpty() && s != QLatin1String("file") && s != QLatin1String("qrc") && s != QLatin1String("about")
               && s != QLatin1String("data") && s != QLatin1String("blob");
    }
    static bool fromWebPage(const QWebEngineUrlRequestInfo &info)
    {
        return isWeb(info.initiator()) || isWeb(info.firstPartyUrl());
    }
    static bool fromLocalPage(const QWebEngineUrlRequestInfo &info)
    {
        const QUrl &from = info.initiator().isEmpty() ? info.firstPartyUrl() : info.initiator();
        return from.scheme().compare(QLatin1String("file"), Qt::CaseInsensitive) == 0;
    }
    // The engine lets local pages load local files only with its file access on, which
    // also lets their scripts read any file: here a local page's scripts get nothing
    // (no fetch, XMLHttpRequest or worker), and a frame holds a file of the page's own
    // drive only (a frame's text is open to the page). Pictures come from anywhere.
    static bool localPageMayLoad(const QWebEngineUrlRequestInfo &info, const QUrl &target)
    {
        using R = QWebEngineUrlRequestInfo;
        switch (info.resourceType()) {
        case R::ResourceTypeXhr:
        case R::ResourceTypeWorker:
        case R::ResourceTypeSharedWorker:
        case R::ResourceTypeServiceWorker:
        case R::ResourceTypePrefetch:
        case R::ResourceTypePing:
        case R::ResourceTypeCspReport:
            return false;
        case R::ResourceTypeSubFrame:
        case R::ResourceTypeObject:
            return !target.isLocalFile() || sameDrive(target, info.firstPartyUrl());
        default:
            return true;
        }
    }
    static bool sameDrive(const QUrl &file, const QUrl &page)
    {
        const QString a = toWindowsPath(file.toLocalFile()), b = toWindowsPath(page.toLocalFile());
        return !a.isEmpty() && !b.isEmpty() && a[0] == b[0] && a[0] != QLatin1Char('Z');
    }
};

// Chromium reads file://C:\x as a URL of host "c:" and never requests it, so no
// interceptor sees it. The page's own attributes still hold the text as written:
// rewrite them to file:///C:/x as the parser inserts them, and the interceptor
// takes it from there. Bare drive paths (src="C:\x") are read as a "c:" scheme and
// get the same treatment.
const char fixupScript[] = R"JS(
(function () {
  'use strict';
  var names = ['src', 'href', 'background', 'lowsrc', 'action', 'data', 'poster'];
  var windowsForm = /^\s*(?:file:[\/\\]*)?([A-Za-z])[:|]([\/\\].*)?$/i;
  function fixed(value) {
    var m = windowsForm.exec(value);
    if (!m) return null;
    var out = 'file:///' + m[1] + ':' + (m[2] || '/').replace(/\\/g, '/');
    return out === value ? null : out;
  }
  function fixElement(el) {
    if (!el.getAttribute) return;
    for (var i = 0; i < names.length; ++i) {
      var v = el.getAttribute(names[i]);
      if (v) {
        var f = fixed(v);
        if (f !== null) el.setAttribute(names[i], f);
      }
    }
  }
  function fixTree(node) {
    if (node.nodeType !== 1) return;
    fixElement(node);
    var all = node.querySelectorAll('[src],[href],[background],[lowsrc],[action],[data],[poster]');
    for (var i = 0; i < all.length; ++i) fixElement(all[i]);
  }
  new MutationObserver(function (records) {
    for (var i = 0; i < records.length; ++i) {
      var r = records[i];
      if (r.type === 'attributes') fixElement(r.target);
      else for (var j = 0; j < r.addedNodes.length; ++j) fixTree(r.addedNodes[j]);
    }
  }).observe(document, {childList: true, subtree: true, attributes: true, attributeFilter: names});
})();
)JS";

const QString kFixupName = QStringLiteral("windows-paths");

QWebEngineScript fixupPageScript()
{
    QWebEngineScript script;
    script.setName(kFixupName);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(true);
    script.setSourceCode(QString::fromUtf8(fixupScript));
    return script;
}

// Larger local documents are not read ahead of their load: they keep the script.
constexpr qint64 kLargestScannedDocument = 4 * 1024 * 1024;

bool documentMayNeedPathFixup(const QUrl &url)
{
    const QUrl native = nativeFileUrl(url);
    const QUrl file = native.isValid() ? native : url;
    if (!file.isLocalFile())
        return true;
    // Only a regular file is read ahead: a pipe or a device would block the window
    // (opening a pipe waits for a writer); the engine takes those its own way.
    const QString path = file.toLocalFile();
#ifdef _WIN32
    QFile f(path);
    if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly))
        return true;
#else
    QFile f;
    if (!openRegularFile(f, path, O_RDONLY))
        return true;
#endif
    if (f.size() > kLargestScannedDocument)
        return true;
    const QByteArray html = f.read(kLargestScannedDocument + 1);
    return html.size() > kLargestScannedDocument || markupMayNeedPathFixup(html);
}

class ProfileHolder : public QObject {
public:
    explicit ProfileHolder(QObject *parent) : QObject(parent)
    {
        interceptor_ = new WindowsPathInterceptor;
        store_ = new ProfileStore(this);
        profile_ = store_->profile();
        profile_->setUrlRequestInterceptor(interceptor_);
        // Sites are asked for their Italian pages first.
        profile_->setHttpAcceptLanguage(QStringLiteral("it-IT,it;q=0.9,en;q=0.5"));

        QWebEngineSettings *s = profile_->settings();
        s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);
        // Without these the engine refuses a local page every picture and frame of the
        // drive and every web picture; what its scripts may read is ruled by the
        // interceptor (no fetch or XMLHttpRequest at all), and web responses stay
        // closed to them by the engine's cross-origin rules.
        s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
        s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
        s->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, true); // a video's own button

        connect(profile_, &QWebEngineProfile::downloadRequested, this, &ProfileHolder::onDownload);
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &ProfileHolder::release);
    }

    ~ProfileHolder() override { release(); }

    // Pages still open when the application quits (pop-ups, the control of a window
    // that is never destroyed) go first; the profile must outlive every page of it.
    void release()
    {
        for (const QPointer<QObject> &h : std::as_const(holders_))
            delete h.data();
        holders_.clear();
        // Once the application object is going, so are the windows' own means.
        if (!QCoreApplication::closingDown())
            delete DownloadsWindow::existing();
        if (store_)
            store_->finish();
        delete profile_;
        profile_ = nullptr;
        delete store_; // the profile's lock goes after the profile
        store_ = nullptr;
        delete interceptor_;
        interceptor_ = nullptr;
    }

    QWebEngineProfile *profile() const { return profile_; }
    ProfileStore *store() const { return store_; }
    QHash<QWebEnginePage *, DownloadAnnouncer> announcers;

    void pageGone(QWebEnginePage *page)
    {
        announcers.remove(page);
        limits_.remove(page);
        started_.remove(page);
    }

    void addHolder(QObject *h)
    {
        holders_.removeAll(QPointer<QObject>());
        holders_.append(h);
    }

private:
    void onDownload(QWebEngineDownloadRequest *download)
    {
        QWebEnginePage *page = download->page();
        const DownloadAnnouncer announcer = announcers.value(page); // the table may change while it asks
        const QPointer<QWebEnginePage> alive(page);
        // A page that starts downloads in a loop gets a few; the rest are refused
        // before any question, so it can neither flood the user nor fill the disk.
        if (page && !limits_.contains(page))
            connect(page, &QObject::destroyed, this, [this, page] { pageGone(page); });
        Started &started = started_[page];
        started.removeIf([](const QPointer<QWebEngineDownloadRequest> &d) { return !d || d->isFinished(); });
        if (!limits_[page].mayStart(int(started.size()))) {
            download->cancel();
            if (announcer.status)
                announcer.status(QStringLiteral("Scaricamento rifiutato: troppi scaricamenti da questa pagina"));
            return;
        }
        if (announcer.ask && announcer.ask()) {
            download->cancel();
            return;
        }
        const QString folder = downloadFolder();
        QDir().mkpath(folder);
        if (!roomLeft(folder)) {
            download->cancel();
            if (announcer.status && alive)
                announcer.status(kDiskFull);
            return;
        }
        // The name is taken before the engine writes: no other download, of this
        // copy of the program or of another, can come to the same file.
        const QString name = reserveDownloadFile(folder, safeDownloadName(download->downloadFileName()));
        if (name.isEmpty()) {
            download->cancel();
            if (announcer.status && alive)
                announcer.status(QStringLiteral("Impossibile salvare nella cartella ") + folder);
            return;
        }
        const QString path = QDir(folder).filePath(name);
        connect(download, &QWebEngineDownloadRequest::isFinishedChanged, this, [download, path] {
            // A download that did not complete leaves no empty file behind.
            if (download->state() != QWebEngineDownloadRequest::DownloadCompleted && QFileInfo(path).size() == 0)
                QFile::remove(path);
        });
        connect(download, &QWebEngineDownloadRequest::receivedBytesChanged, this, [download, folder] {
            if (!roomLeft(folder))
                download->cancel(); // a download without end never fills the disk
        });
        started_[page].append(download);
        download->setDownloadDirectory(folder);
        download->setDownloadFileName(name);
        download->accept();
        DownloadsWindow::instance()->add(download, path);
    }

    static bool roomLeft(const QString &folder)
    {
        const QStorageInfo disk(folder);
        return !disk.isValid() || disk.bytesAvailable() > kDiskReserveBytes;
    }
    static inline const QString kDiskFull = QStringLiteral("Scaricamento rifiutato: disco quasi pieno");

    using Started = QList<QPointer<QWebEngineDownloadRequest>>;
    QHash<QWebEnginePage *, DownloadLimit> limits_;
    QHash<QWebEnginePage *, Started> started_;
    WindowsPathInterceptor *interceptor_ = nullptr;
    QWebEngineProfile *profile_ = nullptr;
    ProfileStore *store_ = nullptr;
    QList<QPointer<QObject>> holders_;
};

QPointer<ProfileHolder> &holder()
{
    static QPointer<ProfileHolder> h;
    return h;
}

ProfileHolder *ensureHolder()
{
    if (!holder() || !holder()->profile()) {
        delete holder().data();
        holder() = new ProfileHolder(QCoreApplication::instance());
    }
    return holder();
}

} // namespace

QWebEngineProfile *webEngineProfile() { return ensureHolder()->profile(); }

void usePathFixup(QWebEnginePage *page)
{
    if (page->scripts().find(kFixupName).isEmpty())
        page->scripts().insert(fixupPageScript());
}

void preparePathFixup(QWebEnginePage *page, const QUrl &url)
{
    if (documentMayNeedPathFixup(url)) {
        usePathFixup(page);
        return;
    }
    // A script, even this small one, starts the page process's script engine, which a
    // plain page never needs (about 2 MiB).
    for (const QWebEngineScript &s : page->scripts().find(kFixupName))
        page->scripts().remove(s);
}

void setDownloadAnnouncer(QWebEnginePage *page, DownloadAnnouncer announcer)
{
    ProfileHolder *h = ensureHolder();
    if (!h->announcers.contains(page))
        QObject::connect(page, &QObject::destroyed, h, [h, page] { h->pageGone(page); });
    h->announcers.insert(page, std::move(announcer));
}

void clearDownloadAnnouncer(QWebEnginePage *page)
{
    if (holder())
        holder()->announcers.remove(page);
}

void clearSiteData()
{
    if (ProfileStore *s = ensureHolder()->store())
        s->clearAll();
}

void destroyBeforeProfile(QObject *h) { ensureHolder()->addHolder(h); }

QString downloadFolder()
{
    const QString d = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    return d.isEmpty() ? QDir::homePath() : d;
}

} // namespace platform
