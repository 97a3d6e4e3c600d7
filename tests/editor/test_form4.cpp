#include "TestEnv.h"
#include "base/Module1.h"
#include "base/forms.h"
#include "browser/frmBrowser.h"
#include "editor/Colore.h"
#include "editor/Form4.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

class LinkWindow : public LanternaTest {};

TEST_F(LinkWindow, ControlsStartWithTheirCaptionsAndValues)
{
    ::Form4 *f = forms::Form4();
    EXPECT_EQ(f->txtPAG_COLLEGATA->text(), QString());
    // The rest of the start values: the design sheet test.

    // The background colour box does not reach the link.
    f->Text1->setText(QStringLiteral("Avanti"));
    f->txtPAG_COLLEGATA->setText(QStringLiteral("C:\\HOME-PAG\\ALTRA.HTM"));
    f->Text2[1]->setText(QStringLiteral("#ABCDEF"));
    EXPECT_EQ(LinkBlock(f->fields()), QStringLiteral(R"(<H2><a href="file://C:\HOME-PAG\ALTRA.HTM"><p align="left">)"
                                                     R"(<font color="#FFFF80">Avanti</font></p></a></H2>)"));
}

TEST_F(LinkWindow, FileDialogStartsFromTheHomeFolderPattern)
{
    Module1::HomePageDir = QStringLiteral("D:\\HOME-PAG\\");
    ::Form4 *f = forms::Form4();
    f->txtPAG_COLLEGATA->setText(QStringLiteral("old.htm"));

    // Cancelled: the box receives the start name itself.
    f->Command4->click();
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(ui.fileDialogs[0].start, QStringLiteral("D:\\HOME-PAG\\*.HTM"));
    EXPECT_EQ(f->txtPAG_COLLEGATA->text(), QStringLiteral("D:\\HOME-PAG\\*.HTM"));

    ui.fileChoices.push_back(QStringLiteral("D:\\HOME-PAG\\Nuova cartella\\SECONDA.HTM"));
    f->Command4->click();
    ASSERT_EQ(ui.fileDialogs.size(), 2u);
    EXPECT_EQ(ui.fileDialogs[1].start, QStringLiteral("D:\\HOME-PAG\\*.HTM"));
    EXPECT_EQ(f->txtPAG_COLLEGATA->text(), QStringLiteral("D:\\HOME-PAG\\Nuova cartella\\SECONDA.HTM"));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(LinkWindow, ValidationMessagesInOrderNothingWritten)
{
    const QString pagePath = QStringLiteral("C:\\HOME-PAG\\INIZIO.HTM");
    const QByteArray page = "<body>\r\n</body>\r\n";
    writeFile(pagePath, page);
    forms::frmBrowser()->Tag = pagePath;

    ::Form4 *f = forms::Form4();
    f->Text1->setText(QStringLiteral("  "));
    f->txtPAG_COLLEGATA->setText(QStringLiteral("  "));
    f->Command1->click();
    EXPECT_EQ(ui.beeps, 1);
    f->Text1->setText(QStringLiteral("Avanti"));
    f->Command1->click();
    EXPECT_EQ(ui.beeps, 2);
    const QString title = QStringLiteral("Lanterna");
    EXPECT_EQ(ui.messages,
              (std::vector<FakeUi::Message>{
                  {QStringLiteral("Indicare un testo per la scritta da creare !!!"), title, platform::vbOKOnly},
                  {QStringLiteral("Indicare il nome della pagina da collegare !!!"), title, platform::vbOKOnly}}));

    EXPECT_EQ(forms::loaded<::Form4>(), f);
    EXPECT_EQ(readFile(pagePath), page);
    EXPECT_FALSE(exists(QStringLiteral("C:\\HOME-PAG\\INIZIO.HT_")));
}
