// Searches on generated drawings of a hundred thousand and a million elements (lines, arcs,
// circles, texts, fillings and parts): picking, nearest line, nearest stored point and the crossing
// of the two nearest lines, and the snaps of an Enter, at random points with radii of 5 and 6
// search units and of the whole view width, through the spatial index and by walking the lists. The
// drawing's size is every benchmark's last argument.
#include "bench_world.h"
#include "control/translate_view.h"
#include "element_geometry/element_geometry.h"
#include "files/headless_environment.h"
#include "model/property_set.h"
#include "protocol/input_record.h"
#include "view/view.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <random>
#include <vector>

namespace lumora {
namespace {

constexpr double kSheetWidth = 4000.0;
constexpr double kSheetHeight = 3000.0;
constexpr int kElements = 1000000;
constexpr int kSmall = 100000;
constexpr int kProbePoints = 1024;

class QuietEnvironment final : public HeadlessStoreEnvironment {
public:
  double ViewBoxWidth() const override { return kSheetWidth; }
  // Texts cover a small box beside their first point.
  Box TextExtent(const TextElement& text, bool includePoints) const override {
    Box box = StoreEnvironment::TextExtent(text, includePoints);
    ExtendBox(text.points[0].x + 12, text.points[0].y + 3, box);
    return box;
  }
};

// Each drawing is built once and shared by every benchmark of its size.
struct BenchDrawing {
  Drawing drawing;
  QuietEnvironment env;
  HeadlessPainter painter;
  ElementStore store{drawing, env, painter};
  ElementGeometry geo{store, env, MakeGeometrySettings(kSheetWidth, kSheetWidth, 0.04, false)};
  std::vector<Point> probes;

