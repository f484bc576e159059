#include "commands/quit.h"

#include "files/recovery_journal.h"
#include "model/drawing.h"
#include "protocol/window_services.h"
#include "sound/my_beep.h"

namespace lumora {
namespace {

constexpr int kQuestionRow = 1;
constexpr int kQuestionColumn = 2;

// Only a drawing with unsaved lines or texts is worth a warning.
bool UnsavedWork(const Drawing& drawing) {
  return drawing.changes != 0 && (drawing.lines != nullptr || drawing.texts != nullptr);
}

int EndProgram(Control& control) {
  // Quitting is the user's choice: nothing is left to recover.
  control.recovery.Remove();
  control.state.ended = true;
  control.window.EndProgram();
  return kFinished;
}

} // namespace

int Quit::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  const bool unsaved = UnsavedWork(control.drawing);
  if (!unsaved && origin_ == QuitOrigin::kWindowClose) {
    EndFunction(control, row.level);
    return EndProgram(control);
  }
  title_ = unsaved ? kNotSavedTitle : kQuitTitle;
  Ask(control);
  if (unsaved) {
    Message(control, kSoundError, kNotSaved);
  } else {
    Message(control, kSoundNotice, kQuitting);
  }
  // Closing the window must not end the program while the question is open.
  if (origin_ == QuitOrigin::kWindowClose) control.window.KeepRunning();
  return kStillRunning;
}

int Quit::Continue(Control& control, const CommandRow& row) {
  const int answer = Ask(control);
  if (answer == kStillRunning) return kStillRunning;
  EndFunction(control, row.level);
  return answer == kAnswerYes ? EndProgram(control) : kFinished;
}

int Quit::Ask(Control& control) {
  return question_.Ask(control, kQuestionRow, kQuestionColumn, 0, title_, kAreYouSure, kAnswerYes);
}

} // namespace lumora
