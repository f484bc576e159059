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

// A pixel crossed twice by one figure is inverted once: the centre of a '+' and the corners of
// a closed box stay lit.
TEST(InvertingPen, JointsAndCrossingsOfOneFigureStayInverted) {
  SoftCanvas canvas(30, 20);
  canvas.SetPen(kInvertingColour, 1, 1);
  canvas.MoveTo(5, 10);
  canvas.LineTo(15, 10);
  canvas.MoveTo(10, 15);
  canvas.LineTo(10, 5);
  canvas.MoveTo(18, 2);
  for (auto [x, y] : {std::pair{28, 2}, {28, 8}, {18, 8}, {18, 2}}) canvas.LineTo(x, y);
  canvas.EndPath();
  for (auto [x, y] : {std::pair{10, 10}, {18, 2}, {28, 2}, {28, 8}, {18, 8}}) {
    EXPECT_EQ(canvas.Pixel(x, y), kWhite) << x << "," << y;
  }
  EXPECT_EQ(Lit(canvas).size(), 21u + 32u);
}

TEST(InvertingPen, FarAndBrokenCoordinatesAreBounded) {
  SoftCanvas canvas(50, 30);
  canvas.SetPen(kInvertingColour, 1, 1);
  canvas.MoveTo(-1e12, 7.5);
  canvas.LineTo(1e12, 7.5); // the visible row only, at once
  canvas.MoveTo(std::nan(""), 3);
  canvas.LineTo(10, 3); // starts a path rather than drawing from a stale point
  canvas.LineTo(std::numeric_limits<double>::infinity(), 3);
  canvas.Circle(25, 15, 1e15);
  canvas.Circle(25, 15, 1e6); // the ring passes far outside the window
  canvas.MoveTo(-0.5, 2);     // left of the window, not in its first column
  canvas.LineTo(-0.5, 6);
  canvas.EndPath();
  PixelSet row;
  for (int x = 0; x < 50; ++x) row.insert({x, 7});
  EXPECT_EQ(Lit(canvas), row);
}

TEST(InvertingPen, ClipLimitsThePenButNotFillsOrGlyphs) {
  SoftCanvas canvas(30, 30);
  canvas.SetClip({0, 0, 30, 10});
  canvas.SetPen(kInvertingColour, 1, 1);
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
      canvas.SetPen(kInvertingColour, s, 1);
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
