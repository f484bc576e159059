// Searches: nearest line with its tie stepping and direction probe, radii in search units,
// vertices, and what PickElement prefers.
#include "element_geometry/geometry_fixture.h"

#include <random>

namespace lumora::test {
namespace {

TEST_F(GeometryTest, RepeatedPicksStepThroughCoincidingLinesUntilOneIsDeleted) {
  LineElement* a = Line({{10, 10}, {50, 10}});
  LineElement* b = Line({{10, 10}, {50, 10}});
  Point at{};
  LineElement* first = geo.NearestLine({30, 11}, at, 5);
  LineElement* second = geo.NearestLine({30, 11}, at, 5);
  EXPECT_NE(first, second);
  EXPECT_EQ(geo.NearestLine({30, 11}, at, 5), first);
  EXPECT_TRUE(Same(at, {30, 10}));
  // The remembered pick goes with its element.
  LineElement* gone = first;
  store.DeleteLine(gone);
  EXPECT_EQ(store.LastLinePick(), nullptr);
  EXPECT_EQ(geo.NearestLine({30, 11}, at, 5), first == a ? b : a);

  // Three or more on each other: every one in turn, then the first again.
  std::vector<LineElement*> three{Line({{10, 60}, {50, 60}}), Line({{10, 60}, {50, 60}}),
                                  Line({{10, 60}, {50, 60}})};
  std::vector<LineElement*> visited;
  for (int pick = 0; pick < 4; ++pick) visited.push_back(geo.NearestLine({30, 61}, at, 5));
  EXPECT_EQ(visited, (std::vector<LineElement*>{three[2], three[1], three[0], three[2]}));
}

TEST_F(GeometryTest, NearestLineRadiusCornerAndDirectionProbe) {
  // k = 5 on the whole-sheet view is 14.635: 14.6 is found, 14.7 is not.
  Line({{20, 100}, {60, 100}});
  Point at{};
  EXPECT_NE(geo.NearestLine({40, 114.6}, at, 5), nullptr);
  EXPECT_EQ(geo.NearestLine({40, 114.7}, at, 5), nullptr);
  // Beyond both segment ends at the outer side of a corner nothing of the line is near.
  LineElement* corner = Line({{100, 20}, {120, 20}, {120, 40}});
  LineHit hit;
  EXPECT_EQ(geo.NearestOnLine(*corner, {121, 19}, hit, 5), 0);
  EXPECT_EQ(geo.NearestOnLine(*corner, {119, 21}, hit, 5), 1);
  // A probe at 90 degrees through the point gives the crossing, not the foot.
  LineElement* slanted = Line({{40, 60}, {100, 140}});
  EXPECT_EQ(geo.NearestLine({61, 95}, at, 5, true, 90), slanted);
  EXPECT_TRUE(Same(at, {61, 88}));
  EXPECT_EQ(geo.NearestLine({61, 95}, at, 5), slanted);
  EXPECT_TRUE(Same(at, {64.36, 92.48}));
}

TEST_F(GeometryTest, VerticesAndStoredPoints) {
  // A line that comes back to its start meets itself there: result 2, and the end whose
  // direction looks towards the point is taken.
  LineElement* loop = Line({{10, 10}, {30, 10}, {30, 30}, {10, 10}});
  Point v{};
  int index = -1;
  EXPECT_EQ(geo.NearestVertex(*loop, {12, 10.5}, v, index, 4), 2);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(geo.NearestVertex(*loop, {11, 11.5}, v, index, 4), 2);
  EXPECT_EQ(index, 3);
  EXPECT_EQ(geo.NearestVertex(*loop, {30.0005, 30}, v, index, 0), 1);
  EXPECT_EQ(geo.NearestVertex(*loop, {30.01, 30}, v, index, 0), 0);
  // A circle offers only its centre to point snapping.
  Line({{80, 80}, {85, 80}}, kShapeCircle);
  Point found{};
  EXPECT_EQ(geo.NearestLinePoint({85, 80}, found, 1), nullptr);
  EXPECT_NE(geo.NearestLinePoint({82, 80}, found, 1), nullptr);
  EXPECT_TRUE(Same(found, {80, 80}));
}

TEST_F(GeometryTest, PickElementPrefersTextThenFillingThenLineThenPart) {
  PartElement* part = Part(1);
  LineElement* member = Line({{0, 0}, {40, 0}, {40, 40}});
  store.AddMember(part, member);
  EXPECT_TRUE(std::holds_alternative<PartElement*>(geo.PickElement({20, 20}, 1, true)));
  LineElement* square = Line({{10, 10}, {30, 10}, {30, 30}, {10, 30}}, kShapeClosed);
  EXPECT_EQ(PickedAs<LineElement>(geo.PickElement({20, 10.5}, 1, true)), square);
  FillingElement* filling = Filling({square});
  EXPECT_EQ(PickedAs<FillingElement>(geo.PickElement({20, 10.5}, 1, true)), filling);
  TextElement* text = Text({18, 9});
  const Picked picked = geo.PickElement({20, 10.5}, 1, true);
  EXPECT_EQ(PickedAs<TextElement>(picked), text);
  // A line of a part is never picked as a line.
  EXPECT_TRUE(std::holds_alternative<PartElement*>(geo.PickElement({40, 1}, 1, false)));
}

TEST_F(GeometryTest, EndsAndLinesEndingAtAPoint) {
  LineElement* a = Line({{0, 0}, {10, 0}});
  LineElement* b = Line({{10, 0}, {10, 10}});
  Point other{};
  EXPECT_EQ(geo.LineEndingAt(a, {10, 0}, other, 0.08), b);
  EXPECT_TRUE(Same(other, {10, 10}));
  Line({{10, 0}, {20, 5}});
  EXPECT_EQ(geo.LineEndingAt(a, {10, 0}, other, 0.08), nullptr);
  LineElement* closed = Line({{0, 0}, {5, 0}, {5, 5}}, kShapeClosed);
  EXPECT_EQ(ElementGeometry::EndsAt(*closed, {0, 0}, other, 0.08), 0);
}

} // namespace
} // namespace lumora::test

