#include "commands/arc_commands.h"
#include "properties/current_properties.h"
#include "protocol/command_state.h"
#include "sound/my_beep.h"
#include "ui/ask_number.h"

namespace lumora {
namespace {

constexpr double kLineSearch = 2.0; // search units around the cursor
constexpr double kShownPrecision = 0.001;
constexpr char kCornerMarker = 'O';

} // namespace

int Rounding::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  undo_ = false;
  return PickPrompt(control);
}

int Rounding::Act(Control& control, const CommandRow& row) {
  if (step_ == Step::kRadius) return Radius(control, row);
  const InputRecord& in = control.In();
  if (in.code == kCodeEnter) return Pick(control, row);
  return in.rawKey != kRawNone ? NotInUse(control) : kStillRunning;
}

int Rounding::Complete(Control& control, const CommandRow& row) {
  return Pick(control, row);
}

int Rounding::Pick(Control& control, const CommandRow& row) {
  Beep(control, kSoundKey);
  undo_ = false;
  ElementGeometry& geometry = Geometry(control);
  Point nearest{};
  LineElement* line = geometry.NearestLine(control.In().cursor, nearest, kLineSearch);
  if (line == nullptr) {
    Message(control, kSoundError, kCornerLineNotFound);
    return PickPrompt(control);
  }
  corner_ = Corner{};
  corner_.point = nearest;
  if (geometry.FindCorner(line, corner_) == 0) {
    Message(control, kSoundError, kCornerNotFound);
    return PickPrompt(control);
  }
  if (corner_.arc == nullptr) {
    geometry.ShowBorderFillings(*line, BorderFillings::kHide);
    hiddenFor_ = line;
  }
  marker_ = corner_.point;
  control.store.AddMarker(marker_, kCornerMarker);
  defaultRadius_ = corner_.arc != nullptr ? corner_.radius : control.properties.lastRoundingRadius;
  step_ = Step::kRadius;
  return Radius(control, row);
}

int Rounding::Radius(Control& control, const CommandRow& row) {
  AskNumberArgs args;
  args.title = kAddingRounding;
  args.prompt = kWriteRadius;
  args.precision = kShownPrecision;
  const int answer = AskNumber(control, control.prompts, args, typed_, defaultRadius_);
  if (answer == kStillRunning) return kStillRunning;
  control.store.RemoveMarker(marker_);
  marker_ = {kNoPoint, kNoPoint};
  ShowFillingsAgain(control);
  if (answer != kEntryAccepted) return Finish(control, row);
  // A negative radius would push the lines past their crossing and bend the arc outwards.
  if (typed_ < 0.0) {
    Message(control, kSoundError, kRoundingFailed);
    return Radius(control, row);
  }
  if (typed_ != 0.0) control.properties.lastRoundingRadius = typed_;
  if (SameValue(typed_, corner_.radius) == 0) {
    const double before = corner_.radius;
    if (Geometry(control).RoundLineCorner(corner_, typed_) == 0) {
      Message(control, kSoundError, kRoundingFailed);
      return Radius(control, row);
    }
    undoRadius_ = before;
    undo_ = true;
  }
  step_ = Step::kPick;
  return PickPrompt(control);
}

// Undo rounds the corner the last rounding left (its lines, its arc or none, its corner point)
// back to the radius it had.
int Rounding::Back(Control& control, const CommandRow& /*row*/) {
  Beep(control, kSoundKey);
  if (!undo_) {
    Message(control, kSoundError, kNothingToBeDone);
    return PickPrompt(control);
  }
  undo_ = false;
  if (Geometry(control).RoundLineCorner(corner_, undoRadius_) == 0) {
    Message(control, kSoundError, kRoundingFailed);
  }
  return PickPrompt(control);
}

int Rounding::Alternative(Control& control, const CommandRow& row) {
  return Back(control, row);
}

int Rounding::Cancel(Control& control, const CommandRow& row) {
  return Finish(control, row);
}

void Rounding::ShowFillingsAgain(Control& control) {
  if (hiddenFor_ == nullptr) return;
  Geometry(control).ShowBorderFillings(*hiddenFor_, BorderFillings::kShow);
  hiddenFor_ = nullptr;
}

int Rounding::PickPrompt(Control& control) {
  control.state.referenceLock = true;
  SetPrompt(control, kAddingRounding, kShowCorner);
  if (AfterKey(control)) Beep(control, kSoundWaiting);
  return kStillRunning;
}

} // namespace lumora
