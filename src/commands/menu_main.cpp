#include "commands/menu_functions.h"
#include "control/command_state.h"
#include "ui/menu_bar.h"
#include "ui/select_str.h"

#include <new>

namespace lumora {
namespace {

constexpr int kMenuRow = 3;

// The main-function menu opens below the bar, one column right of its label.
class MainMenu final : public Function {
public:
  int Step(Control& control) override {
    if (control.screen == nullptr || control.menus == nullptr || control.prompts == nullptr) {
      return kFinished;
    }
    Menus& menus = *control.menus;
    if (!open_) {
      open_ = true;
      EnsureMenus(menus, control.Lang());
      BeginFunction(control, Level::kMain, control.In().code);
      SetPrompt(control, kMainMenuTitle, kMainMenuRequest);
      args_ = {kMenuRow,
               CurrentMenuBar(control).main + 1,
               ListHeight(*control.screen),
               menus.main.Width(),
               menus.lastMain,
               true,
               false};
    }
    const int answer = SelectStr(control, *control.prompts, args_, menus.main.Texts());
    if (answer == kStillRunning) return kStillRunning;
    EndFunction(control, Level::kMain);
    if (answer < 0) return kFinished;
    menus.lastMain = answer;
    return menus.main.CodeAt(answer);
  }

private:
  bool open_ = false;
  SelectArgs args_;
};

} // namespace

std::unique_ptr<Function> MakeMainMenu() {
  return std::unique_ptr<Function>(new (std::nothrow) MainMenu);
}

} // namespace lumora
