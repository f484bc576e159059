// The drawing unit a sheet implies: a drawing area that fits the paper a thousand times over is
// in metres, ten times over in centimetres, else in millimetres.
#pragma once

#include "model/drawing.h"

namespace lumora {

// The paper taken when no printer tells its own, in millimetres.
inline constexpr double kDefaultPaperWidth = 200.0;
inline constexpr double kDefaultPaperHeight = 287.0;

// Drawing units per paper millimetre for the drawing's limits and scale on paper of the given
// size (portrait sides; a landscape drawing turns the paper).
double PaperUnitFor(const Drawing& drawing, double paperWidth, double paperHeight);

// Sets `paperUnit` from the sheet unless the user has chosen the units.
void InferPaperUnit(Drawing& drawing, double paperWidth = kDefaultPaperWidth,
                    double paperHeight = kDefaultPaperHeight);

} // namespace lumora
