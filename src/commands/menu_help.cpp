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

// The help-function menu: over a running main function its title stays in the prompt.
class HelpMenu final : public Function {
public:
  int Step(Control& control) override {
    if (control.screen == nullptr || control.menus == nullptr || control.prompts == nullptr) {
      return kFinished;
    }
    Menus& menus = *control.menus;
    if (!open_) {
      open_ = true;
      EnsureMenus(menus, control.Lang());
      BeginFunction(control, Level::kHelpMenu, control.In().code);
      const LevelSlot& main = control.Slot(Level::kMain);
      const TextPair title =
          main.code != 0 ? TextPair{main.title[kEnglish], main.title[kFinnish]} : kHelpMenuTitle;
      SetPrompt(control, title, kHelpMenuRequest);
      args_ = {kMenuRow,
               CurrentMenuBar(control).help + 1,
               ListHeight(*control.screen),
               menus.help.Width(),
               menus.lastHelp,
               true,
               false};
    }
    const int answer = SelectStr(control, *control.prompts, args_, menus.help.Texts());
    if (answer == kStillRunning) return kStillRunning;
    EndFunction(control, Level::kHelpMenu);
    if (answer < 0) return kFinished;
    menus.lastHelp = answer;
    return menus.help.CodeAt(answer);
  }

private:
  bool open_ = false;
  SelectArgs args_;
};

} // namespace

std::unique_ptr<Function> MakeHelpMenu() {
  return std::unique_ptr<Function>(new (std::nothrow) HelpMenu);
}

} // namespace lumora
