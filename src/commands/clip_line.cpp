#include "commands/line_commands.h"
#include "element_geometry/element_geometry.h"
#include "protocol/command_state.h"
#include "sound/my_beep.h"

#include <cmath>

namespace lumora {
namespace {

constexpr char kLineMarker = 'O';
constexpr char kCutMarker = 'X';
constexpr std::size_t kDeleteLimits = 2;

} // namespace

bool ClipLine::Deleting() const {
  return code_ == kCodeDeletePartOfLine;
}

int ClipLine::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  code_ = row.code;
  picked_ = nullptr;
  held_ = nullptr;
  cuts_.clear();
  AskLine(control, false);
  return kStillRunning;
}

void ClipLine::AskLine(Control& control, bool waiting) {
  step_ = Step::kShowLine;
  control.state.referenceLock = true;
  if (Deleting()) {
    SetPrompt(control, kDeletingPartOfLine, kShowPartToDelete);
  } else {
    SetPrompt(control, kClippingLine, kShowLine);
  }
  if (waiting) Beep(control, kSoundWaiting);
}

int ClipLine::Act(Control& control, const CommandRow& /*row*/) {
  const InputRecord& in = control.In();
  if (step_ == Step::kShowLine && in.rawKey != kRawNone) DropHeldPiece(control);
  if (in.code == kCodeEnter) {
    if (step_ == Step::kShowLine) {
      Pick(control);
    } else {
      TakePoint(control);
    }
    return kStillRunning;
  }
  if (in.rawKey != kRawNone) return NotInUse(control);
  return kStillRunning;
}

int ClipLine::Complete(Control& control, const CommandRow& /*row*/) {
  if (step_ == Step::kShowLine) {
    DropHeldPiece(control);
    Pick(control);
    return kStillRunning;
  }
  Beep(control, kSoundKey);
  Cut(control);
  return kStillRunning;
}

int ClipLine::Back(Control& control, const CommandRow& /*row*/) {
  return Undo(control);
}

int ClipLine::Alternative(Control& control, const CommandRow& /*row*/) {
  return Undo(control);
}

int ClipLine::Cancel(Control& control, const CommandRow& row) {
  if (step_ == Step::kPoints) {
    // Esc from a key gives up the points; an Esc a menu chains on cuts with them first.
    if (control.In().rawKey == kRawNone && !cuts_.empty()) {
      Cut(control);
    } else {
      Release(control);
    }
  }
  // Leaving makes a deletion final: a hidden piece must not outlive the command.
  DropHeldPiece(control);
  return Finish(control, row);
}

void ClipLine::Pick(Control& control) {
  InputRecord& in = control.In();
  Point nearest;
  LineElement* line = Geometry(control).NearestLine(in.cursor, nearest, kClipPickRadius);
  if (line == nullptr) {
    Message(control, kSoundError, kNoLineFound);
    return;
  }
  Beep(control, kSoundKey);
  picked_ = line;
  pickPoint_ = in.cursor;
  cuts_.clear();
  Geometry(control).ShowBorderFillings(*line, BorderFillings::kHide);
  control.store.Select(line);
  control.state.referenceLock = false;
  step_ = Step::kPoints;
  if (Deleting()) {
    control.store.AddMarker(pickPoint_, kLineMarker);
    SetPrompt(control, kDeletingPartOfLine, kEnterDeleteLimit);
  } else {
    SetPrompt(control, kClippingLine, kEnterClipPoint);
  }
  Beep(control, kSoundWaiting);
}

void ClipLine::TakePoint(Control& control) {
  LineHit hit;
  if (cuts_.size() >= kMaxClipPoints ||
      Geometry(control).NearestOnLine(*picked_, control.In().cursor, hit, kClipPickRadius) == 0) {
    Message(control, kSoundError, kNoClipPointFound);
    return;
  }
  // A point that cannot cut (an end, or one already held) means the points are complete.
  if (ElementGeometry::AcceptCutPoint(*picked_, hit.point, cuts_) == 0) {
    Cut(control);
    return;
  }
  Beep(control, kSoundKey);
  control.store.AddMarker(hit.point, kCutMarker);
  cuts_.push_back(hit.point);
  if (Deleting() && cuts_.size() == kDeleteLimits) Cut(control);
}

