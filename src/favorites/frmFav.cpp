#include "favorites/frmFav.h"

frmFav::frmFav() = default;

void frmFav::Form_Load() {}
