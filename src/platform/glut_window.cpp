#include "platform/glut_window.h"

#include "control/app.h"
#include "control/event_cycle.h"
#include "control/translate.h"
#include "platform/gl_canvas.h"

#include <GL/freeglut.h>
#include <memory>

namespace lumora {
namespace {

constexpr const char* kWindowTitle = "Lumora";

// What the callbacks reach through the window's data pointer; GLUT callbacks carry no context.
struct WindowLink {
  App& app;
  GlCanvas canvas;
};

WindowLink* Link() {
  return static_cast<WindowLink*>(glutGetWindowData());
}

WindowPixel Mouse(int x, int y) {
  return {x, y};
}

// A command may end the program from any callback.
void LeaveWhenQuit(const WindowLink& link) {
  if (link.app.window.quit) glutLeaveMainLoop();
}

void OnDisplay() {
  WindowLink* link = Link();
  if (link == nullptr) return;
  const int w = glutGet(GLUT_WINDOW_WIDTH);
  const int h = glutGet(GLUT_WINDOW_HEIGHT);
  if (w != link->canvas.Width() || h != link->canvas.Height()) link->canvas.SetSize(w, h);
  DisplayEvent(link->app, w, h);
  link->canvas.Flush();
}

// A resize is laid out by the next display.
void OnReshape(int /*width*/, int /*height*/) {}
void OnVisibility(int /*state*/) {}

void OnKeyboard(unsigned char key, int x, int y) {
  if (WindowLink* link = Link()) {
    const bool ctrl = (glutGetModifiers() & GLUT_ACTIVE_CTRL) != 0;
    KeyboardEvent(link->app, static_cast<unsigned char>(KeyboardCode(key, ctrl)), Mouse(x, y));
    LeaveWhenQuit(*link);
  }
}

void OnSpecial(int key, int x, int y) {
  if (WindowLink* link = Link()) {
    const int held = glutGetModifiers();
    const Modifiers modifiers{(held & GLUT_ACTIVE_SHIFT) != 0, (held & GLUT_ACTIVE_CTRL) != 0,
                              (held & GLUT_ACTIVE_ALT) != 0};
    SpecialEvent(link->app, key, modifiers, Mouse(x, y));
    LeaveWhenQuit(*link);
  }
}

void OnMouse(int button, int state, int x, int y) {
  WindowLink* link = Link();
  if (link == nullptr) return;
  MouseButton which = MouseButton::kMiddle;
  if (button == GLUT_LEFT_BUTTON)
    which = MouseButton::kLeft;
  else if (button == GLUT_RIGHT_BUTTON)
    which = MouseButton::kRight;
  MouseEvent(link->app, which, state == GLUT_DOWN, Mouse(x, y));
  LeaveWhenQuit(*link);
}

void OnMotion(int x, int y) {
  if (WindowLink* link = Link()) MotionEvent(link->app, Mouse(x, y));
}

void OnPassiveMotion(int x, int y) {
  if (WindowLink* link = Link()) PassiveMotionEvent(link->app, Mouse(x, y));
}

// The window manager closed the window; the main loop returns after this.
void OnClose() {
  if (WindowLink* link = Link()) CloseEvent(link->app);
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
}

std::unique_ptr<WindowLink> OpenWindow(App& app) {
  const Setup& s = app.setup;
  glutInitDisplayMode(GLUT_SINGLE | GLUT_RGB);
  glutInitWindowSize(s.windowWidth, s.windowHeight);
  glutInitWindowPosition(s.windowX, s.windowY);
  glutCreateWindow(kWindowTitle);
  auto link =
      std::make_unique<WindowLink>(WindowLink{app, GlCanvas(s.windowWidth, s.windowHeight)});
  link->canvas.SetSize(s.windowWidth, s.windowHeight);
  link->canvas.InitScreenCharacters();
  AttachCanvas(app, link->canvas);
  glutSetWindowData(link.get());
  InstallCallbacks();
  return link;
}

} // namespace

int RunWindow(App& app, int& argc, char** argv) {
  while (!app.window.quit) {
    // The main loop shuts GLUT down when it returns, so every window starts it afresh.
    glutInit(&argc, argv);
    // Closing the window returns here, so an unsaved drawing can still be asked about.
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
    const std::unique_ptr<WindowLink> link = OpenWindow(app);
    app.window.firstDisplay = true;
    glutMainLoop();
    app.canvas = nullptr;
    app.screen.canvas = nullptr;
    // Still running: the window went with the quit question open, a new one takes its place.
  }
  return 0;
}

} // namespace lumora
