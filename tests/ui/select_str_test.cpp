#include "screen/text_window.h"
#include "ui/ask_fixture.h"
#include "ui/select_str.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

constexpr int kUp = 1101, kDown = 1103, kCtrlDown = 3103, kHome = 1106, kEnd = 1107;

struct ListFixture : AskFixture {
  std::vector<std::string> items;
  SelectArgs args;

  ListFixture(int count, int rows, int initial = 0, bool header = false) {
    for (int i = 0; i < count; ++i) items.push_back("Item " + std::to_string(i));
    args = {3, 2, rows, 12, initial, true, header};
    call = [this] { return SelectStr(control, prompts, args, items); };
    Call();
  }
  const SelectList& List() const { return prompts.lists[0]; }
};

TEST(SelectStr, ShowsOnlyTheRowsItHasAndMovesWithinThem) {
  ListFixture f(3, 10);
  EXPECT_EQ(f.Cells(5, 2, 6), "Item 2");
  EXPECT_EQ(f.Cells(6, 2, 6), "      ");
  EXPECT_EQ(f.control.state.inputMode, kModeList);
  f.Key(kDown);
  f.Key(kCtrlDown); // from the second row: to the last, not beyond
  EXPECT_EQ(f.control.state.arrows.listEdge, kListEdgeLast);
  EXPECT_EQ(f.Key(kCodeEnter), 2);
  EXPECT_EQ(f.control.state.inputMode, kModeCursor);
  EXPECT_EQ(f.Cells(3, 2, 6), "      "); // the window took its rows away
}

TEST(SelectStr, ScrollsByOneAndByFiveWithinTheItems) {
  ListFixture f(20, 5, 12);
  EXPECT_EQ(f.Cells(3, 2, 6), "Item 8"); // the initial item on the bottom row
  f.Keys({kDown, kCtrlDown});
  EXPECT_EQ(f.List().first, 14);
  f.Key(kCtrlDown);
  EXPECT_EQ(f.Cells(7, 2, 7), "Item 19");
  f.Keys({kHome, kUp});
  EXPECT_EQ(f.List().first, 0);
  EXPECT_EQ(f.control.state.arrows.listEdge, kListEdgeFirst);
  f.player.Clear();
  EXPECT_EQ(f.Keys({kEnd, 'q'}), kStillRunning); // a key without a meaning here is refused
  EXPECT_EQ(f.Cues(), (std::vector<int>{kSoundKey, kSoundSmallError}));
  EXPECT_EQ(f.Key(kCodeEnter), 19);
  f.Call();
  EXPECT_EQ(f.Key(kCodeTab), kSelectTab); // Backspace, Tab and Ctrl+Enter give their codes
}

TEST(SelectStr, TheHeaderRowIsShownButNeverChosen) {
  ListFixture f(8, 4, 0, true);
  f.Keys({kUp, kEnd});
  EXPECT_EQ(f.Cells(3, 2, 6), "Item 4");
  f.Key(kHome);
  EXPECT_EQ(f.Cells(3, 2, 6), "Item 0"); // the header is back in view
  EXPECT_EQ(f.Key(kCodeEnter), 1);
  f.items.resize(1);
  EXPECT_EQ(f.Call(), kSelectBack); // a header alone offers nothing
}

TEST(SelectStr, NestsThreeDeepAndRefusesTheFourth) {
  ListFixture f(6, 6);
  f.args.row = 4;
  f.Call();
  f.args.row = 5;
  f.Call();
  f.args.row = 10;
  f.player.Clear();
  EXPECT_EQ(f.Call(), kSelectBack);
  EXPECT_TRUE(f.Shown("Too many internal selects !"));
  EXPECT_EQ(f.Cues(), std::vector<int>{kSoundError});
  f.args.row = 5;
  EXPECT_EQ(f.Key(kCodeEsc), kSelectEsc);
  f.args.row = 4;
  EXPECT_EQ(f.Key(kCodeEnter), 0);
  EXPECT_EQ(f.control.state.inputMode, kModeList); // the outer list still has the keys
  f.args.row = 3;
  EXPECT_EQ(f.Key(kCodeEnter), 0);
  EXPECT_EQ(f.control.state.inputMode, kModeCursor);
  EXPECT_TRUE(f.control.state.cursorShown);
}

TEST(SelectStr, TheMouseActsInsideTheListOnly) {
  ListFixture f(5, 5); // rows 3..7 are pixels 32..111, columns 2..13 pixels 10..129
  f.Move(60, 60);      // a row below the highlight: Down
  EXPECT_EQ(f.control.In().code, kDown);
  f.Move(400, 60); // beside the list: nothing
  EXPECT_EQ(f.control.In().code, 0);
  f.Click(60, 90); // the item under the mouse
  EXPECT_EQ(f.Call(), 3);
  f.Call();
  f.Click(400, 60); // outside the list: Esc
  EXPECT_EQ(f.Call(), kSelectEsc);
}

} // namespace
} // namespace lumora
