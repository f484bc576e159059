// The closed region round a point (a click inside a room to hatch it) in a drawing of a million
// elements: a hundred thousand small floor plans of ten elements each (an outline, an inner wall
// ending on it, a door leaf and its swing, a column, a table, two chairs, a leader and a window
// line lying on the outline), clicked inside a room of a random plan, and between the plans.
#include "element_geometry/region_search.h"
#include "files/headless_environment.h"
#include "model/property_set.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <random>
#include <thread>
#include <vector>

namespace lumora {
namespace {

constexpr int kPlansPerSide = 317; // about 10^6 elements
constexpr double kPitch = 12.0;    // plans are 10 x 8 with a gap between them
constexpr double kSheet = kPlansPerSide * kPitch;
constexpr double kViewWidth = 100.0; // a few plans in view
constexpr int kProbes = 256;

class QuietEnvironment final : public HeadlessStoreEnvironment {
public:
  double ViewBoxWidth() const override { return kViewWidth; }
};

struct Plans {
  Drawing drawing;
  QuietEnvironment env;
  HeadlessPainter painter;
  ElementStore store{drawing, env, painter};
  ElementGeometry geo{store, env, MakeGeometrySettings(kViewWidth, kSheet, 0.04, false)};
  std::vector<Point> probes;
  int elements = 0;

  Plans() {
    drawing.limits = Box{0.0, 0.0, kSheet, kSheet};
    store.ReserveIndex(std::size_t(kPlansPerSide) * kPlansPerSide * 10, 0, 0);
    PropertySet set;
    const auto add = [&](std::uint32_t shape, std::vector<Point> pts) {
      set.SetShape(shape);
      store.AddLine(set, pts.data(), static_cast<int>(pts.size()));
      ++elements;
    };
    for (int i = 0; i < kPlansPerSide; ++i) {
      for (int j = 0; j < kPlansPerSide; ++j) {
        const double x = i * kPitch + 1.0;
        const double y = j * kPitch + 1.0;
        add(kShapeClosed, {{x, y}, {x + 10, y}, {x + 10, y + 8}, {x, y + 8}});
        add(kShapeOpen, {{x + 6, y}, {x + 6, y + 8}});
        add(kShapeOpen, {{x + 6, y + 3}, {x + 6.9, y + 3}});
        add(kShapeArc, {{x + 6, y + 3}, {x + 6.9, y + 3}, {x + 6, y + 3.9}});
        add(kShapeCircle, {{x + 2, y + 4}, {x + 2.3, y + 4}});
        add(kShapeClosed, {{x + 7.5, y + 5}, {x + 9, y + 5}, {x + 9, y + 6.5}, {x + 7.5, y + 6.5}});
        add(kShapeCircle, {{x + 7.2, y + 5.7}, {x + 7.4, y + 5.7}});
        add(kShapeCircle, {{x + 9.3, y + 5.7}, {x + 9.5, y + 5.7}});
        add(kShapeOpen, {{x + 3, y + 6}, {x + 4, y + 7}, {x + 5, y + 7}});
        add(kShapeOpen, {{x + 1, y}, {x + 3, y}});
      }
    }
    store.BuildIndex();
    std::mt19937 random(38);
    std::uniform_int_distribution<int> plan(0, kPlansPerSide - 1);
    for (int k = 0; k < kProbes; ++k) {
      // Alternately the left room (round the column) and the right one (round the door).
      const double x = plan(random) * kPitch + 1.0 + (k % 2 == 0 ? 1.0 : 8.0);
      const double y = plan(random) * kPitch + 1.0 + 1.5;
      probes.push_back({x, y});
    }
  }
};

Plans& Shared() {
  static const std::unique_ptr<Plans> plans = std::make_unique<Plans>();
  return *plans;
}

void BM_FindRegion(benchmark::State& state) {
  Plans& plans = Shared();
  std::size_t k = 0;
  std::size_t holes = 0;
  for (auto _ : state) {
    Region region;
    const bool found = FindRegion(plans.geo, plans.probes[k++ % plans.probes.size()], region);
    holes += region.holes.size();
    benchmark::DoNotOptimize(found);
  }
  state.counters["elements"] = plans.elements;
  state.counters["cores"] = static_cast<double>(std::thread::hardware_concurrency());
  state.counters["holes"] =
      benchmark::Counter(static_cast<double>(holes), benchmark::Counter::kAvgIterations);
}

// A click between the plans closes nothing: the search widens until it gives up.
void BM_FindRegionOutside(benchmark::State& state) {
  Plans& plans = Shared();
  for (auto _ : state) {
    Region region;
    benchmark::DoNotOptimize(
        FindRegion(plans.geo, {158 * kPitch + 12.0, 158 * kPitch + 11.0}, region));
  }
  state.counters["elements"] = plans.elements;
}

BENCHMARK(BM_FindRegion)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindRegionOutside)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace lumora
