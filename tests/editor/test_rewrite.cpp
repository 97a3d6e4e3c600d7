#include "RewriteHelpers.h"
#include "editor/PageRewrite.h"
#include "editor/RewriteLines.h"
#include "platform/Text.h"

#include <QCoreApplication>

using rewrite::PageEncoding;

namespace {

QByteArray crlf(const QList<QByteArray> &lines) { return platform::joinLinesCrLf(lines); }

// Every line cut by forEachLine.
QList<QByteArray> cut(const QByteArray &page)
{
    QList<QByteArray> lines;
    rewrite::forEachLine(page, [&](QByteArrayView l) { lines << l.toByteArray(); });
    return lines;
}

QByteArray insert(const QByteArray &page, const QByteArray &block = "<B>")
{
    return rewrite::insertBlockPage(page, block);
}

// An editing window of the registry, as the caption and link windows are.
class Caller : public Form {};

} // namespace

TEST(RewriteLines, CutsLinesExactlyAsTheTextServiceDoes)
{
    const QList<QByteArray> pages = {
        "",          "a",           "a\r\n",          "a\n",      "a\r",        "\r\n",
        "\n\n",      "a\r\nb",      "a\r\r\nb\n\rc",  "a\n\r\nb", "\r",         "x\r\n\r\ny\r\n",
        "end\r\n\n", "no end\r\nx", QByteArray("a\0b\nc", 5),
    };
    for (const QByteArray &p : pages)
        EXPECT_EQ(cut(p), platform::splitLines(p)) << p.toStdString();
}

TEST(RewriteLines, BlockGoesAfterTheFirstLineClosingBodyOrHtml)
{
    // Closing body and html tags on two lines: after the body's line.
    EXPECT_EQ(insert("<html>\r\n<body>\r\n<p>x</p>\r\n</body>\r\n</html>\r\n"),
              "<html>\r\n<body>\r\n<p>x</p>\r\n</body>\r\n<B>\r\n</html>\r\n");
    // Both on one line: after that line.
    EXPECT_EQ(insert("<body>\r\nx</body></html>\r\n"), "<body>\r\nx</body></html>\r\n<B>\r\n");
    // Any case, blanks before the bracket.
    EXPECT_EQ(insert("a\n</BoDy >\nb\n"), "a\r\n</BoDy >\r\n<B>\r\nb\r\n");
    EXPECT_EQ(insert("a\n</BODY>\n"), "a\r\n</BODY>\r\n<B>\r\n");
    // Only the closing html tag.
    EXPECT_EQ(insert("<p>x\n</Html>\n"), "<p>x\r\n</Html>\r\n<B>\r\n");
    // Any text holding /body counts, an image path included.
    EXPECT_EQ(insert("<img src=\"img/body.gif\">\n</body>\n"),
              "<img src=\"img/body.gif\">\r\n<B>\r\n</body>\r\n");
    // "text/html" is not the closing html tag.
    EXPECT_EQ(insert("<meta content=\"text/html\">\n</body>\n"),
              "<meta content=\"text/html\">\r\n</body>\r\n<B>\r\n");
    // Only the first matching line counts.
    EXPECT_EQ(insert("</body>\n</body>\n</html>\n"), "</body>\r\n<B>\r\n</body>\r\n</html>\r\n");
    // No marker: the same lines, CR LF, a final CR LF, no block.
    EXPECT_EQ(insert("<p>uno\n<p>due"), "<p>uno\r\n<p>due\r\n");
    EXPECT_EQ(insert(""), "");
}

TEST(RewriteLines, UnchangedLinesKeepEveryByte)
{
    QByteArray high;
    for (int b = 0x80; b <= 0xFF; ++b)
        high += char(b);
    const QByteArray page = "<p>" + high + "\n\n" + QByteArray("a\0b", 3) + "\r</body>\n\xE8\xE0\n";
    EXPECT_EQ(insert(page, "<i>blk</i>"),
              "<p>" + high + "\r\n\r\n" + QByteArray("a\0b", 3) + "\r\n</body>\r\n<i>blk</i>\r\n\xE8\xE0\r\n");
}

