#include "RewriteHelpers.h"
#include "WebEngineHelpers.h"
#include "editor/BackgroundRule.h"
#include "editor/Form1.h"
#include "editor/PageRewrite.h"

#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTest>

using rewrite::backgroundLine;

namespace {

const QByteArray kImg = "C:\\HOME-PAG\\SF01.JPG";

QByteArray rebuilt(const QByteArray &line) { return backgroundLine(line, kImg).value_or("<unchanged>"); }

QByteArray jpeg(const QColor &colour) { return pictureBytes(40, 60, colour, "JPG"); }

QColor centreColour(const QLabel *l)
{
    const QImage img = l->pixmap().toImage();
    return img.pixelColor(img.width() / 2, img.height() / 2);
}

bool near(const QColor &a, const QColor &b)
{
    return std::abs(a.red() - b.red()) < 20 && std::abs(a.green() - b.green()) < 20
        && std::abs(a.blue() - b.blue()) < 20;
}

bool showsResource(const QLabel *l, const char *resource)
{
    const QImage want = QImage(QString::fromLatin1(resource)).convertToFormat(QImage::Format_RGB32);
    return !want.isNull() && l->pixmap().toImage().convertToFormat(QImage::Format_RGB32) == want;
}

} // namespace

TEST(BackgroundRule, QuotedAttributeValueIsReplacedAndTheRestKept)
{
    EXPECT_EQ(rebuilt("<body background=\"SFONDO.JPG\" bgcolor=\"#FFFFFF\" text=\"#000000\">"),
              "<body background=\"file:///C:\\HOME-PAG\\SF01.JPG\" bgcolor=\"#FFFFFF\" text=\"#000000\">");
    EXPECT_EQ(rebuilt("  <BODY background=\"file:///D:\\x y\\old.gif\">Testo"),
              "  <BODY background=\"file:///C:\\HOME-PAG\\SF01.JPG\">Testo");
    // Upper case is not the attribute the rule looks for.
    EXPECT_EQ(rebuilt("<BODY BACKGROUND=\"SFONDO.JPG\">"), "<unchanged>");
    // Twice in one line: only the first.
    EXPECT_EQ(rebuilt("<body background=\"a.jpg\"><table background=\"b.jpg\">"),
              "<body background=\"file:///C:\\HOME-PAG\\SF01.JPG\"><table background=\"b.jpg\">");
    // A line continuing a tag opened on an earlier line.
    EXPECT_EQ(rebuilt("      background=\"a.jpg\">"), "      background=\"file:///C:\\HOME-PAG\\SF01.JPG\">");
    EXPECT_EQ(rebuilt("<p>niente</p>"), "<unchanged>");
}

TEST(BackgroundRule, OtherValueFormsGetAQuotedValueWithoutLosingTheLine)
{
    const QByteArray v = "\"file:///C:\\HOME-PAG\\SF01.JPG\"";
    // Unquoted: cut at the first blank or ">".
    EXPECT_EQ(rebuilt("<body background=old.jpg text=red>"), "<body background=" + v + " text=red>");
    EXPECT_EQ(rebuilt("<body background=old.jpg>x"), "<body background=" + v + ">x");
    EXPECT_EQ(rebuilt("<body background=old.jpg"), "<body background=" + v);
    // Single quotes give way to double quotes.
    EXPECT_EQ(rebuilt("<body background='old.jpg' text=red>"), "<body background=" + v + " text=red>");
    // Blanks around "=" are kept.
    EXPECT_EQ(rebuilt("<body background = \"old.jpg\">"), "<body background = " + v + ">");
    // A quote that does not close on the line: the old value ends at ">".
    EXPECT_EQ(rebuilt("<body background=\"old.jpg>ciao"), "<body background=" + v + ">ciao");
    EXPECT_EQ(rebuilt("<body background=\"old"), "<body background=" + v);
    // Nothing after "=" on the line: left alone.
    EXPECT_EQ(rebuilt("<body background="), "<unchanged>");
    EXPECT_EQ(rebuilt("<body background=   "), "<unchanged>");
    // Style properties, longer names and running text are not the attribute.
    EXPECT_EQ(rebuilt("<div style=\"background: url(x.jpg)\" class=\"a\">"), "<unchanged>");
    EXPECT_EQ(rebuilt("<td style=\"background-color:#fff\" width=\"3\">"), "<unchanged>");
    EXPECT_EQ(rebuilt("<td data-background=\"x\">"), "<unchanged>");
    EXPECT_EQ(rebuilt("<p>the background = blue</p>"), "<unchanged>");
    // ... but they do not hide a real attribute after them.
    EXPECT_EQ(rebuilt("<p>background</p><body background=\"a.jpg\">"),
              "<p>background</p><body background=" + v + ">");
}

