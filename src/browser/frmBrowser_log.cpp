#include "browser/frmBrowser.h"

#include "browser/AddressListModel.h"
#include "browser/LogReading.h"
#include "browser/VisitedLog.h"
#include "platform/Files.h"
#include "platform/Processes.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "platform/Text.h"
#include "platform/Ui.h"

#include <QComboBox>
#include <QTimer>

#include <algorithm>
#include <optional>
#include <utility>

namespace {

// The hourglass for the whole reading, back to the arrow however it ends.
class WaitCursor {
public:
    WaitCursor() { platform::ui().setWaitCursor(true); }
    ~WaitCursor() { platform::ui().setWaitCursor(false); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

// When the first page is slow to complete (or never does), the log joins anyway.
constexpr int kJoinAtTheLatestMs = 3000;
// How often a decoding under way is looked at.
constexpr int kDecodingLookMs = 10;

} // namespace

QString frmBrowser::visitedLogPath()
{
    return platform::files().dataFile(visitedlog::fileName());
}

void frmBrowser::readVisitedLogLater()
{
    logPending_ = true;
    joinVisitedLogIn(kJoinAtTheLatestMs);
}

void frmBrowser::joinVisitedLogIn(int ms)
{
    if (!logPending_ || logReading_->started())
        return;
    if (!logJoin_->isActive() || logJoin_->remainingTime() > ms)
        logJoin_->start(ms);
}

void frmBrowser::visitedLogTimeout()
{
    if (!logPending_)
        return;
    if (!logReading_->started()) {
        try {
            logReading_->start(visitedLogPath());
        } catch (...) {
            joinVisitedLog(); // reads it here, or lists nothing
            return;
        }
    }
    if (logReading_->ready())
        joinVisitedLog();
    else
        logJoin_->start(kDecodingLookMs);
}

void frmBrowser::joinVisitedLog()
{
    if (!logPending_)
        return;
    logPending_ = false;
    logJoin_->stop();
    try {
        std::optional<WaitCursor> wait;
        if (!logReading_->ready())
            wait.emplace();
        if (!logReading_->started())
            logReading_->start(visitedLogPath());
        mergeVisitedLog(logReading_->take());
    } catch (...) {
    }
    // What the program did to the list meanwhile follows the log, as it would have.
    for (const auto &step : std::exchange(afterLogJoin_, {})) {
        try {
            step();
        } catch (...) {
        }
    }
}

void frmBrowser::whenLogJoined(std::function<void()> step)
{
    if (logPending_)
        afterLogJoin_.push_back(std::move(step));
    else
        step();
}

void frmBrowser::ReadVisitedLog()
{
    if (logPending_) {
        const bool readNow = !logReading_->started();
        joinVisitedLog();
        if (readNow)
            return; // the file was read just now
    }
    try {
        WaitCursor wait;
        logOverflow_.clear();
        // A missing or unreadable log reads as an empty one.
        const auto data = platform::files().readAll(visitedLogPath());
        if (!data)
            return;
        mergeVisitedLog(visitedlog::readLog(*data));
    } catch (...) {
    }
}

void frmBrowser::mergeVisitedLog(visitedlog::ReadLog &&log)
{
    logOverflow_.clear();
    logLines_ = log.lines.size();
    visitedlog::MergeResult merged = visitedlog::merge(std::move(log), addressList_->entries());
    logOverflow_ = std::move(merged.overflow);
    if (merged.added.isEmpty())
        return;
    // Filling an empty list would select its first entry and overwrite the typed text.
    const QString typed = cboAddress->currentText();
    addressList_->append(std::move(merged.added), std::move(merged.addedHashes));
    if (cboAddress->currentText() != typed)
        cboAddress->setEditText(typed);
}

void frmBrowser::WriteVisitedLog()
{
    joinVisitedLog();
    try {
        // Written beside the log and renamed over it: a failure keeps the old log whole
        // (in a read-only folder a writable log is rewritten in place).
        platform::files().replaceFile(visitedLogPath(),
                                      visitedlog::logBytes(addressList_->entries(), logOverflow_,
                                                           std::max<qsizetype>(visitedlog::kMaxListEntries, logLines_)));
    } catch (...) {
    }
}

void frmBrowser::Command2_Click() { ReadVisitedLog(); }

void frmBrowser::Command5_Click()
{
    try {
        const QString path = visitedLogPath();
        auto &processes = platform::processes();
        for (const char *editor : {"C:\\Windows\\Notepad.exe", "C:\\WinNT\\Notepad.exe"})
            if (!processes.start(QString::fromLatin1(editor), {path}))
                return;
        const auto noEditor = [path] {
            platform::ui().beep();
            platform::ui().MsgBox(QStringLiteral("Non trovo un editor di testo per aprire ") + path,
                                  platform::vbExclamation, QStringLiteral("Varia storia"));
        };
        if (!platform::shell().openInTextEditor(path, noEditor))
            noEditor();
    } catch (...) {
    }
}
