// Each speed-up the code keeps against the plain way it replaced, run side by side so the
// ratio holds on a busy machine too: the store's record arena against the heap (adding lines,
// and the bytes they take), the zone mask's multiply by a reciprocal against a divide per end,
// and the quick cosine and sine of arc vertices against the library's.
#include "bench_world.h"
#include "geometry/primitives.h"
#include "model/store_allocator.h"
#include "view/quick_trig.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace lumora {
namespace {

constexpr int kLines = 100000;

// Adds kLines two-point lines to a store on the given allocator, then drops the store.
void AddLines(benchmark::State& state, bool arena) {
  std::mt19937 random(3);
  std::uniform_real_distribution<double> at(0.0, 4000.0);
  std::vector<Point> points(2 * kLines);
  for (Point& p : points) p = {at(random), at(random)};
  PropertySet set;
  set.SetShape(1);
  double bytes = 0.0;
  for (auto _ : state) {
    const double before = bench::HeapInUse();
    HeapAllocator heap;
    Drawing drawing;
    HeadlessStoreEnvironment env;
    HeadlessPainter painter;
    auto store = arena ? std::make_unique<ElementStore>(drawing, env, painter)
                       : std::make_unique<ElementStore>(drawing, env, painter, heap);
    for (int k = 0; k < kLines; ++k) store->AddLine(set, &points[2 * std::size_t(k)], 2);
    bytes = bench::HeapInUse() - before;
    benchmark::DoNotOptimize(drawing.lines);
    state.PauseTiming();
    store.reset();
    state.ResumeTiming();
  }
  state.counters["bytes_per_line"] = bytes / kLines;
  state.SetItemsProcessed(state.iterations() * kLines);
}

void BM_Speedup_StoreLinesArena(benchmark::State& state) {
  AddLines(state, true);
}
void BM_Speedup_StoreLinesHeap(benchmark::State& state) {
  AddLines(state, false);
}
BENCHMARK(BM_Speedup_StoreLinesArena)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Speedup_StoreLinesHeap)->Unit(benchmark::kMillisecond);
// Once each, as a program reading a drawing meets fresh memory: run each alone
// (--benchmark_filter=...Fresh/ with one name) to see it in a process of its own.
BENCHMARK(BM_Speedup_StoreLinesArena)
    ->Name("BM_Speedup_StoreLinesArenaFresh")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Speedup_StoreLinesHeap)
    ->Name("BM_Speedup_StoreLinesHeapFresh")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// The zone mask as it was first written: a divide for each end of the run. Out of line, as the
// program's own is, so the two compare as calls.
[[gnu::noinline]] std::uint16_t ZoneMaskDividing(double lo, double hi, double start, double end) {
  constexpr int kStrips = 16;
  if (!std::isfinite(start) || !std::isfinite(end) || start >= end - 1e-9) return 0;
  if (std::isnan(lo) || std::isnan(hi)) return 0;
  const double step = (end - start) / kStrips;
  const auto from = [&](int i) { return start + i * step; };
  const auto to = [&](int i) { return i == kStrips - 1 ? end : start + (i + 1) * step; };
  const auto guess = [&](double at) {
    return static_cast<int>(std::clamp((at - start) / step, 0.0, double(kStrips - 1)));
  };
  int first = guess(lo);
  while (first > 0 && to(first - 1) >= lo) --first;
  while (first < kStrips && to(first) < lo) ++first;
  int last = guess(hi);
  while (last < kStrips - 1 && from(last + 1) <= hi) ++last;
  while (last >= 0 && from(last) > hi) --last;
  if (first > last) return 0;
  const unsigned run = (2u << (last - first)) - 1u;
  return static_cast<std::uint16_t>(run << (kStrips - 1 - last));
}

template <bool kReciprocal> void ZoneMasks(benchmark::State& state) {
  std::mt19937 random(5);
  std::uniform_real_distribution<double> at(0.0, 4000.0);
  std::vector<std::pair<double, double>> spans(4096);
  for (auto& [lo, hi] : spans) {
    lo = at(random);
    hi = lo + at(random) * 0.01;
  }
  // The range comes in at run time, as the store's does, so neither call is specialised on it.
  double start = 0.0;
  double end = 4000.0;
  benchmark::DoNotOptimize(start);
  benchmark::DoNotOptimize(end);
  for (const auto& [lo, hi] : spans) {
    if (ZoneMask(lo, hi, start, end) != ZoneMaskDividing(lo, hi, start, end)) {
      state.SkipWithError("the two zone masks differ");
      return;
    }
  }
  for (auto _ : state) {
    benchmark::ClobberMemory(); // the spans are read anew each round
    unsigned sum = 0;
    for (const auto& [lo, hi] : spans) {
      sum += kReciprocal ? ZoneMask(lo, hi, start, end) : ZoneMaskDividing(lo, hi, start, end);
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * std::int64_t(spans.size()));
}
BENCHMARK(ZoneMasks<true>)->Name("BM_Speedup_ZoneMaskReciprocal");
BENCHMARK(ZoneMasks<false>)->Name("BM_Speedup_ZoneMaskDivide");

// The vertices of a circle of 256 steps, as a redraw places them.
template <int kWay> void ArcVertices(benchmark::State& state) {
  constexpr int kSteps = 256;
  const double step = 2.0 * 3.14159265358979323846 / kSteps;
  double start = 0.1;
  for (auto _ : state) {
    double sum = 0.0;
    if constexpr (kWay == 0) {
      for (int k = 0; k <= kSteps; ++k) {
        const double a = start + k * step;
        sum += std::cos(a) + std::sin(a);
      }
    } else if constexpr (kWay == 1) {
      for (int k = 0; k <= kSteps; ++k) {
        const CosSin c = QuickCosSin(start + k * step);
        sum += c.cos + c.sin;
      }
    } else {
      TrigTurn turn(start, step);
      for (int k = 0; k <= kSteps; ++k) {
        sum += turn.Value().cos + turn.Value().sin;
        turn.Next();
      }
    }
    benchmark::DoNotOptimize(sum);
    start += 1e-3;
  }
  state.SetItemsProcessed(state.iterations() * (kSteps + 1));
}
BENCHMARK(ArcVertices<0>)->Name("BM_Speedup_ArcVerticesLibrary");
BENCHMARK(ArcVertices<1>)->Name("BM_Speedup_ArcVerticesQuick");
BENCHMARK(ArcVertices<2>)->Name("BM_Speedup_ArcVerticesTurned");

} // namespace
} // namespace lumora
