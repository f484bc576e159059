#include "commands/help_functions.h"
#include "protocol/command_state.h"
#include "screen/information_box.h"

namespace lumora {

int InformationBox::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  if (!OpenInformationBox(control.screen)) {
    EndFunction(control, row.level);
    return kFinished;
  }
  // Over a running command its own title stays, with the request to acknowledge.
  const LevelSlot& main = control.Slot(Level::kMain);
  TextPair title = kInformationTitle;
  if (main.code != 0) title = main.Title();
  SetPrompt(control, title, kPressAnyKey);
  return kStillRunning;
}

int InformationBox::Continue(Control& control, const CommandRow& row) {
  if (control.In().code == kContinueTick && control.state.windowRedrawCounter > 0) {
    --control.state.windowRedrawCounter;
    WriteInformationBox(control.screen);
  }
  if (InformationBoxKey(control.screen, control.In().rawKey) == kStillRunning) {
    return kStillRunning;
  }
  EndFunction(control, row.level);
  return kFinished;
}

} // namespace lumora
