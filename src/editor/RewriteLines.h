#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>

// The line transforms of the page rewrite, on the page's bytes. Lines are cut as
// platform::splitLines cuts them (CR LF, lone CR, lone LF; a final line end starts no
// empty line) and every line written ends in CR LF. Lines a rule leaves alone are
// copied byte for byte, whatever their encoding.
namespace rewrite {

// Calls f(line) for each line of `page`, without its line end.
template <class F> void forEachLine(QByteArrayView page, F &&f)
{
    const char *p = page.data();
    const qsizetype n = page.size();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < n) {
        const char c = p[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        f(QByteArrayView(p + start, i - start));
        i += (c == '\r' && i + 1 < n && p[i + 1] == '\n') ? 2 : 1;
        start = i;
    }
    if (start < n)
        f(QByteArrayView(p + start, n - start));
}

// Appends the bytes and CR LF.
inline void appendLine(QByteArray &out, QByteArrayView line)
{
    out.append(line);
    out.append("\r\n", 2);
}

// Writes one page line to the working copy: as it is or rebuilt, possibly followed by
// lines of its own, each through appendLine.
using LineRule = std::function<void(QByteArrayView line, QByteArray &out)>;

QByteArray rewriteLines(QByteArrayView page, const LineRule &rule);

// The encoding generated text must have to read right in the page.
enum class PageEncoding { Ansi, Utf8 };

// UTF-8 when the page starts with the UTF-8 byte order mark or its first meta charset
// declaration before the body (<meta charset=...> or http-equiv content with
// charset=...) names UTF-8, in any case; otherwise the 8-bit code page.
PageEncoding pageEncoding(QByteArrayView page);
QByteArray encodeFor(PageEncoding encoding, const QString &text);

// True when the line, upper-cased, holds "/BODY" or "</HTML".
bool closesBodyOrHtml(QByteArrayView line);

// The page with `block` as a line of its own after the first line closing the body or
// the document; without such a line, the same lines.
QByteArray insertBlockPage(QByteArrayView page, QByteArrayView block);

} // namespace rewrite
