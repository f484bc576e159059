// Translation of window events into command codes: keys, special keys with their modifiers,
// mouse buttons, and mouse motion, which moves the drawing cursor on the grid or, while a
// prompt is open, acts as arrow keys around its choice.
#pragma once

#include "control/command_state.h"
#include "control/event_cycle.h"
#include "geometry/point.h"

namespace lumora {

// What translation needs of the view: the mapping of window pixels to the drawing, the grid,
// the sheet and the reference points of the cursor.
class CursorGeometry {
public:
  virtual ~CursorGeometry() = default;

  // The drawing point under a window pixel (0 0 = top left), relative to the global origin.
  virtual Point PixelToDrawing(int x, int y) const = 0;
  virtual Point GlobalOrigin() const = 0;
  virtual double GridStep() const = 0;
  // Drawing units per screen pixel at the present zoom.
  virtual double PixelSize() const = 0;
  virtual bool InsideSheet(Point point) const = 0;
  // The cursor moving angle, when one is in force, constrains a point.
  virtual Point ApplyCursorAngle(const InputRecord& in, Point point) const = 0;
  virtual void SetLocalOrigin(Point point) = 0;
  // The pending snap: on success the input's cursor point is the snapped point. Without a
  // snap search nothing is ever found.
  virtual bool SnapSearch(InputRecord& /*in*/) { return false; }
};

enum class InputKind { kKey, kLeftClick, kRightClick, kMotion };

// Results of translation.
inline constexpr int kNothing = 0;
inline constexpr int kCursorStep = 1;    // a keyboard cursor step
inline constexpr int kMouseClick = 2;    // a button
inline constexpr int kCursorMoved = -1;  // to a new grid point, or the mouse made an arrow code
inline constexpr int kNoChange = -2;     // the cursor stays on its grid point
inline constexpr int kFineGridMove = -3; // moved, on a grid finer than two screen pixels

inline constexpr TextPair kNotFound{"Not found !"_l1, "Ei löydetty !"_l1};
inline constexpr TextPair kNotInsideDrawingArea{"Not inside drawing area !"_l1,
                                                "Ei piirto alueella !"_l1};

// One event into the current input record: code, raw key and mouse position. For keys, `key`
// is the ASCII key or the code of a special key (SpecialKeyCode of the event cycle); (x, y) is the
// window pixel of the mouse.
int TranslateInput(Control& control, InputKind kind, int x, int y, int key = 0);

// The code of an ASCII key from the keyboard: Ctrl+Enter is a key of its own.
int KeyboardCode(unsigned char key, bool ctrl);

// True in cursor mode: no prompt is open and the drawing cursor is shown.
bool CursorMode(const Control& control);

} // namespace lumora
