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
  explicit HelpMenu(std::shared_ptr<Menus> menus) : menus_(std::move(menus)) {}

  int Step(Control& control) override {
    if (control.screen == nullptr) return kFinished;
    if (!open_) {
      open_ = true;
      EnsureMenus(*menus_, control.Lang());
      BeginFunction(control, Level::kHelpMenu, control.In().code);
      const LevelSlot& main = control.Slot(Level::kMain);
      const TextPair title =
          main.code != 0 ? TextPair{main.title[kEnglish], main.title[kFinnish]} : kHelpMenuTitle;
      SetPrompt(control, title, kHelpMenuRequest);
      args_ = {kMenuRow,
               CurrentMenuBar(control).help + 1,
               ListHeight(*control.screen),
               menus_->help.Width(),
               menus_->lastHelp,
               true,
               false};
    }
    const int answer = SelectStr(control, menus_->prompts, args_, menus_->help.Texts());
    if (answer == kStillRunning) return kStillRunning;
    EndFunction(control, Level::kHelpMenu);
    if (answer < 0) return kFinished;
    menus_->lastHelp = answer;
    return menus_->help.CodeAt(answer);
  }

private:
  std::shared_ptr<Menus> menus_;
  bool open_ = false;
  SelectArgs args_;
};

} // namespace

FunctionFactory HelpMenuFactory(std::shared_ptr<Menus> menus) {
  return [menus] { return std::unique_ptr<Function>(new (std::nothrow) HelpMenu(menus)); };
}

} // namespace lumora
