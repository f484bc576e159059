// A program state drawing on a SoftCanvas: a 100 x 75 sheet in a 400 x 332 window, so the
// drawing area is 400 x 300 pixels at exactly 4 pixels per drawing unit.
#pragma once

#include "control/headless_app.h"
#include "model/element_store.h"
#include "model/property_set.h"
#include "util/fake_clock.h"
#include "view/soft_canvas.h"

#include <initializer_list>
#include <sstream>
#include <vector>

namespace lumora::test {

struct LineLook {
  int colour = 1;
  int style = 1;
  int width = 0; // tenths of a millimetre
};

struct RenderFixture {
  static constexpr int kWidth = 400;
  static constexpr int kHeight = 332;

  HeadlessApp headless;
  App& app = headless.app;
  SoftCanvas canvas{kWidth, kHeight};

  explicit RenderFixture(Background background = Background::kDark) {
    app.drawing.limits = Box{0.0, 0.0, 100.0, 75.0};
    app.view.viewBox = app.drawing.limits;
    app.commandState.whiteBackground = background == Background::kLight;
    AttachCanvas(app, canvas);
    FitView(app.view, kWidth, kHeight);
    canvas.SetClip(DrawingAreaRect(app.view));
  }

  RenderScene Scene() { return app.Scene(); }

  LineElement* Line(std::uint32_t shape, std::initializer_list<Point> points, LineLook look = {}) {
    PropertySet set;
    set.SetShape(shape);
    set.SetColour(std::uint32_t(look.colour));
    set.SetStyle(std::uint32_t(look.style));
    set.SetWidth(std::uint32_t(look.width));
    std::vector<Point> pts(points);
    return app.store.AddLine(set, pts.data(), int(pts.size()));
  }

  // The pixel holding a drawing point (canvas coordinates, y up).
  Rgb At(double x, double y) const {
    const Point c = DrawingToCanvas(app.view, {x, y});
    return canvas.Pixel(int(c.x), int(c.y));
  }

  int CountPixels(Rgb colour) const {
    int n = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) n += canvas.Pixel(x, y) == colour ? 1 : 0;
    return n;
  }
};

inline constexpr Rgb kBlackPixel{0, 0, 0};
inline constexpr Rgb kWhitePixel{255, 255, 255};
inline constexpr Rgb kBluePixel{0, 0, 255};
inline constexpr Rgb kGreyPixel{128, 128, 128};

} // namespace lumora::test
