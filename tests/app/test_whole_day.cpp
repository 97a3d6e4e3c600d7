// A user's whole day with the real web engine, on a copy of the demo drive, checked from
// inside: the engine's documents and the page's own encoding. Start on the home page,
// visit the second page and come back, open a favourite, write a caption and change the
// background of the home page, close, and find the page as edited at the next start.
#include "RealEngineTest.h"
#include "WebEngineHelpers.h"
#include "app/Main.h"
#include "base/Module1.h"
#include "base/forms.h"
#include "browser/frmBrowser.h"
#include "editor/Form1.h"
#include "editor/Form2.h"
#include "editor/Form3.h"
#include "favorites/frmFav.h"
#include "platform/WebEngineBrowser.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QWebEnginePage>

#include <algorithm>

namespace {

constexpr int kTimeout = 60000; // a cold engine start on a loaded machine

const QString kHome = QStringLiteral("C:\\HOME-PAG\\INIZIO.HTM");
const QString kSecond = QStringLiteral("C:\\HOME-PAG\\SECONDA.HTM");
const QString kSecondUrl = QStringLiteral("file:///C:/HOME-PAG/SECONDA.HTM");
const QString kHomeTitle = QStringLiteral("La mia pagina iniziale");
const QString kSecondTitle = QStringLiteral("Le mie ricette preferite");
// An accented letter checks that the page keeps its own 8-bit encoding.
const QString kCaption = QStringLiteral("Oggi si cena alle otto: è pronto!");
const QString kSample = QStringLiteral("SF02.JPG");

QString sourceRoot()
{
    return QFileInfo(QStringLiteral(__FILE__)).absoluteDir().absoluteFilePath(QStringLiteral("../.."));
}

bool copyTree(const QString &from, const QString &to)
{
    if (!QFileInfo(from).isDir())
        return false;
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString dst = to + QLatin1Char('/') + QDir(from).relativeFilePath(src);
        QDir().mkpath(QFileInfo(dst).absolutePath());
        if (!QFile::copy(src, dst))
            return false;
    }
    return true;
}

// Lines of a text file without their CR LF.
QList<QByteArray> lines(const QByteArray &bytes)
{
    QList<QByteArray> out = bytes.split('\n');
    if (!out.isEmpty() && out.last().isEmpty())
        out.removeLast();
    for (QByteArray &l : out)
        if (l.endsWith('\r'))
            l.chop(1);
    return out;
}

// Types text key by key; QTest's own typing knows ASCII only.
void type(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(widget, char(c.unicode()));
            continue;
        }
        // Qt's key codes for Latin-1 letters are their capitals' code points.
        const auto key = Qt::Key(c.toUpper().unicode());
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &press);
        QCoreApplication::sendEvent(widget, &release);
    }
}

} // namespace

class WholeDay : public RealEngineTest {
protected:
    WholeDay() { loadAtSetUp = false; } // Main loads it

    void SetUp() override
    {
        RealEngineTest::SetUp();
        // The real program's yields run the event loop.
        ui.processEventsOnDoEvents = true;
        shell.favorites = QStringLiteral("C:\\Utenti\\demo\\Favorites");
    }

    // The demo drive as C:, with the sample backgrounds the editor offers.
    void prepareDrive()
    {
        ASSERT_TRUE(copyTree(sourceRoot() + QStringLiteral("/examples/drive"), driveC));
        ASSERT_TRUE(exists(kHome));
        ASSERT_TRUE(exists(kSecond));
        QStringList pictures = QDir(sourceRoot() + QStringLiteral("/resources/samples"))
                                   .entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name);
        ASSERT_GE(pictures.size(), 2);
        for (int i = 0; i < pictures.size(); ++i) {
            const QString name = QStringLiteral("C:\\HOME-PAG\\SF%1.JPG").arg(i + 1, 2, 10, QLatin1Char('0'));
            if (!exists(name))
                ASSERT_TRUE(QFile::copy(sourceRoot() + QStringLiteral("/resources/samples/") + pictures[i],
                                        native(name)));
        }
    }

    QString js(const QString &script) const { return evalJs(engine->page(), script, 10000).toString(); }

    // The page has finished: the engine reported the document complete, the tick has
    // written the path into caption and Tag and stopped the timer, and the engine's
    // document is the expected one.
    bool shown(const QSignalSpy &done, const QString &path, const QString &title) const
    {
        return done.count() > 0 && !engine->Busy() && !w->timTimer->isActive() && w->Tag == path
            && w->windowTitle() == path && js(QStringLiteral("document.readyState")) == QLatin1String("complete")
            && js(QStringLiteral("document.title")) == title;
    }

    bool waitShown(QSignalSpy &done, const QString &path, const QString &title) const
    {
        return QTest::qWaitFor([&] { return shown(done, path, title); }, kTimeout);
    }

    QString state() const
    {
        return QStringLiteral("Tag=") + w->Tag + QStringLiteral(" caption=") + w->windowTitle()
             + QStringLiteral(" location=") + engine->LocationURL() + QStringLiteral(" busy=")
             + QString::number(engine->Busy()) + QStringLiteral(" timer=") + QString::number(w->timTimer->isActive());
    }

    void toolbar(const char *key) const
    {
        QAction *a = w->tbToolBar->findChild<QAction *>(QString::fromLatin1(key));
        ASSERT_NE(a, nullptr) << key;
        a->trigger();
    }

    void backHome(QSignalSpy &done) const
    {
        done.clear();
        ASSERT_NO_FATAL_FAILURE(toolbar("Back"));
        ASSERT_TRUE(waitShown(done, kHome, kHomeTitle)) << state().toStdString();
    }

    QString bodyBackground() const { return js(QStringLiteral("getComputedStyle(document.body).backgroundImage")); }
};

