#include "commands/area_commands.h"
#include "element_geometry/element_geometry.h"
#include "files/drawing_writer.h"
#include "files/file_environment.h"
#include "files/write_order.h"
#include "model/drawing.h"
#include "model/element_store.h"
#include "protocol/command_state.h"
#include "protocol/texts.h"
#include "protocol/window_services.h"
#include "sound/my_beep.h"

namespace lumora {
namespace {

constexpr int kQuestionRow = 1;
constexpr int kQuestionColumn = 2;
constexpr std::string_view kTemporaryPart = "/Copy.part";

template <class Node, class Visit> void ForNodes(Node* head, Visit each) {
  for (Node* n : Each(head)) {
    if (n->element != nullptr) each(n->element);
  }
}

} // namespace

int CopyArea::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  selection_.Begin(control, kCopyTitle);
  step_ = Step::kSelect;
  Beep(control, kSoundWaiting);
  return kStillRunning;
}

int CopyArea::Act(Control& control, const CommandRow& row) {
  // The redraw tick of an open question belongs to the question alone.
  if (control.In().code == kContinueTick && step_ != Step::kQuestion) return kStillRunning;
  switch (step_) {
  case Step::kSelect:
    return Select(control, row);
  case Step::kReference:
    if (control.In().code == kCodeEnter) return Reference(control);
    return NotInUse(control);
  case Step::kQuestion:
    return Question(control, row);
  case Step::kPlacing:
    return Placing(control, row);
  }
  return kStillRunning;
}

int CopyArea::Back(Control& control, const CommandRow& row) {
  switch (step_) {
  case Step::kReference: {
    // The set is given up; the area can be drawn again from its first corner.
    RemoveMarker(control);
    control.store.ShowHighlightedNormally();
    if (current_.group != nullptr) control.store.DeletePart(current_.group, false);
    const bool byArea = current_.areaCount > 0;
    const Point corner = current_.area[0];
    current_ = {};
    if (byArea) {
      selection_.BeginAtCorner(control, kCopyTitle, corner);
    } else {
      selection_.Begin(control, kCopyTitle, true);
    }
    step_ = Step::kSelect;
    return kStillRunning;
  }
  default:
    return Act(control, row);
  }
}

int CopyArea::Complete(Control& control, const CommandRow& /*row*/) {
  return Reference(control);
}

int CopyArea::Alternative(Control& control, const CommandRow& /*row*/) {
  // Back to the gathering with the set kept.
  RemoveMarker(control);
  selection_.Resume(control, kCopyTitle, current_.group, current_.area, current_.areaCount);
  current_.group = nullptr;
  step_ = Step::kSelect;
  return kStillRunning;
}

int CopyArea::Cancel(Control& control, const CommandRow& row) {
  return End(control, row);
}

int CopyArea::Select(Control& control, const CommandRow& row) {
  const int code = control.In().code;
  // A key going on with a new set makes the last round final; cursor motion does not.
  if (hasPrevious_ && control.In().rawKey != kRawNone && code != kCodeBackspace) {
    FinishRound(control, previous_);
    hasPrevious_ = false;
  }
  const int result = selection_.Step(control, hasPrevious_);
  if (result == kStillRunning) return kStillRunning;
  if (result == kSelectionReady) {
    current_ = {};
    current_.areaCount = selection_.AreaCount();
    current_.area = selection_.Area();
    current_.group = selection_.TakeGroup();
    step_ = Step::kReference;
    SetPrompt(control, kCopyTitle, kEnterPositioning);
    Beep(control, kSoundWaiting);
    return kStillRunning;
  }
  if (code == kCodeBackspace && hasPrevious_) return TakeBackRound(control);
  return End(control, row);
}

// The set is written as the temporary part with the reference point as its origin; only a
// file written in whole is ever placed.
int CopyArea::Reference(Control& control) {
  if (current_.group == nullptr) return kStillRunning;
  Beep(control, kSoundKey);
  reference_ = control.In().cursor;
  marked_ = control.store.AddMarker(reference_, '+') != nullptr;
  PartElement& group = *current_.group;
  const std::string path = control.home + std::string(kTemporaryPart);
  if (WriteDrawingFile(control.drawing, control.files, path, &group, reference_, group.box) != 1) {
    // The writer has told why; the set stays for another try.
    RemoveMarker(control);
    SetPrompt(control, kCopyTitle, kEnterPositioning);
    return kStillRunning;
  }
  // The nested parts' locations, which the file cannot hold, go beside it.
  nested_.clear();
  const WriteOrder order = PartOrder(group);
  for (const PartElement* p : order.parts.Items()) {
    if (p != &group)
      nested_.push_back({p->location.x - reference_.x, p->location.y - reference_.y});
  }
  step_ = Step::kQuestion;
  question_.Ask(control, kQuestionRow, kQuestionColumn, 0, kCopyTitle, kOriginalDeleted, kAnswerNo);
  Message(control, kSoundNotice, kOriginalDeletedNote);
  return kStillRunning;
}

