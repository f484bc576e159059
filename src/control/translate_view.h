// The cursor geometry translation works with: the view's pixel mapping and origins, the
// drawing's grid step and sheet, the cursor moving angle and the snaps.
#pragma once

#include "geometry/point.h"
#include "view/view_cursor.h"

namespace lumora {

class ElementStore;
struct InputRecord;
struct View;

// Search radii of the snaps, in search units (a share of the view width).
inline constexpr double kSnapLineReach = 5.0;
inline constexpr double kSnapPointReach = 6.0;
// Most crossings two lines are searched for.
inline constexpr int kMaxSnapCrossings = 40;

// The pending snap of the record: on success its cursor point is the snapped point.
bool SnapSearch(const View& view, ElementStore& store, InputRecord& in);

} // namespace lumora
