#include "browser/LaunchNewInstance.h"

void LaunchNewInstance(const QString &) {}
