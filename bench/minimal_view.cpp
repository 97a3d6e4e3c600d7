// The floor for the start-up figures: one QWebEngineView on a page, nothing else, as large
// as Lanterna's page area at its design size (without the sandbox as root, like Lanterna).
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
    view.resize(766, 432);
    view.show();
    view.setUrl(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1])));
    return app.exec();
}
