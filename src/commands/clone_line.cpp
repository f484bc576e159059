#include "commands/line_commands.h"
#include "element_geometry/element_geometry.h"
#include "properties/current_properties.h"
#include "protocol/command_state.h"
#include "sound/my_beep.h"
#include "ui/ask_number.h"
#include "view/view.h"

#include <cmath>

namespace lumora {
namespace {

constexpr double kShownPrecision = 0.001;
constexpr char kPickMarker = '+';

} // namespace

int CloneLine::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  picked_ = nullptr;
  previous_ = nullptr;
  lastClone_ = nullptr;
  step_ = Step::kType;
  return ChooseType(control, row);
}

int CloneLine::ChooseType(Control& control, const CommandRow& row) {
  const int answer = selector_.Step(control);
  if (answer == kStillRunning) {
    if (selector_.Listing()) SetPrompt(control, kCloningLine, kSelectTypeOfLine);
    return kStillRunning;
  }
  if (answer == kSelectorCancelled) return Finish(control, row);
  control.In().attributes = control.properties.line;
  AskLine(control, true);
  return kStillRunning;
}

int CloneLine::Act(Control& control, const CommandRow& row) {
  switch (step_) {
  case Step::kType:
    return ChooseType(control, row);
  case Step::kDistance:
    return Distance(control, row);
  default:
    break;
  }
  if (control.In().code == kCodeEnter) return Take(control, row);
  if (control.In().rawKey != kRawNone) return NotInUse(control);
  return kStillRunning;
}

int CloneLine::Back(Control& control, const CommandRow& /*row*/) {
  return Undo(control);
}

int CloneLine::Complete(Control& control, const CommandRow& row) {
  return Take(control, row);
}

int CloneLine::Alternative(Control& control, const CommandRow& row) {
  return Back(control, row);
}

int CloneLine::Cancel(Control& control, const CommandRow& row) {
  return End(control, row);
}

int CloneLine::End(Control& control, const CommandRow& row) {
  DropPick(control);
  return Finish(control, row);
}

int CloneLine::Take(Control& control, const CommandRow& row) {
  if (picked_ == nullptr) {
    Pick(control);
  } else {
    Position(control);
  }
  if (step_ == Step::kDistance) return Distance(control, row);
  return kStillRunning;
}

void CloneLine::Pick(Control& control) {
  InputRecord& in = control.In();
  Point nearest;
  LineElement* line = Geometry(control).NearestLine(in.cursor, nearest, kClonePickRadius);
  if (line == nullptr) {
    Message(control, kSoundError, kNoLineFound);
    return;
  }
  Beep(control, kSoundKey);
  picked_ = line;
  previous_ = nullptr;
  pickPoint_ = in.cursor;
  nearest_ = nearest;
  control.store.Select(line);
  // Shown beside the line, the side is known and only the distance is asked.
  if (SamePoint(nearest, in.cursor) == 0) {
    marked_ = control.store.AddMarker(pickPoint_, kPickMarker) != nullptr;
    step_ = Step::kDistance;
    return;
  }
  AskPosition(control);
}

void CloneLine::AskPosition(Control& control) {
  InputRecord& in = control.In();
  control.view.localOrigin = nearest_;
  in.points[0] = nearest_;
  in.pointCount = 1;
  in.attributes.SetShape(kShapeOpen);
  control.state.referenceLock = false;
  step_ = Step::kPosition;
  SetPrompt(control, kCloningLine, kEnterNewPosition);
  Beep(control, kSoundWaiting);
}

void CloneLine::Position(Control& control) {
  InputRecord& in = control.In();
  LineHit hit;
  if (Geometry(control).NearestOnLine(*picked_, in.cursor, hit, kClonePositionRadius) == 0 ||
      SameValue(hit.distance, 0.0) != 0) {
    Message(control, kSoundError, kCloningFailed);
    return;
  }
  Beep(control, kSoundKey);
  in.cursor = hit.point;
  control.properties.cloneDistance = std::abs(hit.distance);
  MakeClone(control, hit.distance);
}

int CloneLine::Distance(Control& control, const CommandRow& row) {
  AskNumberArgs args;
  args.title = kCloningLine;
  args.prompt = kWriteDistance;
  args.precision = kShownPrecision;
  double& memory = control.properties.cloneDistance;
  const int answer = AskNumber(control, control.prompts, args, typed_, memory);
  if (answer == kStillRunning) return kStillRunning;
  if (answer != kEntryAccepted) return End(control, row);
  if (SameValue(typed_, 0.0) != 0) {
    Message(control, kSoundError, kMoreThanZero);
    AskNumber(control, control.prompts, args, typed_, memory);
    return kStillRunning;
  }
  memory = std::abs(typed_);
  // The side of the copy is the side the line was shown from.
  LineHit hit;
  if (Geometry(control).NearestOnLine(*picked_, pickPoint_, hit, kClonePositionRadius) == 0) {
    return End(control, row);
  }
  MakeClone(control, hit.distance < 0.0 ? -memory : memory);
  return kStillRunning;
}

void CloneLine::MakeClone(Control& control, double distance) {
  OffsetResult offset;
  LineElement* made = nullptr;
  if (ElementGeometry::OffsetLine(*picked_, distance, offset) > 0 && offset.points.size() > 1) {
    PropertySet set = control.In().attributes;
    set.SetShape(offset.shape);
    made = control.store.AddLine(set, offset.points.data(), static_cast<int>(offset.points.size()));
  } else {
    Message(control, kSoundError, kCloningFailed);
  }
  LineElement* cloned = picked_;
  DropPick(control);
  if (made != nullptr) {
    control.store.painter().Draw(*made, DrawMode::kNormal);
    lastClone_ = made;
    previous_ = cloned;
  }
  AskLine(control, true);
}

int CloneLine::Undo(Control& control) {
  Beep(control, kSoundKey);
  if (picked_ != nullptr) {
    DropPick(control);
    AskLine(control, true);
  } else if (lastClone_ != nullptr) {
    // Deleting clears the pointer: the clone is forgotten with the record.
    control.store.painter().Draw(*lastClone_, DrawMode::kErase);
    control.store.DeleteLine(lastClone_);
    if (previous_ != nullptr) {
      picked_ = previous_;
      previous_ = nullptr;
      control.store.Select(picked_);
      AskPosition(control);
    }
  } else {
    Message(control, kSoundError, kNothingToBeDone);
  }
  return kStillRunning;
}

void CloneLine::DropPick(Control& control) {
  if (marked_) control.store.RemoveMarker(pickPoint_);
  marked_ = false;
  if (picked_ != nullptr) ShowNormally(control, *picked_);
  picked_ = nullptr;
  control.In().pointCount = 0;
}

void CloneLine::AskLine(Control& control, bool waiting) {
  step_ = Step::kShowLine;
  control.state.referenceLock = true;
  SetPrompt(control, kCloningLine, kShowLine);
  if (waiting) Beep(control, kSoundWaiting);
}

} // namespace lumora
