#include "TestEnv.h"
#include "base/Module1.h"
#include "base/forms.h"
#include "browser/frmBrowser.h"
#include "editor/Colore.h"
#include "editor/Form4.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

class LinkOnPage : public LanternaTest {};

TEST_F(LinkOnPage, ConfirmInsertsTheTrimmedLinkAndCloses)
{
    Module1::HomePageDir = QStringLiteral("C:\\HOME-PAG\\");
    const QString pagePath = QStringLiteral("C:\\HOME-PAG\\INIZIO.HTM");
    writeFile(pagePath, "<HTML><BODY>\r\n<P>x</P>\r\n</BODY></HTML>\r\n");
    forms::frmBrowser()->Tag = pagePath;

    ::Form4 *f = forms::Form4();
    f->show();
    f->Text1->setText(QStringLiteral("Avanti"));
    f->txtPAG_COLLEGATA->setText(QStringLiteral("   C:\\HOME-PAG\\ALTRA PAGINA.HTM  "));
    f->Combo1->setCurrentIndex(0);
    f->Option2[1]->click();
    f->Check1->click();
    f->Command3[0]->click();
    forms::loaded<::Colore>()->Command2->click();
    f->Command1->click();

    EXPECT_TRUE(ui.messages.empty()) << ui.last().text.toStdString();
    EXPECT_EQ(forms::loaded<::Form4>(), nullptr);
    EXPECT_EQ(readFile(pagePath),
              QByteArray("<HTML><BODY>\r\n<P>x</P>\r\n</BODY></HTML>\r\n"
                         "<H0><a href=\"file://C:\\HOME-PAG\\ALTRA PAGINA.HTM\"><p align=\"center\">"
                         "<font color=\"#C856F2\"><strong>Avanti</strong></font></p></a></H0>\r\n"));
}
