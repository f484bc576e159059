#include "commands/menu_functions.h"
#include "control/command_state.h"
#include "ui/menu_bar.h"
#include "ui/menu_list.h"

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
    if (!list_.Open()) {
      EnsureMenus(*menus_, control.Lang());
      BeginFunction(control, Level::kMain, control.In().code);
      SetPrompt(control, kMainMenuTitle, kMainMenuRequest);
      column_ = CurrentMenuBar(control).main + 1;
      rows_ = ListHeight(*control.screen);
    }
    const int answer =
        list_.Select(control, kMenuRow, column_, rows_, menus_->lastMain, menus_->main);
    if (answer == kStillRunning) return kStillRunning;
    EndFunction(control, Level::kMain);
    if (answer < 0) return kFinished;
    menus_->lastMain = answer;
    return menus_->main.CodeAt(answer);
  }

private:
  std::shared_ptr<Menus> menus_;
  MenuList list_;
  int column_ = 0;
  int rows_ = 0;
};

} // namespace

FunctionFactory MainMenuFactory(std::shared_ptr<Menus> menus) {
  return [menus] { return std::unique_ptr<Function>(new (std::nothrow) MainMenu(menus)); };
}

} // namespace lumora
