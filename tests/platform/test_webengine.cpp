#include "TestEnv.h"
#include "LocalHttpServer.h"
#include "WebEngineHelpers.h"
#include "platform/DownloadsWindow.h"
#include "platform/WebEngineBrowser.h"
#include "platform/WebEnginePopup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QPushButton>
#include <QTreeWidget>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>
#include <memory>

using platform::WebEngineBrowser;
using platform::WebEnginePopup;

namespace {

constexpr int kLoad = 60000; // the first page also starts the engine

QList<WebEnginePopup *> popups()
{
    QList<WebEnginePopup *> out;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *p = qobject_cast<WebEnginePopup *>(w))
            out << p;
    return out;
}

} // namespace

class WebEngine : public LanternaTest {
protected:
    void SetUp() override
    {
        LanternaTest::SetUp();
        browser = std::make_unique<WebEngineBrowser>();
        browser->resize(800, 600);
        browser->show();
    }
    void TearDown() override
    {
        for (WebEnginePopup *p : popups())
            delete p;
        browser.reset();
        LanternaTest::TearDown();
    }

    // Navigates and waits for the page's DocumentComplete; its address, or "" on timeout.
    QString load(WebEngineBrowser &b, const QString &typed)
    {
        QSignalSpy done(&b, &WebEngineBrowser::DocumentComplete);
        b.Navigate(typed);
        if (!arrived(done))
            return {};
        return done.last().at(0).toString();
    }
    // Waits until the spy holds n signals (they may come while a script runs).
    static bool arrived(QSignalSpy &spy, int n = 1)
    {
        return QTest::qWaitFor([&] { return spy.size() >= n; }, kLoad);
    }
    QVariant js(const QString &script) { return evalJs(browser->page(), script); }

    std::unique_ptr<WebEngineBrowser> browser;
};

