#include "platform/RealFiles.h"

#include "platform/PathSpace.h"
#include "platform/Text.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

#ifdef _WIN32
#include "platform/Win32Files.h"
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

QString native(const QString &path) { return toNativePath(path); }

bool isWritable(const QString &nativePath)
{
#ifndef _WIN32
    // As the program is, not as whoever started it (set-user programs, tests).
    return ::faccessat(AT_FDCWD, QFile::encodeName(nativePath).constData(), W_OK, AT_EACCESS) == 0;
#else
    return QFileInfo(nativePath).isWritable();
#endif
}

// The system's own tree (a package's or a system-wide install) is never written to, not
// even by root: it may be mounted read-only, and the package manager owns what is there.
bool systemFolder(const QString &nativePath)
{
#ifndef _WIN32
    return nativePath == QLatin1String("/usr") || nativePath.startsWith(QLatin1String("/usr/"));
#else
    (void)nativePath;
    return false;
#endif
}

bool isLink(const QString &nativePath)
{
#ifndef _WIN32
    struct stat st {};
    return ::lstat(QFile::encodeName(nativePath).constData(), &st) == 0 && S_ISLNK(st.st_mode);
#else
    return QFileInfo(nativePath).isSymLink();
#endif
}

// A link where a file is to be written (planted in a shared folder, say) goes first:
// the new file takes its place, and the file it names is never written.
bool dropLink(const QString &nativePath) { return !isLink(nativePath) || QFile::remove(nativePath); }

// A leading dot is this platform's way of hiding; no folder counts as a system folder.
unsigned attributesOf(bool isDir, const QString &name)
{
    unsigned a = isDir ? unsigned(AttrDirectory) : unsigned(AttrArchive);
    if (name.startsWith(QLatin1Char('.')) && name != QLatin1String(".") && name != QLatin1String(".."))
        a |= AttrHidden;
    return a;
}

} // namespace

// The classic file system lists a folder sorted by name without regard to case
// (upper-case ordinal order), with "." and ".." first; readdir's order is the
// file system's own (hash order on ext4), which would differ from machine to machine.
void sortLikeWindows(std::vector<DirEntry> &entries)
{
    auto rank = [](const QString &n) { return n == QLatin1String(".") ? 0 : n == QLatin1String("..") ? 1 : 2; };
    std::stable_sort(entries.begin(), entries.end(), [&](const DirEntry &a, const DirEntry &b) {
        const int ra = rank(a.name), rb = rank(b.name);
        if (ra != rb)
            return ra < rb;
        const int c = a.name.toUpper().compare(b.name.toUpper(), Qt::CaseSensitive);
        return c != 0 ? c < 0 : a.name.compare(b.name, Qt::CaseSensitive) < 0;
    });
}

bool matchesWildcard(const QString &name, const QString &mask)
{
    if (mask == QLatin1String("*.*") || mask == QLatin1String("*"))
        return true;
    // Greedy match with one back-tracking point, letters compared case-insensitively.
    const auto eq = [](QChar a, QChar b) { return a == b || a.toCaseFolded() == b.toCaseFolded(); };
    qsizetype n = 0, m = 0, starM = -1, starN = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == QLatin1Char('?') || (mask[m] != QLatin1Char('*') && eq(mask[m], name[n])))) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == QLatin1Char('*')) {
            starM = m++;
            starN = n;
        } else if (starM >= 0) {
            m = starM + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == QLatin1Char('*'))
        ++m;
    return m == mask.size();
}

std::optional<QString> profileLookup(const QString &text, const QString &section, const QString &key)
{
    bool inSection = false;
    qsizetype pos = 0;
    const qsizetype n = text.size();
    while (pos <= n) {
        qsizetype end = pos;
        while (end < n && text[end] != QLatin1Char('\n') && text[end] != QLatin1Char('\r'))
            ++end;
        const QString line = text.mid(pos, end - pos).trimmed();
        pos = end + 1;
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            const qsizetype close = line.indexOf(QLatin1Char(']'));
            const QString name = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection)
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        if (line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) != 0)
            continue;
        QString value = line.mid(eq + 1).trimmed();
        if (value.size() >= 2
            && ((value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
                || (value.startsWith(QLatin1Char('\'')) && value.endsWith(QLatin1Char('\'')))))
            value = value.mid(1, value.size() - 2);
        return value;
    }
    return std::nullopt;
}

RealFiles::RealFiles(QString programFolder, QString exeName)
    : programFolder_(std::move(programFolder)), exeName_(std::move(exeName))
{
}

// Only regular files are read: a pipe or a device named like a page would block the
// program or never end.
bool RealFiles::canOpenForRead(const QString &path)
{
    const QString n = native(path);
    if (n.isEmpty() || !QFileInfo(n).isFile())
        return false;
    QFile f(n);
    return f.open(QIODevice::ReadOnly);
}

std::optional<QByteArray> RealFiles::readAll(const QString &path)
{
    const QString n = native(path);
    if (n.isEmpty() || !QFileInfo(n).isFile())
        return std::nullopt;
    QFile f(n);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray data = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return std::nullopt;
    return data;
}

bool RealFiles::writeAll(const QString &path, const QByteArray &data)
{
    const QString n = native(path);
    if (n.isEmpty() || !dropLink(n))
        return false;
#ifndef _WIN32
    // Nor through a link planted since, nor into a pipe (which would wait for a reader).
    QFile f;
    if (!openRegularFile(f, n, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW))
        return false;
#else
    QFile f(n);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
#endif
    return f.write(data) == data.size() && f.flush();
}

