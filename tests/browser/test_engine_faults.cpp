// What the real engine does that the fake does not: refused loads it still starts,
// late ends of stopped loads, its own language, crashes of its page process, and web
// pages that reach for local files.
#include "BoxHelpers.h"
#include "LocalHttpServer.h"
#include "RealEngineTest.h"
#include "TestEnv.h"
#include "WebEngineHelpers.h"
#include "base/Module1.h"
#include "base/forms.h"
#include "browser/frmBrowser.h"
#include "platform/WebEngineBrowser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>

#include <csignal>

namespace {

constexpr int kTimeout = 60000;

} // namespace

class EngineFaults : public RealEngineTest {
protected:
    LocalHttpServer web;
};

TEST_F(EngineFaults, APageRefusedOnceIsLoadedListedAndLoggedWhenAccepted)
{
    writeFile(QStringLiteral("C:\\P\\A.HTM"),
              "<html><head><title>A</title></head><body><a id=\"b\" href=\"B.HTM\">B</a></body></html>\r\n");
    writeFile(QStringLiteral("C:\\P\\B.HTM"), "<html><head><title>B</title></head><body>B</body></html>\r\n");
    ASSERT_TRUE(open(QStringLiteral("C:\\P\\A.HTM"), QStringLiteral("A.HTM")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w->timTimer->isActive(); }, kTimeout));

    // Questions on; a real message box keeps the events running while it waits.
    w->Check1->setChecked(false);
    ui.answers = {platform::vbCancel};
    QList<QWebEngineLoadingInfo::LoadStatus> seen;
    // Both watchers read `seen`: they end with this test body, not with the window.
    QObject watch;
    QObject::connect(engine->page(), &QWebEnginePage::loadingChanged, &watch,
                     [&](const QWebEngineLoadingInfo &i) { seen << i.status(); });
    // The box stays up until the engine has started the load it asks about.
    ui.modalUntil = [&] { return seen.contains(QWebEngineLoadingInfo::LoadStartedStatus); };
    const auto endModal = qScopeGuard([&] { ui.modalUntil = nullptr; });
    const QString caption = w->windowTitle();
    QSignalSpy refusedBegun(engine, &platform::WebBrowser::DownloadBegin);
    QSignalSpy refusedEnded(engine, &platform::WebBrowser::DownloadComplete);
    engine->page()->runJavaScript(QStringLiteral("document.getElementById('b').click();"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ui.messages.size() == 1 && ui.answers.empty(); }, kTimeout));
    EXPECT_TRUE(ui.modalEnded);
    // The engine started the refused load before asking and ends it after: none of
    // it reaches the window, as with a control that asks first.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return seen.contains(QWebEngineLoadingInfo::LoadStoppedStatus)
                || seen.contains(QWebEngineLoadingInfo::LoadFailedStatus);
        },
        kTimeout));
    EXPECT_FALSE(engine->Busy());
    EXPECT_TRUE(engine->LocationURL().endsWith(QLatin1String("A.HTM")));
    EXPECT_EQ(refusedBegun.count(), 0);
    EXPECT_EQ(refusedEnded.count(), 0);
    EXPECT_EQ(w->windowTitle(), caption);

    // The same link again, OK: a load like any other, reported from its start.
    QSignalSpy begun(engine, &platform::WebBrowser::DownloadBegin);
    QSignalSpy progress(engine, &platform::WebBrowser::ProgressChange);
    QSignalSpy complete(engine, &platform::WebBrowser::DocumentComplete);
    ui.answers = {platform::vbOK};
    engine->page()->runJavaScript(QStringLiteral("document.getElementById('b').click();"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return engine->LocationURL().endsWith(QLatin1String("B.HTM")) && !engine->Busy() && !complete.isEmpty();
        },
        kTimeout));
    EXPECT_GE(begun.count(), 1);
    EXPECT_GE(progress.count(), 1);
    EXPECT_TRUE(w->StatusPanel1->text().startsWith(QLatin1String("Reading "))) << w->StatusPanel1->text().toStdString();
    // Listed, so closing with Sì logs it (which the real-input suite checks).
    const QString b = engine->LocationURL();
    EXPECT_TRUE(boxEntries(w->cboAddress).contains(b)) << boxEntries(w->cboAddress).join(' ').toStdString();
}

