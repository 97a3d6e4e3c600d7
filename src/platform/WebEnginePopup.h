#pragma once
#include <QWidget>

class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineView;

namespace platform {

// A window a page asked for, opened the browser control's default way: a plain
// top-level window with a view of its own that follows the page's title, size and
// close requests and is destroyed when closed. Windows its page opens in turn open
// the same way.
class WebEnginePopup : public QWidget {
    Q_OBJECT
public:
    explicit WebEnginePopup(QWebEngineProfile *profile);

    QWebEngineView *view() const { return view_; }
    QWebEnginePage *page() const;

private:
    QWebEngineView *view_ = nullptr;
};

} // namespace platform
