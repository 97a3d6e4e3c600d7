#include "BoxHelpers.h"
#include "TestEnv.h"
#include "base/Module1.h"
#include "base/forms.h"
#include "browser/VisitedLog.h"
#include "browser/frmBrowser.h"
#include "platform/Text.h"

#include <QComboBox>
#include <QFileInfo>
#include <QPushButton>
#include <QStringList>

namespace {

const QString kLog = QStringLiteral("C:\\PROG\\LANTERNA.DAT");

QStringList entries(const frmBrowser *w) { return boxEntries(w->cboAddress); }

QList<QByteArray> bytesOf(const QStringList &lines)
{
    QList<QByteArray> out;
    for (const auto &l : lines)
        out << l.toLatin1();
    return out;
}

} // namespace

TEST(VisitedLogRules, MergeSkipsBlankAboutBlankAndListedEntries)
{
    const QStringList current = {QStringLiteral("http://start/"), QStringLiteral("  http://spaced  ")};
    const auto r = visitedlog::mergeLines(bytesOf({"", "   ", "about:blank", "about:blank ", "http://start/",
                                                   " http://start/ ", "HTTP://START/", "http://spaced",
                                                   "http://a/  ", "http://a/", "\thttp://tab/"}),
                                          current);
    // "about:blank " is not exactly "about:blank"; letter case counts; only blanks are trimmed.
    EXPECT_EQ(r.added, (QStringList{"about:blank ", "HTTP://START/", "http://a/  ", "\thttp://tab/"}));
    EXPECT_TRUE(r.overflow.isEmpty());
}

TEST(VisitedLogRules, ListStopsAtCapAndTheRestIsKeptForTheRewrite)
{
    QStringList current;
    for (int i = 0; i < visitedlog::kMaxListEntries - 2; ++i)
        current << QStringLiteral("http://old/%1").arg(i);
    const auto r = visitedlog::mergeLines(
        bytesOf({"http://n1", "http://old/5", "http://n2", "http://n3", "", "http://n3", "http://n4"}), current);
    EXPECT_EQ(r.added, (QStringList{"http://n1", "http://n2"}));
    EXPECT_EQ(r.overflow, (QList<QByteArray>{"http://n3", "http://n4"}));

    const QByteArray written = visitedlog::logBytes(current + r.added, r.overflow);
    EXPECT_TRUE(written.endsWith("http://n2\r\nhttp://n3\r\nhttp://n4\r\n"));
    EXPECT_EQ(platform::splitLines(written).size(), visitedlog::kMaxListEntries + 2);
}

class VisitedLog : public LanternaTest {
protected:
    frmBrowser *load(const QString &start = QStringLiteral("http://start/"))
    {
        Module1::StartUrl = start;
        frmBrowser *w = forms::frmBrowser();
        w->joinVisitedLog(); // as the user opening the list would have it joined
        return w;
    }
};

