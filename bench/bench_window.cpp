// The real window: a whole-sheet redraw of generated drawings through the OpenGL canvas in a GLUT
// window, and the overlay update of one mouse move over a large drawing. Needs a display (Xvfb
// will do); without one each benchmark says so and is skipped.
#include "control/headless_app.h"
#include "model/property_set.h"
#include "platform/gl_canvas.h"

#include <GL/freeglut.h>
#include <benchmark/benchmark.h>
#include <memory>
#include <random>
// Last: its macros (Bool, Status, None) must not meet the other headers.
#include <X11/Xlib.h>

namespace lumora {
namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 800;
constexpr double kSheetWidth = 4000.0;
constexpr double kSheetHeight = 3000.0;
constexpr int kMapEvents = 20; // event rounds given to the window to appear

constexpr std::string_view kBenchFont = "#HEIGHT: 10\n#WIDTH: 6\n#CHAR_SPACE: 2\n#ROW_SPACE: 4\n"
                                        "#LOWER_PORTION: 2\n#CHARACTERS:\n"
                                        "\"A\" 0 0 0 3 10 1 6 0 1 1 4 0 5 4 1\n"
                                        "\"B\" 0 0 0 0 10 1 5 8 1 0 5 1 5 2 1 0 0 1\n";

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
    made->InitScreenCharacters();
    return made;
  }();
  return canvas.get();
}

class NullSink final : public MessageSink {
public:
  void Show(MessageKind, std::string_view) override {}
};

// The mix of the SoftCanvas redraw benchmark: open lines, arcs, circles and texts of 1 to 40
// units over a 4000 x 3000 sheet, so the two figures compare.
struct WindowDrawing {
  NullSink silent;
  HeadlessApp headless;
  App& app = headless.app;

  WindowDrawing(int count, GlCanvas& canvas) {
    app.drawing.limits = Box{0.0, 0.0, kSheetWidth, kSheetHeight};
    app.view.viewBox = app.drawing.limits;
    if (ParseFont(kBenchFont, app.fonts.slots[0], silent)) app.fonts.count = 1;
    AttachCanvas(app, canvas);
    Fill(count);
    FitView(app.view, kWidth, kHeight);
    canvas.SetClip(DrawingAreaRect(app.view));
  }

  void Fill(int count) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> x(0.0, kSheetWidth);
    std::uniform_real_distribution<double> y(0.0, kSheetHeight);
    std::uniform_real_distribution<double> size(1.0, 40.0);
    for (int k = 0; k < count; ++k) {
      const Point p{x(random), y(random)};
      const double s = size(random);
      PropertySet set;
      set.SetColour(std::uint32_t(1 + k % 8));
      set.SetStyle(std::uint32_t(1 + k % 4));
      if (k % 4 == 0) {
        set.SetShape(kShapeOpen);
        const Point pts[] = {p, {p.x + s, p.y + s / 2}, {p.x + 2 * s, p.y}};
        app.store.AddLine(set, pts, 3);
      } else if (k % 4 == 1) {
        set.SetShape(kShapeArc);
        const Point pts[] = {p, {p.x + s, p.y}, {p.x, p.y + s}};
        app.store.AddLine(set, pts, 3);
      } else if (k % 4 == 2) {
        set.SetShape(kShapeCircle);
        const Point pts[] = {p, {p.x + s, p.y}};
        app.store.AddLine(set, pts, 2);
      } else {
        set.SetHeight(50);
        app.store.AddText(set, &p, 1, "ABBA");
      }
    }
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
  state.SetLabel("GlCanvas, whole sheet");
}

BENCHMARK(BM_WindowRedraw)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

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
    MotionEvent(app, spots[k++ % 2]);
    canvas->Flush();
    glFinish();
  }
  state.SetLabel("GlCanvas, cursor lines and rubber band");
}

BENCHMARK(BM_WindowMouseMotion)->Arg(1000000)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
} // namespace lumora
