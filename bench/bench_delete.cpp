// Deleting an area's group of 10^5 elements in a drawing of 10^4 parts, and reading and
// clearing a drawing whose parts nest 10^5 deep.
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

constexpr long kParts = 10'000;

// parts typed parts of one line each, then count loose elements: three lines, a filling on the
// line before it and a text in every five. Some lie outside the limits, without zones.
void Fill(World& w, long parts, long count) {
  w.drawing.limits = Box{0, 0, 10000, 10000};
  PropertySet set;
  set.SetShape(kShapeOpen);
  for (long k = 0; k < parts; ++k) {
    const double x = static_cast<double>(k % 100) * 100;
    const Point pts[] = {{x, 9000}, {x + 50, 9050}};
    w.store.AddMember(w.store.AddPart("Part", 1, 0), w.store.AddLine(set, pts, 2));
  }
  LineElement* last = nullptr;
  for (long k = 0; k < count; ++k) {
    const double x = static_cast<double>(k % 1000) * (k % 7 == 0 ? 20 : 9);
    const double y = static_cast<double>(k / 1000 % 1000) * 8;
    const Point pts[] = {{x, y}, {x + 5, y}, {x + 5, y + 5}};
    switch (k % 5) {
    case 3:
      w.store.AddFilling(set, &last, 1);
      break;
    case 4:
      w.store.AddText(set, pts, 1, "Text 123");
      break;
    default:
      last = w.store.AddLine(set, pts, 3);
    }
  }
}

// An area group as the area commands collect it: every element not in a part, from the head
// of each list on; with parts, the parts too; selected, also on the selection lists.
PartElement* Group(World& w, bool withParts, bool selected) {
  PartElement* group = w.store.AddPart("", 0, 0);
  const auto take = [&](auto* element) {
    w.store.AddMember(group, element);
    if (selected) w.store.Select(element);
  };
  for (LineElement* l = w.drawing.lines; l != nullptr; l = l->next)
    if (l->inPart() == 0) take(l);
  for (FillingElement* f = w.drawing.fillings; f != nullptr; f = f->next) take(f);
  for (TextElement* t = w.drawing.texts; t != nullptr; t = t->next) take(t);
  if (withParts)
    for (PartElement* p = w.drawing.parts; p != nullptr; p = p->next)
      if (p != group) w.store.AddMember(group, p);
  return group;
}

void BM_AreaDelete(benchmark::State& state) {
  const long count = state.range(0);
  const bool withParts = state.range(1) != 0;
  const bool selected = state.range(1) == 2;
  for (auto _ : state) {
    state.PauseTiming();
    auto w = std::make_unique<World>();
    Fill(*w, kParts, count);
    PartElement* group = Group(*w, withParts, selected);
    state.ResumeTiming();
    if (w->store.DeletePart(group, true) != 1) state.SkipWithError("delete failed");
    state.PauseTiming();
    w.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(count * state.iterations());
  bench::CountMachine(state, count + 2 * kParts);
}

BENCHMARK(BM_AreaDelete)
    ->Args({100'000, 0})
    ->Args({100'000, 1})
    ->Args({100'000, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A tenth of a drawing, taken from the head of each list as an area over the newest rows gives
// it, deleted for good (0) or taken back (1: the group alone goes, its members stay).
PartElement* Tenth(World& w, long count) {
  PartElement* group = w.store.AddPart("", 0, 0);
  long lines = 0;
  for (LineElement* l = w.drawing.lines; l != nullptr && lines < count * 3 / 50; l = l->next)
    if (l->inPart() == 0 && w.store.AddMember(group, l) != nullptr) ++lines;
  long fillings = 0;
  for (FillingElement* f = w.drawing.fillings; f != nullptr && fillings < count / 50; f = f->next)
    if (w.store.AddMember(group, f) != nullptr) ++fillings;
  long texts = 0;
  for (TextElement* t = w.drawing.texts; t != nullptr && texts < count / 50; t = t->next)
    if (w.store.AddMember(group, t) != nullptr) ++texts;
  long parts = 0;
  for (PartElement* p = w.drawing.parts; p != nullptr && parts < count / 1000; p = p->next)
    if (p != group && w.store.AddMember(group, p) != nullptr) ++parts;
  return group;
}

void BM_DeleteTenth(benchmark::State& state) {
  const long count = state.range(0);
  const bool undo = state.range(1) != 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto w = std::make_unique<World>();
    Fill(*w, count / 100, count);
    PartElement* group = Tenth(*w, count);
    state.ResumeTiming();
    if (w->store.DeletePart(group, !undo) != 1) state.SkipWithError("delete failed");
    state.PauseTiming();
    w.reset();
    state.ResumeTiming();
  }
  bench::CountMachine(state, count + 2 * (count / 100));
}

BENCHMARK(BM_DeleteTenth)
    ->ArgsProduct({{100'000, 1'000'000}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Single deletes of every loose line, newest first, each cascading to its fillings.
void BM_DeleteLinesOneByOne(benchmark::State& state) {
  const long count = state.range(0);
  for (auto _ : state) {
    state.PauseTiming();
    auto w = std::make_unique<World>();
    Fill(*w, kParts / 3, count);
    state.ResumeTiming();
    LineElement** link = &w->drawing.lines;
    while (*link != nullptr) {
      if ((*link)->inPart() != 0) {
        link = &(*link)->next;
      } else if (w->store.DeleteLine(*link) != 1) {
        state.SkipWithError("delete failed");
        break;
      }
    }
    state.PauseTiming();
    w.reset();
    state.ResumeTiming();
  }
}

BENCHMARK(BM_DeleteLinesOneByOne)->Arg(50'000)->Unit(benchmark::kMillisecond)->UseRealTime();

// A file of typed parts each holding the one before, the first holding a line.
std::string ChainFile(long depth) {
  const auto dir = std::filesystem::temp_directory_path() / "lumora_bench";
  std::filesystem::create_directories(dir);
  const std::string file = (dir / ("chain" + std::to_string(depth) + ".drw")).string();
  World w;
  w.drawing.version = kWideVersion;
  w.drawing.limits = Box{0, 0, 100, 100};
  const Point pts[] = {{5, 5}, {6, 6}};
  PartElement* inner = w.store.AddPart("", 1, kMixedLayer);
  w.store.AddMember(inner, w.store.AddLine({}, pts, 2));
  for (long k = 1; k < depth; ++k) {
    PartElement* outer = w.store.AddPart("", 1, kMixedLayer);
    w.store.AddMember(outer, inner);
    inner = outer;
  }
  WriteDrawingFile(w.drawing, w.env, file, nullptr, {0, 0}, w.drawing.limits);
  return file;
}

void BM_DeepChainReadPickClear(benchmark::State& state) {
  const long depth = state.range(0);
  const std::string file = ChainFile(depth);
  for (auto _ : state) {
    auto w = std::make_unique<World>();
    if (ReadDrawingFile(w->store, w->env, w->state, file, nullptr, {}, false) != 1)
      state.SkipWithError("read failed");
    if (w->store.FindPart({5.5, 5.5}, false) == nullptr) state.SkipWithError("pick failed");
    w->store.ClearDrawing();
    w.reset();
  }
  state.SetItemsProcessed(depth * state.iterations());
}

BENCHMARK(BM_DeepChainReadPickClear)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
