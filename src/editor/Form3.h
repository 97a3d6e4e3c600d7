#pragma once
#include "base/Form.h"
#include "editor/Blocks.h"

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QRect;
class QWidget;

// Control builders the link window shares with the caption window.
namespace captionui {
QLabel *label(QWidget *parent, const QString &text, const QRect &r);
QLineEdit *textBox(QWidget *parent, const QRect &r);
QPushButton *button(QWidget *parent, const QString &text, const QRect &r);
// The editable size box (its list is filled at load by fillSizes).
QComboBox *sizeBox(QWidget *parent, const QRect &r);
// Fills the size list and sets its start text.
void fillSizes(QComboBox *combo);
// The three alignment buttons inside `frame`, the first selected.
std::array<QRadioButton *, 3> alignmentButtons(QWidget *frame);
// Bold and italic inside `frame`, both cleared.
void styleBoxes(QWidget *frame, QCheckBox *&bold, QCheckBox *&italic);
Alignment alignment(const std::array<QRadioButton *, 3> &options);
} // namespace captionui

// The caption window: composes one line of text and inserts it into the page on display.
class Form3 : public Form {
    Q_OBJECT
public:
    Form3();
    void Form_Load() override;

    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *Label2 = nullptr;
    QComboBox *Combo1 = nullptr;
    QGroupBox *Frame1 = nullptr;
    std::array<QRadioButton *, 2> Option1{};
    QGroupBox *Frame2 = nullptr;
    std::array<QRadioButton *, 3> Option2{};
    QGroupBox *Frame3 = nullptr;
    QCheckBox *Check1 = nullptr;
    QCheckBox *Check2 = nullptr;
    std::array<QLabel *, 2> Label3{};
    // Colour boxes: 0 text colour, 1 background colour. The colour picker writes here.
    std::array<QLineEdit *, 2> Text2{};
    std::array<QPushButton *, 2> Command3{};
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;

    void Command1_Click();
    void Command2_Click();
    void Command3_Click(int Index);
    void Option1_Click(int Index);

    // The fields as they stand now.
    CaptionFields fields() const;
};
