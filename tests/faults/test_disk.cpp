#include "FaultHelpers.h"
#include "browser/VisitedLog.h"
#include "editor/PageRewrite.h"

#include <QTemporaryFile>

#include <csignal>
#include <iostream>
#include <sys/mount.h>
#include <sys/wait.h>

namespace {

const QString kPage = QStringLiteral("C:\\HOME-PAG\\INIZIO.HTM");
const QString kLog = QStringLiteral("C:\\PROG\\LANTERNA.DAT");
const QString kBlock = QStringLiteral("<H2><p>Scritta 1</p></H2>");

QByteArray page(int lines)
{
    QByteArray p = "<html>\r\n<body>\r\n";
    for (int i = 0; i < lines; ++i)
        p += "<p>Riga " + QByteArray::number(i) + " della pagina.</p>\r\n";
    return p + "</body>\r\n</html>\r\n";
}

// The three messages of a failed rewrite, for this page.
bool rewriteMessage(const QString &text)
{
    return text == QStringLiteral("Errore in lettura pagina ") + kPage
        || text
        == QStringLiteral("Errore nella copia della pagina ") + kPage + QStringLiteral(" in C:\\HOME-PAG\\INIZIO.HT_")
        || text == QStringLiteral("Errore in cambio nome pagina C:\\HOME-PAG\\INIZIO.HT~ in ") + kPage;
}

QStringList logList(const QString &site, int n)
{
    QStringList l;
    for (int i = 0; i < n; ++i)
        l << QStringLiteral("http://www.%1.it/%2.htm").arg(site).arg(i);
    return l;
}

// The two lists of a log run, in the file the driver reads: its first run writes the second.
QString entriesFile(QTemporaryFile &f, const QStringList &first, const QStringList &second)
{
    f.open();
    for (const QString &e : first + QStringList{QStringLiteral("--")} + second)
        f.write(e.toUtf8() + '\n');
    f.close();
    ::chmod(QFile::encodeName(f.fileName()).constData(), 0644);
    return f.fileName();
}

// A page and its rewritten form; the log on disk and the twice as long one the driver
// writes, in the file the driver reads them from.
struct Material {
    Material(int pageLines, int entries)
        : old(page(pageLines)), renewed(rewrite::insertBlockTransform(old, kBlock)),
          first(logList(QStringLiteral("vecchio"), entries)), second(logList(QStringLiteral("nuovo"), 2 * entries)),
          entriesPath(entriesFile(file, first, second)), oldLog(visitedlog::logBytes(first)),
          newLog(visitedlog::logBytes(second))
    {
    }
    const QByteArray old, renewed;
    const QStringList first, second;
    QTemporaryFile file;
    const QString entriesPath;
    const QByteArray oldLog, newLog;
};

} // namespace

class DiskTest : public FaultTest {};

// The file size limit stands in for a disk that fills up: writes past it fail, or the
// signal that comes with them ends the program.
TEST_F(DiskTest, SizeLimitDuringRewriteAndLogWriteKeepsTheOldFile)
{
    makeOwnedDir(QStringLiteral("C:\\HOME-PAG"));
    const auto &[old, renewed, first, second, entries, entriesPath, oldLog, newLog] = Material(3000, 2000);

    for (bool signalEnds : {false, true}) {
        for (const rlim_t limit : {rlim_t(0), rlim_t(old.size() / 2), rlim_t(old.size() + 10)}) {
            SCOPED_TRACE(testing::Message() << "limit " << limit << (signalEnds ? ", signal" : ", error"));
            writeOwned(kPage, old);
            FaultDriver::Options o = options();
            o.fileSizeLimit = limit;
            o.ignoreSizeSignal = !signalEnds;
            FaultDriver d({QStringLiteral("page"), kPage, QStringLiteral("1")}, o);
            const int status = d.finish(60s);
            EXPECT_EQ(readFile(kPage), old);
            if (signalEnds) {
                EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
            } else {
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
                ASSERT_EQ(d.messages().size(), 1);
                EXPECT_TRUE(rewriteMessage(d.messages().front())) << d.messages().front().toStdString();
            }

            // The log: bigger when new than the limit lets through.
            if (limit >= rlim_t(newLog.size()))
                continue;
            writeOwned(kLog, oldLog);
            FaultDriver l({QStringLiteral("log"), entriesPath, QStringLiteral("1")}, o);
            l.finish(60s);
            EXPECT_EQ(readFile(kLog), oldLog);
            EXPECT_TRUE(l.messages().isEmpty());
        }
    }
    // With room enough both go through.
    writeOwned(kPage, old);
    writeOwned(kLog, oldLog);
    FaultDriver::Options o = options();
    o.fileSizeLimit = rlim_t(renewed.size() + newLog.size());
    FaultDriver d({QStringLiteral("page"), kPage, QStringLiteral("1")}, o);
    d.finish(60s);
    EXPECT_EQ(readFile(kPage), renewed);
    FaultDriver l({QStringLiteral("log"), entriesPath, QStringLiteral("1")}, o);
    l.finish(60s);
    EXPECT_EQ(readFile(kLog), newLog);
}