bool RealFiles::replaceFile(const QString &path, const QByteArray &data)
{
    const QString n = native(path);
    if (n.isEmpty() || QFileInfo(n).isDir() || !dropLink(n))
        return false;
    QSaveFile f(n);
    f.setDirectWriteFallback(true); // only taken when the folder refuses the temporary file
    if (!f.open(QIODevice::WriteOnly))
        return false;
    // The save file resolves a link as it opens: one planted meanwhile is refused.
    if (isLink(n)) {
        f.cancelWriting();
        return false;
    }
    if (f.write(data) != data.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

bool RealFiles::copyFile(const QString &src, const QString &dst)
{
    const auto data = readAll(src);
    return data && replaceFile(dst, *data);
}

bool RealFiles::removeFile(const QString &path)
{
    const QString n = native(path);
    return !n.isEmpty() && QFile::remove(n);
}

std::optional<std::vector<DirEntry>> RealFiles::list(const QString &pattern)
{
    QString p = pattern;
    p.replace(QLatin1Char('/'), QLatin1Char('\\'));
    const qsizetype cut = p.lastIndexOf(QLatin1Char('\\'));
    QString folder = cut >= 0 ? p.left(cut + 1) : QString();
    const QString mask = cut >= 0 ? p.mid(cut + 1) : p;
    if (folder.size() == 0 && p.size() >= 2 && p[1] == QLatin1Char(':')) {
        folder = p.left(2) + QLatin1Char('\\');
    }
    const QString dir = folder.isEmpty() ? QStringLiteral(".") : native(folder);
    if (dir.isEmpty() || mask.isEmpty())
        return std::nullopt;

    std::vector<DirEntry> out;
#ifndef _WIN32
    DIR *d = ::opendir(QFile::encodeName(dir).constData());
    if (!d)
        return std::nullopt;
    while (dirent *e = ::readdir(d)) {
        const QString name = QFile::decodeName(e->d_name);
        if (!matchesWildcard(name, mask))
            continue;
        bool isDir = e->d_type == DT_DIR;
        if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
            const QString full = dir.endsWith(QLatin1Char('/')) ? dir + name : dir + QLatin1Char('/') + name;
            isDir = QFileInfo(full).isDir();
        }
        out.push_back({name, attributesOf(isDir, name)});
    }
    ::closedir(d);
#else
    // The file system's own hidden and system bits, not a naming habit.
    QString where = QDir::toNativeSeparators(dir);
    if (!where.endsWith(QLatin1Char('\\')))
        where += QLatin1Char('\\');
    const auto found = win32::listFolder((where + mask).toStdWString());
    if (!found)
        return std::nullopt;
    for (const auto &e : *found)
        out.push_back({QString::fromStdWString(e.name), e.attributes});
#endif
    if (out.empty())
        return std::nullopt;
    sortLikeWindows(out);
    return out;
}

bool RealFiles::lookup(const QString &path, unsigned allowed)
{
    QString n = native(path);
    if (n.isEmpty())
        return false;
#ifdef _WIN32
    return win32::lookupPath(n.toStdWString(), allowed);
#else
    while (n.size() > 1 && n.endsWith(QLatin1Char('/')))
        n.chop(1);
    const QFileInfo fi(n);
    if (!fi.exists())
        return false;
    const unsigned a = attributesOf(fi.isDir(), fi.fileName()) & (AttrHidden | AttrSystem | AttrDirectory);
    return (a & ~allowed) == 0;
#endif
}

QString RealFiles::profileString(const QString &section, const QString &key, const QString &defaultValue,
                                 const QString &file, int size)
{
#ifdef _WIN32
    const QString n = native(file);
    if (n.isEmpty())
        return defaultValue.left(size > 0 ? size - 1 : 0);
    return QString::fromStdWString(win32::profileString(section.toStdWString(), key.toStdWString(),
                                                         defaultValue.toStdWString(), n.toStdWString(), size));
#else
    const int limit = size > 0 ? size - 1 : 0;
    QString value = defaultValue;
    if (const auto data = readAll(file)) {
        if (auto v = profileLookup(fromAnsi(*data), section, key))
            value = *v;
    }
    return value.left(limit);
#endif
}

QString RealFiles::programFolder()
{
    if (!programFolder_.isEmpty())
        return programFolder_;
    return toWindowsPath(QCoreApplication::applicationDirPath());
}

QString RealFiles::exeName()
{
    if (!exeName_.isEmpty())
        return exeName_;
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

QString RealFiles::dataFile(const QString &name)
{
    const QString beside = programFolder() + QLatin1Char('\\') + name;
    const QString folder = native(programFolder());
    const QString file = native(beside);
    if (folder.isEmpty() || (!systemFolder(folder) && isWritable(folder))
        || (QFileInfo(file).isFile() && isWritable(file)))
        return beside;
    const QString own = userDataFolder();
    QDir().mkpath(own);
    return toWindowsPath(own + QLatin1Char('/') + name);
}

#ifndef _WIN32
bool openRegularFile(QFile &f, const QString &path, int flags)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    const QIODevice::OpenMode mode = (flags & O_ACCMODE) == O_RDONLY ? QIODevice::ReadOnly : QIODevice::WriteOnly;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || !f.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}
#endif

} // namespace platform
