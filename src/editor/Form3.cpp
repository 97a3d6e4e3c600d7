#include "editor/Form3.h"

#include "base/Module1.h"
#include "base/forms.h"
#include "editor/BringForward.h"
#include "editor/Colore.h"
#include "editor/EditorWindows.h"
#include "editor/PageRewrite.h"
#include "platform/Services.h"
#include "platform/SingleLine.h"
#include "platform/Twips.h"
#include "platform/Ui.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace captionui {

QLabel *label(QWidget *parent, const QString &text, const QRect &r)
{
    auto *l = new QLabel(text, parent);
    l->setGeometry(r);
    return l;
}

QLineEdit *textBox(QWidget *parent, const QRect &r)
{
    auto *e = new QLineEdit(parent);
    e->setGeometry(r);
    return e;
}

QPushButton *button(QWidget *parent, const QString &text, const QRect &r)
{
    auto *b = new QPushButton(text, parent);
    b->setGeometry(r);
    return b;
}

QComboBox *sizeBox(QWidget *parent, const QRect &r)
{
    auto *c = new QComboBox(parent);
    c->setEditable(true);
    // The box takes any text as typed: no completion, and Enter does not grow the list.
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setCompleter(nullptr);
    c->setGeometry(r);
    return c;
}

void fillSizes(QComboBox *combo)
{
    combo->clear();
    combo->addItem(QStringLiteral("H0 - Titoli"));
    combo->addItem(QStringLiteral("H1 - Scrittura 1"));
    combo->addItem(QStringLiteral("H2 - Scrittura 2"));
    const QString start = QStringLiteral("H2 - Scrittura 2");
    combo->setCurrentIndex(combo->findText(start));
    combo->setEditText(start);
    for (int i = 3; i <= 6; ++i)
        combo->addItem(QStringLiteral("H%1 - Scrittura %1").arg(i));
}

std::array<QRadioButton *, 3> alignmentButtons(QWidget *frame)
{
    using platform::twipsRect;
    // The captions draw the alignment with bars and dots; a fixed-pitch font keeps them lined up.
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    std::array<QRadioButton *, 3> o{};
    o[0] = new QRadioButton(QStringLiteral("Allinea a sinistra   I.....        I"), frame);
    o[1] = new QRadioButton(QStringLiteral("Allinea in centro   I    .....    I"), frame);
    o[2] = new QRadioButton(QStringLiteral("Allinea a destra    I        .....I"), frame);
    for (int i = 0; i < 3; ++i) {
        o[i]->setFont(fixed);
        o[i]->setGeometry(twipsRect(150, 270 + i * 285, 5100, 285));
    }
    o[0]->setChecked(true);
    return o;
}

void styleBoxes(QWidget *frame, QCheckBox *&bold, QCheckBox *&italic)
{
    using platform::twipsRect;
    bold = new QCheckBox(QStringLiteral("Grassetto"), frame);
    bold->setGeometry(twipsRect(150, 300, 1700, 300));
    italic = new QCheckBox(QStringLiteral("Corsivo"), frame);
    italic->setGeometry(twipsRect(150, 720, 1700, 300));
}

Alignment alignment(const std::array<QRadioButton *, 3> &options)
{
    if (options[0]->isChecked())
        return Alignment::Left;
    if (options[1]->isChecked())
        return Alignment::Center;
    if (options[2]->isChecked())
        return Alignment::Right;
    return Alignment::None;
}

} // namespace captionui

