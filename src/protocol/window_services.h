// What the command machinery asks of the window it runs in. The GLUT window and the headless
// event player each implement all of it: a service a command needs cannot be left unconnected.
#pragma once

namespace lumora {

class WindowServices {
public:
  virtual ~WindowServices() = default;

  // Hides the mouse pointer over the window, or shows the plain arrow again.
  virtual void ShowMousePointer(bool shown) = 0;
  // The window was closed with unsaved work: keep the program, and a window, until the quit
  // question is answered.
  virtual void KeepRunning() = 0;
  // The program has ended: leave the event loop.
  virtual void EndProgram() = 0;
  // Lays the window out anew and repaints the message band, the drawing, the overlays and the
  // open text windows.
  virtual void Repaint() = 0;
  // Whether a key or a mouse button waits to be handled: a long redraw stops for it and is
  // finished once it has been handled.
  virtual bool InputWaiting() = 0;
};

} // namespace lumora
