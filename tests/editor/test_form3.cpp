#include "TestEnv.h"
#include "base/Module1.h"
#include "base/forms.h"
#include "browser/frmBrowser.h"
#include "editor/Colore.h"
#include "editor/Form3.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

QStringList items(const QComboBox *c)
{
    QStringList out;
    for (int i = 0; i < c->count(); ++i)
        out << c->itemText(i);
    return out;
}

} // namespace

class CaptionWindow : public LanternaTest {};

TEST_F(CaptionWindow, ControlsStartWithTheirCaptionsAndValues)
{
    ::Form3 *f = forms::Form3();
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Creazione di una nuova scritta"));
    EXPECT_EQ(f->Label1->text(), QStringLiteral("Testo scritta :"));
    EXPECT_EQ(f->Text1->text(), QString());
    EXPECT_EQ(f->Label2->text(), QStringLiteral("Grandezza testo :"));
    EXPECT_TRUE(f->Combo1->isEditable());
    EXPECT_EQ(items(f->Combo1),
              QStringList({"H0 - Titoli", "H1 - Scrittura 1", "H2 - Scrittura 2", "H3 - Scrittura 3",
                           "H4 - Scrittura 4", "H5 - Scrittura 5", "H6 - Scrittura 6"}));
    EXPECT_EQ(f->Combo1->currentText(), QStringLiteral("H2 - Scrittura 2"));
    EXPECT_EQ(f->Frame1->title(), QStringLiteral("Tipo scritta"));
    EXPECT_EQ(f->Option1[0]->text(), QStringLiteral("Normale"));
    EXPECT_EQ(f->Option1[1]->text(), QStringLiteral("Scorrevole"));
    EXPECT_TRUE(f->Option1[0]->isChecked());
    EXPECT_EQ(f->Frame2->title(), QStringLiteral("Allineamento"));
    EXPECT_EQ(f->Option2[0]->text(), QStringLiteral("Allinea a sinistra   I.....        I"));
    EXPECT_EQ(f->Option2[1]->text(), QStringLiteral("Allinea in centro   I    .....    I"));
    EXPECT_EQ(f->Option2[2]->text(), QStringLiteral("Allinea a destra    I        .....I"));
    EXPECT_TRUE(f->Option2[0]->isChecked());
    EXPECT_TRUE(f->Frame2->isEnabled());
    EXPECT_EQ(f->Frame3->title(), QStringLiteral("Tipo scrittura"));
    EXPECT_EQ(f->Check1->text(), QStringLiteral("Grassetto"));
    EXPECT_EQ(f->Check2->text(), QStringLiteral("Corsivo"));
    EXPECT_FALSE(f->Check1->isChecked());
    EXPECT_FALSE(f->Check2->isChecked());
    EXPECT_EQ(f->Label3[0]->text(), QStringLiteral("Colore testo :"));
    EXPECT_EQ(f->Label3[1]->text(), QStringLiteral("Colore sfondo:"));
    EXPECT_EQ(f->Text2[0]->text(), QStringLiteral("#FFFF80"));
    EXPECT_EQ(f->Text2[1]->text(), QStringLiteral("#000080"));
    EXPECT_EQ(f->Command3[0]->text(), QStringLiteral("..."));
    EXPECT_EQ(f->Command3[1]->text(), QStringLiteral("..."));
    EXPECT_EQ(f->Command1->text(), QStringLiteral("Conferma"));
    EXPECT_EQ(f->Command2->text(), QStringLiteral("Annulla"));

    // The start settings give the worked example's block.
    f->Text1->setText(QStringLiteral("Benvenuti"));
    EXPECT_EQ(CaptionBlock(f->fields()),
              QStringLiteral(R"(<H2><p align="left"><font color="#FFFF80">Benvenuti</font></p></H2>)"));
}

TEST_F(CaptionWindow, ScrollingDisablesTheAlignmentAndKeepsItsChoice)
{
    ::Form3 *f = forms::Form3();
    f->show();
    f->Option2[2]->click();
    f->Option1[1]->click();
    EXPECT_FALSE(f->Frame2->isEnabled());
    for (QRadioButton *o : f->Option2)
        EXPECT_FALSE(o->isEnabled());
    EXPECT_TRUE(f->Option2[2]->isChecked());
    EXPECT_TRUE(f->fields().scrolling);

    f->Option1[0]->click();
    EXPECT_TRUE(f->Frame2->isEnabled());
    for (QRadioButton *o : f->Option2)
        EXPECT_TRUE(o->isEnabled());
    EXPECT_TRUE(f->Option2[2]->isChecked());
    EXPECT_EQ(f->fields().alignment, Alignment::Right);

    // The size box takes any typed text; Enter does not add it to the list.
    f->Combo1->setFocus();
    f->Combo1->lineEdit()->selectAll();
    QTest::keyClicks(f->Combo1->lineEdit(), QStringLiteral(" H3"));
    QTest::keyClick(f->Combo1->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(f->fields().size, QStringLiteral(" H3"));
    EXPECT_EQ(f->Combo1->count(), 7);
}

TEST_F(CaptionWindow, BlankTextIsRefusedAndNothingIsWritten)
{
    const QByteArray page = "<html><body>\r\n</body></html>\r\n";
    writeFile(QStringLiteral("C:\\HOME-PAG\\INIZIO.HTM"), page);
    forms::frmBrowser()->Tag = QStringLiteral("C:\\HOME-PAG\\INIZIO.HTM");

    ::Form3 *f = forms::Form3();
    f->Text1->setText(QStringLiteral("    "));
    f->Command1->click();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.last().text, QStringLiteral("Indicare un testo per la scritta da creare !!!"));
    EXPECT_EQ(ui.last().flags, platform::vbOKOnly);
    EXPECT_EQ(ui.last().title, QStringLiteral("Lanterna"));
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(forms::loaded<::Form3>(), f);
    EXPECT_EQ(readFile(QStringLiteral("C:\\HOME-PAG\\INIZIO.HTM")), page);
    EXPECT_FALSE(exists(QStringLiteral("C:\\HOME-PAG\\INIZIO.HT_")));
    EXPECT_FALSE(exists(QStringLiteral("C:\\HOME-PAG\\INIZIO.HT~")));
    EXPECT_EQ(f->Text1->text(), QStringLiteral("    "));
}

TEST_F(CaptionWindow, CancelClosesAndTheNextOpeningStartsAfresh)
{
    ::Form3 *f = forms::Form3();
    f->Text1->setText(QStringLiteral("Ciao"));
    f->Option1[1]->click();
    f->Check1->click();
    f->Text2[0]->setText(QStringLiteral("red"));
    f->Command2->click();
    EXPECT_EQ(forms::loaded<::Form3>(), nullptr);
    EXPECT_TRUE(ui.messages.empty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    f = forms::Form3();
    EXPECT_EQ(f->Text1->text(), QString());
    EXPECT_TRUE(f->Option1[0]->isChecked());
    EXPECT_TRUE(f->Frame2->isEnabled());
    EXPECT_FALSE(f->Check1->isChecked());
    EXPECT_EQ(f->Text2[0]->text(), QStringLiteral("#FFFF80"));
    EXPECT_EQ(f->Combo1->currentText(), QStringLiteral("H2 - Scrittura 2"));
}
