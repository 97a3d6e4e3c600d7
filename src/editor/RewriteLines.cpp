#include "editor/RewriteLines.h"

#include "platform/Text.h"

#include <cstring>

namespace rewrite {

namespace {

char upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

// ASCII case-insensitive: does `text` hold `word` (upper case) at `at`?
bool matchesAt(QByteArrayView text, qsizetype at, const char *word)
{
    const qsizetype len = qsizetype(std::strlen(word));
    if (at < 0 || at + len > text.size())
        return false;
    for (qsizetype k = 0; k < len; ++k)
        if (upper(text[at + k]) != word[k])
            return false;
    return true;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

// The charset a meta tag's text declares, lower-cased; empty when it declares none.
QByteArray declaredCharset(QByteArrayView tag)
{
    for (qsizetype at = 0; at < tag.size(); ++at) {
        if (!matchesAt(tag, at, "CHARSET"))
            continue;
        qsizetype i = at + 7;
        while (i < tag.size() && isBlank(tag[i]))
            ++i;
        if (i >= tag.size() || tag[i] != '=')
            continue;
        ++i;
        while (i < tag.size() && (isBlank(tag[i]) || tag[i] == '"' || tag[i] == '\''))
            ++i;
        qsizetype end = i;
        while (end < tag.size() && !isBlank(tag[end]) && tag[end] != '"' && tag[end] != '\''
               && tag[end] != ';' && tag[end] != '>' && tag[end] != '/')
            ++end;
        if (end > i)
            return tag.sliced(i, end - i).toByteArray().toLower();
    }
    return {};
}

} // namespace

QByteArray rewriteLines(QByteArrayView page, const LineRule &rule)
{
    QByteArray out;
    // Line ends may grow from one byte to two; leave room for the usual case.
    out.reserve(page.size() + page.size() / 16 + 1024);
    forEachLine(page, [&](QByteArrayView line) { rule(line, out); });
    return out;
}

PageEncoding pageEncoding(QByteArrayView page)
{
    if (page.startsWith("\xEF\xBB\xBF"))
        return PageEncoding::Utf8;
    const char *p = page.data();
    const qsizetype n = page.size();
    qsizetype i = 0;
    while (i < n) {
        const void *lt = std::memchr(p + i, '<', size_t(n - i));
        if (!lt)
            break;
        i = static_cast<const char *>(lt) - p;
        if (page.sliced(i).startsWith("<!--")) {
            const qsizetype close = page.indexOf("-->", i + 4);
            if (close < 0)
                break;
            i = close + 3;
            continue;
        }
        if (matchesAt(page, i + 1, "BODY"))
            break; // declarations belong to the head
        if (matchesAt(page, i + 1, "META") && i + 5 < n
            && (isBlank(p[i + 5]) || p[i + 5] == '/' || p[i + 5] == '>')) {
            qsizetype end = page.indexOf('>', i);
            if (end < 0)
                end = n;
            const QByteArray cs = declaredCharset(page.sliced(i, end - i));
            if (!cs.isEmpty())
                return (cs == "utf-8" || cs == "utf8") ? PageEncoding::Utf8 : PageEncoding::Ansi;
            i = end;
            continue;
        }
        ++i;
    }
    return PageEncoding::Ansi;
}

QByteArray encodeFor(PageEncoding encoding, const QString &text)
{
    return encoding == PageEncoding::Utf8 ? text.toUtf8() : platform::toAnsi(text);
}

bool closesBodyOrHtml(QByteArrayView line)
{
    const char *p = line.data();
    const qsizetype n = line.size();
    for (qsizetype i = 0; i < n;) {
        const void *slash = std::memchr(p + i, '/', size_t(n - i));
        if (!slash)
            return false;
        i = static_cast<const char *>(slash) - p;
        if (matchesAt(line, i + 1, "BODY"))
            return true;
        if (i > 0 && p[i - 1] == '<' && matchesAt(line, i + 1, "HTML"))
            return true;
        ++i;
    }
    return false;
}

QByteArray insertBlockPage(QByteArrayView page, QByteArrayView block)
{
    bool inserted = false;
    return rewriteLines(page, [&](QByteArrayView line, QByteArray &out) {
        appendLine(out, line);
        if (!inserted && closesBodyOrHtml(line)) {
            appendLine(out, block);
            inserted = true;
        }
    });
}

} // namespace rewrite
