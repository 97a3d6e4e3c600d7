#include "FaultHelpers.h"
#include "browser/VisitedLog.h"
#include "editor/PageRewrite.h"

#include <QTemporaryFile>

#include <csignal>

#include <iostream>
#include <map>
#include <random>
#include <thread>

namespace {

constexpr int kKills = 200;

// A page of some size, so that a kill often lands inside one of its writes.
QByteArray bigPage()
{
    QByteArray p = "<html>\r\n<head><title>Casa</title></head>\r\n<body background=\"SF01.JPG\">\r\n";
    for (int i = 0; i < 6000; ++i)
        p += "<p>Riga " + QByteArray::number(i) + " della pagina di casa, con un po' di testo \xE8 basta.</p>\r\n";
    p += "</body>\r\n</html>\r\n";
    return p;
}

// The time one operation takes in a forked copy of the driver, from a short run.
std::chrono::microseconds timeOne(QStringList args, const FaultDriver::Options &o)
{
    args << QStringLiteral("fork");
    FaultDriver d(args, o);
    if (!d.waitForLine(QStringLiteral("ready"), 60s))
        return {};
    const auto start = std::chrono::steady_clock::now();
    if (d.startChild(60s) <= 0 || !d.waitForLine(QStringLiteral("ended"), 120s))
        return {};
    const long n = std::max(1L, d.lastDone());
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start) / n;
}

// Files beside the target other than the expected ones: what a killed replacement leaves.
int strayFiles(const QString &folder, const QStringList &expected)
{
    int n = 0;
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        if (!expected.contains(name)) {
            ++n;
            QFile::remove(folder + QLatin1Char('/') + name);
        }
    return n;
}

} // namespace

class KillTest : public FaultTest {
protected:
    std::mt19937 random{seed()};

    // Drawn afresh, or taken from LANTERNA_KILL_SEED, and printed so that a run can be replayed.
    static unsigned seed()
    {
        bool given = false;
        unsigned s = qEnvironmentVariable("LANTERNA_KILL_SEED").toUInt(&given);
        if (!given)
            s = std::random_device{}();
        std::cout << "kill moments drawn with seed " << s << " (replay: LANTERNA_KILL_SEED=" << s << ")\n";
        ::testing::Test::RecordProperty("seed", std::to_string(s));
        return s;
    }

    // Starts the work in a fresh copy of the driver and kills that copy at a random
    // moment of its first few operations.
    void killAtRandom(FaultDriver &d, std::chrono::microseconds one)
    {
        const pid_t child = d.startChild(60s);
        ASSERT_GT(child, 0);
        // The moment of the kill is the injected fault itself, chosen at random over
        // the first three operations: not a wait for anything.
        std::uniform_int_distribution<long> moment(0, 3 * std::max<long>(one.count(), 1000));
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        ::kill(child, SIGKILL);
        ASSERT_TRUE(d.waitForLine(QStringLiteral("ended"), 60s));
    }
};

