#include "platform/PdfName.h"

#include <QFileInfo>

namespace platform {

namespace {

QString baseName(const QString &title)
{
    QString name;
    for (const QChar c : title) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            continue;
        name += QStringLiteral("/\\:*?\"<>|").contains(c) ? QChar(u'_') : c;
    }
    name = name.left(100);
    // No hidden file, and no name that ends where Windows would cut it.
    while (!name.isEmpty() && (name.front() == u'.' || name.front().isSpace()))
        name.remove(0, 1);
    while (!name.isEmpty() && (name.back() == u'.' || name.back().isSpace()))
        name.chop(1);
    return name.isEmpty() ? QStringLiteral("pagina") : name;
}

} // namespace

QString pdfFileName(const QString &title) { return baseName(title) + QStringLiteral(".pdf"); }

QString freePdfPath(const QString &folder, const QString &title)
{
    // Numbered at the end: a title may hold dots of its own.
    const QString base = folder + QLatin1Char('/') + baseName(title);
    QString path = base + QStringLiteral(".pdf");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = base + QStringLiteral(" (%1).pdf").arg(n);
    return path;
}

} // namespace platform
