// Part membership: flags, refusals, the part's box and attribute changes over members.
#include "model/store_fixture.h"

namespace lumora::test {
namespace {

TEST_F(StoreTest, OnlyTypedPartsMarkMembersAndAnElementJoinsOneTypedPart) {
  PartElement* group = store.AddPart("", 0, 0);
  PartElement* door = store.AddPart("door", 1, 0);
  PartElement* window = store.AddPart("window", 1, 0);
  LineElement* line = Line({{10, 10}, {20, 20}});

  ASSERT_NE(store.AddMember(group, line), nullptr);
  EXPECT_EQ(line->inPart(), 0u);
  ASSERT_NE(store.AddMember(door, line), nullptr);
  EXPECT_EQ(line->inPart(), 1u);
  EXPECT_EQ(store.AddMember(window, line), nullptr);
  EXPECT_EQ(store.AddMember(group, line), nullptr);
  EXPECT_EQ(window->lines, nullptr);

  ASSERT_NE(store.AddMember(door, window), nullptr);
  EXPECT_EQ(window->nested(), 1u);
  EXPECT_EQ(store.AddMember(group, window), nullptr);
  EXPECT_EQ(store.AddMember(door, static_cast<LineElement*>(nullptr)), nullptr);
  EXPECT_EQ(store.AddMember(nullptr, line), nullptr);
}

TEST_F(StoreTest, APartCannotBecomeAMemberOfItself) {
  PartElement* a = store.AddPart("a", 0, 0);
  PartElement* b = store.AddPart("b", 0, 0);
  PartElement* c = store.AddPart("c", 0, 0);
  EXPECT_EQ(store.AddMember(a, a), nullptr);
  ASSERT_NE(store.AddMember(a, b), nullptr);
  ASSERT_NE(store.AddMember(b, c), nullptr);
  EXPECT_EQ(store.AddMember(c, a), nullptr);
  EXPECT_EQ(store.AddMember(b, a), nullptr);
  store.Select(a); // would never end with a cycle
}

TEST_F(StoreTest, PartBoxGrowsWithLinesTextsAndPartsButNotFillings) {
  PartElement* part = store.AddPart("p", 1, 0);
  LineElement* line = Line({{10, 20}, {30, 25}});
  store.AddMember(part, line);
  EXPECT_EQ(part->box.xmin, 10.0);
  EXPECT_EQ(part->box.ymax, 25.0);
  EXPECT_EQ(part->zoneX(), 0xF000u);

  store.AddMember(part, Filling({Line({{100, 100}, {150, 150}})}));
  EXPECT_EQ(part->box.xmax, 30.0);

  store.AddMember(part, Text({40, 5})); // the text covers 40..50 x 5..7
  EXPECT_EQ(part->box.xmax, 50.0);
  EXPECT_EQ(part->box.ymin, 5.0);

  PartElement* outer = store.AddPart("o", 1, 0);
  store.AddMember(outer, Line({{60, 60}, {61, 61}}));
  store.AddMember(outer, part);
  EXPECT_EQ(outer->box.xmin, 10.0);
  EXPECT_EQ(outer->box.ymax, 61.0);

  // An empty member part adds nothing, not its empty-box sentinels.
  PartElement* empty = store.AddPart("e", 0, 0);
  store.AddMember(outer, empty);
  EXPECT_EQ(outer->box.xmin, 10.0);
  EXPECT_EQ(outer->box.xmax, 61.0);
}

TEST_F(StoreTest, RemoveMemberTakesEveryNodeAndKeepsTheBox) {
  PartElement* group = store.AddPart("", 0, 0);
  PartElement* typed = store.AddPart("t", 1, 0);
  LineElement* line = Line({{10, 10}, {20, 20}});
  LineElement* other = Line({{30, 30}, {40, 40}});
  store.AddMember(group, line);
  store.AddMember(group, other);
  store.AddMember(group, line);
  EXPECT_EQ(store.RemoveMember(group, line), 2);
  EXPECT_EQ(Count(group->lines), 1);
  EXPECT_EQ(store.RemoveMember(group, line), 0);

  store.AddMember(typed, line);
  EXPECT_EQ(store.RemoveMember(typed, line), 1);
  EXPECT_EQ(line->inPart(), 0u);
  EXPECT_EQ(typed->box.xmax, 20.0);
  EXPECT_TRUE(ElementStore::PartIsEmpty(typed));
  EXPECT_TRUE(ElementStore::PartIsEmpty(nullptr));
  EXPECT_FALSE(ElementStore::PartIsEmpty(group));
}

TEST_F(StoreTest, ApplyPartAttributesChangesOnlyWhatTheSetGives) {
  PartElement* part = store.AddPart("p", 1, 3);
  PropertySet set;
  set.SetLayer(9);
  set.SetWidth(4);
  set.SetColour(6);
  const Point at{1, 1};
  LineElement* line = store.AddLine(set, &at, 1);
  TextElement* text = store.AddText(set, &at, 1, "t");
  store.AddMember(part, line);
  store.AddMember(part, text);

  PropertySet keep;
  keep.SetLayer(kMixedLayer);
  store.ApplyPartAttributes(part, keep);
  EXPECT_EQ(part->layer(), kMixedLayer);
  EXPECT_EQ(line->layer(), 9u);
  EXPECT_EQ(line->width(), 4u);
  EXPECT_EQ(text->colour(), 6u);

  PropertySet change;
  change.SetLayer(2);
  change.SetColour(11);
  store.ApplyPartAttributes(part, change);
  EXPECT_EQ(line->layer(), 2u);
  EXPECT_EQ(text->layer(), 2u);
  EXPECT_EQ(line->width(), 4u);
  EXPECT_EQ(text->colour(), 11u);
}

} // namespace
} // namespace lumora::test
