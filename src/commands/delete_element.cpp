#include "commands/edit_commands.h"
#include "commands/element_selection.h"
#include "protocol/command_state.h"
#include "protocol/texts.h"
#include "sound/my_beep.h"

namespace lumora {
namespace {

bool KeyEvent(const Control& control) {
  return control.In().rawKey != kRawNone;
}

bool Holding(const Picked& picked) {
  return PickedAny(picked);
}

} // namespace

int DeleteElement::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  pending_ = Picked{};
  SetPrompt(control, kDeletingElement, kShowToBeDeleted);
  return kStillRunning;
}

void DeleteElement::DeletePending(Control& control) {
  if (Holding(pending_)) DeleteElementForGood(control, pending_);
}

int DeleteElement::Show(Control& control) {
  DeletePending(control);
  const Picked picked = Geometry(control).PickElement(control.In().cursor, kEditPickRadius, false);
  if (!PickedAny(picked)) {
    Message(control, kSoundError, kNoElementFound);
  } else {
    Beep(control, kSoundKey);
    HideElement(control, picked);
    pending_ = picked;
  }
  Beep(control, kSoundWaiting);
  return kStillRunning;
}

int DeleteElement::BringBack(Control& control) {
  if (!Holding(pending_)) {
    Message(control, kSoundError, kNothingToBeDone);
  } else {
    Beep(control, kSoundKey);
    UnhideElement(control, pending_);
    pending_ = Picked{};
  }
  Beep(control, kSoundWaiting);
  return kStillRunning;
}

int DeleteElement::Act(Control& control, const CommandRow& /*row*/) {
  if (control.In().code == kCodeEnter) return Show(control);
  if (!KeyEvent(control)) return kStillRunning;
  DeletePending(control);
  return NotInUse(control);
}

int DeleteElement::Complete(Control& control, const CommandRow& /*row*/) {
  return Show(control);
}

int DeleteElement::Back(Control& control, const CommandRow& /*row*/) {
  return BringBack(control);
}

int DeleteElement::Alternative(Control& control, const CommandRow& /*row*/) {
  return BringBack(control);
}

int DeleteElement::Cancel(Control& control, const CommandRow& row) {
  // Leaving makes the deletion final: nothing hidden outlives the command.
  DeletePending(control);
  return Finish(control, row);
}

} // namespace lumora
