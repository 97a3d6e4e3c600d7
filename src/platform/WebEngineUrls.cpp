#include "platform/WebEngineUrls.h"

#include "platform/PathSpace.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace platform {

namespace {

bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

// "C:" + rest, with backslashes as separators; a bare drive means its root.
QString drivePath(QChar letter, QString rest)
{
    rest.replace(QLatin1Char('/'), QLatin1Char('\\'));
    if (rest.isEmpty())
        rest = QStringLiteral("\\");
    return QString(letter.toUpper()) + QLatin1Char(':') + rest;
}

bool isDrivePath(const QString &t)
{
    return t.size() >= 2 && isAsciiLetter(t[0]) && t[1] == QLatin1Char(':')
           && (t.size() == 2 || t[2] == QLatin1Char('\\') || t[2] == QLatin1Char('/'));
}

// The Windows path of a parsed file: URL. Chromium and QUrl both read "file://C:\x"
// as a URL whose host is the drive letter (Chromium keeps "c:", QUrl keeps "c"),
// so a one-letter host counts as a drive.
QString windowsPathOf(const QUrl &u)
{
    if (!u.isValid())
        return {};
    // A bare drive path in a page (src="D:\x.jpg") reaches the engine as scheme "d".
    const QString scheme = u.scheme();
    if (scheme.size() == 1 && isAsciiLetter(scheme[0]) && u.host().isEmpty())
        return drivePath(scheme[0], u.path());
    if (scheme.compare(QLatin1String("file"), Qt::CaseInsensitive) != 0)
        return {};
    const QString host = u.host();
    const QString path = u.path(); // decoded
    if (host.size() == 1 && isAsciiLetter(host[0]))
        return drivePath(host[0], path);
    if (!host.isEmpty() && host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) != 0)
        return {};
    static const QRegularExpression re(QStringLiteral("^[/\\\\]*([A-Za-z])[:|]([/\\\\].*)?$"));
    const auto m = re.match(path);
    if (!m.hasMatch())
        return {};
    return drivePath(m.captured(1)[0], m.captured(2));
}

QString urlSuffix(const QUrl &u)
{
    QString s;
    if (u.hasQuery())
        s += QLatin1Char('?') + u.query();
    if (u.hasFragment())
        s += QLatin1Char('#') + u.fragment();
    return s;
}

// A file: URL for a Windows path. A path the path space cannot place (a drive that
// is not there, a network share) still gives a file: URL, which then fails to load
// like a missing file.
QUrl localFileUrl(const QString &windowsPath)
{
    const QString native = toNativePath(windowsPath);
    if (!native.isEmpty())
        return QUrl::fromLocalFile(native);
    QString p = windowsPath;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (isDrivePath(windowsPath))
        return QUrl(QStringLiteral("file:///") + p, QUrl::TolerantMode);
    return QUrl(QStringLiteral("file:") + p, QUrl::TolerantMode);
}

bool looksLikeHost(const QString &segment)
{
    if (segment.isEmpty() || segment.startsWith(QLatin1Char('.')) || segment.contains(QLatin1Char(' ')))
        return false;
    static const QRegularExpression port(QStringLiteral(":\\d+$"));
    return segment.contains(QLatin1Char('.')) || port.match(segment).hasMatch()
           || segment.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0;
}

QUrl webUrl(QString t)
{
    t.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QUrl::fromUserInput(t);
}

} // namespace

