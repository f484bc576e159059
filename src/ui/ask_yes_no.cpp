#include "ui/ask_yes_no.h"

#include "protocol/command_state.h"
#include "protocol/texts.h"
#include "screen/text_screen.h"
#include "screen/write_text.h"
#include "sound/my_beep.h"

#include <string>

namespace lumora {
namespace {

constexpr int kEnglishChoiceWidth = 6;
constexpr int kFinnishChoiceWidth = 8;
constexpr int kPromptRow = 1;

} // namespace

int AskYesNo::ChoiceWidth(const Control& control) const {
  return control.Lang() == Language::kEnglish ? kEnglishChoiceWidth : kFinnishChoiceWidth;
}

int AskYesNo::Ask(Control& control, int row, int column, int width, const TextPair& title,
                  const TextPair& question, int defaultAnswer) {
  if (!open_) {
    open_ = true;
    row_ = row;
    column_ = column;
    width_ = width;
    title_ = title;
    question_ = question;
    choice_ = defaultAnswer != kAnswerNo ? kAnswerYes : kAnswerNo;
    CommandState& state = control.state;
    saved_ = SavePromptState(state);
    state.inputMode = kModeYesNo;
    state.cursorShown = false;
    state.promptRow = row;
    Show(control);
    return kStillRunning;
  }
  const InputRecord& in = control.In();
  switch (in.code) {
  case 'y':
  case 'k':
    return Close(control, kAnswerYes);
  case 'n':
  case 'e':
    return Close(control, kAnswerNo);
  case kCodeLeft:
  case kCodeCtrlLeft:
    Select(control, kAnswerYes);
    return kStillRunning;
  case kCodeRight:
  case kCodeCtrlRight:
    Select(control, kAnswerNo);
    return kStillRunning;
  case kCodeEnter:
  case kCodeTab:
    return Close(control, choice_);
  case kCodeBackspace:
  case kCodeCtrlEnter:
    return Close(control, kAnswerBack);
  case kCodeEsc:
    return Close(control, kAnswerEsc);
  case kContinueTick:
    // A help function or a menu may have written over the prompt line and its choices.
    control.state.continueFlag = false;
    Show(control);
    return kStillRunning;
  default:
    if (in.rawKey != kRawNone) Message(control, kSoundSmallError, kNotInUse);
    return kStillRunning;
  }
}

void AskYesNo::Show(Control& control) {
  if (row_ == kPromptRow) {
    SetPrompt(control, title_, question_, {row_, column_, width_});
  } else {
    const std::string text = std::string(control.Tr(title_)) + std::string(control.Tr(question_));
    WriteText(control.screen, row_, column_, width_, text, kStyleNormal);
  }
  DrawChoices(control);
}

void AskYesNo::DrawChoices(Control& control) {
  const int width = ChoiceWidth(control);
  const std::string text = std::string(control.Tr(title_)) + std::string(control.Tr(question_));
  const int first = column_ + VisibleLength(text);
  WriteText(control.screen, row_, first, width, control.Tr(kChoiceYes), kStyleNormal,
            choice_ == kAnswerYes);
  WriteText(control.screen, row_, first + width, width, control.Tr(kChoiceNo), kStyleNormal,
            choice_ == kAnswerNo);
  // The mouse moves between the choices like Left and Right.
  MouseArrows& arrows = control.state.arrows;
  const int chosen = first + (choice_ == kAnswerYes ? 0 : width);
  arrows = {};
  arrows.centreX = (chosen - 1) * kCellWidth + width * kCellWidth / 2;
  arrows.centreY = (row_ - 1) * kCellHeight + kCellHeight / 2;
  arrows.halfWidth = width * kCellWidth / 2;
}

void AskYesNo::Select(Control& control, int choice) {
  if (choice == choice_) return;
  choice_ = choice;
  Beep(control, kSoundKey);
  DrawChoices(control);
}

int AskYesNo::Close(Control& control, int answer) {
  open_ = false;
  if (answer == kAnswerYes || answer == kAnswerNo) Beep(control, kSoundKey);
  // The outer prompt gets its mouse arrows back.
  RestorePromptState(control.state, saved_);
  return answer;
}

} // namespace lumora
