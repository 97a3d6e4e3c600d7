#pragma once
#include <QIcon>
#include <array>

// The toolbar's six pictures (Back, Forward, Stop, Refresh, Home, Search), 24 x 24:
// the desktop theme's where it has them, else drawn here.
std::array<QIcon, 6> toolbarIcons();
