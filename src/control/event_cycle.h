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
};

// The mouse buttons the cycle tells apart.
enum class MouseButton { kLeft, kMiddle, kRight };

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

// ---- The callbacks ----
void DisplayEvent(App& app, int windowWidth, int windowHeight);
void KeyboardEvent(App& app, unsigned char key, WindowPixel mouse);
void SpecialEvent(App& app, int key, const Modifiers& modifiers, WindowPixel mouse);
// pressed: the button went down; false: it came up.
void MouseEvent(App& app, MouseButton button, bool pressed, WindowPixel mouse);
void MotionEvent(App& app, WindowPixel mouse);
void PassiveMotionEvent(App& app, WindowPixel mouse);

// A paused script goes on: when its pause is over (waited for with waitClock), the continue
// tick runs it on through the command that started it. False when no script stands paused.
bool ScriptTick(App& app, bool waitClock);

// The window was closed. True when the program ends at once (nothing unsaved); otherwise the
// drawing must be kept and the program goes on with the quit question.
bool CloseEvent(App& app);

// ---- The overlays, through one place ----
// Erases the overlays of the mask that are on the screen, in the order drag preview, cursor
// lines, cursor mark, rubber band.
void EraseOverlays(App& app, unsigned mask);
// Draws the overlays of the mask in the order rubber band, cursor mark, cursor lines, drag
// preview.
void DrawOverlays(App& app, unsigned mask);

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
// Whether a special key only stepped the cursor.
bool TranslateKeyStep(App& app, const CommandEvent& event);

} // namespace lumora