TEST(PageEncoding, DeclaredUtf8MetaCharsetOrByteOrderMark)
{
    const char *utf8[] = {
        "<html><head><meta charset=\"utf-8\"></head>",
        "<HEAD>\n<META CHARSET=UTF-8>\n",
        "<meta charset='utf8' />",
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">",
        "<Meta HTTP-EQUIV='content-type'\n CONTENT='text/html;charset=Utf-8'>",
        "\xEF\xBB\xBF<html><body>",
        // A meta without charset does not end the search.
        "<meta name=\"charset\" content=\"x\"><meta charset=\"utf-8\">",
    };
    const char *ansi[] = {
        "",
        "<html><body>utf-8</body></html>",
        "<meta charset=\"windows-1252\">",
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">",
        // The first declaration holds.
        "<meta charset=\"iso-8859-1\"><meta charset=\"utf-8\">",
        // Commented out, or past the head, does not count.
        "<!-- <meta charset=\"utf-8\"> -->",
        "<body><meta charset=\"utf-8\">",
        "<metadata charset=\"utf-8\">",
    };
    for (const char *page : utf8)
        EXPECT_EQ(rewrite::pageEncoding(page), PageEncoding::Utf8) << page;
    for (const char *page : ansi)
        EXPECT_EQ(rewrite::pageEncoding(page), PageEncoding::Ansi) << page;
}

TEST(PageEncoding, GeneratedBlockIsEncodedAsThePage)
{
    const QString block = QStringLiteral("<p>Citt\u00E0 \u20AC</p>");
    const QByteArray ansiPage = "<html><body>\xE8\n</body>\n";
    EXPECT_EQ(
        rewrite::insertBlockTransform(ansiPage, block), "<html><body>\xE8\r\n</body>\r\n<p>Citt\xE0 \x80</p>\r\n");
    const QByteArray utf8Page = "<meta charset=\"utf-8\"><body>\xC3\xA8\n</body>\n";
    EXPECT_EQ(rewrite::insertBlockTransform(utf8Page, block),
              "<meta charset=\"utf-8\"><body>\xC3\xA8\r\n</body>\r\n<p>Citt\xC3\xA0 \xE2\x82\xAC</p>\r\n");
}

class PageRewriteEngine : public RewriteTest {};

TEST_F(PageRewriteEngine, InsertionLeavesPageBackupAndWorkingCopy)
{
    const QByteArray before = "<html>\n<body>\n<p>Ciao</p>\n</body>\n</html>\n";
    showPage(before);
    Caller *caller = forms::touch<Caller>();
    caller->show();

    EXPECT_TRUE(InsertBlock(QStringLiteral("<H2>Primo</H2>"), caller));

    const QByteArray after = "<html>\r\n<body>\r\n<p>Ciao</p>\r\n</body>\r\n<H2>Primo</H2>\r\n</html>\r\n";
    EXPECT_EQ(readFile(page), after);
    EXPECT_EQ(readFile(backup), before);
    EXPECT_EQ(readFile(work), after);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.beeps, 0);
    EXPECT_EQ(forms::loaded<Caller>(), nullptr) << "the editing window closes";
    EXPECT_EQ(refreshes(), 1);

    // A second insertion builds on the first and lands above it; the backup follows.
    caller = forms::touch<Caller>();
    EXPECT_TRUE(InsertBlock(QStringLiteral("<H2>Secondo</H2>"), caller));
    const QByteArray twice =
        "<html>\r\n<body>\r\n<p>Ciao</p>\r\n</body>\r\n<H2>Secondo</H2>\r\n<H2>Primo</H2>\r\n</html>\r\n";
    EXPECT_EQ(readFile(page), twice);
    EXPECT_EQ(readFile(backup), after);
    EXPECT_EQ(readFile(work), twice);
    EXPECT_EQ(forms::loaded<Caller>(), nullptr);
    EXPECT_EQ(refreshes(), 2);
    // The backup is replaced first, the page last, each whole (never written in place).
    ASSERT_GE(failing->replaced.size(), 2);
    EXPECT_EQ(failing->replaced.mid(failing->replaced.size() - 2), (QStringList{backup, page}));
}

