#include "commands/text_commands.h"

#include "commands/text_placing.h"
#include "properties/value_selector.h"
#include "protocol/texts.h"
#include "sound/my_beep.h"
#include "ui/ask_text.h"

#include <array>

namespace lumora {

int AddText::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  // Backspace on an empty string and Ctrl+Enter in it come back to the command.
  control.state.backAllowed = true;
  last_ = nullptr;
  string_.clear();
  return ChooseType(control, row);
}

int AddText::ChooseType(Control& control, const CommandRow& row) {
  const int result = selector_.Step(control);
  if (result == kStillRunning) {
    if (selector_.Listing()) SetPrompt(control, kAddingText, kSelectTypeOfText);
    return kStillRunning;
  }
  if (result != kSelectorDone) return End(control, row);
  TakeTextAttributes(control);
  Beep(control, kSoundWaiting);
  step_ = Step::kString;
  return AskString(control, row);
}

int AddText::AskString(Control& control, const CommandRow& row) {
  DropPreview(control);
  const bool opening = control.state.inputMode != kModeTextEntry;
  // A one-line entry stands on the status row: the prompt line says what it is for.
  if (opening) SetPrompt(control, kAddingText, kWriteString);
  const AskTextArgs args{kAddingText, kWriteString, kTextBufferSize, false};
  const int result = AskText(control, control.prompts, args, string_);
  if (result == kStillRunning) return kStillRunning;
  // An entry that could not even open (no room for its window) would be asked for again and
  // again: the command gives up instead.
  if (opening) return End(control, row);
  switch (result) {
  case kEntryEsc:
    return End(control, row);
  case kEntryBack:
    // Ctrl+Enter keeps a string; Backspace on none takes the last text back.
    return string_.empty() ? TakeBack(control, row) : ShowLocation(control);
  case kTextAcceptedEmpty:
    if (string_.empty()) {
      Message(control, kSoundError, kNoString);
      return AskString(control, row);
    }
    return ShowLocation(control);
  case kEntryAccepted:
    return ShowLocation(control);
  default:
    return AskString(control, row);
  }
}

int AddText::TakeBack(Control& control, const CommandRow& row) {
  std::array<Point, 1> location{};
  if (!TakeBackText(control, last_, string_, location.data(), 1)) {
    Message(control, kSoundError, kNothingToBeDone);
    return AskString(control, row);
  }
  return ShowLocation(control);
}

int AddText::ShowLocation(Control& control) {
  step_ = Step::kLocation;
  const std::string shown = Shortened(string_);
  const std::string en = "Adding text '" + shown + "^': ";
  const std::string fi = "Tekstin '" + shown + std::string("^' lisäys: "_l1);
  SetPrompt(control, {en, fi}, kEnterTextLocation);
  Beep(control, kSoundWaiting);
  return Locate(control);
}

int AddText::Locate(Control& control) {
  TakeTextAttributes(control);
  CarryTextOutline(control, string_);
  return kStillRunning;
}

int AddText::Place(Control& control, const CommandRow& row) {
  const std::array<Point, 1> location{control.In().cursor};
  TextElement* made = PlaceText(control, location, string_);
  if (made == nullptr) return kStillRunning;
  last_ = made;
  string_.clear();
  step_ = Step::kString;
  return AskString(control, row);
}

int AddText::Act(Control& control, const CommandRow& row) {
  switch (step_) {
  case Step::kType:
    return ChooseType(control, row);
  case Step::kString:
    return AskString(control, row);
  case Step::kLocation:
    break;
  }
  const InputRecord& in = control.In();
  if (in.code == kCodeEnter) return Place(control, row);
  // The attributes changed under the text: so does its outline.
  if (in.code == kCodePropertiesChanged) return Locate(control);
  if (in.rawKey == kRawNone || in.code == kContinueTick) return kStillRunning;
  return NotInUse(control);
}

int AddText::Back(Control& control, const CommandRow& row) {
  if (step_ != Step::kLocation) return NotInUse(control);
  step_ = Step::kString;
  return AskString(control, row);
}

int AddText::Complete(Control& control, const CommandRow& row) {
  if (step_ != Step::kLocation) return NotInUse(control);
  return Place(control, row);
}

int AddText::Alternative(Control& control, const CommandRow& row) {
  return Back(control, row);
}

int AddText::Cancel(Control& control, const CommandRow& row) {
  return End(control, row);
}

int AddText::End(Control& control, const CommandRow& row) {
  DropPreview(control);
  return Finish(control, row);
}

} // namespace lumora
