// Pages that try to bog the program down or read the user's files, on the real engine:
// a flood of pop-up windows, a page that reloads itself without end, a prying local page.
#include "EventWait.h"
#include "LocalHttpServer.h"
#include "RealEngineTest.h"
#include "TestEnv.h"
#include "WebEngineHelpers.h"
#include "base/Module1.h"
#include "base/forms.h"
#include "browser/frmBrowser.h"
#include "platform/PathSpace.h"
#include "platform/PopupLimit.h"
#include "platform/WebEngineBrowser.h"
#include "platform/WebEnginePopup.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPointer>
#include <QSignalSpy>
#include <QTimer>
#include <QUrl>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>

#include <algorithm>
#include <iostream>

namespace {

constexpr int kTimeout = 60000;


// The longest time the event loop went without running a 10 ms timer, while it lives.
class LoopWatch : public QObject {
public:
    LoopWatch()
    {
        timer_.setInterval(10);
        connect(&timer_, &QTimer::timeout, this, [this] {
            longest = std::max(longest, since_.restart());
        });
        since_.start();
        timer_.start();
    }
    qint64 longest = 0;

private:
    QTimer timer_;
    QElapsedTimer since_;
};

// True once a zero timer started now has run: the event loop is not stuck.
bool loopRuns()
{
    bool ran = false;
    QTimer::singleShot(0, qApp, [&ran] { ran = true; });
    return waitForEvents([&] { return ran; }, kTimeout);
}

} // namespace

class HostilePages : public RealEngineTest {
protected:
    LocalHttpServer web;
};

TEST_F(HostilePages, AFloodOfPopUpsOpensAFewAndTheWindowGoesOn)
{
    web.add("/pop", {"<html><head><title>Pop</title></head><body>p</body></html>"});
    // Each window of this one opens another on load.
    web.add("/catena", {"<html><head><title>Catena</title></head><body>c<script>"
                        "window.open('/catena?' + Math.random());</script></body></html>"});
    // A thousand at once, then a thousand more on a timer; the title says when it is done.
    web.add("/mille", {"<html><head><title>Mille</title></head><body>m<script>\n"
                       "for (var i = 0; i < 1000; ++i) window.open('/pop?' + i, '_blank', 'width=200,height=100');\n"
                       "var more = 0;\n"
                       "var t = setInterval(function () {\n"
                       "  window.open(more % 2 ? '/pop?t' + more : '/catena?t' + more);\n"
                       "  if (++more >= 1000) { clearInterval(t); document.title = 'Finito'; }\n"
                       "}, 1);\n"
                       "</script></body></html>"});
    web.add("/dopo", {"<html><head><title>Dopo</title></head><body>d</body></html>"});
    web.add("/uno", {"<html><head><title>Uno</title></head><body>u<script>window.open('/catena');</script>"
                     "</body></html>"});
    auto loaded = [&](const char *prefix) {
        return int(std::count_if(web.requests.cbegin(), web.requests.cend(),
                                 [&](const QString &r) { return r.startsWith(QLatin1String(prefix)); }));
    };

    w->Check2->click(); // "Elimina Win PopUp" off: pages may open windows
    ASSERT_TRUE(Module1::AllowPopups);
    QSignalSpy asked(engine, &platform::WebBrowser::NewWindow2);
    const QPointer<frmBrowser> main(w);
    LoopWatch watch;
    QElapsedTimer clock;
    clock.start();
    w->cboAddress->setEditText(web.url(QStringLiteral("/mille")));
    w->cboAddress_Click();
    ASSERT_TRUE(waitForEvents([&] { return engine->page()->title() == QLatin1String("Finito"); }, kTimeout))
        << engine->page()->title().toStdString() << ", asked " << asked.count() << ", windows " << popups().size();
    std::cout << "2000 requests for windows: " << clock.elapsed() << " ms, " << asked.count() << " raised, "
              << popups().size() << " windows, longest stall of the event loop " << watch.longest << " ms"
              << std::endl;

    // A few windows, the rest of the requests dropped before they were even raised.
    QList<QPointer<platform::WebEnginePopup>> opened;
    for (auto *p : popups())
        opened << p;
    EXPECT_GE(opened.size(), 1);
    EXPECT_LE(opened.size(), platform::PopupLimit::kMaxOpen);
    EXPECT_GE(asked.count(), 1);
    EXPECT_LE(asked.count(), opened.size());
    EXPECT_LE(loaded("GET /pop") + loaded("GET /catena"), opened.size());

    // The window lives and works: its event loop runs, the address box takes the next page.
    ASSERT_TRUE(loopRuns());
    ASSERT_TRUE(main);
    EXPECT_TRUE(w->isVisible());
    ASSERT_TRUE(open(web.url(QStringLiteral("/dopo")), QStringLiteral("/dopo")));
    EXPECT_TRUE(waitForEvents([&] { return engine->page()->title() == QLatin1String("Dopo"); }, kTimeout));

    // Windows whose pages open windows in turn share the limit of the page that began.
    ASSERT_TRUE(open(web.url(QStringLiteral("/uno")), QStringLiteral("/uno")));
    ASSERT_TRUE(waitForEvents([&] { return popups().size() == platform::PopupLimit::kMaxOpen; }, kTimeout))
        << popups().size();
    ASSERT_TRUE(open(web.url(QStringLiteral("/dopo")), QStringLiteral("/dopo")));
    ASSERT_TRUE(loopRuns());
    EXPECT_EQ(popups().size(), platform::PopupLimit::kMaxOpen);
    EXPECT_LE(loaded("GET /pop") + loaded("GET /catena"), platform::PopupLimit::kMaxOpen);
    // No window of the program was closed on the way.
    for (const auto &p : opened)
        EXPECT_FALSE(p.isNull());
}

