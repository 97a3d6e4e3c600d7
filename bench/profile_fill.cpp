// Fills the user's stored profile (under $XDG_DATA_HOME) as a long-used one is: 1,000
// cookies of 100 sites (10 each: the engine keeps at most 180 a site) and a full cache,
// loaded from the page given (which fetches enough to fill it). The start-up benchmark
// copies the result into each start's home.
#include "app/Startup.h"
#include "platform/ProfileStore.h"

#include <QApplication>
#include <QDateTime>
#include <QTimer>
#include <QWebEngineCookieStore>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILL_PAGE_URL\n", argv[0]);
        return 2;
    }
    startup::prepareEngine();
    QApplication app(argc, argv);
    auto *store = new platform::ProfileStore;
    QWebEngineProfile *profile = store->profile();
    if (!store->holdsProfile()) {
        std::fprintf(stderr, "the profile is in use\n");
        return 1;
    }
    const QDateTime expiry = QDateTime::currentDateTimeUtc().addYears(1);
    for (int i = 0; i < 1000; ++i) {
        QNetworkCookie c(QByteArray("c") + QByteArray::number(i), QByteArray(32, char('a' + i % 26)));
        const QString host = QStringLiteral("www.sito%1.it").arg(i % 100);
        c.setPath(QStringLiteral("/"));
        c.setExpirationDate(expiry);
        c.setHttpOnly(i % 3 == 0);
        profile->cookieStore()->setCookie(c, QUrl(QStringLiteral("http://") + host + QLatin1Char('/')));
    }
    auto *page = new QWebEnginePage(profile);
    int code = 1;
    QObject::connect(page, &QWebEnginePage::titleChanged, &app, [&](const QString &t) {
        if (t == QLatin1String("fatto")) {
            code = 0;
            // The journal and the engine's own store catch up before the end.
            QTimer::singleShot(3000, &app, &QCoreApplication::quit);
        }
    });
    QTimer::singleShot(600000, &app, &QCoreApplication::quit);
    page->load(QUrl(QString::fromLocal8Bit(argv[1])));
    app.exec();
    store->finish();
    delete page;
    delete profile;
    delete store;
    return code;
}
