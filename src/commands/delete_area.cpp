#include "commands/edit_commands.h"
#include "commands/element_selection.h"
#include "model/element_store.h"
#include "protocol/command_state.h"
#include "protocol/texts.h"
#include "protocol/window_services.h"
#include "sound/my_beep.h"

#include <array>

namespace lumora {
namespace {

constexpr std::uint32_t kClosedLine = 2;
constexpr std::uint32_t kAreaStyle = 3;

} // namespace

int DeleteArea::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  pending_ = nullptr;
  RubberBand(control, 0);
  SetPrompt(control, kDeletingArea, kEnterArea);
  return kStillRunning;
}

// The area's rubber band is a dashed closed line from the first corner, which is the band's
// first point.
void DeleteArea::RubberBand(Control& control, int points) {
  InputRecord& in = control.In();
  in.previewKind = kPreviewElement;
  in.attributes.SetShape(kClosedLine);
  in.attributes.SetStyle(kAreaStyle);
  in.pointCount = points;
  if (points > 0) in.points[0] = in.cursor;
}

void DeleteArea::DeletePending(Control& control) {
  if (pending_ == nullptr) return;
  control.store.DeletePart(pending_, true);
  pending_ = nullptr;
}

int DeleteArea::Corner(Control& control) {
  DeletePending(control);
  if (control.In().pointCount == 0) {
    Beep(control, kSoundKey);
    RubberBand(control, 1);
  } else {
    SecondCorner(control);
  }
  Beep(control, kSoundWaiting);
  return kStillRunning;
}

int DeleteArea::SecondCorner(Control& control) {
  const std::optional<std::array<Point, 4>> area = BandArea(control, kSamePointNotAllowed);
  if (!area) return kStillRunning;
  PartElement* group = nullptr;
  const Gathered gathered = GatherArea(control, *area, true, group);
  if (gathered == Gathered::kNoRoom) return kStillRunning;
  if (gathered == Gathered::kNone) {
    // The first corner stays: another second corner may be shown.
    Message(control, kSoundError, kNoElementsFound);
    return kStillRunning;
  }
  Beep(control, kSoundKey);
  control.store.ShowHighlightedNormally();
  HideGroup(control, *group);
  pending_ = group;
  RubberBand(control, 0);
  return kStillRunning;
}

int DeleteArea::BringBack(Control& control) {
  if (pending_ != nullptr) {
    Beep(control, kSoundKey);
    UnhideGroup(control, *pending_);
    // The group record alone goes: its members stay in the drawing.
    control.store.DeletePart(pending_, false);
    pending_ = nullptr;
  } else if (control.In().pointCount > 0) {
    Beep(control, kSoundKey);
    RubberBand(control, 0);
  } else {
    Message(control, kSoundError, kNothingToBeDone);
  }
  Beep(control, kSoundWaiting);
  return kStillRunning;
}

int DeleteArea::Act(Control& control, const CommandRow& /*row*/) {
  if (control.In().code == kCodeEnter) return Corner(control);
  if (control.In().rawKey == kRawNone) return kStillRunning;
  DeletePending(control);
  return NotInUse(control);
}

int DeleteArea::Complete(Control& control, const CommandRow& /*row*/) {
  return Corner(control);
}

int DeleteArea::Back(Control& control, const CommandRow& /*row*/) {
  return BringBack(control);
}

int DeleteArea::Alternative(Control& control, const CommandRow& /*row*/) {
  return BringBack(control);
}

int DeleteArea::Cancel(Control& control, const CommandRow& row) {
  return End(control, row);
}

int DeleteArea::End(Control& control, const CommandRow& row) {
  DeletePending(control);
  InputRecord& in = control.In();
  in.pointCount = 0;
  in.attributes.SetStyle(0);
  in.attributes.SetShape(1);
  return Finish(control, row);
}

} // namespace lumora
