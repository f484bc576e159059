#include "commands/file_commands.h"
#include "commands/quit.h"
#include "element_geometry/element_geometry.h"
#include "model/drawing.h"
#include "model/element_store.h"
#include "sound/my_beep.h"
#include "text/text_layout.h"

namespace lumora {
namespace {

constexpr int kQuestionRow = 1;
constexpr int kQuestionColumn = 2;

} // namespace

int UpdateTexts::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  question_.Ask(control, kQuestionRow, kQuestionColumn, 0, kUpdatingTitle, kAreYouSure, kAnswerYes);
  Message(control, kSoundNotice, kUpdatingQuestion);
  return kStillRunning;
}

int UpdateTexts::Continue(Control& control, const CommandRow& row) {
  if (step_ == Step::kFilling) return Fill(control, row);
  const int answer = question_.Ask(control, kQuestionRow, kQuestionColumn, 0, kUpdatingTitle,
                                   kAreYouSure, kAnswerYes);
  if (answer == kStillRunning) return kStillRunning;
  if (answer != kAnswerYes) {
    EndFunction(control, row.level);
    return kFinished;
  }
  control.textVariables.entries.clear();
  // However many questions it asks, the update is one step.
  control.store.HoldSteps(true);
  control.store.NameStep(StepKind::kUpdateTexts);
  text_ = control.drawing.texts;
  fill_ = TextSubstitution{};
  step_ = Step::kFilling;
  return Fill(control, row);
}

int UpdateTexts::Fill(Control& control, const CommandRow& row) {
  while (text_ != nullptr) {
    const int result = fill_.Step(control, TextOf(*text_), result_, control.textVariables);
    if (result == kStillRunning) return kStillRunning;
    if (result == kTextChanged) Geometry(control).ReplaceTextString(*text_, result_);
    fill_ = TextSubstitution{};
    text_ = text_->next;
  }
  control.store.HoldSteps(false);
  EndFunction(control, row.level);
  return kFinished;
}

} // namespace lumora
