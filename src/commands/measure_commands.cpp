#include "commands/measure_commands.h"

#include "commands/text_placing.h"
#include "geometry/primitives.h"
#include "model/elements.h"
#include "properties/current_properties.h"
#include "properties/value_selector.h"
#include "protocol/texts.h"
#include "sound/my_beep.h"
#include "ui/ask_text.h"
#include "util/number_text.h"

#include <cmath>

namespace lumora {
namespace {

constexpr double kValuePrecision = 0.001;
constexpr std::size_t kValueWidth = 40;
constexpr double kHorizontal = 0.0;
constexpr double kVertical = 90.0;
constexpr std::uint32_t kLinearMeasure = 1;
constexpr std::uint32_t kAngleMeasure = 2;
constexpr int kLinearPoints = 2;
constexpr int kAnglePoints = 4;
constexpr std::string_view kNoAngle = "*";

bool Near(double a, double b) {
  return std::abs(a - b) < kAngleTolerance;
}

Point Middle(const Point& a, const Point& b) {
  return {(a.x + b.x) / 2.0, (a.y + b.y) / 2.0};
}

} // namespace

double MeasureDirection(double angle, const Point& start, const Point& end) {
  if (!Near(angle, kHorizontal) && !Near(angle, kVertical)) return angle;
  return std::abs(end.x - start.x) <= std::abs(end.y - start.y) ? kVertical : kHorizontal;
}

std::string MeasureValue(const Point& start, const Point& end, double angle) {
  const double length = Projection(end.x - start.x, end.y - start.y, angle, 1);
  return NumberToText(length, kValuePrecision, kValueWidth);
}

bool AngleValue(const Point& rightStart, const Point& rightDirection, const Point& leftStart,
                const Point& leftDirection, std::string& value) {
  double angle = 0.0;
  // The direction of a side runs from the crossing to its direction point; the primitive counts
  // the left one less the right one.
  const bool counted =
      AngleBetweenLines({leftStart, leftDirection}, {rightStart, rightDirection}, angle) != 0;
  value = counted ? NumberToText(angle, kValuePrecision, kValueWidth) : std::string(kNoAngle);
  value.push_back(kDegreeSign);
  return counted;
}

// ---- What both share ----

int MeasureCommand::BeginMeasure(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  // Ctrl+Enter in the string editing comes back to the command.
  control.state.backAllowed = true;
  savedAngle_ = control.properties.text.angle;
  last_ = nullptr;
  string_.clear();
  return ChooseType(control, row);
}

int MeasureCommand::ChooseType(Control& control, const CommandRow& row) {
  const int result = selector_.Step(control);
  if (result == kStillRunning) {
    if (selector_.Listing()) SetPrompt(control, title_, kSelectTypeOfText);
    return kStillRunning;
  }
  if (result != kSelectorDone) return End(control, row);
  TakeTextAttributes(control);
  return kSelectorDone;
}

int MeasureCommand::EditString(Control& control, const CommandRow& row) {
  DropPreview(control);
  if (control.state.inputMode != kModeTextEntry) SetPrompt(control, title_, kEditString);
  const AskTextArgs args{title_, kEditString, kTextBufferSize, false};
  const int result = AskText(control, control.prompts, args, string_);
  if (result == kStillRunning) return kStillRunning;
  if (result == kEntryEsc) return End(control, row);
  return kEntryAccepted;
}

int MeasureCommand::ShowLocation(Control& control, const TextPair& request) {
  const std::string shown = Shortened(string_);
  const std::string en = std::string(named_.en) + shown + "^': ";
  const std::string fi = std::string(named_.fi) + shown + std::string("^' lisäys: "_l1);
  SetPrompt(control, {en, fi}, request);
  return Carry(control);
}

int MeasureCommand::Carry(Control& control) {
  TakeTextAttributes(control);
  CarryTextOutline(control, string_);
  return kStillRunning;
}

bool MeasureCommand::Place(Control& control, std::uint32_t mitta, int count) {
  std::array<Point, kAnglePoints + 1> points{};
  points[0] = control.In().cursor;
  for (int i = 0; i < count; ++i) points[std::size_t(i) + 1] = points_[std::size_t(i)];
  UnmarkAll(control);
  control.properties.text.SetMitta(mitta);
  TextElement* made =
      PlaceText(control, std::span<const Point>(points.data(), std::size_t(count) + 1), string_);
  if (made == nullptr) return false;
  last_ = made;
  return true;
}

bool MeasureCommand::TakeBack(Control& control, int count) {
  std::array<Point, kAnglePoints + 1> points{};
  if (!TakeBackText(control, last_, string_, points.data(), count + 1)) return false;
  for (int i = 0; i < count; ++i) {
    points_[std::size_t(i)] = points[std::size_t(i) + 1];
    MarkPoint(control, points_[std::size_t(i)]);
  }
  return true;
}

int MeasureCommand::End(Control& control, const CommandRow& row) {
  UnmarkAll(control);
  DropPreview(control);
  control.properties.text.angle = savedAngle_;
  return Finish(control, row);
}

int MeasureCommand::Cancel(Control& control, const CommandRow& row) {
  return End(control, row);
}

bool MeasureCommand::Silent(const InputRecord& in) {
  return in.rawKey == kRawNone || in.code == kContinueTick;
}

// ---- Measures ----

int AddMeasure::Start(Control& control, const CommandRow& row) {
  const int result = BeginMeasure(control, row);
  return result == kSelectorDone ? ShowStart(control) : result;
}

int AddMeasure::ShowStart(Control& control) {
  step_ = Step::kStart;
  DropPreview(control);
  TakeTextAttributes(control);
  SetPrompt(control, title_, kEnterStart);
  return kStillRunning;
}

int AddMeasure::ShowEnd(Control& control) {
  step_ = Step::kEnd;
  DropPreview(control);
  SetPrompt(control, title_, kEnterEnd);
  return kStillRunning;
}

bool AddMeasure::Recount(Control& control) {
  const double angle = control.properties.text.angle;
  if (Near(angle, angleUsed_)) return false;
  string_ = MeasureValue(points_[0], points_[1], angle);
  angleUsed_ = angle;
  return true;
}

int AddMeasure::TakePoint(Control& control) {
  InputRecord& in = control.In();
  if (step_ == Step::kStart) {
    points_[0] = in.cursor;
    MarkPoint(control, points_[0]);
    return ShowEnd(control);
  }
  if (SamePoint(in.cursor, points_[0]) != 0) {
    Message(control, kSoundError, kSamePointMessage);
    return kStillRunning;
  }
  points_[1] = in.cursor;
  MarkPoint(control, points_[1]);
  double& angle = control.properties.text.angle;
  angle = MeasureDirection(angle, points_[0], points_[1]);
  string_ = MeasureValue(points_[0], points_[1], angle);
  angleUsed_ = angle;
  in.cursor = Middle(points_[0], points_[1]);
  step_ = Step::kLocation;
  return ShowLocation(control, kEnterMeasureLocation);
}

int AddMeasure::Locate(Control& control, const CommandRow& /*row*/, bool tab) {
  // Tab after a turn of the text shows the new value first.
  if (tab && Recount(control)) return ShowLocation(control, kEnterMeasureLocationOnly);
  Recount(control);
  if (!Place(control, kLinearMeasure, kLinearPoints)) return kStillRunning;
  return ShowStart(control);
}

int AddMeasure::Act(Control& control, const CommandRow& row) {
  const InputRecord& in = control.In();
  switch (step_) {
  case Step::kType: {
    const int result = ChooseType(control, row);
    return result == kSelectorDone ? ShowStart(control) : result;
  }
  case Step::kString: {
    const int result = EditString(control, row);
    if (result != kEntryAccepted) return result;
    step_ = Step::kLocation;
    return ShowLocation(control, kEnterMeasureLocation);
  }
  case Step::kStart:
  case Step::kEnd:
    if (in.code == kCodeEnter) return TakePoint(control);
    if (Silent(in) || in.code == kCodeMeasureRedraw || in.code == kCodePropertiesChanged) {
      return kStillRunning;
    }
    return NotInUse(control);
  case Step::kLocation:
    break;
  }
  if (in.code == kCodeEnter) return Locate(control, row, false);
  if (in.code == kCodeMeasureRedraw) {
    if (Recount(control)) return ShowLocation(control, kEnterMeasureLocation);
    return kStillRunning;
  }
  if (in.code == kCodePropertiesChanged) return Carry(control);
  if (Silent(in)) return kStillRunning;
  NotInUse(control);
  if (Recount(control)) return ShowLocation(control, kEnterMeasureLocationOnly);
  return kStillRunning;
}

int AddMeasure::Back(Control& control, const CommandRow& /*row*/) {
  switch (step_) {
  case Step::kStart: {
    const double angle = InDrawing(control, last_) ? double(last_->angle()) : angleUsed_;
    if (!TakeBack(control, kLinearPoints)) {
      Message(control, kSoundError, kNothingToBeDone);
      return kStillRunning;
    }
    angleUsed_ = angle;
    step_ = Step::kLocation;
    return ShowLocation(control, kEnterMeasureLocation);
  }
  case Step::kEnd:
    UnmarkPoint(control, points_[0]);
    return ShowStart(control);
  case Step::kLocation:
    UnmarkPoint(control, points_[1]);
    return ShowEnd(control);
  default:
    return NotInUse(control);
  }
}

int AddMeasure::Complete(Control& control, const CommandRow& row) {
  switch (step_) {
  case Step::kStart:
  case Step::kEnd:
    return TakePoint(control);
  case Step::kLocation:
    return Locate(control, row, true);
  default:
    return NotInUse(control);
  }
}

int AddMeasure::Alternative(Control& control, const CommandRow& row) {
  if (step_ != Step::kLocation) return NotInUse(control);
  step_ = Step::kString;
  return Act(control, row);
}

// ---- Angle measures ----

int AngleMeasure::Start(Control& control, const CommandRow& row) {
  const int result = BeginMeasure(control, row);
  return result == kSelectorDone ? Show(control, Step::kRightStart) : result;
}

int AngleMeasure::Show(Control& control, Step step) {
  step_ = step;
  TakeTextAttributes(control);
  switch (step) {
  case Step::kRightStart:
    DropPreview(control);
    SetPrompt(control, title_, kEnterRightStart);
    break;
  case Step::kRightDirection:
    RubberLineFrom(control, points_[0]);
    SetPrompt(control, title_, kEnterRightDirection);
    break;
  case Step::kLeftStart:
    DropPreview(control);
    SetPrompt(control, title_, kEnterLeftStart);
    break;
  case Step::kLeftDirection:
    RubberLineFrom(control, points_[2]);
    SetPrompt(control, title_, kEnterLeftDirection);
    break;
  case Step::kLocation:
    return ShowLocation(control, kEnterMeasureLocation);
  default:
    break;
  }
  return kStillRunning;
}

int AngleMeasure::TakePoint(Control& control) {
  InputRecord& in = control.In();
  switch (step_) {
  case Step::kRightStart:
    points_[0] = in.cursor;
    MarkPoint(control, points_[0]);
    return Show(control, Step::kRightDirection);
  case Step::kLeftStart:
    points_[2] = in.cursor;
    MarkPoint(control, points_[2]);
    return Show(control, Step::kLeftDirection);
  case Step::kRightDirection:
  case Step::kLeftDirection:
    break;
  default:
    return kStillRunning;
  }
  const bool right = step_ == Step::kRightDirection;
  const Point& sideStart = points_[right ? 0 : 2];
  if (SamePoint(in.cursor, sideStart) != 0) {
    Message(control, kSoundError, kSamePointMessage);
    return kStillRunning;
  }
  points_[right ? 1 : 3] = in.cursor;
  MarkPoint(control, in.cursor);
  in.cursor = points_[0];
  if (right) return Show(control, Step::kLeftStart);
  if (!AngleValue(points_[0], points_[1], points_[2], points_[3], string_)) {
    Message(control, kSoundError, kAngleNotCounted);
  }
  return Show(control, Step::kLocation);
}

int AngleMeasure::Act(Control& control, const CommandRow& row) {
  const InputRecord& in = control.In();
  switch (step_) {
  case Step::kType: {
    const int result = ChooseType(control, row);
    return result == kSelectorDone ? Show(control, Step::kRightStart) : result;
  }
  case Step::kString: {
    const int result = EditString(control, row);
    return result == kEntryAccepted ? Show(control, Step::kLocation) : result;
  }
  default:
    break;
  }
  if (in.code == kCodeEnter) return Complete(control, row);
  // The attributes changed under the measure: the cursor shows them anew.
  if (in.code == kCodePropertiesChanged) return Show(control, step_);
  if (Silent(in)) return kStillRunning;
  return NotInUse(control);
}

int AngleMeasure::Back(Control& control, const CommandRow& /*row*/) {
  switch (step_) {
  case Step::kRightStart:
    if (!TakeBack(control, kAnglePoints)) {
      Message(control, kSoundError, kNothingToBeDone);
      return kStillRunning;
    }
    return Show(control, Step::kLocation);
  case Step::kRightDirection:
    UnmarkPoint(control, points_[0]);
    return Show(control, Step::kRightStart);
  case Step::kLeftStart:
    UnmarkPoint(control, points_[1]);
    return Show(control, Step::kRightDirection);
  case Step::kLeftDirection:
    UnmarkPoint(control, points_[2]);
    return Show(control, Step::kLeftStart);
  case Step::kLocation:
    UnmarkPoint(control, points_[3]);
    return Show(control, Step::kLeftDirection);
  default:
    return NotInUse(control);
  }
}

int AngleMeasure::Complete(Control& control, const CommandRow& /*row*/) {
  if (step_ != Step::kLocation) return TakePoint(control);
  if (!Place(control, kAngleMeasure, kAnglePoints)) return kStillRunning;
  return Show(control, Step::kRightStart);
}

int AngleMeasure::Alternative(Control& control, const CommandRow& row) {
  if (step_ != Step::kLocation) return NotInUse(control);
  step_ = Step::kString;
  return Act(control, row);
}

} // namespace lumora
