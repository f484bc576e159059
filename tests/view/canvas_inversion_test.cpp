#include "view/soft_canvas.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <set>
#include <utility>

namespace lumora {
namespace {

using PixelSet = std::set<std::pair<int, int>>;

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

// The pixels that differ from black after drawing on a black canvas.
PixelSet Lit(const SoftCanvas& canvas) {
  PixelSet lit;
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      if (canvas.Pixel(x, y) != kBlack) lit.insert({x, y});
    }
  }
  return lit;
}

// A ring relative to its centre.
PixelSet Offsets(const PixelSet& lit, int cx, int cy) {
  PixelSet out;
  for (const auto& [x, y] : lit) out.insert({x - cx, y - cy});
  return out;
}

TEST(InvertingPen, SegmentsStepAlongTheMajorAxis) {
  SoftCanvas canvas(40, 40);
  canvas.SetPen(kModeInvert, 1, 1);
  canvas.MoveTo(1.0, 1.0);
  canvas.LineTo(6.9, 3.2); // truncated to pixel (6, 3)
  canvas.EndPath();
  EXPECT_EQ(Lit(canvas), (PixelSet{{1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 3}, {6, 3}}));
  EXPECT_EQ(canvas.Pixel(1, 1), kWhite);

  SoftCanvas steep(40, 40);
  steep.SetPen(kModeInvert, 1, 1);
  steep.MoveTo(10, 10);
  steep.LineTo(8, 14); // y-major, going left
  steep.EndPath();
  EXPECT_EQ(Lit(steep), (PixelSet{{10, 10}, {10, 11}, {9, 12}, {9, 13}, {8, 14}}));

  // A point left of the window stays out of it.
  SoftCanvas edge(10, 10);
  edge.SetPen(kModeInvert, 1, 1);
  edge.MoveTo(-0.5, 2);
  edge.LineTo(-0.5, 6);
  edge.EndPath();
  EXPECT_TRUE(Lit(edge).empty());
}

TEST(InvertingPen, StippleCountsEveryPixelFromTheHighBit) {
  SoftCanvas canvas(40, 4);
  canvas.SetPen(kModeInvert, 3, 1); // dots 0x0101: bits 15-7 and 15-15 set
  canvas.MoveTo(0, 1);
  canvas.LineTo(35, 1);
  canvas.EndPath();
  EXPECT_EQ(Lit(canvas), (PixelSet{{7, 1}, {15, 1}, {23, 1}, {31, 1}}));

  // The counter runs on across the vertices of a path.
  SoftCanvas bent(40, 40);
  bent.SetPen(kModeInvert, 3, 1);
  bent.MoveTo(0, 0);
  bent.LineTo(10, 0);  // pixels 0..10 use counts 0..10, so count 7 is x = 7
  bent.LineTo(10, 20); // counts 11..31 from y = 0: count 15 is y = 4, count 23 is y = 12
  bent.EndPath();
  EXPECT_EQ(Lit(bent), (PixelSet{{7, 0}, {10, 4}, {10, 12}, {10, 20}}));
}

TEST(InvertingPen, JointsAndCrossingsOfOneFigureStayInverted) {
  SoftCanvas canvas(20, 20);
  canvas.SetPen(kModeInvert, 1, 1);
  canvas.MoveTo(5, 10); // a '+' marker: its centre is crossed twice
  canvas.LineTo(15, 10);
  canvas.MoveTo(10, 15);
  canvas.LineTo(10, 5);
  canvas.EndPath();
  EXPECT_EQ(canvas.Pixel(10, 10), kWhite);
  EXPECT_EQ(Lit(canvas).size(), 21u);

  SoftCanvas box(20, 20);
  box.SetPen(kModeInvert, 1, 1);
  box.MoveTo(2, 2);
  box.LineTo(12, 2);
  box.LineTo(12, 8);
  box.LineTo(2, 8);
  box.LineTo(2, 2);
  box.EndPath();
  for (auto [x, y] : {std::pair{2, 2}, {12, 2}, {12, 8}, {2, 8}}) {
    EXPECT_EQ(box.Pixel(x, y), kWhite) << x << "," << y;
  }
  EXPECT_EQ(Lit(box).size(), 32u);
}