QString windowsPathOfFileUrl(const QString &url)
{
    // Matched on the text first: QUrl refuses "file://C:\x" (it reads "C:\x" as a
    // host with a bad port).
    static const QRegularExpression re(
        QStringLiteral("^\\s*file:[/\\\\]*(?:localhost[/\\\\]+)?([A-Za-z])(?::|\\||%7C)"
                       "((?:[/\\\\]|%5C|%2F)[^?#]*)?(?:[?#].*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(url);
    if (m.hasMatch())
        return drivePath(m.captured(1)[0], QUrl::fromPercentEncoding(m.captured(2).toUtf8()).trimmed());
    return windowsPathOf(QUrl(url.trimmed(), QUrl::TolerantMode));
}

QUrl nativeFileUrl(const QUrl &url)
{
    const QString windowsPath = windowsPathOf(url);
    if (windowsPath.isEmpty())
        return {};
    const QString native = toNativePath(windowsPath);
    if (native.isEmpty())
        return {};
    QUrl out = QUrl::fromLocalFile(native);
    if (url.hasQuery())
        out.setQuery(url.query(QUrl::FullyEncoded), QUrl::StrictMode);
    if (url.hasFragment())
        out.setFragment(url.fragment(QUrl::FullyEncoded), QUrl::StrictMode);
    return out;
}

QString urlText(const QUrl &url)
{
    if (url.isEmpty())
        return {};
    QString windowsPath = windowsPathOf(url);
    // Web addresses stay percent-encoded, as the engine sends them: the 8-bit log
    // could not hold the letters of other scripts, and the encoded form still navigates.
    if (windowsPath.isEmpty() && url.scheme().compare(QLatin1String("file"), Qt::CaseInsensitive) != 0)
        return url.toString(QUrl::FullyEncoded);
    if (windowsPath.isEmpty()) {
        const QString host = url.host();
        if (!host.isEmpty() && host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) != 0)
            return url.toString();
        const QString native = url.path();
        if (native.isEmpty())
            return url.toString();
        windowsPath = toWindowsPath(native);
        if (native.endsWith(QLatin1Char('/')) && !windowsPath.endsWith(QLatin1Char('\\')))
            windowsPath += QLatin1Char('\\');
    }
    windowsPath.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QStringLiteral("file:///") + windowsPath + urlSuffix(url);
}

QUrl urlFromTyped(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};

    if (isDrivePath(t) || t.startsWith(QLatin1Char('\\')) || t.startsWith(QLatin1Char('/')))
        return localFileUrl(t);

    static const QRegularExpression schemeRe(QStringLiteral("^([A-Za-z][A-Za-z0-9+.\\-]+):(.*)$"));
    static const QRegularExpression portRe(QStringLiteral("^\\d+([/\\\\?#]|$)"));
    const auto m = schemeRe.match(t);
    if (m.hasMatch() && !portRe.match(m.captured(2)).hasMatch()) {
        const QString scheme = m.captured(1).toLower();
        QString rest = m.captured(2);
        if (scheme == QLatin1String("file")) {
            const QString windowsPath = windowsPathOfFileUrl(t);
            if (!windowsPath.isEmpty())
                return localFileUrl(windowsPath);
            rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
            return QUrl(QStringLiteral("file:") + rest, QUrl::TolerantMode);
        }
        static const QStringList special = {QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("ftp"),
                                            QStringLiteral("ws"), QStringLiteral("wss")};
        if (special.contains(scheme)) {
            rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
            while (rest.startsWith(QLatin1Char('/')))
                rest.remove(0, 1);
            return QUrl(scheme + QStringLiteral("://") + rest, QUrl::TolerantMode);
        }
        // about:, mailto:, javascript:, data: ... go to the engine untouched.
        return QUrl(t, QUrl::TolerantMode);
    }

    // No scheme: a file that exists (relative to the current folder), a relative
    // Windows path, or a host name.
    const QString native = toNativePath(t);
    if (!native.isEmpty() && QFileInfo::exists(native))
        return QUrl::fromLocalFile(native);
    static const QRegularExpression sep(QStringLiteral("[/\\\\]"));
    const QString first = t.section(sep, 0, 0);
    if (t.contains(QLatin1Char('\\')) && !looksLikeHost(first))
        return localFileUrl(t);
    return webUrl(QStringLiteral("http://") + t);
}

namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isSchemeChar(char c) { return isLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'; }

// Whether word (lower case) starts at html[i], in any case.
bool startsAt(QByteArrayView html, qsizetype i, const char *word)
{
    for (qsizetype k = 0; word[k]; ++k)
        if (i + k >= html.size() || lower(html[i + k]) != word[k])
            return false;
    return true;
}

// Whether the scheme word (lower case) starts at html[i], in any case, with the tabs and
// line breaks the address parser drops allowed between its letters.
bool schemeAt(QByteArrayView html, qsizetype i, const char *word)
{
    for (qsizetype k = 0; word[k]; ++k, ++i) {
        while (k > 0 && i < html.size() && (html[i] == '\t' || html[i] == '\r' || html[i] == '\n'))
            ++i;
        if (i >= html.size() || lower(html[i]) != word[k])
            return false;
    }
    return true;
}

} // namespace

bool markupMayNeedPathFixup(QByteArrayView html)
{
    static const char *const makers[] = {"<script", "<frame", "<iframe", "<object", "<embed", "<applet"};
    const qsizetype n = html.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = html[i];
        if (c == '\0')
            return true;
        if (c == '&') {
            // A colon or bar spelt as a character reference.
            if (startsAt(html, i + 1, "#") || startsAt(html, i + 1, "colon") || startsAt(html, i + 1, "vert")
                || startsAt(html, i + 1, "verbar"))
                return true;
            continue;
        }
        if (c == '<' || lower(c) == 'j' || lower(c) == 'v') {
            for (const char *m : makers)
                if (startsAt(html, i, m))
                    return true;
            if (schemeAt(html, i, "javascript:") || schemeAt(html, i, "vbscript:"))
                return true;
            continue;
        }
        if ((c == ':' || c == '|') && i > 0 && isLetter(html[i - 1]) && (i < 2 || !isSchemeChar(html[i - 2]))) {
            // file:///C:\... the engine reads by itself, backslashes and all.
            const bool engineReads = c == ':' && i >= 9 && startsAt(html, i - 9, "file:///")
                                     && (i == 9 || !isSchemeChar(html[i - 10]));
            if (!engineReads)
                return true;
        }
        // An event attribute: "on" and letters, then "=", after a blank, quote or slash.
        if (lower(c) == 'o' && i > 0 && (html[i - 1] == ' ' || html[i - 1] == '\t' || html[i - 1] == '\n'
                                         || html[i - 1] == '\r' || html[i - 1] == '\f' || html[i - 1] == '"'
                                         || html[i - 1] == '\'' || html[i - 1] == '/')
            && i + 2 < n && lower(html[i + 1]) == 'n' && isLetter(html[i + 2])) {
            qsizetype k = i + 2;
            while (k < n && (isLetter(html[k]) || html[k] == '-' || html[k] == '_'))
                ++k;
            while (k < n && (html[k] == ' ' || html[k] == '\t' || html[k] == '\n' || html[k] == '\r' || html[k] == '\f'))
                ++k;
            if (k < n && html[k] == '=')
                return true;
        }
    }
    return false;
}

} // namespace platform
