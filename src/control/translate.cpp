#include "control/translate.h"

#include "control/translate_view.h"
#include "model/drawing.h"
#include "protocol/texts.h"
#include "screen/text_screen.h"
#include "setup/setup.h"
#include "sound/my_beep.h"
#include "ui/menu_bar.h"
#include "view/view.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace lumora {
namespace {

constexpr int kFirstTypedKey = 32;
constexpr int kLastTypedKey = 249;
constexpr double kFineGridFactor = 0.6; // a grid step this part of two pixels is too fine
constexpr double kFineGridPixels = 2.0;

int LowerCase(int key) {
  return key >= 'A' && key <= 'Z' ? key - 'A' + 'a' : key;
}

bool IsTypedKey(int key) {
  return key >= kFirstTypedKey && key <= kLastTypedKey && key != kCodeDelete &&
         key != kCodeBackground;
}

bool IsCursorArrow(int code) {
  for (int base : {kSpecialPlain, kSpecialShift, kSpecialCtrl, kSpecialAlt}) {
    if (code >= base + kKeyLeft && code <= base + kKeyDown) return true;
  }
  return false;
}

bool VerticalList(const MouseArrows& arrows) {
  return arrows.halfWidth <= 0 && arrows.halfHeight > 0;
}

bool InsideList(const MouseArrows& arrows, int x, int y) {
  return x >= arrows.listLeft && x <= arrows.listRight && y >= arrows.listTop &&
         y <= arrows.listBottom;
}

// Steps an arrow code stands for: the whole choices the mouse has passed, at least one once it
// has left the dead zone.
int RepeatCount(int distance, int halfSize) {
  const double steps = std::floor(distance / (2.0 * halfSize) + 0.5);
  return std::max(1, static_cast<int>(steps));
}

// The mouse as arrow keys around the open prompt's choice.
Translation MouseArrowsMotion(Control& control, int x, int y) {
  const MouseArrows& arrows = control.state.arrows;
  InputRecord& in = control.In();
  const int dx = x - arrows.centreX;
  const int dy = y - arrows.centreY;
  const bool horizontal = arrows.halfWidth > 0;
  const bool vertical = arrows.halfHeight > 0;
  if (VerticalList(arrows) && !InsideList(arrows, x, y)) return Translation::kNothing;
  bool useX = horizontal;
  if (horizontal && vertical) useX = std::abs(dx) > std::abs(dy);
  if (!horizontal && !vertical) return Translation::kNothing;
  if (useX) {
    if (std::abs(dx) <= arrows.halfWidth) return Translation::kNothing;
    in.code = dx < 0 ? kCodeLeft : kCodeRight;
    in.repeat = RepeatCount(std::abs(dx), arrows.halfWidth);
  } else {
    int up = arrows.halfHeight;
    int down = arrows.halfHeight;
    if (VerticalList(arrows) && arrows.listEdge == kListEdgeFirst) up /= 2;
    if (VerticalList(arrows) && arrows.listEdge == kListEdgeLast) down /= 2;
    if (dy < -up) {
      in.code = kCodeUp;
    } else if (dy > down) {
      in.code = kCodeDown;
    } else {
      return Translation::kNothing;
    }
    in.repeat = RepeatCount(std::abs(dy), arrows.halfHeight);
  }
  in.rawKey = kRawNone;
  return Translation::kCursorMoved;
}

double SnapStep(const Control& control) {
  const double search = control.setup.searchGrid;
  if (control.state.referenceLock && search > 0.0 && std::isfinite(search)) return search;
  return control.drawing.step;
}

double RoundToGrid(double value, double step, double origin) {
  return std::floor(value / step + 0.5) * step + origin;
}

// The drawing cursor follows the mouse from grid point to grid point.
Translation CursorMotion(Control& control, int x, int y) {
  if (!control.state.cursorShown) return Translation::kNothing;
  InputRecord& in = control.In();
  Point point = PixelToDrawing(control.view, x, y);
  const double step = SnapStep(control);
  if (step > 0.0 && std::isfinite(step)) {
    const Point origin = control.view.globalOrigin;
    point = {RoundToGrid(point.x, step, origin.x), RoundToGrid(point.y, step, origin.y)};
  }
  point = ConstrainToDirection(control.view, control.drawing, point);
  if (InsideSheet(control.drawing, point)) in.cursor = point;
  CommandState& state = control.state;
  if (state.tracked && in.cursor.x == state.lastTracked.x && in.cursor.y == state.lastTracked.y) {
    return Translation::kNoChange;
  }
  state.lastTracked = in.cursor;
  state.tracked = true;
  return kFineGridFactor * step < kFineGridPixels * PixelSize(control.view)
             ? Translation::kFineGridMove
             : Translation::kCursorMoved;
}

// A refused Enter is dropped whole: its own message is all the user hears of it.
Translation DropCode(InputRecord& in) {
  in.code = 0;
  in.rawKey = kRawNone;
  return Translation::kNothing;
}

// Enter in cursor mode takes the cursor point: snapped when a snap is pending, and only
// inside the sheet. A refused point drops the code.
Translation CursorEnter(Control& control, Translation result) {
  InputRecord& in = control.In();
  if (in.snapMode != kSnapNone) {
    if (!SnapSearch(control.view, control.store, in)) {
      Message(control, kSoundError, kNotFound);
      return DropCode(in);
    }
    in.snapMode = kSnapNone;
  }
  control.view.directionShown = false;
  if (!InsideSheet(control.drawing, in.cursor)) {
    Message(control, kSoundSmallError, kNotInsideDrawingArea);
    return DropCode(in);
  }
  return result;
}

// The information label "i" stands in the cell before the last of message row 1; the top half
// of that cell opens the information box.
int InformationLabelCode(const Control& control, int x, int y) {
  if (control.screen.columns < 2) return 0;
  const int left = (control.screen.columns - 2) * kCellWidth;
  const bool inside = x >= left && x < left + kCellWidth && y >= 0 && y < kCellHeight / 2;
  return inside ? kCodeInformation : 0;
}

int ClickZoneCode(const Control& control, int x, int y) {
  const int label = InformationLabelCode(control, x, y);
  if (label != 0) return label;
  return MenuBarCode(control, x, y);
}

} // namespace

