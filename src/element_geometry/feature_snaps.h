// Snaps to a feature of the nearest line: the middle of a segment or an arc, the centre of an
// arc or circle, the foot of a perpendicular, a tangent point and a quadrant point.
#pragma once

#include "element_geometry/element_geometry.h"

namespace lumora {

enum class FeatureSnap { kMidpoint, kCentre, kPerpendicular, kTangent, kQuadrant };

// The feature of the line nearest to the cursor within reach search units (0: only the
// tolerance), measured from `from` where the feature needs a second point (perpendicular,
// tangent). False when no line is in reach or the line has no such feature.
bool SnapToFeature(ElementGeometry& geometry, FeatureSnap snap, const Point& cursor,
                   const Point& from, double reach, Point& found);

} // namespace lumora
