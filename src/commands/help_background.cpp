#include "commands/help_functions.h"
#include "control/command_state.h"
#include "ui/text_screen.h"

#include <new>

namespace lumora {
namespace {

class BackgroundSwitch final : public Function {
public:
  int Step(Control& control) override {
    bool& white = control.state.whiteBackground;
    Canvas* canvas = control.screen != nullptr ? control.screen->canvas : nullptr;
    // The sheet on screen decides, should the flag and the canvas ever disagree.
    if (canvas != nullptr) white = canvas->GetBackground() == Background::kLight;
    white = !white;
    if (control.screen != nullptr) {
      if (canvas != nullptr) {
        canvas->SetBackground(white ? Background::kLight : Background::kDark);
      }
      ForgetPromptLine(*control.screen);
    }
    CallHook(control.hooks.repaint);
    return kFinished;
  }
};

} // namespace

std::unique_ptr<Function> MakeBackgroundSwitch() {
  return std::unique_ptr<Function>(new (std::nothrow) BackgroundSwitch);
}

} // namespace lumora
