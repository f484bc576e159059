// Running out of memory: whichever allocation of an add fails, the add shows
// "Memory overflow !", adds nothing and keeps no block.
#include "model/store_fixture.h"

#include <functional>

namespace lumora::test {
namespace {

int Records(const Drawing& d) {
  return StoreTestCount(d.lines) + StoreTestCount(d.fillings) + StoreTestCount(d.texts) +
         StoreTestCount(d.parts) + StoreTestCount(d.parts->lines) +
         StoreTestCount(d.SelectedLines) + StoreTestCount(d.MarkerList) +
         StoreTestCount(d.OutlineList);
}

TEST(StoreAllocation, EveryFailedAllocationOfEveryAddLeavesTheDrawingAsItWas) {
  const Point p[] = {{1, 1}, {2, 2}, {3, 1}};
  using Add = std::function<bool(ElementStore&, Drawing&)>;
  const std::vector<Add> adds{
      [&](ElementStore& s, Drawing&) { return s.AddLine({}, p, 3) != nullptr; },
      [&](ElementStore& s, Drawing& d) { return s.AddFilling({}, &d.lines, 1) != nullptr; },
      [&](ElementStore& s, Drawing&) { return s.AddText({}, p, 2, "text") != nullptr; },
      [&](ElementStore& s, Drawing&) { return s.AddPart("n", 1, 0) != nullptr; },
      [&](ElementStore& s, Drawing& d) { return s.AddMember(d.parts, d.lines) != nullptr; },
      [&](ElementStore& s, Drawing& d) { return s.Select(d.lines), d.SelectedLines != nullptr; },
      [&](ElementStore& s, Drawing&) {
        return s.AddMarker({1, 1}, '+') != nullptr;
      },
      [&](ElementStore& s, Drawing&) { return s.AddOutline(p, 3) != nullptr; },
      [&](ElementStore& s, Drawing& d) { return s.SetHatch(*d.fillings, p, 2) != nullptr; },
  };
  for (std::size_t which = 0; which < adds.size(); ++which) {
    for (int failAt = 1;; ++failAt) {
      Drawing drawing;
      RecordingEnvironment env;
      CountingAllocator allocator;
      {
        ElementStore store(drawing, env, env, allocator);
        LineElement* line = store.AddLine({}, p, 2);
        store.AddFilling({}, &line, 1);
        store.AddMember(store.AddPart("q", 0, 0), line);
        const std::size_t blocks = allocator.live.size();
        const int records = Records(drawing);
        allocator.failAt = allocator.calls + failAt;
        const bool added = adds[which](store, drawing);
        if (allocator.calls < allocator.failAt) { // every allocation has failed once
          EXPECT_TRUE(added && failAt > 1) << "add " << which;
          break;
        }
        SCOPED_TRACE(testing::Message() << "add " << which << ", allocation " << failAt);
        EXPECT_FALSE(added);
        EXPECT_EQ(env.errors, std::vector<std::string>{"Memory overflow !"});
        EXPECT_EQ(allocator.live.size(), blocks);
        EXPECT_EQ(Records(drawing), records);
      }
      EXPECT_TRUE(allocator.live.empty());
    }
  }
}

} // namespace
} // namespace lumora::test
