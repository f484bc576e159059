#include "control/event_cycle.h"

#include "control/app.h"
#include "control/dispatch.h"
#include "screen/text_window.h"
#include "view/view_wheel.h"

#include <cstdlib>

namespace lumora {
namespace {

// A drag further than this (pixels, x and y summed) makes the click act at the release.
constexpr int kDragTravel = 40;
// Passive motion closer than this to the anchor is the hand trembling, not a move.
constexpr int kTrembleTravel = 2;
// The anchor of a pointer that has not rested anywhere: far from every window pixel.
constexpr WindowPixel kNoAnchor{-1000000, -1000000};
constexpr int kRestingPhase = 2; // passive motions before the long cursor lines come back
constexpr unsigned kFollowingOverlays = kDragPreview | kCursorLines | kCursorMark;

// What the command machinery does in a cycle.
enum class Act { kDispatch, kContinueScript, kClose };

// The one place the overlays come off and go on around the command machinery: those of `off`
// are erased while the cursor is shown, the machinery acts, and those of `on` are drawn again
// while the cursor is still shown and the program goes on.
void Cycle(App& app, const CommandEvent& event, unsigned off, unsigned on,
           Act act = Act::kDispatch) {
  if (app.control.state.cursorShown) EraseOverlays(app, off);
  switch (act) {
  case Act::kDispatch:
    DispatchCommand(app, event);
    break;
  case Act::kContinueScript:
    app.control.In().code = kContinueTick;
    app.control.In().rawKey = kRawNone;
    DispatchInput(app.control);
    RepairErased(app);
    break;
  case Act::kClose:
    RequestQuit(app.control);
    RepairErased(app);
    break;
  }
  if (app.control.state.cursorShown && !app.window.quit) DrawOverlays(app, on);
}

// After a key or a click the cursor lines are back at once.
void LinesBack(App& app) {
  if (app.control.state.cursorShown) app.window.motionPhase = 0;
}

void Drag(App& app, WindowPixel mouse) {
  WindowState& w = app.window;
  if (MouseTravel(mouse, w.mouseAnchor) > kDragTravel) w.actOnPress = false;
  if (TranslateMotion(app, mouse) == Translation::kNothing) return;
  // The rubber band stays.
  Cycle(app, CommandEvent{0, 0, mouse}, kFollowingOverlays, kFollowingOverlays);
}

void PassiveWithCursor(App& app, WindowPixel mouse, Translation result) {
  WindowState& w = app.window;
  const CommandEvent event{0, 0, mouse};
  if (result == Translation::kFineGridMove) {
    // Every pixel counts on a fine grid: no rest point, so a hand coming back to where it rested
    // on a coarser grid is not taken for a tremble.
    w.mouseAnchor = kNoAnchor;
    Cycle(app, event, kFollowingOverlays, kFollowingOverlays);
    return;
  }
  if (result != Translation::kCursorMoved && result != Translation::kNoChange) return;
  if (result == Translation::kCursorMoved) {
    w.mouseAnchor = mouse;
    w.actOnPress = true;
  }
  // While the mouse moves only the small mark follows it; the long lines wait for it to rest.
  if (w.motionPhase == 0) {
    Cycle(app, event, kFollowingOverlays, kCursorMark);
    w.motionPhase = 1;
    return;
  }
  if (++w.motionPhase == kRestingPhase) DrawOverlays(app, kCursorLines | kDragPreview);
}

void PassiveMotion(App& app, WindowPixel mouse) {
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

// A paused script goes on through the command that started it, with a continue tick.
void Tick(App& app, bool waitClock) {
  if (!app.script.Paused() || app.window.quit) return;
  if (waitClock) app.clock.Wait(app.script.PauseLeft());
  if (app.script.PauseLeft() > 0.0) return;
  Cycle(app, CommandEvent{}, kFollowingOverlays, kFollowingOverlays, Act::kContinueScript);
}

// A view changed by the mouse, with the overlays off meanwhile; the repaint stops for the
// next input as any whole redraw does.
void ShowView(App& app, const Box& box) {
  const bool cursor = app.control.state.cursorShown;
  if (cursor) EraseOverlays(app, kAllOverlays);
  app.view.viewBox = box;
  app.windowServices.Repaint();
  if (cursor && !app.window.quit) DrawOverlays(app, kAllOverlays);
}

// Steps of the wheel this close together go back as one by the previous zoom.
constexpr double kWheelBurstSeconds = 0.5;

// A wheel step zooms in (up) or out round the drawing point under the pointer, which stays
// under it, between the whole sheet and a few grid steps across.
void Wheel(App& app, WindowPixel mouse, bool in) {
  if (OpenWindowCount(app.screen) > 0) return;
  View& view = app.view;
  const Point relative = PixelToDrawing(view, mouse.x, mouse.y);
  const Point at{relative.x + view.globalOrigin.x, relative.y + view.globalOrigin.y};
  const Box box = ZoomedAround(view.viewBox, at, in ? kWheelZoomFactor : 1.0 / kWheelZoomFactor,
                               WholeSheetView(view, app.drawing.limits),
                               kNarrowestViewSteps * app.drawing.step);
  const Box& was = view.viewBox;
  if (box == was) return; // at a limit: nothing to show, nothing to go back to
  WindowState& w = app.window;
  const bool burst = w.lastWheel >= 0.0 &&
                     app.clock.Seconds() - w.lastWheel <= kWheelBurstSeconds && was == w.wheelView;
  if (!burst) view.previousViewBox = was;
  w.wheelView = box;
  ShowView(app, box);
  // The burst is timed from the end of this step's drawing, so a slow redraw does not part the
  // steps the hand made together.
  w.lastWheel = app.clock.Seconds();
}

// The middle button down starts moving the view; once it moves, the previous zoom goes back to
// where it was.
void StartPan(App& app, WindowPixel mouse) {
  if (OpenWindowCount(app.screen) > 0) return;
  WindowState& w = app.window;
  w.panning = true;
  w.panMoved = false;
  w.panFrom = mouse;
  w.panView = app.view.viewBox;
}

// The sheet follows the pointer.
void Pan(App& app, WindowPixel mouse) {
  WindowState& w = app.window;
  // A press without a move is no view to go back to.
  if (!w.panMoved) {
    if (mouse.x == w.panFrom.x && mouse.y == w.panFrom.y) return;
    w.panMoved = true;
    app.view.previousViewBox = w.panView;
  }
  const double perUnit = PixelsPerUnit(app.view);
  if (!(perUnit > 0.0)) return;
  const double dx = (mouse.x - w.panFrom.x) / perUnit;
  const double dy = (mouse.y - w.panFrom.y) / perUnit;
  ShowView(app,
           {w.panView.xmin - dx, w.panView.ymin + dy, w.panView.xmax - dx, w.panView.ymax + dy});
}

// What each kind of input does.
struct Handler {
  App& app;
  WindowPixel mouse;

  void operator()(const KeyInput& key) const {
    CommandEvent event{0, 0, mouse};
    unsigned overlays = kAllOverlays;
    if (!key.special) {
      event.code = event.rawKey = KeyboardCode(static_cast<unsigned char>(key.key),
                                               key.modifiers.ctrl, key.modifiers.shift);
    } else if (IsBareModifier(key.key)) {
      return; // a modifier pressed alone is on its way to a real key: it says nothing
    } else if (key.key == kKeyKeypadDelete) {
      event.code = event.rawKey = kCodeDelete;
    } else {
      event.code = SpecialKeyCode(key.key, key.modifiers);
      event.rawKey = key.key;
      // A keyboard cursor step leaves the rubber band where it is.
      if (IsCursorStep(app.control, event.code)) overlays &= ~unsigned{kRubberBand};
    }
    Cycle(app, event, overlays, overlays);
    LinesBack(app);
  }
  void operator()(const ButtonInput& button) const {
    if (button.button == MouseButton::kWheelUp || button.button == MouseButton::kWheelDown) {
      if (button.pressed) Wheel(app, mouse, button.button == MouseButton::kWheelUp);
      return;
    }
    if (button.button == MouseButton::kMiddle) {
      if (button.pressed)
        StartPan(app, mouse);
      else
        app.window.panning = false;
      return;
    }
    // A press where the cursor never followed the pointer (a window opened under a resting
    // pointer, a pointer warped in) first brings the cursor there, as the move would have.
    if (button.pressed && app.control.state.cursorShown &&
        MouseTravel(mouse, app.window.mouseAnchor) > kTrembleTravel) {
      PassiveMotion(app, mouse);
    }
    // Only one edge of a click acts: the press after a plain move, the release after a drag.
    if (button.pressed != app.window.actOnPress) return;
    const int code = button.button == MouseButton::kLeft ? kCodeLeftButton : kCodeRightButton;
    Cycle(app, CommandEvent{code, 0, mouse}, kAllOverlays, kAllOverlays);
    LinesBack(app);
  }
  void operator()(const MotionInput& motion) const {
    if (motion.buttonHeld && app.window.panning) {
      Pan(app, mouse);
    } else if (motion.buttonHeld) {
      Drag(app, mouse);
    } else {
      PassiveMotion(app, mouse);
    }
  }
  void operator()(const ExposeInput& expose) const {
    DisplayWindow(app, expose.width, expose.height);
  }
  void operator()(const TickInput& tick) const { Tick(app, tick.waitClock); }
  void operator()(const CloseInput&) const {
    Cycle(app, CommandEvent{}, kAllOverlays, kAllOverlays, Act::kClose);
  }
};

} // namespace

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

void HandleInput(App& app, const InputEvent& event) {
  std::visit(Handler{app, event.mouse}, event.what);
}

} // namespace lumora
