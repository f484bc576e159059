// Translation of window events into command codes: keys, special keys with their modifiers,
// mouse buttons, and mouse motion, which moves the drawing cursor on the grid or, while a
// prompt is open, acts as arrow keys around its choice.
#pragma once

#include "geometry/point.h"
#include "protocol/command_state.h"

namespace lumora {

enum class InputKind { kKey, kLeftClick, kRightClick, kMotion };

// What translating one event did.
enum class Translation {
  kNothing,      // no code for the commands, or one that moves nothing
  kCursorStep,   // a keyboard cursor step
  kMouseClick,   // a button
  kCursorMoved,  // to a new grid point, or the mouse made an arrow code
  kNoChange,     // the cursor stays on its grid point
  kFineGridMove, // moved, on a grid finer than two screen pixels
};

// One event into the current input record: code, raw key and mouse position. For keys, `key`
// is the ASCII key or the code of a special key (SpecialKeyCode of the event cycle); (x, y) is the
// window pixel of the mouse.
Translation TranslateInput(Control& control, InputKind kind, int x, int y, int key = 0);

// The code of an ASCII key from the keyboard: Ctrl+Enter is a key of its own.
int KeyboardCode(unsigned char key, bool ctrl, bool shift = false);

// True in cursor mode: no prompt is open and the drawing cursor is shown.
bool CursorMode(const Control& control);

// Whether the code of a special key only steps the cursor (an arrow in cursor mode).
bool IsCursorStep(const Control& control, int code);

} // namespace lumora
