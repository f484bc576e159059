// The undo journal: taking back and doing again a delete by area of 10^5 elements in a drawing
// of 10^6, in the store alone and with the window's repaint of what the step changed on a
// 1000 x 800 SoftCanvas showing the whole sheet; the journal's bytes per added line, and reading
// a drawing of 10^6 with the journal on and off (reading records nothing).
#include "bench_world.h"
#include "control/event_cycle.h"
#include "control/headless_app.h"
#include "files/drawing_reader.h"
#include "files/drawing_writer.h"
#include "view/soft_canvas.h"

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
void Fill(ElementStore& store, long count) {
  store.drawing().limits = Box{0, 0, 10000, 10000};
  PropertySet set;
  set.SetShape(kShapeOpen);
  for (long k = 0; k < count; ++k) {
    const double x = static_cast<double>(k % 1000) * 10;
    const double y = static_cast<double>(k / 1000) * 10;
    const Point pts[] = {{x, y}, {x + 5, y}, {x + 5, y + 5}};
    LineElement* line = store.AddLine(set, pts, 3);
    if (k % 10 == 0) store.AddFilling(set, &line, 1);
    if (k % 20 == 0) store.AddText(set, pts, 1, "Text 123");
  }
}

// The elements in the strip deleted as one step, as Delete area does it.
void DeleteArea(ElementStore& store) {
  store.EnableJournal(true);
  const double top = static_cast<double>(kDeleted / 1000) * 10 - 1;
  PartElement* group = store.AddPart("", 0, 0);
  for (LineElement* l = store.drawing().lines; l != nullptr; l = l->next)
    if (l->points[0].y < top) store.AddMember(group, l);
  for (TextElement* t = store.drawing().texts; t != nullptr; t = t->next)
    if (t->points[0].y < top) store.AddMember(group, t);
  store.DeletePart(group, true);
  store.CommitStep();
}

std::unique_ptr<World> DeletedArea() {
  auto w = std::make_unique<World>();
  Fill(w->store, kDrawing);
  DeleteArea(w->store);
  return w;
}

// The same on the screen: the whole sheet shown before the delete, then the delete's own
// repair.
struct Shown {
  constexpr static int kWidth = 1000;
  constexpr static int kHeight = 800;
  HeadlessApp headless;
  App& app = headless.app;
  SoftCanvas canvas{kWidth, kHeight};

  Shown() {
    app.store.EnableJournal(false);
    Fill(app.store, kDrawing);
    app.view.viewBox = app.drawing.limits;
    AttachCanvas(app, canvas);
    FitView(app.view, kWidth, kHeight);
    canvas.SetClip(DrawingAreaRect(app.view));
    Redraw(app.Scene(), false);
    DeleteArea(app.store);
    RepairErased(app);
  }
};

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

// Taking the step back and doing it again with the window: what the step changed is erased or
// drawn, and its area repaired.
void BM_UndoAreaDeleteShown(benchmark::State& state) {
  const auto shown = std::make_unique<Shown>();
  App& app = shown->app;
  StepKind kind = StepKind::kChange;
  for (auto _ : state) {
    if (!app.store.Undo(kind)) state.SkipWithError("nothing to undo");
    RepairErased(app);
    state.PauseTiming();
    app.store.Redo(kind);
    RepairErased(app);
    state.ResumeTiming();
  }
  state.counters["deleted"] = kDeleted;
}

void BM_RedoAreaDeleteShown(benchmark::State& state) {
  const auto shown = std::make_unique<Shown>();
  App& app = shown->app;
  StepKind kind = StepKind::kChange;
  for (auto _ : state) {
    state.PauseTiming();
    app.store.Undo(kind);
    RepairErased(app);
    state.ResumeTiming();
    if (!app.store.Redo(kind)) state.SkipWithError("nothing to redo");
    RepairErased(app);
  }
  state.counters["deleted"] = kDeleted;
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
    Fill(w.store, kDrawing);
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
BENCHMARK(BM_UndoAreaDeleteShown)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_RedoAreaDeleteShown)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_JournalAddedLines)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadWithJournal)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
