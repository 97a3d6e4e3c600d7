#pragma once
#include "platform/WebBrowser.h"

#include <QPointer>
#include <QUrl>
#include <memory>

class QLabel;
class QPrinter;
class QTimer;
class QWebEngineLoadingInfo;
class QWebEnginePage;
class QWebEngineView;

namespace platform {

class PopupLimit;
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

    void FindText(const QString &text, FindDirection direction, FindCase matchCase) override;
    void SetZoomFactor(double factor) override;
    double ZoomFactor() const override;
    void Print(QWidget *dialogParent) override;

    QWebEngineView *view() const { return view_; }
    QWebEnginePage *page() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class WebEngineBrowserPage;
    void connectPageTools();
    void printed(bool ok, const QString &pdfFile);
    bool allowNavigation(const QUrl &url, bool isMainFrame);
    bool decided(bool go, bool isMainFrame);
    void raiseHeldBegin();
    QWebEnginePage *openWindow();
    void onLoadingChanged(const QWebEngineLoadingInfo &info);
    void onRendererEnded(int status);
    void showEndedNotice();

    QWebEngineView *view_ = nullptr;
    QLabel *endedNotice_ = nullptr; // over the page when its renderer has ended; made then
    QTimer *settled_ = nullptr;     // a moment after a load ends, the heap gives back its free pages
    QPointer<WebEngineBrowserPage> page_;
    std::shared_ptr<PopupLimit> popups_; // shared with the windows its pages open
    // The engine reports a page's load from its start to its end; a navigation the
    // program refuses or stops still gets both, in an order of the engine's own.
    bool busy_ = false;
    bool loadOpen_ = false;     // a start reported, its end not yet
    bool beginHeld_ = false;    // that start not raised yet: the engine has still to ask about it
    bool quiet_ = false;        // the open load is a refused navigation's: not raised at all
    bool refusedAhead_ = false; // refused before its start: that start and its end are not raised
    bool refusedLoad_ = false;  // refused after its start was raised: its end only ends the download
    bool stoppedLoad_ = false;  // Stop ended a load whose end the engine has still to report
    bool stopped_ = false;      // Stop pressed, and no navigation of the user's or the page's since
    std::unique_ptr<QPrinter> printer_; // the print under way, until the engine is done with it
    int wheelAngle_ = 0;
    double zoom_ = 1.0;                 // the window's zoom, kept across sites
    QString zoomHost_;                  // the site of the page shown
    QString findText_; // the last search, told apart from a step to its next match
    FindCase findCase_ = FindCase::Ignore;
    bool findRestarting_ = false;                // Ctrl+wheel turns not yet a whole step (fine wheels, touchpads)
};

} // namespace platform
