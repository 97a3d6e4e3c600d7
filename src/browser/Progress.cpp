#include "browser/Progress.h"

#include <cmath>
#include <limits>

namespace progress {

double roundHalfEven(double x)
{
    const double lower = std::floor(x);
    const double diff = x - lower;
    if (diff < 0.5)
        return lower;
    if (diff > 0.5)
        return lower + 1.0;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

std::optional<int> PercentBarCount(qint32 done, qint32 total)
{
    // A ratio that cannot be computed counts as 0.
    const double ratio = total == 0 ? 0.0 : double(done) / double(total);
    const double count = roundHalfEven(ratio * kFullBar);
    if (!std::isfinite(count) || count > double(std::numeric_limits<qint32>::max())
        || count < double(std::numeric_limits<qint32>::min()))
        return std::nullopt;
    if (count < 0)
        return std::nullopt;
    return count > kMaxBarLength ? kMaxBarLength : int(count);
}

std::optional<QString> PercentBarText(qint32 done, qint32 total)
{
    const auto count = PercentBarCount(done, total);
    if (!count)
        return std::nullopt;
    return QString(*count, QLatin1Char('I'));
}

QString ReadingText(qint32 progress, qint32 progressMax)
{
    return QStringLiteral("Reading ") + QString::number(progress) + QStringLiteral(" of ")
        + QString::number(progressMax);
}

} // namespace progress
