#include "editor/Form4.h"

Form4::Form4() = default;

void Form4::Form_Load() {}
