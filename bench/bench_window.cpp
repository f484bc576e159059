// The real window: a whole-sheet redraw of generated drawings through the OpenGL canvas in a GLUT
// window, and the overlay update of one mouse move over a large drawing. Needs a display (Xvfb
// will do); without one each benchmark says so and is skipped.
#include "bench_world.h"
#include "control/headless_app.h"
#include "platform/gl_canvas.h"

#include <GL/freeglut.h>
#include <benchmark/benchmark.h>
#include <memory>
// Last: its macros (Bool, Status, None) must not meet the other headers.
#include <X11/Xlib.h>

namespace lumora {
namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 800;
constexpr double kSheetWidth = 4000.0;
constexpr double kSheetHeight = 3000.0;
constexpr int kMapEvents = 20; // event rounds given to the window to appear

bool DisplayThere() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return false;
  XCloseDisplay(display);
  return true;
}

// One GLUT window for the whole run: GLUT is set up once per process.
GlCanvas* WindowCanvas() {
  static std::unique_ptr<GlCanvas> canvas = []() -> std::unique_ptr<GlCanvas> {
    if (!DisplayThere()) return nullptr;
    int argc = 1;
    char name[] = "lumora_bench";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_SINGLE | GLUT_RGB);
    glutInitWindowSize(kWidth, kHeight);
    glutCreateWindow("Lumora bench");
    glutDisplayFunc([] {});
    for (int k = 0; k < kMapEvents; ++k) glutMainLoopEvent();
    auto made = std::make_unique<GlCanvas>(kWidth, kHeight);
    made->SetSize(kWidth, kHeight);
    return made;
  }();
  return canvas.get();
}

// The drawing of the SoftCanvas redraw benchmark, so the two figures compare.
struct WindowDrawing {
  bench::QuietSink silent;
  HeadlessApp headless;
  App& app = headless.app;

  WindowDrawing(int count, GlCanvas& canvas) {
    app.drawing.limits = Box{0.0, 0.0, kSheetWidth, kSheetHeight};
    app.view.viewBox = app.drawing.limits;
    if (ParseFont(bench::kBenchFont, app.fonts.slots[0], silent)) app.fonts.count = 1;
    AttachCanvas(app, canvas);
    bench::FillMixedDrawing(app.store, count, kSheetWidth, kSheetHeight);
    FitView(app.view, kWidth, kHeight);
    canvas.SetClip(DrawingAreaRect(app.view));
  }
};

void BM_WindowRedraw(benchmark::State& state) {
  GlCanvas* canvas = WindowCanvas();
  if (canvas == nullptr) {
    state.SkipWithError("no display: start Xvfb and set DISPLAY to measure the window");
    return;
  }
  WindowDrawing bench(int(state.range(0)), *canvas);
  for (auto _ : state) {
    Redraw(bench.app.Scene(), false);
    canvas->Flush();
    glFinish(); // the pixels are on the screen, not just queued
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  bench::CountMachine(state, state.range(0));
  state.SetLabel("GlCanvas, whole sheet");
}

// Timed for a few iterations after a warm-up: the first redraw also pays for the pages of the
// store and the pixels touched for the first time.
BENCHMARK(BM_WindowRedraw)
    ->Arg(100000)
    ->Arg(1000000)
    ->MinWarmUpTime(0.5)
    ->MinTime(2.0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// One mouse move with the button held, over a drawing of range(0) elements: the cursor mark,
// the full-window cursor lines and the rubber band to the cursor are erased and drawn again.
void BM_WindowMouseMotion(benchmark::State& state) {
  GlCanvas* canvas = WindowCanvas();
  if (canvas == nullptr) {
    state.SkipWithError("no display: start Xvfb and set DISPLAY to measure the window");
    return;
  }
  WindowDrawing bench(int(state.range(0)), *canvas);
  App& app = bench.app;
  Redraw(app.Scene(), false);
  app.input.cursorLinesOff = 0;
  app.input.previewKind = kPreviewElement;
  app.input.attributes.SetShape(kShapeOpen);
  app.input.points[0] = {kSheetWidth / 3, kSheetHeight / 3};
  app.input.pointCount = 1;
  app.control.state.cursorShown = true;
  DrawOverlays(app, kAllOverlays);
  const WindowPixel spots[] = {{300, 300}, {700, 500}};
  int k = 0;
  for (auto _ : state) {
    HandleInput(app, {MotionInput{true}, spots[k++ % 2]});
    canvas->Flush();
    glFinish();
  }
  bench::CountMachine(state, state.range(0));
  state.SetLabel("GlCanvas, cursor lines and rubber band");
}

BENCHMARK(BM_WindowMouseMotion)->Arg(1000000)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
} // namespace lumora