TEST(BackgroundRule, ImagePathRuleAndWholePage)
{
    const QString home = QStringLiteral("C:\\HOME-PAG\\");
    EXPECT_EQ(rewrite::backgroundImagePath(QStringLiteral("SF01.JPG"), home), "C:\\HOME-PAG\\SF01.JPG");
    EXPECT_EQ(rewrite::backgroundImagePath(QString(), home), home);
    EXPECT_EQ(rewrite::backgroundImagePath(QStringLiteral("D:\\FOTO\\mare.jpg"), home), "D:\\FOTO\\mare.jpg");
    EXPECT_EQ(rewrite::backgroundImagePath(QStringLiteral("FOTO\\mare.jpg"), home), "FOTO\\mare.jpg");
    EXPECT_EQ(rewrite::backgroundImagePath(QStringLiteral("D:mare.jpg"), home), "D:mare.jpg");

    // Every line is rebuilt on its own; line ends become CR LF, other bytes stay.
    const QByteArray page = "<body background=\"a.jpg\">\n\xE8\n<table background=\"b.jpg\">\n";
    EXPECT_EQ(rewrite::replaceBackgroundPage(page, "X.JPG"),
              "<body background=\"file:///X.JPG\">\r\n\xE8\r\n<table background=\"file:///X.JPG\">\r\n");
    // The path is encoded as the page is, and a double quote cannot end the value.
    EXPECT_EQ(rewrite::replaceBackgroundTransform("<body background=\"a.jpg\">", QStringLiteral("C:\\\u00E8\"x.jpg")),
              "<body background=\"file:///C:\\\xE8%22x.jpg\">\r\n");
    EXPECT_EQ(rewrite::replaceBackgroundTransform("<meta charset=utf-8><body background=\"a.jpg\">",
                                                  QStringLiteral("C:\\\u00E8.jpg")),
              "<meta charset=utf-8><body background=\"file:///C:\\\xC3\xA8.jpg\">\r\n");
}

class BackgroundWindow : public RewriteTest {
protected:
    const QByteArray pageBytes = "<html>\n<body background=\"VECCHIO.JPG\" bgcolor=\"#FFFFFF\">\n</body>\n</html>\n";

    QByteArray pageWith(const QString &image) const
    {
        return "<html>\r\n<body background=\"file:///" + image.toLatin1()
            + "\" bgcolor=\"#FFFFFF\">\r\n</body>\r\n</html>\r\n";
    }
};

