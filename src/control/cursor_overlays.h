// The overlays of the drawing cursor: the cursor mark with its snap circle, the full-window
// cursor lines, the rubber band of the element in the making and the drag preview that follows
// the cursor. Each is one figure of the inverting pen, so drawing it a second time from the same
// input record and view takes it away again.
#pragma once

#include "protocol/input_record.h"
#include "view/view.h"

#include <array>

namespace lumora {

class Canvas;

// Sizes as shares of the view width.
inline constexpr double kCursorMarkShare = 0.008; // half the cursor cross
inline constexpr double kSnapCircleShare = 0.7;   // of the cross half: the snap circle radius
inline constexpr double kCentreMarkShare = 0.016; // half the cross on an arc's centre

// Where overlays are drawn and how arcs are approximated.
struct OverlayScene {
  Canvas& canvas;
  const View& view;
  double paperUnit = 1.0;
  double arcAccuracy = 0.04;
};

// Half the length of the cursor cross for a view.
double CursorMarkHalfSize(const View& view);

void DrawCursorMark(const OverlayScene& scene, const InputRecord& in);
void DrawCursorLines(const OverlayScene& scene, const InputRecord& in);
void DrawRubberBand(const OverlayScene& scene, const InputRecord& in);
void DrawDragPreview(const OverlayScene& scene, const InputRecord& in);

} // namespace lumora
