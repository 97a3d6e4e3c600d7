#include "platform/WebEngineProfile.h"

#include "platform/ProfileStore.h"
#include "platform/WebEngineUrls.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QPointer>
#include <QStandardPaths>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>

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
        if ((native.isValid() || url.isLocalFile()) && fromWebPage(info)) {
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
    QFile f(file.toLocalFile());
    if (!f.open(QIODevice::ReadOnly) || f.size() > kLargestScannedDocument)
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
        s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
        s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);

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
    QHash<QWebEnginePage *, std::function<bool()>> announcers;

    void addHolder(QObject *h)
    {
        holders_.removeAll(QPointer<QObject>());
        holders_.append(h);
    }

private:
    void onDownload(QWebEngineDownloadRequest *download)
    {
        bool cancel = false;
        const auto it = announcers.constFind(download->page());
        if (it != announcers.constEnd()) {
            const auto announce = it.value(); // the table may change while it asks
            cancel = announce();
        }
        if (cancel) {
            download->cancel();
            return;
        }
        const QString folder = downloadFolder();
        QDir().mkpath(folder);
        download->setDownloadDirectory(folder);
        download->setDownloadFileName(freeFileName(folder, download->downloadFileName()));
        download->accept();
    }

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

void setDownloadAnnouncer(QWebEnginePage *page, std::function<bool()> announcer)
{
    ProfileHolder *h = ensureHolder();
    if (!h->announcers.contains(page))
        QObject::connect(page, &QObject::destroyed, h, [h, page] { h->announcers.remove(page); });
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

QString freeFileName(const QString &folder, const QString &suggested)
{
    QString name = QFileInfo(suggested).fileName();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        name = QStringLiteral("download");
    const QDir dir(folder);
    if (!QFileInfo::exists(dir.filePath(name)))
        return name;
    // "a.tar.gz" becomes "a (1).tar.gz": the number goes before the first dot of the name.
    const qsizetype dot = name.indexOf(QLatin1Char('.'), 1);
    const QString stem = dot < 0 ? name : name.left(dot);
    const QString ext = dot < 0 ? QString() : name.mid(dot);
    for (int n = 1;; ++n) {
        const QString candidate = stem + QStringLiteral(" (%1)").arg(n) + ext;
        if (!QFileInfo::exists(dir.filePath(candidate)))
            return candidate;
    }
}

} // namespace platform
