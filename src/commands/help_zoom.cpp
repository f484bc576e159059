// The functions that take points without adding anything to the drawing: the zoom by area and
// its transfer, the origins moved, the direction shown through two points, the paper placed.
// All but the direction hold the reference lock, so their points leave the local origin alone.
#include "commands/help_view.h"
#include "model/drawing.h"
#include "model/elements.h"
#include "protocol/command_state.h"
#include "protocol/texts.h"
#include "protocol/window_services.h"
#include "sound/my_beep.h"
#include "view/view.h"
#include "view/view_cursor.h"

#include <algorithm>
#include <cmath>

namespace lumora {
namespace {

constexpr double kSmallAreaShare = 0.02; // of the view width, in x and in y

constexpr TextPair kZoomTitle{"Zooming: "_l1, "Zoomaus: "_l1};
constexpr TextPair kEnterArea{"^ENTER AREA ! "_l1, "^OSOITA ALUE ! "_l1};
constexpr TextPair kTransferTitle{"Moving zoom: "_l1, "Zoomauksen siirto: "_l1};
constexpr TextPair kPointToMove{"^ENTER THE POINT TO BE MOVED ! "_l1,
                                "^OSOITA PISTE, JOTA HALUTAAN SIIRTÄÄ ! "_l1};
constexpr TextPair kNewPlace{"^ENTER NEW PLACE ! "_l1, "^OSOITA SIIRROS ! "_l1};
constexpr TextPair kOriginNewPlace{"^ENTER NEW PLACE ! "_l1, "^OSOITA UUSI PAIKKA ! "_l1};
constexpr TextPair kLocalOriginTitle{"Moving of local origin: "_l1, "Paikallis-origon siirto: "_l1};
constexpr TextPair kGlobalOriginTitle{"Moving of global origin: "_l1, "Origon siirto: "_l1};
constexpr TextPair kDirectionTitle{"Showing angle for cursor movement: "_l1,
                                   "Kursorin liikkumiskulman näyttö: "_l1};
constexpr TextPair kFirstPoint{"^ENTER 1. POINT ! "_l1, "^OSOITA KIINNITYSPISTE ! "_l1};
constexpr TextPair kDirection{"^ENTER THE DIRECTION ! "_l1, "^OSOITA SUUNTA ! "_l1};
constexpr TextPair kPaperLocation{"^ENTER NEW LOCATION FOR PAPER ! "_l1,
                                  "^OSOITA PAPERIN SIJAINTI ! "_l1};

// Codes that reach a function without being meant for it: the mouse moving, the continue tick,
// and an Enter the translation dropped.
bool Passing(int code) {
  return code == 0 || code == kContinueTick;
}

bool Inside(const Box& v, double x, double y) {
  return x >= v.xmin && x <= v.xmax && y >= v.ymin && y <= v.ymax;
}

// The points of an element in the making carried by the cursor: one fixed point and the cursor.
void Preview(InputRecord& in, const Point& fixed, std::uint32_t shape) {
  in.previewKind = kPreviewElement;
  in.attributes.SetShape(shape);
  in.points[0] = fixed;
  in.pointCount = 1;
}

void NoPreview(InputRecord& in) {
  in.pointCount = 0;
}

// The paper carried by the cursor: its corners as offsets from the cursor.
void CarryOutline(InputRecord& in, double hw, double hh) {
  const Point corners[] = {{-hw, -hh}, {hw, -hh}, {hw, hh}, {-hw, hh}};
  in.pointCount = 0;
  for (const Point& corner : corners) in.points[static_cast<std::size_t>(in.pointCount++)] = corner;
  in.previewKind = kPreviewShape;
  in.attributes.SetShape(kShapeClosed);
}

} // namespace

// ---- F9, Ctrl+F9 ----

void ZoomArea::AskFirst(Control& control) {
  step_ = Step::kFirst;
  NoPreview(control.In());
  SetPrompt(control, transfer_ ? kTransferTitle : kZoomTitle,
            transfer_ ? kPointToMove : kEnterArea);
}

int ZoomArea::Start(Control& control, const CommandRow& row) {
  const Box& sheet = control.drawing.limits;
  const Box& v = control.view.viewBox;
  if (transfer_ && Inside(v, sheet.xmin, sheet.ymin) && Inside(v, sheet.xmax, sheet.ymax)) {
    Message(control, kSoundError, kNoZoom);
    return kFinished;
  }
  BeginFunction(control, row);
  control.state.referenceLock = true;
  AskFirst(control);
  return kStillRunning;
}

int ZoomArea::Act(Control& control, const CommandRow& row) {
  InputRecord& in = control.In();
  if (Passing(in.code)) return kStillRunning;
  if (in.code != kCodeEnter) return NotInUse(control);
  const Point p = in.cursor;
  if (step_ == Step::kFirst) {
    first_ = p;
    step_ = Step::kSecond;
    Preview(in, p, transfer_ ? kShapeOpen : kShapeClosed);
    if (transfer_) SetPrompt(control, kTransferTitle, kNewPlace);
    return kStillRunning;
  }
  View& view = control.view;
  const double small = kSmallAreaShare * BoxWidth(view.viewBox);
  if (std::abs(p.x - first_.x) < small && std::abs(p.y - first_.y) < small) {
    Message(control, kSoundError, kTooSmallArea);
    return kStillRunning;
  }
  view.previousViewBox = view.viewBox;
  if (transfer_) {
    const double dx = first_.x - p.x;
    const double dy = first_.y - p.y;
    view.viewBox = {view.viewBox.xmin + dx, view.viewBox.ymin + dy, view.viewBox.xmax + dx,
                    view.viewBox.ymax + dy};
  } else {
    view.viewBox = {std::min(first_.x, p.x), std::min(first_.y, p.y), std::max(first_.x, p.x),
                    std::max(first_.y, p.y)};
  }
  Finish(control, row);
  control.window.Repaint();
  return kFinished;
}

int ZoomArea::Back(Control& control, const CommandRow& row) {
  if (step_ == Step::kFirst) return Finish(control, row);
  AskFirst(control);
  return kStillRunning;
}

int ZoomArea::Complete(Control& control, const CommandRow& row) {
  Finish(control, row);
  control.window.Repaint();
  return kFinished;
}

int ZoomArea::Alternative(Control& control, const CommandRow& row) {
  return Back(control, row);
}

// ---- End, Ctrl+End ----

int MoveOrigin::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  control.state.referenceLock = true;
  const bool global = row.code == kCodeMoveOriginXY;
  SetPrompt(control, global ? kGlobalOriginTitle : kLocalOriginTitle, kOriginNewPlace);
  return kStillRunning;
}

