// Writing and reading drawings of 10^4 to 10^6 mixed elements in both file versions.
#include "bench_world.h"
#include "files/drawing_format.h"
#include "files/drawing_reader.h"
#include "files/drawing_writer.h"
#include "files/headless_environment.h"
#include "model/element_store.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using namespace lumora;

using bench::World;

// Half lines (polylines and arcs), a fifth texts, a fifth fillings on the line before, and a
// tenth parts holding a line of their own.
void Fill(World& w, long count, float version) {
  w.drawing.version = version;
  w.drawing.limits = Box{0, 0, 10000, 10000};
  PropertySet set;
  LineElement* last = nullptr;
  for (long k = 0; k < count; ++k) {
    const double x = static_cast<double>(k % 1000) * 10;
    const double y = static_cast<double>(k / 1000 % 1000) * 10;
    switch (k % 10) {
    case 0:
    case 1:
    case 2:
    case 3: {
      set.SetShape(kShapeOpen);
      const Point pts[] = {{x, y}, {x + 5, y}, {x + 5, y + 5}, {x, y + 5}};
      last = w.store.AddLine(set, pts, 4);
      break;
    }
    case 4: {
      set.SetShape(kShapeArc);
      const Point pts[] = {{x, y}, {x + 3, y}, {x, y + 3}};
      last = w.store.AddLine(set, pts, 3);
      break;
    }
    case 5:
    case 6: {
      set.SetHeight(25);
      const Point pts[] = {{x, y}};
      w.store.AddText(set, pts, 1, "Text 123");
      break;
    }
    case 7:
    case 8: {
      set.gap = 1;
      w.store.AddFilling(set, &last, 1);
      break;
    }
    default: {
      set.SetShape(kShapeOpen);
      const Point pts[] = {{x, y}, {x + 1, y + 1}};
      PartElement* part = w.store.AddPart("Part", 1, 0);
      w.store.AddMember(part, w.store.AddLine(set, pts, 2));
    }
    }
  }
}

std::string BenchFile(const char* what, long count, float version) {
  const auto dir = std::filesystem::temp_directory_path() / "lumora_bench";
  std::filesystem::create_directories(dir);
  return (dir / (std::string(what) + std::to_string(count) + "_v" +
                 std::to_string(static_cast<int>(version)) + ".drw"))
      .string();
}

void Report(benchmark::State& state, const std::string& file, long count) {
  const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(file));
  state.SetBytesProcessed(bytes * state.iterations());
  state.SetItemsProcessed(count * state.iterations());
  state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
}

void BM_WriteDrawing(benchmark::State& state, float version) {
  const long count = state.range(0);
  World w;
  Fill(w, count, version);
  const std::string file = BenchFile("write", count, version);
  for (auto _ : state) {
    if (WriteDrawingFile(w.drawing, w.env, file, nullptr, {0, 0}, w.drawing.limits) != 1)
      state.SkipWithError("write failed");
  }
  Report(state, file, count);
  bench::CountMachine(state, count);
}

// The counter gives the heap a read drawing holds per element (lumora-cli bench-open prints a
// reading's peak resident size).
void BM_ReadDrawing(benchmark::State& state, float version) {
  const long count = state.range(0);
  const std::string file = BenchFile("read", count, version);
  {
    World w;
    Fill(w, count, version);
    WriteDrawingFile(w.drawing, w.env, file, nullptr, {0, 0}, w.drawing.limits);
  }
  double held = 0;
  for (auto _ : state) {
    const double before = bench::HeapInUse();
    auto w = std::make_unique<World>();
    if (ReadDrawingFile(w->store, w->env, w->state, file, nullptr, {}, false) != 1)
      state.SkipWithError("read failed");
    state.PauseTiming(); // freeing the drawing is not reading
    held = bench::HeapInUse() - before;
    w.reset();
    state.ResumeTiming();
  }
  Report(state, file, count);
  bench::CountMachine(state, count);
  state.counters["bytes_per_element"] = held / static_cast<double>(count);
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK_CAPTURE(BM_WriteDrawing, v2, kShortVersion)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_WriteDrawing, v3, kWideVersion)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_ReadDrawing, v2, kShortVersion)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_ReadDrawing, v3, kWideVersion)->Apply(Sizes);

} // namespace
