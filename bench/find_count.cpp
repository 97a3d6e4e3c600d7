// Find on a 5 MB page: the time from a search to the count of its matches, in the real
// engine (offscreen), against the goal of 100 ms and against a bare QWebEngineView's own
// findText on the same page. Each search looks for another word, so none is answered
// from the last one, and the two take turns so that neither gets the warmer engine.
// Run by hand: build with -DLANTERNA_BENCH=ON, then ./bench/bench_find_count [runs].
#include "app/Startup.h"
#include "platform/WebEngineBrowser.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QWebEngineFindTextResult>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// About 5 MB of paragraphs; "parola<n>" appears in every hundredth line.
QByteArray makePage()
{
    QByteArray page = "<html><head><title>Grande</title></head><body>\n";
    for (int i = 0; page.size() < 5 * 1024 * 1024; ++i) {
        page += "<p>Riga " + QByteArray::number(i) + " di una pagina molto lunga, con testo qualunque";
        if (i % 100 == 0)
            page += " e parola" + QByteArray::number(i / 100 % 10);
        page += ".</p>\n";
    }
    return page + "</body></html>\n";
}

// Runs the event loop until `done` or 30 s; false on time-out.
bool waitFor(const std::function<bool()> &done)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    return done();
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
    startup::prepareEngine();
    QApplication app(argc, argv);
    const QString file = dir.filePath(QStringLiteral("grande.htm"));
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly) || f.write(makePage()) < 0)
        return 1;
    f.close();

    platform::WebEngineBrowser browser;
    browser.resize(766, 432);
    browser.show();
    bool complete = false;
    QObject::connect(&browser, &platform::WebBrowser::DocumentComplete, [&] { complete = true; });
    browser.Navigate(QUrl::fromLocalFile(file).toString());
    if (!waitFor([&] { return complete; })) {
        std::fprintf(stderr, "the page never loaded\n");
        return 1;
    }
    // The floor: the engine's own search, with nothing of the program around it.
    QWebEngineView bare;
    bare.resize(766, 432);
    bare.show();
    bool loaded = false;
    QObject::connect(&bare, &QWebEngineView::loadFinished, [&] { loaded = true; });
    bare.setUrl(QUrl::fromLocalFile(file));
    if (!waitFor([&] { return loaded; }))
        return 1;

    int matches = -1;
    QObject::connect(&browser, &platform::WebBrowser::FindResult, [&](int, int n) { matches = n; });
    // Taking turns, so that neither side gets the warmer engine.
    std::vector<double> ours, floors;
    for (int r = 0; r < runs; ++r) {
        const QString word = QStringLiteral("parola%1").arg(r % 10);
        for (bool program : {r % 2 == 0, r % 2 != 0}) {
            matches = -1;
            QElapsedTimer t;
            t.start();
            if (program)
                browser.FindText(word, platform::WebBrowser::FindDirection::Forward,
                                 platform::WebBrowser::FindCase::Ignore);
            else
                bare.page()->findText(word, {}, [&](const QWebEngineFindTextResult &res) { matches = res.numberOfMatches(); });
            if (!waitFor([&] { return matches > 0; })) {
                std::fprintf(stderr, "no count came\n");
                return 1;
            }
            (program ? ours : floors).push_back(double(t.nsecsElapsed()) / 1e6);
        }
    }
    std::sort(ours.begin(), ours.end());
    std::sort(floors.begin(), floors.end());
    const double lanterna = ours[ours.size() / 2];
    const double floor = floors[floors.size() / 2];
    std::printf("Find on a 5 MB page: %d matches, count after %.1f ms; a bare view's own search %.1f ms (median of %d)\n",
                matches, lanterna, floor, runs);
    std::printf("RESULT find count on a 5 MB page|%.1f|100|ms|1.00|goal 100 ms\n", lanterna);
    std::printf("RESULT find count on a 5 MB page, engine|%.1f|%.1f|ms|1.05|bare view's findText\n", lanterna, floor);
    return 0;
}
