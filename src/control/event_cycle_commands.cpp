// The meeting point of the event cycle and the command machinery. Until the translation and
// the dispatcher are wired in, events are taken and ignored, and the mouse cursor counts as
// following the mouse from grid point to grid point.
#include "control/app.h"
#include "control/event_cycle.h"

namespace lumora {

void DispatchCommand(App& app, const CommandEvent& event) {
  ++app.window.commandCount;
  app.window.lastCommand = event;
}

MotionResult TranslateMotion(App& app, WindowPixel /*mouse*/) {
  return app.window.cursorShown ? kMotionNewPoint : kMotionNone;
}

bool TranslateKeyStep(App& /*app*/, const CommandEvent& /*event*/) {
  return false;
}

} // namespace lumora
