// The cursor geometry translation works with: the view's pixel mapping and origins, the
// drawing's grid step and sheet.
#pragma once

#include "geometry/point.h"

namespace lumora {

struct Drawing;
struct InputRecord;
struct View;

// Drawing units per screen pixel at the present zoom.
double PixelSize(const View& view);
bool InsideSheet(const Drawing& drawing, Point point);
// The cursor moving angle, when one is in force, constrains a point.
Point ApplyCursorAngle(const View& view, const InputRecord& in, Point point);
// The pending snap: on success the input's cursor point is the snapped point.
bool SnapSearch(const View& view, const Drawing& drawing, InputRecord& in);

} // namespace lumora