TEST_F(HostilePages, APageThatReloadsItselfWithoutEndStopsOnStopAndOnAnotherAddress)
{
    // Every reload is a request to the server, which counts them.
    web.add("/subito", {"<html><head><title>Subito</title></head><body>s<script>location.reload();</script>"
                        "</body></html>"});
    web.add("/timer", {"<html><head><title>Timer</title></head><body>t<script>"
                       "setTimeout(function () { location.reload(); }, 10);</script></body></html>"});
    web.add("/altra", {"<html><head><title>Altra</title></head><body>a</body></html>"});
    auto hits = [&](const QString &path) { return int(web.requests.count(QStringLiteral("GET ") + path)); };
    // The page shown stays as it is: a timer of its own, due after any reload it has
    // planned, runs in it, and the server has seen no request in between.
    auto staysQuiet = [&](const QString &path) {
        const int before = hits(path);
        engine->page()->runJavaScript(QStringLiteral("setTimeout(function () { document.title = 'quieto'; }, 300);"));
        return waitForEvents([&] { return engine->page()->title() == QLatin1String("quieto"); }, kTimeout)
               && hits(path) == before;
    };
    // Stop pressed just after a load has ended, while the page's timer is due.
    bool stopAfterNextPage = false;
    QObject::connect(engine, &platform::WebBrowser::DocumentComplete, w, [&] {
        if (!stopAfterNextPage)
            return;
        stopAfterNextPage = false;
        QTimer::singleShot(0, w, [&] { w->tbToolBar_ButtonClick(QStringLiteral("Stop")); });
    });

    for (const QString path : {QStringLiteral("/subito"), QStringLiteral("/timer")}) {
        SCOPED_TRACE(path.toStdString());
        const bool timer = path == QLatin1String("/timer");
        w->cboAddress->setEditText(web.url(path));
        w->cboAddress_Click();
        ASSERT_TRUE(waitForEvents([&] { return hits(path) >= 20; }, kTimeout)) << hits(path);
        // The window keeps running while the page reloads.
        EXPECT_TRUE(loopRuns());
        EXPECT_TRUE(w->isVisible());

        // Stop ends the loop, whenever it comes.
        if (timer) {
            stopAfterNextPage = true;
            ASSERT_TRUE(waitForEvents([&] { return !stopAfterNextPage && !engine->Busy(); }, kTimeout));
        } else {
            w->tbToolBar_ButtonClick(QStringLiteral("Stop"));
        }
        EXPECT_FALSE(engine->Busy());
        EXPECT_TRUE(staysQuiet(path)) << hits(path);
        EXPECT_FALSE(w->timTimer->isActive());
        EXPECT_TRUE(engine->LocationURL().endsWith(path));

        // Refresh is the user's: the page reloads again, and goes on reloading.
        const int refreshed = hits(path);
        w->tbToolBar_ButtonClick(QStringLiteral("Refresh"));
        ASSERT_TRUE(waitForEvents([&] { return hits(path) >= refreshed + 10; }, kTimeout)) << hits(path);

        // An address typed in the box ends it as well.
        ASSERT_TRUE(open(web.url(QStringLiteral("/altra")), QStringLiteral("/altra")));
        EXPECT_TRUE(staysQuiet(path)) << hits(path);
        EXPECT_TRUE(engine->LocationURL().endsWith(QLatin1String("/altra")));
        EXPECT_EQ(w->cboAddress->currentText(), web.url(QStringLiteral("/altra")));
    }
}

