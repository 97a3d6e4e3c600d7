// The Windows path space: Windows path <-> native path, file: URL <-> Windows path,
// typed text -> URL. Drives C: and D: are two folders of a fresh temporary folder.
#include "FuzzCheck.h"

#include "platform/PathSpace.h"
#include "platform/WebEngineUrls.h"

#include <QDir>
#include <QUrl>

#include <cstdlib>
#include <unistd.h>

namespace {

QString rootC;
QString rootD;

// A path whose every part is a plain name: the kind that must come back unchanged.
QString cleanPath(FuzzedDataProvider &in, QChar drive)
{
    QString p = QString(drive) + QLatin1Char(':');
    const int parts = in.ConsumeIntegralInRange<int>(0, 4);
    for (int i = 0; i < parts; ++i) {
        QString part;
        for (QChar c : fuzz::takeText(in, 12))
            if (c != QLatin1Char('/') && c != QLatin1Char('\\') && c != QLatin1Char('%') && c != QLatin1Char('?')
                && c != QLatin1Char('#') && c.unicode() >= 0x20 && !c.isSurrogate())
                part += c;
        part = part.trimmed();
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            part = QStringLiteral("x");
        p += QLatin1Char('\\') + part;
    }
    if (parts == 0)
        p += QLatin1Char('\\');
    return p;
}

bool under(const QString &native, const QString &root)
{
    return native == root || native.startsWith(root + QLatin1Char('/'));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    char tmpl[] = "/tmp/lanterna-fuzz-XXXXXX";
    const char *base = ::mkdtemp(tmpl);
    if (!base)
        std::abort();
    rootC = QString::fromLocal8Bit(base) + QStringLiteral("/c");
    rootD = QString::fromLocal8Bit(base) + QStringLiteral("/d");
    QDir().mkpath(rootC);
    QDir().mkpath(rootD);
    ::setenv("LANTERNA_DRIVE_C", rootC.toLocal8Bit().constData(), 1);
    ::setenv("LANTERNA_DRIVE_D", rootD.toLocal8Bit().constData(), 1);
    ::chdir(base);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const QChar drive = in.ConsumeBool() ? QLatin1Char('C') : QLatin1Char('D');
    const QString root = drive == QLatin1Char('C') ? rootC : rootD;
    const QString clean = cleanPath(in, drive);
    const QString any = fuzz::takeText(in, 80);

    // Any text: no crash, and a path on a drive never leaves that drive's folder.
    const QString native = platform::toNativePath(any);
    QString lead = any.left(2);
    lead.replace(QLatin1Char('/'), QLatin1Char('\\'));
    if (!native.isEmpty())
        FUZZ_CHECK(native.startsWith(QLatin1Char('/')));
    if (any.size() >= 2 && any[1] == QLatin1Char(':') && any[0].toUpper() == QLatin1Char('C'))
        FUZZ_CHECK(under(native, rootC));
    if (any.size() >= 2 && any[1] == QLatin1Char(':') && any[0].toUpper() == QLatin1Char('D'))
        FUZZ_CHECK(under(native, rootD));
    if (lead.startsWith(QLatin1Char('\\')) && lead != QLatin1String("\\\\"))
        FUZZ_CHECK(under(native, rootC));
    (void)platform::toWindowsPath(any);
    (void)platform::windowsPathOfFileUrl(any);
    (void)platform::urlText(QUrl(any));
    (void)platform::nativeFileUrl(QUrl(any));
    (void)platform::urlFromTyped(any);
    const QString fromUrl = platform::windowsPathOfFileUrl(any);
    if (!fromUrl.isEmpty())
        FUZZ_CHECK(fromUrl.size() >= 3 && fromUrl[0].isUpper() && fromUrl[1] == QLatin1Char(':'));

    // Plain names: Windows path -> native -> Windows path, and through a file: URL.
    const QString cleanNative = platform::toNativePath(clean);
    FUZZ_CHECK(under(cleanNative, root));
    const QString back = platform::toWindowsPath(cleanNative);
    FUZZ_CHECK(back == clean);
    QString slashed = clean;
    slashed.replace(QLatin1Char('\\'), QLatin1Char('/'));
    FUZZ_CHECK(platform::windowsPathOfFileUrl(QStringLiteral("file:///") + slashed) == clean);
    const QString reported = platform::urlText(QUrl::fromLocalFile(cleanNative));
    FUZZ_CHECK(platform::windowsPathOfFileUrl(reported) == clean);
    const QUrl typed = platform::urlFromTyped(clean);
    FUZZ_CHECK(typed.isLocalFile() && QDir::cleanPath(typed.toLocalFile()) == QDir::cleanPath(cleanNative));
    return 0;
}
