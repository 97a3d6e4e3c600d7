#pragma once
#include "app/Form.h"

// The editor menu.
class Form2 : public Form {
    Q_OBJECT
public:
    Form2();
    void Form_Load() override;
};
