#include "platform/ProfileStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWebEngineProfile>
#include <gtest/gtest.h>

using namespace platform;

TEST(CookieFile, KeepsEveryFlagAndRefusesWhatIsNotOne)
{
    cookiefile::Contents c;
    c.writer = 42;
    c.open = true;
    QNetworkCookie session("tab", "a b;=c");
    QNetworkCookie broken("x", "a\nb");
    broken.setDomain(QStringLiteral("esempio.it"));
    session.setDomain(QStringLiteral("127.0.0.1"));
    session.setPath(QStringLiteral("/"));
    session.setHttpOnly(true);
    QNetworkCookie kept("sid", "");
    kept.setDomain(QStringLiteral(".esempio.it"));
    kept.setPath(QStringLiteral("/a b"));
    kept.setSecure(true);
    kept.setSameSitePolicy(QNetworkCookie::SameSite::Strict);
    kept.setExpirationDate(QDateTime::fromMSecsSinceEpoch(1893456000123, Qt::UTC));
    c.entries = {{'+', broken}, {'+', session}, {'+', kept}, {'-', kept}, {'!', QNetworkCookie()}};
    const auto back = cookiefile::decode(cookiefile::encode(c));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->writer, 42);
    EXPECT_TRUE(back->open);
    ASSERT_EQ(back->entries.size(), 4); // the one that would break its line is left out
    for (int i = 0; i < 2; ++i) {
        const QNetworkCookie &in = c.entries[i + 1].cookie, &out = back->entries[i].cookie;
        EXPECT_EQ(out.toRawForm(), in.toRawForm());
        EXPECT_EQ(out.domain(), in.domain());
        EXPECT_EQ(out.isSessionCookie(), in.isSessionCookie());
        EXPECT_EQ(out.expirationDate(), in.expirationDate());
    }
    EXPECT_EQ(back->entries[2].op, '-');
    EXPECT_EQ(cookiefile::key(back->entries[2].cookie), cookiefile::key(kept));
    EXPECT_EQ(back->entries[3].op, '!');

    for (const char *bad : {"", "lanterna-cookies 1 5 open", "lanterna-cookies 2 5 open\n", "lanterna-cookies 1 x open\n",
                            "lanterna-cookies 1 5 shut\n", "lanterna-cookies 1 5 open\n? a / n\n",
                            "lanterna-cookies 1 5 open\n+ a / n v -\n", "lanterna-cookies 1 5 open\n+ a / n v - x\n",
                            "lanterna-cookies 1 5 open\n+ a / n v%0A - -\n", "lanterna-cookies 1 5 open\n- % / n\n",
                            "lanterna-cookies 1 5 open\n+ a%2Fb / n v - -\n", "lanterna-cookies 1 5 open\n+ a / n v 1e3 -\n"})
        EXPECT_FALSE(cookiefile::decode(bad)) << bad;
}

TEST(ProfileStoreTest, ALaterCopyIsAGuestAndABadJournalIsKeptAside)
{
    QTemporaryDir home;
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path()));
    qunsetenv("LANTERNA_PRIVATO");
    const QString journal = profileFolder() + QStringLiteral("/cookies.txt");
    ASSERT_TRUE(journal.startsWith(home.path()));
    QDir().mkpath(profileFolder());
    QFile f(journal);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a journal\n");
    f.close();
    {
        ProfileStore first;
        ProfileStore second;
        EXPECT_TRUE(first.holdsProfile());
        EXPECT_FALSE(second.holdsProfile());
        QFile kept(journal + QStringLiteral(".bad"));
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), QByteArray("not a journal\n"));
        first.finish();
        second.finish();
        delete first.profile();
        delete second.profile();
    }
    usePrivateProfile();
    qputenv("XDG_DATA_HOME", oldData);
}
