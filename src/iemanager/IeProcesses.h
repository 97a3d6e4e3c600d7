#pragma once
#include <QString>
#include <QtGlobal>

// The Internet Explorer process list (Module1::IeProcessIds / IeProcessCount) and
// the lines of Test_URL's list, rebuilt from a new process snapshot.

// Outcomes of TerminateIeProcess. They are kept for whoever wants to show them;
// the program itself never shows them in a message.
inline constexpr const char *kOutcomeNoProcess = "Processo inesistente";
inline constexpr const char *kOutcomeNotAllowed = "Non permesso";
inline constexpr const char *kOutcomeTerminated = "Processo Terminato";

// Whether an executable name (bare or a full path) belongs to Internet Explorer:
// its upper-case form contains "IEXPLORE.EXE".
bool IsIeExecutable(const QString &exeName);
// A process number as the list writes it: upper-case hexadecimal, no leading zeros.
QString IeProcessId(quint32 pid);

// Clears Test_URL's list (loading the window hidden if needed) and fills it and
// IeProcessIds with the matching processes, at most kMaxIeProcesses of them; yields once.
void ListIeProcesses();
// Ends the process whose number is given in hexadecimal, if it can and if it is
// still an Internet Explorer process at that moment. Returns the outcome text
// (empty for a blank id or a failed end); never shows a message.
QString TerminateIeProcess(const QString &id);
// The outcome of the last TerminateIeProcess call.
QString LastTerminateOutcome();
// Inserts "name id" at the top of Test_URL's list.
void AddProcessItem(const QString &name, const QString &id);
