#include "browser/VisitedLog.h"

#include "platform/Ansi.h"
#include "platform/Text.h"

#include <algorithm>

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

namespace {

// Keeps each readable address's first line; `bytes` already holds the lines.
void keepFirstLines(ReadLog &r, const QList<std::pair<qsizetype, qsizetype>> &spans)
{
    AddressIndex seen(spans.size());
    r.lines.reserve(spans.size());
    r.keyHashes.reserve(spans.size());
    r.spans.reserve(spans.size());
    for (const auto &span : spans) {
        QString line = platform::fromAnsi(QByteArrayView(r.bytes).sliced(span.first, span.second));
        if (isSkipped(line))
            continue;
        const QString key = trimBlanks(line);
        if (!seen.insertTrimmed(key))
            continue;
        r.keyHashes.append(qHash(key));
        r.lines.append(std::move(line));
        r.spans.append(span);
    }
}

// Entries already listed, compared trimmed. A list read at start holds one or two:
// they are compared by the hashes the reading kept, so that the log's strings need
// not be touched again (32,767 of them lie scattered in memory).
class Listed {
public:
    explicit Listed(const QStringList &entries) : many_(entries.size() > 16)
    {
        if (many_) {
            index_ = AddressIndex(entries);
            return;
        }
        for (const QString &e : entries) {
            few_.append(trimBlanks(e));
            hashes_.append(qHash(few_.last()));
        }
    }
    bool contains(const ReadLog &log, qsizetype i) const
    {
        if (many_)
            return index_.contains(log.lines.at(i));
        for (qsizetype k = 0; k < hashes_.size(); ++k)
            if (hashes_.at(k) == log.keyHashes.at(i) && few_.at(k) == trimBlanks(log.lines.at(i)))
                return true;
        return false;
    }

private:
    bool many_;
    QStringList few_;
    QList<size_t> hashes_;
    AddressIndex index_;
};

} // namespace

ReadLog readLog(const QByteArray &file)
{
    ReadLog r;
    r.bytes = file;
    QList<std::pair<qsizetype, qsizetype>> spans;
    const auto found = platform::ansi::lineSpans(std::string_view(file.constData(), size_t(file.size())));
    spans.reserve(qsizetype(found.size()));
    for (const auto &[offset, length] : found)
        spans.emplaceBack(qsizetype(offset), qsizetype(length));
    keepFirstLines(r, spans);
    return r;
}

ReadLog readLines(const QList<QByteArray> &lines)
{
    ReadLog r;
    QList<std::pair<qsizetype, qsizetype>> spans;
    spans.reserve(lines.size());
    for (const QByteArray &line : lines) {
        spans.emplaceBack(r.bytes.size(), line.size());
        r.bytes += line;
    }
    keepFirstLines(r, spans);
    return r;
}

MergeResult merge(ReadLog &&log, const QStringList &current)
{
    MergeResult r;
    const Listed listed(current);
    qsizetype room = kMaxListEntries - current.size();
    r.added.reserve(std::min(log.lines.size(), std::max<qsizetype>(room, 0)));
    for (qsizetype i = 0; i < log.lines.size(); ++i) {
        if (listed.contains(log, i))
            continue;
        if (room > 0) {
            r.added.append(std::move(log.lines[i]));
            --room;
        } else {
            const auto &[offset, length] = log.spans.at(i);
            r.overflow.append(log.bytes.mid(offset, length));
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
