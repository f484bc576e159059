// Hatching: 10^4 fillings (plates with a round hole) hatched afresh, and redrawn on a
// 1000 x 800 SoftCanvas from their caches; one boundary of 10^4 edges cut by 10^5 lines.
#include "control/headless_app.h"
#include "geometry/hatch.h"
#include "model/property_set.h"
#include "view/soft_canvas.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <random>
#include <vector>

namespace lumora {
namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 800;
constexpr double kSheetWidth = 4000.0;
constexpr double kSheetHeight = 3000.0;
constexpr int kFillings = 10000;

struct HatchDrawing {
  HeadlessApp headless;
  App& app = headless.app;
  SoftCanvas canvas{kWidth, kHeight};
  std::vector<FillingElement*> fillings;

  HatchDrawing() {
    app.drawing.limits = Box{0.0, 0.0, kSheetWidth, kSheetHeight};
    app.view.viewBox = app.drawing.limits;
    AttachCanvas(app, canvas);
    FitView(app.view, kWidth, kHeight);
    canvas.SetClip(DrawingAreaRect(app.view));
    std::mt19937 random(5);
    std::uniform_real_distribution<double> x(0.0, kSheetWidth - 40);
    std::uniform_real_distribution<double> y(0.0, kSheetHeight - 20);
    std::uniform_int_distribution<int> angle(0, 179);
    for (int k = 0; k < kFillings; ++k) {
      const Point p{x(random), y(random)};
      PropertySet set;
      set.SetShape(kShapeClosed);
      const Point plate[] = {p, {p.x + 40, p.y}, {p.x + 40, p.y + 20}, {p.x, p.y + 20}};
      LineElement* lines[] = {app.store.AddLine(set, plate, 4), nullptr};
      set.SetShape(kShapeCircle);
      const Point hole[] = {{p.x + 20, p.y + 10}, {p.x + 26, p.y + 10}};
      lines[1] = app.store.AddLine(set, hole, 2);
      PropertySet fill;
      fill.gap = 1.0;
      fill.hatchAngle = static_cast<std::int16_t>(angle(random));
      fillings.push_back(app.store.AddFilling(fill, lines, 2));
    }
  }
};

void BM_HatchFillings(benchmark::State& state) {
  HatchDrawing bench;
  std::size_t segments = 0;
  for (auto _ : state) {
    segments = 0;
    for (FillingElement* f : bench.fillings) {
      bench.app.geometry.BuildHatch(*f);
      segments += f->hatch->count / 2;
    }
  }
  state.SetItemsProcessed(state.iterations() * kFillings);
  state.counters["segments"] = static_cast<double>(segments);
}

void BM_RedrawHatchedFillings(benchmark::State& state) {
  HatchDrawing bench;
  Redraw(bench.app.Scene(), false); // the first drawing builds the caches
  for (auto _ : state) {
    Redraw(bench.app.Scene(), false);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kFillings);
}

// A wavy ring of 10^4 edges, hatched by 10^5 lines.
void BM_HatchLargeBoundary(benchmark::State& state) {
  constexpr int kEdges = 10000;
  std::vector<PenPathRecord> path;
  for (int i = 0; i <= kEdges; ++i) {
    const double t = 6.283185307 * i / kEdges;
    const double r = 1000.0 + 30.0 * std::sin(40.0 * t);
    path.push_back({r * std::cos(t), r * std::sin(t), i > 0 ? 1 : 0});
  }
  const double gap = 2060.0 / 100000.0;
  std::vector<Point> points;
  for (auto _ : state) {
    points.clear();
    if (HatchPenPath(path, gap, 30.0, points) != HatchStatus::kDone) state.SkipWithError("refused");
    benchmark::DoNotOptimize(points.data());
  }
  state.counters["segments"] = static_cast<double>(points.size() / 2);
}

BENCHMARK(BM_HatchFillings)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RedrawHatchedFillings)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HatchLargeBoundary)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace lumora
