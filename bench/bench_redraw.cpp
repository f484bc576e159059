// Full redraw of generated drawings on a 1000 x 800 SoftCanvas, with the whole sheet in view
// and zoomed in to a sixteenth of its width, where the zone masks cull most elements.
#include "control/headless_app.h"
#include "model/property_set.h"
#include "view/soft_canvas.h"

#include <benchmark/benchmark.h>
#include <random>

namespace lumora {
namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 800;
constexpr double kSheetWidth = 4000.0;
constexpr double kSheetHeight = 3000.0;
constexpr double kZoomShare = 1.0 / 16.0;

// A font of two glyphs, enough for texts to cost what texts cost.
constexpr std::string_view kBenchFont = "#HEIGHT: 10\n#WIDTH: 6\n#CHAR_SPACE: 2\n#ROW_SPACE: 4\n"
                                        "#LOWER_PORTION: 2\n#CHARACTERS:\n"
                                        "\"A\" 0 0 0 3 10 1 6 0 1 1 4 0 5 4 1\n"
                                        "\"B\" 0 0 0 0 10 1 5 8 1 0 5 1 5 2 1 0 0 1\n";

// Silences the font reader.
class NullSink final : public MessageSink {
public:
  void Show(MessageKind, std::string_view) override {}
};

struct BenchDrawing {
  NullSink silent;
  HeadlessApp headless;
  App& app = headless.app;
  SoftCanvas canvas{kWidth, kHeight};

  explicit BenchDrawing(int count) {
    app.drawing.limits = Box{0.0, 0.0, kSheetWidth, kSheetHeight};
    app.view.viewBox = app.drawing.limits;
    if (ParseFont(kBenchFont, app.fonts.slots[0], silent)) app.fonts.count = 1;
    AttachCanvas(app, canvas);
    Fill(count);
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
      switch (k % 4) {
      case 0: {
        set.SetShape(kShapeOpen);
        const Point pts[] = {p, {p.x + s, p.y + s / 2}, {p.x + 2 * s, p.y}};
        app.store.AddLine(set, pts, 3);
        break;
      }
      case 1: {
        set.SetShape(kShapeArc);
        const Point pts[] = {p, {p.x + s, p.y}, {p.x, p.y + s}};
        app.store.AddLine(set, pts, 3);
        break;
      }
      case 2: {
        set.SetShape(kShapeCircle);
        const Point pts[] = {p, {p.x + s, p.y}};
        app.store.AddLine(set, pts, 2);
        break;
      }
      default:
        set.SetHeight(50);
        app.store.AddText(set, &p, 1, "ABBA");
        break;
      }
    }
  }
};

void BM_Redraw(benchmark::State& state) {
  BenchDrawing bench(int(state.range(0)));
  App& app = bench.app;
  if (state.range(1) != 0) {
    const double w = kSheetWidth * kZoomShare;
    app.view.viewBox = Box{kSheetWidth / 2, kSheetHeight / 2, kSheetWidth / 2 + w,
                           kSheetHeight / 2 + w * kSheetHeight / kSheetWidth};
  }
  FitView(app.view, kWidth, kHeight);
  bench.canvas.SetClip(DrawingAreaRect(app.view));
  for (auto _ : state) {
    Redraw(app.Scene(), false);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetLabel(state.range(1) != 0 ? "zoomed in" : "whole sheet");
}

BENCHMARK(BM_Redraw)
    ->ArgsProduct({{10000, 100000, 1000000}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
} // namespace lumora
