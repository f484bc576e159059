// The shortcuts of the screen pen against the plain ways they replace: the same pixels on
// random drawings, the clipped pixel walk against stepping every pixel, the quick cosine within
// its bound.
#include "render_fixture.h"
#include "text/recording_sink.h"
#include "text/text_drawing.h"
#include "view/pixel_walk.h"
#include "view/quick_trig.h"
#include "view/render.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <initializer_list>
#include <numbers>
#include <random>
#include <tuple>
#include <vector>

namespace lumora {
namespace {

using test::RenderFixture;

TEST(QuickTrig, StaysFarInsideItsBoundOverTheWholeRange) {
  std::mt19937 random(11);
  std::uniform_real_distribution<double> angle(-kQuickTrigRange, kQuickTrigRange);
  std::vector<double> angles;
  for (int k = 0; k < 200000; ++k) angles.push_back(angle(random));
  // Quarter turns and their neighbours, where the reduction changes quadrant.
  for (int k = -160; k <= 160; ++k) {
    const double a = k * std::numbers::pi / 4;
    angles.insert(angles.end(), {a, std::nextafter(a, 1e9), std::nextafter(a, -1e9)});
  }
  angles.insert(angles.end(), {0.0, -0.0, 1e-300, kQuickTrigRange, -kQuickTrigRange});
  double worst = 0.0;
  for (const double a : angles) {
    const CosSin q = QuickCosSin(a);
    worst = std::max({worst, std::fabs(q.cos - std::cos(a)), std::fabs(q.sin - std::sin(a))});
  }
  EXPECT_LT(worst, kQuickTrigError / 100);
  EXPECT_TRUE(std::isnan(QuickCosSin(std::nan("")).cos));
  EXPECT_DOUBLE_EQ(QuickCosSin(1e6).sin, std::sin(1e6)); // beyond the range: the library's
}

TEST(QuickTrig, TurnedValuesStayWithinTheirBoundAtTheAnglesAsSummed) {
  std::mt19937 random(13);
  std::uniform_real_distribution<double> start(-3.2, 3.2);
  std::uniform_real_distribution<double> logStep(-1.76, 0.3); // one degree to two radians
  for (int k = 0; k < 300; ++k) {
    const double step = std::pow(10.0, logStep(random));
    double a = start(random);
    TrigTurn turn(a, step);
    for (int n = 0; n < 400 && std::fabs(a) < TrigTurn::kTurnRange; ++n, a += step, turn.Next()) {
      ASSERT_LE(std::fabs(turn.Value().cos - std::cos(a)), turn.Error() / 100) << k << " " << n;
      ASSERT_LE(std::fabs(turn.Value().sin - std::sin(a)), turn.Error() / 100) << k << " " << n;
    }
  }
}

// Every step of the segment, kept when its pixel and the run across it meet the clip.
std::vector<std::tuple<std::int64_t, std::int64_t, std::int64_t>>
EveryStep(PixelPoint a, PixelPoint b, const PixelRect& clip, MinorReach reach) {
  const std::int64_t dx = b.x - a.x;
  const std::int64_t dy = b.y - a.y;
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  const std::int64_t dMajor = xMajor ? std::llabs(dx) : std::llabs(dy);
  const std::int64_t dMinor = xMajor ? std::llabs(dy) : std::llabs(dx);
  std::vector<std::tuple<std::int64_t, std::int64_t, std::int64_t>> steps;
  for (std::int64_t i = 0; i <= dMajor; ++i) {
    const std::int64_t m = dMajor == 0 ? 0
                                       : static_cast<std::int64_t>(std::ceil(
                                             double(i * dMinor - dMajor / 2) / double(dMajor)));
    const std::int64_t major = (xMajor ? a.x : a.y) + ((xMajor ? dx : dy) < 0 ? -i : i);
    const std::int64_t minor = (xMajor ? a.y : a.x) + ((xMajor ? dy : dx) < 0 ? -m : m);
    const std::int64_t x = xMajor ? major : minor;
    const std::int64_t y = xMajor ? minor : major;
    const bool majorIn = xMajor ? (x >= clip.x && x < clip.x + clip.width)
                                : (y >= clip.y && y < clip.y + clip.height);
    const std::int64_t lo = xMajor ? clip.y : clip.x;
    const std::int64_t hi = lo + (xMajor ? clip.height : clip.width) - 1;
    if (majorIn && minor + reach.above >= lo && minor - reach.below <= hi) {
      steps.emplace_back(x, y, i);
    }
  }
  return steps;
}

TEST(PixelWalk, ClippedWalkVisitsExactlyTheStepsThatMeetTheClip) {
  std::mt19937 random(5);
  std::uniform_int_distribution<std::int64_t> coordinate(-300, 400);
  std::uniform_int_distribution<int> corner(-20, 120);
  std::uniform_int_distribution<int> size(0, 120);
  std::uniform_int_distribution<std::int64_t> run(0, 4);
  for (int k = 0; k < 3000; ++k) {
    const PixelPoint a{coordinate(random), coordinate(random)};
    // Short, flat, steep and single-pixel segments as well as long ones.
    PixelPoint b{coordinate(random), coordinate(random)};
    if (k % 5 == 1) b = {a.x + coordinate(random) / 50, a.y + coordinate(random) / 50};
    if (k % 5 == 2) b = {a.x + coordinate(random), a.y + 1};
    if (k % 5 == 3) b = a;
    const PixelRect clip{corner(random), corner(random), size(random), size(random)};
    const MinorReach reach{run(random), run(random)};
    std::vector<std::tuple<std::int64_t, std::int64_t, std::int64_t>> seen;
    const std::int64_t steps =
        WalkSegment(a, b, clip, reach, [&](auto x, auto y, auto i) { seen.emplace_back(x, y, i); });
    ASSERT_EQ(seen, EveryStep(a, b, clip, reach)) << k;
    EXPECT_EQ(steps, std::max(std::llabs(b.x - a.x), std::llabs(b.y - a.y)) + 1);
  }
}

// A strip of points handed over at once paints what LineTo through each paints, and inside
// the clip that is the walk of every segment under the stipple, its count running on along the
// strip. Some strips leave the clip, reach far out or meet a point that is not a number.
TEST(PixelWalk, StripsPaintTheWalkOfEverySegmentUnderTheStipple) {
  constexpr int kW = 120;
  constexpr int kH = 90;
  const PixelRect clip{10, 8, 90, 70};
  std::mt19937 random(17);
  std::uniform_real_distribution<double> inside(10.0, 99.99);
  std::uniform_real_distribution<double> around(-30.0, 150.0);
  std::uniform_real_distribution<double> nudge(-1.5, 1.5);
  for (int k = 0; k < 600; ++k) {
    const bool wild = k % 3 == 0;
    std::vector<CanvasPoint> points{{inside(random), inside(random)}};
    for (int n = 0; n < 14; ++n) {
      const CanvasPoint& last = points.back();
      CanvasPoint p{inside(random), inside(random)};
      if (n % 2 == 0)
        p = {std::clamp(last.x + nudge(random), 10.0, 99.99),
             std::clamp(last.y + nudge(random), 8.0, 77.99)};
      if (wild && n % 4 == 1) p = {around(random), around(random)};
      if (wild && n == 7) p = k % 2 == 0 ? CanvasPoint{1e12, -3e11} : CanvasPoint{std::nan(""), 5};
      points.push_back(p);
    }
    const int style = 1 + k % 8;
    SoftCanvas strip(kW, kH);
    SoftCanvas single(kW, kH);
    for (SoftCanvas* c : {&strip, &single}) {
      c->SetClip(clip);
      c->SetPen(3, style, 1.0);
      c->MoveTo(points[0].x, points[0].y);
    }
    strip.LineStrip({points.data() + 1, points.size() - 1});
    for (std::size_t n = 1; n < points.size(); ++n) single.LineTo(points[n].x, points[n].y);
    strip.EndPath();
    single.EndPath();
    ASSERT_EQ(strip.Image().rgb, single.Image().rgb) << k;
    if (wild) continue;
    std::vector<bool> expected(std::size_t(kW) * kH, false);
    const std::uint16_t pattern = StipplePattern(style);
    unsigned counter = 0;
    for (std::size_t n = 1; n < points.size(); ++n) {
      const PixelPoint a = PixelOf(points[n - 1].x, points[n - 1].y);
      const PixelPoint b = PixelOf(points[n].x, points[n].y);
      for (const auto& [x, y, i] : EveryStep(a, b, clip, {})) {
        if ((pattern >> ((counter + unsigned(i)) % 16)) & 1u)
          expected[std::size_t(y * kW + x)] = true;
      }
      counter =
          (counter + unsigned(std::max(std::llabs(b.x - a.x), std::llabs(b.y - a.y)) + 1)) % 16;
    }
    for (int y = 0; y < kH; ++y) {
      for (int x = 0; x < kW; ++x) {
        const Rgb p = strip.Pixel(x, y);
        ASSERT_EQ(p.r + p.g + p.b != 0, expected[std::size_t(y * kW + x)])
            << k << " " << x << "," << y;
      }
    }
  }
}

constexpr double kTwoPi = 6.283185307;
constexpr double kTenth = 0.1;

// A line element as the pen drew it before any shortcut: every vertex from the library's cosine
// and sine, every one handed to the canvas.
void PlainLine(const RenderScene& scene, const LineElement& line) {
  Canvas& canvas = scene.canvas;
  const View& view = scene.view;
  const double paperUnit = scene.drawing.paperUnit;
  canvas.SetPen(int(line.colour()), int(line.style()),
                PenWidthPixels(line.width() * kTenth, paperUnit, PixelsPerUnit(view)));
  const Point* p = line.points;
  const int count = int(line.ps0());
  auto vertex = [&](const Point& d, bool first) {
    const Point c = DrawingToCanvas(view, d);
    first ? canvas.MoveTo(c.x, c.y) : canvas.LineTo(c.x, c.y);
  };
  auto arc = [&](const Point& centre, double r, double a0, double a1, double step) {
    bool first = true;
    for (double a = a0; a < a1 + step; a += step) {
      const double angle = a > a1 ? a1 : a;
      vertex({centre.x + r * std::cos(angle), centre.y + r * std::sin(angle)}, first);
      first = false;
    }
  };
  const bool isArc = line.shape() == kShapeArc && count >= 3;
  if ((isArc && SamePoint(p[1], p[2]) != 0) || (line.shape() == kShapeCircle && count >= 2)) {
    const double r = Distance(p[0], p[1]);
    const double step = ArcStep(paperUnit, scene.arcAccuracy, r);
    for (double a = 0.0; a < kTwoPi + step; a += step) {
      vertex({p[0].x + r * std::cos(a), p[0].y + r * std::sin(a)}, a == 0.0);
    }
  } else if (isArc) {
    const double r = Distance(p[0], p[1]);
    const double a0 = std::atan2(p[1].y - p[0].y, p[1].x - p[0].x);
    double a1 = std::atan2(p[2].y - p[0].y, p[2].x - p[0].x);
    if (a0 > a1) a1 += kTwoPi;
    const double step = ArcStep(paperUnit, scene.arcAccuracy, r);
    if (a1 + step > a0) arc(p[0], r, a0, a1, step);
  } else {
    for (int k = 0; k < count; ++k) vertex(p[k], k == 0);
    if (line.shape() == kShapeClosed) vertex(p[0], false);
  }
  canvas.EndPath();
}

// In each view, draw(fast, plain) draws with the screen pen on the fixture's canvas and the
// plain way on a canvas of its own; both must show the same pixels.
template <class Draw>
void ExpectPlainPixels(RenderFixture& f, std::initializer_list<Box> views, Draw draw) {
  for (const Box& box : views) {
    f.app.view.viewBox = box;
    FitView(f.app.view, RenderFixture::kWidth, RenderFixture::kHeight);
    SoftCanvas plain(RenderFixture::kWidth, RenderFixture::kHeight);
    plain.SetClip(f.canvas.Clip());
    RenderScene scene = f.Scene();
    RenderScene plainScene{plain, scene.view, scene.drawing, scene.fonts, scene.arcAccuracy,
                           {},    nullptr};
    ClearDrawingArea(scene);
    ClearDrawingArea(plainScene);
    draw(scene, plainScene);
    EXPECT_EQ(f.canvas.Image().rgb, plain.Image().rgb) << box.xmin << " " << box.ymin;
  }
}

TEST(RenderFastPaths, RandomDrawingsGiveThePixelsOfThePlainPen) {
  RenderFixture f;
  std::mt19937 random(3);
  std::uniform_real_distribution<double> place(-40.0, 140.0);
  std::uniform_real_distribution<double> logSize(-3.0, 2.5);
  std::uniform_int_distribution<int> pick(0, 15);
  for (int k = 0; k < 1500; ++k) {
    const Point c{place(random), place(random)};
    const double s = std::pow(10.0, logSize(random));
    const Point q{c.x + s * std::cos(k), c.y + s * std::sin(k)};
    const test::LineLook look{1 + pick(random) % 8, 1 + pick(random) % 4, pick(random) % 8};
    switch (k % 5) {
    case 0:
      f.Line(kShapeCircle, {c, q}, look);
      break;
    case 1:
      f.Line(kShapeArc, {c, q, {c.x + s * std::cos(pick(random)), c.y - s}}, look);
      break;
    case 2:
      f.Line(kShapeArc, {c, q, k % 3 == 0 ? q : c}, look); // a full circle, a point as end
      break;
    case 3:
      f.Line(kShapeClosed, {c, q, {c.x, q.y}}, look);
      break;
    default:
      f.Line(kShapeOpen, {c, q, {q.x + s, c.y}, {q.x, q.y + s / 3}}, look);
      break;
    }
  }
  // The whole sheet, zoomed in on a corner, out until most elements are below a pixel, and a
  // view whose scale is not a round number.
  ExpectPlainPixels(
      f, {{0, 0, 100, 75}, {20, 30, 26, 34.5}, {-2000, -1500, 2000, 1500}, {-3.3, 7.1, 77.7, 68.9}},
      [&](const RenderScene& scene, const RenderScene& plainScene) {
        for (const LineElement* l = f.app.drawing.lines; l != nullptr; l = l->next) {
          DrawLine(scene, *l, DrawMode::kNormal);
          PlainLine(plainScene, *l);
        }
      });
}

// The screen pen with every stroke drawn, none left out or stood in for.
class EveryStroke final : public ScreenPen {
public:
  explicit EveryStroke(CanvasPen& pen) : pen_(pen) {}
  void SetPen(int colour, int style, int section, double width) override {
    pen_.SetPen(colour, style, section, width);
  }
  void MoveTo(const Point& p) override { pen_.MoveTo(p); }
  void LineTo(const Point& p) override { pen_.LineTo(p); }
  void DrawArc(const Point& c, const Point& s, const Point& e) override { pen_.DrawArc(c, s, e); }
  void EndPath() override { pen_.EndPath(); }

private:
  CanvasPen& pen_;
};

// Texts off the canvas are left out and texts within a pixel are a dot: the pixels stay those of
// every stroke, with glyphs reaching out of their cells, a glyph that starts with a draw, one of
// moves only, one of a long run of draws, rows, turns and wide pens, in views from close up to far
// out.
TEST(RenderFastPaths, TextsLeftOutOrDottedGiveThePixelsOfEveryStroke) {
  RenderFixture f;
  RecordingSink sink;
  ASSERT_TRUE(ParseFont("#HEIGHT: 10\n#WIDTH: 6\n#CHAR_SPACE: 2\n#ROW_SPACE: 3\n"
                        "#LOWER_PORTION: 2\n#CHARACTERS:\n"
                        "\"A\" 0 0 0 3 10 1 6 0 1 1 4 0 5 4 1\n"
                        "\"W\" -40 -30 0 46 45 1\n"
                        "\"I\" 3 10 1\n"
                        "\"M\" 1 1 0 5 5 0\n"
                        "\"O\" 0 0 0 6 0 1 6 10 1 0 10 1 0 0 1 3 5 1\n",
                        f.app.fonts.slots[0], sink));
  f.app.fonts.count = 1;
  const char* const strings[] = {"A", "AW", "I", "M", "IA", "MI", "A|W", "MM|I", "WAAAAA", "OO"};
  std::mt19937 random(23);
  std::uniform_real_distribution<double> place(-40.0, 140.0);
  std::uniform_int_distribution<int> pick(0, 479);
  std::vector<const TextElement*> texts;
  for (int k = 0; k < 600; ++k) {
    PropertySet set;
    set.SetColour(std::uint32_t(1 + k % 8));
    set.SetWidth(std::uint32_t(k % 5 == 0 ? pick(random) % 16 : 0));
    set.SetHeight(std::uint32_t(1 + pick(random)));
    set.SetWidthRatio(std::uint32_t(pick(random) % 8));
    set.SetSlant(std::uint32_t(pick(random) % 4));
    set.angle = k % 3 == 0 ? 0.0 : pick(random) * 0.75;
    const Point at{place(random), place(random)};
    texts.push_back(f.app.store.AddText(set, &at, 1, strings[k % std::size(strings)]));
  }
  ExpectPlainPixels(
      f,
      {{0, 0, 100, 75},
       {20, 30, 26, 34.5},
       {-2000, -1500, 2000, 1500},
       {-40000, -30000, 40000, 30000}},
      [&](const RenderScene& scene, const RenderScene& plainScene) {
        for (const TextElement* t : texts) {
          DrawTextElement(scene, *t, DrawMode::kNormal);
          CanvasPen pen = plainScene.Pen(DrawMode::kNormal);
          EveryStroke every(pen);
          TextScene textScene{plainScene.fonts, plainScene.drawing.paperUnit, plainScene.measure};
          DrawText(textScene, every, *t, DrawMode::kNormal);
        }
      });
}

} // namespace
} // namespace lumora
