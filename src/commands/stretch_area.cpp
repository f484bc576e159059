#include "commands/area_commands.h"
#include "element_geometry/element_geometry.h"
#include "model/drawing.h"
#include "model/element_store.h"
#include "protocol/command_state.h"
#include "protocol/texts.h"
#include "protocol/window_services.h"
#include "sound/my_beep.h"

namespace lumora {

void HighlightGroup(ElementStore& store, const PartElement& group) {
  for (const LineNode* n : Each(group.lines)) store.Select(n->element);
  for (const TextNode* n : Each(group.texts)) store.Select(n->element);
  for (const FillingNode* n : Each(group.fillings)) store.Select(n->element);
  for (const PartNode* n : Each(group.parts)) store.Select(n->element);
}

// ---- Stretch ----

int Stretch::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  selection_.ForStretch();
  selection_.Begin(control, kStretchTitle);
  step_ = Step::kSelect;
  Beep(control, kSoundWaiting);
  return kStillRunning;
}

int Stretch::Act(Control& control, const CommandRow& row) {
  if (control.In().code == kContinueTick) return kStillRunning;
  switch (step_) {
  case Step::kSelect:
    return Select(control, row);
  case Step::kPoint:
    if (control.In().code == kCodeEnter) return StretchPoint(control);
    return NotInUse(control);
  case Step::kLocation:
    if (control.In().code == kCodeEnter) return NewLocation(control);
    return NotInUse(control);
  }
  return kStillRunning;
}

int Stretch::Back(Control& control, const CommandRow& row) {
  switch (step_) {
  case Step::kSelect:
    return Select(control, row);
  case Step::kPoint: {
    // The set is given up; the area can be drawn again from its first corner.
    const Point corner = area_[0];
    const bool byArea = areaCount_ > 0;
    DropGroup(control);
    if (byArea) {
      selection_.BeginAtCorner(control, kStretchTitle, corner);
    } else {
      selection_.Begin(control, kStretchTitle, true);
    }
    step_ = Step::kSelect;
    return kStillRunning;
  }
  case Step::kLocation:
    RemoveMarker(control);
    ToPointStep(control);
    return kStillRunning;
  }
  return kStillRunning;
}

int Stretch::Complete(Control& control, const CommandRow& /*row*/) {
  return step_ == Step::kPoint ? StretchPoint(control) : NewLocation(control);
}

int Stretch::Alternative(Control& control, const CommandRow& row) {
  switch (step_) {
  case Step::kSelect:
    return Select(control, row);
  case Step::kPoint:
    // Back to the gathering with the set kept: more can be picked into it or out of it.
    HideOutline(control);
    selection_.Resume(control, kStretchTitle, group_, area_, areaCount_);
    group_ = nullptr;
    step_ = Step::kSelect;
    return kStillRunning;
  case Step::kLocation:
    RemoveMarker(control);
    ToPointStep(control);
    return kStillRunning;
  }
  return kStillRunning;
}

int Stretch::Cancel(Control& control, const CommandRow& row) {
  return End(control, row);
}

int Stretch::Select(Control& control, const CommandRow& row) {
  const int code = control.In().code;
  // A key that begins a new set makes the last stretch final; cursor motion does not.
  if (control.In().rawKey != kRawNone && code != kCodeBackspace && code != kCodeEsc)
    ForgetPrevious(control);
  const int result = selection_.Step(control, previous_ != nullptr);
  if (result == kStillRunning) return kStillRunning;
  if (result == kSelectionReady) {
    group_ = selection_.TakeGroup();
    areaCount_ = selection_.AreaCount();
    area_ = selection_.Area();
    ShowOutline(control);
    ToPointStep(control);
    return kStillRunning;
  }
  if (code == kCodeEsc || previous_ == nullptr) return End(control, row);
  return TakeBack(control);
}

void Stretch::ToPointStep(Control& control) {
  InputRecord& in = control.In();
  in.pointCount = 0;
  step_ = Step::kPoint;
  SetPrompt(control, kStretchTitle, kEnterStretchPoint);
  Beep(control, kSoundWaiting);
}

void Stretch::ToLocationStep(Control& control) {
  InputRecord& in = control.In();
  marked_ = control.store.AddMarker(point_, '+') != nullptr;
  in.previewKind = kPreviewElement;
  in.attributes.SetShape(kShapeOpen);
  in.pointCount = 1;
  in.points[0] = point_;
  step_ = Step::kLocation;
  SetPrompt(control, kStretchTitle, kEnterNewLocation);
  Beep(control, kSoundWaiting);
}

int Stretch::StretchPoint(Control& control) {
  Beep(control, kSoundKey);
  point_ = control.In().cursor;
  ToLocationStep(control);
  return kStillRunning;
}

int Stretch::NewLocation(Control& control) {
  const Point to = control.In().cursor;
  if (SamePoint(to, point_) != 0) {
    Message(control, kSoundError, kSamePointNotAllowed);
    return kStillRunning;
  }
  if (group_ == nullptr) return kStillRunning;
  Beep(control, kSoundKey);
  RemoveMarker(control);
  HideOutline(control);
  control.store.ShowHighlightedNormally();
  before_.Clear();
  before_.Take(*group_);
  const std::span<const Point> area(area_.data(), static_cast<std::size_t>(areaCount_));
  Geometry(control).TransformGroup(*group_, area, point_, to, 1.0, 1.0, 0.0);
  control.store.NameStep(StepKind::kStretch);
  ++control.drawing.changes;
  previous_ = group_;
  // The area as it was drawn: taking the stretch back shows it there again.
  previousArea_ = area_;
  previousCount_ = areaCount_;
  group_ = nullptr;
  control.In().pointCount = 0;
  step_ = Step::kSelect;
  selection_.Begin(control, kStretchTitle);
  Beep(control, kSoundWaiting);
  return kStillRunning;
}

// The last stretch is taken back by writing back what it changed; the set, its area and the
// stretch point are as they were before the new location was given.
int Stretch::TakeBack(Control& control) {
  before_.Restore(Geometry(control));
  before_.Clear();
  ++control.drawing.changes;
  group_ = previous_;
  previous_ = nullptr;
  areaCount_ = previousCount_;
  area_ = previousArea_;
  HighlightGroup(control.store, *group_);
  ShowOutline(control);
  control.In().cursor = point_;
  ToLocationStep(control);
  return kStillRunning;
}

void Stretch::ShowOutline(Control& control) {
  if (outlined_ || areaCount_ <= 0) return;
  outlined_ = control.store.AddOutline(area_.data(), areaCount_) != nullptr;
}

void Stretch::HideOutline(Control& control) {
  if (outlined_) control.store.RemoveOutline(area_.data(), areaCount_);
  outlined_ = false;
}

void Stretch::RemoveMarker(Control& control) {
  if (marked_) control.store.RemoveMarker(point_);
  marked_ = false;
  control.In().pointCount = 0;
}

void Stretch::ForgetPrevious(Control& control) {
  if (previous_ == nullptr) return;
  control.store.DeletePart(previous_, false);
  previous_ = nullptr;
  before_.Clear();
}

void Stretch::DropGroup(Control& control) {
  HideOutline(control);
  control.store.ShowHighlightedNormally();
  if (group_ != nullptr) control.store.DeletePart(group_, false);
  group_ = nullptr;
}

int Stretch::End(Control& control, const CommandRow& row) {
  RemoveMarker(control);
  DropGroup(control);
  ForgetPrevious(control);
  selection_.Dissolve(control);
  control.In().attributes.SetStyle(0);
  control.In().attributes.SetShape(kShapeOpen);
  return Finish(control, row);
}

} // namespace lumora
