#pragma once
#include "platform/WebBrowser.h"

#include <QList>
#include <QPointer>
#include <QUrl>

class QWebEngineLoadingInfo;
class QWebEnginePage;
class QWebEngineView;

namespace platform {

class WebEngineBrowserPage;

// The browser control on Qt WebEngine. Pages run in the process's shared profile
// (platform/WebEngineProfile.h); local files are reported and reached in Windows form.
class WebEngineBrowser : public WebBrowser {
    Q_OBJECT
public:
    explicit WebEngineBrowser(QWidget *parent = nullptr);
    ~WebEngineBrowser() override;

    void Navigate(const QString &url) override;
    void GoBack() override;
    void GoForward() override;
    void GoHome() override;
    void GoSearch() override;
    void Refresh() override;
    void Stop() override;
    bool Busy() const override;
    QString LocationURL() const override;
    QString LocationName() const override;

    QWebEngineView *view() const { return view_; }
    QWebEnginePage *page() const;

private:
    friend class WebEngineBrowserPage;
    bool allowNavigation(const QUrl &url, bool isMainFrame);
    QWebEnginePage *openWindow();
    void onLoadingChanged(const QWebEngineLoadingInfo &info);

    QWebEngineView *view_ = nullptr;
    QPointer<WebEngineBrowserPage> page_;
    QList<QUrl> refused_; // main-frame navigations refused, whose load is still to end
    bool busy_ = false;
    bool quiet_ = false;  // inside the load of a refused navigation
};

} // namespace platform
