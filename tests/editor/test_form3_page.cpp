#include "TestEnv.h"
#include "base/forms.h"
#include "browser/frmBrowser.h"
#include "editor/Colore.h"
#include "editor/Form3.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

class CaptionOnPage : public LanternaTest {};

TEST_F(CaptionOnPage, ConfirmInsertsTheBlockAfterTheBodyLineAndCloses)
{
    const QString pagePath = QStringLiteral("C:\\HOME-PAG\\INIZIO.HTM");
    writeFile(pagePath, "<html>\n<body background=\"SF01.JPG\">\n<p>ciao</p>\n</body>\n</html>\n");
    forms::frmBrowser()->Tag = pagePath;

    ::Form3 *f = forms::Form3();
    f->show();
    f->Text1->setText(QStringLiteral("Benvenuti & <b>amici</b>"));
    f->Option1[1]->click();
    f->Check2->click();
    f->Command3[1]->click();
    forms::loaded<::Colore>()->Command1->click();
    EXPECT_EQ(f->Text2[1]->text(), QStringLiteral("#C856F2"));

    // Not a local page: the engine's message, and the window stays as the user left it.
    forms::frmBrowser()->Tag = QStringLiteral("about:blank");
    f->Command1->click();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.last().text, QStringLiteral("Errore in lettura pagina about:blank"));
    ASSERT_EQ(forms::loaded<::Form3>(), f);
    EXPECT_TRUE(f->Option1[1]->isChecked());
    ui.messages.clear();

    forms::frmBrowser()->Tag = pagePath;
    f->Command1->click();

    EXPECT_TRUE(ui.messages.empty()) << ui.last().text.toStdString();
    EXPECT_EQ(forms::loaded<::Form3>(), nullptr);
    EXPECT_EQ(readFile(pagePath),
              QByteArray("<html>\r\n<body background=\"SF01.JPG\">\r\n<p>ciao</p>\r\n</body>\r\n"
                         "<H2><p><font color=\"#FFFF80\"><marquee bgcolor=\"#C856F2\"><em>Benvenuti & <b>amici</b></em>"
                         "</marquee></font></p></H2>\r\n</html>\r\n"));
    EXPECT_EQ(readFile(QStringLiteral("C:\\HOME-PAG\\INIZIO.HT_")),
              QByteArray("<html>\n<body background=\"SF01.JPG\">\n<p>ciao</p>\n</body>\n</html>\n"));
    EXPECT_EQ(readFile(QStringLiteral("C:\\HOME-PAG\\INIZIO.HT~")), readFile(pagePath));
}