Form3::Form3() : Form(editorwindows::owner())
{
    using namespace captionui;
    using platform::twipsRect;
    setWindowTitle(QStringLiteral("Creazione di una nuova scritta"));
    resize(platform::px(7800), platform::px(4320));

    Label1 = label(this, QStringLiteral("Testo scritta :"), twipsRect(120, 150, 1620, 285));
    Text1 = textBox(this, twipsRect(1800, 120, 5820, 315));
    Label2 = label(this, QStringLiteral("Grandezza testo :"), twipsRect(120, 570, 1620, 285));
    Combo1 = sizeBox(this, twipsRect(1800, 540, 3000, 315));

    Frame1 = new QGroupBox(QStringLiteral("Tipo scritta"), this);
    Frame1->setGeometry(twipsRect(120, 1020, 1980, 1200));
    Option1[0] = new QRadioButton(QStringLiteral("Normale"), Frame1);
    Option1[0]->setGeometry(twipsRect(150, 300, 1700, 300));
    Option1[1] = new QRadioButton(QStringLiteral("Scorrevole"), Frame1);
    Option1[1]->setGeometry(twipsRect(150, 720, 1700, 300));
    Option1[0]->setChecked(true);

    Frame2 = new QGroupBox(QStringLiteral("Allineamento"), this);
    Frame2->setGeometry(twipsRect(2220, 1020, 5400, 1200));
    Option2 = alignmentButtons(Frame2);

    Frame3 = new QGroupBox(QStringLiteral("Tipo scrittura"), this);
    Frame3->setGeometry(twipsRect(120, 2340, 1980, 1200));
    styleBoxes(Frame3, Check1, Check2);

    for (int i = 0; i < 2; ++i) {
        const int top = 2430 + i * 480;
        Label3[i] = label(this, i == 0 ? QStringLiteral("Colore testo :") : QStringLiteral("Colore sfondo:"),
                          twipsRect(2220, top + 30, 1500, 285));
        Text2[i] = textBox(this, twipsRect(3780, top, 1440, 315));
        Command3[i] = button(this, QStringLiteral("..."), twipsRect(5280, top, 450, 315));
        connect(Command3[i], &QPushButton::clicked, this, [this, i] { Command3_Click(i); });
    }

    Command1 = button(this, QStringLiteral("Conferma"), twipsRect(4440, 3720, 1500, 435));
    Command2 = button(this, QStringLiteral("Annulla"), twipsRect(6120, 3720, 1500, 435));

    for (int i = 0; i < 2; ++i)
        connect(Option1[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                Option1_Click(i);
        });
    connect(Command1, &QPushButton::clicked, this, &Form3::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form3::Command2_Click);

    for (QLineEdit *e : findChildren<QLineEdit *>())
        platform::keepSingleLine(e);
    editorwindows::dialogKeys(this, Command1, Command2);
    Text1->setFocus();
}

void Form3::Form_Load()
{
    captionui::fillSizes(Combo1);
    Text2[0]->setText(QStringLiteral("#FFFF80"));
    Text2[1]->setText(QStringLiteral("#000080"));
}

void Form3::Option1_Click(int)
{
    // A scrolling strip has no alignment; the choice is kept for when "Normale" comes back.
    bool enable;
    if (Option1[0]->isChecked())
        enable = true;
    else if (Option1[1]->isChecked())
        enable = false;
    else
        return;
    Frame2->setEnabled(enable);
    for (QRadioButton *o : Option2)
        o->setEnabled(enable);
}

void Form3::Command3_Click(int Index)
{
    Module1::PickerCaller = 3;
    Module1::PickerField = static_cast<qint16>(Index);
    bringForward(editorwindows::openNear<::Colore>(Command3[Index]));
}

CaptionFields Form3::fields() const
{
    CaptionFields f;
    f.text = Text1->text();
    f.size = Combo1->currentText();
    f.scrolling = Option1[1]->isChecked();
    f.alignment = captionui::alignment(Option2);
    f.textColour = Text2[0]->text();
    f.backColour = Text2[1]->text();
    f.bold = Check1->isChecked();
    f.italic = Check2->isChecked();
    return f;
}

void Form3::Command1_Click()
{
    const CaptionFields f = fields();
    const QString refusal = CheckCaption(f);
    if (!refusal.isEmpty()) {
        platform::ui().beep();
        platform::ui().MsgBox(refusal, platform::vbOKOnly);
        return;
    }
    // On success the engine closes this window; on failure it has shown its message.
    InsertBlock(CaptionBlock(f), this);
}

void Form3::Command2_Click() { forms::unload<Form3>(); }
