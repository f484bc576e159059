#include "view/soft_canvas.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

namespace lumora {
namespace {

bool Inside(const PixelRect& r, int x, int y) {
  return x >= r.x && y >= r.y && x < r.x + r.width && y < r.y + r.height;
}

// Every pixel that differs from the snapshot lies in a changed rectangle, each rectangle lies in
// the canvas, and there are never more than the limit.
void ExpectCovered(const SoftCanvas& canvas, const RgbImage& before, const std::string& what) {
  const auto changed = canvas.Changed();
  ASSERT_LE(changed.size(), ChangedRects::kLimit) << what;
  for (const PixelRect& r : changed) {
    EXPECT_TRUE(r.width > 0 && r.height > 0 && r.x >= 0 && r.y >= 0 &&
                r.x + r.width <= canvas.Width() && r.y + r.height <= canvas.Height())
        << what;
  }
  const RgbImage after = canvas.Image();
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      const std::size_t at = (std::size_t(canvas.Height() - 1 - y) * canvas.Width() + x) * 3;
      if (before.rgb[at] == after.rgb[at] && before.rgb[at + 1] == after.rgb[at + 1] &&
          before.rgb[at + 2] == after.rgb[at + 2]) {
        continue;
      }
      bool covered = false;
      for (const PixelRect& r : changed) covered = covered || Inside(r, x, y);
      ASSERT_TRUE(covered) << what << ": pixel " << x << "," << y << " changed unreported";
    }
  }
}

// Random figures of every kind, many of them reaching past the window's edges, between flushes
// of a few operations and of many: what the screen is told to copy holds all that changed.
TEST(ChangedRects, EveryChangedPixelIsReported) {
  SoftCanvas canvas(160, 120);
  canvas.TrackChanges(true);
  std::mt19937 random(5);
  std::uniform_real_distribution<double> coord(-40.0, 200.0);
  std::uniform_int_distribution<int> pick(0, 6);
  for (int round = 0; round < 60; ++round) {
    canvas.ForgetChanged();
    const RgbImage before = canvas.Image();
    const int operations = round % 3 == 0 ? 40 : 1 + round % 4;
    for (int k = 0; k < operations; ++k) {
      const int kind = pick(random);
      const double x = coord(random);
      const double y = coord(random);
      const int colour = kind == 0 ? kInvertingColour : 1 + int(random() % 8);
      if (kind <= 2) {
        canvas.SetPen(colour, 1 + int(random() % 4), 1 + double(random() % 6));
        canvas.MoveTo(x, y);
        canvas.LineTo(coord(random), coord(random));
        canvas.LineTo(coord(random), coord(random));
        canvas.EndPath();
      } else if (kind == 3) {
        canvas.SetPen(colour, 1, 1);
        canvas.Circle(x, y, double(random() % 60));
        canvas.EndPath();
      } else if (kind == 4) {
        canvas.FillRect({int(x), int(y), int(random() % 50), int(random() % 50)},
                        {std::uint8_t(random()), 7, 9});
      } else if (kind == 5) {
        canvas.DrawGlyphs(int(x), int(y), "Lumora gjpq_ 1:20", {200, 100, 50});
      } else {
        PixelBlock block;
        ASSERT_TRUE(canvas.ReadBlock({int(y), int(x), 30, 20}, block));
        for (auto& byte : block.rgb) byte ^= 0x5A;
        canvas.WriteBlock(block);
      }
    }
    ExpectCovered(canvas, before, "round " + std::to_string(round));
  }
}

// The cursor lines across the window and a small mark where they cross stay thin: the copy is
// a few rows and columns, not the box of both lines.
TEST(ChangedRects, CrossingLinesStayThinAndResizeChangesAll) {
  SoftCanvas canvas(1000, 800);
  canvas.TrackChanges(true);
  canvas.SetPen(kInvertingColour, 1, 1);
  canvas.MoveTo(0, 300.5);
  canvas.LineTo(999, 300.5);
  canvas.MoveTo(400.5, 0);
  canvas.LineTo(400.5, 799);
  canvas.Circle(400.5, 300.5, 5);
  canvas.EndPath();
  std::int64_t area = 0;
  for (const PixelRect& r : canvas.Changed()) area += std::int64_t{r.width} * r.height;
  EXPECT_LE(area, 1000 + 800 + 20 * 20);

  // Far more small figures than rectangles: merged, still within the limit, still covering.
  canvas.ForgetChanged();
  const RgbImage before = canvas.Image();
  canvas.SetPen(3, 1, 1);
  for (int k = 0; k < 200; ++k) {
    canvas.MoveTo(k * 37 % 990, k * 53 % 790);
    canvas.LineTo(k * 37 % 990 + 3, k * 53 % 790 + 2);
  }
  canvas.EndPath();
  ExpectCovered(canvas, before, "many small");

  ASSERT_TRUE(canvas.Resize(300, 200));
  ASSERT_EQ(canvas.Changed().size(), 1u);
  EXPECT_EQ(canvas.Changed()[0], (PixelRect{0, 0, 300, 200}));

  SoftCanvas untracked(50, 50);
  untracked.FillRect({0, 0, 10, 10}, {1, 2, 3});
  EXPECT_TRUE(untracked.Changed().empty());
}

} // namespace
} // namespace lumora
