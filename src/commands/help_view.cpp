#include "commands/help_view.h"

#include "model/drawing.h"
#include "model/element_store.h"
#include "protocol/command_state.h"
#include "protocol/texts.h"
#include "protocol/window_services.h"
#include "screen/text_screen.h"
#include "setup/setup.h"
#include "sound/my_beep.h"
#include "ui/menu_bar.h"
#include "view/view.h"
#include "view/view_cursor.h"

#include <algorithm>
#include <cmath>

namespace lumora {
namespace {

constexpr double kSmallestAngle = 0.001;
constexpr double kHorizontal = 0.0;
constexpr double kVertical = 90.0;
constexpr double kStepRounding = 1000.0; // cursor steps land on thousandths
constexpr double kHalf = 0.5;
constexpr int kStepsPlain = 1;
constexpr int kStepsShift = 5;
constexpr int kStepsCtrl = 10;
constexpr int kStepsAlt = 100;
constexpr int kListRow = 3;
constexpr int kListColumn = 2;
constexpr double kAngleShown = 0.001;

constexpr TextPair kAngleTitle{"Setting angle for cursor movement: "_l1,
                               "Kursorin liikkumiskulman asetus: "_l1};
constexpr TextPair kSelectAngle{"^SELECT ANGLE ! "_l1, "^VALITSE KULMA ! "_l1};
constexpr TextPair kWriteAngle{"^WRITE ANGLE ? "_l1, "^ANNA KULMA ? "_l1};
constexpr TextPair kWritingTitle{"Writing the coordinates: "_l1, "Koordinaatteihin kirjoitus: "_l1};
constexpr TextPair kWriteLocation{"^WRITE THE LOCATION FOR CURSOR ! "_l1,
                                  "^KIRJOITA KURSORIN PAIKKA ! "_l1};
constexpr TextPair kDxEntry{"Dx= "_l1, "Dx= "_l1};
constexpr TextPair kDyEntry{" Dy= "_l1, " Dy= "_l1};
constexpr TextPair kXEntry{"X= "_l1, "X= "_l1};
constexpr TextPair kYEntry{" Y= "_l1, " Y= "_l1};
constexpr TextPair kDlEntry{"    Dl= "_l1, "    Dl= "_l1};

double RoundToThousandth(double v) {
  return std::floor(v * kStepRounding + kHalf) / kStepRounding;
}

int StepsOf(int code) {
  if (code >= kSpecialAlt) return kStepsAlt;
  if (code >= kSpecialCtrl) return kStepsCtrl;
  if (code >= kSpecialShift) return kStepsShift;
  return kStepsPlain;
}

// A new cursor point inside the sheet, or the refusal with its cue.
bool MoveCursor(Control& control, Point to, int refusalCue) {
  if (!InsideSheet(control.drawing, to)) {
    Message(control, refusalCue, kNotInsideDrawingArea);
    return false;
  }
  control.In().cursor = to;
  return true;
}

void Repaint(Control& control) {
  control.window.Repaint();
}

} // namespace

int ZoomAll::Step(Control& control, const CommandRow& /*row*/) {
  View& view = control.view;
  const Box& sheet = control.drawing.limits;
  const Box& v = view.viewBox;
  const auto inside = [&v](double x, double y) {
    return x >= v.xmin && x <= v.xmax && y >= v.ymin && y <= v.ymax;
  };
  // A view that already holds a corner of the sheet is no zoom worth going back to.
  if (!inside(sheet.xmin, sheet.ymin) && !inside(sheet.xmax, sheet.ymax)) {
    view.previousViewBox = view.viewBox;
  }
  view.viewBox = sheet;
  Repaint(control);
  return kFinished;
}

int PreviousZoom::Step(Control& control, const CommandRow& /*row*/) {
  std::swap(control.view.viewBox, control.view.previousViewBox);
  Repaint(control);
  return kFinished;
}

int SnapSwitch::Step(Control& control, const CommandRow& row) {
  int& snap = control.In().snapMode;
  snap = row.code == kCodeSnapNone || snap == row.code ? kSnapNone : row.code;
  return kFinished;
}

int CursorLinesSwitch::Step(Control& control, const CommandRow& /*row*/) {
  int& off = control.In().cursorLinesOff;
  off = off != 0 ? 0 : 1;
  return kFinished;
}

int AxisDirection::Step(Control& control, const CommandRow& row) {
  View& view = control.view;
  const double angle = row.code == kCodeHorizontal ? kHorizontal : kVertical;
  if (view.directionShown && view.cursorAngle == angle) {
    view.directionShown = false;
  } else {
    ShowDirection(view, angle);
  }
  return kFinished;
}

int CursorStep::Step(Control& control, const CommandRow& row) {
  InputRecord& in = control.In();
  const int key = row.code % kSpecialPlain;
  const double length = StepsOf(row.code) * control.drawing.step;
  Point to = in.cursor;
  if (key == kKeyLeft) to.x -= length;
  if (key == kKeyRight) to.x += length;
  if (key == kKeyUp) to.y += length;
  if (key == kKeyDown) to.y -= length;
  to = {RoundToThousandth(to.x), RoundToThousandth(to.y)};
  to = ConstrainToDirection(control.view, control.drawing, to);
  // A step off the sheet is answered by its refusal alone.
  if (MoveCursor(control, to, kSoundSmallError)) Beep(control, kSoundKey);
  return kFinished;
}

int ToOrigin::Step(Control& control, const CommandRow& row) {
  const View& view = control.view;
  MoveCursor(control, row.code == kCodeToOriginXY ? view.globalOrigin : view.localOrigin,
             kSoundError);
  return kFinished;
}

int LocalOriginHere::Step(Control& control, const CommandRow& /*row*/) {
  control.view.localOrigin = control.In().cursor;
  return kFinished;
}

// ---- Del ----

int CursorAngle::Start(Control& control, const CommandRow& row) {
  if (control.view.directionShown) {
    control.view.directionShown = false;
    return kFinished;
  }
  BeginFunction(control, row);
  SetPrompt(control, kAngleTitle, kSelectAngle);
  std::size_t widest = 1;
  for (const ValueRow& angle : control.setup.cursorAngles.rows) {
    items_.push_back(angle.text);
    widest = std::max(widest, angle.text.size());
  }
  list_ = {kListRow, kListColumn, ListHeight(control.screen), static_cast<int>(widest), 0,
           true,     false};
  if (items_.empty()) {
    step_ = Step::kTyping;
    return Type(control, row);
  }
  return Choose(control, row);
}

int CursorAngle::Continue(Control& control, const CommandRow& row) {
  return step_ == Step::kList ? Choose(control, row) : Type(control, row);
}

int CursorAngle::Choose(Control& control, const CommandRow& row) {
  const int answer = SelectStr(control, control.prompts, list_, items_);
  if (answer == kStillRunning) return kStillRunning;
  if (answer >= 0) {
    const double angle = control.setup.cursorAngles.rows[static_cast<std::size_t>(answer)].value;
    if (std::abs(angle) < kSmallestAngle) {
      step_ = Step::kTyping;
      return Type(control, row);
    }
    ShowDirection(control.view, angle);
  }
  EndFunction(control, row.level);
  return kFinished;
}

int CursorAngle::Type(Control& control, const CommandRow& row) {
  AskNumberArgs args;
  args.title = kAngleTitle;
  args.prompt = kWriteAngle;
  args.precision = kAngleShown;
  const int answer = AskNumber(control, control.prompts, args, typed_, 0.0);
  if (answer == kStillRunning) return kStillRunning;
  if (answer == kEntryAccepted && std::isfinite(typed_)) ShowDirection(control.view, typed_);
  EndFunction(control, row.level);
  return kFinished;
}

// ---- Ins, Ctrl+Ins ----

bool WriteCoordinates::Relative(const CommandRow& row) const {
  return row.code == kCodeWriteDxDy;
}

int WriteCoordinates::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  control.state.backAllowed = true;
  SetPrompt(control, kWritingTitle, kWriteLocation);
  const Point& c = control.In().cursor;
  const Point& o = Relative(row) ? control.view.localOrigin : control.view.globalOrigin;
  first_ = c.x - o.x;
  second_ = c.y - o.y;
  along_ = Relative(row) && control.view.directionShown;
  // Along the direction the distance is signed: behind the local origin it is negative, so
  // taking the proposal as it is leaves the cursor where it is.
  if (along_) {
    const double a = control.view.cursorAngle * kDegToRad;
    first_ = first_ * std::cos(a) + second_ * std::sin(a);
  }
  return Ask(control, row);
}

