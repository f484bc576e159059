#include "commands/filling_commands.h"
#include "commands/line_commands.h"
#include "element_geometry/element_geometry.h"
#include "element_geometry/region_search.h"
#include "properties/current_properties.h"
#include "protocol/command_state.h"
#include "screen/messages.h"
#include "sound/my_beep.h"

#include <algorithm>

namespace lumora {
namespace {

constexpr double kBorderPickRadius = 3.0; // search units
constexpr char kEndMarker = 'O';

bool IsLoop(const LineElement& line) {
  return line.shape() == kShapeClosed || line.shape() == kShapeCircle;
}

Point FirstPoint(const LineElement& line) {
  return IsRound(line) && line.ps0() >= 2 ? line.points[1] : line.points[0];
}

Point LastPoint(const LineElement& line) {
  return line.points[line.ps0() - 1];
}

} // namespace

int AddFilling::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  border_.clear();
  ends_.clear();
  undoBorder_.clear();
  regionLines_.clear();
  last_ = nullptr;
  justMade_ = false;
  marked_ = false;
  step_ = Step::kType;
  return ChooseType(control, row);
}

int AddFilling::ChooseType(Control& control, const CommandRow& row) {
  const int answer = selector_.Step(control);
  if (answer == kStillRunning) {
    if (selector_.Listing()) SetPrompt(control, kAddingFilling, kSelectTypeOfFilling);
    return kStillRunning;
  }
  if (answer == kSelectorCancelled) return Finish(control, row);
  control.In().attributes = control.properties.filling;
  step_ = Step::kBorder;
  ShowBorder(control);
  Beep(control, kSoundWaiting);
  return kStillRunning;
}

int AddFilling::Act(Control& control, const CommandRow& row) {
  if (step_ == Step::kType) return ChooseType(control, row);
  InputRecord& in = control.In();
  if (in.code == kCodePropertiesChanged) {
    // A dialog or a key letter changed the attributes: the filling made next takes them.
    in.attributes = control.properties.filling;
    if (step_ == Step::kContinue) {
      SetPrompt(control, kContinuingFilling, kShowContinuingLine);
    } else {
      ShowBorder(control);
    }
    return kStillRunning;
  }
  if (in.code != kCodeEnter) return in.rawKey != kRawNone ? NotInUse(control) : kStillRunning;
  justMade_ = false;
  Beep(control, kSoundKey);
  if (step_ == Step::kContinue) {
    ContinueByHand(control);
    return kStillRunning;
  }
  if (border_.size() >= kMaxBorderEntries) {
    ShowNotice(control.screen, kTooManyLines, false);
    return kStillRunning;
  }
  Point nearest;
  LineElement* line = Geometry(control).NearestLine(in.cursor, nearest, kBorderPickRadius);
  if (line == nullptr) {
    if (!border_.empty() || !HatchRegion(control)) {
      Message(control, kSoundError, kBorderLineNotFound);
    }
  } else if (Listed(line)) {
    Message(control, kSoundError, kLineAlreadyIncluded);
  } else if (IsLoop(*line)) {
    Append(control, line, LastPoint(*line));
  } else {
    loopStart_ = FirstPoint(*line);
    Append(control, line, LastPoint(*line));
    Follow(control, line);
  }
  return kStillRunning;
}

// Takes the lines joined end to end after the one shown until the loop is back at its start.
void AddFilling::Follow(Control& control, LineElement* line) {
  ElementGeometry& geometry = Geometry(control);
  const double tol = geometry.settings.areaTolerance;
  while (SamePointWithin(end_.x, end_.y, loopStart_.x, loopStart_.y, tol) == 0) {
    if (border_.size() >= kMaxBorderEntries - 1) {
      ShowNotice(control.screen, kTooManyLines, false);
      return;
    }
    Point other;
    LineElement* next = geometry.LineEndingAt(line, end_, other, tol);
    if (next == nullptr || Listed(next)) {
      AskContinuation(control);
      Message(control, kSoundSmallError, kAreaNotClosed);
      return;
    }
    Append(control, next, other);
    line = next;
  }
  AppendSeparator(control);
}

