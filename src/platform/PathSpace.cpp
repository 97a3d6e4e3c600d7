#include "platform/PathSpace.h"

#include <QDir>
#ifdef _WIN32
#include "platform/Win32Files.h"
#endif
#include <QFile>
#include <QStandardPaths>

#include <cstdlib>
#include <string>

namespace platform {

QString userDataFolder()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(base + QStringLiteral("/lanterna"));
}

#ifdef _WIN32

bool usesUserDrive() { return false; }

QString driveRoot(QChar letter) { return QString(letter.toUpper()) + QStringLiteral(":\\"); }
QString toNativePath(const QString &windowsPath) { return windowsPath; }
QString toWindowsPath(const QString &nativePath)
{
    return QString::fromStdWString(win32::fullPath(nativePath.toStdWString()));
}

#else

namespace {

QString cleanRoot(const QString &root)
{
    QString r = QDir::cleanPath(root);
    return r.isEmpty() ? QStringLiteral("/") : r;
}

} // namespace

QString driveRoot(QChar letter)
{
    const QChar up = letter.toUpper();
    if (up < QLatin1Char('A') || up > QLatin1Char('Z'))
        return {};
    if (up == QLatin1Char('Z'))
        return QStringLiteral("/");
    char var[] = "LANTERNA_DRIVE_?";
    var[sizeof var - 2] = char(up.unicode());
    const char *value = std::getenv(var);
    if (!value) {
        if (up != QLatin1Char('C'))
            return {};
        // The user's own drive: a folder the user can write, where the home page lives.
        static const QString userDrive = userDataFolder() + QStringLiteral("/C");
        return userDrive;
    }
    if (!*value)
        return {};
    // Every path goes through here: remember the folder made from the variable's text.
    struct Cached {
        std::string raw;
        QString root;
    };
    static Cached cache[26];
    Cached &c = cache[up.unicode() - 'A'];
    if (c.root.isEmpty() || c.raw != value) {
        c.raw = value;
        c.root = cleanRoot(QDir(QFile::decodeName(value)).absolutePath());
    }
    return c.root;
}

bool usesUserDrive() { return std::getenv("LANTERNA_DRIVE_C") == nullptr; }

QString toNativePath(const QString &windowsPath)
{
    if (windowsPath.isEmpty())
        return {};
    QString p = windowsPath;
    p.replace(QLatin1Char('/'), QLatin1Char('\\'));

    QString root;
    QString rest;
    bool onDrive = true;
    if (p.size() >= 2 && p[1] == QLatin1Char(':') && p[0].isLetter() && p[0].unicode() < 128) {
        root = driveRoot(p[0]);
        if (root.isEmpty())
            return {};
        rest = p.mid(2);
    } else if (p.startsWith(QLatin1String("\\\\"))) {
        return {}; // network shares are not part of the path space
    } else if (p.startsWith(QLatin1Char('\\'))) {
        root = driveRoot(QLatin1Char('C'));
        if (root.isEmpty())
            return {};
        rest = p;
    } else {
        root = QDir::currentPath();
        rest = p;
        onDrive = false;
    }
    rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const bool trailing = rest.endsWith(QLatin1Char('/')) && rest.size() > 1;
    QString joined;
    if (onDrive) {
        // ".." stops at the drive's root, as it does on Windows: a path on a drive
        // never leads out of the folder the drive stands for.
        QStringList parts;
        for (const QString &part : rest.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
            if (part == QLatin1String("..")) {
                if (!parts.isEmpty())
                    parts.removeLast();
            } else if (part != QLatin1String(".")) {
                parts.append(part);
            }
        }
        joined = QDir::cleanPath(root + QLatin1Char('/') + parts.join(QLatin1Char('/')));
    } else {
        joined = QDir::cleanPath(root + QLatin1Char('/') + rest);
    }
    if (trailing && !joined.endsWith(QLatin1Char('/')))
        joined += QLatin1Char('/');
    return joined;
}

QString toWindowsPath(const QString &nativePath)
{
    const QString abs = QDir::cleanPath(QDir::current().absoluteFilePath(nativePath));
    QChar best;
    qsizetype bestLen = -1;
    static const char order[] = "CDEFGHIJKLMNOPQRSTUVWXYZAB";
    for (const char *l = order; *l; ++l) {
        const QString root = driveRoot(QLatin1Char(*l));
        if (root.isEmpty())
            continue;
        const bool inside = root == QLatin1String("/")
                                ? true
                                : (abs == root || abs.startsWith(root + QLatin1Char('/')));
        const qsizetype len = root == QLatin1String("/") ? 0 : root.size();
        if (inside && len > bestLen) {
            best = QLatin1Char(*l);
            bestLen = len;
        }
    }
    QString rest = abs.mid(bestLen < 0 ? 0 : bestLen);
    if (rest.startsWith(QLatin1Char('/')))
        rest.remove(0, 1);
    rest.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return QString(best) + QStringLiteral(":\\") + rest;
}

#endif

} // namespace platform