void ClipLine::Cut(Control& control) {
  if (cuts_.empty() && !Deleting()) {
    Message(control, kSoundError, kNoClipPoints);
    return;
  }
  const std::vector<Point> cuts = cuts_;
  LineElement* line = picked_;
  Release(control);
  control.store.Unselect(line);
  int pieces = 0;
  // Deleting a part of a line opens the boundaries it is in: its fillings go with it.
  if (!cuts.empty()) pieces = Geometry(control).CutLineAtPoints(line, cuts, false, !Deleting());
  // Uncut, the line is drawn again; cut, its pieces were drawn in its place.
  if (pieces == 0 && line != nullptr) control.store.painter().Draw(*line, DrawMode::kNormal);
  if (Deleting()) {
    if (!holding_) {
      heldBefore_ = control.store.Journal().held;
      control.store.HoldSteps(true);
      holding_ = true;
    }
    if (cuts.empty()) {
      held_ = line;
    } else if (pieces > 0) {
      HoldBack(control, pieces);
    }
    if (held_ != nullptr) {
      control.store.painter().Draw(*held_, DrawMode::kErase);
      held_->SetHidden(1);
    }
  }
  AskLine(control, false);
}

// The pieces are the newest lines: the one the line was shown on is held back.
void ClipLine::HoldBack(Control& control, int pieces) {
  ElementGeometry& geometry = Geometry(control);
  double best = kNoPoint;
  LineElement* piece = control.drawing.lines;
  for (int i = 0; i < pieces && piece != nullptr; ++i, piece = piece->next) {
    LineHit hit;
    if (geometry.NearestOnLine(*piece, pickPoint_, hit, kClipPickRadius) != 0 &&
        std::abs(hit.distance) < best) {
      best = std::abs(hit.distance);
      held_ = piece;
    }
  }
}

int ClipLine::Undo(Control& control) {
  Beep(control, kSoundKey);
  if (step_ == Step::kPoints) {
    if (!cuts_.empty()) {
      control.store.RemoveMarker(cuts_.back());
      cuts_.pop_back();
      return kStillRunning;
    }
    LineElement* line = picked_;
    Release(control);
    ShowNormally(control, *line);
    AskLine(control, true);
    return kStillRunning;
  }
  if (held_ == nullptr) {
    Message(control, kSoundError, kNothingToBeDone);
    return kStillRunning;
  }
  held_->SetHidden(0);
  control.store.painter().Draw(*held_, DrawMode::kNormal);
  held_ = nullptr;
  ReleaseSteps(control);
  return kStillRunning;
}

// Gives up the shown line: markers off, its fillings shown again, the points forgotten. The
// line itself stays highlighted for the caller to settle.
void ClipLine::Release(Control& control) {
  for (auto it = cuts_.rbegin(); it != cuts_.rend(); ++it) control.store.RemoveMarker(*it);
  cuts_.clear();
  if (Deleting()) control.store.RemoveMarker(pickPoint_);
  if (picked_ != nullptr) Geometry(control).ShowBorderFillings(*picked_, BorderFillings::kShow);
  picked_ = nullptr;
}

void ClipLine::DropHeldPiece(Control& control) {
  if (held_ != nullptr) {
    control.store.DeleteLine(held_);
    held_ = nullptr;
    control.store.NameStep(StepKind::kDelete);
  }
  ReleaseSteps(control);
}

void ClipLine::ReleaseSteps(Control& control) {
  if (!holding_) return;
  holding_ = false;
  control.store.HoldSteps(heldBefore_);
}

} // namespace lumora
