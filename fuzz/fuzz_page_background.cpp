// The background rule: every line of the page through backgroundLine, the image
// path prepared as the background window prepares it.
#include "FuzzCheck.h"

#include "editor/BackgroundRule.h"
#include "editor/RewriteLines.h"
#include "platform/Text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const QString name = fuzz::takeText(in, 40);
    const QString home = fuzz::takeText(in, 20);
    QString image = rewrite::backgroundImagePath(name, home);
    if (!name.contains(QLatin1Char('\\')) && !name.contains(QLatin1Char(':')))
        FUZZ_CHECK(image == home + name);
    else
        FUZZ_CHECK(image == name);
    const QByteArray page = fuzz::restBytes(in);

    const QByteArray value = rewrite::backgroundValue(image, rewrite::pageEncoding(page));
    FUZZ_CHECK(!value.contains('"') && !value.contains('\r') && !value.contains('\n'));
    const QByteArray quoted = "\"file:///" + value + '"';

    const QList<QByteArray> lines = platform::splitLines(page);
    QList<QByteArray> expected;
    for (const QByteArray &line : lines) {
        const std::optional<QByteArray> rebuilt = rewrite::backgroundLine(line, value);
        if (!line.contains("background") || !line.contains('=')) {
            FUZZ_CHECK(!rebuilt);
        }
        if (!rebuilt) {
            expected << line;
            continue;
        }
        // The new value replaces a piece of the line: what stands before it and what
        // follows the old value are kept as they were.
        bool spliced = false;
        for (qsizetype at = rebuilt->indexOf(quoted); at >= 0 && !spliced; at = rebuilt->indexOf(quoted, at + 1))
            spliced = line.startsWith(rebuilt->first(at)) && line.endsWith(rebuilt->sliced(at + quoted.size()))
                      && line.first(at).contains("background");
        FUZZ_CHECK(spliced);
        expected << *rebuilt;
    }
    const QByteArray out = rewrite::replaceBackgroundPage(page, value);
    FUZZ_CHECK(out == platform::joinLinesCrLf(expected));
    FUZZ_CHECK(platform::splitLines(out).size() == lines.size());
    // A second run with the same image changes nothing more.
    FUZZ_CHECK(rewrite::replaceBackgroundPage(out, value) == out);
    return 0;
}