void AddFilling::AskContinuation(Control& control) {
  step_ = Step::kContinue;
  Mark(control, end_);
  SetPrompt(control, kContinuingFilling, kShowContinuingLine);
}

// A line shown by hand joins at its nearer end; the chain goes on from the other.
void AddFilling::ContinueByHand(Control& control) {
  Unmark(control);
  Point nearest;
  LineElement* line =
      Geometry(control).NearestLine(control.In().cursor, nearest, kBorderPickRadius);
  if (line == nullptr) {
    Message(control, kSoundError, kBorderLineNotFound);
  } else if (IsLoop(*line)) {
    Message(control, kSoundError, kClosedLineNotAllowed);
  } else if (Listed(line)) {
    Message(control, kSoundError, kLineAlreadyIncluded);
  } else if (border_.size() >= kMaxBorderEntries - 1) {
    ShowNotice(control.screen, kTooManyLines, false);
  } else {
    const Point first = FirstPoint(*line);
    const Point last = LastPoint(*line);
    Append(control, line, Distance(last, end_, 0) < Distance(first, end_, 0) ? first : last);
  }
  AskContinuation(control);
}

void AddFilling::EndContinuation(Control& control) {
  Unmark(control);
  step_ = Step::kBorder;
  ShowBorder(control);
}

int AddFilling::Complete(Control& control, const CommandRow& /*row*/) {
  Beep(control, kSoundKey);
  if (step_ == Step::kContinue) {
    justMade_ = false;
    AppendSeparator(control);
    EndContinuation(control);
    return kStillRunning;
  }
  MakeFilling(control);
  ShowBorder(control);
  return kStillRunning;
}

void AddFilling::MakeFilling(Control& control) {
  justMade_ = false;
  if (border_.empty()) {
    Message(control, kSoundError, kNoBorderLines);
    return;
  }
  undoBorder_ = border_;
  regionLines_.clear();
  std::vector<LineElement*> lines = border_;
  if (lines.back() == nullptr) lines.pop_back();
  ClearHighlights(control);
  border_.clear();
  ends_.clear();
  FillingElement* made = control.store.AddFilling(control.In().attributes, lines.data(),
                                                  static_cast<int>(lines.size()));
  if (made == nullptr) return; // the store has told why
  ElementGeometry& geometry = Geometry(control);
  const HatchStatus status = geometry.BuildHatch(*made);
  geometry.Store().painter().Draw(*made, DrawMode::kNormal);
  if (status == HatchStatus::kTooDense) Message(control, kSoundError, kTooDenseFilling);
  last_ = made;
  justMade_ = true;
}

// A click inside a closed region hatches it at once. Its boundary is made as new lines lying
// over the lines that form it, so the filling follows whole lines of its own and the drawing's
// lines stay as they were. False when no region closes round the point.
bool AddFilling::HatchRegion(Control& control) {
  ElementGeometry& geometry = Geometry(control);
  Region region;
  if (!FindRegion(geometry, control.In().cursor, region)) return false;
  const PropertySet& attributes = control.In().attributes;
  std::vector<LineElement*> entries;
  std::vector<LineElement*> lines;
  const bool made = MakeRegionBoundary(geometry, region, attributes, entries, lines);
  FillingElement* filling = nullptr;
  if (made && entries.size() > static_cast<std::size_t>(kMaxFillingLines)) {
    ShowNotice(control.screen, kTooManyLines, false);
  } else if (made) {
    filling =
        control.store.AddFilling(attributes, entries.data(), static_cast<int>(entries.size()));
  }
  if (filling == nullptr) {
    // The store or the notice has told why; nothing half made stays.
    for (LineElement* line : lines) control.store.DeleteLine(line);
    return true;
  }
  for (LineElement* line : lines) geometry.Store().painter().Draw(*line, DrawMode::kNormal);
  const HatchStatus status = geometry.BuildHatch(*filling);
  geometry.Store().painter().Draw(*filling, DrawMode::kNormal);
  if (status == HatchStatus::kTooDense) Message(control, kSoundError, kTooDenseFilling);
  undoBorder_.clear();
  regionLines_ = std::move(lines);
  last_ = filling;
  justMade_ = true;
  return true;
}

