#pragma once
#include <QString>

class QWidget;

// What the editor and the Favorites window may ask of the browser window, so that
// they need not know its class.
class BrowserHost {
public:
    virtual ~BrowserHost() = default;

    virtual QWidget *hostWindow() = 0;
    // Command1, next to which the editor's menu opens.
    virtual QWidget *editButton() = 0;
    // The page on display in path form (the window's Tag).
    virtual QString pagePath() const = 0;
    virtual void refreshPage() = 0;
    // Shows the address in the box, restarts the timer, navigates and sets Command1's caption.
    virtual void openAddress(const QString &address) = 0;
};

namespace forms {
// The browser window, loading it on first touch.
BrowserHost *browser();
// The browser window if it is loaded, else nullptr.
BrowserHost *loadedBrowser();
} // namespace forms
