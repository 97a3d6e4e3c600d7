#include "editor/Colore.h"

#include "base/HexByte.h"
#include "base/Module1.h"
#include "base/forms.h"
#include "editor/EditorWindows.h"
#include "editor/Form3.h"
#include "editor/Form4.h"
#include "platform/Twips.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QScrollBar>

namespace {

// Numbers are shown with a blank in place of the sign when not negative.
QString numberText(int v) { return v >= 0 ? QLatin1Char(' ') + QString::number(v) : QString::number(v); }

int clampByte(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

QLabel *label(QWidget *parent, const char *text, const QRect &r, Qt::Alignment a = Qt::AlignLeft)
{
    auto *l = new QLabel(QString::fromLatin1(text), parent);
    l->setGeometry(r);
    l->setAlignment(a | Qt::AlignVCenter);
    return l;
}

QLineEdit *valueBox(QWidget *parent, const QRect &r)
{
    auto *e = new QLineEdit(parent);
    e->setGeometry(r);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    return e;
}

QScrollBar *slider(QWidget *parent, Qt::Orientation o, const QRect &r)
{
    auto *s = new QScrollBar(o, parent);
    s->setGeometry(r);
    s->setPageStep(1);
    // Reachable with Tab; the arrow keys then move it by its arrow step.
    s->setFocusPolicy(Qt::StrongFocus);
    return s;
}

} // namespace

Colore::Colore() : Form(editorwindows::owner())
{
    using platform::twipsRect;
    setWindowTitle(QStringLiteral("RICERCA COLORE DESIDERATO  RGB(R,G,B)"));
    resize(platform::px(6360), platform::px(4080));

    // Three columns: title, letter, slider, value box.
    Label1 = label(this, "Rosso", twipsRect(120, 120, 780, 255), Qt::AlignHCenter);
    Label2 = label(this, "Verde", twipsRect(960, 120, 780, 255), Qt::AlignHCenter);
    Label3 = label(this, "Blu", twipsRect(1800, 120, 780, 255), Qt::AlignHCenter);
    Label4 = label(this, "R", twipsRect(120, 420, 780, 255), Qt::AlignHCenter);
    Label5 = label(this, "G", twipsRect(960, 420, 780, 255), Qt::AlignHCenter);
    Label6 = label(this, "B", twipsRect(1800, 420, 780, 255), Qt::AlignHCenter);
    VScroll1 = slider(this, Qt::Vertical, twipsRect(390, 720, 255, 2460));
    VScroll2 = slider(this, Qt::Vertical, twipsRect(1230, 720, 255, 2460));
    VScroll3 = slider(this, Qt::Vertical, twipsRect(2070, 720, 255, 2460));
    txtROSSO = valueBox(this, twipsRect(150, 3300, 720, 315));
    txtVERDE = valueBox(this, twipsRect(990, 3300, 720, 315));
    txtBLU = valueBox(this, twipsRect(1830, 3300, 720, 315));

    Label7 = label(this, "Luminosita'", twipsRect(2880, 120, 3240, 255));
    HScroll1 = slider(this, Qt::Horizontal, twipsRect(2880, 420, 2400, 255));
    txtLUCE = valueBox(this, twipsRect(5400, 390, 720, 315));

    Picture1 = new QFrame(this);
    Picture1->setGeometry(twipsRect(2880, 900, 3240, 2220));
    Picture1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Picture1->setAutoFillBackground(true);

    Command1 = new QPushButton(QStringLiteral("Conferma"), this);
    Command1->setGeometry(twipsRect(2880, 3300, 1560, 435));
    Command2 = new QPushButton(QStringLiteral("Annulla"), this);
    Command2->setGeometry(twipsRect(4560, 3300, 1560, 435));

    connect(VScroll1, &QScrollBar::valueChanged, this, &Colore::VScroll1_Change);
    connect(VScroll2, &QScrollBar::valueChanged, this, &Colore::VScroll2_Change);
    connect(VScroll3, &QScrollBar::valueChanged, this, &Colore::VScroll3_Change);
    connect(HScroll1, &QScrollBar::valueChanged, this, &Colore::HScroll1_Change);
    connect(Command1, &QPushButton::clicked, this, &Colore::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Colore::Command2_Click);
    editorwindows::dialogKeys(this, Command1, Command2);
    HScroll1->installEventFilter(this);
}

bool Colore::eventFilter(QObject *watched, QEvent *event)
{
    // A horizontal scroll bar takes Right as a step down; the brightness goes the way
    // the arrow points, as its handle does.
    if (watched == HScroll1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Left || key == Qt::Key_Right) {
            HScroll1->triggerAction(key == Qt::Key_Right ? QAbstractSlider::SliderSingleStepAdd
                                                         : QAbstractSlider::SliderSingleStepSub);
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}

void Colore::Form_Load()
{
    for (QScrollBar *s : {VScroll1, VScroll2, VScroll3}) {
        s->setMaximum(255);
        s->setSingleStep(10);
    }
    // One after another, so the target box sees each intermediate colour.
    VScroll1->setValue(200);
    VScroll2->setValue(86);
    VScroll3->setValue(242);
    txtROSSO->setText(numberText(red));
    txtVERDE->setText(numberText(green));
    txtBLU->setText(numberText(blue));
    HScroll1->setRange(-255, 255);
    HScroll1->setSingleStep(10);
    HScroll1->setValue(0);
    txtLUCE->setText(numberText(brightness));
}

void Colore::VScroll1_Change()
{
    SETTA_COLORI();
    txtROSSO->setText(numberText(red));
}

void Colore::VScroll2_Change()
{
    SETTA_COLORI();
    txtVERDE->setText(numberText(green));
}

void Colore::VScroll3_Change()
{
    SETTA_COLORI();
    txtBLU->setText(numberText(blue));
}

void Colore::HScroll1_Change()
{
    brightness = HScroll1->value();
    txtLUCE->setText(numberText(brightness));
    SETTA_COLORI();
}

void Colore::Command1_Click()
{
    SETTA_COLORI();
    forms::unload<Colore>();
}

void Colore::Command2_Click() { forms::unload<Colore>(); }

void Colore::SETTA_COLORI()
{
    red = clampByte(VScroll1->value() + brightness);
    green = clampByte(VScroll2->value() + brightness);
    blue = clampByte(VScroll3->value() + brightness);

    QPalette p = Picture1->palette();
    p.setColor(QPalette::Window, QColor(red, green, blue));
    Picture1->setPalette(p);

    const QString colour = QLatin1Char('#') + HexByte(red) + HexByte(green) + HexByte(blue);
    const int field = Module1::PickerField == 0 ? 0 : 1;
    // A caller closed meanwhile is not loaded any more: nothing to write into.
    QLineEdit *target = nullptr;
    if (Module1::PickerCaller == 3) {
        if (::Form3 *f = forms::loaded<::Form3>())
            target = f->Text2[field];
    } else if (Module1::PickerCaller == 4) {
        if (::Form4 *f = forms::loaded<::Form4>())
            target = f->Text2[field];
    }
    if (target)
        target->setText(colour);
}

QColor Colore::previewColour() const { return Picture1->palette().color(QPalette::Window); }