namespace lumora::test {
namespace {

// Searches skip lines by their zone strips: on random drawings, edited between searches, the
// nearest line and the nearest stored point are still the ones found by comparing every line
// the zone masks let through.
TEST_F(GeometryTest, ZoneSkippingNeverLosesTheNearestLineOrPoint) {
  std::mt19937 random(5);
  std::uniform_real_distribution<double> coord(-20, kLimit + 20);
  std::uniform_real_distribution<double> inside(0, kLimit);
  std::uniform_real_distribution<double> size(0.5, 30);
  std::vector<LineElement*> lines;
  for (int i = 0; i < 300; ++i) {
    const Point p{coord(random), coord(random)};
    const double s = size(random);
    const std::uint32_t shape = 1 + static_cast<std::uint32_t>(i % 4);
    if (shape == kShapeArc) {
      lines.push_back(Line({p, {p.x + s, p.y}, {p.x, p.y + s}}, shape));
    } else if (shape == kShapeCircle) {
      lines.push_back(Line({p, {p.x + s, p.y}}, shape));
    } else {
      lines.push_back(Line({p, {p.x + s, p.y + s / 3}, {p.x + s / 2, p.y - s}}, shape));
    }
  }
  for (int round = 0; round < 200; ++round) {
    if (round % 10 == 0) {
      LineElement* gone = lines.back();
      lines.pop_back();
      store.DeleteLine(gone);
      geo.MoveVertex(*lines[static_cast<std::size_t>(round)], 1, {coord(random), coord(random)});
    }
    const Point p{inside(random), inside(random)};
    const double k = round % 3 == 0 ? 0 : 2 + round % 5;
    const double r = geo.settings.Radius(k);
    const std::uint16_t qx = ZoneMask(p.x - r, p.x + r, 0, kLimit);
    const std::uint16_t qy = ZoneMask(p.y - r, p.y + r, 0, kLimit);
    double nearest = kNoPoint;
    double nearestPoint = kNoPoint;
    for (const LineElement* line : lines) {
      if (ZonesOverlap(static_cast<std::uint16_t>(line->zoneX()),
                       static_cast<std::uint16_t>(line->zoneY()), qx, qy) == 0) {
        continue;
      }
      LineHit hit;
      if (geo.NearestOnLine(*line, p, hit, 1000) != 0)
        nearest = std::min(nearest, std::abs(hit.distance));
      const std::size_t offered = line->shape() == kShapeCircle ? 1 : line->ps0();
      for (std::size_t i = 0; i < offered; ++i)
        nearestPoint = std::min(nearestPoint, Distance(p, line->points[i], 0));
    }
    SCOPED_TRACE(testing::Message() << "round " << round);
    Point at{};
    LineElement* found = geo.NearestLine(p, at, k);
    ASSERT_EQ(found != nullptr, nearest < r - kGeomTolerance);
    if (found != nullptr) {
      LineHit hit;
      ASSERT_EQ(geo.NearestOnLine(*found, p, hit, 1000), 1);
      EXPECT_LT(std::abs(hit.distance), nearest + 2 * kGeomTolerance);
    }
    Point point{};
    found = geo.NearestLinePoint(p, point, k);
    ASSERT_EQ(found != nullptr, nearestPoint < r);
    if (found != nullptr) {
      EXPECT_DOUBLE_EQ(Distance(p, point, 0), nearestPoint);
    }
  }
}

} // namespace
} // namespace lumora::test
