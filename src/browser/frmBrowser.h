#pragma once
#include "base/BrowserHost.h"
#include "base/Form.h"
#include "platform/WebBrowser.h"

#include <QByteArray>
#include <QIcon>
#include <QList>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class FindBar;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QShortcut;
class QStatusBar;
class QTimer;
class QToolBar;
class QWidget;

// The main window: the browser control, toolbar, address box, side buttons and
// status bar. Closing it ends the program.
class AddressListModel;
class LogReading;
namespace visitedlog {
struct ReadLog;
}

class frmBrowser : public Form, public BrowserHost {
    Q_OBJECT
public:
    frmBrowser();
    ~frmBrowser() override;

    // Controls (other windows reach some of them: the address box, the timer,
    // the browser control and Command1's caption).
    QToolBar *tbToolBar = nullptr;
    QWidget *picAddress = nullptr;
    QPushButton *Command1 = nullptr;
    QLabel *lblAddress = nullptr;
    QComboBox *cboAddress = nullptr;
    QPushButton *Command2 = nullptr;
    QCheckBox *Check1 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command5 = nullptr;
    QPushButton *Command6 = nullptr;
    QPushButton *Command7 = nullptr;
    QCheckBox *Check2 = nullptr;
    std::array<QPushButton *, 6> Command8{};
    platform::WebBrowser *brwWebBrowser = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QLabel *StatusPanel1 = nullptr; // panel 1: status text
    QLabel *StatusPanel2 = nullptr; // panel 2: progress bar of "I"
    QTimer *timTimer = nullptr;
    std::array<QIcon, 6> imlIcons; // toolbar images: Back, Forward, Stop, Refresh, Home, Search

    void Form_Load() override;
    void Form_Unload() override;
    void Form_Resize();

    // BrowserHost
    QWidget *hostWindow() override { return this; }
    QWidget *editButton() override;
    QString pagePath() const override { return Tag; }
    void refreshPage() override;
    void openAddress(const QString &address) override;

    // Navigation
    void cboAddress_KeyPress(int keyAscii);
    void cboAddress_Click();
    void tbToolBar_ButtonClick(const QString &key);
    void timTimer_Timer();

    // Side commands
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click(int Index);
    void Check2_Click();
    void lblAddress_DblClick();

    // Browser control events
    void brwWebBrowser_StatusTextChange(const QString &Text);
    void brwWebBrowser_ProgressChange(qint32 Progress, qint32 ProgressMax);
    void brwWebBrowser_DownloadBegin();
    void brwWebBrowser_DownloadComplete();
    void brwWebBrowser_TitleChange(const QString &Text);
    void brwWebBrowser_BeforeNavigate2(const QString &URL, bool *Cancel);
    void brwWebBrowser_NewWindow2(bool *Cancel);
    void brwWebBrowser_NavigateComplete2(const QString &URL);
    void brwWebBrowser_DocumentComplete(const QString &URL);
    void brwWebBrowser_FileDownload(bool *Cancel);
    // Draws the progress bar of "I" on panel 2.
    void PercentBar(qint32 done, qint32 total);

    // Visited-links log
    void ReadVisitedLog();
    void WriteVisitedLog();
    // The log read at load joins the list once the first page has shown (read with the
    // engine starting, a full log slowed the page down), or as soon as the list is
    // needed: the user reaches for the box, the program adds to the list or reads it.
    void joinVisitedLog();
    bool visitedLogJoined() const { return !logPending_; }
    // Runs `step` on the list after the log has joined it: at once when it has.
    void whenLogJoined(std::function<void()> step);
    // Adds an entry at the end of the address list (after the log read at load); the
    // text in the box stays as it is.
    void addListEntry(const QString &entry);

    // The log's full path: beside the program.
    static QString visitedLogPath();

    // Keys, find, zoom and print. Each key runs what its button runs.
    FindBar *findBar = nullptr;
    void focusAddressBox();
    void newCopy();
    void toggleFullScreen();
    void escapePressed();
    void openFindBar();
    void findInPage(platform::WebBrowser::FindDirection direction);
    void zoomBy(int steps);
    void zoomReset();
    void printPage();

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    bool event(QEvent *event) override;

private:
    void createToolBar();
    void createAddressStrip();
    void createStatusBar();
    void connectBrowser();
    void createShortcuts();
    void connectPageTools();
    // Above the status bar, the page shortened to make room.
    void placeFindBar();
    void makeFindBar();
    // Escape is the page's own key except while a page loads.
    void updateEscapeKey();
    void printFinished(bool ok, const QString &pdfFile);
    // Keeps the docked bars across the width (the status bar at the bottom).
    void dockBars();
    void setCommand1Caption(const QString &webCaption);
    void busyTick();
    // The controls in their tab order, those that cannot take the focus included.
    QList<QWidget *> tabOrder() const;

    void readVisitedLogLater();
    // Arms the join of the log read at load to start its reading in `ms`, unless armed sooner.
    void joinVisitedLogIn(int ms);
    void visitedLogTimeout();
    void mergeVisitedLog(visitedlog::ReadLog &&log);
    void listFinishedPage(const QString &boxText);

    // Log lines that did not fit in the address list at the last read; written back
    // after the list so a rewrite never drops them.
    QList<QByteArray> logOverflow_;
    // Lines of the log at the last read: the rewrite adds none to a log that holds more
    // than the list can (written by hand), and never grows one past the list's bound.
    qsizetype logLines_ = 0;
    // The address box's list (owned by the box).
    AddressListModel *addressList_ = nullptr;
    // The log read at load, while it has not joined the list yet.
    bool logPending_ = false;
    std::unique_ptr<LogReading> logReading_;
    QTimer *logJoin_ = nullptr;
    QTimer *statusPaint_ = nullptr;
    void holdStatusPaint();
    std::vector<std::function<void()>> afterLogJoin_;
    // The loading branch of the tick yields and asks; a tick arriving meanwhile waits
    // for the next second instead of asking or ending processes a second time.
    bool busyTickRunning_ = false;
    // True while the address box's edit reports the end of an edit (Enter, focus out).
    bool editFinishing_ = false;
    // The text the user last typed into the address box, while it is theirs: until they
    // navigate or leave the box. The tick leaves it in place.
    std::optional<QString> typedAddress_;
    bool userEditsAddress() const;
    void showPageAddress(const QString &url);
    // Opened maximised on request: kept so until the first page shows (the engine's
    // view may give the window a new native window on the way).
    bool keepMaximized_ = false;
    QShortcut *escapeKey_ = nullptr;
    bool maximizedBeforeFullScreen_ = false;
};