int KeyboardCode(unsigned char key, bool ctrl, bool shift) {
  // Shift does not change a control character; Ctrl+Shift+Z redoes where Ctrl+Z undoes.
  if (key == kCodeUndo && ctrl && shift) return kCodeRedoShift;
  return key == kCodeEnter && ctrl ? kCodeCtrlEnter : key;
}

bool CursorMode(const Control& control) {
  return control.state.inputMode == kModeCursor && control.state.cursorShown;
}

bool IsCursorStep(const Control& control, int code) {
  return CursorMode(control) && IsCursorArrow(code);
}

Translation TranslateInput(Control& control, InputKind kind, int x, int y, int key) {
  // Far outside any window a pixel means nothing more, and distances cannot overflow.
  x = std::clamp(x, -kCellLimit, kCellLimit);
  y = std::clamp(y, -kCellLimit, kCellLimit);
  InputRecord& in = control.In();
  in.code = LowerCase(key);
  in.rawKey = key;
  in.mouseX = x;
  in.mouseY = y;
  in.repeat = 1;
  Translation result = Translation::kNothing;
  switch (kind) {
  case InputKind::kMotion:
    in.code = 0;
    in.rawKey = kRawNone;
    if (control.state.inputMode != kModeCursor) return MouseArrowsMotion(control, x, y);
    return CursorMotion(control, x, y);
  case InputKind::kRightClick:
    in.code = kCodePopup;
    in.rawKey = kRawClick;
    return Translation::kMouseClick;
  case InputKind::kLeftClick:
    if (const int zone = ClickZoneCode(control, x, y); zone != 0) {
      in.code = zone;
      in.rawKey = zone;
      return Translation::kMouseClick;
    }
    in.rawKey = kRawClick;
    in.code = kCodeEnter;
    result = Translation::kMouseClick;
    if (control.state.inputMode != kModeCursor && VerticalList(control.state.arrows) &&
        !InsideList(control.state.arrows, x, y)) {
      in.code = kCodeEsc;
    }
    break;
  case InputKind::kKey:
    if (control.state.inputMode == kModeTextEntry && IsTypedKey(key)) {
      in.code = 0;
      return Translation::kNothing;
    }
    break;
  }
  if (!CursorMode(control)) return result;
  if (in.code == kCodeEnter) result = CursorEnter(control, result);
  if (IsCursorArrow(in.code)) result = Translation::kCursorStep;
  if (in.code == kCodeEnter && !control.state.referenceLock) control.view.localOrigin = in.cursor;
  return result;
}

} // namespace lumora
