#pragma once
#include <QString>

// The Internet Explorer process list (Module1::IeProcessIds / IeProcessCount) and
// the lines of Test_URL's list, rebuilt from a new process snapshot.
void ListIeProcesses();
// Ends the process whose number is given in hexadecimal, if it can.
void TerminateIeProcess(const QString &id);
// Inserts "name id" at the top of Test_URL's list.
void AddProcessItem(const QString &name, const QString &id);
