// Plotting generated drawings of mixed elements (polylines, arcs, circles in all four styles,
// texts) to a PDF page, with the peak resident memory of the process.
#include "bench_world.h"
#include "platform/pdf_page_device.h"
#include "plot/plotter.h"
#include "text/font.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <sys/resource.h>

namespace lumora {
namespace {

constexpr double kSheetWidth = 5600.0; // 280 x 190 mm at 1:20: a turned A4 page
constexpr double kSheetHeight = 3800.0;
constexpr double kScale = 20.0;
constexpr double kKibPerMib = 1024.0;

void BM_PlotPdf(benchmark::State& state) {
  bench::World world;
  bench::QuietSink quiet;
  world.drawing.scale = kScale;
  world.drawing.paperUnit = kScale;
  world.drawing.limits = Box{0.0, 0.0, kSheetWidth, kSheetHeight};
  Fonts fonts;
  if (ParseFont(bench::kBenchFont, fonts.slots[0], quiet)) fonts.count = 1;
  // Larger elements than on the screen, with pen widths, as a plotted sheet has them.
  const bench::MixedDrawing mix{11, 10.0, 200.0, 0.25, 30, true};
  bench::FillMixedDrawing(world.store, int(state.range(0)), kSheetWidth, kSheetHeight, mix);
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
