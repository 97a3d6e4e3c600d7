#pragma once
#include "app/Form.h"

// The background image window (modal).
class Form1 : public Form {
    Q_OBJECT
public:
    Form1();
    void Form_Load() override;
};
