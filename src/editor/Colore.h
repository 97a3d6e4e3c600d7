#pragma once
#include "app/Form.h"

// The colour picker.
class Colore : public Form {
    Q_OBJECT
public:
    Colore();
    void Form_Load() override;
};