TEST_F(EngineFaults, StopLeavesTheControlIdleAndThePageShownAtOnce)
{
    web.add("/lenta", {QByteArray("<html><head><title>Lenta</title></head><body>") + QByteArray(4000, 'x')
                           + "</body></html>",
                       "text/html", 50});
    w->cboAddress->setEditText(web.url(QStringLiteral("/lenta")));
    w->cboAddress_Click();
    // Loading, its address committed, the body still trickling in.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return engine->Busy() && engine->LocationURL().endsWith(QLatin1String("/lenta")); }, kTimeout));
    bool engineEnded = false;
    QObject::connect(engine->page(), &QWebEnginePage::loadingChanged, engine, [&](const QWebEngineLoadingInfo &i) {
        if (i.status() != QWebEngineLoadingInfo::LoadStartedStatus)
            engineEnded = true;
    });

    w->tbToolBar_ButtonClick(QStringLiteral("Stop"));
    const QString path = QStringLiteral("http:\\\\127.0.0.1:%1\\lenta").arg(web.port());
    EXPECT_FALSE(engine->Busy());
    EXPECT_FALSE(w->timTimer->isActive());
    EXPECT_EQ(w->windowTitle(), path);
    EXPECT_EQ(w->Tag, path);
    EXPECT_EQ(w->cboAddress->currentText(), web.url(QStringLiteral("/lenta")));

    // The engine's late word on the stopped load changes none of it.
    ASSERT_TRUE(QTest::qWaitFor([&] { return engineEnded; }, kTimeout));
    QTest::qWait(0);
    EXPECT_EQ(w->windowTitle(), path);
    EXPECT_FALSE(w->timTimer->isActive());
    EXPECT_FALSE(engine->Busy());

    // And the next navigation is reported whole.
    writeFile(QStringLiteral("C:\\P\\DOPO.HTM"), "<html><head><title>Dopo</title></head><body>d</body></html>\r\n");
    QSignalSpy complete(engine, &platform::WebBrowser::DocumentComplete);
    ASSERT_TRUE(open(QStringLiteral("C:\\P\\DOPO.HTM"), QStringLiteral("DOPO.HTM")));
    EXPECT_EQ(complete.count(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->windowTitle() == QStringLiteral("C:\\P\\DOPO.HTM"); }, kTimeout));
}

TEST_F(EngineFaults, TheEngineSpeaksItalian)
{
    web.add("/lingua", {"<html><head><title>L</title></head><body>l</body></html>"});
    ASSERT_TRUE(open(web.url(QStringLiteral("/lingua")), QStringLiteral("/lingua")));
    ASSERT_FALSE(web.heads.isEmpty());
    EXPECT_TRUE(web.heads.last().contains("Accept-Language: it-IT")) << web.heads.last().toStdString();
    EXPECT_EQ(evalJs(engine->page(), QStringLiteral("navigator.language")).toString(), QStringLiteral("it-IT"));

    // A site that cannot be reached: the engine's own error page, in Italian.
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();
    w->cboAddress->setEditText(QStringLiteral("http://127.0.0.1:%1/").arg(port));
    w->cboAddress_Click();
    QString text;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            if (engine->Busy())
                return false;
            text = evalJs(engine->page(), QStringLiteral("document.body ? document.body.innerText : ''"), 5000)
                       .toString();
            return text.contains(QLatin1String("127.0.0.1"));
        },
        kTimeout));
    EXPECT_TRUE(text.contains(QStringLiteral("Impossibile raggiungere il sito"))) << text.toStdString();
    EXPECT_FALSE(
        text.contains(QStringLiteral("can't be reached")) || text.contains(QStringLiteral("can’t be reached")));
}