  explicit BenchDrawing(int elements) {
    drawing.limits = Box{0.0, 0.0, kSheetWidth, kSheetHeight};
    std::mt19937 random(11);
    std::uniform_real_distribution<double> x(0.0, kSheetWidth);
    std::uniform_real_distribution<double> y(0.0, kSheetHeight);
    std::uniform_real_distribution<double> size(1.0, 30.0);
    PartElement* part = nullptr;
    for (int k = 0; k < elements; ++k) {
      const Point p{x(random), y(random)};
      const double s = size(random);
      PropertySet set;
      switch (k % 10) {
      case 0:
      case 1:
      case 2: {
        set.SetShape(kShapeOpen);
        const Point pts[] = {p, {p.x + s, p.y + s / 2}, {p.x + s, p.y + s}};
        store.AddLine(set, pts, 3);
        break;
      }
      case 3: {
        set.SetShape(kShapeArc);
        const Point pts[] = {p, {p.x + s, p.y}, {p.x, p.y + s}};
        store.AddLine(set, pts, 3);
        break;
      }
      case 4: {
        set.SetShape(kShapeCircle);
        const Point pts[] = {p, {p.x + s / 2, p.y}};
        store.AddLine(set, pts, 2);
        break;
      }
      case 5:
      case 6:
        store.AddText(set, &p, 1, "AB");
        break;
      case 7: {
        set.SetShape(kShapeClosed);
        const Point pts[] = {p, {p.x + s, p.y}, {p.x + s, p.y + s}, {p.x, p.y + s}};
        LineElement* square = store.AddLine(set, pts, 4);
        set.gap = 1.0;
        store.AddFilling(set, &square, 1);
        break;
      }
      case 8: {
        set.SetShape(kShapeOpen);
        const Point pts[] = {p, {p.x + s, p.y}};
        if (k % 100 == 8) part = store.AddPart("part", 1, 0);
        store.AddMember(part, store.AddLine(set, pts, 2));
        break;
      }
      default: {
        set.SetShape(kShapeOpen);
        const Point pts[] = {p, {p.x, p.y + s}};
        store.AddLine(set, pts, 2);
        break;
      }
      }
    }
    for (int i = 0; i < kProbePoints; ++i) probes.push_back({x(random), y(random)});
  }
};

// sizeArg: which argument is the drawing's size.
BenchDrawing& Shared(benchmark::State& state, int sizeArg) {
  const auto elements = static_cast<int>(state.range(sizeArg));
  bench::CountMachine(state, elements);
  if (elements == kSmall) {
    static const std::unique_ptr<BenchDrawing> small = std::make_unique<BenchDrawing>(kSmall);
    return *small;
  }
  static const std::unique_ptr<BenchDrawing> large = std::make_unique<BenchDrawing>(kElements);
  return *large;
}

// Search radius in search units from the benchmark's argument; 0 is the whole view width.
double Units(const benchmark::State& state) {
  return static_cast<double>(state.range(0));
}

// The second argument (the first for the filling pick) chooses the index (1) or the list
// walk (0) for the benchmark's run.
class Indexed {
public:
  Indexed(BenchDrawing& b, const benchmark::State& state, int arg = 1) : b_(b) {
    b_.store.UseIndex(state.range(arg) != 0);
  }
  ~Indexed() { b_.store.UseIndex(true); }
  Indexed(const Indexed&) = delete;
  Indexed& operator=(const Indexed&) = delete;

private:
  BenchDrawing& b_;
};

// The area of the selection benchmarks: the whole sheet (argument 0) or its left tenth (1).
std::vector<Point> SelectedArea(const benchmark::State& state) {
  const double w = state.range(0) == 0 ? kSheetWidth : kSheetWidth * 0.1;
  return {{-1, -1}, {w, -1}, {w, kSheetHeight + 1}, {-1, kSheetHeight + 1}};
}

// An area selection as the area commands make it, of the whole sheet (0) or of a tenth of it
// (1), into a group that is dissolved again untimed. A tenth of the elements are fillings, each
// asking whether the group holds its boundary.
void BM_SelectArea(benchmark::State& state) {
  BenchDrawing& b = Shared(state, 1);
  const std::vector<Point> area = SelectedArea(state);
  std::size_t taken = 0;
  for (auto _ : state) {
    PartElement* group = b.store.AddPart("", 0, 0);
    b.geo.SelectArea(*group, area, false, false);
    state.PauseTiming();
    taken = 0;
    for (const FillingNode* n = group->fillings; n != nullptr; n = n->next) ++taken;
    b.store.DeletePart(group, false);
    state.ResumeTiming();
  }
  state.counters["fillings_taken"] = static_cast<double>(taken);
}

BENCHMARK(BM_SelectArea)
    ->ArgsProduct({{0, 1}, {kSmall, kElements}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Hiding such a group while it is moved and showing it again, the fillings on its lines with it.
void BM_HideArea(benchmark::State& state) {
  BenchDrawing& b = Shared(state, 1);
  const std::vector<Point> area = SelectedArea(state);
  PartElement* group = b.store.AddPart("", 0, 0);
  b.geo.SelectArea(*group, area, false, false);
  for (auto _ : state) {
    b.geo.SetGroupHidden(*group, true);
    b.geo.SetGroupHidden(*group, false);
  }
  b.store.DeletePart(group, false);
}

BENCHMARK(BM_HideArea)
    ->ArgsProduct({{0, 1}, {kSmall, kElements}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_PickElement(benchmark::State& state) {
  BenchDrawing& b = Shared(state, 2);
  const Indexed indexed(b, state);
  std::size_t i = 0;
  for (auto _ : state) {
    const Picked picked = b.geo.PickElement(b.probes[i++ % b.probes.size()], Units(state), true);
    benchmark::DoNotOptimize(picked);
  }
}

void BM_NearestLine(benchmark::State& state) {
  BenchDrawing& b = Shared(state, 2);
  const Indexed indexed(b, state);
  std::size_t i = 0;
  Point at{};
  for (auto _ : state) {
    benchmark::DoNotOptimize(b.geo.NearestLine(b.probes[i++ % b.probes.size()], at, Units(state)));
  }
}

void BM_NearestLinePoint(benchmark::State& state) {
  BenchDrawing& b = Shared(state, 2);
  const Indexed indexed(b, state);
  std::size_t i = 0;
  Point at{};
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        b.geo.NearestLinePoint(b.probes[i++ % b.probes.size()], at, Units(state)));
  }
}

// The crossing snap: the nearest line, then the nearest other line, then their crossings.
void BM_TwoLineCrossing(benchmark::State& state) {
  BenchDrawing& b = Shared(state, 2);
  const Indexed indexed(b, state);
  std::size_t i = 0;
  Point at{};
  Point crossings[8];
  for (auto _ : state) {
    const Point p = b.probes[i++ % b.probes.size()];
    LineElement* first = b.geo.NearestLine(p, at, Units(state));
    if (first == nullptr) continue;
    first->SetHidden(1);
    LineElement* second = b.geo.NearestLine(p, at, Units(state));
    first->SetHidden(0);
    if (second != nullptr)
      benchmark::DoNotOptimize(ElementGeometry::LineIntersections(*first, *second, crossings));
  }
}

// The snap of an Enter as the cursor takes it: the mode from the first argument, and with the
// second argument 1 the full-window cursor lines on (the whole view in reach).
void BM_SnapSearch(benchmark::State& state) {
  BenchDrawing& b = Shared(state, 2);
  View view;
  view.viewBox = b.drawing.limits;
  InputRecord in;
  in.cursorLinesOff = state.range(1) != 0 ? 0 : 1;
  std::size_t i = 0;
  for (auto _ : state) {
    in.snapMode = static_cast<int>(state.range(0));
    in.cursor = b.probes[i++ % b.probes.size()];
    benchmark::DoNotOptimize(SnapSearch(view, b.store, in));
  }
}

// The parts of a pick that do not depend on the radius: the filling and the text under the point.
void BM_PickFilling(benchmark::State& state) {
  BenchDrawing& b = Shared(state, 1);
  const Indexed indexed(b, state, 0);
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(b.geo.PickFilling(b.probes[i++ % b.probes.size()]));
}

void BM_FindText(benchmark::State& state) {
  BenchDrawing& b = Shared(state, 2);
  const Indexed indexed(b, state);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(b.store.FindText(b.probes[i++ % b.probes.size()], Units(state)));
  }
}

// Adding a million lines to an empty drawing, and placing the same boxes in an index alone:
// the difference is what adding costs without the index. The counter gives the bytes the
// drawing's three indexes hold per element.
void BM_AddMillionLines(benchmark::State& state) {
  for (auto _ : state) {
    Drawing drawing;
    QuietEnvironment env;
    HeadlessPainter painter;
    ElementStore store{drawing, env, painter};
    drawing.limits = Box{0.0, 0.0, kSheetWidth, kSheetHeight};
    std::mt19937 random(3);
    std::uniform_real_distribution<double> x(0.0, kSheetWidth);
    std::uniform_real_distribution<double> y(0.0, kSheetHeight);
    PropertySet set;
    set.SetShape(kShapeOpen);
    for (int k = 0; k < kElements; ++k) {
      const Point p{x(random), y(random)};
      const Point pts[] = {p, {p.x + 10, p.y + 5}};
      store.AddLine(set, pts, 2);
    }
    store.BuildIndex(); // the buckets are laid out at the first search
    state.PauseTiming();
    store.UseIndex(true);
    state.counters["index_bytes_per_line"] =
        static_cast<double>(store.LineIndex()->MemoryBytes()) / kElements;
    state.ResumeTiming();
  }
  bench::CountMachine(state, kElements);
}

void BM_IndexMillionBoxes(benchmark::State& state) {
  std::vector<LineElement> records(kElements);
  for (auto _ : state) {
    SpatialIndex<LineElement> index;
    std::mt19937 random(3);
    std::uniform_real_distribution<double> x(0.0, kSheetWidth);
    std::uniform_real_distribution<double> y(0.0, kSheetHeight);
    const Box frame{0.0, 0.0, kSheetWidth, kSheetHeight};
    for (LineElement& record : records) {
      const double px = x(random);
      const double py = y(random);
      index.Place(&record, Box{px, py, px + 10, py + 5}, frame);
    }
    index.Build();
    benchmark::DoNotOptimize(index.size());
  }
}

void BM_IndexMemory(benchmark::State& state) {
  BenchDrawing& b = Shared(state, 0);
  for (auto _ : state) benchmark::DoNotOptimize(b.store.LineIndex());
  const double elements = static_cast<double>(
      b.store.LineIndex()->size() + b.store.FillingIndex()->size() + b.store.TextIndex()->size());
  state.counters["bytes_per_element"] = static_cast<double>(b.store.LineIndex()->MemoryBytes() +
                                                            b.store.FillingIndex()->MemoryBytes() +
                                                            b.store.TextIndex()->MemoryBytes()) /
                                        elements;
}

const std::vector<std::int64_t> kSizes{kSmall, kElements};

BENCHMARK(BM_AddMillionLines)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndexMillionBoxes)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndexMemory)->Arg(kSmall)->Arg(kElements)->Iterations(1);
BENCHMARK(BM_PickFilling)->ArgsProduct({{1, 0}, kSizes})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FindText)->ArgsProduct({{5}, {1, 0}, kSizes})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PickElement)->ArgsProduct({{5, 6, 0}, {1, 0}, kSizes})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NearestLine)->ArgsProduct({{5, 6, 0}, {1, 0}, kSizes})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NearestLinePoint)
    ->ArgsProduct({{5, 6, 0}, {1, 0}, kSizes})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SnapSearch)
    ->ArgsProduct({{kSnapLine, kSnapPoint, kSnapIntersection}, {0, 1}, kSizes})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TwoLineCrossing)
    ->ArgsProduct({{5, 6, 0}, {1, 0}, kSizes})
    ->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace lumora
