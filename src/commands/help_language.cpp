#include "commands/help_functions.h"
#include "control/command_state.h"
#include "ui/menu_rows.h"
#include "ui/text_screen.h"

#include <new>

namespace lumora {
namespace {

class LanguageSwitch final : public Function {
public:
  int Step(Control& control) override {
    if (control.language == nullptr) return kFinished;
    *control.language =
        *control.language == Language::kEnglish ? Language::kFinnish : Language::kEnglish;
    if (control.menus != nullptr) BuildMenus(*control.menus, *control.language);
    CallHook(control.hooks.rebuildMenus);
    if (control.screen != nullptr) ForgetPromptLine(*control.screen);
    CallHook(control.hooks.repaint);
    return kFinished;
  }
};

} // namespace

std::unique_ptr<Function> MakeLanguageSwitch() {
  return std::unique_ptr<Function>(new (std::nothrow) LanguageSwitch);
}

} // namespace lumora
