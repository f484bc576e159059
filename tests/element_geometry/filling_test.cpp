// Hatches and surface areas of fillings built from their lines.
#include "element_geometry/geometry_fixture.h"
#include "util/number_text.h"

#include <algorithm>

namespace lumora::test {
namespace {

constexpr double kHatchAccuracy = 0.16; // four times the default arc accuracy

std::vector<Segment> Segments(const FillingElement& f) {
  std::vector<Segment> s;
  if (f.hatch == nullptr) return s;
  for (std::uint32_t k = 0; k + 1 < f.hatch->count; k += 2) {
    s.push_back({f.hatch->points[k], f.hatch->points[k + 1]});
  }
  return s;
}

class FillingTest : public GeometryTest {
protected:
  FillingElement* Hatched(std::vector<LineElement*> lines, double gap, int angle = 0) {
    FillingElement* f = Filling(std::move(lines));
    f->SetGap(gap);
    f->SetAngle(static_cast<std::int16_t>(angle));
    return f;
  }
  std::string Area(const FillingElement& f) {
    double area = 0.0;
    if (!geo.FillingArea(f, area)) return "failed";
    return NumberToText(area, 0.001, 40);
  }
};

TEST_F(FillingTest, CircleIsHatchedFromItsLowestPointUpwards) {
  LineElement* circle = Line({{0, 0}, {10, 0}}, kShapeCircle);
  FillingElement* f = Hatched({circle}, 2.0);
  EXPECT_EQ(geo.BuildHatch(*f), HatchStatus::kDone);
  const std::vector<PenPathRecord> path = geo.BuildBoundary({&circle, 1}, kHatchAccuracy);
  const double lowest =
      std::min_element(path.begin(), path.end(), [](auto& a, auto& b) { return a.y < b.y; })->y;
  const std::vector<Segment> s = Segments(*f);
  ASSERT_EQ(s.size(), 9u);
  for (std::size_t i = 0; i < s.size(); ++i) {
    EXPECT_NEAR(s[i].p1.y, lowest + 2.0 * double(i + 1), 1e-9);
    EXPECT_NEAR(s[i].p2.y, s[i].p1.y, 1e-9);
    EXPECT_LT(s[i].p1.x, s[i].p2.x);
  }
  // A change of the circle drops the cache; the next drawing builds it again.
  geo.ElementChanged(*circle);
  EXPECT_EQ(f->hatch, nullptr);
  // Too fine a gap gives no hatch, kept as an empty cache so a redraw does not retry.
  f->SetGap(0.0009);
  EXPECT_EQ(geo.BuildHatch(*f), HatchStatus::kNoHatch);
  ASSERT_NE(f->hatch, nullptr);
  EXPECT_EQ(f->hatch->count, 0u);
}

TEST_F(FillingTest, HolesAreLeftOutOfHatchAndArea) {
  LineElement* outer = Line({{0, 0}, {20, 0}, {20, 20}, {0, 20}}, kShapeClosed);
  LineElement* hole = Line({{5, 5}, {15, 5}, {15, 15}, {5, 15}}, kShapeClosed);
  FillingElement* f = Hatched({outer, nullptr, hole}, 4.0);
  geo.BuildHatch(*f);
  const std::vector<Segment> s = Segments(*f);
  ASSERT_EQ(s.size(), 6u); // y = 4 and 16 whole, y = 8 and 12 on both sides of the hole
  EXPECT_NEAR(s[1].p2.x, 5.0, 1e-9);
  EXPECT_NEAR(s[2].p1.x, 15.0, 1e-9);
  EXPECT_EQ(Area(*f), "300");
  EXPECT_EQ(Area(*Hatched({hole, outer}, 4.0)), "300");
  EXPECT_EQ(Area(*Hatched({Line({{0, 0}, {10, 0}, {10, 20}, {0, 20}}, kShapeClosed)}, 1.0)), "200");
  // A round hole, shown before or after the plate, counted as the circle it is.
  LineElement* plate = Line({{20, 20}, {120, 20}, {120, 70}, {20, 70}}, kShapeClosed);
  LineElement* round = Line({{70, 45}, {80, 45}}, kShapeCircle);
  EXPECT_EQ(Area(*Hatched({plate, round}, 1.0)), "4685.841");
  EXPECT_EQ(Area(*Hatched({round, plate}, 1.0)), "4685.841");
  // Open lines that do not meet are closed straight back to where the loop began.
  EXPECT_EQ(Area(*Hatched({Line({{0, 0}, {10, 0}}), Line({{10, 0}, {10, 10}})}, 1.0)), "50");
}

TEST_F(FillingTest, DeletedFillingIsNoLongerTheLastPick) {
  LineElement* square = Line({{0, 0}, {20, 0}, {20, 20}, {0, 20}}, kShapeClosed);
  FillingElement* f = Hatched({square}, 2.0);
  ASSERT_EQ(geo.PickFilling({5, 5}), f);
  store.DeleteFilling(f);
  EXPECT_EQ(store.LastFillingPick(), nullptr);
  FillingElement* again = Hatched({square}, 2.0);
  EXPECT_EQ(geo.PickFilling({5, 5}), again);
}

TEST_F(FillingTest, HugeCirclesAreCutIntoBoundedChords) {
  LineElement* circle = Line({{0, 0}, {1e9, 0}}, kShapeCircle);
  EXPECT_LE(geo.BuildBoundary({&circle, 1}, 1e-6).size(), 10003u);
  FillingElement* f = Hatched({circle}, 1.0);
  EXPECT_EQ(geo.BuildHatch(*f), HatchStatus::kTooDense);
  EXPECT_EQ(f->hatch->count, 0u);
}

TEST_F(FillingTest, PlateWithRowOfRoundHolesIsHatchedOnlyInside) {
  std::vector<LineElement*> lines{Line({{0, 0}, {1210, 0}, {1210, 30}, {0, 30}}, kShapeClosed)};
  const double r = 6.0;
  for (int i = 0; i < 60; ++i)
    lines.push_back(Line({{10.0 + 20 * i, 15}, {16.0 + 20 * i, 15}}, kShapeCircle));
  FillingElement* f = Hatched(lines, 0.7, 30);
  ASSERT_EQ(geo.BuildHatch(*f), HatchStatus::kDone);
  const std::vector<PenPathRecord> exact = geo.BuildBoundary(lines, 1e-4);
  double length = 0.0;
  for (const Segment& seg : Segments(*f)) {
    length += Distance(seg.p1, seg.p2);
    const Point mid{(seg.p1.x + seg.p2.x) / 2, (seg.p1.y + seg.p2.y) / 2};
    EXPECT_EQ(PointInPenPath(mid.x, mid.y, exact), 1) << mid.x << " " << mid.y;
  }
  double area = 0.0;
  ASSERT_TRUE(geo.FillingArea(*f, area));
  const double perimeter = 2 * (1210 + 30) + 60 * 2 * 3.14159265 * r;
  EXPECT_NEAR(length * 0.7, area, perimeter * (0.7 + kHatchAccuracy));
}

// A boundary line cut by a clip or a rounding leaves its pieces, in the order the boundary walks
// it, and the rounding arc in its place: the surface stays what the lines now enclose.
TEST_F(FillingTest, CutAndRoundedBoundaryLinesKeepTheFilling) {
  // A closed line with a hole beside it: its pieces stay a loop of their own.
  LineElement* square = Line({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, kShapeClosed);
  LineElement* hole = Line({{5, 5}, {7, 5}}, kShapeCircle);
  FillingElement* plate = Filling({square, hole});
  const std::string whole = Area(*plate);
  EXPECT_EQ(geo.CutLineAtPoints(square, {{5, 0}, {5, 10}}, false), 2);
  ASSERT_EQ(Count(drawing.fillings), 1);
  EXPECT_EQ(plate->ls0(), 4u);
  EXPECT_EQ(Area(*plate), whole);
  // Four open lines, the first walked from its end: its pieces go in backwards.
  std::vector<LineElement*> sides{Line({{20, 0}, {30, 0}}), Line({{20, 0}, {20, 10}}),
                                  Line({{20, 10}, {30, 10}}), Line({{30, 10}, {30, 0}})};
  FillingElement* open = Filling(sides);
  EXPECT_EQ(geo.CutLineAtPoints(sides[0], {{23, 0}, {26, 0}}, false), 3);
  EXPECT_EQ(open->ls0(), 6u);
  EXPECT_EQ(Area(*open), "100");
  // A rounding between two of its lines joins the loop; radius 0 takes it out again.
  Corner corner;
  corner.point = {30, 10};
  ASSERT_EQ(geo.FindCorner(sides[2], corner), 1);
  ASSERT_EQ(geo.RoundLineCorner(corner, 2.0), 1);
  EXPECT_EQ(open->ls0(), 7u);
  double rounded = 0.0;
  ASSERT_TRUE(geo.FillingArea(*open, rounded));
  EXPECT_NEAR(rounded, 96.0 + 3.14159265358979, 0.1); // a chord across the corner: 98
  ASSERT_EQ(geo.RoundLineCorner(corner, 0.0), 1);
  EXPECT_EQ(open->ls0(), 6u);
  EXPECT_EQ(Area(*open), "100");
  EXPECT_EQ(Count(drawing.fillings), 2);
}

} // namespace
} // namespace lumora::test