TEST(InvertingPen, MidpointCircleAndArcSectors) {
  const PixelSet ring3{{0, 3}, {0, -3}, {3, 0},  {-3, 0},  {1, 3}, {-1, 3}, {1, -3}, {-1, -3},
                       {3, 1}, {3, -1}, {-3, 1}, {-3, -1}, {2, 2}, {-2, 2}, {2, -2}, {-2, -2}};
  SoftCanvas canvas(20, 20);
  canvas.SetPen(kModeInvert, 1, 1);
  canvas.Circle(10.7, 10.2, 3.9); // centre and radius truncate to (10, 10), 3
  canvas.EndPath();
  EXPECT_EQ(Offsets(Lit(canvas), 10, 10), ring3);

  // A quarter from the +x axis to the +y axis, both ends included.
  SoftCanvas quarter(20, 20);
  quarter.SetPen(kModeInvert, 1, 1);
  quarter.Arc(10, 10, 3, 15, 10, 10, 19);
  quarter.EndPath();
  EXPECT_EQ(Offsets(Lit(quarter), 10, 10), (PixelSet{{0, 3}, {1, 3}, {2, 2}, {3, 1}, {3, 0}}));

  // The other three quarters: more than a half turn, counter-clockwise from +y to +x.
  SoftCanvas wide(20, 20);
  wide.SetPen(kModeInvert, 1, 1);
  wide.Arc(10, 10, 3, 10, 19, 15, 10);
  wide.EndPath();
  EXPECT_EQ(Lit(wide).size(), ring3.size() - 3);
  EXPECT_EQ(wide.Pixel(12, 12), kBlack);
  EXPECT_EQ(wide.Pixel(8, 8), kWhite);

  // From 350 to 10 degrees: through 0, only pixels right of the centre.
  SoftCanvas zero(40, 40);
  zero.SetPen(kModeInvert, 1, 1);
  const double a = 10.0 * 3.1415926535 / 180.0;
  zero.Arc(20, 20, 12, 20 + 15 * std::cos(a), 20 - 15 * std::sin(a), 20 + 15 * std::cos(a),
           20 + 15 * std::sin(a));
  zero.EndPath();
  const PixelSet lit = Lit(zero);
  EXPECT_FALSE(lit.empty());
  EXPECT_TRUE(lit.count({32, 20}));
  for (const auto& [x, y] : lit) EXPECT_GE(x, 31);

  // Start and end in the same direction: the whole ring.
  SoftCanvas closed(20, 20);
  closed.SetPen(kModeInvert, 1, 1);
  closed.Arc(10, 10, 3, 13, 11, 16, 12);
  closed.EndPath();
  EXPECT_EQ(Offsets(Lit(closed), 10, 10), ring3);
}

TEST(InvertingPen, FarAndBrokenCoordinatesAreBounded) {
  SoftCanvas canvas(50, 30);
  canvas.SetPen(kModeInvert, 1, 1);
  canvas.MoveTo(-1e12, 7.5);
  canvas.LineTo(1e12, 7.5); // the visible row only, at once
  canvas.MoveTo(std::nan(""), 3);
  canvas.LineTo(10, 3); // starts a path rather than drawing from a stale point
  canvas.LineTo(std::numeric_limits<double>::infinity(), 3);
  canvas.Circle(25, 15, 1e15);
  canvas.Circle(25, 15, 1e6); // the ring passes far outside the window
  canvas.EndPath();
  PixelSet row;
  for (int x = 0; x < 50; ++x) row.insert({x, 7});
  EXPECT_EQ(Lit(canvas), row);
}

TEST(InvertingPen, ClipLimitsThePenButNotFillsOrGlyphs) {
  SoftCanvas canvas(30, 30);
  canvas.SetClip({0, 0, 30, 10});
  canvas.SetPen(kModeInvert, 1, 1);
  canvas.MoveTo(5, 0);
  canvas.LineTo(5, 29);
  canvas.EndPath();
  canvas.SetPen(4, 1, 1);
  canvas.MoveTo(8, 0);
  canvas.LineTo(8, 29);
  canvas.EndPath();
  canvas.FillRect({20, 20, 2, 2}, kWhite);
  EXPECT_EQ(canvas.Pixel(5, 9), kWhite);
  EXPECT_EQ(canvas.Pixel(5, 10), kBlack);
  EXPECT_EQ(canvas.Pixel(8, 9), (Rgb{0, 255, 255}));
  EXPECT_EQ(canvas.Pixel(8, 10), kBlack);
  EXPECT_EQ(canvas.Pixel(21, 21), kWhite);
}

// Random figures over a random picture: drawing each twice must give back every pixel.
TEST(InvertingPen, DrawingTwiceRestoresTheScreen) {
  std::mt19937 random(20240611);
  std::uniform_real_distribution<double> coord(-40.0, 160.0);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> style(0, 5);
  std::uniform_int_distribution<int> kind(0, 2);
  std::uniform_int_distribution<int> count(1, 6);
  SoftCanvas canvas(120, 90);
  for (int y = 0; y < 90; ++y) {
    for (int x = 0; x < 120; ++x) {
      canvas.FillRect({x, y, 1, 1}, Rgb{std::uint8_t(byte(random)), std::uint8_t(byte(random)),
                                        std::uint8_t(byte(random))});
    }
  }
  const RgbImage before = canvas.Image();
  int visible = 0;
  for (int figure = 0; figure < 200; ++figure) {
    const int k = kind(random);
    const int s = style(random);
    std::vector<double> p(8);
    for (double& v : p) v = coord(random);
    const int n = count(random);
    std::vector<double> path(2 * n);
    for (double& v : path) v = coord(random);
    const auto draw = [&] {
      canvas.SetPen(kModeInvert, s, 1);
      if (k == 0) {
        canvas.MoveTo(path[0], path[1]);
        for (int i = 1; i < n; ++i) canvas.LineTo(path[2 * i], path[2 * i + 1]);
        canvas.LineTo(path[0], path[1]);
      } else if (k == 1) {
        canvas.Circle(p[0], p[1], std::fabs(p[2]) / 2);
      } else {
        canvas.Arc(p[0], p[1], std::fabs(p[2]) / 2, p[3], p[4], p[5], p[6]);
      }
      canvas.EndPath();
    };
    draw();
    const bool changed = canvas.Image().rgb != before.rgb;
    draw();
    ASSERT_EQ(canvas.Image().rgb, before.rgb) << "figure " << figure << " kind " << k;
    visible += changed ? 1 : 0;
  }
  EXPECT_GT(visible, 100); // and the figures did show while drawn once
}

} // namespace
} // namespace lumora
