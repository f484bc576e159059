#include "ui/ask_fixture.h"
#include "ui/select_str.h"
#include "ui/text_window.h"

#include <gtest/gtest.h>
#include <vector>

namespace lumora {
namespace {

constexpr int kDown = 1103;
constexpr int kCtrlDown = 3103;
constexpr int kUp = 1101;
constexpr int kHome = 1106;
constexpr int kEnd = 1107;

std::vector<std::string> Items(int count) {
  std::vector<std::string> items;
  for (int i = 0; i < count; ++i) items.push_back("Item " + std::to_string(i));
  return items;
}

struct ListFixture : AskFixture {
  std::vector<std::string> items;
  SelectArgs args;

  ListFixture(int count, int rows, int initial = 0, bool header = false) : items(Items(count)) {
    args.rows = rows;
    args.width = 12;
    args.initial = initial;
    args.ownWindow = true;
    args.header = header;
    control.In() = {};
  }
  int Call() { return SelectStr(control, prompts, args, items); }
  int Press(int key) {
    Translate(key);
    return Call();
  }
  const SelectList& List() const { return prompts.lists[0]; }
};

TEST(SelectStr, ShowsOnlyTheRowsItHasAndMovesWithinThem) {
  ListFixture f(3, 10);
  EXPECT_EQ(f.Call(), kStillRunning);
  EXPECT_EQ(f.List().rows, 3);
  EXPECT_EQ(OpenWindowCount(f.screen), 1);
  EXPECT_EQ(f.Cells(3, 2, 6), "Item 0");
  EXPECT_EQ(f.Cells(5, 2, 6), "Item 2");
  EXPECT_EQ(f.Cells(6, 2, 6), "      ");
  EXPECT_EQ(f.control.state.inputMode, kModeList);
  EXPECT_EQ(f.Press(kDown), kStillRunning);
  EXPECT_EQ(f.control.state.arrows.listEdge, 0);
  EXPECT_EQ(f.Press(kCtrlDown), kStillRunning); // from the second row: to the last, not beyond
  EXPECT_EQ(f.List().index, 2);
  EXPECT_EQ(f.control.state.arrows.listEdge, kListEdgeLast);
  EXPECT_EQ(f.Press(kCodeEnter), 2);
  EXPECT_EQ(f.prompts.listDepth, 0);
  EXPECT_EQ(OpenWindowCount(f.screen), 0);
  EXPECT_EQ(f.control.state.inputMode, kModeCursor);
  EXPECT_EQ(f.Cells(3, 2, 6), "      ");
}

TEST(SelectStr, ScrollsByOneAndByFiveWithinTheItems) {
  ListFixture f(20, 5, 12);
  f.Call();
  EXPECT_EQ(f.List().first, 8); // the initial item on the bottom row
  EXPECT_EQ(f.Cells(3, 2, 6), "Item 8");
  f.Press(kDown);
  EXPECT_EQ(f.List().first, 9);
  f.Press(kCtrlDown);
  EXPECT_EQ(f.List().index, 18);
  EXPECT_EQ(f.List().first, 14);
  f.Press(kCtrlDown);
  EXPECT_EQ(f.List().index, 19);
  EXPECT_EQ(f.Cells(7, 2, 7), "Item 19");
  f.Press(kHome);
  EXPECT_EQ(f.List().index, 0);
  EXPECT_EQ(f.List().first, 0);
  EXPECT_EQ(f.control.state.arrows.listEdge, kListEdgeFirst);
  f.Press(kUp);
  EXPECT_EQ(f.List().index, 0);
  f.Press(kEnd);
  EXPECT_EQ(f.List().first, 15);
  EXPECT_EQ(f.Press(kCodeEnter), 19);
}

TEST(SelectStr, TheHeaderRowIsShownButNeverChosen) {
  ListFixture f(8, 4, 0, true);
  f.Call();
  EXPECT_EQ(f.List().index, 1);
  f.Press(kUp);
  EXPECT_EQ(f.List().index, 1);
  f.Press(kEnd);
  EXPECT_EQ(f.Cells(3, 2, 6), "Item 4");
  f.Press(kHome);
  EXPECT_EQ(f.Cells(3, 2, 6), "Item 0"); // the header scrolls back into view
  EXPECT_EQ(f.Press(kCodeEnter), 1);
  f.items.resize(1);
  EXPECT_EQ(f.Call(), kSelectBack); // a header alone offers nothing
  f.items.clear();
  f.args.header = false;
  EXPECT_EQ(f.Call(), kSelectBack);
}

TEST(SelectStr, EndKeysGiveTheirResults) {
  for (const auto& [key, result] :
       std::vector<std::pair<int, int>>{{kCodeBackspace, kSelectBack},
                                        {kCodeTab, kSelectTab},
                                        {kCodeCtrlEnter, kSelectCtrlEnter},
                                        {kCodeEsc, kSelectEsc}}) {
    ListFixture f(4, 4, 2);
    f.Call();
    f.player.Clear();
    EXPECT_EQ(f.Press('q'), kStillRunning);
    EXPECT_EQ(f.Cues(), std::vector<int>{kSoundSmallError});
    EXPECT_EQ(f.Press(key), result);
    EXPECT_EQ(f.prompts.listDepth, 0);
  }
}

TEST(SelectStr, NestsThreeDeepAndRefusesTheFourth) {
  ListFixture f(6, 6);
  for (int depth = 0; depth < kMaxNestedLists; ++depth) {
    f.args.row = 3 + depth;
    EXPECT_EQ(f.Call(), kStillRunning);
  }
  EXPECT_EQ(f.prompts.listDepth, 3);
  f.player.Clear();
  f.args.row = 10;
  EXPECT_EQ(f.Call(), kSelectBack);
  EXPECT_TRUE(f.Shown("Too many internal selects !"));
  EXPECT_EQ(f.Cues(), std::vector<int>{kSoundError});
  // The innermost returns; the next one out is a list again, and the outermost gives back the
  // cursor mode it found.
  f.args.row = 5;
  EXPECT_EQ(f.Press(kCodeEsc), kSelectEsc);
  f.args.row = 4;
  EXPECT_EQ(f.Press(kDown), kStillRunning);
  EXPECT_EQ(f.control.state.inputMode, kModeList);
  EXPECT_EQ(f.Press(kCodeEnter), 1);
  f.args.row = 3;
  EXPECT_EQ(f.Press(kCodeEnter), 0);
  EXPECT_EQ(f.control.state.inputMode, kModeCursor);
  EXPECT_TRUE(f.control.state.cursorShown);
  EXPECT_EQ(OpenWindowCount(f.screen), 0);
}

TEST(SelectStr, TheMouseActsInsideTheListOnly) {
  ListFixture f(5, 5);
  f.Call();
  // Rows 3..7 are pixels 32..111; columns 2..13 pixels 10..129.
  f.Move(60, 60); // row 4, two rows below the highlight: the mouse acts as Down
  EXPECT_EQ(f.control.In().code, kDown);
  f.Call();
  EXPECT_EQ(f.List().index, 1);
  f.Move(400, 60); // beside the list: nothing
  EXPECT_EQ(f.control.In().code, 0);
  f.Click(60, 90); // row 6: that item
  EXPECT_EQ(f.Call(), 3);
  f.Call();
  f.Click(400, 60); // a click outside the list is Esc
  EXPECT_EQ(f.Call(), kSelectEsc);
}

} // namespace
} // namespace lumora