TEST_F(BackgroundWindow, LayoutCaptionsAndBuiltInPictures)
{
    Form1 *f = forms::Form1();
    EXPECT_TRUE(f->Text1->text().isEmpty());

    // Ten tall narrow strips side by side along the top.
    const QRect first = f->Image1[0]->geometry();
    EXPECT_GT(first.height(), 3 * first.width());
    for (int k = 1; k < 10; ++k) {
        const QRect r = f->Image1[k]->geometry();
        EXPECT_EQ(r.top(), first.top());
        EXPECT_EQ(r.size(), first.size());
        EXPECT_GT(r.left(), f->Image1[k - 1]->geometry().right());
    }
    const QRect lastStrip = f->Image1[9]->geometry();
    // One wide strip below them across the window.
    const QRect wide = f->Image1[10]->geometry();
    EXPECT_GT(wide.top(), first.bottom());
    EXPECT_LE(wide.left(), first.left());
    EXPECT_GT(wide.width(), wide.height() * 5);
    EXPECT_GT(wide.width(), f->width() * 9 / 10);
    // Two rectangles at the right, the last larger.
    const QRect r11 = f->Image1[11]->geometry(), r12 = f->Image1[12]->geometry();
    EXPECT_GT(r11.left(), lastStrip.right());
    EXPECT_GT(r12.left(), lastStrip.right());
    EXPECT_GT(r12.width() * r12.height(), r11.width() * r11.height());
    EXPECT_FALSE(r11.intersects(r12));

    const char *builtIn[] = {":/samples/terracotta.jpg", ":/samples/oliva.jpg", ":/samples/mare.jpg",
                             ":/samples/limone.jpg", ":/samples/lavanda.jpg"};
    for (int k = 0; k < 5; ++k) {
        EXPECT_TRUE(showsResource(f->Image1[k], builtIn[k])) << k;
        EXPECT_TRUE(f->Image1[k]->Tag.isEmpty());
    }
    for (int k = 5; k < 13; ++k) {
        EXPECT_TRUE(f->Image1[k]->pixmap().isNull()) << k;
        EXPECT_TRUE(f->Image1[k]->Tag.isEmpty());
    }
}

