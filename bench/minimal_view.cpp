// The floor for the start-up figures: one QWebEngineView on a page, nothing else, as large
// as Lanterna's page area at its design size (without the sandbox as root, like Lanterna).
// With --profile DIR, on a stored profile laid out as Lanterna's is in DIR. The page is a
// file or an address (http://...). With --download DIR instead, a download the page starts
// is accepted into DIR at once, asking nothing and showing nothing (the engine's own cost).
#include <QApplication>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <cstdio>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " --no-sandbox");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const bool download = argc == 4 && QByteArray(argv[1]) == "--download";
    if (argc < 2 || (argc == 4) != (QByteArray(argv[1]) == "--profile" || download)) {
        std::fprintf(stderr, "usage: %s [--profile DIR|--download DIR] FILE|URL\n", argv[0]);
        return 2;
    }
    QWebEngineView view;
    if (download) {
        const QString dir = QString::fromLocal8Bit(argv[2]);
        QObject::connect(view.page()->profile(), &QWebEngineProfile::downloadRequested,
                         [dir](QWebEngineDownloadRequest *d) {
                             d->setDownloadDirectory(dir);
                             d->accept();
                         });
    } else if (argc == 4) {
        const QString dir = QString::fromLocal8Bit(argv[2]);
        auto *profile = new QWebEngineProfile(QStringLiteral("lanterna"), &app);
        profile->setPersistentStoragePath(dir + QStringLiteral("/engine"));
        profile->setCachePath(dir + QStringLiteral("/cache"));
        profile->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
        profile->setHttpCacheMaximumSize(100 * 1024 * 1024);
        view.setPage(new QWebEnginePage(profile, &view));
    }
    view.resize(766, 432);
    view.show();
    view.setUrl(QUrl::fromUserInput(QString::fromLocal8Bit(argv[argc - 1])));
    return app.exec();
}
