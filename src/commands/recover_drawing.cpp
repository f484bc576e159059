#include "commands/recover_drawing.h"

#include "model/element_store.h"
#include "protocol/window_services.h"
#include "sound/my_beep.h"

namespace lumora {
namespace {

constexpr int kQuestionRow = 1;
constexpr int kQuestionColumn = 2;

} // namespace

int RecoverDrawing::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  titleEn_ = RecoveryTitle(offer_, Language::kEnglish);
  titleFi_ = RecoveryTitle(offer_, Language::kFinnish);
  return Continue(control, row);
}

int RecoverDrawing::Continue(Control& control, const CommandRow& row) {
  const int answer = Ask(control);
  if (answer == kStillRunning) return kStillRunning;
  EndFunction(control, row.level);
  Answer(control, answer);
  return kFinished;
}

int RecoverDrawing::Ask(Control& control) {
  return question_.Ask(control, kQuestionRow, kQuestionColumn, 0, TextPair{titleEn_, titleFi_},
                       kRecoverQuestion, kAnswerYes);
}

void RecoverDrawing::Answer(Control& control, int answer) {
  const LocalDateTime now = control.clock.LocalTime();
  // Only yes rebuilds: any other way out keeps the log, so nothing is lost by a stray key.
  if (answer != kAnswerYes) {
    DeclineRecovery(offer_, FileStamp(now));
    return;
  }
  AcceptRecovery(offer_, control.store, control.files, control.fileState, codec_, writer_,
                 CalendarSeconds(now), FileStamp(now));
  control.window.Repaint();
}

} // namespace lumora
