#pragma once
#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <limits>
#include <utility>
#include <vector>

#include "browser/AddressRules.h"

// The rules of the visited-links log (LANTERNA.DAT), kept apart from the window so
// they can be tested and timed on their own.
namespace visitedlog {

// The address list counts with 16-bit signed numbers.
inline constexpr int kMaxListEntries = 32767;

inline QString fileName() { return QStringLiteral("LANTERNA.DAT"); }

// True for an entry the log never holds: blank, or exactly "about:blank".
bool isSkipped(const QString &entry);

// Entries compared with surrounding blanks removed, exact and case-sensitive.
class AddressIndex {
public:
    AddressIndex() = default;
    explicit AddressIndex(const QStringList &entries);
    bool contains(const QString &entry) const { return keys_.contains(address::trimBlanks(entry)); }

private:
    QSet<QString> keys_;
};

// A log's lines ready to join a list: decoded, blank and "about:blank" lines left out,
// each address at its first line only. The costly part of a merge, which needs no list.
// The bytes of the lines stay in one block: a copy per line is needed only for lines
// that overflow the list, seldom any.
struct ReadLog {
    QStringList lines;       // decoded, as read (not trimmed)
    QList<size_t> keyHashes; // hashes of the same, trimmed: compared first
    QByteArray bytes;        // the lines' bytes, as read
    std::vector<std::pair<std::size_t, std::size_t>> spans; // where each kept line lies in `bytes`
};
// From a whole log file, lines ended by CR LF, LF or CR.
ReadLog readLog(const QByteArray &file);
ReadLog readLines(const QList<QByteArray> &lines);

struct MergeResult {
    QStringList added;       // lines for the end of the list, as read (not trimmed)
    QList<size_t> addedHashes; // hashes of the same, trimmed
    QList<QByteArray> overflow; // new lines that no longer fit in the list, as read
};

// Decides which log lines join a list that already holds `current`: blank lines,
// "about:blank" and entries already listed (this merge's own included) are skipped;
// the list never grows past kMaxListEntries, and what does not fit is returned as
// overflow so a rewrite of the log keeps it.
MergeResult mergeLines(const QList<QByteArray> &lines, const QStringList &current);
// Takes the log's lines: a log read at start is not needed afterwards.
MergeResult merge(ReadLog &&log, const QStringList &current);

// The bytes of the log for these entries: one CR LF line each, skipped entries left
// out, every character written back as the byte it was read from; overflow lines only
// while the log stays within maxLines.
QByteArray logBytes(const QStringList &entries, const QList<QByteArray> &overflow = {},
                    qsizetype maxLines = std::numeric_limits<qsizetype>::max());

} // namespace visitedlog
