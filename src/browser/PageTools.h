#pragma once
#include <QString>

// The decisions behind the find bar and the zoom keys.
namespace pagetools {

// The zoom `steps` notches away from `factor` on the usual scale (25% to 500%); a factor
// between two notches moves to the next one in that direction.
double zoomStep(double factor, int steps);
// "Zoom 125%"
QString zoomText(double factor);
// "2 di 5"; "Nessun risultato" when nothing matches; empty before any search.
QString findCountText(const QString &text, int activeMatch, int matches);

} // namespace pagetools
