#include "commands/menu_functions.h"
#include "control/command_state.h"
#include "ui/menu_bar.h"
#include "ui/select_str.h"

#include <new>

namespace lumora {
namespace {

constexpr int kMenuRow = 3;
constexpr std::size_t kEnglish = 1; // index of the English text in a level's prompt
constexpr std::size_t kFinnish = 0;

// What tells the two menus of the bar apart: their level, rows, remembered row, the column of
// their label and their prompt.
struct BarMenuKind {
  Level level;
  MenuTable Menus::*table;
  int Menus::*last;
  int MenuBarLayout::*column;
  TextPair (*title)(const Control&);
  TextPair request;
};

TextPair MainMenuTitle(const Control&) {
  return kMainMenuTitle;
}

// Over a running main function the help menu keeps that function's title in the prompt.
TextPair HelpMenuTitle(const Control& control) {
  const LevelSlot& main = control.Slot(Level::kMain);
  return main.code != 0 ? TextPair{main.title[kEnglish], main.title[kFinnish]} : kHelpMenuTitle;
}

constexpr BarMenuKind kMainMenuKind{Level::kMain,         &Menus::main,  &Menus::lastMain,
                                    &MenuBarLayout::main, MainMenuTitle, kMainMenuRequest};
constexpr BarMenuKind kHelpMenuKind{Level::kHelpMenu,     &Menus::help,  &Menus::lastHelp,
                                    &MenuBarLayout::help, HelpMenuTitle, kHelpMenuRequest};

// A menu of the bar opens below it, one column right of its label.
class BarMenu final : public Function {
public:
  explicit BarMenu(const BarMenuKind& kind) : kind_(kind) {}

  int Step(Control& control) override {
    if (control.screen == nullptr || control.menus == nullptr || control.prompts == nullptr) {
      return kFinished;
    }
    Menus& menus = *control.menus;
    const MenuTable& table = menus.*kind_.table;
    if (!open_) {
      open_ = true;
      EnsureMenus(menus, control.Lang());
      BeginFunction(control, kind_.level, control.In().code);
      SetPrompt(control, kind_.title(control), kind_.request);
      args_ = {kMenuRow,
               CurrentMenuBar(control).*kind_.column + 1,
               ListHeight(*control.screen),
               table.Width(),
               menus.*kind_.last,
               true,
               false};
    }
    const int answer = SelectStr(control, *control.prompts, args_, table.Texts());
    if (answer == kStillRunning) return kStillRunning;
    EndFunction(control, kind_.level);
    if (answer < 0) return kFinished;
    menus.*kind_.last = answer;
    return table.CodeAt(answer);
  }

private:
  const BarMenuKind& kind_;
  bool open_ = false;
  SelectArgs args_;
};

} // namespace

std::unique_ptr<Function> MakeMainMenu() {
  return std::unique_ptr<Function>(new (std::nothrow) BarMenu(kMainMenuKind));
}

std::unique_ptr<Function> MakeHelpMenu() {
  return std::unique_ptr<Function>(new (std::nothrow) BarMenu(kHelpMenuKind));
}

} // namespace lumora