TEST_F(WebEngine, LocalPageLoadsWithItsWindowsFormPicturesAndFrames)
{
    writeFile("C:\\HOME-PAG\\SF01.JPG", pictureBytes(40, 30));
    writeFile("C:\\HOME-PAG\\SF02.JPG", pictureBytes(20, 10, Qt::red));
    writeFile("D:\\FOTO\\SF03.JPG", pictureBytes(12, 8, Qt::yellow));
    writeFile("C:\\HOME-PAG\\CORNICE.HTM", "<html><head><title>Cornice</title></head><body>c</body></html>");
    // As the editor writes pages: backgrounds as file:///C:\..., links as file://C:\...
    writeFile("C:\\HOME-PAG\\INIZIO.HTM",
              "<html><head><title>Pagina Iniziale</title></head>\r\n"
              "<body background=\"file:///C:\\HOME-PAG\\SF01.JPG\">\r\n"
              "<img id=\"a\" src=\"file://C:\\HOME-PAG\\SF02.JPG\">\r\n"
              "<img id=\"b\" src=\"file:///C:\\HOME-PAG\\SF01.JPG\">\r\n"
              "<img id=\"c\" src=\"D:\\FOTO\\SF03.JPG\">\r\n"
              "<iframe src=\"file://C:\\HOME-PAG\\CORNICE.HTM\"></iframe>\r\n"
              "</body></html>\r\n");

    EXPECT_EQ(browser->LocationURL(), "");
    EXPECT_FALSE(browser->Busy());

    QStringList order;
    QStringList asked;
    bool busyAtBegin = false;
    QObject::connect(browser.get(), &WebEngineBrowser::BeforeNavigate2, browser.get(),
                     [&](const QString &url, bool *cancel) {
                         asked << url;
                         EXPECT_FALSE(*cancel);
                     });
    QObject::connect(browser.get(), &WebEngineBrowser::DownloadBegin, browser.get(), [&] {
        order << "DownloadBegin";
        busyAtBegin = browser->Busy();
    });
    QObject::connect(browser.get(), &WebEngineBrowser::NavigateComplete2, browser.get(),
                     [&](const QString &url) { order << "NavigateComplete2 " + url; });
    QObject::connect(browser.get(), &WebEngineBrowser::DownloadComplete, browser.get(),
                     [&] { order << "DownloadComplete"; });
    QObject::connect(browser.get(), &WebEngineBrowser::DocumentComplete, browser.get(),
                     [&](const QString &url) { order << "DocumentComplete " + url; });
    QSignalSpy progress(browser.get(), &WebEngineBrowser::ProgressChange);
    QSignalSpy titles(browser.get(), &WebEngineBrowser::TitleChange);

    ASSERT_EQ(load(*browser, "C:\\HOME-PAG\\INIZIO.HTM"), "file:///C:/HOME-PAG/INIZIO.HTM");

    EXPECT_EQ(browser->LocationURL(), "file:///C:/HOME-PAG/INIZIO.HTM");
    EXPECT_EQ(browser->LocationName(), "Pagina Iniziale");
    EXPECT_FALSE(browser->Busy());
    EXPECT_TRUE(busyAtBegin);
    ASSERT_FALSE(asked.isEmpty());
    EXPECT_EQ(asked.first(), "file:///C:/HOME-PAG/INIZIO.HTM");
    EXPECT_TRUE(asked.contains("file:///C:/HOME-PAG/CORNICE.HTM")) << asked.join(' ').toStdString();
    EXPECT_EQ(order.value(0), "DownloadBegin") << order.join(" | ").toStdString();
    EXPECT_TRUE(order.contains("NavigateComplete2 file:///C:/HOME-PAG/INIZIO.HTM"));
    EXPECT_EQ(order.mid(order.size() - 2),
              QStringList({"DownloadComplete", "DocumentComplete file:///C:/HOME-PAG/INIZIO.HTM"}));
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.last().at(0).toInt(), 100);
    EXPECT_EQ(progress.last().at(1).toInt(), 100);
    bool titled = false;
    for (const auto &t : titles)
        titled = titled || t.at(0).toString() == "Pagina Iniziale";
    EXPECT_TRUE(titled);

    // The pictures named the Windows way came from the files on the temporary drives.
    EXPECT_EQ(js("document.getElementById('a').naturalWidth").toInt(), 20);
    EXPECT_EQ(js("document.getElementById('b').naturalWidth").toInt(), 40);
    EXPECT_EQ(js("document.getElementById('c').naturalWidth").toInt(), 12);
    EXPECT_EQ(js("frames[0].document.title").toString(), "Cornice");
    const QString background = js("getComputedStyle(document.body).backgroundImage").toString();
    EXPECT_TRUE(background.contains("file:///C:/HOME-PAG/SF01.JPG")) << background.toStdString();
    js("var bg = new Image(); bg.onload = function () { window.bgWidth = bg.naturalWidth; };"
       "bg.onerror = function () { window.bgWidth = -1; };"
       "bg.src = getComputedStyle(document.body).backgroundImage.slice(5, -2);");
    EXPECT_TRUE(QTest::qWaitFor([&] { return js("window.bgWidth !== undefined").toBool(); }, kLoad));
    EXPECT_EQ(js("window.bgWidth").toInt(), 40);

    // A missing file: the engine's error page, named and reported in Windows form.
    EXPECT_EQ(load(*browser, "C:\\HOME-PAG\\MANCA.HTM"), "file:///C:/HOME-PAG/MANCA.HTM");
    EXPECT_FALSE(browser->LocationName().contains(driveC)) << browser->LocationName().toStdString();
    EXPECT_FALSE(browser->Busy());

    // about:blank is reported as such.
    EXPECT_EQ(load(*browser, "about:blank"), "about:blank");
    EXPECT_EQ(browser->LocationURL(), "about:blank");
    EXPECT_EQ(asked.last(), "about:blank");
}