TEST_F(BackgroundWindow, TwoSampleFilesTakeTheFirstPlacesAndBuiltInsStay)
{
    writeFile(home + "SF01.JPG", jpeg(Qt::red));
    writeFile(home + "sf02.jpg", jpeg(Qt::blue));
    writeFile(home + "ALTRO.JPG", jpeg(Qt::green));
    writeFile(home + "SF03.GIF", jpeg(Qt::green));
    makeDir(home + "SFCARTELLA.JPG"); // a folder is not a sample
    Form1 *f = forms::Form1();

    const QSet<QString> tags{f->Image1[0]->Tag, f->Image1[1]->Tag};
    EXPECT_EQ(tags, (QSet<QString>{QStringLiteral("SF01.JPG"), QStringLiteral("sf02.jpg")}));
    for (int k = 0; k < 2; ++k)
        EXPECT_TRUE(near(centreColour(f->Image1[k]), f->Image1[k]->Tag == "SF01.JPG" ? Qt::red : Qt::blue))
            << "place " << k << " shows its own file";
    EXPECT_TRUE(showsResource(f->Image1[2], ":/samples/mare.jpg"));
    EXPECT_TRUE(showsResource(f->Image1[3], ":/samples/limone.jpg"));
    EXPECT_TRUE(showsResource(f->Image1[4], ":/samples/lavanda.jpg"));
    for (int k = 2; k < 13; ++k)
        EXPECT_TRUE(f->Image1[k]->Tag.isEmpty()) << k;
    for (int k = 5; k < 13; ++k)
        EXPECT_TRUE(f->Image1[k]->pixmap().isNull()) << k;
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(BackgroundWindow, FifteenSampleFilesFillThirteenPlaces)
{
    QSet<QString> names;
    for (int i = 1; i <= 15; ++i) {
        const QString name = QStringLiteral("SF%1.JPG").arg(i, 2, 10, QLatin1Char('0'));
        names << name;
        writeFile(home + name, jpeg(QColor(i * 15, 255 - i * 15, 128)));
    }
    Form1 *f = forms::Form1();
    QSet<QString> shown;
    for (int k = 0; k < 13; ++k) {
        ASSERT_FALSE(f->Image1[k]->Tag.isEmpty()) << k;
        shown << f->Image1[k]->Tag;
        const int i = f->Image1[k]->Tag.mid(2, 2).toInt();
        EXPECT_TRUE(near(centreColour(f->Image1[k]), QColor(i * 15, 255 - i * 15, 128))) << k;
    }
    EXPECT_EQ(shown.size(), 13);
    EXPECT_TRUE(names.contains(shown));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(BackgroundWindow, FileThatIsNoPictureKeepsThePlaceWithItsName)
{
    writeFile(home + "SFROTTO.JPG", "non sono un'immagine");
    Form1 *f = forms::Form1();
    EXPECT_EQ(f->Image1[0]->Tag, QStringLiteral("SFROTTO.JPG"));
    EXPECT_TRUE(showsResource(f->Image1[0], ":/samples/terracotta.jpg"));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(BackgroundWindow, SampleClickAppliesItsFileAndClosesTheWindow)
{
    writeFile(home + "SF01.JPG", jpeg(Qt::red));
    showPage(pageBytes);
    Form1 *f = forms::Form1();
    f->show();

    // A built-in picture without a file is ignored, as is an empty place.
    QTest::mouseClick(f->Image1[3], Qt::LeftButton);
    QTest::mouseClick(f->Image1[9], Qt::LeftButton);
    EXPECT_EQ(ui.beeps, 0);
    EXPECT_FALSE(exists(work));
    EXPECT_EQ(forms::loaded<Form1>(), f);

    QTest::mouseClick(f->Image1[0], Qt::LeftButton);
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(readFile(page), pageWith(QStringLiteral("C:\\HOME-PAG\\SF01.JPG")));
    EXPECT_EQ(readFile(backup), pageBytes);
    EXPECT_EQ(readFile(work), readFile(page));
    EXPECT_EQ(forms::loaded<Form1>(), nullptr);
    EXPECT_EQ(refreshes(), 1);
}

TEST_F(BackgroundWindow, SampleClickOnAFailingRewriteKeepsTheWindowOpen)
{
    writeFile(home + "SF01.JPG", jpeg(Qt::red));
    forms::frmBrowser()->Tag = QStringLiteral("about:blank");
    Form1 *f = forms::Form1();
    f->Image1_Click(0);
    EXPECT_EQ(ui.beeps, 2);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.last().text, QStringLiteral("Errore in lettura pagina about:blank"));
    EXPECT_EQ(forms::loaded<Form1>(), f);
}

TEST_F(BackgroundWindow, ConfirmResolvesBareNamesInTheHomeFolderAndPathsAsTyped)
{
    writeFile(home + "MARE.JPG", jpeg(Qt::blue));
    writeFile(QStringLiteral("D:\\FOTO\\CIELO.JPG"), jpeg(Qt::cyan));
    showPage(pageBytes);

    Form1 *f = forms::Form1();
    f->Text1->setText(QStringLiteral("  MARE.JPG "));
    f->cmdCONFERMA->click();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(readFile(page), pageWith(QStringLiteral("C:\\HOME-PAG\\MARE.JPG")));
    EXPECT_EQ(forms::loaded<Form1>(), nullptr);

    showPage(pageBytes);
    f = forms::Form1();
    f->Text1->setText(QStringLiteral("D:\\FOTO\\CIELO.JPG"));
    f->cmdCONFERMA->click();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(readFile(page), pageWith(QStringLiteral("D:\\FOTO\\CIELO.JPG")));
    EXPECT_EQ(forms::loaded<Form1>(), nullptr);
}

TEST_F(BackgroundWindow, ConfirmRefusesAnEmptyOrMissingImage)
{
    showPage(pageBytes);
    Form1 *f = forms::Form1();

    f->Text1->setText(QStringLiteral("   "));
    f->cmdCONFERMA->click();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.last(), FakeUi::box(QStringLiteral("Immagine C:\\HOME-PAG\\ non trovata !!!")));
    EXPECT_EQ(ui.beeps, 1);

    // A bare name that is only in another folder is looked for in the home folder.
    writeFile(QStringLiteral("D:\\NUVOLE.JPG"), jpeg(Qt::gray));
    f->Text1->setText(QStringLiteral("NUVOLE.JPG"));
    f->cmdCONFERMA->click();
    EXPECT_EQ(ui.last().text, QStringLiteral("Immagine C:\\HOME-PAG\\NUVOLE.JPG non trovata !!!"));
    f->Text1->setText(QStringLiteral("D:\\MANCA.JPG"));
    f->cmdCONFERMA->click();
    EXPECT_EQ(ui.last().text, QStringLiteral("Immagine D:\\MANCA.JPG non trovata !!!"));
    // A folder cannot be opened as an image either.
    f->Text1->setText(QStringLiteral("C:\\HOME-PAG"));
    f->cmdCONFERMA->click();
    EXPECT_EQ(ui.last().text, QStringLiteral("Immagine C:\\HOME-PAG non trovata !!!"));

    EXPECT_EQ(ui.messages.size(), 4u);
    EXPECT_EQ(ui.beeps, 4);
    EXPECT_EQ(readFile(page), pageBytes);
    EXPECT_FALSE(exists(work));
    EXPECT_EQ(forms::loaded<Form1>(), f) << "the window stays open";
}

TEST_F(BackgroundWindow, ConfirmClosesTheWindowEvenWhenTheRewriteFails)
{
    writeFile(home + "MARE.JPG", jpeg(Qt::blue));
    forms::frmBrowser()->Tag = QStringLiteral("C:\\HOME-PAG\\MANCA.HTM");
    Form1 *f = forms::Form1();
    f->Text1->setText(QStringLiteral("MARE.JPG"));
    f->cmdCONFERMA->click();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.last().text, QStringLiteral("Errore in lettura pagina C:\\HOME-PAG\\MANCA.HTM"));
    EXPECT_EQ(forms::loaded<Form1>(), nullptr);
}

