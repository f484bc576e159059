#include "commands/arc_commands.h"
#include "protocol/command_state.h"
#include "sound/my_beep.h"

#include <string>

namespace lumora {
namespace {

constexpr char kPointMarker = '+';

} // namespace

int ArcViaPoints::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  last_ = nullptr;
  SetMakingShape(control, kShapeArc);
  // The points are shown by their markers: they are no centre for the rubber band.
  control.In().previewKind = kPreviewNone;
  const int result = Select(control, row);
  if (result == kStillRunning && step_ == Step::kSelect) {
    SetPrompt(control, kArcViaPoints, kArcSelectType);
  }
  return result;
}

int ArcViaPoints::Complete(Control& control, const CommandRow& /*row*/) {
  TakePoint(control);
  return Prompt(control);
}

void ArcViaPoints::TakePoint(Control& control) {
  Beep(control, kSoundKey);
  InputRecord& in = control.In();
  for (int k = 0; k < in.pointCount; ++k) {
    if (SamePoint(in.cursor, in.points[static_cast<std::size_t>(k)]) != 0) {
      Message(control, kSoundError, kSamePointMessage);
      return;
    }
  }
  if (in.pointCount >= 2) return MakeThrough(control);
  in.points[static_cast<std::size_t>(in.pointCount++)] = in.cursor;
  control.store.AddMarker(in.cursor, kPointMarker);
}

void ArcViaPoints::MakeThrough(Control& control) {
  InputRecord& in = control.In();
  Point centre{};
  Point start{};
  Point end{};
  if (lumora::ArcThroughPoints(in.points[0], in.points[1], in.cursor, centre, start, end) == 0) {
    Message(control, kSoundError, kArcNotMade);
    return;
  }
  control.store.RemoveMarker(in.points[0]);
  control.store.RemoveMarker(in.points[1]);
  lastPoints_ = {in.points[0], in.points[1]};
  const std::uint32_t shape = in.attributes.shape() == kShapeCircle ? kShapeCircle : kShapeArc;
  PropertySet set = in.attributes;
  set.SetShape(shape);
  const Point points[] = {centre, start, end};
  last_ = AddShownLine(control, set, points, shape == kShapeCircle ? 2 : 3);
  in.pointCount = 0;
}

int ArcViaPoints::Back(Control& control, const CommandRow& /*row*/) {
  Beep(control, kSoundKey);
  InputRecord& in = control.In();
  if (in.pointCount > 0) {
    control.store.RemoveMarker(in.points[static_cast<std::size_t>(--in.pointCount)]);
  } else if (last_ != nullptr) {
    // The element goes and is forgotten; its two first points come back for a new third one.
    DeleteShownLine(control, last_);
    for (const Point& p : lastPoints_) {
      in.points[static_cast<std::size_t>(in.pointCount++)] = p;
      control.store.AddMarker(p, kPointMarker);
    }
  } else {
    Message(control, kSoundError, kNothingToBeDone);
  }
  return Prompt(control);
}

int ArcViaPoints::Alternative(Control& control, const CommandRow& row) {
  return Back(control, row);
}

int ArcViaPoints::Cancel(Control& control, const CommandRow& row) {
  InputRecord& in = control.In();
  if (step_ == Step::kPoints) {
    for (int k = 0; k < in.pointCount; ++k) {
      control.store.RemoveMarker(in.points[static_cast<std::size_t>(k)]);
    }
  }
  in.pointCount = 0;
  return Finish(control, row);
}

int ArcViaPoints::Prompt(Control& control) {
  const bool circle = control.In().attributes.shape() == kShapeCircle;
  const TextPair& title = circle ? kCircleViaPoints : kArcViaPoints;
  const std::string number = std::to_string(control.In().pointCount + 1);
  const Language now = control.Lang();
  const Language other = now == Language::kEnglish ? Language::kFinnish : Language::kEnglish;
  for (const Language language : {other, now}) {
    SetPrompt(control, language, title.In(language),
              std::string(kEnterNthPoint.In(language)) + number +
                  std::string(kNthPointEnd.In(language)));
  }
  if (AfterKey(control)) Beep(control, kSoundWaiting);
  return kStillRunning;
}

} // namespace lumora