TEST_F(WebEngine, PlainPagesGoWithoutThePageScriptAndWindowsFormPagesGetItOnEveryWayIn)
{
    writeFile("C:\\HOME-PAG\\SF01.JPG", pictureBytes(40, 30));
    writeFile("C:\\HOME-PAG\\SF02.JPG", pictureBytes(20, 10, Qt::red));
    writeFile("D:\\FOTO\\SF03.JPG", pictureBytes(12, 8, Qt::yellow));
    // The sample home page's kind, with the editor's background form, which the engine
    // reads by itself.
    writeFile("C:\\HOME-PAG\\PIANA.HTM",
              "<html><head><title>Piana</title></head>\r\n"
              "<body background=\"file:///C:\\HOME-PAG\\SF01.JPG\">\r\n"
              "<img id=\"r\" src=\"SF02.JPG\"><img id=\"w\" src=\"file:///C:\\HOME-PAG\\SF02.JPG\">\r\n"
              "<a id=\"go\" href=\"FORME.HTM\">forme</a></body></html>\r\n");
    writeFile("C:\\HOME-PAG\\FORME.HTM",
              "<html><head><title>Forme</title></head><body>\r\n"
              "<img id=\"a\" src=\"file://C:\\HOME-PAG\\SF02.JPG\"><img id=\"c\" src=\"D:\\FOTO\\SF03.JPG\">\r\n"
              "</body></html>\r\n");
    const auto scripted = [&] { return !browser->page()->scripts().find(QStringLiteral("windows-paths")).isEmpty(); };
    const auto width = [&](const char *id) {
        const QString get = QStringLiteral("document.getElementById('%1').naturalWidth").arg(QLatin1String(id));
        (void)QTest::qWaitFor([&] { return js(get).toInt() > 0; }, 5000);
        return js(get).toInt();
    };
    // The Windows-form page with its script: both pictures found.
    const auto expectFormsPage = [&] {
        EXPECT_TRUE(scripted());
        EXPECT_EQ(width("a"), 20);
        EXPECT_EQ(width("c"), 12);
    };

    ASSERT_EQ(load(*browser, "C:\\HOME-PAG\\PIANA.HTM"), "file:///C:/HOME-PAG/PIANA.HTM");
    EXPECT_FALSE(scripted());
    EXPECT_EQ(width("r"), 20);
    EXPECT_EQ(width("w"), 20);
    const QString background = js("getComputedStyle(document.body).backgroundImage").toString();
    EXPECT_TRUE(background.contains("file:///C:/HOME-PAG/SF01.JPG")) << background.toStdString();

    // Followed from the plain page, the next page gets the script before it is made.
    QSignalSpy done(browser.get(), &WebEngineBrowser::DocumentComplete);
    js("document.getElementById('go').click()");
    ASSERT_TRUE(arrived(done));
    EXPECT_EQ(done.last().at(0).toString(), "file:///C:/HOME-PAG/FORME.HTM");
    expectFormsPage();

    // Typed, then back through the history, then reloaded: each way gets it again.
    ASSERT_EQ(load(*browser, "C:\\HOME-PAG\\PIANA.HTM"), "file:///C:/HOME-PAG/PIANA.HTM");
    EXPECT_FALSE(scripted());
    done.clear();
    browser->GoBack();
    ASSERT_TRUE(arrived(done));
    EXPECT_EQ(browser->LocationURL(), "file:///C:/HOME-PAG/FORME.HTM");
    expectFormsPage();

    // The page changes on disk (the editor adds a Windows-form link) while shown as
    // plain: Refresh reads it again.
    ASSERT_EQ(load(*browser, "C:\\HOME-PAG\\PIANA.HTM"), "file:///C:/HOME-PAG/PIANA.HTM");
    EXPECT_FALSE(scripted());
    writeFile("C:\\HOME-PAG\\PIANA.HTM",
              "<html><head><title>Piana</title></head><body>\r\n"
              "<img id=\"a\" src=\"file://C:\\HOME-PAG\\SF02.JPG\"></body></html>\r\n");
    done.clear();
    browser->Refresh();
    ASSERT_TRUE(arrived(done));
    EXPECT_TRUE(scripted());
    EXPECT_EQ(width("a"), 20);
}

