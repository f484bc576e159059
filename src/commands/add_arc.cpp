#include "commands/arc_commands.h"
#include "properties/current_properties.h"
#include "protocol/command_state.h"
#include "sound/my_beep.h"
#include "view/view.h"

namespace lumora {
namespace {

constexpr int kCloseVariant = 1; // the action popup offers "close" for Ctrl+Enter

} // namespace

void TakeAttributes(Control& control) {
  PropertySet& making = control.In().attributes;
  const std::uint32_t shape = making.shape();
  making = control.properties.line;
  making.SetShape(shape);
}

bool AfterKey(const Control& control) {
  return control.In().rawKey != kRawNone && control.In().code != kCodePropertiesChanged;
}

LineElement* AddShownLine(Control& control, const PropertySet& set, const Point* points,
                          int count) {
  LineElement* line = control.store.AddLine(set, points, count);
  if (line != nullptr) control.store.painter().Draw(*line, DrawMode::kNormal);
  return line;
}

void DeleteShownLine(Control& control, LineElement*& line) {
  if (line == nullptr) return;
  control.store.painter().Draw(*line, DrawMode::kErase);
  control.store.DeleteLine(line);
  line = nullptr;
}

void SetMakingShape(Control& control, std::uint32_t shape) {
  control.In().attributes.SetShape(shape);
  control.properties.line.SetShape(shape);
}

int AddArc::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  last_ = nullptr;
  SetMakingShape(control, kShapeArc);
  const int result = Select(control, row);
  if (result == kStillRunning && step_ == Step::kSelect) {
    SetPrompt(control, kAddingArc, kArcSelectType);
  }
  return result;
}

int ArcPointsCommand::Select(Control& control, const CommandRow& row) {
  const int answer = selector_.Step(control);
  if (answer == kStillRunning) return kStillRunning;
  if (answer != kSelectorDone) return Finish(control, row);
  step_ = Step::kPoints;
  TakeAttributes(control);
  Prompt(control);
  if (!AfterKey(control)) Beep(control, kSoundWaiting);
  return kStillRunning;
}

int ArcPointsCommand::Act(Control& control, const CommandRow& row) {
  if (step_ == Step::kSelect) return Select(control, row);
  const InputRecord& in = control.In();
  if (in.code == kCodeEnter) {
    TakePoint(control);
  } else if (in.code == kCodePropertiesChanged) {
    TakeAttributes(control);
  } else {
    return in.rawKey != kRawNone ? NotInUse(control) : kStillRunning;
  }
  return Prompt(control);
}

void AddArc::TakePoint(Control& control) {
  Beep(control, kSoundKey);
  InputRecord& in = control.In();
  if (in.pointCount == 0) {
    in.points[0] = in.cursor;
    in.pointCount = 1;
    return;
  }
  if (SamePoint(in.cursor, in.points[0]) != 0) {
    Message(control, kSoundError, kSamePointNotAllowed);
    return;
  }
  if (in.pointCount >= 2) return TakeEnd(control);
  in.points[1] = in.cursor;
  in.pointCount = 2;
  if (in.attributes.shape() != kShapeCircle) return;
  SaveUndo(control, kShapeCircle, 1);
  Make(control, kShapeCircle, in.points.data(), 2);
  in.pointCount = 0;
}

// The end lies on the circle of the start, in the direction of the cursor. The start shown
// again closes the circle.
void AddArc::TakeEnd(Control& control) {
  InputRecord& in = control.In();
  const Point centre = in.points[0];
  const Point start = in.points[1];
  if (SamePoint(in.cursor, start) != 0) return CircleOfHeld(control, kShapeArc);
  Point end{};
  if (PointAlong(centre.x, centre.y, in.cursor.x, in.cursor.y, Distance(centre, start), end.x,
                 end.y) == 0 ||
      SamePoint(end, start) != 0) {
    Message(control, kSoundError, kSamePointMessage);
    return;
  }
  // Saved only when an element is made: a refused end must not spoil the undo of the last one.
  SaveUndo(control, kShapeArc, 2);
  const Point points[] = {centre, start, end};
  Make(control, kShapeArc, points, 3);
  in.pointCount = 0;
}

void AddArc::CircleOfHeld(Control& control, std::uint32_t shapeAfter) {
  InputRecord& in = control.In();
  SaveUndo(control, kShapeArc, 2);
  Make(control, kShapeCircle, in.points.data(), 2);
  in.pointCount = 0;
  SetMakingShape(control, shapeAfter);
}

void AddArc::Make(Control& control, std::uint32_t shape, const Point* points, int count) {
  PropertySet set = control.In().attributes;
  set.SetShape(shape);
  last_ = AddShownLine(control, set, points, count);
}

void AddArc::SaveUndo(const Control& control, std::uint32_t shape, int count) {
  undoShape_ = shape;
  undoCount_ = count;
  for (int k = 0; k < count; ++k) {
    undoPoints_[static_cast<std::size_t>(k)] = control.In().points[static_cast<std::size_t>(k)];
  }
}

int AddArc::Back(Control& control, const CommandRow& /*row*/) {
  Beep(control, kSoundKey);
  InputRecord& in = control.In();
  if (in.pointCount > 0) {
    --in.pointCount;
    if (in.pointCount > 0) control.view.localOrigin = in.points[0];
  } else if (last_ != nullptr) {
    // The element goes and is forgotten; the points it was made from come back.
    DeleteShownLine(control, last_);
    for (int k = 0; k < undoCount_; ++k) {
      in.points[static_cast<std::size_t>(k)] = undoPoints_[static_cast<std::size_t>(k)];
    }
    in.pointCount = undoCount_;
    SetMakingShape(control, undoShape_);
  } else {
    Message(control, kSoundError, kNothingToBeDone);
  }
  return Prompt(control);
}

int AddArc::Complete(Control& control, const CommandRow& /*row*/) {
  Beep(control, kSoundKey);
  if (control.In().pointCount == 2) {
    CircleOfHeld(control, kShapeArc);
  } else {
    Message(control, kSoundError, kOneMorePoint);
  }
  return Prompt(control);
}

int AddArc::Alternative(Control& control, const CommandRow& row) {
  return Complete(control, row);
}

int AddArc::Cancel(Control& control, const CommandRow& row) {
  control.In().pointCount = 0;
  return Finish(control, row);
}

int AddArc::Prompt(Control& control) {
  InputRecord& in = control.In();
  // Switched to a circle with centre and start held: that is the circle.
  if (in.pointCount == 2 && in.attributes.shape() == kShapeCircle) {
    SaveUndo(control, kShapeArc, 2);
    Make(control, kShapeCircle, in.points.data(), 2);
    in.pointCount = 0;
  }
  const bool circle = in.attributes.shape() == kShapeCircle;
  const TextPair* prompt = &kEnterCentre;
  if (in.pointCount == 1) prompt = circle ? &kEnterOnCircle : &kEnterArcStart;
  if (in.pointCount == 2) prompt = &kEnterArcEnd;
  SetPrompt(control, circle ? kAddingCircle : kAddingArc, *prompt);
  control.state.actionVariant = in.pointCount >= 2 ? kCloseVariant : 0;
  if (AfterKey(control)) Beep(control, kSoundWaiting);
  return kStillRunning;
}

} // namespace lumora
