#include "FaultHelpers.h"
#include "browser/VisitedLog.h"

#include <QFileInfo>
#include <QTemporaryFile>

namespace {

const QString kPage = QStringLiteral("C:\\HOME-PAG\\INIZIO.HTM");
const QString kWork = QStringLiteral("C:\\HOME-PAG\\INIZIO.HT~");
const QString kBackup = QStringLiteral("C:\\HOME-PAG\\INIZIO.HT_");
const QByteArray kOld = "<html>\r\n<body>\r\n<p>Casa</p>\r\n</body>\r\n</html>\r\n";

void setMode(const QString &nativePath, mode_t mode) { ::chmod(QFile::encodeName(nativePath).constData(), mode); }

} // namespace

class RightsTest : public FaultTest {
protected:
    // One rewrite by the driver; its messages.
    QStringList rewrite(const QString &pagePath = kPage)
    {
        FaultDriver d({QStringLiteral("page"), pagePath, QStringLiteral("1")}, options());
        d.finish(60s);
        EXPECT_EQ(d.lastDone(), 1);
        return d.messages();
    }
    // A rewrite that fails with this message and changes no file anywhere.
    void rewriteChangesNothing(const QString &message, const QString &pagePath = kPage)
    {
        const auto before = snapshot(root->path());
        EXPECT_EQ(rewrite(pagePath), QStringList{message});
        EXPECT_EQ(snapshot(root->path()), before);
    }

    void TearDown() override
    {
        // Give the folders their rights back so the temporary folder can go.
        QDirIterator it(root->path(), QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext())
            setMode(it.next(), 0755);
        FaultTest::TearDown();
    }
};

// A page that cannot be rewritten shows the message of the step that failed and
// leaves the page as it was; nothing is written beyond the working copy and the backup.
TEST_F(RightsTest, ReadOnlyFolderFilesMissingDriveAndVanishedPage)
{
    const QString homeDir = native(QStringLiteral("C:\\HOME-PAG"));
    makeOwnedDir(QStringLiteral("C:\\HOME-PAG"));
    writeOwned(kPage, kOld);
    const QString readMsg = QStringLiteral("Errore in lettura pagina ") + kPage;

    {
        SCOPED_TRACE("read-only folder");
        setMode(homeDir, 0555);
        rewriteChangesNothing(readMsg);
        setMode(homeDir, 0755);
    }
    {
        SCOPED_TRACE("read-only page");
        setMode(native(kPage), 0444);
        EXPECT_EQ(rewrite(), QStringList{QStringLiteral("Errore in cambio nome pagina ") + kWork
                                         + QStringLiteral(" in ") + kPage});
        EXPECT_EQ(readFile(kPage), kOld);
        EXPECT_EQ(readFile(kBackup), kOld);
        EXPECT_EQ(QDir(homeDir).entryList(QDir::Files).size(), 3); // page, working copy, backup
        setMode(native(kPage), 0644);
    }
    {
        SCOPED_TRACE("read-only backup");
        const QByteArray olderBackup = "<p>prima</p>\r\n";
        writeOwned(kBackup, olderBackup);
        setMode(native(kBackup), 0444);
        EXPECT_EQ(rewrite(), QStringList{QStringLiteral("Errore nella copia della pagina ") + kPage
                                         + QStringLiteral(" in ") + kBackup});
        EXPECT_EQ(readFile(kPage), kOld);
        EXPECT_EQ(readFile(kBackup), olderBackup);
        EXPECT_EQ(QDir(homeDir).entryList(QDir::Files).size(), 3);
        setMode(native(kBackup), 0644);
    }
    {
        SCOPED_TRACE("read-only working copy");
        setMode(native(kWork), 0444);
        rewriteChangesNothing(readMsg);
        setMode(native(kWork), 0644);
    }
    {
        SCOPED_TRACE("unreadable page");
        setMode(native(kPage), 0200);
        rewriteChangesNothing(readMsg);
        setMode(native(kPage), 0644);
    }
    {
        SCOPED_TRACE("missing drive");
        const QString elsewhere = QStringLiteral("Q:\\HOME-PAG\\INIZIO.HTM");
        rewriteChangesNothing(QStringLiteral("Errore in lettura pagina ") + elsewhere, elsewhere);
    }
    {
        SCOPED_TRACE("page gone between display and rewrite");
        QFile::remove(native(kPage));
        rewriteChangesNothing(readMsg);
    }
    {
        SCOPED_TRACE("after all that, a rewrite with the rights back works");
        writeOwned(kPage, kOld);
        EXPECT_TRUE(rewrite().isEmpty());
        EXPECT_NE(readFile(kPage), kOld);
    }
}

