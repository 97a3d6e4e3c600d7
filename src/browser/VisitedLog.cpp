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

bool AddressIndex::insertKey(const QString &key)
{
    const qsizetype before = keys_.size();
    keys_.insert(key);
    return keys_.size() != before;
}

MergeResult mergeLines(const QList<QByteArray> &lines, const QStringList &current)
{
    MergeResult r;
    AddressIndex index(current);
    qsizetype room = kMaxListEntries - current.size();
    for (const QByteArray &raw : lines) {
        const QString line = platform::fromAnsi(raw);
        if (isSkipped(line) || !index.insert(line))
            continue;
        if (room > 0) {
            r.added.append(line);
            --room;
        } else {
            r.overflow.append(raw);
        }
    }
    return r;
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