TEST_F(PageRewriteEngine, PageWithoutMarkerIsWrittenBackWithCrLf)
{
    const QByteArray before = "<p>uno\n<p>due\r<p>tre";
    showPage(before);
    Caller *caller = forms::touch<Caller>();
    EXPECT_TRUE(InsertBlock(QStringLiteral("<H2>perso</H2>"), caller));
    EXPECT_EQ(readFile(page), "<p>uno\r\n<p>due\r\n<p>tre\r\n");
    EXPECT_EQ(readFile(backup), before);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(refreshes(), 1);
    EXPECT_EQ(forms::loaded<Caller>(), nullptr);
}

TEST_F(PageRewriteEngine, UnreadablePageShowsTheReadingMessageAndWritesNothing)
{
    // Missing file, empty Tag, a web address and about:blank in path form.
    const QStringList tags = {QStringLiteral("C:\\HOME-PAG\\MANCA.HTM"), QString(),
                              QStringLiteral("http:\\\\www.example.com\\index.html"), QStringLiteral("about:blank"),
                              QStringLiteral("C:\\HOME-PAG\\")};
    Caller *caller = forms::touch<Caller>();
    for (const QString &tag : tags) {
        ui.messages.clear();
        ui.beeps = 0;
        forms::frmBrowser()->Tag = tag;
        EXPECT_FALSE(InsertBlock(QStringLiteral("<H2>x</H2>"), caller));
        ASSERT_EQ(ui.messages.size(), 1u) << tag.toStdString();
        EXPECT_EQ(ui.last(), FakeUi::box(QStringLiteral("Errore in lettura pagina ") + tag));
        EXPECT_EQ(ui.beeps, 1);
        EXPECT_EQ(forms::loaded<Caller>(), caller) << "the editing window stays open";
    }
    EXPECT_FALSE(exists(QStringLiteral("C:\\HOME-PAG\\MANCA.HT~")));
    EXPECT_FALSE(exists(QStringLiteral("C:\\HOME-PAG\\MANCA.HT_")));

    // A UTF-16 page cannot be cut into 8-bit lines: refused, and left as it is.
    const QByteArray utf16[] = {QByteArray("\xFF\xFE<\0b\0>\0\r\0\n\0<\0/\0b\0>\0", 20),
                                QByteArray("\xFE\xFF\0<\0b\0>\0\r\0\n\0<\0/\0b\0>", 20)};
    for (const QByteArray &bytes : utf16) {
        ui.messages.clear();
        showPage(bytes);
        EXPECT_FALSE(InsertBlock(QStringLiteral("<H2>x</H2>"), caller));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.last().text, QStringLiteral("Errore in lettura pagina ") + page);
        EXPECT_EQ(readFile(page), bytes);
        EXPECT_FALSE(ReplaceBackground(QStringLiteral("C:\\X.JPG"), caller));
        EXPECT_EQ(readFile(page), bytes);
        EXPECT_FALSE(exists(work));
        EXPECT_FALSE(exists(backup));
        EXPECT_EQ(forms::loaded<Caller>(), caller);
    }
    EXPECT_TRUE(failing->replaced.isEmpty());
    EXPECT_EQ(refreshes(), 0);
    forms::unload<Caller>();
}

TEST_F(PageRewriteEngine, PageNamedLikeItsOwnWorkingCopyOrBackupIsNotLost)
{
    // "x.ht~" would be its own working copy: writing it first would lose the page.
    const QString tilde = QStringLiteral("C:\\HOME-PAG\\PAGINA.HT~");
    showPage("<body>\n</body>\n", tilde);
    Caller *caller = forms::touch<Caller>();
    EXPECT_FALSE(InsertBlock(QStringLiteral("<H2>x</H2>"), caller));
    EXPECT_EQ(ui.last().text, QStringLiteral("Errore in lettura pagina ") + tilde);
    EXPECT_EQ(readFile(tilde), "<body>\n</body>\n");

    // "x.ht_" would be its own backup: refused with the reading message, before its
    // working copy ("x.ht~", here a page of its own) is written.
    const QString under = QStringLiteral("C:\\HOME-PAG\\PAGINA.HT_");
    showPage("<body>\n</body>\n", under);
    EXPECT_FALSE(InsertBlock(QStringLiteral("<H2>x</H2>"), caller));
    EXPECT_EQ(ui.last().text, QStringLiteral("Errore in lettura pagina ") + under);
    EXPECT_EQ(readFile(under), "<body>\n</body>\n");
    EXPECT_EQ(readFile(tilde), "<body>\n</body>\n");
    EXPECT_FALSE(ReplaceBackground(QStringLiteral("C:\\X.JPG"), caller));
    EXPECT_EQ(ui.last().text, QStringLiteral("Errore in lettura pagina ") + under);
    EXPECT_EQ(readFile(under), "<body>\n</body>\n");
    EXPECT_EQ(readFile(tilde), "<body>\n</body>\n");
    EXPECT_TRUE(failing->replaced.isEmpty());
    EXPECT_EQ(forms::loaded<Caller>(), caller);
    forms::unload<Caller>();
}

