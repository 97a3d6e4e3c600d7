#include "platform/RealShell.h"

#include "platform/PathSpace.h"
#ifdef _WIN32
#include "platform/Win32Shell.h"
#endif

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkInterface>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace platform {

namespace {
constexpr int kNoAssociation = 31; // what the classic query answers when nothing handles the type
constexpr int kFound = 42;
} // namespace

std::optional<QString> RealShell::favoritesFolder()
{
#ifdef _WIN32
    const auto folder = win32::favoritesFolder();
    if (!folder)
        return std::nullopt;
    return QString::fromStdWString(*folder);
#else
    QString folder = qEnvironmentVariable("LANTERNA_FAVORITES");
    if (folder.isEmpty()) {
        const QString home = QDir::homePath();
        if (home.isEmpty())
            return std::nullopt;
        folder = home + QStringLiteral("/Favorites");
        // A user without Favorites of their own sees the samples of their drive.
        if (!QFileInfo(folder).isDir() && usesUserDrive()) {
            const QString samples = toNativePath(QStringLiteral("C:\\Utenti\\demo\\Favorites"));
            if (!samples.isEmpty() && QFileInfo(samples).isDir())
                folder = samples;
        }
    }
    const QString win = toWindowsPath(QDir(folder).absolutePath());
    if (win.isEmpty())
        return std::nullopt;
    return win;
#endif
}

int RealShell::findExecutable(const QString &documentPath)
{
#ifdef _WIN32
    const QString native = toNativePath(documentPath);
    return native.isEmpty() ? kNoAssociation : win32::findExecutable(native.toStdWString());
#else
    Q_UNUSED(documentPath);
    // Ask the desktop which program opens web pages.
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (!xdgMime.isEmpty()) {
        QProcess p;
        p.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/html")});
        if (p.waitForFinished(3000) && p.exitCode() == 0
            && !QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed().isEmpty())
            return kFound;
    }
    if (!QStandardPaths::findExecutable(QStringLiteral("x-www-browser")).isEmpty())
        return kFound;
    return kNoAssociation;
#endif
}

void RealShell::organizeFavorites(QWidget *, const QString &folder)
{
    const QString native = toNativePath(folder);
    if (native.isEmpty())
        return;
    QDir().mkpath(native);
    QDesktopServices::openUrl(QUrl::fromLocalFile(native));
}

bool RealShell::openInTextEditor(const QString &path, std::function<void()> failed)
{
    const QString native = toNativePath(path);
    if (native.isEmpty())
        return false;
    static const char *const editors[] = {"gnome-text-editor", "gedit", "kate", "kwrite", "mousepad",
                                          "xed", "pluma", "featherpad", "leafpad", "geany"};
    for (const char *e : editors) {
        const QString exe = QStandardPaths::findExecutable(QString::fromLatin1(e));
        if (!exe.isEmpty() && QProcess::startDetached(exe, {native}))
            return true;
    }
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (xdgOpen.isEmpty())
        return false;
    // The opener starts whatever the desktop names, or exits with failure when it
    // finds nothing: watch how it ends. It is never waited for nor ended by us, so
    // an editor it keeps in the foreground outlives this program.
    auto *opener = new QProcess;
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(opener, &QProcess::finished, opener,
                     [opener, failed](int code, QProcess::ExitStatus status) {
                         if ((status != QProcess::NormalExit || code != 0) && failed)
                             failed();
                         opener->deleteLater();
                     });
    opener->start(xdgOpen, {native});
    if (!opener->waitForStarted(5000)) {
        delete opener;
        return false;
    }
    return true;
}

QString RealShell::localIP()
{
    for (const QHostAddress &a : QNetworkInterface::allAddresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback())
            return a.toString();
    return QStringLiteral("127.0.0.1");
}

QString RealShell::localHostName() { return QHostInfo::localHostName(); }

} // namespace platform
