#pragma once
#include "platform/WebBrowser.h"

class QWebEngineView;

namespace platform {

// The browser control on Qt WebEngine.
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

private:
    QWebEngineView *view_ = nullptr;
    bool busy_ = false;
};

} // namespace platform
