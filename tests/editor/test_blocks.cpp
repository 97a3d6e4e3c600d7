#include "editor/Blocks.h"

#include <gtest/gtest.h>

namespace {

// The caption window's start settings with the given text.
CaptionFields startCaption(const QString &text)
{
    CaptionFields f;
    f.text = text;
    f.size = QStringLiteral("H2 - Scrittura 2");
    f.alignment = Alignment::Left;
    f.textColour = QStringLiteral("#FFFF80");
    f.backColour = QStringLiteral("#000080");
    return f;
}

LinkFields startLink(const QString &text, const QString &page)
{
    LinkFields f;
    f.text = text;
    f.page = page;
    f.size = QStringLiteral("H2 - Scrittura 2");
    f.alignment = Alignment::Left;
    f.textColour = QStringLiteral("#FFFF80");
    return f;
}

} // namespace

TEST(CaptionBlock, WorkedExamplesByteForByte)
{
    EXPECT_EQ(CaptionBlock(startCaption(QStringLiteral("Benvenuti"))),
              QStringLiteral(R"(<H2><p align="left"><font color="#FFFF80">Benvenuti</font></p></H2>)"));

    CaptionFields f = startCaption(QStringLiteral("Benvenuti"));
    f.scrolling = true;
    f.bold = true;
    f.italic = true;
    EXPECT_EQ(CaptionBlock(f), QStringLiteral(R"(<H2><p><font color="#FFFF80"><marquee bgcolor="#000080">)"
                                              R"(<strong><em>Benvenuti</em></strong></marquee></font></p></H2>)"));

    // Bold alone and italic alone each wrap the text on their own.
    f = startCaption(QStringLiteral("x"));
    f.bold = true;
    EXPECT_EQ(CaptionBlock(f), QStringLiteral(R"(<H2><p align="left"><font color="#FFFF80"><strong>x</strong></font></p></H2>)"));
    f.bold = false;
    f.italic = true;
    EXPECT_EQ(CaptionBlock(f), QStringLiteral(R"(<H2><p align="left"><font color="#FFFF80"><em>x</em></font></p></H2>)"));
}

TEST(CaptionBlock, HeadingTagFromTheFirstTwoCharactersAsTyped)
{
    CaptionFields f = startCaption(QStringLiteral("T"));
    f.size = QStringLiteral("H0 - Titoli");
    EXPECT_EQ(CaptionBlock(f), QStringLiteral(R"(<H0><p align="left"><font color="#FFFF80">T</font></p></H0>)"));

    f.size = QStringLiteral("   ");
    EXPECT_EQ(CaptionBlock(f), QStringLiteral(R"(<H2><p align="left"><font color="#FFFF80">T</font></p></H2>)"));
    f.size.clear();
    EXPECT_EQ(CaptionBlock(f), QStringLiteral(R"(<H2><p align="left"><font color="#FFFF80">T</font></p></H2>)"));

    // The leading blank is part of the tag name.
    f.size = QStringLiteral(" H3 - Scrittura 3");
    EXPECT_EQ(CaptionBlock(f), QStringLiteral(R"(< H><p align="left"><font color="#FFFF80">T</font></p></ H>)"));

    f.size = QStringLiteral("H5");
    EXPECT_TRUE(CaptionBlock(f).startsWith(QStringLiteral("<H5>")));
    EXPECT_TRUE(CaptionBlock(f).endsWith(QStringLiteral("</H5>")));
}

TEST(CaptionBlock, AlignmentAndScrollingStrip)
{
    CaptionFields f = startCaption(QStringLiteral("T"));
    f.alignment = Alignment::Center;
    EXPECT_EQ(CaptionBlock(f), QStringLiteral(R"(<H2><p align="center"><font color="#FFFF80">T</font></p></H2>)"));
    f.alignment = Alignment::Right;
    EXPECT_EQ(CaptionBlock(f), QStringLiteral(R"(<H2><p align="right"><font color="#FFFF80">T</font></p></H2>)"));
    // No alignment chosen: no opening paragraph tag, the closing one stays.
    f.alignment = Alignment::None;
    EXPECT_EQ(CaptionBlock(f), QStringLiteral(R"(<H2><font color="#FFFF80">T</font></p></H2>)"));

    // The scrolling strip ignores the alignment choice.
    for (Alignment a : {Alignment::Left, Alignment::Center, Alignment::Right, Alignment::None}) {
        f.alignment = a;
        f.scrolling = true;
        EXPECT_EQ(CaptionBlock(f),
                  QStringLiteral(R"(<H2><p><font color="#FFFF80"><marquee bgcolor="#000080">T</marquee></font></p></H2>)"));
    }
}

TEST(CaptionBlock, ColourBoxes)
{
    CaptionFields f = startCaption(QStringLiteral("T"));
    f.textColour = QStringLiteral("   ");
    f.backColour.clear();
    EXPECT_EQ(CaptionBlock(f), QStringLiteral(R"(<H2><p align="left"><font color="#FFFF80">T</font></p></H2>)"));
    f.scrolling = true;
    EXPECT_EQ(CaptionBlock(f),
              QStringLiteral(R"(<H2><p><font color="#FFFF80"><marquee bgcolor="#000080">T</marquee></font></p></H2>)"));

    // Colours are taken trimmed and unchecked: a colour name works too.
    f.textColour = QStringLiteral("  red ");
    f.backColour = QStringLiteral(" #C856F2  ");
    EXPECT_EQ(CaptionBlock(f),
              QStringLiteral(R"(<H2><p><font color="red"><marquee bgcolor="#C856F2">T</marquee></font></p></H2>)"));

    // With "Normale" the background colour has no effect.
    f.scrolling = false;
    EXPECT_EQ(CaptionBlock(f), QStringLiteral(R"(<H2><p align="left"><font color="red">T</font></p></H2>)"));
}

TEST(CaptionBlock, TextKeptExactlyAsTyped)
{
    CaptionFields f = startCaption(QStringLiteral("  a < b & c  "));
    EXPECT_EQ(CaptionBlock(f),
              QStringLiteral(R"(<H2><p align="left"><font color="#FFFF80">  a < b & c  </font></p></H2>)"));
    f.text = QStringLiteral("Caffè \"forte\"");
    EXPECT_TRUE(CaptionBlock(f).contains(QStringLiteral("Caffè \"forte\"</font>")));
}

TEST(LinkBlock, WorkedExampleAndPieces)
{
    EXPECT_EQ(LinkBlock(startLink(QStringLiteral("Avanti"), QStringLiteral("C:\\HOME-PAG\\ALTRA.HTM"))),
              QStringLiteral(R"(<H2><a href="file://C:\HOME-PAG\ALTRA.HTM"><p align="left">)"
                             R"(<font color="#FFFF80">Avanti</font></p></a></H2>)"));

    // Page trimmed, backslashes and all kept as they are; text unescaped.
    LinkFields f = startLink(QStringLiteral(" 1 < 2 & 3 "), QStringLiteral("   D:\\Nuova cartella\\p.htm  "));
    f.size = QStringLiteral("H0 - Titoli");
    f.alignment = Alignment::Right;
    f.textColour = QStringLiteral("  ");
    f.bold = true;
    f.italic = true;
    EXPECT_EQ(LinkBlock(f), QStringLiteral(R"(<H0><a href="file://D:\Nuova cartella\p.htm"><p align="right">)"
                                           R"(<font color="#FFFF80"><strong><em> 1 < 2 & 3 </em></strong>)"
                                           R"(</font></p></a></H0>)"));

    f = startLink(QStringLiteral("T"), QStringLiteral("p.htm"));
    f.alignment = Alignment::Center;
    f.size = QStringLiteral(" ");
    EXPECT_EQ(LinkBlock(f),
              QStringLiteral(R"(<H2><a href="file://p.htm"><p align="center"><font color="#FFFF80">T</font></p></a></H2>)"));
    f.alignment = Alignment::None;
    f.size = QStringLiteral(" H3");
    EXPECT_EQ(LinkBlock(f), QStringLiteral(R"(< H><a href="file://p.htm"><font color="#FFFF80">T</font></p></a></ H>)"));
}

TEST(Validation, MessagesAndTheirOrder)
{
    const QString noText = QStringLiteral("Indicare un testo per la scritta da creare !!!");
    const QString noPage = QStringLiteral("Indicare il nome della pagina da collegare !!!");

    CaptionFields c;
    EXPECT_EQ(CheckCaption(c), noText);
    c.text = QStringLiteral("    ");
    EXPECT_EQ(CheckCaption(c), noText);
    c.text = QStringLiteral("  a  ");
    EXPECT_EQ(CheckCaption(c), QString());

    LinkFields l;
    l.page = QStringLiteral("   ");
    EXPECT_EQ(CheckLink(l), noText); // the text is tested first
    l.page = QStringLiteral("C:\\a.htm");
    EXPECT_EQ(CheckLink(l), noText);
    l.text = QStringLiteral("a");
    EXPECT_EQ(CheckLink(l), QString());
    l.page = QStringLiteral("  ");
    EXPECT_EQ(CheckLink(l), noPage);

    EXPECT_EQ(TrimBlanks(QStringLiteral("  a b  ")), QStringLiteral("a b"));
    EXPECT_EQ(TrimBlanks(QStringLiteral("    ")), QString());
}
