#include "platform/WebEnginePopup.h"

#include "platform/PopupLimit.h"
#include "platform/WebEnginePage.h"
#include "platform/WebEngineProfile.h"

#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace platform {

namespace {

class PopupPage : public EnginePage {
public:
    PopupPage(QWebEngineProfile *profile, std::shared_ptr<PopupLimit> limit, QObject *parent)
        : EnginePage(profile, parent), limit_(std::move(limit))
    {
        connect(this, &QWebEnginePage::loadStarted, this, [this] { windowsAllowedAgain(this); });
        usePathFixup(this);
    }

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType, bool isMainFrame) override
    {
        if (isMainFrame)
            preparePathFixup(this, url);
        return true;
    }

    QWebEnginePage *createWindow(WebWindowType) override
    {
        if (!takeUserWindow() && !mayOpenWindow(this, *limit_))
            return nullptr;
        return WebEnginePopup::open(profile(), limit_)->page();
    }

private:
    std::shared_ptr<PopupLimit> limit_;
};

} // namespace

bool mayOpenWindow(QWebEnginePage *page, PopupLimit &limit)
{
    if (limit.mayAsk())
        return true;
    page->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    return false;
}

void windowsAllowedAgain(QWebEnginePage *page)
{
    page->settings()->resetAttribute(QWebEngineSettings::JavascriptCanOpenWindows);
}

WebEnginePopup *WebEnginePopup::open(QWebEngineProfile *profile, const std::shared_ptr<PopupLimit> &limit)
{
    auto *w = new WebEnginePopup(profile, limit);
    limit->opened(w);
    w->show();
    return w;
}

WebEnginePopup::WebEnginePopup(QWebEngineProfile *profile, std::shared_ptr<PopupLimit> limit)
    : view_(new QWebEngineView(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    auto *p = new PopupPage(profile, limit ? std::move(limit) : std::make_shared<PopupLimit>(), view_);
    view_->setPage(p);
    resize(800, 600);

    connect(p, &QWebEnginePage::titleChanged, this, &QWidget::setWindowTitle);
    connect(p, &QWebEnginePage::windowCloseRequested, this, &QWidget::close);
    connect(p, &QWebEnginePage::geometryChangeRequested, this, [this](const QRect &g) {
        // window.open(..., "width=...,height=...") asks for the page's area.
        if (g.width() > 0 && g.height() > 0)
            resize(qMax(g.width(), 100), qMax(g.height(), 100));
        if (g.x() != 0 || g.y() != 0)
            move(g.topLeft());
    });
    destroyBeforeProfile(this);
}

QWebEnginePage *WebEnginePopup::page() const { return view_->page(); }

} // namespace platform
