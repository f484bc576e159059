#include "control/event_cycle.h"

#include "control/app.h"
#include "control/dispatch.h"

#include <cstdlib>

namespace lumora {
namespace {

// A drag further than this (pixels, x and y summed) makes the click act at the release.
constexpr int kDragTravel = 40;
// Passive motion closer than this to the anchor is the hand trembling, not a move.
constexpr int kTrembleTravel = 2;
constexpr int kRestingPhase = 2; // passive motions before the long cursor lines come back
constexpr unsigned kFollowingOverlays = kDragPreview | kCursorLines | kCursorMark;

// Erase, act, draw: the cycle of keys and clicks.
void RunCycle(App& app, const CommandEvent& event, unsigned overlays) {
  const bool shown = app.control.state.cursorShown;
  if (shown) EraseOverlays(app, overlays);
  DispatchCommand(app, event);
  if (app.control.state.cursorShown) {
    DrawOverlays(app, overlays);
    app.window.motionPhase = 0;
  }
}

void PassiveWithCursor(App& app, WindowPixel mouse, Translation result) {
  WindowState& w = app.window;
  const CommandEvent event{0, 0, mouse};
  if (result == Translation::kFineGridMove) {
    EraseOverlays(app, kFollowingOverlays);
    DispatchCommand(app, event);
    DrawOverlays(app, kFollowingOverlays);
    return;
  }
  if (result != Translation::kCursorMoved && result != Translation::kNoChange) return;
  if (result == Translation::kCursorMoved) {
    w.mouseAnchor = mouse;
    w.actOnPress = true;
  }
  // While the mouse moves only the small mark follows it; the long lines wait for it to rest.
  if (w.motionPhase == 0) {
    EraseOverlays(app, kFollowingOverlays);
    DispatchCommand(app, event);
    DrawOverlays(app, kCursorMark);
    w.motionPhase = 1;
    return;
  }
  if (++w.motionPhase == kRestingPhase) DrawOverlays(app, kCursorLines | kDragPreview);
}

} // namespace

bool ScriptTick(App& app, bool waitClock) {
  if (!app.script.Paused() || app.window.quit) return false;
  if (waitClock) app.clock.Wait(app.script.PauseLeft());
  if (app.script.PauseLeft() > 0.0) return true;
  Control& control = app.control;
  const bool shown = control.state.cursorShown;
  if (shown) EraseOverlays(app, kFollowingOverlays);
  control.In().code = kContinueTick;
  control.In().rawKey = kRawNone;
  DispatchInput(control);
  RepairErased(app);
  if (control.state.cursorShown) DrawOverlays(app, kFollowingOverlays);
  return true;
}

int SpecialKeyCode(int key, const Modifiers& m) {
  const int held = int(m.shift) + int(m.ctrl) + int(m.alt);
  if (held != 1) return key + kSpecialPlain;
  if (m.shift) return key + kSpecialShift;
  if (m.ctrl) return key + kSpecialCtrl;
  return key + kSpecialAlt;
}

int MouseTravel(const WindowPixel& a, const WindowPixel& b) {
  return std::abs(a.x - b.x) + std::abs(a.y - b.y);
}

void KeyboardEvent(App& app, unsigned char key, WindowPixel mouse) {
  RunCycle(app, CommandEvent{key, key, mouse}, kAllOverlays);
}

void SpecialEvent(App& app, int key, const Modifiers& modifiers, WindowPixel mouse) {
  // A modifier pressed alone is on its way to a real key: it says nothing.
  if (IsBareModifier(key)) return;
  if (key == kKeyKeypadDelete) return KeyboardEvent(app, kCodeDelete, mouse);
  const CommandEvent event{SpecialKeyCode(key, modifiers), key, mouse};
  // A keyboard cursor step leaves the rubber band where it is.
  const unsigned overlays =
      TranslateKeyStep(app, event) ? kAllOverlays & ~unsigned{kRubberBand} : unsigned{kAllOverlays};
  RunCycle(app, event, overlays);
}

void MouseEvent(App& app, MouseButton button, bool pressed, WindowPixel mouse) {
  if (button == MouseButton::kMiddle) return;
  // Only one edge of a click acts: the press after a plain move, the release after a drag.
  if (pressed != app.window.actOnPress) return;
  const int code = button == MouseButton::kLeft ? kCodeLeftButton : kCodeRightButton;
  RunCycle(app, CommandEvent{code, 0, mouse}, kAllOverlays);
}

void MotionEvent(App& app, WindowPixel mouse) {
  WindowState& w = app.window;
  if (MouseTravel(mouse, w.mouseAnchor) > kDragTravel) w.actOnPress = false;
  if (TranslateMotion(app, mouse) == Translation::kNothing) return;
  const CommandEvent event{0, 0, mouse};
  if (!app.control.state.cursorShown) {
    DispatchCommand(app, event);
    return;
  }
  EraseOverlays(app, kFollowingOverlays); // the rubber band stays
  DispatchCommand(app, event);
  DrawOverlays(app, kFollowingOverlays);
}

void PassiveMotionEvent(App& app, WindowPixel mouse) {
  WindowState& w = app.window;
  if (MouseTravel(mouse, w.mouseAnchor) <= kTrembleTravel) return;
  const Translation result = TranslateMotion(app, mouse);
  if (app.control.state.cursorShown) {
    PassiveWithCursor(app, mouse, result);
    return;
  }
  if (result == Translation::kNothing) return;
  w.mouseAnchor = mouse;
  w.actOnPress = true;
  DispatchCommand(app, CommandEvent{0, 0, mouse});
}

bool CloseEvent(App& app) {
  // The quit question decides; a drawing without unsaved work ends at once.
  const bool shown = app.control.state.cursorShown;
  if (shown) EraseOverlays(app, kAllOverlays);
  RequestQuit(app.control);
  RepairErased(app);
  if (!app.window.quit && app.control.state.cursorShown) DrawOverlays(app, kAllOverlays);
  return app.window.quit;
}

} // namespace lumora
