#pragma once
#include <QString>

// Starts a second copy of the program on an address (the whole address is its
// one argument). A failure is reported to the user, not to the caller.
void LaunchNewInstance(const QString &address);
