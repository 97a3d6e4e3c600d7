#pragma once
#include "app/Form.h"

// The link window.
class Form4 : public Form {
    Q_OBJECT
public:
    Form4();
    void Form_Load() override;
};
