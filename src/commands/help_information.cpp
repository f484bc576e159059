#include "commands/help_functions.h"
#include "control/command_state.h"
#include "ui/information_box.h"

#include <new>

namespace lumora {
namespace {

class InformationBox final : public Function {
public:
  int Step(Control& control) override {
    if (control.screen == nullptr) return kFinished;
    if (!open_) return Open(control);
    if (InformationBoxKey(*control.screen, control.In().rawKey) == kStillRunning) {
      return kStillRunning;
    }
    EndFunction(control, Level::kHelp);
    return kFinished;
  }

private:
  int Open(Control& control) {
    BeginFunction(control, Level::kHelp, kCodeInformation);
    if (!OpenInformationBox(*control.screen)) {
      EndFunction(control, Level::kHelp);
      return kFinished;
    }
    open_ = true;
    // Over a running command its own title stays, with the request to acknowledge.
    const LevelSlot& main = control.Slot(Level::kMain);
    TextPair title = kInformationTitle;
    if (main.code != 0) title = {main.title[1], main.title[0]};
    SetPrompt(control, title, kPressAnyKey);
    return kStillRunning;
  }

  bool open_ = false;
};

} // namespace

std::unique_ptr<Function> MakeInformationBox() {
  return std::unique_ptr<Function>(new (std::nothrow) InformationBox);
}

} // namespace lumora
