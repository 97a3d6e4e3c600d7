#include "editor/Form1.h"

Form1::Form1() = default;

void Form1::Form_Load() {}
