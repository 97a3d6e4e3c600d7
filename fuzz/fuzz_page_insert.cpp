// Block insertion into a page, with the block built by the caption and link windows
// and encoded as the page's encoding guess says.
#include "FuzzCheck.h"

#include "editor/Blocks.h"
#include "editor/RewriteLines.h"
#include "platform/Text.h"

namespace {

// A line edit holds no line breaks.
QString oneLine(QString s)
{
    s.remove(QLatin1Char('\r'));
    s.remove(QLatin1Char('\n'));
    return s;
}

QString block(FuzzedDataProvider &in)
{
    const int kind = in.ConsumeIntegralInRange<int>(0, 2);
    const auto align = static_cast<Alignment>(in.ConsumeIntegralInRange<int>(0, 3));
    if (kind == 0) {
        CaptionFields f;
        f.text = oneLine(fuzz::takeText(in, 40));
        f.size = oneLine(fuzz::takeText(in, 4));
        f.scrolling = in.ConsumeBool();
        f.alignment = align;
        f.textColour = oneLine(fuzz::takeText(in, 8));
        f.backColour = oneLine(fuzz::takeText(in, 8));
        f.bold = in.ConsumeBool();
        f.italic = in.ConsumeBool();
        return CaptionBlock(f);
    }
    if (kind == 1) {
        LinkFields f;
        f.text = oneLine(fuzz::takeText(in, 40));
        f.page = oneLine(fuzz::takeText(in, 40));
        f.size = oneLine(fuzz::takeText(in, 4));
        f.alignment = align;
        f.textColour = oneLine(fuzz::takeText(in, 8));
        f.bold = in.ConsumeBool();
        f.italic = in.ConsumeBool();
        return LinkBlock(f);
    }
    return oneLine(fuzz::takeText(in, 60));
}

bool marker(const QByteArray &line)
{
    const QByteArray up = line.toUpper();
    return up.contains("/BODY") || up.contains("</HTML");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const QString text = block(in);
    const QByteArray page = fuzz::restBytes(in);

    const rewrite::PageEncoding enc = rewrite::pageEncoding(page);
    if (page.startsWith("\xEF\xBB\xBF"))
        FUZZ_CHECK(enc == rewrite::PageEncoding::Utf8);
    const QByteArray blockBytes = rewrite::encodeFor(enc, text);
    FUZZ_CHECK(!blockBytes.contains('\r') && !blockBytes.contains('\n'));
    if (enc == rewrite::PageEncoding::Utf8)
        FUZZ_CHECK(QString::fromUtf8(blockBytes) == QString::fromUtf8(text.toUtf8()));

    // The rewrite cuts lines exactly as the text service does.
    const QList<QByteArray> lines = platform::splitLines(page);
    QList<QByteArray> cut;
    rewrite::forEachLine(page, [&](QByteArrayView l) { cut << l.toByteArray(); });
    FUZZ_CHECK(cut == lines);

    qsizetype at = -1;
    for (qsizetype i = 0; i < lines.size() && at < 0; ++i) {
        FUZZ_CHECK(rewrite::closesBodyOrHtml(lines[i]) == marker(lines[i]));
        if (marker(lines[i]))
            at = i;
    }

    // One more line right after the first marker line, every other line byte-identical.
    const QByteArray out = rewrite::insertBlockPage(page, blockBytes);
    QList<QByteArray> expected = lines;
    if (at >= 0)
        expected.insert(at + 1, blockBytes);
    FUZZ_CHECK(out == platform::joinLinesCrLf(expected));
    FUZZ_CHECK(platform::splitLines(out).size() == lines.size() + (at >= 0 ? 1 : 0));
    return 0;
}