int AddFilling::Back(Control& control, const CommandRow& /*row*/) {
  Beep(control, kSoundKey);
  if (step_ == Step::kContinue) {
    UndoContinued(control);
  } else {
    Undo(control);
    ShowBorder(control);
  }
  return kStillRunning;
}

int AddFilling::Alternative(Control& control, const CommandRow& row) {
  return Back(control, row);
}

void AddFilling::Undo(Control& control) {
  if (justMade_ && last_ != nullptr) {
    justMade_ = false;
    control.store.painter().Draw(*last_, DrawMode::kErase);
    control.store.DeleteFilling(last_);
    if (!regionLines_.empty()) {
      // The region's own lines go with it; the lines they lay over are shown whole again.
      for (LineElement* line : regionLines_) control.store.DeleteLine(line);
      regionLines_.clear();
      Geometry(control).Environment().RedrawAll();
    }
    border_ = undoBorder_;
    ends_.assign(border_.size(), end_);
    for (LineElement* line : border_) control.store.Select(line);
    return;
  }
  justMade_ = false;
  if (border_.empty()) {
    Message(control, kSoundError, kNothingToBeDone);
    return;
  }
  // A whole followed chain goes at once, back to the loop before it.
  while (!border_.empty()) {
    const LineElement* removed = border_.back();
    RemoveLast(control);
    if ((removed != nullptr && IsLoop(*removed)) || border_.empty()) return;
    const LineElement* now = border_.back();
    if (now == nullptr || IsLoop(*now)) return;
  }
}

void AddFilling::UndoContinued(Control& control) {
  justMade_ = false;
  Unmark(control);
  RemoveLast(control);
  if (border_.empty() || border_.back() == nullptr || IsLoop(*border_.back())) {
    EndContinuation(control);
    return;
  }
  end_ = ends_.back();
  AskContinuation(control);
}

int AddFilling::Cancel(Control& control, const CommandRow& row) {
  return End(control, row);
}

int AddFilling::End(Control& control, const CommandRow& row) {
  Unmark(control);
  ClearHighlights(control);
  border_.clear();
  ends_.clear();
  return Finish(control, row);
}

bool AddFilling::Listed(const LineElement* line) const {
  return std::find(border_.begin(), border_.end(), line) != border_.end();
}

void AddFilling::Append(Control& control, LineElement* line, const Point& end) {
  control.store.Select(line);
  border_.push_back(line);
  end_ = end;
  ends_.push_back(end);
}

bool AddFilling::AppendSeparator(Control& control) {
  if (border_.size() >= kMaxBorderEntries) {
    ShowNotice(control.screen, kTooManyLines, false);
    return false;
  }
  border_.push_back(nullptr);
  ends_.push_back(end_);
  return true;
}

void AddFilling::RemoveLast(Control& control) {
  if (border_.empty()) return;
  LineElement* line = border_.back();
  border_.pop_back();
  ends_.pop_back();
  if (line != nullptr) ShowNormally(control, *line);
}

void AddFilling::Mark(Control& control, const Point& at) {
  Unmark(control);
  marked_ = control.store.AddMarker(at, kEndMarker) != nullptr;
  marker_ = at;
}

void AddFilling::Unmark(Control& control) {
  if (marked_) control.store.RemoveMarker(marker_);
  marked_ = false;
}

void AddFilling::ClearHighlights(Control& control) {
  for (LineElement* line : border_) {
    if (line != nullptr) ShowNormally(control, *line);
  }
}

void AddFilling::ShowBorder(Control& control) {
  step_ = Step::kBorder;
  control.state.referenceLock = true;
  SetPrompt(control, kAddingFilling, kShowBorderingLine);
}

} // namespace lumora
