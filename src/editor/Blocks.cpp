#include "editor/Blocks.h"

namespace {

const QString kNoText = QStringLiteral("Indicare un testo per la scritta da creare !!!");
const QString kNoPage = QStringLiteral("Indicare il nome della pagina da collegare !!!");
const QString kDefaultTextColour = QStringLiteral("#FFFF80");
const QString kDefaultBackColour = QStringLiteral("#000080");

QString quoted(const QString &s) { return QLatin1Char('"') + s + QLatin1Char('"'); }

// The heading tag name: the first two characters of the size text as typed (so " H3"
// gives " H"), or H2 when the box holds nothing but blanks.
QString headingName(const QString &size)
{
    return TrimBlanks(size).isEmpty() ? QStringLiteral("H2") : size.left(2);
}

QString paragraph(Alignment a)
{
    switch (a) {
    case Alignment::Left:
        return QStringLiteral("<p align=") + quoted(QStringLiteral("left")) + QLatin1Char('>');
    case Alignment::Center:
        return QStringLiteral("<p align=") + quoted(QStringLiteral("center")) + QLatin1Char('>');
    case Alignment::Right:
        return QStringLiteral("<p align=") + quoted(QStringLiteral("right")) + QLatin1Char('>');
    case Alignment::None:
        break;
    }
    return {};
}

QString orDefault(const QString &colour, const QString &fallback)
{
    const QString c = TrimBlanks(colour);
    return c.isEmpty() ? fallback : c;
}

QString fontOpen(const QString &colour)
{
    return QStringLiteral("<font color=") + quoted(orDefault(colour, kDefaultTextColour)) + QLatin1Char('>');
}

// Bold and italic around the text, italic innermost.
QString styled(const QString &text, bool bold, bool italic)
{
    QString s;
    if (bold)
        s += QStringLiteral("<strong>");
    if (italic)
        s += QStringLiteral("<em>");
    s += text;
    if (italic)
        s += QStringLiteral("</em>");
    if (bold)
        s += QStringLiteral("</strong>");
    return s;
}

} // namespace

QString TrimBlanks(const QString &s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && s.at(b) == QLatin1Char(' '))
        ++b;
    while (e > b && s.at(e - 1) == QLatin1Char(' '))
        --e;
    return s.mid(b, e - b);
}

QString CheckCaption(const CaptionFields &f)
{
    if (TrimBlanks(f.text).isEmpty())
        return kNoText;
    return {};
}

QString CheckLink(const LinkFields &f)
{
    if (TrimBlanks(f.text).isEmpty())
        return kNoText;
    if (TrimBlanks(f.page).isEmpty())
        return kNoPage;
    return {};
}

QString CaptionBlock(const CaptionFields &f)
{
    const QString h = headingName(f.size);
    QString s = QLatin1Char('<') + h + QLatin1Char('>');
    // A scrolling strip has no alignment of its own.
    s += f.scrolling ? QStringLiteral("<p>") : paragraph(f.alignment);
    s += fontOpen(f.textColour);
    if (f.scrolling)
        s += QStringLiteral("<marquee bgcolor=") + quoted(orDefault(f.backColour, kDefaultBackColour))
             + QLatin1Char('>');
    s += styled(f.text, f.bold, f.italic);
    if (f.scrolling)
        s += QStringLiteral("</marquee>");
    s += QStringLiteral("</font></p></") + h + QLatin1Char('>');
    return s;
}

QString LinkBlock(const LinkFields &f)
{
    const QString h = headingName(f.size);
    QString s = QLatin1Char('<') + h + QLatin1Char('>');
    s += QStringLiteral("<a href=") + quoted(QStringLiteral("file://") + TrimBlanks(f.page)) + QLatin1Char('>');
    s += paragraph(f.alignment);
    s += fontOpen(f.textColour);
    s += styled(f.text, f.bold, f.italic);
    s += QStringLiteral("</font></p></a></") + h + QLatin1Char('>');
    return s;
}