// The log write is silent: without the right to write, the old log stays whole and no
// other file appears.
TEST_F(RightsTest, ReadOnlyLogOrProgramFolder)
{
    const QString prog = native(QStringLiteral("C:\\PROG"));
    const QString log = QStringLiteral("C:\\PROG\\LANTERNA.DAT");
    const QStringList first{QStringLiteral("http://www.tin.it/")};
    const QStringList second{QStringLiteral("http://www.libero.it/"), QStringLiteral("file:///C:/HOME-PAG/INIZIO.HTM")};
    QTemporaryFile entries;
    ASSERT_TRUE(entries.open());
    entries.write("http://www.tin.it/\n--\nhttp://www.libero.it/\nfile:///C:/HOME-PAG/INIZIO.HTM\n");
    entries.close();
    setMode(entries.fileName(), 0644);
    const QByteArray oldLog = visitedlog::logBytes(first);
    const QByteArray newLog = visitedlog::logBytes(second);
    giveToDriver(prog);

    const auto write = [&] {
        FaultDriver d({QStringLiteral("log"), entries.fileName(), QStringLiteral("1")}, options());
        d.finish(60s);
        EXPECT_EQ(d.lastDone(), 1);
        EXPECT_TRUE(d.messages().isEmpty());
    };
    {
        SCOPED_TRACE("read-only log");
        writeOwned(log, oldLog);
        setMode(native(log), 0444);
        const auto before = snapshot(root->path());
        write();
        EXPECT_EQ(snapshot(root->path()), before);
        setMode(native(log), 0644);
    }
    {
        SCOPED_TRACE("read-only folder and log");
        setMode(native(log), 0444);
        setMode(prog, 0555);
        const auto before = snapshot(root->path());
        write();
        EXPECT_EQ(snapshot(root->path()), before);
        setMode(native(log), 0644);
    }
    {
        // Whether the log is then rewritten in place or left alone, it is whole.
        SCOPED_TRACE("read-only folder, writable log");
        const auto before = snapshot(root->path());
        write();
        const QByteArray now = readFile(log);
        EXPECT_TRUE(now == oldLog || now == newLog) << now.toStdString();
        EXPECT_EQ(snapshot(root->path()).keys(), before.keys());
        setMode(prog, 0755);
    }
    {
        SCOPED_TRACE("with the rights back");
        write();
        EXPECT_EQ(readFile(log), newLog);
    }
}

// Links planted beside the page, or named as the page, are replaced by the files the
// rewrite writes; the files they point to are never written.
TEST_F(RightsTest, LinksBesideOrAsThePageAreReplacedNeverWrittenThrough)
{
    makeOwnedDir(QStringLiteral("C:\\HOME-PAG"));
    writeOwned(kPage, kOld);
    const QString a = QStringLiteral("C:\\ALTRO\\A.TXT"), b = QStringLiteral("C:\\ALTRO\\B.TXT");
    const QString page = QStringLiteral("C:\\ALTRO\\PAGINA.HTM");
    const QByteArray other = "<p>altro file</p>\r\n";
    writeOwned(a, other);
    writeOwned(b, other);
    writeOwned(page, kOld);
    ASSERT_TRUE(QFile::link(native(a), native(kWork)));
    ASSERT_TRUE(QFile::link(native(b), native(kBackup)));
    EXPECT_TRUE(rewrite().isEmpty());
    EXPECT_EQ(readFile(kBackup), kOld);
    EXPECT_NE(readFile(kPage), kOld);
    EXPECT_EQ(readFile(kWork), readFile(kPage));
    EXPECT_EQ(readFile(a), other);
    EXPECT_EQ(readFile(b), other);

    QFile::remove(native(kPage));
    ASSERT_TRUE(QFile::link(native(page), native(kPage)));
    EXPECT_TRUE(rewrite().isEmpty());
    EXPECT_NE(readFile(kPage), kOld); // the page shown, rewritten, in the link's place
    EXPECT_EQ(readFile(page), kOld);
    for (const QString &name : {kPage, kWork, kBackup})
        EXPECT_FALSE(QFileInfo(native(name)).isSymLink()) << name.toStdString();
}
