// Plotting generated drawings of mixed elements (polylines, arcs, circles in all four styles,
// texts) to a PDF page, with the peak resident memory of the process.
#include "bench_world.h"
#include "model/property_set.h"
#include "platform/pdf_page_device.h"
#include "plot/plotter.h"
#include "text/font.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <random>
#include <sys/resource.h>

namespace lumora {
namespace {

constexpr double kSheetWidth = 5600.0; // 280 x 190 mm at 1:20: a turned A4 page
constexpr double kSheetHeight = 3800.0;
constexpr double kScale = 20.0;
constexpr double kKibPerMib = 1024.0;

void Fill(bench::World& world, int count) {
  std::mt19937 random(11);
  std::uniform_real_distribution<double> x(0.0, kSheetWidth);
  std::uniform_real_distribution<double> y(0.0, kSheetHeight);
  std::uniform_real_distribution<double> size(10.0, 200.0);
  for (int k = 0; k < count; ++k) {
    const Point p{x(random), y(random)};
    const double s = size(random);
    PropertySet set;
    set.SetColour(std::uint32_t(1 + k % 8));
    set.SetStyle(std::uint32_t(1 + k % 4));
    set.SetSection(4);
    set.SetWidth(std::uint32_t(k % 6));
    if (k % 4 == 0) {
      const Point pts[] = {p, {p.x + s, p.y + s / 2}, {p.x + 2 * s, p.y}};
      world.store.AddLine(set, pts, 3);
    } else if (k % 4 == 1) {
      set.SetShape(kShapeArc);
      const Point pts[] = {p, {p.x + s, p.y}, {p.x, p.y + s}};
      world.store.AddLine(set, pts, 3);
    } else if (k % 4 == 2) {
      set.SetShape(kShapeCircle);
      const Point pts[] = {p, {p.x + s / 4, p.y}};
      world.store.AddLine(set, pts, 2);
    } else {
      set.SetHeight(30);
      world.store.AddText(set, &p, 1, "ABBA");
    }
  }
}

void BM_PlotPdf(benchmark::State& state) {
  bench::World world;
  bench::QuietSink quiet;
  world.drawing.scale = kScale;
  world.drawing.paperUnit = kScale;
  world.drawing.limits = Box{0.0, 0.0, kSheetWidth, kSheetHeight};
  Fonts fonts;
  if (ParseFont(bench::kBenchFont, fonts.slots[0], quiet)) fonts.count = 1;
  Fill(world, int(state.range(0)));
  const MeasureStyle measure;
  const std::string path = "/tmp/lumora_bench_plot.pdf";
  for (auto _ : state) {
    PdfPageDevice device(path, CentredPaper(210.0, 297.0), world.env);
    PlotJob job{world.drawing, world.drawing.limits, fonts,  measure, device,
                quiet,         Language::kEnglish,   nullptr};
    if (PlotDrawing(job) == 0) state.SkipWithError("the plot failed");
  }
  std::remove(path.c_str());
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_MiB"] = double(usage.ru_maxrss) / kKibPerMib;
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_PlotPdf)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace lumora
