#include "commands/menu_functions.h"
#include "protocol/command_state.h"
#include "screen/text_screen.h"
#include "ui/menu_bar.h"

namespace lumora {

// What tells the two menus of the bar apart: their rows, remembered row, the column of their
// label and their prompt.
struct BarMenuKind {
  MenuTable Menus::*table;
  int Menus::*last;
  int MenuBarLayout::*column;
  TextPair (*title)(const Control&);
  TextPair request;
};

namespace {

constexpr int kMenuRow = 3;

TextPair MainMenuTitle(const Control&) {
  return kMainMenuTitle;
}

// Over a running main function the help menu keeps that function's title in the prompt.
TextPair HelpMenuTitle(const Control& control) {
  const LevelSlot& main = control.Slot(Level::kMain);
  return main.code != 0 ? main.Title() : kHelpMenuTitle;
}

constexpr BarMenuKind kMainMenuKind{&Menus::main, &Menus::lastMain, &MenuBarLayout::main,
                                    MainMenuTitle, kMainMenuRequest};
constexpr BarMenuKind kHelpMenuKind{&Menus::help, &Menus::lastHelp, &MenuBarLayout::help,
                                    HelpMenuTitle, kHelpMenuRequest};

} // namespace

int BarMenu::Start(Control& control, const CommandRow& row) {
  Menus& menus = control.menus;
  EnsureMenus(menus, control.Lang());
  BeginFunction(control, row);
  SetPrompt(control, kind_.title(control), kind_.request);
  const MenuTable& table = menus.*kind_.table;
  args_ = {kMenuRow,
           CurrentMenuBar(control).*kind_.column + 1,
           ListHeight(control.screen),
           table.Width(),
           menus.*kind_.last,
           true,
           false};
  return Continue(control, row);
}

int BarMenu::Continue(Control& control, const CommandRow& row) {
  Menus& menus = control.menus;
  const MenuTable& table = menus.*kind_.table;
  const int answer = SelectStr(control, control.prompts, args_, table.Texts());
  if (answer == kStillRunning) return kStillRunning;
  EndFunction(control, row.level);
  if (answer < 0) return kFinished;
  menus.*kind_.last = answer;
  return table.CodeAt(answer);
}

MainMenu::MainMenu() : BarMenu(kMainMenuKind) {}

HelpMenu::HelpMenu() : BarMenu(kHelpMenuKind) {}

} // namespace lumora