TEST_F(BackgroundWindow, BrowsePutsTheDialogsFileNameIntoTheBox)
{
    showPage(pageBytes);
    Form1 *f = forms::Form1();
    f->Text1->setText(QStringLiteral("PRIMA.JPG"));

    // Cancelled: the dialog's file name is still the design's patterns, and the box gets them.
    f->cmdSFOGLIA->click();
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(ui.fileDialogs[0].start, QStringLiteral("C:\\HOME-PAG\\*.JPG;*.BMP;*.TIF;*.GIF;*.PCX"));
    EXPECT_EQ(ui.fileDialogs[0].title, QStringLiteral("Ricerca immagini"));
    EXPECT_EQ(ui.fileDialogs[0].filter, QStringLiteral("*.JPG;*.BMP;*.TIF;*.GIF;*.PCX"));
    EXPECT_EQ(f->Text1->text(), QStringLiteral("*.JPG;*.BMP;*.TIF;*.GIF;*.PCX"));
    // Confirming that finds no such image.
    f->cmdCONFERMA->click();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.last().text, QStringLiteral("Immagine C:\\HOME-PAG\\*.JPG;*.BMP;*.TIF;*.GIF;*.PCX non trovata !!!"));
    EXPECT_EQ(forms::loaded<Form1>(), f);

    ui.fileChoices.push_back(QStringLiteral("D:\\FOTO\\TRAMONTO.GIF"));
    f->cmdSFOGLIA->click();
    EXPECT_EQ(f->Text1->text(), QStringLiteral("D:\\FOTO\\TRAMONTO.GIF"));
    // The dialog keeps the chosen file: it opens beside it, and cancelling gives it again.
    f->Text1->setText(QStringLiteral("ALTRO.JPG"));
    f->cmdSFOGLIA->click();
    ASSERT_EQ(ui.fileDialogs.size(), 3u);
    EXPECT_EQ(ui.fileDialogs[2].start, QStringLiteral("D:\\FOTO\\TRAMONTO.GIF"));
    EXPECT_EQ(f->Text1->text(), QStringLiteral("D:\\FOTO\\TRAMONTO.GIF"));

    // Nothing is applied until confirmed; leaving changes nothing.
    EXPECT_FALSE(exists(work));
    f->cmdUSCITA->click();
    EXPECT_EQ(forms::loaded<Form1>(), nullptr);
    EXPECT_EQ(readFile(page), pageBytes);
    EXPECT_EQ(ui.messages.size(), 1u);
}
