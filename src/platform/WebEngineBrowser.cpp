#include "platform/WebEngineBrowser.h"

#include "platform/Memory.h"
#include "platform/WebEnginePage.h"
#include "platform/PopupLimit.h"
#include "platform/WebEnginePopup.h"
#include "platform/WebEngineProfile.h"
#include "platform/WebEngineUrls.h"

#include <QGridLayout>
#include <QPrinter>
#include <QLabel>
#include <QTimer>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace platform {

class WebEngineBrowserPage : public EnginePage {
public:
    WebEngineBrowserPage(WebEngineBrowser *browser, QObject *parent)
        : EnginePage(webEngineProfile(), parent), browser_(browser)
    {
        usePathFixup(this);
    }

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override
    {
        if (!browser_)
            return true;
        // After Stop the page stays stopped: what it starts by itself, a reload or a
        // script's navigation during or right after its load (a loop on a timer, a
        // refresh), the engine reports as a reload or a redirect, and those are
        // refused until a navigation of another kind.
        const bool own = type == NavigationTypeReload || type == NavigationTypeRedirect;
        if (isMainFrame && own && browser_->stopped_)
            return browser_->decided(false, isMainFrame);
        const bool go = decide(url, type, isMainFrame);
        if (go && isMainFrame && !own && browser_)
            browser_->stopped_ = false;
        if (go && isMainFrame && browser_)
            preparePathFixup(this, url);
        return go;
    }

    QWebEnginePage *createWindow(WebWindowType) override { return browser_ ? browser_->openWindow() : nullptr; }

private:
    bool decide(const QUrl &url, NavigationType type, bool isMainFrame)
    {
        switch (type) {
        case NavigationTypeTyped:  // Navigate() has asked already
        case NavigationTypeReload: // the page on display stays
            return browser_->decided(true, isMainFrame);
        case NavigationTypeRedirect:
            // Server redirects and our own Windows-path redirects (always to a native
            // file) go ahead unasked. The engine also reports a frame whose blocked
            // file://C:\ address the page script corrected as a redirect: that one
            // is the page's navigation and is asked.
            if (windowsPathOfFileUrl(url.toString(QUrl::FullyEncoded)).isEmpty())
                return browser_->decided(true, isMainFrame);
            break;
        default:
            break;
        }
        return browser_->allowNavigation(url, isMainFrame);
    }

    QPointer<WebEngineBrowser> browser_;
};

WebEngineBrowser::WebEngineBrowser(QWidget *parent)
    : WebBrowser(parent), view_(new QWebEngineView(this)), popups_(std::make_shared<PopupLimit>())
{
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_, 0, 0);
    setFocusProxy(view_);

    // A page's load leaves many passing allocations behind (the first one the engine's
    // whole set-up): their pages go back to the system once loading has calmed down.
    settled_ = new QTimer(this);
    settled_->setSingleShot(true);
    settled_->setInterval(500);
    connect(settled_, &QTimer::timeout, this, [] { releaseFreeMemory(); });

    page_ = new WebEngineBrowserPage(this, view_);
    view_->setPage(page_);
    destroyBeforeProfile(page_);
    setDownloadAnnouncer(page_, {[this] {
                                     bool cancel = false;
                                     emit FileDownload(&cancel);
                                     return cancel;
                                 },
                                 [this](const QString &text) { emit StatusTextChange(text); }});

    // loadingChanged comes with loadStarted and loadFinished and also names the
    // address, which tells the load of a refused navigation apart.
    connect(page_, &QWebEnginePage::loadingChanged, this, &WebEngineBrowser::onLoadingChanged);
    connect(page_, &QWebEnginePage::loadProgress, this, [this](int progress) {
        // A refused or stopped load's progress is no visit; a load not yet let go on
        // has nothing to show.
        if (quiet_ || refusedLoad_ || stoppedLoad_ || (beginHeld_ && progress <= 0))
            return;
        raiseHeldBegin();
        emit ProgressChange(progress, 100);
    });
    connect(page_, &QWebEnginePage::urlChanged, this, [this](const QUrl &url) {
        if (url.isEmpty() || quiet_)
            return;
        raiseHeldBegin();
        emit NavigateComplete2(urlText(url));
    });
    connect(page_, &QWebEnginePage::titleChanged, this, [this] { emit TitleChange(LocationName()); });
    connect(page_, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int) { onRendererEnded(int(status)); });
    connect(page_, &QWebEnginePage::linkHovered, this,
            [this](const QString &url) { emit StatusTextChange(url.isEmpty() ? QString() : urlText(QUrl(url))); });
    connectPageTools();
}