TEST_F(KillTest, PageRewriteKilledAnywhereLeavesTheOldOrTheNewPage)
{
    const QString page = QStringLiteral("C:\\HOME-PAG\\INIZIO.HTM");
    makeOwnedDir(QStringLiteral("C:\\HOME-PAG"));
    const QByteArray original = bigPage();
    writeOwned(page, original);
    // The page after each insertion the driver makes, as the engine computes it.
    std::vector<QByteArray> states{original};
    const auto state = [&](long k) -> const QByteArray & {
        while (long(states.size()) <= k) {
            const long n = long(states.size());
            states.push_back(rewrite::insertBlockTransform(
                states.back(), QStringLiteral("<H2><p>Scritta %1</p></H2>").arg(n)));
        }
        return states[k];
    };
    const auto one = timeOne({QStringLiteral("page"), page, QStringLiteral("3")}, options());
    ASSERT_GT(one.count(), 0);
    FaultDriver d({QStringLiteral("page"), page, QStringLiteral("0"), QStringLiteral("fork")}, options());
    ASSERT_TRUE(d.waitForLine(QStringLiteral("ready"), 60s));

    int asOld = 0, asNew = 0, leftovers = 0, tornWorkingCopies = 0;
    std::map<long, int> finishedBefore;
    const QString work = QStringLiteral("C:\\HOME-PAG\\INIZIO.HT~");
    for (int kill = 0; kill < kKills; ++kill) {
        writeOwned(page, original);
        QFile::remove(native(work));
        killAtRandom(d, one);
        const long n = d.lastDone();
        const QByteArray now = readFile(page);
        const bool old = now == state(n);
        const bool renewed = now == state(n + 1);
        ASSERT_TRUE(old || renewed) << "kill " << kill << " after " << n << " rewrites: page of " << now.size()
                                    << " bytes is neither";
        asOld += old;
        asNew += renewed && !old;
        ++finishedBefore[n];
        // The working copy is written in place by design: finding it torn shows that
        // kills do land in the middle of writes.
        if (exists(work)) {
            const QByteArray w = readFile(work);
            tornWorkingCopies += w != state(n) && w != state(n + 1);
        }
        EXPECT_TRUE(d.messages().isEmpty()) << d.messages().join(QLatin1Char('|')).toStdString();
        leftovers += strayFiles(native(QStringLiteral("C:\\HOME-PAG")),
            {QStringLiteral("INIZIO.HTM"), QStringLiteral("INIZIO.HT~"), QStringLiteral("INIZIO.HT_")});
    }
    std::cout << "page rewrite: " << kKills << " kills, one rewrite " << one.count() << " us; page as before the "
              << "interrupted rewrite " << asOld << ", as after it " << asNew << ", torn 0; working copy torn "
              << tornWorkingCopies << "; temporary files left " << leftovers << "; kills after N rewrites:";
    for (const auto &[n, count] : finishedBefore)
        std::cout << " " << n << ":" << count;
    std::cout << std::endl;
    RecordProperty("kills", kKills);
    RecordProperty("old", asOld);
    RecordProperty("new", asNew);
}

TEST_F(KillTest, LogWriteKilledAnywhereLeavesTheOldOrTheNewLog)
{
    // Two lists of addresses; the driver writes the second, then the first, and so on.
    QTemporaryFile entries;
    ASSERT_TRUE(entries.open());
    QStringList lists[2];
    for (int half = 0; half < 2; ++half) {
        for (int i = 0; i < 5000; ++i) {
            lists[half] << QStringLiteral("http://www.sito%1.it/pagina/%2/indice.htm?x=%3").arg(half).arg(i).arg(i * 7);
            entries.write(lists[half].back().toUtf8() + '\n');
        }
        if (half == 0)
            entries.write("--\n");
    }
    entries.close();
    ::chmod(QFile::encodeName(entries.fileName()).constData(), 0644);
    const QByteArray bytes[2] = {visitedlog::logBytes(lists[0]), visitedlog::logBytes(lists[1])};
    const QString log = QStringLiteral("C:\\PROG\\LANTERNA.DAT");
    writeOwned(log, bytes[0]);
    const auto one = timeOne({QStringLiteral("log"), entries.fileName(), QStringLiteral("3")}, options());
    ASSERT_GT(one.count(), 0);
    FaultDriver d({QStringLiteral("log"), entries.fileName(), QStringLiteral("0"), QStringLiteral("fork")}, options());
    ASSERT_TRUE(d.waitForLine(QStringLiteral("ready"), 60s));

    int asOld = 0, asNew = 0, leftovers = 0;
    std::map<long, int> finishedBefore;
    for (int kill = 0; kill < kKills; ++kill) {
        writeOwned(log, bytes[0]);
        killAtRandom(d, one);
        const long n = d.lastDone();
        const QByteArray now = readFile(log);
        const bool old = now == bytes[n % 2];
        const bool renewed = now == bytes[(n + 1) % 2];
        ASSERT_TRUE(old || renewed) << "kill " << kill << " after " << n << " writes: log of " << now.size()
                                    << " bytes is neither";
        asOld += old;
        asNew += renewed;
        ++finishedBefore[n];
        leftovers += strayFiles(native(QStringLiteral("C:\\PROG")), {QStringLiteral("LANTERNA.DAT")});
    }
    std::cout << "log write: " << kKills << " kills, one write " << one.count() << " us; log as before the "
              << "interrupted write " << asOld << ", as after it " << asNew << ", torn 0; temporary files left "
              << leftovers << "; kills after N writes:";
    for (const auto &[n, count] : finishedBefore)
        std::cout << " " << n << ":" << count;
    std::cout << std::endl;
    RecordProperty("kills", kKills);
}
