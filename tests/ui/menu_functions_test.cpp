#include "control/dispatch_fixture.h"
#include "ui/menu_bar.h"
#include "ui/menu_rows.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

constexpr int kF2 = kCodeAddArc;

// The program's commands with a recorder for F2, and the menu bar as the window has it.
struct MenuFixture : DispatchFixture {
  MenuFixture() {
    table = ProgramCommands();
    Register(kF2, Level::kMain);
    DispatchInput(control); // the idle prompt and the bar
  }

  void Keys(std::initializer_list<int> keys) {
    for (int key : keys) Key(key);
  }
  void Click(InputKind kind, int x, int y) {
    TranslateInput(control, kind, x, y);
    DispatchInput(control);
  }
  bool Wrote(std::string_view text) const {
    return std::any_of(canvas.glyphs.begin(), canvas.glyphs.end(),
                       [&](const GlyphCall& call) { return call.text == text; });
  }
};

TEST(HelpMenu, OverARunningFunctionItKeepsItsTitleAndItsPoints) {
  MenuFixture f;
  f.Key(kF2);
  f.control.In().pointCount = 3;
  f.Key('3');
  EXPECT_EQ(f.Cells(1, 2, 26), "Test: SELECT HELPFUNCTION ");
  EXPECT_EQ(f.Cells(1, 99, 1), "i"); // written again over the new prompt
  f.Key(kCodeEsc);
  EXPECT_EQ(LevelCode(f.control, Level::kMain), kF2);
  EXPECT_EQ(f.control.In().pointCount, 3);
  // The main-function menu closes an open help menu and the other way round.
  f.Keys({kCodeEsc, '3', '1'});
  EXPECT_FALSE(LevelActive(f.control, Level::kHelpMenu));
  EXPECT_EQ(f.Cells(3, 2, 8), "Add line");
  f.Key('3');
  EXPECT_FALSE(LevelActive(f.control, Level::kMain));
  EXPECT_EQ(f.Cells(3, 8, 4), "Zoom");
}

TEST(ActionPopup, ItsChoiceReachesTheRunningFunctionWithItsPointsKept) {
  MenuFixture f;
  f.Key(kF2);
  f.control.In().pointCount = 2;
  f.control.state.actionVariant = kPopupClose;
  f.RightClick();
  EXPECT_EQ(f.Cells(27, 51, 19), "close  <ctrl+enter>");
  f.Keys({kCodeDown, kCodeEnter});
  EXPECT_EQ(f.CodesOf(kF2), (std::vector<int>{kF2, kCodeCtrlEnter}));
  EXPECT_EQ(f.control.In().pointCount, 2);
  // Esc closes it with nothing for the function; it opens on the row chosen last.
  f.RightClick();
  f.Key(kCodeEsc);
  f.RightClick();
  f.Key(kCodeEnter);
  EXPECT_EQ(f.CodesOf(kF2), (std::vector<int>{kF2, kCodeCtrlEnter, kCodeCtrlEnter}));
}

TEST(MenuBar, ThePropertiesLabelAndTheFieldsAnswerWithTheState) {
  MenuFixture f;
  f.control.state.elementType = kElementText;
  RefreshMenuBar(f.control);
  EXPECT_EQ(f.Cells(2, 1, 15), "Main. Pr. Help.");
  f.Click(InputKind::kLeftClick, 75, 20); // the dialog of the element type, as its key opens it
  EXPECT_NE(f.Cells(1, 1, 40).find("Properties of text: "), std::string::npos);
  f.Click(InputKind::kLeftClick, 105, 20);
  EXPECT_EQ(f.Cells(3, 12, 4), "Zoom");
  f.Key(kCodeEsc);
  TranslateInput(f.control, InputKind::kLeftClick, 200, 20);
  EXPECT_EQ(f.control.In().code, 3108);
  f.Register(DispatchFixture::kHelpKey, Level::kHelp);
  f.Key(DispatchFixture::kHelpKey); // while a help function runs the fields are no entry
  TranslateInput(f.control, InputKind::kLeftClick, 200, 20);
  EXPECT_EQ(f.control.In().code, kCodeEnter);
}

} // namespace
} // namespace lumora
