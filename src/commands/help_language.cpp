#include "commands/help_functions.h"
#include "control/command_state.h"
#include "ui/menu_rows.h"
#include "ui/text_screen.h"

#include <new>

namespace lumora {
namespace {

class LanguageSwitch final : public Function {
public:
  explicit LanguageSwitch(std::shared_ptr<Menus> menus) : menus_(std::move(menus)) {}

  int Step(Control& control) override {
    if (control.language == nullptr) return kFinished;
    *control.language =
        *control.language == Language::kEnglish ? Language::kFinnish : Language::kEnglish;
    if (menus_ != nullptr) BuildMenus(*menus_, *control.language);
    CallHook(control.hooks.rebuildMenus);
    if (control.screen != nullptr) ForgetPromptLine(*control.screen);
    CallHook(control.hooks.repaint);
    return kFinished;
  }

private:
  std::shared_ptr<Menus> menus_;
};

} // namespace

std::unique_ptr<Function> MakeLanguageSwitch(std::shared_ptr<Menus> menus) {
  return std::unique_ptr<Function>(new (std::nothrow) LanguageSwitch(std::move(menus)));
}

} // namespace lumora
