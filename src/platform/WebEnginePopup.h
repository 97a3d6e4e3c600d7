#pragma once
#include <QWidget>
#include <memory>

class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineView;

namespace platform {

class PopupLimit;

// A window a page asked for, opened the browser control's default way: a plain
// top-level window with a view of its own that follows the page's title, size and
// close requests and is destroyed when closed. Windows its page opens in turn open
// the same way, within the same limit as the page that opened it.
class WebEnginePopup : public QWidget {
    Q_OBJECT
public:
    WebEnginePopup(QWebEngineProfile *profile, std::shared_ptr<PopupLimit> limit);

    // A new window, shown and counted in the limit; the caller has asked the limit.
    static WebEnginePopup *open(QWebEngineProfile *profile, const std::shared_ptr<PopupLimit> &limit);

    QWebEngineView *view() const { return view_; }
    QWebEnginePage *page() const;

private:
    QWebEngineView *view_ = nullptr;
};

// Asks the limit whether a page may have the window it asks for. Once it may not,
// the page's scripts open no more windows until it loads again: the engine then
// turns them down itself, at once, where each would otherwise cost it a new page
// before the request even reaches the program. A click of the user still asks.
bool mayOpenWindow(QWebEnginePage *page, PopupLimit &limit);
// A page that starts loading a new document may ask again.
void windowsAllowedAgain(QWebEnginePage *page);

} // namespace platform
