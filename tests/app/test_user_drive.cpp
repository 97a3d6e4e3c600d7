// A user with no variables set: their own C: drive with the sample home page, and a
// log kept wherever the program may write.
#include "TestEnv.h"
#include "app/Startup.h"
#include "platform/PathSpace.h"
#include "platform/RealShell.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void put(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

// Runs `f` as an ordinary user: as root the program could write anywhere.
template <typename F>
void asOrdinaryUser(F f)
{
    if (::geteuid() != 0) {
        f();
        return;
    }
    ASSERT_EQ(::setegid(65534), 0);
    ASSERT_EQ(::seteuid(65534), 0);
    struct Back {
        ~Back()
        {
            (void)!::seteuid(0);
            (void)!::setegid(0);
        }
    } back;
    f();
}

} // namespace

class UserDrive : public ::testing::Test {
protected:
    void SetUp() override
    {
        Q_INIT_RESOURCE(drive);
        ASSERT_TRUE(tmp.isValid());
        home = tmp.filePath(QStringLiteral("home"));
        data = tmp.filePath(QStringLiteral("data"));
        QDir().mkpath(home);
        qputenv("HOME", QFile::encodeName(home));
        qputenv("XDG_DATA_HOME", QFile::encodeName(data));
        qunsetenv("LANTERNA_DRIVE_C");
        qunsetenv("LANTERNA_DRIVE_D");
        qunsetenv("LANTERNA_FAVORITES");
    }
    QTemporaryDir tmp;
    QString home, data;
};

TEST_F(UserDrive, FirstStartBringsTheSamplesAndNeverReplacesTheUsersFiles)
{
    const QString c = data + QStringLiteral("/lanterna/C");
    ASSERT_TRUE(platform::usesUserDrive());
    EXPECT_EQ(platform::driveRoot(QLatin1Char('C')), c);
    EXPECT_EQ(platform::toNativePath(QStringLiteral("C:\\HOME-PAG\\INIZIO.HTM")), c + "/HOME-PAG/INIZIO.HTM");
    EXPECT_EQ(platform::toNativePath(QStringLiteral("\\HOME-PAG\\A.HTM")), c + "/HOME-PAG/A.HTM");
    EXPECT_EQ(platform::toWindowsPath(c + "/HOME-PAG/INIZIO.HTM"), QStringLiteral("C:\\HOME-PAG\\INIZIO.HTM"));
    // The rest of the machine is still reachable, through Z:.
    EXPECT_EQ(platform::toWindowsPath(QStringLiteral("/usr/share")), QStringLiteral("Z:\\usr\\share"));
    EXPECT_TRUE(platform::toNativePath(QStringLiteral("D:\\HOME-PAG\\INIZIO.HTM")).isEmpty());

    startup::prepareUserDrive();
    const QString page = c + "/HOME-PAG/INIZIO.HTM";
    EXPECT_EQ(bytesOf(page), bytesOf(QStringLiteral(":/drive/HOME-PAG/INIZIO.HTM")));
    EXPECT_FALSE(bytesOf(page).isEmpty());
    for (const char *f : {"/HOME-PAG/SECONDA.HTM", "/HOME-PAG/SF01.JPG", "/HOME-PAG/SF03.JPG",
                          "/Utenti/demo/Favorites/Ricette.url", "/Utenti/demo/Favorites/Notizie/Sport/Calcio.url"}) {
        const QFileInfo fi(c + QLatin1String(f));
        EXPECT_TRUE(fi.isFile()) << f;
        // The user edits these pages: they must not come out read-only like the resources.
        EXPECT_TRUE(fi.permissions() & QFile::WriteOwner) << f;
    }

    // Without Favorites of their own the user sees the samples; with them, their own.
    platform::RealShell shell;
    EXPECT_EQ(shell.favoritesFolder(), std::optional<QString>(QStringLiteral("C:\\Utenti\\demo\\Favorites")));
    QDir().mkpath(home + "/Favorites");
    EXPECT_EQ(shell.favoritesFolder(), std::optional<QString>(platform::toWindowsPath(home + "/Favorites")));

    // The user's edits survive the next starts, and a home page that is there stops
    // the copying altogether.
    put(page, "<HTML><BODY>mia</BODY></HTML>\r\n");
    QFile::remove(c + "/HOME-PAG/SECONDA.HTM");
    startup::prepareUserDrive();
    EXPECT_EQ(bytesOf(page), QByteArray("<HTML><BODY>mia</BODY></HTML>\r\n"));
    EXPECT_FALSE(QFileInfo::exists(c + "/HOME-PAG/SECONDA.HTM"));

    // Home page deleted: it comes back, the missing files with it; a changed picture stays.
    QFile::remove(page);
    put(c + "/HOME-PAG/SF01.JPG", "mio sfondo");
    startup::prepareUserDrive();
    EXPECT_EQ(bytesOf(page), bytesOf(QStringLiteral(":/drive/HOME-PAG/INIZIO.HTM")));
    EXPECT_TRUE(QFileInfo(c + "/HOME-PAG/SECONDA.HTM").isFile());
    EXPECT_EQ(bytesOf(c + "/HOME-PAG/SF01.JPG"), QByteArray("mio sfondo"));
}

