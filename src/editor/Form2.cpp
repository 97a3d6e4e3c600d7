#include "editor/Form2.h"

Form2::Form2() = default;

void Form2::Form_Load() {}
