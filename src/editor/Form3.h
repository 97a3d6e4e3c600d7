#pragma once
#include "app/Form.h"

// The caption window.
class Form3 : public Form {
    Q_OBJECT
public:
    Form3();
    void Form_Load() override;
};
