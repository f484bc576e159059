#include "control/headless_app.h"

namespace lumora {

void HeadlessWindow::EndProgram() {
  app_.window.quit = true;
}

void HeadlessWindow::Repaint() {
  ++repaints;
  RepaintWindow(app_);
}

bool HeadlessWindow::InputWaiting() {
  if (inputAfterPolls < 0) return false;
  return inputAfterPolls-- == 0;
}

} // namespace lumora
