// The cursor's geometry on the sheet: the pixel size of the present zoom, the sheet test every
// cursor point passes, and the cursor moving angle that holds the cursor on a direction line.
#pragma once

#include "geometry/point.h"

namespace lumora {

struct Drawing;
struct View;

// Drawing units per screen pixel at the present zoom.
double PixelSize(const View& view);
bool InsideSheet(const Drawing& drawing, Point point);
// While the cursor moving angle is in force, a point is moved onto the direction line through
// the local origin: along the vertical through it when the direction is nearer horizontal,
// along the horizontal otherwise. A result off the sheet leaves the point as it was.
Point ConstrainToDirection(const View& view, const Drawing& drawing, Point point);
// Sets the cursor moving angle in force; the direction point and the followed axis go with it.
void ShowDirection(View& view, double angle);

} // namespace lumora