TEST_F(VisitedLog, LoadListsStartPageFirstThenTheLogInOrder)
{
    writeFile(kLog, "http://b/\r\n\r\n   \r\nabout:blank\r\nhttp://start/\r\n http://a/ \r\nhttp://b/\r\nhttp://B/\r\n"
                    "about:blank \r\n");
    frmBrowser *w = load();
    EXPECT_EQ(entries(w), (QStringList{"http://start/", "http://b/", " http://a/ ", "http://B/", "about:blank "}));
    EXPECT_EQ(w->cboAddress->currentText(), "http://start/");
    EXPECT_FALSE(ui.waitCursor());
    EXPECT_GE(ui.waitOnCount, 1);

    // A second read adds nothing.
    w->ReadVisitedLog();
    EXPECT_EQ(w->cboAddress->count(), 5);
    // Nor does the hidden button, which runs the same read.
    w->Command2->click();
    EXPECT_EQ(w->cboAddress->count(), 5);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(VisitedLog, MissingLogAddsNothingAndWritingCreatesIt)
{
    frmBrowser *w = load(QStringLiteral("about:blank"));
    EXPECT_EQ(entries(w), QStringList{"about:blank"});
    EXPECT_FALSE(exists(kLog));
    EXPECT_FALSE(ui.waitCursor());

    w->WriteVisitedLog();
    ASSERT_TRUE(exists(kLog));
    EXPECT_EQ(readFile(kLog), QByteArray()); // "about:blank" is never written

    w->cboAddress->addItem(QStringLiteral("http://x/  "));
    w->WriteVisitedLog();
    EXPECT_EQ(readFile(kLog), QByteArray("http://x/  \r\n"));
}

TEST_F(VisitedLog, OddBytesAndLineEndsRoundTripUnchanged)
{
    QByteArray nul("http://nul/\0a\0b", 15);
    QByteArray high;
    for (int b = 0x80; b <= 0xFF; ++b)
        high.append(char(b));
    const QByteArray longLine = "http://long/" + QByteArray(1 << 20, 'x');
    // CR LF, a lone CR, a lone LF, and no line end after the last line.
    const QByteArray file = "http://crlf/\r\n" + nul + "\r" + high + "\n" + longLine + "\r\nhttp://last/";
    writeFile(kLog, file);

    frmBrowser *w = load();
    ASSERT_EQ(w->cboAddress->count(), 6);
    EXPECT_EQ(platform::toAnsi(w->cboAddress->itemText(2)), nul);
    EXPECT_EQ(platform::toAnsi(w->cboAddress->itemText(3)), high);
    EXPECT_EQ(w->cboAddress->itemText(5), "http://last/");

    w->ReadVisitedLog();
    w->WriteVisitedLog();
    EXPECT_EQ(readFile(kLog), "http://start/\r\nhttp://crlf/\r\n" + nul + "\r\n" + high + "\r\n" + longLine +
                                  "\r\nhttp://last/\r\n");
}

TEST_F(VisitedLog, HugeLogFillsTheListAndTheRewriteKeepsEveryLine)
{
    // The start page, then 40,000 lines, 2 MB, each with a NUL and bytes 0x80-0xFF.
    QByteArray file = "http://host/\n";
    for (int i = 0; i < 40000; ++i) {
        QByteArray odd(36, '\0');
        for (int k = 1; k < odd.size(); ++k)
            odd[k] = char(0x80 + (i + k * 7) % 0x80);
        file += "http://host" + QByteArray::number(i) + "/" + odd + "\n";
    }
    writeFile(kLog, file);

    frmBrowser *w = load(QStringLiteral("http://host/"));
    EXPECT_EQ(w->cboAddress->count(), visitedlog::kMaxListEntries);
    EXPECT_EQ(platform::toAnsi(w->cboAddress->itemText(1)), file.split('\n')[1]);

    w->ReadVisitedLog();
    EXPECT_EQ(w->cboAddress->count(), visitedlog::kMaxListEntries);
    w->WriteVisitedLog();
    QByteArray expected = file;
    expected.replace("\n", "\r\n");
    EXPECT_EQ(readFile(kLog), expected);
}

// A page that keeps navigating to new addresses: a full list takes no more of them,
// and the log written at closing stays within the same bound.
TEST_F(VisitedLog, AFullListTakesNoNewAddressAndTheLogStaysWithinTheBound)
{
    QByteArray file;
    for (int i = 0; i < visitedlog::kMaxListEntries; ++i)
        file += "http://n/?n=" + QByteArray::number(i) + "\r\n";
    writeFile(kLog, file);
    frmBrowser *w = load(QStringLiteral("http://n/?n=start"));
    ASSERT_EQ(w->cboAddress->count(), visitedlog::kMaxListEntries);
    w->cboAddress->setEditText(QStringLiteral("http://n/?n=altro"));
    emit browser()->DocumentComplete(QStringLiteral("http://n/?n=altro"));
    EXPECT_EQ(w->cboAddress->count(), visitedlog::kMaxListEntries);
    w->WriteVisitedLog();
    EXPECT_EQ(platform::splitLines(readFile(kLog)).size(), visitedlog::kMaxListEntries);
}

namespace {
// Real files, except that writing fails half-way, as on a full disk.
class FullDiskFiles : public platform::Files {
public:
    explicit FullDiskFiles(platform::Files &real) : real_(real) {}
    bool canOpenForRead(const QString &p) override { return real_.canOpenForRead(p); }
    std::optional<QByteArray> readAll(const QString &p) override { return real_.readAll(p); }
    bool writeAll(const QString &p, const QByteArray &d) override
    {
        real_.writeAll(p, d.left(d.size() / 2));
        return false;
    }
    bool replaceFile(const QString &, const QByteArray &) override { return false; }
    bool copyFile(const QString &, const QString &) override { return false; }
    bool removeFile(const QString &p) override { return real_.removeFile(p); }
    std::optional<std::vector<platform::DirEntry>> list(const QString &p) override { return real_.list(p); }
    bool lookup(const QString &p, unsigned a) override { return real_.lookup(p, a); }
    QString profileString(const QString &s, const QString &k, const QString &d, const QString &f, int n) override
    {
        return real_.profileString(s, k, d, f, n);
    }
    QString programFolder() override { return real_.programFolder(); }
    QString exeName() override { return real_.exeName(); }

private:
    platform::Files &real_;
};
} // namespace

TEST_F(VisitedLog, FailedWriteKeepsTheOldLogWhole)
{
    const QByteArray old = "http://one/\r\nhttp://two/\r\nhttp://three/\r\n";
    writeFile(kLog, old);
    FullDiskFiles full(*files);
    platform::Services s{ui, full, processes, shell, [this](QWidget *parent) -> platform::WebBrowser * {
                             auto *b = new FakeWebBrowser(parent);
                             browsers.push_back(b);
                             return b;
                         }};
    platform::install(s);

    frmBrowser *w = load();
    w->cboAddress->addItem(QStringLiteral("http://new/"));
    Module1::PageVisited = 1;
    forms::unload<frmBrowser>();
    EXPECT_EQ(readFile(kLog), old);
    EXPECT_EQ(ui.endProgramCalls, 1);
    useProcesses(processes); // back to the fixture's services before `s` goes
}

TEST_F(VisitedLog, LogThatIsAFolderIsNeitherReadNorReplaced)
{
    makeDir(kLog);
    frmBrowser *w = load();
    EXPECT_EQ(w->cboAddress->count(), 1);
    w->WriteVisitedLog();
    EXPECT_TRUE(QFileInfo(native(kLog)).isDir());
}

TEST_F(VisitedLog, ViewerTriesBothNotepadsThenTheDesktopEditor)
{
    frmBrowser *w = load();

    w->Command5->click();
    ASSERT_EQ(processes.starts.size(), 1u);
    EXPECT_EQ(processes.starts[0].program, "C:\\Windows\\Notepad.exe");
    EXPECT_EQ(processes.starts[0].arguments, QStringList{kLog});
    EXPECT_TRUE(shell.editorCalls.isEmpty());

    processes.starts.clear();
    processes.startFails = platform::StartError{2, QStringLiteral("File not found")};
    w->Command5->click();
    ASSERT_EQ(processes.starts.size(), 2u);
    EXPECT_EQ(processes.starts[1].program, "C:\\WinNT\\Notepad.exe");
    EXPECT_EQ(processes.starts[1].arguments, QStringList{kLog});
    EXPECT_EQ(shell.editorCalls, QStringList{kLog});
    EXPECT_TRUE(ui.messages.empty());

    // The opener started, then found nothing to open the log with: the same message.
    ASSERT_TRUE(shell.editorFailed);
    shell.editorFailed();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.last().text.contains(kLog));
    EXPECT_EQ(ui.last().title, QStringLiteral("Varia storia"));

    shell.editorStarts = false;
    w->Command5->click();
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_TRUE(ui.last().text.contains(kLog));
    EXPECT_EQ(ui.endProgramCalls, 0);
    EXPECT_EQ(forms::loaded<frmBrowser>(), w);
}
