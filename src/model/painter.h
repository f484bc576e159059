// The one way an element of the drawing reaches the screen. The store draws through it when it
// selects, unselects and takes away; commands draw what they make and erase what they change;
// the file readers draw what they read. The view's painter is the only one that puts pixels on
// a screen; tools without a screen and tests give their own.
#pragma once

#include "geometry/point.h"
#include "model/draw_mode.h"

namespace lumora {

struct LineElement;
struct FillingElement;
struct TextElement;
struct OutlineNode;

class Painter {
public:
  virtual ~Painter() = default;

  virtual void Draw(const LineElement& line, DrawMode mode) = 0;
  // Drawn normally, a filling without its hatch cache gets one first.
  virtual void Draw(FillingElement& filling, DrawMode mode) = 0;
  virtual void Draw(const TextElement& text, DrawMode mode) = 0;
  // Markers and outlines are always drawn in pixel inversion: drawing one again takes it away.
  virtual void DrawMarker(const Point& point, char marker) = 0;
  virtual void DrawOutline(const OutlineNode& outline) = 0;
};

} // namespace lumora
