#include "platform/glut_window.h"

#include "control/app.h"
#include "control/event_cycle.h"
#include "platform/gl_canvas.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <memory>

namespace lumora {
namespace {

constexpr const char* kWindowTitle = "Lumora";

GlutWindow* Link() {
  return static_cast<GlutWindow*>(glutGetWindowData());
}

WindowPixel Mouse(int x, int y) {
  return {x, y};
}

Modifiers HeldModifiers() {
  const int held = glutGetModifiers();
  return {(held & GLUT_ACTIVE_SHIFT) != 0, (held & GLUT_ACTIVE_CTRL) != 0,
          (held & GLUT_ACTIVE_ALT) != 0};
}

void OnIdle();

// A redraw that stopped for a key or a click is finished when the queue has nothing more.
void FinishLater(GlutWindow& window) {
  glutIdleFunc(RedrawLeft(window.app()) ? OnIdle : nullptr);
}

void OnIdle() {
  GlutWindow* link = Link();
  if (link == nullptr || link->canvas == nullptr) {
    glutIdleFunc(nullptr);
    return;
  }
  FinishStoppedRedraw(link->app());
  link->canvas->Flush();
  FinishLater(*link);
}

// A command may end the program from any callback; any may leave a redraw to finish.
void LeaveWhenQuit(GlutWindow& window) {
  FinishLater(window);
  if (window.app().window.quit) glutLeaveMainLoop();
}

void OnDisplay() {
  GlutWindow* link = Link();
  if (link == nullptr || link->canvas == nullptr) return;
  const int w = glutGet(GLUT_WINDOW_WIDTH);
  const int h = glutGet(GLUT_WINDOW_HEIGHT);
  if (w != link->canvas->Width() || h != link->canvas->Height()) link->canvas->SetSize(w, h);
  // The window may have lost any part of what it showed: all of it is copied again.
  link->canvas->Exposed();
  HandleInput(link->app(), {ExposeInput{w, h}, {}});
  link->canvas->Flush();
  FinishLater(*link);
}

// A resize is laid out by the next display.
void OnReshape(int /*width*/, int /*height*/) {}
void OnVisibility(int /*state*/) {}

constexpr unsigned kTickMilliseconds = 20;

// A paused script goes on from here, a slice at a time, so keys still come through.
void OnTimer(int /*value*/) {
  if (glutGetWindow() == 0) return; // the window is gone, and its ticks with it
  if (GlutWindow* link = Link()) {
    HandleInput(link->app(), {TickInput{false}, {}});
    link->canvas->Flush();
    LeaveWhenQuit(*link);
  }
  glutTimerFunc(kTickMilliseconds, OnTimer, 0);
}

void OnKeyboard(unsigned char key, int x, int y) {
  if (GlutWindow* link = Link()) {
    HandleInput(link->app(), {KeyInput{false, key, HeldModifiers()}, Mouse(x, y)});
    link->canvas->Flush();
    LeaveWhenQuit(*link);
  }
}

void OnSpecial(int key, int x, int y) {
  if (GlutWindow* link = Link()) {
    HandleInput(link->app(), {KeyInput{true, key, HeldModifiers()}, Mouse(x, y)});
    link->canvas->Flush();
    LeaveWhenQuit(*link);
  }
}

void OnMouse(int button, int state, int x, int y) {
  GlutWindow* link = Link();
  if (link == nullptr) return;
  // The wheel comes as buttons 3 (up) and 4 (down); buttons beyond (a sideways wheel) say
  // nothing.
  constexpr int kWheelUpButton = 3;
  constexpr int kWheelDownButton = 4;
  MouseButton which = MouseButton::kLeft;
  if (button == GLUT_LEFT_BUTTON)
    which = MouseButton::kLeft;
  else if (button == GLUT_RIGHT_BUTTON)
    which = MouseButton::kRight;
  else if (button == GLUT_MIDDLE_BUTTON)
    which = MouseButton::kMiddle;
  else if (button == kWheelUpButton)
    which = MouseButton::kWheelUp;
  else if (button == kWheelDownButton)
    which = MouseButton::kWheelDown;
  else
    return;
  HandleInput(link->app(), {ButtonInput{which, state == GLUT_DOWN}, Mouse(x, y)});
  link->canvas->Flush();
  LeaveWhenQuit(*link);
}

void OnMotion(int x, int y) {
  if (GlutWindow* link = Link()) {
    HandleInput(link->app(), {MotionInput{true}, Mouse(x, y)});
    link->canvas->Flush();
    FinishLater(*link);
  }
}

void OnPassiveMotion(int x, int y) {
  if (GlutWindow* link = Link()) {
    HandleInput(link->app(), {MotionInput{false}, Mouse(x, y)});
    link->canvas->Flush();
    FinishLater(*link);
  }
}

// The window manager closed the window; the main loop returns after this.
void OnClose() {
  if (GlutWindow* link = Link()) HandleInput(link->app(), {CloseInput{}, {}});
}

void InstallCallbacks() {
  glutDisplayFunc(OnDisplay);
  glutReshapeFunc(OnReshape);
  glutKeyboardFunc(OnKeyboard);
  glutMouseFunc(OnMouse);
  glutMotionFunc(OnMotion);
  glutPassiveMotionFunc(OnPassiveMotion);
  glutVisibilityFunc(OnVisibility);
  glutSpecialFunc(OnSpecial);
  glutCloseFunc(OnClose);
  glutTimerFunc(kTickMilliseconds, OnTimer, 0);
}

} // namespace

int GlutWindow::Run(int& argc, char** argv) {
  const Setup& s = app_.setup;
  while (!app_.window.quit && reopen_) {
    reopen_ = false;
    // The main loop shuts GLUT down when it returns, so every window starts it afresh.
    glutInit(&argc, argv);
    // Closing the window returns here, so an unsaved drawing can still be asked about.
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
    glutInitDisplayMode(GLUT_SINGLE | GLUT_RGB);
    glutInitWindowSize(s.windowWidth, s.windowHeight);
    glutInitWindowPosition(s.windowX, s.windowY);
    glutCreateWindow(kWindowTitle);
    GlCanvas glCanvas(s.windowWidth, s.windowHeight);
    glCanvas.SetSize(s.windowWidth, s.windowHeight);
    canvas = &glCanvas;
    AttachCanvas(app_, glCanvas);
    glutSetWindowData(this);
    InstallCallbacks();
    // A window made anew keeps the pointer as the user left it.
    ShowMousePointer(app_.commandState.mousePointerShown);
    app_.window.firstDisplay = true;
    app_.offerRecovery = true;
    glutMainLoop();
    canvas = nullptr;
    app_.canvas = nullptr;
    app_.screen.canvas = nullptr;
  }
  return 0;
}

void GlutWindow::ShowMousePointer(bool shown) {
  if (canvas != nullptr) glutSetCursor(shown ? GLUT_CURSOR_RIGHT_ARROW : GLUT_CURSOR_NONE);
}

// The closed window's main loop returns; Run makes a new window while the question is open.
void GlutWindow::KeepRunning() {
  reopen_ = true;
}

void GlutWindow::EndProgram() {
  app_.window.quit = true;
  if (canvas != nullptr) glutLeaveMainLoop();
}

void GlutWindow::Repaint() {
  RepaintWindow(app_);
  if (canvas != nullptr) canvas->Flush();
}

namespace {

// Marks the queue as holding input when it meets a key or a button press; takes nothing.
Bool SeeInput(Display* /*display*/, XEvent* event, XPointer seen) {
  if (event->type == KeyPress || event->type == ButtonPress) *reinterpret_cast<bool*>(seen) = true;
  return False;
}

} // namespace

bool GlutWindow::InputWaiting() {
  if (canvas == nullptr) return false;
  Display* display = glXGetCurrentDisplay();
  if (display == nullptr) return false;
  bool seen = false;
  XEvent unused;
  XCheckIfEvent(display, &unused, SeeInput, reinterpret_cast<XPointer>(&seen));
  return seen;
}

} // namespace lumora
