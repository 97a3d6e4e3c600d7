#include "iemanager/IeProcesses.h"

void ListIeProcesses() {}
void TerminateIeProcess(const QString &) {}
void AddProcessItem(const QString &, const QString &) {}
