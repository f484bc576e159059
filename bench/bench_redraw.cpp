// Full redraw of generated drawings on a 1000 x 800 SoftCanvas, with the whole sheet in view
// and zoomed in to a sixteenth of its width, where the zone masks cull most elements.
#include "bench_world.h"
#include "control/headless_app.h"
#include "view/soft_canvas.h"

#include <benchmark/benchmark.h>

namespace lumora {
namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 800;
constexpr double kSheetWidth = 4000.0;
constexpr double kSheetHeight = 3000.0;
constexpr double kZoomShare = 1.0 / 16.0;

struct BenchDrawing {
  bench::QuietSink silent;
  HeadlessApp headless;
  App& app = headless.app;
  SoftCanvas canvas{kWidth, kHeight};

  explicit BenchDrawing(int count) {
    app.drawing.limits = Box{0.0, 0.0, kSheetWidth, kSheetHeight};
    app.view.viewBox = app.drawing.limits;
    if (ParseFont(bench::kBenchFont, app.fonts.slots[0], silent)) app.fonts.count = 1;
    AttachCanvas(app, canvas);
    bench::FillMixedDrawing(app.store, count, kSheetWidth, kSheetHeight);
  }
};

void BM_Redraw(benchmark::State& state) {
  BenchDrawing bench(int(state.range(0)));
  bench::CountMachine(state, state.range(0));
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
