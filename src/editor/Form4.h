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

// The link window: inserts a line of text linking to another local page.
class Form4 : public Form {
    Q_OBJECT
public:
    Form4();
    void Form_Load() override;

    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *txtPAG_COLLEGATA = nullptr;
    QPushButton *Command4 = nullptr;
    QLabel *Label2 = nullptr;
    QComboBox *Combo1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    std::array<QRadioButton *, 3> Option2{};
    QGroupBox *Frame3 = nullptr;
    QCheckBox *Check1 = nullptr;
    QCheckBox *Check2 = nullptr;
    std::array<QLabel *, 2> Label3{};
    // Colour boxes: 0 text colour, 1 background colour. The colour picker writes here.
    // The link itself uses only the text colour; the second box is kept like the
    // caption window's.
    std::array<QLineEdit *, 2> Text2{};
    std::array<QPushButton *, 2> Command3{};
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;

    void Command1_Click();
    void Command2_Click();
    void Command3_Click(int Index);
    void Command4_Click();

    // The fields as they stand now.
    LinkFields fields() const;
};
