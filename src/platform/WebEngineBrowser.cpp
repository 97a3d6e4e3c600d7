#include "platform/WebEngineBrowser.h"

#include <QVBoxLayout>
#include <QWebEngineView>

namespace platform {

WebEngineBrowser::WebEngineBrowser(QWidget *parent) : WebBrowser(parent), view_(new QWebEngineView(this))
{
    auto *l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(view_);
}
WebEngineBrowser::~WebEngineBrowser() = default;
void WebEngineBrowser::Navigate(const QString &url) { view_->setUrl(QUrl::fromUserInput(url)); }
void WebEngineBrowser::GoBack() { view_->back(); }
void WebEngineBrowser::GoForward() { view_->forward(); }
void WebEngineBrowser::GoHome() { Navigate(homePage()); }
void WebEngineBrowser::GoSearch() { Navigate(searchPage()); }
void WebEngineBrowser::Refresh() { view_->reload(); }
void WebEngineBrowser::Stop() { view_->stop(); }
bool WebEngineBrowser::Busy() const { return busy_; }
QString WebEngineBrowser::LocationURL() const { return view_->url().toString(); }
QString WebEngineBrowser::LocationName() const { return view_->title(); }

} // namespace platform
