#pragma once
#include "app/Form.h"

#include <array>

class QLineEdit;

// The caption window.
class Form3 : public Form {
    Q_OBJECT
public:
    Form3();
    void Form_Load() override;

    // Colour boxes: 0 text colour, 1 background colour. The colour picker writes here.
    std::array<QLineEdit *, 2> Text2{};
};
