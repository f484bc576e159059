// Mapping line points and filling hatches through a placement (location, scale factors and
// rotation), as when a part file is read into the drawing.
#pragma once

#include "geometry/primitives.h"

#include <span>

namespace lumora {

struct LineElement;
struct PropertySet;

// Maps the points of a line of the given line's shape in place. Arcs and circles keep their
// shape under unequal scale factors: their radius becomes the old radius times the smaller of
// |sx| and |sy|. A mirrored arc has its start and end exchanged so it still runs
// counter-clockwise.
void TransformLinePoints(const LineElement& line, std::span<Point> points, const Transform& m,
                         double sx, double sy);

// Adapts a filling's hatch gap and angle (in the set) to a placement: the gap scales with |sx|
// for a slanted hatch and with |sy| for a horizontal one, each mirror turns the angle over,
// and the rotation is added in whole degrees.
void TransformFillingHatch(PropertySet& filling, double sx, double sy, double angle);

} // namespace lumora
