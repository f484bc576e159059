// Writing and reading DXF drawings of 10^5 and 10^6 mixed elements, with the peak memory of the
// process as a counter.
#include "bench_world.h"
#include "files/dxf_reader.h"
#include "files/dxf_writer.h"
#include "text/text_drawing.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/resource.h>

namespace {

using namespace lumora;

using bench::World;

// Four tenths polylines, a tenth arcs, a tenth circles, two tenths texts, a tenth fillings on
// the polyline before and a tenth lines in parts of their own.
void Fill(World& w, long count) {
  w.drawing.limits = Box{0, 0, 10000, 10000};
  PropertySet set;
  LineElement* last = nullptr;
  for (long k = 0; k < count; ++k) {
    const double x = static_cast<double>(k % 1000) * 10;
    const double y = static_cast<double>(k / 1000 % 1000) * 10;
    set.SetLayer(static_cast<std::uint32_t>(k % 7));
    set.SetColour(static_cast<std::uint32_t>(k % 8));
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
      w.store.AddLine(set, pts, 3);
      break;
    }
    case 5: {
      set.SetShape(kShapeCircle);
      const Point pts[] = {{x, y}, {x + 2, y}};
      w.store.AddLine(set, pts, 2);
      break;
    }
    case 6:
    case 7: {
      set.SetHeight(25);
      const Point pts[] = {{x, y}};
      w.store.AddText(set, pts, 1, "Text 123");
      break;
    }
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

std::string BenchFile(const char* what, long count) {
  const auto dir = std::filesystem::temp_directory_path() / "lumora_bench";
  std::filesystem::create_directories(dir);
  return (dir / (std::string(what) + std::to_string(count) + ".dxf")).string();
}

void Report(benchmark::State& state, const std::string& file, long count) {
  const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(file));
  state.SetItemsProcessed(count * state.iterations());
  state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

int Write(World& w, const std::string& file) {
  Fonts fonts;
  TextScene scene{fonts, w.drawing.paperUnit, MeasureStyle{}};
  return WriteDxfFile(w.drawing, w.env, scene, file);
}

void BM_WriteDxf(benchmark::State& state) {
  const long count = state.range(0);
  World w;
  Fill(w, count);
  const std::string file = BenchFile("write", count);
  for (auto _ : state)
    if (Write(w, file) != 1) state.SkipWithError("write failed");
  Report(state, file, count);
}

void BM_ReadDxf(benchmark::State& state) {
  const long count = state.range(0);
  const std::string file = BenchFile("read", count);
  {
    World w;
    Fill(w, count);
    Write(w, file);
  }
  for (auto _ : state) {
    auto w = std::make_unique<World>();
    if (ReadDxfFile(w->store, w->env, w->state, file, nullptr, {}, false) != 1)
      state.SkipWithError("read failed");
    state.PauseTiming(); // freeing the drawing is not reading
    w.reset();
    state.ResumeTiming();
  }
  Report(state, file, count);
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
}

BENCHMARK(BM_WriteDxf)->Apply(Sizes);
BENCHMARK(BM_ReadDxf)->Apply(Sizes);

} // namespace