int MoveOrigin::Take(Control& control, const CommandRow& row) {
  Point& origin =
      row.code == kCodeMoveOriginXY ? control.view.globalOrigin : control.view.localOrigin;
  origin = control.In().cursor;
  return Finish(control, row);
}

int MoveOrigin::Act(Control& control, const CommandRow& row) {
  const int code = control.In().code;
  if (Passing(code)) return kStillRunning;
  if (code == kCodeEnter) return Take(control, row);
  return NotInUse(control);
}

int MoveOrigin::Back(Control& control, const CommandRow& row) {
  return Finish(control, row);
}

int MoveOrigin::Complete(Control& control, const CommandRow& row) {
  return Take(control, row);
}

int MoveOrigin::Alternative(Control& control, const CommandRow& row) {
  return Finish(control, row);
}

// ---- Alt+F9 ----

void EnterDirection::AskFirst(Control& control) {
  step_ = Step::kFirst;
  NoPreview(control.In());
  SetPrompt(control, kDirectionTitle, kFirstPoint);
}

int EnterDirection::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  AskFirst(control);
  return kStillRunning;
}

int EnterDirection::Act(Control& control, const CommandRow& row) {
  InputRecord& in = control.In();
  if (Passing(in.code)) return kStillRunning;
  if (in.code != kCodeEnter) return NotInUse(control);
  View& view = control.view;
  if (step_ == Step::kFirst) {
    first_ = in.cursor;
    view.localOrigin = first_;
    step_ = Step::kSecond;
    Preview(in, first_, kShapeOpen);
    SetPrompt(control, kDirectionTitle, kDirection);
    return kStillRunning;
  }
  const Point p = in.cursor;
  if (SamePoint(p, first_)) {
    Message(control, kSoundError, kSamePointNotAllowed);
    return kStillRunning;
  }
  // The direction is anchored at the first point, whatever the second Enter did to the origin.
  view.localOrigin = first_;
  ShowDirection(view, std::atan2(p.y - first_.y, p.x - first_.x) / kDegToRad);
  return Finish(control, row);
}

int EnterDirection::Back(Control& control, const CommandRow& row) {
  if (step_ == Step::kFirst) return Finish(control, row);
  AskFirst(control);
  return kStillRunning;
}

// ---- The paper ----

int PlacePaper::Step(Control& control, Box& box, const TextPair& title) {
  InputRecord& in = control.In();
  const Box& v = control.view.viewBox;
  const double hw = BoxWidth(box) / 2.0;
  const double hh = BoxHeight(box) / 2.0;
  const auto centreAt = [&box, hw, hh](const Point& c) {
    box = {c.x - hw, c.y - hh, c.x + hw, c.y + hh};
  };
  if (!started_) {
    if (BoxWidth(v) >= 2.0 * hw && BoxHeight(v) >= 2.0 * hh) {
      centreAt({(v.xmin + v.xmax) / 2.0, (v.ymin + v.ymax) / 2.0});
      return kPaperPlaced;
    }
    started_ = true;
    savedLock_ = control.state.referenceLock;
    savedPreview_ = in.previewKind;
    savedCount_ = in.pointCount;
    saved_ = in.points;
    savedShape_ = in.attributes.shape();
    control.state.referenceLock = true;
    CarryOutline(in, hw, hh);
    SetPrompt(control, title, kPaperLocation);
    return kStillRunning;
  }
  int result = kStillRunning;
  switch (in.code) {
  case kCodeEnter:
  case kCodeTab:
    centreAt(in.cursor);
    result = kPaperPlaced;
    break;
  case kCodeBackspace:
  case kCodeCtrlEnter:
  case kCodeEsc:
    result = kPaperNotPlaced;
    break;
  default:
    if (!Passing(in.code)) Message(control, kSoundSmallError, kNotInUse);
    return kStillRunning;
  }
  control.state.referenceLock = savedLock_;
  in.previewKind = savedPreview_;
  in.pointCount = savedCount_;
  in.points = saved_;
  in.attributes.SetShape(savedShape_);
  started_ = false;
  return result;
}

} // namespace lumora
