#pragma once
#include <QString>
#include <QtGlobal>
#include <array>

// The program-wide values. They live for the whole run; strings start empty, numbers 0.
namespace Module1 {

inline QString StartUrl;
inline QString HomePageDir;     // ends in "\"
inline QString HomePageFile;
inline QString CommandLinePath; // the argument in path form; the timer reuses it for the title

inline qint16 PageVisited = 0;
inline bool AllowPopups = false;

inline constexpr int kMaxIeProcesses = 200;
inline std::array<QString, kMaxIeProcesses + 1> IeProcessIds; // entries 1..IeProcessCount
inline qint16 IeProcessCount = 0;
inline QString LastIeProcessId;

inline qint16 PickerCaller = 0; // 3 caption window, 4 link window
inline qint16 PickerField = 0;  // 0 text colour box, other: background colour box

// Back to the values of program start (tests start every case from here).
void reset();

} // namespace Module1
