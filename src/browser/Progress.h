#pragma once
#include <QString>
#include <QtGlobal>
#include <optional>

namespace progress {

// Longest bar drawn: ten times a full bar. Controls that report progress far
// above its maximum would otherwise fill the status bar with thousands of "I".
inline constexpr int kMaxBarLength = 600;
// A full bar (done == total).
inline constexpr int kFullBar = 60;

// Rounds to the nearest whole number, exact halves to the even neighbour,
// whatever the floating-point rounding mode is.
double roundHalfEven(double x);

// How many "I" the progress bar shows for done out of total. A total of 0
// gives 0 (the bar is emptied); nullopt means the bar keeps its previous text
// (a negative count, or one that does not fit in 32 bits). Counts above
// kMaxBarLength are drawn as kMaxBarLength.
std::optional<int> PercentBarCount(qint32 done, qint32 total);

// The bar itself for that count, or nullopt when it keeps its previous text.
std::optional<QString> PercentBarText(qint32 done, qint32 total);

// The status text shown while a page is read: "Reading 3 of 8".
QString ReadingText(qint32 progress, qint32 progressMax);

} // namespace progress
