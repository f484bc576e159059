#include "commands/file_commands.h"
#include "commands/part_commands.h"
#include "model/drawing.h"
#include "model/element_store.h"
#include "protocol/command_state.h"
#include "screen/messages.h"
#include "screen/text_screen.h"
#include "sound/my_beep.h"
#include "util/clock.h"

#include <array>

namespace lumora {
namespace {

constexpr int kQuestionRow = 1;
constexpr int kQuestionColumn = 2;
constexpr int kFlashes = 2;
constexpr double kFlashSeconds = 0.15;

// The part's box drawn twice in inversion and taken away again, so the user sees which part
// was found.
void FlashBox(Control& control, const PartElement& part) {
  const Box& b = part.box;
  const std::array<Point, 5> corners{
      {{b.xmin, b.ymin}, {b.xmax, b.ymin}, {b.xmax, b.ymax}, {b.xmin, b.ymax}, {b.xmin, b.ymin}}};
  for (int k = 0; k < kFlashes; ++k) {
    if (control.store.AddOutline(corners.data(), int(corners.size())) == nullptr) return;
    control.clock.Wait(kFlashSeconds);
    control.store.RemoveOutline(corners.data(), int(corners.size()));
    control.clock.Wait(kFlashSeconds);
  }
}

} // namespace

int RemovePartDefinition::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  if (control.drawing.parts != nullptr) {
    step_ = Step::kQuestion;
    Ask(control);
    Message(control, kSoundNotice, kRemoveQuestion);
    return kStillRunning;
  }
  SetPrompt(control, kRemovePartTitle, kNoPartsPrompt);
  step_ = Step::kNotice;
  noticeSaved_ = SavePromptState(control.state);
  if (ShowNotice(control.screen, kNoParts, true) != kStillRunning) return Finish(control, row);
  // The notice waits for a key; meanwhile the keys belong to it.
  control.state.inputMode = kModeYesNo;
  control.state.cursorShown = false;
  control.state.arrows = {};
  return kStillRunning;
}

int RemovePartDefinition::Ask(Control& control) {
  return question_.Ask(control, kQuestionRow, kQuestionColumn, 0, kRemovePartTitle, kAllRemoved,
                       kAnswerYes);
}

int RemovePartDefinition::Act(Control& control, const CommandRow& row) {
  if (step_ == Step::kNotice) {
    if (NoticeWaiting(control.screen) &&
        AcknowledgeNotice(control.screen, control.In().rawKey) == kStillRunning) {
      return kStillRunning;
    }
    RestorePromptState(control.state, noticeSaved_);
    return Finish(control, row);
  }
  if (step_ == Step::kQuestion) {
    const int answer = Ask(control);
    if (answer == kStillRunning) return kStillRunning;
    if (answer == kAnswerYes) {
      ElementStore& store = control.store;
      while (PartElement* part = control.drawing.parts)
        if (store.DeletePart(part, false) == 0) break;
      store.NameStep(StepKind::kDissolve);
    }
    if (answer != kAnswerNo) return Finish(control, row);
    heldBefore_ = control.store.Journal().held;
    control.store.HoldSteps(true);
    holding_ = true;
    step_ = Step::kShow;
    SetPrompt(control, kRemovePartTitle, kShowPart);
    return kStillRunning;
  }
  if (control.In().code == kCodeEnter) return Show(control);
  // Only a key makes the shown part final: the cursor's motion, a repaint or a timer must not.
  if (control.In().rawKey == kRawNone) return kStillRunning;
  DissolvePending(control);
  return NotInUse(control);
}

int RemovePartDefinition::Show(Control& control) {
  DissolvePending(control);
  PartElement* part = control.store.FindPart(control.In().cursor, true);
  if (part == nullptr) {
    Message(control, kSoundError, kNoPartFound);
    return kStillRunning;
  }
  pending_ = part;
  FlashBox(control, *part);
  return kStillRunning;
}

int RemovePartDefinition::Complete(Control& control, const CommandRow& /*row*/) {
  return Show(control);
}

int RemovePartDefinition::Back(Control& control, const CommandRow& /*row*/) {
  return Forget(control);
}

int RemovePartDefinition::Alternative(Control& control, const CommandRow& /*row*/) {
  return Forget(control);
}

int RemovePartDefinition::Forget(Control& control) {
  if (pending_ == nullptr) Message(control, kSoundSmallError, kNothingToBeDone);
  pending_ = nullptr;
  return kStillRunning;
}

int RemovePartDefinition::Cancel(Control& control, const CommandRow& row) {
  DissolvePending(control);
  ReleaseSteps(control);
  return Finish(control, row);
}

void RemovePartDefinition::ReleaseSteps(Control& control) {
  if (!holding_) return;
  holding_ = false;
  control.store.HoldSteps(heldBefore_);
}

void RemovePartDefinition::DissolvePending(Control& control) {
  if (pending_ == nullptr) return;
  PartElement* part = pending_;
  pending_ = nullptr;
  control.store.DeletePart(part, false);
  control.store.NameStep(StepKind::kDissolve);
}

} // namespace lumora
