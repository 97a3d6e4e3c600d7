#include "browser/PageTools.h"

#include <array>
#include <cmath>

namespace pagetools {

namespace {
constexpr std::array<int, 17> kPercents{25, 33, 50, 67, 75, 80, 90, 100, 110, 125, 150, 175, 200, 250, 300, 400, 500};
}

double zoomStep(double factor, int steps)
{
    int percent = int(std::lround(factor * 100));
    for (; steps > 0; --steps) {
        auto next = kPercents.back();
        for (int p : kPercents)
            if (p > percent) {
                next = p;
                break;
            }
        percent = next;
    }
    for (; steps < 0; ++steps) {
        auto next = kPercents.front();
        for (int p : kPercents)
            if (p < percent)
                next = p;
        percent = next;
    }
    return percent / 100.0;
}

QString zoomText(double factor) { return QStringLiteral("Zoom %1%").arg(std::lround(factor * 100)); }

QString findCountText(const QString &text, int activeMatch, int matches)
{
    if (text.isEmpty())
        return {};
    if (matches <= 0)
        return QStringLiteral("Nessun risultato");
    return QStringLiteral("%1 di %2").arg(activeMatch).arg(matches);
}

} // namespace pagetools
