#include "editor/Colore.h"

Colore::Colore() = default;

void Colore::Form_Load() {}