// A real full disk: drive C: on a small tmpfs, filled to several levels. Needs the
// right to mount (root in CI).
TEST_F(DiskTest, FullDiskDuringRewriteAndLogWriteKeepsTheOldFile)
{
    const QString mountPoint = root->filePath(QStringLiteral("small"));
    QDir().mkpath(mountPoint);
    if (::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", 0, "size=1m,mode=0755") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here";
    struct Unmount {
        QByteArray path;
        ~Unmount() { ::umount2(path.constData(), MNT_DETACH); }
    } unmount{QFile::encodeName(mountPoint)};
    qputenv("LANTERNA_DRIVE_C", QFile::encodeName(mountPoint));
    QDir().mkpath(mountPoint + QStringLiteral("/HOME-PAG"));
    QDir().mkpath(mountPoint + QStringLiteral("/PROG"));
    giveToDriver(mountPoint);

    // A page of about 130 kB.
    const auto &[old, renewed, first, second, entries, entriesPath, oldLog, newLog] = Material(4000, 3000);
    const QString filler = mountPoint + QStringLiteral("/filler");

    // One driver for each, forking a fresh copy for every level.
    FaultDriver pages({QStringLiteral("page"), kPage, QStringLiteral("1"), QStringLiteral("fork")}, options());
    FaultDriver logs({QStringLiteral("log"), entriesPath, QStringLiteral("1"), QStringLiteral("fork")}, options());
    ASSERT_TRUE(pages.waitForLine(QStringLiteral("ready"), 60s));
    ASSERT_TRUE(logs.waitForLine(QStringLiteral("ready"), 60s));
    int pageOld = 0, pageNew = 0, logOld = 0, logNew = 0;
    QMap<QString, int> messages;
    // From nearly empty to nearly full, in steps of 32 kB.
    for (int free = 900; free >= 0; free -= 32) {
        SCOPED_TRACE(testing::Message() << free << " kB left for the program");
        for (const QString &f : QDir(mountPoint + QStringLiteral("/HOME-PAG")).entryList(QDir::Files))
            QFile::remove(mountPoint + QStringLiteral("/HOME-PAG/") + f);
        for (const QString &f : QDir(mountPoint + QStringLiteral("/PROG")).entryList(QDir::Files))
            QFile::remove(mountPoint + QStringLiteral("/PROG/") + f);
        QFile::remove(filler);
        writeOwned(kPage, old);
        writeOwned(kLog, oldLog);
        // Fill the rest, leaving `free` kB.
        QFile fill(filler);
        ASSERT_TRUE(fill.open(QIODevice::WriteOnly));
        const QByteArray chunk(4096, 'x');
        while (fill.write(chunk) == chunk.size() && fill.flush()) {
        }
        fill.close();
        ::truncate(QFile::encodeName(filler).constData(), std::max<qint64>(0, fill.size() - qint64(free) * 1024));

        FaultDriver &d = pages;
        ASSERT_GT(d.startChild(60s), 0);
        ASSERT_TRUE(d.waitForLine(QStringLiteral("ended"), 60s));
        const QByteArray nowPage = readFile(kPage);
        ASSERT_TRUE(nowPage == old || nowPage == renewed) << nowPage.size() << " bytes";
        if (nowPage == old) {
            ++pageOld;
            ASSERT_EQ(d.messages().size(), 1);
            EXPECT_TRUE(rewriteMessage(d.messages().front())) << d.messages().front().toStdString();
            ++messages[d.messages().front().section(QLatin1Char(' '), 0, 2)];
        } else {
            ++pageNew;
            EXPECT_TRUE(d.messages().isEmpty());
        }

        ASSERT_GT(logs.startChild(60s), 0);
        ASSERT_TRUE(logs.waitForLine(QStringLiteral("ended"), 60s));
        const QByteArray nowLog = readFile(kLog);
        ASSERT_TRUE(nowLog == oldLog || nowLog == newLog) << nowLog.size() << " bytes";
        (nowLog == oldLog ? logOld : logNew)++;
    }
    std::cout << "full disk: page kept " << pageOld << ", rewritten " << pageNew << "; log kept " << logOld
              << ", rewritten " << logNew << "; messages:";
    for (auto it = messages.begin(); it != messages.end(); ++it)
        std::cout << " \"" << it.key().toStdString() << "...\" " << it.value();
    std::cout << std::endl;
    // Both ends were reached: room enough at first, too little at last.
    EXPECT_GT(pageNew, 0);
    EXPECT_GT(pageOld, 0);
    EXPECT_GT(logNew, 0);
    EXPECT_GT(logOld, 0);
}