TEST_F(HostilePages, ALocalPageReadsNoOtherFileNorAWebResponseYetShowsPicturesFramesAndLinks)
{
    writeFile("C:\\SEGRETO.TXT", "segreto");
    writeFile("C:\\HOME-PAG\\SF01.JPG", pictureBytes(40, 30));
    writeFile("C:\\HOME-PAG\\CORNICE.HTM", "<script>parent.postMessage('Cornice', '*')</script>");
    const QString outside = root->filePath(QStringLiteral("FUORI.TXT")); // on no drive of the program
    writeFile(platform::toWindowsPath(outside), "fuori");
    web.add("/dati", {"remoto", "text/plain"});
    web.add("/foto", {pictureBytes(30, 5), "image/png"});
    web.add("/arrivo", {"<title>Arrivo</title>a"});
    // What the page could read, the frame's greeting and the background's width end up in its title.
    writeFile("C:\\HOME-PAG\\SPIA.HTM", QStringLiteral(R"(<body background="file:///C:\HOME-PAG\SF01.JPG"><script>
var got = {};
function show(k, v) { got[k] = v; if (got.r && got.c && got.b) document.title = [got.r, got.c, got.b].join(' / '); }
onmessage = function (e) { show('c', e.data); };
var bg = new Image(); bg.onload = function () { show('b', bg.naturalWidth); };
bg.src = getComputedStyle(document.body).backgroundImage.slice(5, -2);
function xhr(u) { return new Promise(function (ok, ko) { var x = new XMLHttpRequest(); x.open('GET', u);
  x.onload = ok; x.onerror = ko; x.send(); }); }
function frame(u) { return new Promise(function (ok, ko) { var f = document.createElement('iframe');
  f.onload = function () { try { ok(f.contentDocument.body.innerText); } catch (e) { ko(e); } };
  f.src = u; document.body.appendChild(f); }); }
var tries = [fetch('file:///C:/SEGRETO.TXT'), xhr('file:///C:/SEGRETO.TXT'), fetch('%1/dati'), xhr('%1/dati'), frame('%2')];
Promise.all(tries.map(function (p) { return p.then(function () { return 'letto'; }, function () { return 'no'; }); }))
  .then(function (r) { show('r', r.join(' ')); });
</script><img id=d src="file:///C:\HOME-PAG\SF01.JPG"><img id=w src="%1/foto"><iframe src="CORNICE.HTM"></iframe>
<a id=l href="%1/arrivo">via</a>)").arg(web.url(QString()), QUrl::fromLocalFile(outside).toString()).toLatin1());
    ASSERT_TRUE(open(QStringLiteral("C:\\HOME-PAG\\SPIA.HTM"), QStringLiteral("/SPIA.HTM")));
    QWebEnginePage *page = engine->page();
    ASSERT_TRUE(waitForEvents([&] { return page->title().contains(QLatin1String(" / ")); }, kTimeout));
    EXPECT_EQ(page->title(), "no no no no no / Cornice / 40");
    EXPECT_EQ(evalJs(page, QStringLiteral("document.getElementById('d').naturalWidth")).toInt(), 40);
    EXPECT_EQ(evalJs(page, QStringLiteral("document.getElementById('w').naturalWidth")).toInt(), 30);
    evalJs(page, QStringLiteral("document.getElementById('l').click()"));
    EXPECT_TRUE(waitForEvents([&] { return engine->LocationURL().endsWith(QLatin1String("/arrivo")); }, kTimeout));

    // A local page of one 4 MB line is read ahead and shown like any other.
    writeFile("C:\\HOME-PAG\\RIGA.HTM", "<title>Riga</title>" + QByteArray(4 << 20, 'x'));
    ASSERT_TRUE(open(QStringLiteral("C:\\HOME-PAG\\RIGA.HTM"), QStringLiteral("/RIGA.HTM")));
    EXPECT_TRUE(waitForEvents([&] { return page->title() == QLatin1String("Riga"); }, kTimeout));
    EXPECT_EQ(evalJs(page, QStringLiteral("document.body.textContent.length")).toInt(), 4 << 20);
}
