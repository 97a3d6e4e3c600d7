#include "editor/Form4.h"

#include "base/Module1.h"
#include "base/forms.h"
#include "editor/BringForward.h"
#include "editor/Colore.h"
#include "editor/EditorWindows.h"
#include "editor/Form3.h"
#include "editor/PageRewrite.h"
#include "platform/Services.h"
#include "platform/SingleLine.h"
#include "platform/Twips.h"
#include "platform/Ui.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

Form4::Form4() : Form(editorwindows::owner())
{
    using namespace captionui;
    using platform::twipsRect;
    setWindowTitle(QStringLiteral("Creazione collegamento ad altra pagina .HTML "));
    resize(platform::px(7800), platform::px(4440));

    Label1 = label(this, QStringLiteral("Testo scritta :"), twipsRect(120, 150, 1620, 285));
    Text1 = textBox(this, twipsRect(1800, 120, 5820, 315));
    Label4 = label(this, QStringLiteral("Pagina collegata:"), twipsRect(120, 570, 1620, 285));
    txtPAG_COLLEGATA = textBox(this, twipsRect(1800, 540, 5280, 315));
    Command4 = button(this, QStringLiteral("..."), twipsRect(7170, 540, 450, 315));
    Label2 = label(this, QStringLiteral("Grandezza testo :"), twipsRect(120, 990, 1620, 285));
    Combo1 = sizeBox(this, twipsRect(1800, 960, 3000, 315));

    Frame2 = new QGroupBox(QStringLiteral("Allineamento"), this);
    Frame2->setGeometry(twipsRect(120, 1440, 5400, 1200));
    Option2 = alignmentButtons(Frame2);

    Frame3 = new QGroupBox(QStringLiteral("Tipo scrittura"), this);
    Frame3->setGeometry(twipsRect(5640, 1440, 1980, 1200));
    styleBoxes(Frame3, Check1, Check2);

    for (int i = 0; i < 2; ++i) {
        const int top = 2850 + i * 480;
        Label3[i] = label(this, i == 0 ? QStringLiteral("Colore testo :") : QStringLiteral("Colore sfondo:"),
                          twipsRect(120, top + 30, 1620, 285));
        Text2[i] = textBox(this, twipsRect(1800, top, 1440, 315));
        Command3[i] = button(this, QStringLiteral("..."), twipsRect(3300, top, 450, 315));
        connect(Command3[i], &QPushButton::clicked, this, [this, i] { Command3_Click(i); });
    }

    Command1 = button(this, QStringLiteral("Conferma"), twipsRect(4440, 3840, 1500, 435));
    Command2 = button(this, QStringLiteral("Annulla"), twipsRect(6120, 3840, 1500, 435));

    connect(Command1, &QPushButton::clicked, this, &Form4::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form4::Command2_Click);

    for (QLineEdit *e : findChildren<QLineEdit *>())
        platform::keepSingleLine(e);
    editorwindows::dialogKeys(this, Command1, Command2);
    Text1->setFocus();
    connect(Command4, &QPushButton::clicked, this, &Form4::Command4_Click);
}

void Form4::Form_Load()
{
    captionui::fillSizes(Combo1);
    Text2[0]->setText(QStringLiteral("#FFFF80"));
    Text2[1]->setText(QStringLiteral("#000080"));
}

void Form4::Command3_Click(int Index)
{
    Module1::PickerCaller = 4;
    Module1::PickerField = static_cast<qint16>(Index);
    bringForward(editorwindows::openNear<::Colore>(Command3[Index]));
}

void Form4::Command4_Click()
{
    // The dialog starts from the home page folder; cancelling hands back the pattern itself.
    txtPAG_COLLEGATA->setText(platform::ui().openFileDialog(Module1::HomePageDir + QStringLiteral("*.HTM")));
}

LinkFields Form4::fields() const
{
    LinkFields f;
    f.text = Text1->text();
    f.page = txtPAG_COLLEGATA->text();
    f.size = Combo1->currentText();
    f.alignment = captionui::alignment(Option2);
    f.textColour = Text2[0]->text();
    f.bold = Check1->isChecked();
    f.italic = Check2->isChecked();
    return f;
}

void Form4::Command1_Click()
{
    const LinkFields f = fields();
    const QString refusal = CheckLink(f);
    if (!refusal.isEmpty()) {
        platform::ui().beep();
        platform::ui().MsgBox(refusal, platform::vbOKOnly);
        return;
    }
    // On success the engine closes this window; on failure it has shown its message.
    InsertBlock(LinkBlock(f), this);
}

void Form4::Command2_Click() { forms::unload<Form4>(); }
