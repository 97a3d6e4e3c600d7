// The floor for the start-up figures: one QWebEngineView on a page, nothing else.
// Prints "ready" when the first page has loaded, then waits to be measured and ended.
#include <QApplication>
#include <QUrl>
#include <QWebEngineView>
#include <cstdio>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " --no-sandbox");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    QWebEngineView view;
    view.resize(800, 600);
    bool done = false;
    QObject::connect(&view, &QWebEngineView::loadFinished, &view, [&](bool) {
        if (done)
            return;
        done = true;
        std::printf("ready\n");
        std::fflush(stdout);
        if (qgetenv("LANTERNA_BENCH_READY") == "quit")
            QCoreApplication::quit();
    });
    view.show();
    view.setUrl(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1])));
    return app.exec();
}
