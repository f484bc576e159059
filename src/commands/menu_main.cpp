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
  explicit MainMenu(std::shared_ptr<Menus> menus) : menus_(std::move(menus)) {}

  int Step(Control& control) override {
    if (control.screen == nullptr) return kFinished;
    if (!open_) {
      open_ = true;
      EnsureMenus(*menus_, control.Lang());
      BeginFunction(control, Level::kMain, control.In().code);
      SetPrompt(control, kMainMenuTitle, kMainMenuRequest);
      args_ = {kMenuRow,
               CurrentMenuBar(control).main + 1,
               ListHeight(*control.screen),
               menus_->main.Width(),
               menus_->lastMain,
               true,
               false};
    }
    const int answer = SelectStr(control, menus_->prompts, args_, menus_->main.Texts());
    if (answer == kStillRunning) return kStillRunning;
    EndFunction(control, Level::kMain);
    if (answer < 0) return kFinished;
    menus_->lastMain = answer;
    return menus_->main.CodeAt(answer);
  }

private:
  std::shared_ptr<Menus> menus_;
  bool open_ = false;
  SelectArgs args_;
};

} // namespace

FunctionFactory MainMenuFactory(std::shared_ptr<Menus> menus) {
  return [menus] { return std::unique_ptr<Function>(new (std::nothrow) MainMenu(menus)); };
}

} // namespace lumora
