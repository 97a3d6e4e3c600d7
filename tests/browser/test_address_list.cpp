#include "BoxHelpers.h"
#include "TestEnv.h"
#include "base/Module1.h"
#include "base/forms.h"
#include "browser/AddressListModel.h"
#include "browser/AddressRules.h"
#include "browser/ToolbarIcons.h"
#include "browser/VisitedLog.h"
#include "browser/frmBrowser.h"
#include "platform/Text.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QSignalSpy>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

namespace {

const QString kLog = QStringLiteral("C:\\PROG\\LANTERNA.DAT");

QStringList entries(const frmBrowser *w) { return boxEntries(w->cboAddress); }

void sendWheel(QWidget *target)
{
    QWheelEvent wheel(QPointF(2, 2), target->mapToGlobal(QPointF(2, 2)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
}

class AddressList : public LanternaTest {
protected:
    frmBrowser *load()
    {
        Module1::StartUrl = QStringLiteral("http://start/");
        return forms::frmBrowser();
    }
};

const QByteArray kMessyLog = "http://b/\r\n\r\n   \r\nabout:blank\r\nhttp://start/\r\n http://a/ \r\nhttp://b/\r\n"
                             "http://B/\r\n http://start/ \r\nabout:blank \r\n";

} // namespace

// The log read at load joins the list after the first page (its reading would slow
// the engine's start), or at once when the user or the program needs the list; either
// way the list comes out as a reading at load would have made it.
TEST_F(AddressList, TheLogJoinsAfterTheFirstPageOrWhenTheListIsNeeded)
{
    const QStringList joined{"http://start/", "http://b/", " http://a/ ", "http://B/", "about:blank "};
    writeFile(kLog, kMessyLog);

    // The user reaches for the box: a key, a click or the wheel over it.
    for (const QEvent::Type reach : {QEvent::KeyPress, QEvent::MouseButtonPress, QEvent::Wheel}) {
        writeFile(kLog, kMessyLog);
        frmBrowser *w = load();
        EXPECT_FALSE(w->visitedLogJoined());
        EXPECT_EQ(entries(w), QStringList{"http://start/"});
        if (reach == QEvent::KeyPress)
            QTest::keyClick(w->cboAddress, Qt::Key_Shift);
        else if (reach == QEvent::MouseButtonPress)
            QTest::mousePress(w->cboAddress, Qt::LeftButton, {}, QPoint(1, 1));
        else
            sendWheel(w->cboAddress);
        EXPECT_TRUE(w->visitedLogJoined()) << int(reach);
        EXPECT_EQ(entries(w), joined) << int(reach);
        // The wheel steps to the next entry: the log's first line, already there.
        EXPECT_EQ(w->cboAddress->currentText(), reach == QEvent::Wheel ? "http://b/" : "http://start/");
        unloadAll();
    }

    // The first page completes while the log waits: its address follows the log (when
    // the log does not hold it), and the log joins on its own shortly after.
    for (const QString &finished : {QStringLiteral("http://new/"), QStringLiteral(" http://B/")}) {
        writeFile(kLog, kMessyLog);
        frmBrowser *w = load();
        w->cboAddress->setEditText(finished);
        emit browser()->DocumentComplete(finished);
        EXPECT_EQ(entries(w), QStringList{"http://start/"});
        ASSERT_TRUE(QTest::qWaitFor([w] { return w->visitedLogJoined(); }, 5000));
        EXPECT_EQ(entries(w), finished == "http://new/" ? joined + QStringList{"http://new/"} : joined);
        EXPECT_EQ(w->cboAddress->currentText(), finished);
        unloadAll();
    }

    // A reading asked for before the join reads the file as it is then, once.
    writeFile(kLog, kMessyLog);
    frmBrowser *w = load();
    writeFile(kLog, kMessyLog + "http://later/\r\n");
    w->Command2_Click();
    EXPECT_EQ(entries(w), joined + QStringList{"http://later/"});
    // Closing before the join counts the whole list, and writes it back whole.
    Module1::PageVisited = 0;
    unloadAll();
    w = load();
    Module1::PageVisited = 1;
    ui.answers = {platform::vbYes};
    const size_t asked = ui.messages.size();
    w->Form_Unload();
    ASSERT_EQ(ui.messages.size(), asked + 1);
    EXPECT_EQ(readFile(kLog), QByteArray("http://start/\r\nhttp://b/\r\n http://a/ \r\nhttp://B/\r\nabout:blank \r\n"
                                         "http://later/\r\n"));
}

TEST_F(AddressList, AMissingOrUnreadableLogListsNothing)
{
    frmBrowser *w = load(); // no log at all
    emit browser()->DocumentComplete(QStringLiteral("http://start/"));
    ASSERT_TRUE(QTest::qWaitFor([w] { return w->visitedLogJoined(); }, 5000));
    EXPECT_EQ(entries(w), QStringList{"http://start/"});
    unloadAll();

    makeDir(kLog); // a folder where the log should be
    w = load();
    emit browser()->DocumentComplete(QStringLiteral("http://start/"));
    ASSERT_TRUE(QTest::qWaitFor([w] { return w->visitedLogJoined(); }, 5000));
    EXPECT_EQ(entries(w), QStringList{"http://start/"});
    unloadAll();
    w = load();
    w->joinVisitedLog();
    EXPECT_EQ(entries(w), QStringList{"http://start/"});
}

// A whole log joins the list in one insertion (a box of 32,767 entries filled entry by
// entry is what made a start with a full log slow), with order and rules kept.
TEST_F(AddressList, AWholeLogJoinsTheBoxInOneInsertion)
{
    frmBrowser *w = load();
    QByteArray log;
    QStringList expected = entries(w);
    for (int i = 0; i < 5000; ++i) {
        const QByteArray line = "http://site" + QByteArray::number(i % 4000) + ".example/";
        log += line + "\r\n";
        if (i < 4000)
            expected << QString::fromLatin1(line);
    }
    writeFile(kLog, log);
    w->cboAddress->setEditText(QStringLiteral("typed"));
    QSignalSpy inserted(w->cboAddress->model(), &QAbstractItemModel::rowsInserted);
    w->Command2_Click();
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted.at(0).at(1).toInt(), 1);
    EXPECT_EQ(inserted.at(0).at(2).toInt(), 4000);
    EXPECT_EQ(entries(w), expected);
    EXPECT_EQ(w->cboAddress->currentText(), QStringLiteral("typed"));
}

// Every edit the program makes through the box reaches the list it keeps and writes.
TEST_F(AddressList, EditsThroughTheBoxAreWhatTheLogGets)
{
    frmBrowser *w = load();
    QComboBox *box = w->cboAddress;
    box->addItem(QStringLiteral("http://two/"));
    box->insertItem(0, QStringLiteral("http://zero/"));
    box->setItemText(2, QStringLiteral("http://due/"));
    EXPECT_EQ(entries(w), (QStringList{"http://zero/", "http://start/", "http://due/"}));
    EXPECT_EQ(box->findText(QStringLiteral("http://due/")), 2);
    box->removeItem(0);
    EXPECT_EQ(entries(w), (QStringList{"http://start/", "http://due/"}));

    Module1::PageVisited = 1;
    ui.answers = {platform::vbYes};
    w->Form_Unload();
    EXPECT_EQ(readFile(kLog), QByteArray("http://start/\r\nhttp://due/\r\n"));

    box->clear();
    EXPECT_EQ(box->count(), 0);
    box->addItem(QStringLiteral("http://again/"));
    EXPECT_EQ(entries(w), QStringList{"http://again/"});
}

// A finished page asks whether its address is listed; the answer comes from hashes the
// list keeps, which must follow every edit made through the box and every log read.
TEST_F(AddressList, AFinishedPageSeesTheListAsItIsAfterEveryEdit)
{
    frmBrowser *w = load();
    QComboBox *box = w->cboAddress;
    const auto *list = qobject_cast<const AddressListModel *>(box->model());
    ASSERT_NE(list, nullptr);
    const QStringList probes{"http://a/", " http://a/", "http://b/", "http://c/", "http://d/", "http://e/",
                             "http://f/", "http://start/", "http://A/"};
    const auto agreesWithTheTexts = [&](const char *step) {
        for (const QString &probe : probes) {
            bool listed = false;
            for (const QString &e : entries(w))
                listed = listed || address::trimBlanks(e) == address::trimBlanks(probe);
            EXPECT_EQ(address::newListEntry(probe, [list](const QString &t) { return list->containsTrimmed(t); }).isEmpty(),
                      listed) << step << ": " << probe.toStdString();
        }
    };
    const auto isListed = [&](const char *text) { return list->containsTrimmed(QString::fromLatin1(text)); };

    writeFile(kLog, "  http://a/ \r\nhttp://b/\r\n");
    w->Command2_Click();
    EXPECT_TRUE(isListed("http://a/"));
    agreesWithTheTexts("log read");
    box->addItem(QStringLiteral("http://c/ "));
    EXPECT_TRUE(isListed("http://c/"));
    agreesWithTheTexts("added");
    box->setItemText(box->findText(QStringLiteral("http://c/ ")), QStringLiteral("http://d/"));
    EXPECT_FALSE(isListed("http://c/"));
    EXPECT_TRUE(isListed("http://d/"));
    agreesWithTheTexts("renamed");
    box->insertItem(0, QStringLiteral("http://e/"));
    box->removeItem(box->findText(QStringLiteral("  http://a/ ")));
    EXPECT_FALSE(isListed("http://a/"));
    EXPECT_TRUE(isListed("http://e/"));
    agreesWithTheTexts("inserted and removed");
    box->clear();
    EXPECT_FALSE(isListed("http://e/"));
    box->addItem(QStringLiteral("http://f/"));
    agreesWithTheTexts("cleared and added");

    // A later reading into a longer list: the new lines still go after the listed ones.
    QStringList before;
    for (int i = 0; i < 20; ++i)
        box->addItem(QStringLiteral("http://n%1/").arg(i));
    before = entries(w);
    writeFile(kLog, "http://n3/\r\nhttp://g/\r\n http://c/\r\n");
    w->Command2_Click();
    EXPECT_EQ(entries(w), before + QStringList({"http://g/", " http://c/"}));
    agreesWithTheTexts("read into a longer list");
}

// The toolbar takes the desktop theme's pictures where there is a theme, and its own
// drawn ones without one, never an empty button.
TEST(ToolbarPictures, ThemePicturesWhereTheDesktopHasATheme)
{
    const QString oldTheme = QIcon::themeName();
    const QStringList oldPaths = QIcon::themeSearchPaths();
    QTemporaryDir dir;
    const QString theme = dir.filePath(QStringLiteral("prova"));
    ASSERT_TRUE(QDir().mkpath(theme + QStringLiteral("/24x24/actions")));
    QFile index(theme + QStringLiteral("/index.theme"));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=prova\nDirectories=24x24/actions\n\n[24x24/actions]\nSize=24\nType=Fixed\n");
    index.close();
    QImage red(24, 24, QImage::Format_ARGB32);
    red.fill(QColor(255, 0, 0));
    ASSERT_TRUE(red.save(theme + QStringLiteral("/24x24/actions/go-previous.png")));
    QIcon::setThemeSearchPaths({dir.path()});

    const auto isRed = [](const QIcon &icon) {
        return icon.pixmap(24, 24).toImage().pixelColor(12, 12) == QColor(255, 0, 0);
    };
    for (const QString &name : {QString(), QStringLiteral("hicolor")}) {
        QIcon::setThemeName(name);
        const auto icons = toolbarIcons();
        for (const QIcon &icon : icons) {
            EXPECT_FALSE(icon.isNull());
            EXPECT_EQ(icon.pixmap(24, 24).size(), QSize(24, 24));
        }
        EXPECT_FALSE(isRed(icons[0])) << name.toStdString();
    }
    QIcon::setThemeName(QStringLiteral("prova"));
    const auto themed = toolbarIcons();
    EXPECT_TRUE(isRed(themed[0]));
    EXPECT_FALSE(themed[1].isNull()); // not in the theme: the drawn one
    EXPECT_FALSE(isRed(themed[1]));

    QIcon::setThemeSearchPaths(oldPaths);
    QIcon::setThemeName(oldTheme);
}

// The log read in one block keeps the same lines, and the same bytes for those that
// overflow the list, as the log cut into lines first.
TEST(VisitedLogReading, AWholeFileReadsAsItsLinesDo)
{
    const QByteArray file = "http://a/\r\n\r\nhttp://b/\rhttp://\xe8/\n  http://a/  \r\n\r\rabout:blank\n"
                            "http://c/\r\nhttp://b/\nhttp://d/";
    visitedlog::ReadLog whole = visitedlog::readLog(file);
    visitedlog::ReadLog cut = visitedlog::readLines(platform::splitLines(file));
    EXPECT_EQ(whole.lines, cut.lines);
    EXPECT_EQ(whole.lines, (QStringList{"http://a/", "http://b/", QStringLiteral("http://\u00e8/"), "http://c/",
                                        "http://d/"}));
    QStringList full;
    for (int i = 0; i < visitedlog::kMaxListEntries - 2; ++i)
        full << QStringLiteral("http://old/%1").arg(i);
    full << QStringLiteral(" http://c/ ");
    const auto fromWhole = visitedlog::merge(std::move(whole), full);
    const auto fromCut = visitedlog::merge(std::move(cut), full);
    EXPECT_EQ(fromWhole.added, (QStringList{"http://a/"}));
    EXPECT_EQ(fromWhole.overflow, (QList<QByteArray>{"http://b/", "http://\xe8/", "http://d/"}));
    EXPECT_EQ(fromCut.added, fromWhole.added);
    EXPECT_EQ(fromCut.overflow, fromWhole.overflow);
}
