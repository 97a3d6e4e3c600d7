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

private:
    QString homePage_ = QStringLiteral("about:blank");
    QString searchPage_;
};

} // namespace platform
