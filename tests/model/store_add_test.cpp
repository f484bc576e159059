// Adding records: zone masks against the limits, cleared flags, text rules, list order and the
// change counter.
#include "model/store_fixture.h"

#include <cmath>

namespace lumora::test {
namespace {

using Zones = std::pair<std::uint32_t, std::uint32_t>;
template <class Element> Zones ZonesOf(const Element* e) {
  return {e->zoneX(), e->zoneY()};
}

TEST_F(StoreTest, ZoneMasksFollowTheBoxAgainstTheLimits) {
  // An upper half arc around (50, 50) of radius 10 spans y 50..60, not just its end points.
  EXPECT_EQ(ZonesOf(Line({{50, 50}, {60, 50}, {40, 50}}, kShapeArc)), Zones(0x1E00, 0x0E00));
  EXPECT_EQ(ZonesOf(Line({{80, 80}, {90, 80}}, kShapeCircle)), Zones(0x03C0, 0x03C0));
  // An arc of two points starts and ends at the same point: searches take it for the whole
  // circle, so its zones (and its place in the index) are the circle's.
  EXPECT_EQ(ZonesOf(Line({{80, 80}, {90, 80}}, kShapeArc)), Zones(0x03C0, 0x03C0));
  EXPECT_EQ(ZonesOf(Line({{200, 10}, {300, 20}})), Zones(0, 0xE000));
  LineElement* left = Line({{1, 1}, {2, 2}});
  LineElement* right = Line({{155, 1}, {158, 2}});
  EXPECT_EQ(ZonesOf(Filling({left, nullptr, right})), Zones(0xFFFF, 0x8000));

  // Limits without width give no zones; a recompute after widening them restores them.
  drawing.limits = Box{0, 0, 0, 160};
  LineElement* line = Line({{10, 10}, {20, 20}});
  TextElement* text = Text({5, 5});
  EXPECT_EQ(ZonesOf(line), Zones(0, 0xE000));
  drawing.limits = Box{0, 0, 160, 160};
  store.RecomputeZones();
  EXPECT_EQ(ZonesOf(line), Zones(0xE000, 0xE000));
  EXPECT_EQ(ZonesOf(text), Zones(0xC000, 0x8000));
}

TEST_F(StoreTest, AddedRecordsKeepTheirAttributesButNoFlags) {
  PropertySet set;
  set.words = {0xFFFFFFFFu, 0u, 0xFFFFFFFFu, 0xFFFFFFFFu};
  const Point points[] = {{1, 1}, {2, 2}, {3, 1}};
  LineElement* line = store.AddLine(set, points, 3);
  EXPECT_EQ(line->words[0], 0x03FF0003u);
  EXPECT_EQ(line->points[2].x, 3.0);
  FillingElement* filling = store.AddFilling(set, &line, 1);
  EXPECT_EQ(filling->words[0], 0xF07F0001u);
  EXPECT_EQ(line->boundary(), 1u);
  // Font 3 is not loaded (two fonts are): the text falls back to font 0.
  TextElement* text = store.AddText(set, points, 3, "abc");
  EXPECT_EQ(text->words[0], 0xFFF01FFBu);
  EXPECT_EQ(text->spare(), 3u);
  set.SetFont(1);
  EXPECT_EQ(store.AddText(set, points, 1, "x")->font(), 1u);
}

TEST_F(StoreTest, TextsNeedOneToSevenPointsAndKeepABoundedString) {
  using namespace std::string_view_literals;
  const Point points[8] = {};
  EXPECT_STREQ(store.AddText({}, points, 1, "ab\0cd"sv)->text, "ab");
  EXPECT_EQ(strlen(store.AddText({}, points, 7, std::string(40000, 'h'))->text), kMaxTextLength);
  EXPECT_EQ(store.AddText({}, points, 0, "x"), nullptr);
  EXPECT_EQ(store.AddText({}, points, 8, "x"), nullptr);
  EXPECT_EQ(store.AddLine({}, points, -1), nullptr);
  EXPECT_EQ(drawing.changes, 2u);
  EXPECT_EQ(Count(drawing.texts), 2);
}

TEST_F(StoreTest, PointsThatAreNotFiniteNumbersAreRefused) {
  // Such a drawing could be saved but never read back.
  const double bad[] = {std::nan(""), INFINITY, -INFINITY};
  for (const double value : bad) {
    const Point points[] = {{1, 1}, {value, 2}};
    EXPECT_EQ(store.AddLine({}, points, 2), nullptr);
    EXPECT_EQ(store.AddText({}, points, 2, "x"), nullptr);
  }
  EXPECT_EQ(drawing.lines, nullptr);
  EXPECT_EQ(drawing.texts, nullptr);
  EXPECT_EQ(drawing.changes, 0u);
  ASSERT_EQ(env.errors.size(), 6u);
  EXPECT_EQ(env.errors[0], "Coordinate is not a finite number !");
  EXPECT_TRUE(allocator.live.empty());
}

TEST_F(StoreTest, ListsAreNewestFirstAndChangesCountAddsAndDeletes) {
  LineElement* first = Line({{1, 1}});
  LineElement* second = Line({{2, 2}});
  LineElement* third = Line({{3, 3}});
  EXPECT_EQ(drawing.lines, third);
  EXPECT_EQ(third->next, second);
  EXPECT_EQ(second->next, first);
  PartElement* part = store.AddPart("a part name that is far longer than forty-four letters", 1, 5);
  EXPECT_EQ(std::string(part->name), "a part name that is far longer than forty-fo");
  EXPECT_EQ(drawing.changes, 3u);

  EXPECT_EQ(store.DeleteLine(second), 1);
  EXPECT_EQ(second, nullptr);
  EXPECT_EQ(third->next, first);
  EXPECT_EQ(drawing.changes, 4u);
  // Not on the list: refused, yet counted. A null pointer is not counted.
  LineElement stranger;
  LineElement* strangerPtr = &stranger;
  EXPECT_EQ(store.DeleteLine(strangerPtr), 0);
  EXPECT_EQ(strangerPtr, &stranger);
  LineElement* none = nullptr;
  EXPECT_EQ(store.DeleteLine(none), 0);
  EXPECT_EQ(drawing.changes, 5u);
}

} // namespace
} // namespace lumora::test
