// Zooming by the mouse wheel round the point under the pointer.
#pragma once

#include "view/view.h"

namespace lumora {

// How much one wheel step zooms.
inline constexpr double kWheelZoomFactor = 1.25;
// The narrowest view shows this many cursor grid steps across.
inline constexpr double kNarrowestViewSteps = 10.0;

// The view box that shows the whole sheet in the view's window: the zoom-all view.
Box WholeSheetView(const View& view, const Box& sheet);

// The view box zoomed in by factor (below 1: out) round the drawing point at, which keeps its
// place in the window. It is never wider than widest (going out stops at it) nor narrower than
// narrowestWidth (going in stops there); a step that cannot zoom answers the box unchanged.
Box ZoomedAround(const Box& box, const Point& at, double factor, const Box& widest,
                 double narrowestWidth);

} // namespace lumora
