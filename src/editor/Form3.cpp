#include "editor/Form3.h"

Form3::Form3() = default;

void Form3::Form_Load() {}