TEST_F(WebEngine, LinkClicksAskFirstAndARefusalKeepsThePage)
{
    writeFile("C:\\HOME-PAG\\INIZIO.HTM",
              "<html><head><title>Inizio</title></head><body>\r\n"
              "<a id=\"win\" href=\"file://C:\\HOME-PAG\\B.HTM\">B</a>\r\n"
              "<a id=\"rel\" href=\"SUB\\C.HTM\">C</a>\r\n"
              "</body></html>\r\n");
    writeFile("C:\\HOME-PAG\\B.HTM", "<html><head><title>Pagina B</title></head><body>b</body></html>");
    writeFile("C:\\HOME-PAG\\SUB\\C.HTM",
              "<html><head><title>Pagina C</title></head><body>"
              "<a id=\"win\" href=\"file://C:\\HOME-PAG\\B.HTM\">B</a></body></html>");
    ASSERT_EQ(load(*browser, "file:///C:/HOME-PAG/INIZIO.HTM"), "file:///C:/HOME-PAG/INIZIO.HTM");

    bool refuse = true;
    QStringList asked;
    QObject::connect(browser.get(), &WebEngineBrowser::BeforeNavigate2, browser.get(),
                     [&](const QString &url, bool *cancel) {
                         asked << url;
                         *cancel = refuse;
                     });
    QSignalSpy begins(browser.get(), &WebEngineBrowser::DownloadBegin);
    QSignalSpy done(browser.get(), &WebEngineBrowser::DocumentComplete);

    js("document.getElementById('win').click()");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !asked.isEmpty(); }, kLoad));
    EXPECT_EQ(asked, QStringList{"file:///C:/HOME-PAG/B.HTM"});
    EXPECT_EQ(js("document.title").toString(), "Inizio");
    EXPECT_EQ(browser->LocationURL(), "file:///C:/HOME-PAG/INIZIO.HTM");

    // The refused navigation raised no load events of its own: the next load is the
    // only one seen.
    refuse = false;
    asked.clear();
    js("document.getElementById('rel').click()");
    ASSERT_TRUE(arrived(done));
    EXPECT_EQ(done.size(), 1);
    EXPECT_EQ(done.first().at(0).toString(), "file:///C:/HOME-PAG/SUB/C.HTM");
    EXPECT_EQ(begins.size(), 1);
    EXPECT_EQ(asked, QStringList{"file:///C:/HOME-PAG/SUB/C.HTM"});
    EXPECT_EQ(browser->LocationName(), "Pagina C");

    // A Windows-form link followed: asked once (not again for the redirect to the
    // native file), and reported in Windows form.
    asked.clear();
    done.clear();
    js("document.getElementById('win').click()");
    ASSERT_TRUE(arrived(done));
    EXPECT_EQ(done.last().at(0).toString(), "file:///C:/HOME-PAG/B.HTM");
    EXPECT_EQ(browser->LocationName(), "Pagina B");
    EXPECT_EQ(asked, QStringList{"file:///C:/HOME-PAG/B.HTM"});

    // Back is a navigation too. (The engine skips, going back, pages that left by a
    // script's click without a user gesture; a typed navigation leaves B normally.)
    ASSERT_EQ(load(*browser, "C:\\HOME-PAG\\INIZIO.HTM"), "file:///C:/HOME-PAG/INIZIO.HTM");
    asked.clear();
    done.clear();
    browser->GoBack();
    ASSERT_TRUE(arrived(done));
    EXPECT_EQ(browser->LocationURL(), "file:///C:/HOME-PAG/B.HTM");
    EXPECT_EQ(asked, QStringList{"file:///C:/HOME-PAG/B.HTM"});

    // A typed navigation refused never starts.
    refuse = true;
    asked.clear();
    begins.clear();
    browser->Navigate("C:\\HOME-PAG\\INIZIO.HTM");
    EXPECT_EQ(asked, QStringList{"file:///C:/HOME-PAG/INIZIO.HTM"});
    EXPECT_EQ(js("document.title").toString(), "Pagina B");
    EXPECT_TRUE(begins.isEmpty());
    EXPECT_FALSE(browser->Busy());
}

TEST_F(WebEngine, WindowOpenAsksAndOpensAPlainWindowUnlessCancelled)
{
    writeFile("C:\\HOME-PAG\\INIZIO.HTM", "<html><head><title>Inizio</title></head><body>a</body></html>");
    writeFile("C:\\HOME-PAG\\POPUP.HTM", "<html><head><title>Finestra</title></head><body>p</body></html>");
    ASSERT_EQ(load(*browser, "C:\\HOME-PAG\\INIZIO.HTM"), "file:///C:/HOME-PAG/INIZIO.HTM");

    int asked = 0;
    bool refuse = true;
    QObject::connect(browser.get(), &WebEngineBrowser::NewWindow2, browser.get(), [&](bool *cancel) {
        ++asked;
        EXPECT_FALSE(*cancel);
        *cancel = refuse;
    });

    js("window.open('POPUP.HTM')");
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(popups().isEmpty());

    refuse = false;
    EXPECT_TRUE(js("window.open('file:///C:/HOME-PAG/POPUP.HTM', '_blank', 'width=300,height=200') !== null").toBool());
    EXPECT_EQ(asked, 2);
    ASSERT_EQ(popups().size(), 1);
    QPointer<WebEnginePopup> popup = popups().first();
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->parentWidget(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return popup->windowTitle() == "Finestra"; }, kLoad))
        << popup->windowTitle().toStdString();
    EXPECT_EQ(popup->view()->url().toLocalFile(), driveC + "/HOME-PAG/POPUP.HTM");
    EXPECT_TRUE(QTest::qWaitFor([&] { return popup->size() == QSize(300, 200); }, kLoad))
        << popup->width() << "x" << popup->height();
    EXPECT_EQ(browser->LocationURL(), "file:///C:/HOME-PAG/INIZIO.HTM");

    // The page closes its own window, which goes away.
    evalJs(popup->page(), "window.close()");
    EXPECT_TRUE(QTest::qWaitFor([&] { return popup.isNull(); }, kLoad));

    // Quitting the application closes what is still open and drops the control's
    // page before the shared profile goes; the control stays usable.
    js("window.open('POPUP.HTM')");
    ASSERT_EQ(popups().size(), 1);
    QPointer<WebEnginePopup> left = popups().first();
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    qApp->exec();
    EXPECT_TRUE(left.isNull());
    EXPECT_EQ(browser->page(), nullptr);
    EXPECT_EQ(browser->LocationURL(), "");
    browser->Navigate("C:\\HOME-PAG\\INIZIO.HTM");
    browser->Stop();
}

