// Running out of memory: whichever allocation of an add fails, the add shows
// "Memory overflow !", adds nothing and keeps no block.
#include "model/store_fixture.h"

#include <functional>

namespace lumora::test {
namespace {

// Builds a small drawing, then runs one add with the allocator failing at each of its
// allocations in turn.
struct AddCase {
  const char* name;
  std::function<bool(ElementStore&, Drawing&)> add; // true when the add succeeded
};

void Prepare(ElementStore& store) {
  PropertySet set;
  const Point points[] = {{1, 1}, {2, 2}};
  LineElement* line = store.AddLine(set, points, 2);
  store.AddPart("p", 1, 0);
  store.AddMember(store.AddPart("q", 0, 0), line);
}

int ListLengths(const Drawing& d) {
  int n = 0;
  for (auto* e = d.lines; e != nullptr; e = e->next) ++n;
  for (auto* e = d.fillings; e != nullptr; e = e->next) ++n;
  for (auto* e = d.texts; e != nullptr; e = e->next) ++n;
  for (auto* e = d.parts; e != nullptr; e = e->next) ++n;
  for (auto* e = d.parts->lines; e != nullptr; e = e->next) ++n;
  for (auto* e = d.SelectedLines; e != nullptr; e = e->next) ++n;
  for (auto* e = d.MarkerList; e != nullptr; e = e->next) ++n;
  for (auto* e = d.OutlineList; e != nullptr; e = e->next) ++n;
  return n;
}

TEST(StoreAllocation, EveryFailedAllocationOfEveryAddLeavesTheDrawingAsItWas) {
  const Point points[] = {{1, 1}, {2, 2}, {3, 1}};
  const std::vector<AddCase> cases{
      {"AddLine", [&](ElementStore& s, Drawing&) { return s.AddLine({}, points, 3) != nullptr; }},
      {"AddFilling",
       [&](ElementStore& s, Drawing& d) { return s.AddFilling({}, &d.lines, 1) != nullptr; }},
      {"AddText",
       [&](ElementStore& s, Drawing&) { return s.AddText({}, points, 2, "text") != nullptr; }},
      {"AddPart", [&](ElementStore& s, Drawing&) { return s.AddPart("n", 1, 0) != nullptr; }},
      {"AddMember",
       [&](ElementStore& s, Drawing& d) { return s.AddMember(d.parts, d.lines) != nullptr; }},
      {"Select",
       [&](ElementStore& s, Drawing& d) {
         s.Select(d.lines);
         return d.SelectedLines != nullptr;
       }},
      {"AddMarker",
       [&](ElementStore& s, Drawing&) {
         return s.AddMarker({1, 1}, '+') != nullptr;
       }},
      {"AddOutline", [&](ElementStore& s, Drawing&) { return s.AddOutline(points, 3) != nullptr; }},
  };

  for (const AddCase& c : cases) {
    for (int failAt = 1;; ++failAt) {
      Drawing drawing;
      drawing.limits = Box{0, 0, 10, 10};
      RecordingEnvironment env;
      CountingAllocator allocator;
      {
        ElementStore store(drawing, env, allocator);
        Prepare(store);
        const std::size_t liveBefore = allocator.live.size();
        const int lengthBefore = ListLengths(drawing);
        allocator.failAt = allocator.calls + failAt;
        const bool added = c.add(store, drawing);
        if (allocator.calls < allocator.failAt) {
          EXPECT_TRUE(added) << c.name;
          EXPECT_GT(failAt, 1) << c.name << " made no allocation";
          break; // every allocation of this add has been made to fail once
        }
        EXPECT_FALSE(added) << c.name << " allocation " << failAt;
        ASSERT_EQ(env.errors.size(), 1u) << c.name << " allocation " << failAt;
        EXPECT_EQ(env.errors[0], "Memory overflow !");
        EXPECT_EQ(allocator.live.size(), liveBefore) << c.name << " allocation " << failAt;
        EXPECT_EQ(ListLengths(drawing), lengthBefore) << c.name << " allocation " << failAt;
      }
      EXPECT_TRUE(allocator.live.empty()) << c.name;
    }
  }
}

TEST(StoreAllocation, AFailedHatchLeavesTheFillingWithoutOne) {
  Drawing drawing;
  RecordingEnvironment env;
  CountingAllocator allocator;
  ElementStore store(drawing, env, allocator);
  LineElement* none = nullptr;
  FillingElement* filling = store.AddFilling({}, &none, 1);
  const Point segment[] = {{0, 0}, {1, 1}};
  ASSERT_NE(store.SetHatch(*filling, segment, 2), nullptr);
  EXPECT_EQ(filling->hatch->points[1].y, 1.0);
  allocator.failAt = allocator.calls + 1;
  EXPECT_EQ(store.SetHatch(*filling, segment, 2), nullptr);
  EXPECT_EQ(filling->hatch, nullptr);
  EXPECT_EQ(env.errors.size(), 1u);
}

} // namespace
} // namespace lumora::test
