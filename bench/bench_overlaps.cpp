// Checking lines lying on each other in drawings of 10^4 and 10^5 lines: the search alone,
// and the search with the deletion of the lines it finds (a tenth of the drawing repeats
// another line).
#include "bench_world.h"
#include "commands/overlap_check.h"
#include "model/element_store.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

using namespace lumora;

using bench::World;

// Lines on a grid, many sharing their first point; every tenth repeats the line before it.
void Fill(World& w, long count) {
  w.drawing.limits = Box{0, 0, 10000, 10000};
  PropertySet set;
  set.SetShape(kShapeOpen);
  for (long k = 0; k < count; ++k) {
    const long n = k % 10 == 9 ? k - 1 : k;
    const double x = static_cast<double>(n % 300) * 30;
    const double y = static_cast<double>(n / 300 % 300) * 30;
    const Point pts[] = {{x, y}, {x + static_cast<double>(n % 7) + 1, y + 5}, {x + 9, y + 9}};
    w.store.AddLine(set, pts, 3);
  }
}

void BM_OverlapSearch(benchmark::State& state) {
  World w;
  Fill(w, state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(OverlappingLines(w.drawing));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_OverlapSearch)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

void BM_OverlapSearchAndDelete(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto w = std::make_unique<World>();
    Fill(*w, state.range(0));
    state.ResumeTiming();
    const std::vector<LineElement*> found = OverlappingLines(w->drawing);
    PartElement* group = w->store.AddPart("", 0, 0);
    for (LineElement* line : found) w->store.AddMember(group, line);
    w->store.DeletePart(group, true);
    state.PauseTiming(); // the world's teardown is not part of the check
    w.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_OverlapSearchAndDelete)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

} // namespace
