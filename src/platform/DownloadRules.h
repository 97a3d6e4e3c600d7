#pragma once
#include <QElapsedTimer>
#include <QString>
#include <deque>

namespace platform {

// The name a site suggests for a download, made safe to create in the download
// folder: its last path name only, no control characters, not hidden, not a name
// Windows reserves, no trailing dots or blanks, at most 200 bytes; "download" when
// nothing is left.
QString safeDownloadName(const QString &suggested);
inline constexpr int kMaxDownloadNameBytes = 200;
// Space a download always leaves free on the disk of the download folder: one that
// would take it is refused, or stopped.
inline constexpr qint64 kDiskReserveBytes = 64 * 1024 * 1024;

// Creates a new empty file in the folder under the name, else "a (1).zip",
// "a (2).zip", ..., and returns the name it took; empty when none could be made.
// The file is made exclusively, so two downloads (of this program or of two copies
// of it) never get the same name, nor an existing file's.
QString reserveDownloadFile(const QString &folder, const QString &name);

// The downloads one page may start: a few at once and a few a minute. A page that
// starts downloads in a loop gets those few; the rest are refused.
class DownloadLimit {
public:
    static constexpr int kMaxAtOnce = 3;
    static constexpr int kMaxPerMinute = 6;

    DownloadLimit() { clock_.start(); }
    bool mayStart(int running) { return mayStart(running, clock_.elapsed()); }
    // One that may, counts against its minute (nowMs on a steady clock).
    bool mayStart(int running, qint64 nowMs);

private:
    QElapsedTimer clock_;
    std::deque<qint64> started_;
};

} // namespace platform
