// The cycle every window event goes through: the screen overlays are erased as they were
// drawn, the event becomes a command code that the command machinery acts on, the overlays are
// drawn again. The window's callbacks and the headless event player both call these, so the
// real window and the tests run the same code.
#pragma once

#include "control/translate.h"
#include "protocol/input_record.h"
#include "view/render.h"
#include "view/view.h"

#include <array>
#include <cstdint>
#include <variant>
#include <vector>

namespace lumora {

struct App;

// The screen overlays, drawn with the inverting pen, so drawing one again takes it away.
enum OverlayBit : unsigned {
  kDragPreview = 1u,
  kCursorLines = 2u,
  kCursorMark = 4u,
  kRubberBand = 8u,
  kAllOverlays = kDragPreview | kCursorLines | kCursorMark | kRubberBand,
};

// What an overlay was drawn from: it is erased from the same record and view, so no change
// made in between can leave a trace of it.
struct OverlayPicture {
  InputRecord input;
  View view;
};

struct Overlays {
  unsigned drawn = 0; // the overlays now on the screen
  std::array<OverlayPicture, kOverlayCount> pictures;
};

// An event turned into a command code, with the raw key and the mouse position.
struct CommandEvent {
  int code = 0;
  int rawKey = 0;
  WindowPixel mouse;
};

struct WindowState {
  bool firstDisplay = true; // the first display lays the whole window out
  bool redrawOff = false;   // an expose with the size unchanged repaints nothing
  WindowPixel mouseAnchor;  // last mouse position accepted by passive motion
  bool actOnPress = false;  // which button edge acts; a drag makes the release act
  int motionPhase = 0;      // passive motions since the overlays were last fully drawn
  bool quit = false;        // the program has ended; the window loop stops
  int commandCount = 0;     // command events handed to the dispatcher so far
  CommandEvent lastCommand; // the latest of them
  // A whole redraw that stopped for input, the view it drew and what its markers and outlines
  // were; finished once the input is handled.
  RedrawProgress redraw;
  View redrawView;
  std::uint64_t redrawMarks = 0;
  // Boxes of the elements erased since the last repair: the pen that erased them broke what
  // crosses them.
  std::vector<Box> erased;
  // The middle button held moves the view with the pointer: where it went down, and the view
  // then.
  bool panning = false;
  bool panMoved = false; // the view has moved since the button went down
  WindowPixel panFrom;
  Box panView{};
  // When the last wheel step came (clock seconds, below 0 before the first): steps close together
  // are one zoom to go back over.
  double lastWheel = -1.0;
  Box wheelView{}; // the view the last wheel step left: any other view starts a new burst
};

// The mouse buttons the cycle tells apart.
enum class MouseButton { kLeft, kMiddle, kRight, kWheelUp, kWheelDown };

// Modifier keys held with a special key.
struct Modifiers {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

// Code given to the command translation for a special (function, arrow, page) key.
int SpecialKeyCode(int key, const Modifiers& modifiers);

// Sum of the absolute x and y differences: how far the mouse went.
int MouseTravel(const WindowPixel& a, const WindowPixel& b);

// ---- What the window and the event player hand the cycle ----
// A key: an ASCII key as the keyboard typed it (Shift and Ctrl already applied to letters), or a
// special (function, arrow, page) key by the window system's number; with the modifiers held.
struct KeyInput {
  bool special = false;
  int key = 0;
  Modifiers modifiers;
};
// A mouse button went down (pressed) or came up.
struct ButtonInput {
  MouseButton button = MouseButton::kLeft;
  bool pressed = true;
};
// The mouse moved, with a button held (a drag) or without.
struct MotionInput {
  bool buttonHeld = false;
};
// The window is to be shown, at this size.
struct ExposeInput {
  int width = 0;
  int height = 0;
};
// Time passed: a paused script goes on once its pause is over (waited for with waitClock).
struct TickInput {
  bool waitClock = false;
};
// The window was closed: a drawing without unsaved work ends the program at once, otherwise
// the program goes on with the quit question.
struct CloseInput {};

struct InputEvent {
  std::variant<KeyInput, ButtonInput, MotionInput, ExposeInput, TickInput, CloseInput> what;
  WindowPixel mouse; // where the mouse is (0 0 = top left); only its kinds read it
};

// Every event enters here. Keys and buttons become a command code, translated once into the
// input record after the overlays are off; a motion is translated first, since what it did to
// the cursor decides which overlays change.
void HandleInput(App& app, const InputEvent& event);

// ---- The overlays, through one place ----
// Erases the overlays of the mask that are on the screen, in the order drag preview, cursor
// lines, cursor mark, rubber band.
void EraseOverlays(App& app, unsigned mask);
// Draws the overlays of the mask in the order rubber band, cursor mark, cursor lines, drag
// preview.
void DrawOverlays(App& app, unsigned mask);

// The window shown at a size: laid out anew when the size changed (a view of the whole sheet
// fitted to it) or at the first display, otherwise repainted unless the repaint is switched off.
// An expose input comes here through HandleInput.
void DisplayWindow(App& app, int windowWidth, int windowHeight);

// Lays the window out anew and repaints the message band, the drawing, the overlays and the
// open text windows.
void RepaintWindow(App& app);

// Draws again, as a full redraw would, the areas of the elements erased since the last time,
// once no text window covers the drawing and no stopped redraw is left.
void RepairErased(App& app);

// Whether a redraw that stopped for input is left to finish now: none is while a text window
// covers the drawing (it keeps the pixels beneath it as they were when it opened).
bool RedrawLeft(const App& app);
// Finishes a redraw that stopped for input, with the overlays taken off and put back: the rest
// of the elements in the same view, the whole window again when the view or the markers and
// outlines changed meanwhile. It may stop again for the next input.
void FinishStoppedRedraw(App& app);

// ---- Where events meet the command machinery ----
// Translates the event into the current input record (special keys were translated before the
// overlays came off) and hands it to the active functions, then repairs what they erased.
void DispatchCommand(App& app, const CommandEvent& event);
// What a mouse motion did to the cursor.
Translation TranslateMotion(App& app, WindowPixel mouse);

} // namespace lumora
