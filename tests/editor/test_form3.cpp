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

class CaptionWindow : public LanternaTest {};

TEST_F(CaptionWindow, ControlsStartWithTheirCaptionsAndValues)
{
    ::Form3 *f = forms::Form3();
    EXPECT_EQ(f->Text1->text(), QString());
    EXPECT_TRUE(f->Combo1->isEditable());
    EXPECT_TRUE(f->Option1[0]->isChecked());
    EXPECT_TRUE(f->Frame2->isEnabled());
    // The rest of the start values: the design sheet test.

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
    EXPECT_EQ(ui.last(), FakeUi::box(QStringLiteral("Indicare un testo per la scritta da creare !!!")));
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
