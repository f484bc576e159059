// Changes passed on, area selection and group transforms.
#include "element_geometry/geometry_fixture.h"

#include <string>

namespace lumora::test {
namespace {

const std::vector<Point> kArea{{-1, -1}, {50, -1}, {50, 50}, {-1, 50}};

TEST_F(GeometryTest, MovingABoundaryVertexRenewsFillingAndPartBoxes) {
  LineElement* square = Line({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, kShapeClosed);
  FillingElement* filling = Filling({square});
  PartElement* part = Part(1);
  store.AddMember(part, square);
  store.SetHatch(*filling, nullptr, 0);
  geo.MoveVertex(*square, 2, {100, 100});
  EXPECT_TRUE(Same({part->box.xmax, part->box.ymax}, {100, 100}));
  EXPECT_EQ(filling->hatch, nullptr);
  EXPECT_EQ(filling->zoneX(), ZoneMask(0, 100, 0, kLimit));
  EXPECT_EQ(part->zoneX(), ZoneMask(0, 100, 0, kLimit));
  EXPECT_EQ(env.Count(DrawMode::kErase, square), 1);
  EXPECT_EQ(env.Count(DrawMode::kNormal, square), 1);
  EXPECT_EQ(env.Count(DrawMode::kNormal, filling), 1);
  // A part nested in another renews its own box before the outer part takes it over.
  PartElement* inner = Part(1);
  PartElement* outer = Part(1);
  LineElement* member = Line({{20, 20}, {30, 20}});
  store.AddMember(inner, member);
  store.AddMember(outer, inner);
  geo.MoveVertex(*member, 1, {40, 60});
  EXPECT_DOUBLE_EQ(inner->box.ymax, 60);
  EXPECT_DOUBLE_EQ(outer->box.ymax, 60);
  geo.MoveVertex(*member, 1, {25, 20});
  EXPECT_DOUBLE_EQ(outer->box.ymax, 20);
  // Moving an arc's end keeps the other end on the new radius.
  LineElement* arc = Line({{50, 50}, {60, 50}, {50, 60}}, kShapeArc);
  geo.MoveVertex(*arc, 1, {70, 50});
  EXPECT_TRUE(Same(Pts(arc), {{50, 50}, {70, 50}, {50, 70}}));
}

TEST_F(GeometryTest, SelectAreaWithAndWithoutAll) {
  LineElement* inside = Line({{10, 10}, {20, 10}});
  LineElement* across = Line({{40, 10}, {60, 10}});
  Line({{100, 100}, {120, 100}});
  FillingElement* filling = Filling({inside, across});
  TextElement* text = Text({5, 5});
  PartElement* group = Part(0);
  EXPECT_FALSE(geo.SelectArea(*group, kArea, true, true));
  EXPECT_EQ(Count(group->lines), 1);
  EXPECT_EQ(group->texts->element, text);
  EXPECT_EQ(group->fillings, nullptr); // one of its lines is outside
  EXPECT_EQ(env.Count(DrawMode::kHighlight, inside), 1);
  PartElement* loose = Part(0);
  EXPECT_FALSE(geo.SelectArea(*loose, kArea, false, false));
  EXPECT_EQ(Count(loose->lines), 2);
  EXPECT_EQ(loose->fillings->element, filling);
  EXPECT_EQ(env.Count(DrawMode::kHighlight, across), 0);
  PartElement* empty = Part(0);
  const std::vector<Point> nowhere{{130, 130}, {140, 130}, {140, 140}};
  EXPECT_TRUE(geo.SelectArea(*empty, nowhere, false, false));
}

TEST_F(GeometryTest, APartTouchingTheAreaCountsOnlyWithPartStretch) {
  PartElement* part = Part(1);
  LineElement* member = Line({{40, 40}, {70, 40}, {70, 70}});
  store.AddMember(part, member);
  FillingElement* filling = Filling({member});
  EXPECT_EQ(geo.PartInsidePolygon(*part, kArea, false), 0);
  geo.settings.partStretch = true;
  EXPECT_EQ(geo.PartInsidePolygon(*part, kArea, false), 1);
  EXPECT_EQ(geo.PartInsidePolygon(*part, kArea, true), 0);
  PartElement* group = Part(0);
  geo.SelectArea(*group, kArea, false, false);
  EXPECT_EQ(group->parts->element, part);
  // A filling bounded by the part's line comes with it, as the group holds the line through it.
  ASSERT_NE(group->fillings, nullptr);
  EXPECT_EQ(group->fillings->element, filling);
}

class MeasureTest : public GeometryTest {
protected:
  TextElement* Measure(std::uint32_t mitta, std::vector<Point> points, std::string_view value) {
    PropertySet set;
    set.SetMitta(mitta);
    return store.AddText(set, points.data(), static_cast<int>(points.size()), value);
  }
};

TEST_F(MeasureTest, StretchingOneEndRewritesTheValue) {
  TextElement* m = Measure(1, {{15, 2}, {0, 0}, {30, 0}}, "L=30 mm");
  const std::vector<Point> area{{25, -5}, {35, -5}, {35, 5}, {25, 5}};
  geo.TransformText(*m, area, Transform{}, {10, 0}, 1, 1, 0);
  EXPECT_STREQ(m->text, "L=40 mm");
  EXPECT_TRUE(Same(m->points[0], {20, 2}));
  EXPECT_TRUE(Same(m->points[2], {40, 0}));
  // Shrinking takes the move off.
  geo.TransformText(*m, area, Transform{}, {-10, 0}, 1, 1, 0);
  EXPECT_STREQ(m->text, "L=40 mm"); // (40,0) now lies outside the area: nothing moves
  const std::vector<Point> wide{{35, -5}, {45, -5}, {45, 5}, {35, 5}};
  geo.TransformText(*m, wide, Transform{}, {-15, 0}, 1, 1, 0);
  EXPECT_STREQ(m->text, "L=25 mm");
}

TEST_F(MeasureTest, AnAngleWhoseSidesBecomeParallelKeepsItsValue) {
  TextElement* m = Measure(2, {{5, 5}, {0, 0}, {20, 0}, {0, 0}, {0, 10}}, "90");
  const std::vector<Point> area{{-1, 9}, {1, 9}, {1, 11}, {-1, 11}};
  // The second side turns onto the first's direction.
  geo.TransformText(*m, area, Transform{}, {10, -10}, 1, 1, 0);
  EXPECT_TRUE(Same(m->points[4], {10, 0}));
  EXPECT_STREQ(m->text, "90");
  const std::vector<Point> tip{{9, -1}, {11, -1}, {11, 1}, {9, 1}};
  geo.TransformText(*m, tip, Transform{}, {-10, 10}, 1, 1, 0);
  EXPECT_STREQ(m->text, "270");
}

TEST_F(GeometryTest, GroupMovesItsMembersAndRenewsFillingsAndBox) {
  LineElement* a = Line({{0, 0}, {10, 0}, {10, 10}}, kShapeClosed);
  FillingElement* filling = Filling({a});
  TextElement* t = Text({2, 2});
  PartElement* group = Part(0);
  store.AddMember(group, a);
  store.AddMember(group, t);
  geo.TransformGroup(*group, {}, {0, 0}, {20, 30}, 1, 1, 0);
  EXPECT_TRUE(Same(Pts(a), {{20, 30}, {30, 30}, {30, 40}}));
  EXPECT_TRUE(Same(t->points[0], {22, 32}));
  EXPECT_TRUE(Same(group->location, {20, 30}));
  EXPECT_EQ(filling->zoneY(), ZoneMask(30, 40, 0, kLimit));
  EXPECT_EQ(env.Count(DrawMode::kErase, filling), 1);
  EXPECT_EQ(env.Count(DrawMode::kNormal, filling), 1);
  // A stretch moves only the vertices inside the area.
  const std::vector<Point> corner{{29, 39}, {31, 39}, {31, 41}, {29, 41}};
  geo.TransformGroup(*group, corner, {0, 0}, {5, 0}, 1, 1, 0);
  EXPECT_TRUE(Same(Pts(a), {{20, 30}, {30, 30}, {35, 40}}));
  geo.SetGroupHidden(*group, true);
  EXPECT_EQ(filling->hidden(), 1u);
  EXPECT_EQ(t->hidden(), 1u);
  Point near{};
  EXPECT_EQ(geo.NearestLine({20, 30}, near, 1), nullptr);
}

} // namespace
} // namespace lumora::test
