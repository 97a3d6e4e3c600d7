// The visited-links log: lines cut from the file, merged into the address list,
// written back. Every kept line must come back byte for byte, none may be lost.
#include "FuzzCheck.h"

#include "browser/AddressRules.h"
#include "browser/VisitedLog.h"
#include "platform/Text.h"

#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    // The list's cap (tens of thousands of entries) is left to the unit tests: a list
    // that long would slow every run a hundredfold.
    QStringList current;
    const int listed = in.ConsumeIntegralInRange<int>(0, 4);
    for (int i = 0; i < listed; ++i)
    {
        // Entries come from a one-line box or a log line: never a line break.
        QByteArray entry = fuzz::takeBytes(in, 40);
        entry.replace('\r', ' ').replace('\n', ' ');
        current << platform::fromAnsi(entry);
    }
    const QByteArray file = fuzz::restBytes(in);

    const QList<QByteArray> lines = platform::splitLines(file);
    qsizetype cutBytes = 0;
    for (const QByteArray &l : lines) {
        FUZZ_CHECK(!l.contains('\r') && !l.contains('\n'));
        // Any byte sequence decodes and encodes back unchanged.
        FUZZ_CHECK(platform::toAnsi(platform::fromAnsi(l)) == l);
        cutBytes += l.size();
    }
    qsizetype ends = 0;
    for (char c : file)
        ends += (c == '\r' || c == '\n');
    FUZZ_CHECK(cutBytes + ends == file.size());

    const visitedlog::MergeResult merged = visitedlog::mergeLines(lines, current);
    FUZZ_CHECK(current.size() + merged.added.size() <= qMax<qsizetype>(current.size(), visitedlog::kMaxListEntries));

    // Added and overflow lines are read lines, in file order, untouched.
    qsizetype next = 0;
    QList<QByteArray> kept;
    for (const QString &a : merged.added)
        kept << platform::toAnsi(a);
    kept << merged.overflow;
    for (const QByteArray &k : kept) {
        while (next < lines.size() && lines[next] != k)
            ++next;
        FUZZ_CHECK(next < lines.size());
        ++next;
    }

    // Each address joins once, and not when it is listed already; the hashes handed on
    // with the added lines are those of their trimmed texts.
    QSet<QString> known;
    for (const QString &c : current)
        known.insert(address::trimBlanks(c));
    FUZZ_CHECK(merged.addedHashes.size() == merged.added.size());
    for (qsizetype i = 0; i < kept.size(); ++i) {
        const QString key = address::trimBlanks(platform::fromAnsi(kept[i]));
        FUZZ_CHECK(!known.contains(key));
        known.insert(key);
        if (i < merged.added.size())
            FUZZ_CHECK(merged.addedHashes[i] == qHash(key));
    }

    // The whole file read at once (as at start) merges as its lines do.
    const visitedlog::MergeResult whole = visitedlog::merge(visitedlog::readLog(file), current);
    FUZZ_CHECK(whole.added == merged.added && whole.overflow == merged.overflow && whole.addedHashes == merged.addedHashes);

    // No read line is lost: each one is skipped, or listed (trimmed) before or after.
    for (const QByteArray &l : lines) {
        const QString s = platform::fromAnsi(l);
        FUZZ_CHECK(visitedlog::isSkipped(s) || known.contains(address::trimBlanks(s)));
    }

    // The write-back: listed entries, then the added lines and the overflow, each
    // exactly as read.
    const QStringList list = current + merged.added;
    const QByteArray written = visitedlog::logBytes(list, merged.overflow);
    QList<QByteArray> expected;
    for (const QString &e : list)
        if (!visitedlog::isSkipped(e))
            expected << platform::toAnsi(e);
    expected << merged.overflow;
    FUZZ_CHECK(platform::splitLines(written) == expected);
    FUZZ_CHECK(written.isEmpty() || written.endsWith("\r\n"));

    // Reading the written log back into the same list adds nothing.
    const visitedlog::MergeResult again = visitedlog::mergeLines(platform::splitLines(written), list);
    FUZZ_CHECK(again.added.isEmpty());
    for (const QByteArray &o : again.overflow)
        FUZZ_CHECK(merged.overflow.contains(o));
    return 0;
}
