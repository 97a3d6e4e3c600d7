#include "platform/DownloadRules.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace platform {

namespace {

bool reservedOnWindows(const QString &name)
{
    static const QRegularExpression reserved(QStringLiteral("^(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9])$"),
                                             QRegularExpression::CaseInsensitiveOption);
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    return reserved.match(dot < 0 ? name : name.left(dot).trimmed()).hasMatch();
}

QString trimmedEnd(QString s)
{
    while (!s.isEmpty() && (s.back() == QLatin1Char('.') || s.back().isSpace()))
        s.chop(1);
    return s;
}

// Cuts whole characters off the end of stem until stem + tail fits.
QString fitted(QString stem, const QString &tail)
{
    while (!stem.isEmpty() && (stem + tail).toUtf8().size() > kMaxDownloadNameBytes)
        stem.chop(stem.size() >= 2 && stem.back().isLowSurrogate() ? 2 : 1);
    return trimmedEnd(stem) + tail;
}

// The part before the extension gives way first; an extension too long to keep goes.
QString fitted(const QString &name)
{
    if (name.toUtf8().size() <= kMaxDownloadNameBytes)
        return name;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    QString ext = dot > 0 ? name.mid(dot) : QString();
    if (ext.toUtf8().size() > kMaxDownloadNameBytes / 2)
        ext.clear();
    return fitted(name.left(name.size() - ext.size()), ext);
}

} // namespace

QString safeDownloadName(const QString &suggested)
{
    QString name = suggested;
    const qsizetype cut = std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    name = name.mid(cut + 1);
    name.removeIf([](QChar c) { return c.category() == QChar::Other_Control || c.category() == QChar::Other_Format; });
    while (!name.isEmpty() && (name.front() == QLatin1Char('.') || name.front().isSpace()))
        name.remove(0, 1);
    name = fitted(trimmedEnd(name));
    if (reservedOnWindows(name))
        name = fitted(QLatin1Char('_') + name);
    return name.isEmpty() ? QStringLiteral("download") : name;
}

QString reserveDownloadFile(const QString &folder, const QString &name)
{
    const QDir dir(folder);
    // "a.tar.gz" becomes "a (1).tar.gz": the number goes before the first dot.
    qsizetype dot = name.indexOf(QLatin1Char('.'), 1);
    if (dot >= 0 && name.mid(dot).toUtf8().size() > kMaxDownloadNameBytes / 2)
        dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0 && name.mid(dot).toUtf8().size() > kMaxDownloadNameBytes / 2)
        dot = -1;
    const QString stem = dot < 0 ? name : name.left(dot);
    const QString ext = dot < 0 ? QString() : name.mid(dot);
    for (int n = 0; n < 10000; ++n) {
        const QString candidate = n == 0 ? name : fitted(stem, QStringLiteral(" (%1)").arg(n) + ext);
        QFile f(dir.filePath(candidate));
        if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return candidate;
        if (f.error() != QFileDevice::OpenError || !QFile::exists(f.fileName()))
            return {}; // not a name taken: the folder refuses us
    }
    return {};
}

bool DownloadLimit::mayStart(int running, qint64 nowMs)
{
    if (running >= kMaxAtOnce)
        return false;
    while (!started_.empty() && nowMs - started_.front() >= 60000)
        started_.pop_front();
    if (int(started_.size()) >= kMaxPerMinute)
        return false;
    started_.push_back(nowMs);
    return true;
}

} // namespace platform
