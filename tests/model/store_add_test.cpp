// Adding records: zone masks against the limits, cleared flags, text rules, list order and the
// change counter.
#include "model/store_fixture.h"

namespace lumora::test {
namespace {

using Zones = std::pair<std::uint32_t, std::uint32_t>;
template <class Element> Zones ZonesOf(const Element* e) {
  return {e->zoneX(), e->zoneY()};
}

TEST_F(StoreTest, ZoneMasksFollowTheBoxAgainstTheLimits) {
  // The whole range, one strip, and an extent touching a strip boundary (x = 10).
  EXPECT_EQ(ZonesOf(Line({{0, 0}, {160, 160}})), Zones(0xFFFF, 0xFFFF));
  EXPECT_EQ(ZonesOf(Line({{1, 151}, {4, 159}})), Zones(0x8000, 0x0001));
  EXPECT_EQ(ZonesOf(Line({{5, 5}, {10, 5}})), Zones(0xC000, 0x8000));
  // An upper half arc around (50, 50) of radius 10 spans y 50..60, not just its end points.
  EXPECT_EQ(ZonesOf(Line({{50, 50}, {60, 50}, {40, 50}}, kShapeArc)), Zones(0x1E00, 0x0E00));
  // A circle around (80, 80) through (90, 80) spans 70..90 both ways.
  EXPECT_EQ(ZonesOf(Line({{80, 80}, {90, 80}}, kShapeCircle)), Zones(0x03C0, 0x03C0));
  // Wholly outside the limits: no strip at all.
  EXPECT_EQ(ZonesOf(Line({{200, 10}, {300, 20}})), Zones(0, 0xE000));
  // A filling takes the box of its boundary lines.
  LineElement* left = Line({{1, 1}, {2, 2}});
  LineElement* right = Line({{155, 1}, {158, 2}});
  EXPECT_EQ(ZonesOf(Filling({left, nullptr, right})), Zones(0xFFFF, 0x8000));
}

TEST_F(StoreTest, LimitsWithoutWidthGiveNoZonesAndARecomputeRestoresThem) {
  drawing.limits = Box{0, 0, 0, 160};
  LineElement* line = Line({{10, 10}, {20, 20}});
  TextElement* text = Text({5, 5});
  EXPECT_EQ(ZonesOf(line), Zones(0, 0xE000));
  EXPECT_EQ(ZonesOf(text), Zones(0, 0x8000));
  drawing.limits = Box{0, 0, 160, 160};
  store.RecomputeZones();
  EXPECT_EQ(ZonesOf(line), Zones(0xE000, 0xE000));
  EXPECT_EQ(ZonesOf(text), Zones(0xC000, 0x8000));
}

TEST_F(StoreTest, AddedRecordsKeepTheirAttributesButNoFlags) {
  PropertySet set;
  set.SetLayer(12);
  set.SetColour(7);
  set.SetSection(5);
  set.SetHidden(1);
  set.SetInPart(1);
  set.SetBoundary(1);
  set.SetSpareFlags(7);
  set.SetTextSpare(3);
  const Point points[] = {{1, 1}, {2, 2}, {3, 1}};
  LineElement* line = store.AddLine(set, points, 3);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->words[0] >> 26, 0u);
  EXPECT_EQ(line->layer(), 12u);
  EXPECT_EQ(line->section(), 5u);
  EXPECT_EQ(line->ps0(), 3u);
  EXPECT_EQ(line->points[2].x, 3.0);

  FillingElement* filling = store.AddFilling(set, &line, 1);
  ASSERT_NE(filling, nullptr);
  EXPECT_EQ(filling->hidden() | filling->inPart() | filling->spareFlags(), 0u);
  EXPECT_EQ(filling->ldista(), 5u);
  EXPECT_EQ(filling->hatch, nullptr);
  EXPECT_EQ(line->boundary(), 1u);

  TextElement* text = store.AddText(set, points, 3, "abc");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->hidden() | text->inPart() | text->spareFlags(), 0u);
  EXPECT_EQ(text->spare(), 3u);
  EXPECT_EQ(text->pointCount(), 3u);
  EXPECT_EQ(text->colour(), 7u);
}

TEST_F(StoreTest, TextsTakeFontZeroForMissingFontsAndBoundedStrings) {
  PropertySet set;
  const Point at{10, 10};
  set.SetFont(3);
  EXPECT_EQ(store.AddText(set, &at, 1, "x")->font(), 0u);
  set.SetFont(2);
  EXPECT_EQ(store.AddText(set, &at, 1, "x")->font(), 0u);
  set.SetFont(1);
  EXPECT_EQ(store.AddText(set, &at, 1, "x")->font(), 1u);

  using namespace std::string_view_literals;
  EXPECT_STREQ(store.AddText(set, &at, 1, "ab\0cd"sv)->text, "ab");
  const std::string huge(40000, 'h');
  EXPECT_EQ(std::string(store.AddText(set, &at, 1, huge)->text).size(), kMaxTextLength);

  // A text needs its location and at most seven points: refused without a change counted.
  const std::uint32_t changes = drawing.changes;
  const Point eight[8] = {};
  EXPECT_EQ(store.AddText(set, &at, 0, "x"), nullptr);
  EXPECT_EQ(store.AddText(set, eight, 8, "x"), nullptr);
  EXPECT_EQ(store.AddLine(set, eight, -1), nullptr);
  EXPECT_EQ(drawing.changes, changes);
  EXPECT_EQ(Count(drawing.texts), 5);
}

TEST_F(StoreTest, ListsAreNewestFirstAndChangesCountAddsAndDeletes) {
  LineElement* first = Line({{1, 1}});
  LineElement* second = Line({{2, 2}});
  LineElement* third = Line({{3, 3}});
  EXPECT_EQ(drawing.lines, third);
  EXPECT_EQ(third->next, second);
  EXPECT_EQ(second->next, first);
  EXPECT_EQ(drawing.changes, 3u);

  PartElement* part = store.AddPart("a part name that is far longer than forty-four letters", 1, 5);
  ASSERT_NE(part, nullptr);
  EXPECT_EQ(drawing.changes, 3u);
  EXPECT_EQ(std::string(part->name), "a part name that is far longer than forty-fo");
  EXPECT_EQ(part->layer(), 5u);
  EXPECT_GT(part->box.xmin, part->box.xmax);

  EXPECT_EQ(store.DeleteLine(second), 1);
  EXPECT_EQ(second, nullptr);
  EXPECT_EQ(third->next, first);
  EXPECT_EQ(drawing.changes, 4u);

  // Not on the list: refused, yet counted. A null pointer is not counted.
  LineElement stranger;
  LineElement* strangerPtr = &stranger;
  EXPECT_EQ(store.DeleteLine(strangerPtr), 0);
  EXPECT_EQ(strangerPtr, &stranger);
  EXPECT_EQ(drawing.changes, 5u);
  LineElement* none = nullptr;
  EXPECT_EQ(store.DeleteLine(none), 0);
  EXPECT_EQ(drawing.changes, 5u);
}

} // namespace
} // namespace lumora::test