WebEngineBrowser::~WebEngineBrowser()
{
    if (page_)
        clearDownloadAnnouncer(page_);
}

QWebEnginePage *WebEngineBrowser::page() const { return page_; }

bool WebEngineBrowser::allowNavigation(const QUrl &url, bool isMainFrame)
{
    bool cancel = false;
    const QPointer<WebEngineBrowser> alive(this);
    emit BeforeNavigate2(urlText(url), &cancel);
    if (!alive)
        return false;
    return decided(!cancel, isMainFrame);
}

bool WebEngineBrowser::decided(bool go, bool isMainFrame)
{
    if (!isMainFrame)
        return go;
    if (go) {
        refusedAhead_ = false;
        raiseHeldBegin();
    } else if (beginHeld_) {
        // The usual order: the engine starts a link's load before it asks about it.
        // Refused, the load never begun for us: nothing of it is raised.
        beginHeld_ = false;
        quiet_ = true;
        busy_ = false;
    } else if (loadOpen_ && !quiet_) {
        // Refused after its start was raised: the page stays, the control is idle at
        // once, and the load's end only ends the download.
        refusedLoad_ = true;
        busy_ = false;
    } else if (!loadOpen_) {
        refusedAhead_ = true;
    }
    return go;
}

void WebEngineBrowser::raiseHeldBegin()
{
    if (!beginHeld_)
        return;
    beginHeld_ = false;
    busy_ = true;
    emit DownloadBegin();
}

QWebEnginePage *WebEngineBrowser::openWindow()
{
    // The user's own choice in the context menu is no pop-up: it opens unasked.
    if (page_ && page_->takeUserWindow())
        return WebEnginePopup::open(webEngineProfile(), popups_)->page();
    // Past the limit the request is dropped before it is raised: a page asking in a
    // loop would otherwise raise (and, questions on, ask about) every one of them.
    if (!page_ || !mayOpenWindow(page_, *popups_))
        return nullptr;
    bool cancel = false;
    const QPointer<WebEngineBrowser> alive(this);
    emit NewWindow2(&cancel);
    if (!alive || cancel)
        return nullptr;
    return WebEnginePopup::open(webEngineProfile(), popups_)->page();
}

void WebEngineBrowser::onLoadingChanged(const QWebEngineLoadingInfo &info)
{
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
        if (endedNotice_)
            endedNotice_->hide();
        windowsAllowedAgain(page_);
        // A new load: whatever was refused or stopped before has ended.
        stoppedLoad_ = false;
        refusedLoad_ = false;
        loadOpen_ = true;
        quiet_ = refusedAhead_;
        refusedAhead_ = false;
        if (quiet_)
            return;
        // The engine asks whether the load may go on only after it has started it:
        // the start is raised once the answer is yes (or once the load shows it goes on).
        busy_ = true;
        beginHeld_ = true;
        return;
    }
    loadOpen_ = false;
    settled_->start();
    if (quiet_) {
        quiet_ = false;
        return;
    }
    if (refusedLoad_) {
        refusedLoad_ = false;
        // No document came of it: the caption and the box go back to the page shown.
        emit DownloadComplete();
        return;
    }
    if (stoppedLoad_) {
        stoppedLoad_ = false;
        // A load that finished in spite of Stop is a page like any other.
        if (info.status() != QWebEngineLoadingInfo::LoadSucceededStatus)
            return;
    }
    raiseHeldBegin(); // a load that ended without being asked about
    // Busy until the document is complete, as the classic control reports it.
    const QPointer<WebEngineBrowser> alive(this);
    emit DownloadComplete();
    if (alive)
        emit DocumentComplete(LocationURL());
    if (alive)
        busy_ = false;
}

