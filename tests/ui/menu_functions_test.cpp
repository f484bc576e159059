#include "control/dispatch_fixture.h"
#include "ui/action_popup.h"
#include "ui/menu_bar.h"
#include "ui/menu_rows.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

constexpr int kCtrlF12 = 3012;
constexpr int kF2 = 1002;

// The program's commands with recorders for keys that menus choose, and the menu bar refreshed
// after every pass as the status line does.
struct MenuFixture : DispatchFixture {
  MenuFixture() {
    table = ProgramCommands();
    Register(kF2, Level::kMain);
    control.hooks.refreshStatus = [this] { RefreshMenuBar(control); };
    control.hooks.menuBarCode = [this](int x, int y) { return MenuBarCode(control, x, y); };
    DispatchInput(control); // the idle prompt and the bar
  }

  void Keys(std::initializer_list<int> keys) {
    for (int key : keys) Key(key);
  }

  // The glyph strings written since the last call.
  std::vector<std::string> Written() {
    std::vector<std::string> texts;
    for (const GlyphCall& call : canvas.glyphs) texts.push_back(call.text);
    canvas.glyphs.clear();
    return texts;
  }
};

bool Contains(const std::vector<std::string>& texts, std::string_view text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TEST(MainMenu, KeyOneShowsTheRowsAndEscGivesTheScreenBack) {
  MenuFixture f;
  const std::vector<std::string> before = f.screen.mirror;
  const std::vector<Rgb> pixels = f.canvas.Pixels();
  f.Key('1');
  EXPECT_EQ(f.Cells(1, 2, 37), "Lumora-program: SELECT MAINFUNCTION !");
  EXPECT_EQ(f.Cells(1, 99, 1), "i"); // written again over the new prompt
  EXPECT_EQ(OpenWindowCount(f.screen), 1);
  EXPECT_EQ(f.control.state.inputMode, kModeList);
  EXPECT_EQ(f.Cells(3, 2, 25), "Add line             <F1>");
  EXPECT_EQ(f.Cells(7, 2, 25), "Add arc              <F2>");
  EXPECT_EQ(f.Cells(29, 2, 25), " area ?          <alt+F8>");
  EXPECT_EQ(f.Cells(30, 2, 25), std::string(25, ' '));
  f.Key(kCodeEsc);
  EXPECT_EQ(OpenWindowCount(f.screen), 0);
  EXPECT_FALSE(AnyLevelActive(f.control));
  EXPECT_EQ(f.control.state.inputMode, kModeCursor);
  EXPECT_EQ(f.screen.mirror, before);
  EXPECT_TRUE(f.canvas.Pixels() == pixels);
  // The key of the open menu closes it, as does a click outside its rows.
  f.Key('1');
  f.Key('1');
  EXPECT_FALSE(AnyLevelActive(f.control));
  TranslateInput(f.control, InputKind::kLeftClick, 5, 20); // the main label
  DispatchInput(f.control);
  EXPECT_EQ(OpenWindowCount(f.screen), 1);
  TranslateInput(f.control, InputKind::kLeftClick, 600, 600);
  DispatchInput(f.control);
  EXPECT_EQ(OpenWindowCount(f.screen), 0);
}

TEST(MainMenu, AChoiceStartsWhatItsKeyStartsAndIsRemembered) {
  MenuFixture f;
  f.Keys({'1', kCodeDown, kCodeDown, kCodeDown, kCodeDown, kCodeEnter});
  EXPECT_EQ(f.CodesOf(kF2), std::vector<int>{kF2});
  EXPECT_EQ(LevelCode(f.control, Level::kMain), kF2);
  EXPECT_EQ(OpenWindowCount(f.screen), 0);
  // The menu cancels the running function and opens on the row chosen last.
  f.Keys({'1', kCodeEnter});
  EXPECT_EQ(f.CodesOf(kF2), (std::vector<int>{kF2, kCodeEsc, kF2}));
  // A row whose command does not exist yet answers as its key: not in use.
  f.Written();
  f.Keys({kCodeEsc, '1', kCodeUp, kCodeEnter});
  EXPECT_TRUE(Contains(f.Written(), "Not in use !"));
  EXPECT_FALSE(AnyLevelActive(f.control));
}

TEST(MainMenu, TheMouseMovesTheHighlightAndAClickChooses) {
  MenuFixture f;
  f.Key('1');
  // Row 7 of the screen is the fifth row of the menu: Add arc.
  TranslateInput(f.control, InputKind::kMotion, 100, 6 * kCellHeight + 8);
  DispatchInput(f.control);
  TranslateInput(f.control, InputKind::kLeftClick, 100, 6 * kCellHeight + 8);
  DispatchInput(f.control);
  EXPECT_EQ(f.CodesOf(kF2), std::vector<int>{kF2});
}

TEST(HelpMenu, GridSizeAnswersExactlyAsCtrlF12) {
  MenuFixture f;
  f.Key(kCtrlF12);
  EXPECT_TRUE(Contains(f.Written(), "Not in use !"));
  const std::vector<int> cues = f.Cues();
  f.Key('3');
  EXPECT_EQ(f.Cells(1, 2, 38), "Helpfunctions: SELECT HELPFUNCTION !  ");
  EXPECT_EQ(f.Cells(3, 8, 31), "Zoom                       <F9>");
  for (int row = 1; row < 10; ++row) f.Key(kCodeDown);
  f.Key(kCodeEnter);
  EXPECT_TRUE(Contains(f.Written(), "Not in use !"));
  EXPECT_EQ(f.Cues().back(), cues.back());
  EXPECT_FALSE(AnyLevelActive(f.control));

  // With the command in the table the chosen row starts it, as the key would.
  f.Register(kCtrlF12, Level::kHelp);
  f.Keys({'3', kCodeEnter});
  EXPECT_EQ(f.CodesOf(kCtrlF12), std::vector<int>{kCtrlF12});
  EXPECT_EQ(LevelCode(f.control, Level::kHelp), kCtrlF12);
}

TEST(HelpMenu, OverARunningFunctionItKeepsItsTitleAndItsPoints) {
  MenuFixture f;
  f.Key(kF2);
  f.control.In().pointCount = 3;
  f.Key('3');
  EXPECT_EQ(f.Cells(1, 2, 26), "Test: SELECT HELPFUNCTION ");
  f.Key(kCodeEsc);
  EXPECT_EQ(LevelCode(f.control, Level::kMain), kF2);
  EXPECT_EQ(f.control.In().pointCount, 3);
  EXPECT_EQ(f.CodesOf(kF2), std::vector<int>{kF2});
  // The main-function menu closes an open help menu and the other way round.
  f.Keys({kCodeEsc, '3', '1'});
  EXPECT_FALSE(LevelActive(f.control, Level::kHelpMenu));
  EXPECT_EQ(OpenWindowCount(f.screen), 1);
  EXPECT_EQ(f.Cells(3, 2, 8), "Add line");
  f.Key('3');
  EXPECT_FALSE(LevelActive(f.control, Level::kMain));
  EXPECT_EQ(f.Cells(3, 8, 4), "Zoom");
}

TEST(ActionPopup, OpensAtTheMouseMovedToFitTheWindow) {
  MenuFixture f;
  TranslateInput(f.control, InputKind::kRightClick, 995, 795);
  DispatchInput(f.control);
  // Four rows of 19 columns in a 100 x 50 grid end at the last row and column.
  EXPECT_EQ(f.Cells(47, 82, 19), "Completed     <tab>");
  EXPECT_EQ(f.Cells(50, 82, 19), "Quit          <esc>");
  // A second right click closes it.
  TranslateInput(f.control, InputKind::kRightClick, 995, 795);
  DispatchInput(f.control);
  EXPECT_EQ(OpenWindowCount(f.screen), 0);
  // Near the top left it keeps clear of the bar and the frame.
  TranslateInput(f.control, InputKind::kRightClick, 3, 3);
  DispatchInput(f.control);
  EXPECT_EQ(f.Cells(3, 2, 9), "Completed");
  TranslateInput(f.control, InputKind::kRightClick, 403, 303);
  DispatchInput(f.control);
  TranslateInput(f.control, InputKind::kRightClick, 403, 303);
  DispatchInput(f.control);
  EXPECT_EQ(f.Cells(19, 41, 9), "Completed");
  EXPECT_EQ(PopupPlace(0, 0, 4, 19, 4, 10), (Cell{3, 2}));
}

TEST(ActionPopup, ItsChoiceReachesTheRunningFunctionWithItsPointsKept) {
  MenuFixture f;
  f.Key(kF2);
  f.control.In().pointCount = 2;
  f.control.state.actionVariant = kPopupClose;
  f.RightClick();
  EXPECT_EQ(f.Cells(26, 51, 9), "Completed");
  EXPECT_EQ(f.Cells(27, 51, 19), "close  <ctrl+enter>");
  f.Keys({kCodeDown, kCodeEnter});
  EXPECT_EQ(f.CodesOf(kF2), (std::vector<int>{kF2, kCodeCtrlEnter}));
  EXPECT_EQ(f.control.In().pointCount, 2);
  EXPECT_FALSE(LevelActive(f.control, Level::kPopup));
  // Esc closes it with nothing for the function; it opens on the row chosen last.
  f.RightClick();
  f.Key(kCodeEsc);
  f.RightClick();
  f.Key(kCodeEnter);
  EXPECT_EQ(f.CodesOf(kF2), (std::vector<int>{kF2, kCodeCtrlEnter, kCodeCtrlEnter}));
}

TEST(MenuLanguage, SwitchingShowsFinnishLabelsAtOnceAndRowsOnTheNextOpening) {
  MenuFixture f;
  EXPECT_EQ(f.Cells(2, 1, 11), "Main. Help.");
  f.Keys({'1', kCodeDown, kCodeDown, kCodeDown, kCodeDown, kCodeEnter, kCodeEsc});
  f.Key(kCodeLanguage);
  EXPECT_EQ(f.Cells(2, 1, 11), "P\xE4\xE4t. Aput.");
  f.Key('1');
  EXPECT_EQ(f.Cells(1, 2, 37), "Lumora-ohjelma: VALITSE P\xC4\xC4TOIMINTO !");
  EXPECT_EQ(f.Cells(3, 2, 27), "Lis\xE4\xE4 viiva            <F1>");
  f.Key(kCodeEnter); // the row chosen before the switch
  EXPECT_EQ(f.CodesOf(kF2), (std::vector<int>{kF2, kCodeEsc, kF2}));
}

TEST(PropertiesLabel, StandsWithAnElementTypeAndAnswersAsItsKeyDoesToday) {
  MenuFixture f;
  f.control.state.elementType = kElementText;
  RefreshMenuBar(f.control);
  EXPECT_EQ(f.Cells(2, 1, 15), "Main. Pr. Help.");
  f.Written();
  TranslateInput(f.control, InputKind::kLeftClick, 75, 20);
  DispatchInput(f.control);
  EXPECT_TRUE(Contains(f.Written(), "Not in use !"));
  // Its neighbours moved with it.
  TranslateInput(f.control, InputKind::kLeftClick, 105, 20);
  DispatchInput(f.control);
  EXPECT_EQ(f.Cells(3, 12, 4), "Zoom");
  f.Key(kCodeEsc);
  f.control.state.elementType = kElementNone;
  RefreshMenuBar(f.control);
  EXPECT_EQ(f.Cells(2, 1, 15), "Main. Help.    ");
}

} // namespace
} // namespace lumora
