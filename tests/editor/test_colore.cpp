#include "TestEnv.h"
#include "base/Module1.h"
#include "base/forms.h"
#include "editor/Colore.h"
#include "editor/Form3.h"
#include "editor/Form4.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>

namespace {

QStringList texts(const QSignalSpy &spy)
{
    QStringList out;
    for (const auto &args : spy)
        out << args.at(0).toString();
    return out;
}

} // namespace

class ColorePicker : public LanternaTest {};

TEST_F(ColorePicker, OpeningWritesEachStartColourInTurnAndCancelKeepsTheLast)
{
    ::Form3 *f3 = forms::Form3();
    QSignalSpy spy(f3->Text2[0], &QLineEdit::textChanged);
    f3->Command3[0]->click();

    EXPECT_EQ(Module1::PickerCaller, 3);
    EXPECT_EQ(Module1::PickerField, 0);
    ::Colore *c = forms::loaded<::Colore>();
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->isVisible());
    EXPECT_EQ(texts(spy), QStringList({"#C80000", "#C85600", "#C856F2"}));
    EXPECT_EQ(c->txtROSSO->text(), QStringLiteral(" 200"));
    EXPECT_EQ(c->txtVERDE->text(), QStringLiteral(" 86"));
    EXPECT_EQ(c->txtBLU->text(), QStringLiteral(" 242"));
    EXPECT_EQ(c->txtLUCE->text(), QStringLiteral(" 0"));
    EXPECT_EQ(c->previewColour(), QColor(200, 86, 242));
    EXPECT_EQ(c->HScroll1->minimum(), -255);
    EXPECT_EQ(c->HScroll1->maximum(), 255);
    EXPECT_EQ(c->VScroll2->maximum(), 255);
    EXPECT_EQ(c->VScroll2->singleStep(), 10);
    EXPECT_EQ(f3->Text2[1]->text(), QStringLiteral("#000080"));

    c->Command2->click();
    EXPECT_EQ(forms::loaded<::Colore>(), nullptr);
    EXPECT_EQ(f3->Text2[0]->text(), QStringLiteral("#C856F2"));
    EXPECT_EQ(spy.count(), 3);

    // The next opening starts again from the start colour.
    f3->Text2[0]->setText(QStringLiteral("#123456"));
    f3->Command3[0]->click();
    EXPECT_EQ(f3->Text2[0]->text(), QStringLiteral("#C856F2"));
    EXPECT_EQ(forms::loaded<::Colore>()->txtLUCE->text(), QStringLiteral(" 0"));
}

TEST_F(ColorePicker, BrightnessShiftsAndClampsWhileComponentBoxesKeepTheirOwnValues)
{
    ::Form3 *f3 = forms::Form3();
    f3->Command3[1]->click();
    ::Colore *c = forms::loaded<::Colore>();
    ASSERT_NE(c, nullptr);
    QLineEdit *target = f3->Text2[1];

    c->HScroll1->setValue(255);
    EXPECT_EQ(target->text(), QStringLiteral("#FFFFFF"));
    EXPECT_EQ(c->txtLUCE->text(), QStringLiteral(" 255"));
    EXPECT_EQ(c->previewColour(), QColor(255, 255, 255));
    c->HScroll1->setValue(-255);
    EXPECT_EQ(target->text(), QStringLiteral("#000000"));
    EXPECT_EQ(c->txtLUCE->text(), QStringLiteral("-255"));
    c->HScroll1->setValue(-40);
    EXPECT_EQ(target->text(), QStringLiteral("#A02ECA"));
    EXPECT_EQ(c->txtLUCE->text(), QStringLiteral("-40"));
    // The component boxes still show their last own change.
    EXPECT_EQ(c->txtROSSO->text(), QStringLiteral(" 200"));
    EXPECT_EQ(c->txtVERDE->text(), QStringLiteral(" 86"));
    EXPECT_EQ(c->txtBLU->text(), QStringLiteral(" 242"));

    c->HScroll1->setValue(10);
    c->VScroll1->setValue(255);
    EXPECT_EQ(target->text(), QStringLiteral("#FF60FC"));
    EXPECT_EQ(c->txtROSSO->text(), QStringLiteral(" 255"));

    // Small components keep two digits; the component box shows the shifted value.
    c->HScroll1->setValue(0);
    c->VScroll2->setValue(5);
    EXPECT_EQ(target->text(), QStringLiteral("#FF05F2"));
    EXPECT_EQ(c->txtVERDE->text(), QStringLiteral(" 5"));
    c->HScroll1->setValue(-10);
    c->VScroll3->setValue(0);
    EXPECT_EQ(target->text(), QStringLiteral("#F50000"));
    EXPECT_EQ(c->txtBLU->text(), QStringLiteral(" 0"));
    c->VScroll1->setValue(0);
    c->VScroll2->setValue(0);
    c->HScroll1->setValue(-255);
    EXPECT_EQ(target->text(), QStringLiteral("#000000"));
    c->HScroll1->setValue(255);
    EXPECT_EQ(target->text(), QStringLiteral("#FFFFFF"));

    // The text colour box was never the target.
    EXPECT_EQ(f3->Text2[0]->text(), QStringLiteral("#FFFF80"));

    // Conferma writes the colour once more, then closes.
    target->setText(QStringLiteral("typed"));
    c->Command1->click();
    EXPECT_EQ(target->text(), QStringLiteral("#FFFFFF"));
    EXPECT_EQ(forms::loaded<::Colore>(), nullptr);
}

