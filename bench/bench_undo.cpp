// The undo journal: taking back and doing again a delete by area of 10^5 elements in a drawing
// of 10^6, the journal's bytes per added line, and reading a drawing of 10^6 with the journal
// on and off (reading records nothing).
#include "bench_world.h"
#include "files/drawing_reader.h"
#include "files/drawing_writer.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using namespace lumora;

using bench::World;

constexpr long kDrawing = 1'000'000;
constexpr long kDeleted = 100'000;

// count lines, a filling on every tenth and a text in every twentieth place, on a sheet of
// 10000 x 10000; the first kDeleted places lie in the bottom strip the area takes.
void Fill(World& w, long count) {
  w.drawing.limits = Box{0, 0, 10000, 10000};
  PropertySet set;
  set.SetShape(kShapeOpen);
  for (long k = 0; k < count; ++k) {
    const double x = static_cast<double>(k % 1000) * 10;
    const double y = static_cast<double>(k / 1000) * 10;
    const Point pts[] = {{x, y}, {x + 5, y}, {x + 5, y + 5}};
    LineElement* line = w.store.AddLine(set, pts, 3);
    if (k % 10 == 0) w.store.AddFilling(set, &line, 1);
    if (k % 20 == 0) w.store.AddText(set, pts, 1, "Text 123");
  }
}

// The drawing with its elements in the strip deleted as one step, as Delete area does it.
std::unique_ptr<World> DeletedArea() {
  auto w = std::make_unique<World>();
  Fill(*w, kDrawing);
  w->store.EnableJournal(true);
  const double top = static_cast<double>(kDeleted / 1000) * 10 - 1;
  PartElement* group = w->store.AddPart("", 0, 0);
  for (LineElement* l = w->drawing.lines; l != nullptr; l = l->next)
    if (l->points[0].y < top) w->store.AddMember(group, l);
  for (TextElement* t = w->drawing.texts; t != nullptr; t = t->next)
    if (t->points[0].y < top) w->store.AddMember(group, t);
  w->store.DeletePart(group, true);
  w->store.CommitStep();
  return w;
}

void BM_UndoAreaDelete(benchmark::State& state) {
  const auto w = DeletedArea();
  StepKind kind = StepKind::kChange;
  for (auto _ : state) {
    if (!w->store.Undo(kind)) state.SkipWithError("nothing to undo");
    state.PauseTiming();
    w->store.Redo(kind);
    state.ResumeTiming();
  }
  state.counters["deleted"] = kDeleted;
}

void BM_RedoAreaDelete(benchmark::State& state) {
  const auto w = DeletedArea();
  StepKind kind = StepKind::kChange;
  for (auto _ : state) {
    state.PauseTiming();
    w->store.Undo(kind);
    state.ResumeTiming();
    if (!w->store.Redo(kind)) state.SkipWithError("nothing to redo");
  }
  state.counters["journal_MB"] = static_cast<double>(w->store.Journal().bytes) / 1e6;
}

// What the journal keeps for lines added in one step.
void BM_JournalAddedLines(benchmark::State& state) {
  const long count = state.range(0);
  double perLine = 0;
  for (auto _ : state) {
    auto w = std::make_unique<World>();
    w->store.EnableJournal(true);
    w->drawing.limits = Box{0, 0, 10000, 10000};
    PropertySet set;
    set.SetShape(kShapeOpen);
    for (long k = 0; k < count; ++k) {
      const double x = static_cast<double>(k % 1000) * 10;
      const Point pts[] = {{x, 1.0}, {x + 5, 2.0}};
      w->store.AddLine(set, pts, 2);
    }
    w->store.CommitStep();
    perLine = static_cast<double>(w->store.Journal().bytes) / static_cast<double>(count);
    state.PauseTiming();
    w.reset();
    state.ResumeTiming();
  }
  state.counters["journal_bytes_per_line"] = perLine;
}

void BM_ReadWithJournal(benchmark::State& state) {
  const bool journal = state.range(0) != 0;
  const std::string file =
      (std::filesystem::temp_directory_path() / "lumora_bench_undo_read.drw").string();
  {
    World w;
    Fill(w, kDrawing);
    WriteDrawingFile(w.drawing, w.env, file, nullptr, {0, 0}, w.drawing.limits);
  }
  for (auto _ : state) {
    auto w = std::make_unique<World>();
    w->store.EnableJournal(journal);
    if (ReadDrawingFile(w->store, w->env, w->state, file, nullptr, {}, false) != 1)
      state.SkipWithError("read failed");
    w->store.CommitStep();
    state.PauseTiming();
    if (w->store.CanUndo()) state.SkipWithError("the read was recorded");
    w.reset();
    state.ResumeTiming();
  }
}

BENCHMARK(BM_UndoAreaDelete)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_RedoAreaDelete)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_JournalAddedLines)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadWithJournal)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