int CopyArea::Question(Control& control, const CommandRow& row) {
  const int answer = question_.Ask(control, kQuestionRow, kQuestionColumn, 0, kCopyTitle,
                                   kOriginalDeleted, kAnswerNo);
  if (answer == kStillRunning) return kStillRunning;
  if (answer == kAnswerEsc) return End(control, row);
  if (answer == kAnswerBack) {
    RemoveMarker(control);
    step_ = Step::kReference;
    SetPrompt(control, kCopyTitle, kEnterPositioning);
    return kStillRunning;
  }
  current_.move = answer == kAnswerYes;
  // The marker goes before the set is drawn again: it is drawn by inversion, and taking it off
  // the redrawn lines would punch a hole in them.
  RemoveMarker(control);
  control.store.ShowHighlightedNormally();
  if (current_.move) HideSources(control, *current_.group);
  step_ = Step::kPlacing;
  seen_ = nullptr;
  current_.copies.clear();
  placer_.BeginCopy(control, reference_, current_.move, nested_);
  return kStillRunning;
}

// Every copy the placer makes or takes back is followed, so all of a round's copies end as
// loose elements, whichever way the round ends.
void CopyArea::FollowPlacer() {
  PartElement* now = placer_.LastPlaced();
  if (now == seen_) return;
  if (now == nullptr) {
    if (!current_.copies.empty()) current_.copies.pop_back();
  } else {
    current_.copies.push_back(now);
  }
  seen_ = now;
}

int CopyArea::Placing(Control& control, const CommandRow& row) {
  const int result = placer_.Run(control);
  FollowPlacer();
  // A round is one step from its first copy to what makes it final or takes it back.
  if (!current_.copies.empty()) control.store.HoldSteps(true);
  if (result == kStillRunning) return kStillRunning;
  if (result == kCopyTakenBack && !current_.copies.empty()) {
    // The placer knows only its newest copy; an earlier one of the round goes the same way.
    PartElement* copy = current_.copies.back();
    current_.copies.pop_back();
    control.store.DeletePart(copy, true);
    control.window.Repaint();
    seen_ = nullptr;
    placer_.BeginCopy(control, reference_, current_.move, nested_);
    return kStillRunning;
  }
  if (result == kCopyPlaced) {
    previous_ = std::move(current_);
    hasPrevious_ = true;
    current_ = {};
    step_ = Step::kSelect;
    selection_.Begin(control, kCopyTitle);
    Beep(control, kSoundWaiting);
    return kStillRunning;
  }
  if (result == kCopyTakenBack) {
    if (current_.move) ShowSources(control, *current_.group);
    step_ = Step::kSelect;
    selection_.Resume(control, kCopyTitle, current_.group, current_.area, current_.areaCount);
    HighlightGroup(control.store, *current_.group);
    current_ = {};
    return kStillRunning;
  }
  // Esc: a move with nothing placed gives its sources back.
  if (current_.move && current_.copies.empty()) {
    ShowSources(control, *current_.group);
    current_.move = false;
  }
  return End(control, row);
}

// Backspace after a round takes the round back: its copies go, the set is the current one
// again, and the sources of a move come back. Leaving earlier copies of a move behind would
// give the moved elements twice.
int CopyArea::TakeBackRound(Control& control) {
  control.store.HoldSteps(false);
  hasPrevious_ = false;
  Round round = std::move(previous_);
  previous_ = {};
  for (PartElement*& copy : round.copies) control.store.DeletePart(copy, true);
  round.copies.clear();
  if (round.move) ShowSources(control, *round.group);
  control.window.Repaint();
  selection_.Resume(control, kCopyTitle, round.group, round.area, round.areaCount);
  HighlightGroup(control.store, *round.group);
  step_ = Step::kSelect;
  return kStillRunning;
}

// A round made final: its copies become loose elements and its set goes, with the sources
// when they were moved.
void CopyArea::FinishRound(Control& control, Round& round) {
  control.store.HoldSteps(false);
  if (!round.copies.empty()) control.store.NameStep(round.move ? StepKind::kMove : StepKind::kCopy);
  for (PartElement*& copy : round.copies) control.store.DeletePart(copy, false);
  round.copies.clear();
  if (round.group != nullptr) control.store.DeletePart(round.group, round.move);
  round.group = nullptr;
  round.move = false;
}

void CopyArea::HideSources(Control& control, PartElement& group) {
  Painter& painter = control.store.painter();
  ForNodes(group.lines, [&](LineElement* e) { painter.Draw(*e, DrawMode::kErase); });
  ForNodes(group.fillings, [&](FillingElement* e) { painter.Draw(*e, DrawMode::kErase); });
  ForNodes(group.texts, [&](TextElement* e) { painter.Draw(*e, DrawMode::kErase); });
  Geometry(control).SetGroupHidden(group, true);
  control.window.Repaint();
}

void CopyArea::ShowSources(Control& control, PartElement& group) {
  Geometry(control).SetGroupHidden(group, false);
  control.window.Repaint();
}

void CopyArea::RemoveMarker(Control& control) {
  if (marked_) control.store.RemoveMarker(reference_);
  marked_ = false;
}

int CopyArea::End(Control& control, const CommandRow& row) {
  RemoveMarker(control);
  control.store.ShowHighlightedNormally();
  if (hasPrevious_) FinishRound(control, previous_);
  hasPrevious_ = false;
  FinishRound(control, current_);
  selection_.Dissolve(control);
  control.In().pointCount = 0;
  return Finish(control, row);
}

} // namespace lumora