TEST_F(WebEngine, FindCountsMatchesAndANewCaseRuleCountsAfresh)
{
    using B = platform::WebBrowser;
    writeFile("C:\\P\\GATTI.HTM", "<html><body>gatto Gatto gatto</body></html>");
    ASSERT_EQ(load(*browser, "C:\\P\\GATTI.HTM"), "file:///C:/P/GATTI.HTM");
    QSignalSpy found(browser.get(), &WebEngineBrowser::FindResult);
    browser->FindText("gatto", B::FindDirection::Forward, B::FindCase::Ignore);
    ASSERT_TRUE(arrived(found));
    EXPECT_EQ(found.last(), QVariantList({1, 3}));
    browser->FindText("gatto", B::FindDirection::Backward, B::FindCase::Match);
    ASSERT_TRUE(arrived(found, 2));
    EXPECT_EQ(found.value(1), QVariantList({1, 2})); // the new case rule counts afresh
}

TEST_F(WebEngine, DownloadsAreAnnouncedOnceByTheirBrowserAndNeverOverwrite)
{
    const QString home = root->filePath("home");
    QDir().mkpath(home + "/Downloads");
    qputenv("HOME", QFile::encodeName(home));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root->filePath("config")));
    const QString downloads = home + "/Downloads";

    QByteArray data(5000, '\0');
    for (int i = 0; i < data.size(); ++i)
        data[i] = char((i * 7919) % 251);
    writeFile("C:\\FILES\\DATI.ZIP", data);
    writeFile("C:\\FILES\\ALTRO.ZIP", data.left(100));
    {
        QFile old(downloads + "/DATI.ZIP");
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("vecchio");
    }

    WebEngineBrowser other;
    QSignalSpy otherAsked(&other, &WebEngineBrowser::FileDownload);
    bool refuse = true;
    int asked = 0;
    QObject::connect(browser.get(), &WebEngineBrowser::FileDownload, browser.get(), [&](bool *cancel) {
        ++asked;
        *cancel = refuse;
    });

    browser->Navigate("C:\\FILES\\ALTRO.ZIP");
    ASSERT_TRUE(QTest::qWaitFor([&] { return asked == 1; }, kLoad));

    refuse = false;
    browser->Navigate("C:\\FILES\\DATI.ZIP");
    ASSERT_TRUE(QTest::qWaitFor([&] { return asked == 2; }, kLoad));
    const QString saved = downloads + "/DATI (1).ZIP";
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            QFile f(saved);
            return f.open(QIODevice::ReadOnly) && f.readAll() == data;
        },
        kLoad));

    EXPECT_EQ(asked, 2);
    EXPECT_EQ(otherAsked.size(), 0);
    QFile old(downloads + "/DATI.ZIP");
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "vecchio");
    EXPECT_FALSE(QFile::exists(downloads + "/ALTRO.ZIP"));

    // The window lists it, done, under the name it was saved as.
    QTreeWidget *list = platform::DownloadsWindow::existing()->list();
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return list->topLevelItem(0)->text(3) == "completato"; }, kLoad));
    EXPECT_EQ(list->topLevelItem(0)->text(0), "DATI (1).ZIP");
    EXPECT_EQ(list->topLevelItem(0)->text(2), "100%");

    // "Salva pagina" goes the same way, named after the page's title.
    writeFile("C:\\FILES\\P.HTM", "<html><head><title>Da salvare</title></head><body>x</body></html>");
    ASSERT_FALSE(load(*browser, "C:\\FILES\\P.HTM").isEmpty());
    browser->page()->triggerAction(QWebEnginePage::SavePage);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return list->topLevelItemCount() == 2 && list->topLevelItem(0)->text(3) == "completato"; }, kLoad));
    EXPECT_TRUE(QFile::exists(downloads + "/Da salvare.mhtml"));
}

