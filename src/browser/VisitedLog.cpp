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

namespace {

// The kept lines by their trimmed text: an open table of line numbers, far smaller than
// a set of strings. A full log's reading is paid in fresh pages, each one slow to get.
template <typename Number>
class FirstLines {
public:
    explicit FirstLines(std::size_t expected)
    {
        std::size_t size = 16;
        while (size < expected * 2)
            size *= 2;
        slots_.assign(size, 0);
    }
    // False when an earlier kept line reads the same; otherwise `line` (the number of
    // the line just appended to `r.lines`) is remembered.
    bool insert(const ReadLog &r, qsizetype line)
    {
        const std::size_t mask = slots_.size() - 1;
        const size_t hash = r.keyHashes.at(line);
        const QStringView key = address::blanksTrimmed(r.lines.at(line));
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const Number held = slots_[i];
            if (held == 0) {
                slots_[i] = Number(line + 1);
                return true;
            }
            const qsizetype other = qsizetype(held - 1);
            if (r.keyHashes.at(other) == hash && address::blanksTrimmed(r.lines.at(other)) == key)
                return false;
        }
    }

private:
    std::vector<Number> slots_; // line number + 1; 0 is free
};

// Keeps each readable address's first line; `bytes` already holds the lines.
template <typename Number>
void keepFirstLines(ReadLog &r, std::vector<std::pair<std::size_t, std::size_t>> &&spans)
{
    FirstLines<Number> seen(spans.size());
    // Room too for the few entries a list holds when its log is read at start: they join
    // in front of these lines without the lines being copied.
    constexpr qsizetype kRoomForListed = 16;
    r.lines.reserve(qsizetype(spans.size()) + kRoomForListed);
    r.keyHashes.reserve(qsizetype(spans.size()) + kRoomForListed);
    std::size_t kept = 0;
    for (const auto &span : spans) {
        QString line = platform::fromAnsi(QByteArrayView(r.bytes).sliced(qsizetype(span.first), qsizetype(span.second)));
        if (line == QLatin1String("about:blank"))
            continue;
        const QStringView key = address::blanksTrimmed(line);
        if (key.isEmpty())
            continue;
        r.keyHashes.append(qHash(key));
        r.lines.append(std::move(line));
        if (!seen.insert(r, r.lines.size() - 1)) {
            r.lines.removeLast();
            r.keyHashes.removeLast();
            continue;
        }
        spans[kept++] = span; // never ahead of the reading
    }
    spans.resize(kept);
    r.spans = std::move(spans);
}

void keepFirstLines(ReadLog &r, std::vector<std::pair<std::size_t, std::size_t>> &&spans)
{
    // Line numbers in 32 bits, half the table, for any log short of four billion lines.
    if (spans.size() < 0xffffffffu)
        keepFirstLines<quint32>(r, std::move(spans));
    else
        keepFirstLines<quint64>(r, std::move(spans));
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
    keepFirstLines(r, platform::ansi::lineSpans(std::string_view(file.constData(), size_t(file.size()))));
    return r;
}

ReadLog readLines(const QList<QByteArray> &lines)
{
    ReadLog r;
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    spans.reserve(size_t(lines.size()));
    for (const QByteArray &line : lines) {
        spans.emplace_back(size_t(r.bytes.size()), size_t(line.size()));
        r.bytes += line;
    }
    keepFirstLines(r, std::move(spans));
    return r;
}

MergeResult merge(ReadLog &&log, const QStringList &current)
{
    MergeResult r;
    const Listed listed(current);
    const qsizetype room = std::max<qsizetype>(kMaxListEntries - current.size(), 0);
    // The lines that join the list are gathered where they lie: a full log's list and
    // hashes are handed on whole, without a second copy.
    qsizetype kept = 0;
    for (qsizetype i = 0; i < log.lines.size(); ++i) {
        if (listed.contains(log, i))
            continue;
        if (kept < room) {
            if (kept != i) {
                log.lines[kept] = std::move(log.lines[i]);
                log.keyHashes[kept] = log.keyHashes.at(i);
            }
            ++kept;
        } else {
            const auto &[offset, length] = log.spans.at(size_t(i));
            r.overflow.append(log.bytes.mid(qsizetype(offset), qsizetype(length)));
        }
    }
    log.lines.resize(kept);
    log.keyHashes.resize(kept);
    r.added = std::move(log.lines);
    r.addedHashes = std::move(log.keyHashes);
    return r;
}

MergeResult mergeLines(const QList<QByteArray> &lines, const QStringList &current)
{
    return merge(readLines(lines), current);
}

QByteArray logBytes(const QStringList &entries, const QList<QByteArray> &overflow, qsizetype maxLines)
{
    QList<QByteArray> lines;
    lines.reserve(entries.size() + overflow.size());
    for (const QString &e : entries)
        if (!isSkipped(e))
            lines.append(platform::toAnsi(e));
    // Overflow lines passed the same filter when they were read.
    lines.append(overflow.first(std::clamp<qsizetype>(maxLines - lines.size(), 0, overflow.size())));
    return platform::joinLinesCrLf(lines);
}

} // namespace visitedlog
