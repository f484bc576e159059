// The painter of the program's screen: every element the store, the commands and the readers
// draw reaches the canvas here, in the drawing's current view. An element erased with the
// background pen also breaks what crosses it; its box is kept for the repair that follows.
#pragma once

#include "model/painter.h"
#include "setup/setup.h"
#include "view/render.h"

#include <vector>

namespace lumora {

class ScreenPainter final : public Painter {
public:
  // The canvas arrives when the window exists (none: nothing is drawn); the rest lives as long
  // as the painter. `erased` collects the boxes of what was erased.
  ScreenPainter(Canvas* const& canvas, const View& view, Drawing& drawing, Fonts& fonts,
                const Setup& setup, HatchSource& hatches, const ElementStore& store,
                std::vector<Box>& erased)
      : canvas_(canvas), view_(view), drawing_(drawing), fonts_(fonts), setup_(setup),
        hatches_(hatches), store_(store), erased_(erased) {}

  void Draw(const LineElement& line, DrawMode mode) override;
  void Draw(FillingElement& filling, DrawMode mode) override;
  void Draw(const TextElement& text, DrawMode mode) override;
  void DrawMarker(const Point& point, char marker) override;
  void DrawOutline(const OutlineNode& outline) override;

  // Everything drawing on the canvas needs; only valid while there is a canvas.
  RenderScene Scene() const;

private:
  Canvas* const& canvas_;
  const View& view_;
  Drawing& drawing_;
  Fonts& fonts_;
  const Setup& setup_;
  HatchSource& hatches_;
  const ElementStore& store_;
  std::vector<Box>& erased_;
};

} // namespace lumora
