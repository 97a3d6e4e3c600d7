#include "editor/BackgroundRule.h"

#include "editor/RewriteLines.h"

namespace rewrite {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\f'; }

bool isNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-'
        || c == '_' || c == ':' || c == '.';
}

// Position of the "=" of the background attribute, or -1. A match counts inside a tag
// opened on this line, or on a line that continues a tag opened earlier (no tag
// boundary before it); the last "<" and ">" are followed along as the search moves
// on, so a long line is read once however many false matches it holds.
qsizetype attributeEquals(QByteArrayView line)
{
    static constexpr QByteArrayView word("background");
    qsizetype open = -1, close = -1, seen = 0;
    for (qsizetype pos = line.indexOf(word); pos >= 0; pos = line.indexOf(word, pos + 1)) {
        if (pos > 0 && isNameChar(line[pos - 1]))
            continue;
        qsizetype j = pos + word.size();
        while (j < line.size() && isBlank(line[j]))
            ++j;
        if (j >= line.size() || line[j] != '=')
            continue;
        for (; seen < pos; ++seen) {
            if (line[seen] == '<')
                open = seen;
            else if (line[seen] == '>')
                close = seen;
        }
        if ((open < 0 && close < 0) || open > close)
            return j;
    }
    return -1;
}

} // namespace

QString backgroundImagePath(const QString &name, const QString &homeDir)
{
    if (!name.contains(QLatin1Char('\\')) && !name.contains(QLatin1Char(':')))
        return homeDir + name;
    return name;
}

QByteArray backgroundValue(const QString &imagePath, PageEncoding encoding)
{
    // A double quote would end the attribute value early, and a line break (a POSIX
    // file name may hold one) would cut the rewritten line in two.
    QString value = imagePath;
    value.replace(QLatin1Char('"'), QLatin1String("%22"));
    value.replace(QLatin1Char('\r'), QLatin1String("%0D"));
    value.replace(QLatin1Char('\n'), QLatin1String("%0A"));
    return encodeFor(encoding, value);
}

std::optional<QByteArray> backgroundLine(QByteArrayView line, QByteArrayView imagePath)
{
    const qsizetype eq = attributeEquals(line);
    if (eq < 0)
        return std::nullopt;
    qsizetype value = eq + 1;
    while (value < line.size() && isBlank(line[value]))
        ++value;
    if (value >= line.size())
        return std::nullopt;

    qsizetype rest;
    const char first = line[value];
    if (first == '"' || first == '\'') {
        const qsizetype close = line.indexOf(first, value + 1);
        if (close >= 0) {
            rest = close + 1;
        } else {
            rest = line.indexOf('>', value + 1);
            if (rest < 0)
                rest = line.size();
        }
    } else {
        rest = value;
        while (rest < line.size() && !isBlank(line[rest]) && line[rest] != '>')
            ++rest;
    }

    QByteArray out;
    out.reserve(line.size() + imagePath.size() + 16);
    out.append(line.first(value));
    out.append("\"file:///");
    out.append(imagePath);
    out.append('"');
    out.append(line.sliced(rest));
    return out;
}

QByteArray replaceBackgroundPage(QByteArrayView page, QByteArrayView imagePath)
{
    return rewriteLines(page, [&](QByteArrayView line, QByteArray &out) {
        if (auto rebuilt = backgroundLine(line, imagePath))
            appendLine(out, *rebuilt);
        else
            appendLine(out, line);
    });
}

} // namespace rewrite
