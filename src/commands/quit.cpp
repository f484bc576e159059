#include "commands/quit.h"

#include "control/command_state.h"
#include "model/drawing.h"
#include "sound/my_beep.h"
#include "ui/ask_yes_no.h"

#include <new>

namespace lumora {
namespace {

constexpr int kQuestionRow = 1;
constexpr int kQuestionColumn = 2;

// Only a drawing with unsaved lines or texts is worth a warning.
bool UnsavedWork(const Drawing* drawing) {
  return drawing != nullptr && drawing->changes != 0 &&
         (drawing->lines != nullptr || drawing->texts != nullptr);
}

void EndProgram(Control& control) {
  control.state.ended = true;
  control.state.exitCode = 0;
  CallHook(control.hooks.exitProgram, 0);
}

class Quit final : public Function {
public:
  int Step(Control& control) override {
    if (!asking_) return Start(control);
    const int answer = Ask(control);
    if (answer == kStillRunning) return kStillRunning;
    EndFunction(control, Level::kHelp);
    if (answer == kAnswerYes) {
      EndProgram(control);
      return kFinished;
    }
    control.state.closeRequest = true;
    return kFinished;
  }

private:
  int Start(Control& control) {
    BeginFunction(control, Level::kHelp, kCodeEsc, 2);
    const bool unsaved = UnsavedWork(control.drawing);
    if (!unsaved && control.state.closeRequest) {
      EndFunction(control, Level::kHelp);
      EndProgram(control);
      return kFinished;
    }
    asking_ = true;
    title_ = unsaved ? kNotSavedTitle : kQuitTitle;
    Ask(control);
    if (unsaved) {
      Message(control, kSoundError, kNotSaved);
    } else {
      Message(control, kSoundNotice, kQuitting);
    }
    // Closing the window must not end the program while the question is open.
    if (control.state.closeRequest) CallHook(control.hooks.keepRunning);
    return kStillRunning;
  }

  int Ask(Control& control) {
    return question_.Ask(control, kQuestionRow, kQuestionColumn, 0, title_, kAreYouSure,
                         kAnswerYes);
  }

  bool asking_ = false;
  TextPair title_ = kQuitTitle;
  AskYesNo question_;
};

} // namespace

std::unique_ptr<Function> MakeQuit() {
  return std::unique_ptr<Function>(new (std::nothrow) Quit);
}

} // namespace lumora
