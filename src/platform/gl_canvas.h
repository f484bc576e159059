// The screen of the window: the window's pixels kept in memory and drawn there exactly as the
// in-memory canvas draws them, and copied to the OpenGL window when flushed. Needs the window's
// GL context to be current whenever it is flushed; the window code calls SetSize on every
// reshape and Exposed when the window has lost what it showed.
//
// The canvas remembers the few rectangles it changed since the last flush, and Flush copies only
// those, each with one glDrawPixels from the memory, so the cursor lines moved over a large
// drawing cost two thin rows of pixels, and a whole redraw one copy of the drawing area.
#pragma once

#include "view/soft_canvas.h"

namespace lumora {

class GlCanvas final : public SoftCanvas {
public:
  GlCanvas(int width, int height);

  // Sets the viewport and the projection for a window of this size, and sizes the pixels to
  // it, cleared; the next display draws them all. A size the memory cannot hold keeps the old
  // pixels, shown in the window's lower left corner.
  void SetSize(int width, int height);
  // The whole window is copied again at the next flush.
  void Exposed() { ChangedAll(); }

  void EndPath() override;
  void Flush() override;

private:
  bool endingPath_ = false;
};

} // namespace lumora
