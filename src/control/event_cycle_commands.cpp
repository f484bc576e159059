// The meeting point of the event cycle and the command machinery: each event is translated
// into the current input record and dispatched to the active functions.
#include "control/app.h"
#include "control/dispatch.h"
#include "control/event_cycle.h"
#include "control/translate.h"
#include "screen/messages.h"

namespace lumora {
namespace {

// Mouse events carry no key: their code names the button. Motions were translated on their
// way in and carry code 0.
bool IsButton(const CommandEvent& event, int code) {
  return event.rawKey == 0 && event.code == code;
}

bool IsMotion(const CommandEvent& event) {
  return event.rawKey == 0 && event.code == 0;
}

} // namespace

void DispatchCommand(App& app, const CommandEvent& event) {
  ++app.window.commandCount;
  app.window.lastCommand = event;
  Control& control = app.control;
  const int x = event.mouse.x;
  const int y = event.mouse.y;
  // A note of what the last command did stays until the hand does something new.
  if (!IsMotion(event)) ClearNote(app.screen);
  if (IsButton(event, kCodeLeftButton)) {
    TranslateInput(control, InputKind::kLeftClick, x, y);
  } else if (IsButton(event, kCodeRightButton)) {
    TranslateInput(control, InputKind::kRightClick, x, y);
  } else if (!IsMotion(event)) {
    TranslateInput(control, InputKind::kKey, x, y, event.code);
  }
  DispatchInput(control);
  RepairErased(app);
}

Translation TranslateMotion(App& app, WindowPixel mouse) {
  const Translation result = TranslateInput(app.control, InputKind::kMotion, mouse.x, mouse.y);
  // A new grid point starts the overlays' rest count afresh.
  if (app.control.state.cursorShown &&
      (result == Translation::kCursorMoved || result == Translation::kFineGridMove)) {
    app.window.motionPhase = 0;
  }
  return result;
}

} // namespace lumora
