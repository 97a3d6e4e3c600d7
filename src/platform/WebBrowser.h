#pragma once
#include <QString>
#include <QWidget>

namespace platform {

// The browser control. Events are signals named as the control's events; connect
// them with direct connections so a handler can set *cancel.
class WebBrowser : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    virtual void Navigate(const QString &url) = 0;
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    virtual void GoHome() = 0;
    virtual void GoSearch() = 0;
    virtual void Refresh() = 0;
    virtual void Stop() = 0;

    virtual bool Busy() const = 0;
    // Local files in Windows form: file:///C:/HOME-PAG/INIZIO.HTM
    virtual QString LocationURL() const = 0;
    virtual QString LocationName() const = 0;

    // Where GoHome and GoSearch lead; set by the program.
    void setHomePage(const QString &url) { homePage_ = url; }
    void setSearchPage(const QString &url) { searchPage_ = url; }
    QString homePage() const { return homePage_; }
    QString searchPage() const { return searchPage_; }

    // Find, zoom and print: the page commands behind the window's keys.
    enum class FindDirection { Forward, Backward };
    enum class FindCase { Ignore, Match };
    // Moves to the next (or previous) match of `text`; an empty text ends the search and
    // clears its highlights. The count comes with FindResult.
    virtual void FindText(const QString &text, FindDirection direction, FindCase matchCase) = 0;
    virtual void SetZoomFactor(double factor) = 0;
    virtual double ZoomFactor() const = 0;
    // Opens the system's print dialog (parent: the window asking) and prints the page as
    // chosen there. A PDF file holds the page's text. The outcome comes with PrintFinished;
    // a cancelled dialog gives none.
    virtual void Print(QWidget *dialogParent) = 0;

signals:
    void BeforeNavigate2(const QString &url, bool *cancel);
    void NewWindow2(bool *cancel);
    void NavigateComplete2(const QString &url);
    void DocumentComplete(const QString &url);
    void DownloadBegin();
    void DownloadComplete();
    void ProgressChange(qint32 progress, qint32 progressMax);
    void StatusTextChange(const QString &text);
    void TitleChange(const QString &text);
    void FileDownload(bool *cancel);
    // The page commands' answers: the active match (from 1) of `matches`; Ctrl+wheel
    // over the page, in wheel steps (up > 0); a print's end, with the PDF file written.
    void FindResult(int activeMatch, int matches);
    void ZoomWheel(int steps);
    void PrintFinished(bool ok, const QString &pdfFile);

private:
    QString homePage_ = QStringLiteral("about:blank");
    QString searchPage_;
};

} // namespace platform