TEST_F(ColorePicker, OnlyTheCallersNamedBoxChanges)
{
    ::Form3 *f3 = forms::Form3();
    ::Form4 *f4 = forms::Form4();
    f4->Command3[1]->click();
    EXPECT_EQ(Module1::PickerCaller, 4);
    EXPECT_EQ(Module1::PickerField, 1);
    ::Colore *c = forms::loaded<::Colore>();
    ASSERT_NE(c, nullptr);
    c->VScroll1->setValue(0);
    EXPECT_EQ(f4->Text2[1]->text(), QStringLiteral("#0056F2"));
    EXPECT_EQ(f4->Text2[0]->text(), QStringLiteral("#FFFF80"));
    EXPECT_EQ(f3->Text2[0]->text(), QStringLiteral("#FFFF80"));
    EXPECT_EQ(f3->Text2[1]->text(), QStringLiteral("#000080"));

    // Asking again while open brings the same picker forward, minimized or not; the next
    // change goes to the new box.
    c->VScroll1->setValue(16);
    c->showMinimized();
    f3->Command3[0]->click();
    EXPECT_EQ(forms::loaded<::Colore>(), c);
    EXPECT_FALSE(c->isMinimized());
    EXPECT_TRUE(c->isVisible());
    EXPECT_EQ(c->txtROSSO->text(), QStringLiteral(" 16")); // not restarted
    EXPECT_EQ(f3->Text2[0]->text(), QStringLiteral("#FFFF80"));
    c->VScroll2->setValue(0);
    EXPECT_EQ(f3->Text2[0]->text(), QStringLiteral("#1000F2"));
    EXPECT_EQ(f4->Text2[1]->text(), QStringLiteral("#1056F2"));
    EXPECT_EQ(f4->Text2[0]->text(), QStringLiteral("#FFFF80"));

    // Any field number other than 0 means the background box.
    Module1::PickerField = 7;
    c->VScroll3->setValue(1);
    EXPECT_EQ(f3->Text2[1]->text(), QStringLiteral("#100001"));
    EXPECT_EQ(f3->Text2[0]->text(), QStringLiteral("#1000F2"));

    // A caller number other than 3 or 4 writes nowhere.
    Module1::PickerCaller = 2;
    c->VScroll3->setValue(2);
    EXPECT_EQ(f3->Text2[1]->text(), QStringLiteral("#100001"));
    EXPECT_EQ(f4->Text2[1]->text(), QStringLiteral("#1056F2"));
}

TEST_F(ColorePicker, CallerClosedMeanwhileIsNeitherWrittenNorCreated)
{
    ::Form4 *f4 = forms::Form4();
    f4->Command3[0]->click();
    ::Colore *c = forms::loaded<::Colore>();
    ASSERT_NE(c, nullptr);
    f4->Command2->click();
    EXPECT_EQ(forms::loaded<::Form4>(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    c->VScroll1->setValue(100);
    c->HScroll1->setValue(-20);
    EXPECT_EQ(c->txtROSSO->text(), QStringLiteral(" 100"));
    c->Command1->click();
    EXPECT_EQ(forms::loaded<::Form4>(), nullptr);
    EXPECT_EQ(forms::loaded<::Colore>(), nullptr);

    // Opening the picker with no caller loaded at all creates none.
    Module1::PickerCaller = 3;
    ::Colore *again = forms::Colore();
    again->VScroll2->setValue(1);
    EXPECT_EQ(forms::loaded<::Form3>(), nullptr);
}
