// Translation of window events into command codes: keys, special keys with their modifiers,
// mouse buttons, and mouse motion, which moves the drawing cursor on the grid or, while a
// prompt is open, acts as arrow keys around its choice.
#pragma once

#include "control/event_cycle.h"
#include "geometry/point.h"
#include "protocol/command_state.h"

namespace lumora {

enum class InputKind { kKey, kLeftClick, kRightClick, kMotion };

// Results of translation.
inline constexpr int kNothing = 0;
inline constexpr int kCursorStep = 1;    // a keyboard cursor step
inline constexpr int kMouseClick = 2;    // a button
inline constexpr int kCursorMoved = -1;  // to a new grid point, or the mouse made an arrow code
inline constexpr int kNoChange = -2;     // the cursor stays on its grid point
inline constexpr int kFineGridMove = -3; // moved, on a grid finer than two screen pixels

// One event into the current input record: code, raw key and mouse position. For keys, `key`
// is the ASCII key or the code of a special key (SpecialKeyCode of the event cycle); (x, y) is the
// window pixel of the mouse.
int TranslateInput(Control& control, InputKind kind, int x, int y, int key = 0);

// The code of an ASCII key from the keyboard: Ctrl+Enter is a key of its own.
int KeyboardCode(unsigned char key, bool ctrl);

// True in cursor mode: no prompt is open and the drawing cursor is shown.
bool CursorMode(const Control& control);

} // namespace lumora
