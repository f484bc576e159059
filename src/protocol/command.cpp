#include "protocol/command.h"

#include "protocol/command_state.h"
#include "protocol/texts.h"
#include "sound/my_beep.h"

namespace lumora {

int Command::Step(Control& control, const CommandRow& row) {
  if (started_) return Continue(control, row);
  started_ = true;
  return Start(control, row);
}

int DrawingCommand::Continue(Control& control, const CommandRow& row) {
  if (control.state.inputMode != kModeCursor || InnerStepOwnsKeys()) return Act(control, row);
  switch (control.In().code) {
  case kCodeBackspace:
    return Back(control, row);
  case kCodeTab:
    return Complete(control, row);
  case kCodeCtrlEnter:
    return Alternative(control, row);
  case kCodeEsc:
    return Cancel(control, row);
  default:
    return Act(control, row);
  }
}

int DrawingCommand::Back(Control& control, const CommandRow& /*row*/) {
  return NotInUse(control);
}

int DrawingCommand::Complete(Control& control, const CommandRow& /*row*/) {
  return NotInUse(control);
}

int DrawingCommand::Alternative(Control& control, const CommandRow& /*row*/) {
  return NotInUse(control);
}

int DrawingCommand::Cancel(Control& control, const CommandRow& row) {
  return Finish(control, row);
}

int DrawingCommand::Finish(Control& control, const CommandRow& row) {
  EndFunction(control, row.level);
  return kFinished;
}

int DrawingCommand::NotInUse(Control& control) {
  Message(control, kSoundSmallError, kNotInUse);
  return kStillRunning;
}

} // namespace lumora
