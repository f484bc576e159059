// Searches: nearest line with its tie stepping and direction probe, radii in search units,
// vertices, and what PickElement prefers.
#include "element_geometry/geometry_fixture.h"

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
  EXPECT_EQ(geo.PickElement({20, 20}, 1, true).kind, 4);
  LineElement* square = Line({{10, 10}, {30, 10}, {30, 30}, {10, 30}}, kShapeClosed);
  EXPECT_EQ(geo.PickElement({20, 10.5}, 1, true).line, square);
  FillingElement* filling = Filling({square});
  EXPECT_EQ(geo.PickElement({20, 10.5}, 1, true).filling, filling);
  TextElement* text = Text({18, 9});
  const Picked picked = geo.PickElement({20, 10.5}, 1, true);
  EXPECT_EQ(picked.kind, 3);
  EXPECT_EQ(picked.text, text);
  // A line of a part is never picked as a line.
  EXPECT_EQ(geo.PickElement({40, 1}, 1, false).kind, 4);
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
