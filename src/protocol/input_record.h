// One input step: the event that arrived and the state of the element in the making. Every
// function reads the program's one current record.
#pragma once

#include "geometry/point.h"
#include "model/property_set.h"
#include "util/codes.h"

#include <array>
#include <cstddef>

namespace lumora {

inline constexpr int kMaxRubberBandPoints = 200;
inline constexpr std::size_t kTypedTextSize = 1000;

// Snap modes: a pending one-shot snap.
inline constexpr int kSnapNone = 0;
inline constexpr int kSnapLine = kCodeSnapLine;
inline constexpr int kSnapPoint = kCodeSnapPoint;
inline constexpr int kSnapIntersection = kCodeSnapIntersection;
// The snaps to a feature of the nearest line, chosen from the snap list (Shift+F11), in the
// list's order.
inline constexpr int kSnapMidpoint = 1;
inline constexpr int kSnapCentre = 2;
inline constexpr int kSnapPerpendicular = 3;
inline constexpr int kSnapTangent = 4;
inline constexpr int kSnapQuadrant = 5;

// Preview kinds of the rubber band.
inline constexpr int kPreviewNone = 0;
inline constexpr int kPreviewElement = 1; // the points so far plus a segment to the cursor
inline constexpr int kPreviewShape = 2;   // and above: a shape carried as offsets from the cursor

// The four screen overlays, in the order they are erased.
enum Overlay { kOverlayDragPreview, kOverlayCursorLines, kOverlayCursorMark, kOverlayRubberBand };
inline constexpr int kOverlayCount = 4;

struct InputRecord {
  int code = 0;   // the command code, lower-cased
  int rawKey = 0; // the key as it came; -1 a mouse click, -2 a generated Esc, 0 no key
  int mouseX = 0; // window pixel of the last event, 0 0 = top left
  int mouseY = 0;
  int repeat = 1; // how many steps an arrow code made by the mouse stands for

  Point cursor{0.0, 0.0}; // cursor point, drawing units
  int cursorLinesOff = 1; // 1: no full-window cursor lines
  int snapMode = kSnapNone;
  int previewKind = kPreviewElement;

  int pointCount = 0; // rubber-band points held
  std::array<Point, kMaxRubberBandPoints> points{};

  std::array<char, kTypedTextSize> typed{}; // text being entered, zero-terminated

  PropertySet attributes; // of the element in the making

  std::array<int, kOverlayCount> drawn{}; // overlays now on screen
};

} // namespace lumora
