#include "browser/VisitedLog.h"

#include "platform/Text.h"

namespace visitedlog {

using address::trimBlanks;

bool isSkipped(const QString &entry)
{
    return entry == QLatin1String("about:blank") || trimBlanks(entry).isEmpty();
}

AddressIndex::AddressIndex(const QStringList &entries)
{
    keys_.reserve(entries.size());
    for (const QString &e : entries)
        keys_.insert(trimBlanks(e));
}

bool AddressIndex::insertTrimmed(const QString &key)
{
    const qsizetype before = keys_.size();
    keys_.insert(key);
    return keys_.size() != before;
}

ReadLog readLines(const QList<QByteArray> &lines)
{
    ReadLog r;
    AddressIndex seen(lines.size());
    r.lines.reserve(lines.size());
    r.keys.reserve(lines.size());
    r.raw.reserve(lines.size());
    for (const QByteArray &raw : lines) {
        QString line = platform::fromAnsi(raw);
        if (isSkipped(line))
            continue;
        QString key = trimBlanks(line);
        if (!seen.insertTrimmed(key))
            continue;
        r.lines.append(std::move(line));
        r.keys.append(std::move(key));
        r.raw.append(raw);
    }
    return r;
}

MergeResult merge(const ReadLog &log, const QStringList &current)
{
    MergeResult r;
    const AddressIndex listed(current);
    qsizetype room = kMaxListEntries - current.size();
    for (qsizetype i = 0; i < log.lines.size(); ++i) {
        if (listed.containsTrimmed(log.keys.at(i)))
            continue;
        if (room > 0) {
            r.added.append(log.lines.at(i));
            --room;
        } else {
            r.overflow.append(log.raw.at(i));
        }
    }
    return r;
}

MergeResult mergeLines(const QList<QByteArray> &lines, const QStringList &current)
{
    return merge(readLines(lines), current);
}

QByteArray logBytes(const QStringList &entries, const QList<QByteArray> &overflow)
{
    QList<QByteArray> lines;
    lines.reserve(entries.size() + overflow.size());
    for (const QString &e : entries)
        if (!isSkipped(e))
            lines.append(platform::toAnsi(e));
    // Overflow lines passed the same filter when they were read.
    lines.append(overflow);
    return platform::joinLinesCrLf(lines);
}

} // namespace visitedlog
