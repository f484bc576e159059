// Part membership: flags, refusals and the part's box.
#include "model/store_fixture.h"

namespace lumora::test {
namespace {

TEST_F(StoreTest, OnlyTypedPartsMarkMembersAndAnElementJoinsOneTypedPart) {
  PartElement* group = Part(0);
  PartElement* door = Part(1);
  PartElement* window = Part(1);
  LineElement* line = Line({{10, 10}, {20, 20}});
  ASSERT_NE(store.AddMember(group, line), nullptr);
  ASSERT_NE(store.AddMember(group, line), nullptr);
  EXPECT_EQ(line->inPart(), 0u);
  ASSERT_NE(store.AddMember(door, line), nullptr);
  EXPECT_EQ(line->inPart(), 1u);
  EXPECT_EQ(store.AddMember(window, line), nullptr);
  EXPECT_EQ(window->lines, nullptr);
  ASSERT_NE(store.AddMember(door, window), nullptr);
  EXPECT_EQ(window->nested(), 1u);
  EXPECT_EQ(store.AddMember(group, window), nullptr);

  // RemoveMember takes every node of the element and clears the flag of a typed part.
  EXPECT_EQ(store.RemoveMember(group, line), 2);
  EXPECT_EQ(line->inPart(), 1u);
  EXPECT_EQ(store.RemoveMember(door, line), 1);
  EXPECT_EQ(line->inPart(), 0u);
}

TEST_F(StoreTest, APartCannotBecomeAMemberOfItself) {
  PartElement* a = Part(0);
  PartElement* b = Part(0);
  PartElement* c = Part(0);
  EXPECT_EQ(store.AddMember(a, a), nullptr);
  ASSERT_NE(store.AddMember(a, b), nullptr);
  ASSERT_NE(store.AddMember(b, c), nullptr);
  EXPECT_EQ(store.AddMember(c, a), nullptr);
  store.Select(a); // would never end with a cycle
}

TEST_F(StoreTest, PartBoxGrowsWithLinesTextsAndPartsButNotFillings) {
  PartElement* part = Part(1);
  store.AddMember(part, Line({{10, 20}, {30, 25}}));
  EXPECT_EQ(part->zoneX(), 0xF000u);
  store.AddMember(part, Filling({Line({{100, 100}, {150, 150}})}));
  EXPECT_EQ(part->box.xmax, 30.0);
  store.AddMember(part, Text({40, 5})); // the text covers 40..50 x 5..7
  EXPECT_EQ(part->box.xmax, 50.0);
  EXPECT_EQ(part->box.ymin, 5.0);

  PartElement* outer = Part(1);
  store.AddMember(outer, Line({{60, 60}, {61, 61}}));
  store.AddMember(outer, part);
  store.AddMember(outer, Part(0)); // an empty part adds nothing, not its empty-box sentinels
  EXPECT_EQ(outer->box.xmin, 10.0);
  EXPECT_EQ(outer->box.xmax, 61.0);
}

} // namespace
} // namespace lumora::test