void WebEngineBrowser::onRendererEnded(int status)
{
    if (status == QWebEnginePage::NormalTerminationStatus)
        return;
    // A load in progress will never end: the page is idle, and shows why it is empty.
    busy_ = false;
    beginHeld_ = false;
    showEndedNotice();
}

// Made the first time a renderer ends: most sessions never need it, and its rich text
// would be laid out at every start.
void WebEngineBrowser::showEndedNotice()
{
    if (!endedNotice_) {
        // The engine leaves an empty area where the page was: say what happened and
        // how to get the page back.
        endedNotice_ = new QLabel(QStringLiteral("<h3>La pagina si è interrotta.</h3>"
                                                 "<p>Il processo che la mostrava è terminato.<br>"
                                                 "Premi Refresh per ricaricarla, o apri un altro indirizzo.</p>"),
                                  this);
        endedNotice_->setAlignment(Qt::AlignCenter);
        endedNotice_->setAutoFillBackground(true);
        endedNotice_->setWordWrap(true);
        static_cast<QGridLayout *>(layout())->addWidget(endedNotice_, 0, 0);
    }
    endedNotice_->show();
    endedNotice_->raise();
}

void WebEngineBrowser::Navigate(const QString &url)
{
    const QUrl target = urlFromTyped(url);
    if (!target.isValid() || !page_)
        return;
    // Typed navigations are asked here rather than in the page's hook: the engine
    // does not consult the hook for every address (about:blank).
    bool cancel = false;
    const QPointer<WebEngineBrowser> alive(this);
    emit BeforeNavigate2(urlText(target), &cancel);
    if (!alive || cancel || !page_)
        return;
    refusedAhead_ = false;
    stopped_ = false;
    page_->loginsAllowedAgain();
    preparePathFixup(page_, target);
    page_->load(target);
}

void WebEngineBrowser::GoBack()
{
    if (page_)
        page_->loginsAllowedAgain();
    view_->back();
}
void WebEngineBrowser::GoForward()
{
    if (page_)
        page_->loginsAllowedAgain();
    view_->forward();
}
void WebEngineBrowser::GoHome() { Navigate(homePage()); }
void WebEngineBrowser::GoSearch() { Navigate(searchPage()); }
void WebEngineBrowser::Refresh()
{
    stopped_ = false; // the user's reload
    if (page_)
        page_->loginsAllowedAgain();
    view_->reload();
}
void WebEngineBrowser::Stop()
{
    stopped_ = true;
    view_->stop();
    // The engine tells of the stopped load's end only later. The control is idle at
    // once, so whoever stopped it can show the page that stays; that late end is not
    // raised again.
    if (busy_) {
        busy_ = false;
        beginHeld_ = false;
        stoppedLoad_ = true;
    }
}
bool WebEngineBrowser::Busy() const { return busy_; }

QString WebEngineBrowser::LocationURL() const { return page_ ? urlText(page_->url()) : QString(); }

QString WebEngineBrowser::LocationName() const
{
    if (!page_)
        return {};
    const QString title = page_->title();
    // Pages without a title of their own (error pages among them) are titled with
    // their native address; name them as the control reports them.
    const QUrl url = page_->url();
    if (!url.isEmpty() && url.isLocalFile()
        && (title == url.toString() || title == url.toString(QUrl::FullyEncoded)))
        return LocationURL();
    return title;
}

} // namespace platform