int WriteCoordinates::Continue(Control& control, const CommandRow& row) {
  return Ask(control, row);
}

int WriteCoordinates::Ask(Control& control, const CommandRow& row) {
  const MenuBarLayout b = CurrentMenuBar(control);
  const bool relative = Relative(row);
  AskNumberArgs args;
  args.row = kMenuBarRow;
  if (step_ == Step::kFirst) {
    args.column = relative ? b.dx : b.x;
    args.width = relative ? b.dxWidth : b.xWidth;
    args.title = along_ ? kDlEntry : relative ? kDxEntry : kXEntry;
  } else {
    args.column = relative ? b.dy : b.y;
    args.width = relative ? b.dyWidth : b.yWidth;
    args.title = relative ? kDyEntry : kYEntry;
  }
  args.width = std::max(args.width, 1);
  double& value = step_ == Step::kFirst ? first_ : second_;
  const int answer = AskNumber(control, control.prompts, args, value, value);
  if (answer == kStillRunning) return kStillRunning;
  if (answer == kEntryBack && step_ == Step::kSecond) {
    step_ = Step::kFirst;
    return Ask(control, row);
  }
  if (answer != kEntryAccepted) {
    EndFunction(control, row.level);
    return kFinished;
  }
  if (step_ == Step::kFirst && !along_) {
    step_ = Step::kSecond;
    return Ask(control, row);
  }
  return Place(control, row);
}

int WriteCoordinates::Place(Control& control, const CommandRow& row) {
  const View& view = control.view;
  Point to{};
  if (along_) {
    const double a = view.cursorAngle * kDegToRad;
    to = {view.localOrigin.x + first_ * std::cos(a), view.localOrigin.y + first_ * std::sin(a)};
  } else {
    const Point& o = Relative(row) ? view.localOrigin : view.globalOrigin;
    to = {o.x + first_, o.y + second_};
  }
  EndFunction(control, row.level);
  if (std::isfinite(to.x) && std::isfinite(to.y)) {
    MoveCursor(control, to, kSoundError);
  } else {
    Message(control, kSoundError, kNotInsideDrawingArea);
  }
  return kFinished;
}

} // namespace lumora