TEST_F(EngineFaults, AKilledPageProcessIsShownAndRefreshBringsThePageBack)
{
    writeFile(QStringLiteral("C:\\P\\A.HTM"), "<html><head><title>A</title></head><body>pagina A</body></html>\r\n");
    writeFile(QStringLiteral("C:\\P\\B.HTM"), "<html><head><title>B</title></head><body>pagina B</body></html>\r\n");
    ASSERT_TRUE(open(QStringLiteral("C:\\P\\A.HTM"), QStringLiteral("A.HTM")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine->page()->renderProcessPid() > 0; }, kTimeout));
    // Nothing covers a page whose process runs.
    EXPECT_EQ(engine->findChild<QLabel *>(), nullptr);

    QSignalSpy ended(engine->page(), &QWebEnginePage::renderProcessTerminated);
    ASSERT_EQ(::kill(pid_t(engine->page()->renderProcessPid()), SIGKILL), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !ended.isEmpty(); }, kTimeout));
    auto *notice = engine->findChild<QLabel *>();
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_TRUE(notice->text().contains(QStringLiteral("La pagina si è interrotta")));
    EXPECT_FALSE(engine->Busy());
    EXPECT_TRUE(w->isVisible());

    // Refresh brings the page back in a new page process.
    w->tbToolBar_ButtonClick(QStringLiteral("Refresh"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return !engine->Busy()
                   && evalJs(engine->page(), QStringLiteral("document.body.innerText"), 5000).toString()
                          == QStringLiteral("pagina A");
        },
        kTimeout));
    EXPECT_TRUE(notice->isHidden());

    // Killed again, a new address loads too, and closing still writes the log.
    const qint64 second = engine->page()->renderProcessPid();
    ASSERT_GT(second, 0);
    ASSERT_EQ(::kill(pid_t(second), SIGKILL), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ended.count() == 2; }, kTimeout));
    ASSERT_TRUE(open(QStringLiteral("C:\\P\\B.HTM"), QStringLiteral("B.HTM")));
    EXPECT_EQ(evalJs(engine->page(), QStringLiteral("document.body.innerText")).toString(), QStringLiteral("pagina B"));
    EXPECT_TRUE(notice->isHidden());
    ui.answers = {platform::vbYes};
    w->close();
    EXPECT_TRUE(readFile(QStringLiteral("C:\\PROG\\LANTERNA.DAT")).contains("file:///C:/P/B.HTM"));
}

TEST_F(EngineFaults, AWebPageCannotReachLocalFiles)
{
    writeFile(QStringLiteral("C:\\SEGRETO\\foto.png"), pictureBytes(4, 4));
    writeFile(QStringLiteral("C:\\SEGRETO\\testo.htm"), "<html><body>SEGRETO</body></html>\r\n");
    // Every way to the drive mapping a page might try whose outcome the page itself can
    // tell; each outcome lands in the title.
    web.add("/ostile",
            {"<html><head><title>in corso</title></head><body><script>\n"
             "var out = {};\n"
             "function done(k, v) { out[k] = v; if (Object.keys(out).length == 4)"
             "  document.title = JSON.stringify(out); }\n"
             "function img(k, src) { var i = new Image(); i.onload = function () { done(k, 'LETTO'); };"
             "  i.onerror = function () { done(k, 'no'); }; i.src = src; }\n"
             "img('img1', 'file:///C:/SEGRETO/foto.png');\n"
             "img('img2', 'C:\\\\SEGRETO\\\\foto.png');\n"
             "fetch('file:///C:/SEGRETO/testo.htm').then(function (r) { return r.text(); })"
             "  .then(function (t) { done('fetch', t.indexOf('SEGRETO') >= 0 ? 'LETTO' : 'no'); },"
             "        function () { done('fetch', 'no'); });\n"
             "fetch('/rimanda').then(function (r) { return r.text(); })"
             "  .then(function (t) { done('redirect', t.indexOf('SEGRETO') >= 0 ? 'LETTO' : 'no'); },"
             "        function () { done('redirect', 'no'); });\n"
             "</script></body></html>"});
    web.add("/rimanda", {{}, {}, 0, "file:///C:/SEGRETO/testo.htm"});
    ASSERT_TRUE(open(web.url(QStringLiteral("/ostile")), QStringLiteral("/ostile")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine->page()->title().startsWith(QLatin1Char('{')); }, 15000))
        << evalJs(engine->page(), QStringLiteral("JSON.stringify(out)")).toString().toStdString();
    EXPECT_FALSE(engine->page()->title().contains(QLatin1String("LETTO"))) << engine->page()->title().toStdString();

    // A redirect of the page itself to a local file does not show it either.
    w->cboAddress->setEditText(web.url(QStringLiteral("/rimanda")));
    w->cboAddress_Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !engine->Busy() && web.requests.size() >= 3; }, kTimeout));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !engine->Busy(); }, kTimeout));
    EXPECT_FALSE(evalJs(engine->page(), QStringLiteral("document.body ? document.body.innerText : ''"))
                     .toString()
                     .contains(QLatin1String("SEGRETO")));
}