TEST_F(WebEngine, ScriptBoxesAndPermissionQuestionsAreItalianAndAPermissionHoldsForTheRun)
{
    writeFile("C:\\HOME-PAG\\INIZIO.HTM", "<html><head><title>Pagina</title></head><body>p</body></html>");
    ASSERT_EQ(load(*browser, "C:\\HOME-PAG\\INIZIO.HTM"), "file:///C:/HOME-PAG/INIZIO.HTM");
    ui.answers = {platform::vbCancel};
    EXPECT_EQ(js("confirm('Sicuro?')"), QVariant(false));
    EXPECT_EQ(ui.last().title, "file:///C:/HOME-PAG/INIZIO.HTM");
    ui.inputs = {"Mario"};
    EXPECT_EQ(js("prompt('Nome?', 'x')"), QVariant("Mario"));
    EXPECT_EQ(ui.last().text, "Nome?");

    // Leaving a page that asks first (the engine asks only after the user has touched it).
    js("window.onbeforeunload = function (e) { e.preventDefault(); return 'x'; }");
    QTest::mouseClick(browser->view()->focusProxy(), Qt::LeftButton, {}, QPoint(20, 20));
    // The click reaches the page's process later: leave only once the page has seen it.
    ASSERT_TRUE(QTest::qWaitFor([&] { return js("navigator.userActivation.hasBeenActive") == QVariant(true); }, kLoad));
    const size_t before = ui.messages.size();
    EXPECT_EQ(load(*browser, "about:blank"), "about:blank"); // OK: the page is left
    ASSERT_EQ(ui.messages.size(), before + 1);
    EXPECT_EQ(ui.last().text.toStdString(),
              "Vuoi davvero lasciare questa pagina?\rLe modifiche fatte potrebbero non essere salvate.");

    LocalHttpServer server;
    server.add("/p.htm", {"<html><head><title>Sito</title></head><body>s</body></html>"});
    const QString ask = "Notification.requestPermission(function (p) { document.title = p; })";
    for (int run = 0; run < 2; ++run) {
        ASSERT_FALSE(load(*browser, server.url("/p.htm")).isEmpty());
        const size_t shown = ui.messages.size();
        js(ask);
        EXPECT_TRUE(QTest::qWaitFor([&] { return browser->LocationName() == "granted"; }, kLoad));
        EXPECT_EQ(ui.messages.size(), shown + (run == 0 ? 1 : 0)) << "asked once, remembered after";
    }
    EXPECT_EQ(ui.messages.back().text.toStdString(),
              ("Il sito " + server.url("") + " chiede di mostrare notifiche.\rConsentire?").toStdString());
}

TEST_F(WebEngine, AnnullaInTheDownloadsWindowStopsADownloadAndLeavesNoFile)
{
    const QString home = root->filePath("home");
    qputenv("HOME", QFile::encodeName(home));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root->filePath("config")));
    LocalHttpServer server;
    server.add("/lungo.bin", {QByteArray(100000, 'x'), "application/octet-stream", 100});
    browser->Navigate(server.url("/lungo.bin"));
    ASSERT_TRUE(QTest::qWaitFor([] { return platform::DownloadsWindow::existing(); }, kLoad));
    QTreeWidget *list = platform::DownloadsWindow::existing()->list();
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->topLevelItemCount() > 0; }, kLoad));
    QTreeWidgetItem *row = list->topLevelItem(0);
    EXPECT_EQ(row->text(3), "in corso");
    EXPECT_TRUE(QFile::exists(home + "/Downloads/" + row->text(0))); // reserved before the first byte
    QPushButton *annulla = nullptr;
    for (QPushButton *b : platform::DownloadsWindow::existing()->findChildren<QPushButton *>())
        if (b->text() == "Annulla")
            annulla = b;
    ASSERT_TRUE(annulla && annulla->isEnabled());
    annulla->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return row->text(3) == "annullato"; }, kLoad));
    // The engine drops its partial file on its own thread, after the state has changed.
    const QDir downloads(home + "/Downloads");
    EXPECT_TRUE(QTest::qWaitFor([&] { return downloads.entryList(QDir::Files).isEmpty(); }, kLoad))
        << downloads.entryList(QDir::Files).join(' ').toStdString();
}
