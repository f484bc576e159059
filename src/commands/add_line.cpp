#include "commands/line_commands.h"
#include "element_geometry/element_geometry.h"
#include "properties/current_properties.h"
#include "protocol/command_state.h"
#include "protocol/texts.h"
#include "screen/messages.h"
#include "sound/my_beep.h"
#include "view/view.h"

#include <algorithm>

namespace lumora {
namespace {

constexpr int kCloseVariant = 1; // the action popup offers Ctrl+Enter to close

// Two corners of a closed line are a rectangle, unless they share x or y: then a segment.
void ShapeClosedLine(std::vector<Point>& points, std::uint32_t& shape) {
  if (points.size() > 1 && SamePoint(points.front(), points.back()) != 0) points.pop_back();
  if (points.size() != 2) return;
  const Point a = points[0];
  const Point b = points[1];
  if (SameValue(a.x, b.x) != 0 || SameValue(a.y, b.y) != 0) {
    shape = kShapeOpen;
    return;
  }
  points = {a, {b.x, a.y}, b, {a.x, b.y}};
}

} // namespace

int AddLine::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  last_ = nullptr;
  step_ = Step::kType;
  control.In().attributes.SetShape(kShapeOpen);
  control.properties.line.SetShape(kShapeOpen);
  return ChooseType(control, row);
}

int AddLine::ChooseType(Control& control, const CommandRow& row) {
  const int answer = selector_.Step(control);
  if (answer == kStillRunning) {
    if (selector_.Listing()) SetPrompt(control, kAddingLine, kSelectTypeOfLine);
    return kStillRunning;
  }
  if (answer == kSelectorCancelled) return Finish(control, row);
  control.In().attributes = control.properties.line;
  step_ = Step::kVertices;
  ShowPrompt(control, true);
  return kStillRunning;
}

int AddLine::Act(Control& control, const CommandRow& row) {
  if (step_ == Step::kType) return ChooseType(control, row);
  InputRecord& in = control.In();
  switch (in.code) {
  case kCodeEnter:
    TakeVertex(control);
    break;
  case kCodePropertiesChanged:
    // A dialog, a key letter or o changed the attributes: the next line takes them.
    in.attributes = control.properties.line;
    ShowPrompt(control, false);
    return kStillRunning;
  default:
    if (in.rawKey != kRawNone) return NotInUse(control);
    return kStillRunning;
  }
  ShowPrompt(control, in.rawKey != kRawNone);
  return kStillRunning;
}

void AddLine::TakeVertex(Control& control) {
  InputRecord& in = control.In();
  if (in.pointCount >= kMaxRubberBandPoints) {
    ShowNotice(control.screen, kPointTableFull, false);
    return;
  }
  if (in.pointCount > 0 && SamePoint(in.cursor, in.points[in.pointCount - 1]) != 0) {
    MakeLine(control, false);
    return;
  }
  in.points[in.pointCount++] = in.cursor;
  Beep(control, kSoundKey);
}

int AddLine::Back(Control& control, const CommandRow& /*row*/) {
  InputRecord& in = control.In();
  Beep(control, kSoundKey);
  if (in.pointCount > 0) {
    --in.pointCount;
    if (in.pointCount > 0) control.view.localOrigin = in.points[in.pointCount - 1];
  } else if (last_ != nullptr) {
    // The line made last opens again for editing, with the kind it was begun as.
    control.store.painter().Draw(*last_, DrawMode::kErase);
    control.store.DeleteLine(last_);
    last_ = nullptr;
    in.attributes.SetShape(savedShape_);
    control.properties.line.SetShape(savedShape_);
    in.pointCount = static_cast<int>(savedPoints_.size());
    std::copy(savedPoints_.begin(), savedPoints_.end(), in.points.begin());
  } else {
    Message(control, kSoundSmallError, kNothingToBeDone);
  }
  ShowPrompt(control, true);
  return kStillRunning;
}

int AddLine::Complete(Control& control, const CommandRow& /*row*/) {
  MakeLine(control, false);
  ShowPrompt(control, true);
  return kStillRunning;
}

int AddLine::Alternative(Control& control, const CommandRow& /*row*/) {
  MakeLine(control, true);
  ShowPrompt(control, true);
  return kStillRunning;
}

int AddLine::Cancel(Control& control, const CommandRow& row) {
  control.In().pointCount = 0;
  return Finish(control, row);
}

void AddLine::MakeLine(Control& control, bool close) {
  InputRecord& in = control.In();
  if (in.pointCount < 2) {
    Message(control, kSoundError, kTooFewPoints);
    return;
  }
  // Undo gives back the vertices and the kind as they were before closing or shaping.
  savedShape_ = in.attributes.shape();
  savedPoints_.assign(in.points.begin(), in.points.begin() + in.pointCount);
  std::uint32_t shape = close ? kShapeClosed : savedShape_;
  std::vector<Point> points = savedPoints_;
  if (shape == kShapeClosed) ShapeClosedLine(points, shape);
  if (points.size() < 2) {
    Message(control, kSoundError, kTooFewPoints);
    return;
  }
  PropertySet set = in.attributes;
  set.SetShape(shape);
  LineElement* made = control.store.AddLine(set, points.data(), static_cast<int>(points.size()));
  // When the store could not take the line it said why; the vertices stay for another try.
  if (made == nullptr) return;
  last_ = made;
  control.store.painter().Draw(*made, DrawMode::kNormal);
  in.pointCount = 0;
}

void AddLine::ShowPrompt(Control& control, bool waiting) {
  const InputRecord& in = control.In();
  const TextPair& title = in.attributes.shape() == kShapeClosed ? kAddingClosedLine : kAddingLine;
  if (in.pointCount == 0) {
    SetPrompt(control, title, kEnterStartingPoint);
  } else {
    SetNumberedPrompt(control, title, kEnterVertexBefore, in.pointCount + 1, kEnterVertexAfter);
  }
  control.state.actionVariant = in.pointCount >= 2 ? kCloseVariant : 0;
  if (waiting) Beep(control, kSoundWaiting);
}

} // namespace lumora