TEST_F(PageRewriteEngine, FailedBackupLeavesThePageAndReportsTheCopy)
{
    const QByteArray before = "<body>\n</body>\n";
    showPage(before);
    writeFile(backup, "vecchio backup");
    failing->failReplaceOf = backup;
    Caller *caller = forms::touch<Caller>();

    EXPECT_FALSE(InsertBlock(QStringLiteral("<H2>x</H2>"), caller));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.last().text, QStringLiteral("Errore nella copia della pagina C:\\HOME-PAG\\INIZIO.HTM in "
                                             "C:\\HOME-PAG\\INIZIO.HT_"));
    EXPECT_EQ(ui.last().flags, platform::vbOKOnly);
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(readFile(page), before);
    EXPECT_EQ(readFile(backup), "vecchio backup");
    EXPECT_EQ(readFile(work), "<body>\r\n</body>\r\n<H2>x</H2>\r\n") << "working copy complete";
    EXPECT_EQ(forms::loaded<Caller>(), caller);
    EXPECT_EQ(refreshes(), 0);

    // Once the copy works again the same window confirms successfully.
    failing->failReplaceOf.clear();
    EXPECT_TRUE(InsertBlock(QStringLiteral("<H2>x</H2>"), caller));
    EXPECT_EQ(readFile(page), "<body>\r\n</body>\r\n<H2>x</H2>\r\n");
}

TEST_F(PageRewriteEngine, FailedReplaceKeepsThePageAndItsBackup)
{
    const QByteArray before = "<body>\n</body>\n";
    showPage(before);
    failing->failReplaceOf = page;
    Caller *caller = forms::touch<Caller>();

    EXPECT_FALSE(InsertBlock(QStringLiteral("<H2>x</H2>"), caller));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.last().text, QStringLiteral("Errore in cambio nome pagina C:\\HOME-PAG\\INIZIO.HT~ in "
                                             "C:\\HOME-PAG\\INIZIO.HTM"));
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(readFile(page), before);
    EXPECT_EQ(readFile(backup), before);
    EXPECT_EQ(forms::loaded<Caller>(), caller);
    EXPECT_EQ(refreshes(), 0);
    forms::unload<Caller>();
}

TEST_F(PageRewriteEngine, HighBytesLfOnlyAndUtf8PagesSurviveOnDisk)
{
    QByteArray high;
    for (int b = 0x80; b <= 0xFF; ++b)
        high += char(b);
    showPage("<body>\n" + high + "\n</body>\n</html>");
    EXPECT_TRUE(InsertBlock(QStringLiteral("<p>Perch\u00E9 \u20AC</p>"), forms::touch<Caller>()));
    EXPECT_EQ(readFile(page), "<body>\r\n" + high + "\r\n</body>\r\n<p>Perch\xE9 \x80</p>\r\n</html>\r\n");

    showPage("<head><meta charset=\"UTF-8\"></head>\n<body>\xC3\xA8\n</body>\n");
    EXPECT_TRUE(InsertBlock(QStringLiteral("<p>Perch\u00E9 \u20AC</p>"), forms::touch<Caller>()));
    EXPECT_EQ(readFile(page), "<head><meta charset=\"UTF-8\"></head>\r\n<body>\xC3\xA8\r\n</body>\r\n"
                              "<p>Perch\xC3\xA9 \xE2\x82\xAC</p>\r\n");
    EXPECT_TRUE(ui.messages.empty());
}