TEST_F(WholeDay, BrowseEditCloseAndStartAgain)
{
    ASSERT_NO_FATAL_FAILURE(prepareDrive());
    const QByteArray originalHome = readFile(kHome);

    // Morning: the home page as argument.
    Main(kHome);
    ASSERT_NO_FATAL_FAILURE(attach());
    QSignalSpy done(engine, &platform::WebBrowser::DocumentComplete);
    ASSERT_TRUE(waitShown(done, kHome, kHomeTitle)) << state().toStdString();
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(bodyBackground().contains(QLatin1String("SF01.JPG"))) << bodyBackground().toStdString();

    // The second page, typed in the address box and sent with Enter.
    QLineEdit *edit = w->cboAddress->lineEdit();
    edit->selectAll();
    type(edit, kSecond);
    ASSERT_EQ(edit->text(), kSecond);
    done.clear();
    QTest::keyClick(edit, Qt::Key_Return);
    ASSERT_TRUE(waitShown(done, kSecond, kSecondTitle)) << state().toStdString();
    EXPECT_EQ(w->cboAddress->currentText(), kSecondUrl);
    EXPECT_TRUE(js(QStringLiteral("document.body.innerText")).contains(QStringLiteral("Tiramisù")));

    // Back to the home page.
    ASSERT_NO_FATAL_FAILURE(backHome(done));

    // A favourite: the shortcut to the second page, opened in this window.
    w->Command3->click();
    frmFav *fav = forms::loaded<frmFav>();
    ASSERT_NE(fav, nullptr);
    ASSERT_TRUE(fav->isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(fav));
    QTreeWidgetItem *shortcut = nullptr;
    for (QTreeWidgetItemIterator it(fav->TreeView1); *it && !shortcut; ++it) {
        const FavNodeRef node = fav->nodes().nodeOf(*it);
        if (node && node->key.endsWith(QLatin1String("_URL")) && node->tag == kSecondUrl)
            shortcut = *it;
    }
    ASSERT_NE(shortcut, nullptr) << "no shortcut to " << kSecondUrl.toStdString();
    fav->TreeView1->scrollToItem(shortcut);
    const QRect where = fav->TreeView1->visualItemRect(shortcut);
    ASSERT_TRUE(where.isValid());
    ui.menuChoices = {QStringLiteral("Open Site")};
    done.clear();
    QTest::mouseClick(fav->TreeView1->viewport(), Qt::LeftButton, {}, where.center());
    EXPECT_EQ(ui.menusShown, QStringList{QStringLiteral("URLMenu")});
    EXPECT_TRUE(ui.menuChoices.empty());
    ASSERT_TRUE(waitShown(done, kSecond, kSecondTitle)) << state().toStdString();
    EXPECT_EQ(forms::loaded<frmFav>(), fav);
    EXPECT_FALSE(fav->isVisible());
    EXPECT_EQ(w->Command1->text(), QStringLiteral(" Modifica    pagina"));

    // Home again, then a caption on it.
    ASSERT_NO_FATAL_FAILURE(backHome(done));
    w->Command1->click();
    Form2 *menu = forms::loaded<Form2>();
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(menu->isVisible());
    menu->Command2->click();
    Form3 *captionWindow = forms::loaded<Form3>();
    ASSERT_NE(captionWindow, nullptr);
    ASSERT_TRUE(captionWindow->isVisible());
    type(captionWindow->Text1, kCaption);
    ASSERT_EQ(captionWindow->Text1->text(), kCaption);
    done.clear();
    captionWindow->Command1->click();
    EXPECT_EQ(forms::loaded<Form3>(), nullptr);

    const QByteArray block = "<H2><p align=\"left\"><font color=\"#FFFF80\">" + kCaption.toLatin1()
                             + "</font></p></H2>";
    QList<QByteArray> expected = lines(originalHome);
    const auto closing = std::find_if(expected.begin(), expected.end(), [](const QByteArray &l) {
        return l.toUpper().contains("/BODY") || l.toUpper().contains("</HTML");
    });
    ASSERT_NE(closing, expected.end());
    expected.insert(closing + 1, block);
    const QByteArray withCaption = readFile(kHome);
    EXPECT_EQ(lines(withCaption), expected);
    EXPECT_TRUE(withCaption.endsWith("\r\n"));
    EXPECT_EQ(readFile(QStringLiteral("C:\\HOME-PAG\\INIZIO.HT_")), originalHome);
    EXPECT_EQ(readFile(QStringLiteral("C:\\HOME-PAG\\INIZIO.HT~")), withCaption);
    // The engine's own document, reloaded, shows it.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return done.count() > 0 && !engine->Busy()
                && js(QStringLiteral("document.body.innerText")).contains(kCaption);
        },
        kTimeout))
        << js(QStringLiteral("document.body.innerText")).toStdString();
    EXPECT_EQ(w->Tag, kHome);

    // A new background: the modal window, a click on the sample place holding SF02.JPG.
    bool clicked = false;
    QString problem;
    QTimer act;
    QElapsedTimer waited;
    waited.start();
    QObject::connect(&act, &QTimer::timeout, &act, [&] {
        Form1 *pictures = forms::loaded<Form1>();
        if (!pictures || !pictures->isVisible()) {
            if (waited.elapsed() > kTimeout) {
                act.stop();
                problem = QStringLiteral("the background window never showed");
            }
            return;
        }
        act.stop();
        for (ImageSample *place : pictures->Image1)
            if (place->Tag == kSample) {
                QTest::mouseClick(place, Qt::LeftButton, {}, place->rect().center());
                clicked = true;
                break;
            }
        if (!clicked) {
            problem = QStringLiteral("no sample place holds ") + kSample;
            pictures->cmdUSCITA->click(); // the modal loop must end
        } else if (forms::loaded<Form1>() == pictures) {
            problem = QStringLiteral("the background window stayed open after the click");
            pictures->close();
        }
    });
    act.start(20);
    done.clear();
    menu->Command1->click(); // returns when the modal window has gone
    act.stop();
    ASSERT_TRUE(clicked) << problem.toStdString();
    EXPECT_TRUE(problem.isEmpty()) << problem.toStdString();
    EXPECT_EQ(forms::loaded<Form1>(), nullptr);

    const QByteArray withBackground = readFile(kHome);
    EXPECT_TRUE(withBackground.contains("background=\"file:///C:\\HOME-PAG\\SF02.JPG\""))
        << withBackground.toStdString();
    EXPECT_TRUE(withBackground.contains(block));
    EXPECT_EQ(readFile(QStringLiteral("C:\\HOME-PAG\\INIZIO.HT_")), withCaption);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return done.count() > 0 && !engine->Busy() && bodyBackground().contains(kSample); }, kTimeout))
        << bodyBackground().toStdString();
    EXPECT_FALSE(bodyBackground().contains(QLatin1String("SF01.JPG")));
    EXPECT_TRUE(js(QStringLiteral("document.body.innerText")).contains(kCaption));
    // The picture itself reached the page: load the address the style names.
    js(QStringLiteral("(function () {"
                      "  window.lanternaBg = 0;"
                      "  var m = /url\\(\"?(.*?)\"?\\)/.exec(getComputedStyle(document.body).backgroundImage);"
                      "  if (!m) { window.lanternaBg = -2; return; }"
                      "  var img = new Image();"
                      "  img.onload = function () { window.lanternaBg = img.naturalWidth; };"
                      "  img.onerror = function () { window.lanternaBg = -1; };"
                      "  img.src = m[1];"
                      "})()"));
    QString loadedWidth;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            loadedWidth = js(QStringLiteral("String(window.lanternaBg)"));
            return loadedWidth != QLatin1String("0");
        },
        kTimeout));
    EXPECT_EQ(loadedWidth, QString::number(QImage(native(QStringLiteral("C:\\HOME-PAG\\SF02.JPG"))).width()));

    // Evening: close. The visited addresses it keeps are the real-input suite's to check.
    menu->Command3->click();
    EXPECT_EQ(forms::loaded<Form2>(), nullptr);
    w->close();
    EXPECT_EQ(forms::loaded<frmBrowser>(), nullptr);
    EXPECT_EQ(forms::loaded<frmFav>(), nullptr);
    EXPECT_EQ(ui.endProgramCalls, 1);
    // The closing question was the only message of the day.
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Desideri registrare i Link dei Siti Internet visualizzati (S/N)"));
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Chiusura Lanterna"));

    // Next morning: a fresh start without an argument opens the home page as edited.
    unloadAll();
    Module1::reset();
    Main(QString());
    ASSERT_NO_FATAL_FAILURE(attach());
    EXPECT_EQ(Module1::StartUrl, kHome);
    QSignalSpy again(engine, &platform::WebBrowser::DocumentComplete);
    ASSERT_TRUE(waitShown(again, kHome, kHomeTitle)) << state().toStdString();
    EXPECT_TRUE(js(QStringLiteral("document.body.innerText")).contains(kCaption));
    EXPECT_TRUE(bodyBackground().contains(kSample));
}