// A first start stopped half way is completed at the next one, the files already there
// kept; once complete, a sample the user deletes stays deleted.
TEST_F(UserDrive, AnInterruptedFirstStartIsCompletedAndADeletedSampleStaysDeleted)
{
    const QString c = data + QStringLiteral("/lanterna/C");
    put(c + "/HOME-PAG/INIZIO.HTM", "<HTML><BODY>mia</BODY></HTML>\r\n");
    startup::prepareUserDrive();
    EXPECT_EQ(bytesOf(c + "/HOME-PAG/INIZIO.HTM"), QByteArray("<HTML><BODY>mia</BODY></HTML>\r\n"));
    EXPECT_EQ(bytesOf(c + "/HOME-PAG/SF01.JPG"), bytesOf(QStringLiteral(":/drive/HOME-PAG/SF01.JPG")));
    EXPECT_TRUE(QFileInfo(c + "/Utenti/demo/Favorites/Ricette.url").isFile());
    // No temporary file is left beside the samples.
    EXPECT_EQ(QDir(c + "/HOME-PAG").entryList(QDir::Files), QDir(QStringLiteral(":/drive/HOME-PAG")).entryList(QDir::Files));

    QFile::remove(c + "/HOME-PAG/SF01.JPG");
    startup::prepareUserDrive();
    EXPECT_FALSE(QFileInfo::exists(c + "/HOME-PAG/SF01.JPG"));
}

TEST_F(UserDrive, AChosenDriveIsLeftAlone)
{
    const QString chosen = tmp.filePath(QStringLiteral("scelto"));
    QDir().mkpath(chosen);
    qputenv("LANTERNA_DRIVE_C", QFile::encodeName(chosen));
    EXPECT_FALSE(platform::usesUserDrive());
    startup::prepareUserDrive();
    EXPECT_TRUE(QDir(chosen).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(data + "/lanterna"));
    // No sample Favorites stand in on a chosen drive.
    EXPECT_EQ(platform::RealShell().favoritesFolder(), std::optional<QString>(platform::toWindowsPath(home + "/Favorites")));
}

TEST_F(UserDrive, TheLogStaysBesideAWritableProgramElseGoesToTheUsersFolder)
{
    // Everything here must be reachable by the ordinary user the checks run as.
    const QString prog = tmp.filePath(QStringLiteral("prog"));
    QDir().mkpath(prog);
    QDir().mkpath(data);
    for (const QString &d : {tmp.path(), home})
        QFile::setPermissions(d, QFile::Permissions(0x7755));
    QFile::setPermissions(data, QFile::Permissions(0x7777));
    qputenv("LANTERNA_DRIVE_C", QFile::encodeName(tmp.path()));
    platform::RealFiles files(QStringLiteral("C:\\prog"), QStringLiteral("lanterna"));
    const QString beside = QStringLiteral("C:\\prog\\LANTERNA.DAT");
    const QString own = platform::toWindowsPath(data + "/lanterna/LANTERNA.DAT");

    // A per-user install: the program's folder is the user's.
    QFile::setPermissions(prog, QFile::Permissions(0x7777));
    asOrdinaryUser([&] { EXPECT_EQ(files.dataFile(QStringLiteral("LANTERNA.DAT")), beside); });

    // A system-wide install: a folder the user cannot write, no log there.
    QFile::setPermissions(prog, QFile::Permissions(0x5555));
    asOrdinaryUser([&] {
        EXPECT_EQ(files.dataFile(QStringLiteral("LANTERNA.DAT")), own);
        EXPECT_TRUE(files.replaceFile(own, "http://a/\r\n"));
    });
    EXPECT_EQ(bytesOf(data + "/lanterna/LANTERNA.DAT"), QByteArray("http://a/\r\n"));

    // A read-only folder holding a log the user may write: that log, rewritten in place.
    QFile::setPermissions(prog, QFile::Permissions(0x7777));
    put(prog + "/LANTERNA.DAT", "vecchio\r\n");
    QFile::setPermissions(prog + "/LANTERNA.DAT", QFile::Permissions(0x6666));
    QFile::setPermissions(prog, QFile::Permissions(0x5555));
    asOrdinaryUser([&] {
        EXPECT_EQ(files.dataFile(QStringLiteral("LANTERNA.DAT")), beside);
        EXPECT_TRUE(files.replaceFile(beside, "nuovo\r\n"));
    });
    EXPECT_EQ(bytesOf(prog + "/LANTERNA.DAT"), QByteArray("nuovo\r\n"));
    EXPECT_EQ(QDir(prog).entryList(QDir::Files), QStringList{"LANTERNA.DAT"});

    // ... but a log the user may not write is not theirs to keep.
    QFile::setPermissions(prog + "/LANTERNA.DAT", QFile::Permissions(0x4444));
    asOrdinaryUser([&] { EXPECT_EQ(files.dataFile(QStringLiteral("LANTERNA.DAT")), own); });

    // A program in the system's own tree writes nothing beside it, whoever runs it.
    platform::RealFiles packaged(QStringLiteral("Z:\\usr\\lib"), QStringLiteral("lanterna"));
    EXPECT_EQ(packaged.dataFile(QStringLiteral("LANTERNA.DAT")), own);
    QFile::setPermissions(prog, QFile::Permissions(0x7777));
}
