// Writing and reading DXF drawings of 10^5 and 10^6 mixed elements, with the peak memory of the
// process as a counter.
#include "bench_world.h"
#include "files/dxf_reader.h"
#include "files/dxf_writer.h"
#include "text/text_drawing.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
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
  state.SetBytesProcessed(bytes * state.iterations()); // shown as MB/s
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
    // (Timing must not pause after an error: the benchmark would stop the whole run.)
    if (ReadDxfFile(w->store, w->env, w->state, file, nullptr, {}, false) != 1) {
      state.SkipWithError("read failed");
      break;
    }
    state.PauseTiming(); // freeing the drawing is not reading
    w.reset();
    state.ResumeTiming();
  }
  Report(state, file, count);
}

// A file as other drafting programs write it (handles, owners and subclass markers, coordinates
// to four places): a fifth each lines, arcs, circles, light polylines of four vertices with one
// bulge, and texts, on seven layers in eight colours. 10^5 entities make about 15 MB.
void WriteForeign(const std::string& file, long count) {
  std::FILE* out = std::fopen(file.c_str(), "wb");
  if (out == nullptr) return;
  std::fputs("  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1024\n  9\n$INSUNITS\n 70\n4\n"
             "  0\nENDSEC\n  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n 70\n7\n",
             out);
  for (int k = 0; k < 7; ++k)
    std::fprintf(out,
                 "  0\nLAYER\n  5\n%X\n330\n2\n100\nAcDbSymbolTableRecord\n100\n"
                 "AcDbLayerTableRecord\n  2\nL%d\n 70\n0\n 62\n%d\n  6\nContinuous\n",
                 0x20 + k, k, 1 + k);
  std::fputs("  0\nENDTAB\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n", out);
  std::mt19937 random(5);
  std::uniform_real_distribution<double> place(0.0, 10000.0);
  std::uniform_real_distribution<double> size(1.0, 40.0);
  std::uniform_real_distribution<double> turn(0.0, 360.0);
  for (long k = 0; k < count; ++k) {
    const double x = place(random);
    const double y = place(random);
    const double s = size(random);
    std::fprintf(out, "  0\n%s\n  5\n%lX\n330\n1F\n100\nAcDbEntity\n  8\nL%ld\n 62\n%ld\n",
                 k % 5 == 0   ? "LINE"
                 : k % 5 == 1 ? "ARC"
                 : k % 5 == 2 ? "CIRCLE"
                 : k % 5 == 3 ? "LWPOLYLINE"
                              : "TEXT",
                 0x100 + k, k % 7, 1 + k % 8);
    switch (k % 5) {
    case 0:
      std::fprintf(out,
                   "100\nAcDbLine\n 10\n%.4f\n 20\n%.4f\n 30\n0.0\n 11\n%.4f\n 21\n%.4f\n"
                   " 31\n0.0\n",
                   x, y, x + s, y + s / 2);
      break;
    case 1:
    case 2:
      std::fprintf(out, "100\nAcDbCircle\n 10\n%.4f\n 20\n%.4f\n 30\n0.0\n 40\n%.6f\n", x, y, s);
      if (k % 5 == 1)
        std::fprintf(out, "100\nAcDbArc\n 50\n%.6f\n 51\n%.6f\n", turn(random), turn(random));
      break;
    case 3:
      std::fprintf(out,
                   "100\nAcDbPolyline\n 90\n4\n 70\n%ld\n 10\n%.4f\n 20\n%.4f\n 10\n%.4f\n"
                   " 20\n%.4f\n 10\n%.4f\n 20\n%.4f\n 42\n0.5\n 10\n%.4f\n 20\n%.4f\n",
                   k % 2, x, y, x + s, y, x + s, y + s, x, y + s);
      break;
    default:
      std::fprintf(out,
                   "100\nAcDbText\n 10\n%.4f\n 20\n%.4f\n 30\n0.0\n 40\n%.3f\n  1\nText %ld\n"
                   " 50\n%.6f\n100\nAcDbText\n",
                   x, y, 2 + s / 10, k, turn(random) / 4);
    }
  }
  std::fputs("  0\nENDSEC\n  0\nEOF\n", out);
  std::fclose(out);
}

void BM_ReadForeignDxf(benchmark::State& state) {
  const long count = state.range(0);
  const std::string file = BenchFile("foreign", count);
  WriteForeign(file, count);
  for (auto _ : state) {
    auto w = std::make_unique<World>();
    // (Timing must not pause after an error: the benchmark would stop the whole run.)
    if (ReadDxfFile(w->store, w->env, w->state, file, nullptr, {}, false) != 1) {
      state.SkipWithError("read failed");
      break;
    }
    state.PauseTiming();
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
BENCHMARK(BM_ReadForeignDxf)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

} // namespace
