#pragma once
#include "base/Form.h"

class QPushButton;

// The editor menu: opens the three editing windows for the page on display.
class Form2 : public Form {
    Q_OBJECT
public:
    Form2();
    void Form_Load() override;

    QPushButton *Command1 = nullptr; // background
    QPushButton *Command2 = nullptr; // caption
    QPushButton *Command4 = nullptr; // link
    QPushButton *Command3 = nullptr; // end

    void Command1_Click();
    void Command2_Click();
    void Command4_Click();
    void Command3_Click();
};
