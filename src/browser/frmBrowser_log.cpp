#include "browser/frmBrowser.h"

#include "browser/AddressListModel.h"
#include "browser/VisitedLog.h"
#include "platform/Files.h"
#include "platform/Processes.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "platform/Text.h"
#include "platform/Ui.h"

#include <QComboBox>

#include <future>
#include <optional>
#include <system_error>

namespace {

// The hourglass for the whole reading, back to the arrow however it ends.
class WaitCursor {
public:
    WaitCursor() { platform::ui().setWaitCursor(true); }
    ~WaitCursor() { platform::ui().setWaitCursor(false); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

// The reading made before the window exists, taken by the first ReadVisitedLog. The
// file is read at once; its decoding runs on a thread of its own while the engine starts.
std::future<std::optional<visitedlog::ReadLog>> &earlyReading()
{
    static std::future<std::optional<visitedlog::ReadLog>> reading;
    return reading;
}

} // namespace

void frmBrowser::readVisitedLogEarly()
{
    try {
        earlyReading() = {};
        auto data = platform::files().readAll(visitedLogPath());
        if (!data)
            return;
        auto decode = [bytes = std::move(*data)]() -> std::optional<visitedlog::ReadLog> {
            try {
                return visitedlog::readLog(bytes);
            } catch (...) {
                return std::nullopt; // the window reads the file again
            }
        };
        try {
            earlyReading() = std::async(std::launch::async, decode);
        } catch (const std::system_error &) {
            // No thread to be had: decoded here, as it would be without one.
            std::promise<std::optional<visitedlog::ReadLog>> now;
            now.set_value(decode());
            earlyReading() = now.get_future();
        }
    } catch (...) {
        earlyReading() = {};
    }
}

QString frmBrowser::visitedLogPath()
{
    return platform::files().dataFile(visitedlog::fileName());
}

void frmBrowser::ReadVisitedLog()
{
    try {
        WaitCursor wait;
        logOverflow_.clear();
        visitedlog::ReadLog log;
        std::optional<visitedlog::ReadLog> early;
        if (earlyReading().valid())
            early = earlyReading().get(); // waits for the decoding, if still going on
        if (early) {
            log = std::move(*early);
        } else {
            // A missing or unreadable log reads as an empty one.
            const auto data = platform::files().readAll(visitedLogPath());
            if (!data)
                return;
            log = visitedlog::readLog(*data);
        }
        visitedlog::MergeResult merged = visitedlog::merge(std::move(log), addressList_->entries());
        logOverflow_ = std::move(merged.overflow);
        if (merged.added.isEmpty())
            return;
        // Filling an empty list would select its first entry and overwrite the typed text.
        const QString typed = cboAddress->currentText();
        addressList_->append(std::move(merged.added), std::move(merged.addedHashes));
        if (cboAddress->currentText() != typed)
            cboAddress->setEditText(typed);
    } catch (...) {
    }
}

void frmBrowser::WriteVisitedLog()
{
    try {
        // Written beside the log and renamed over it: a failure keeps the old log whole
        // (in a read-only folder a writable log is rewritten in place).
        platform::files().replaceFile(visitedLogPath(),
                                      visitedlog::logBytes(addressList_->entries(), logOverflow_));
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
