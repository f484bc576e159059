// The recovery log with the journal's own steps: what logging one committed step costs the key
// (encoding it and appending it; median and 99th percentile), a start-up that does 10^5 logged
// steps again, and a checkpoint of a drawing of 10^6 lines (written, and its records named).
#include "bench_world.h"
#include "files/journal_step_codec.h"
#include "files/recovery_files.h"
#include "files/recovery_writer.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace lumora;

using bench::World;
using Clock = std::chrono::steady_clock;

constexpr long kDrawingLines = 10'000;
constexpr long kStartupSteps = 100'000;
constexpr long kLargeDrawing = 1'000'000;
// No checkpoint while the benchmark fills a log.
constexpr std::uint64_t kNoGrowthCheckpoint = std::uint64_t{1} << 40;

std::string Folder(const char* name) {
  const std::string folder = "recovery-journal-bench-" + std::to_string(::getpid()) + "-" + name;
  std::filesystem::remove_all(folder);
  return folder;
}

void AddLine(World& w, long k) {
  PropertySet set;
  set.SetShape(kShapeOpen);
  const Point points[] = {{0, static_cast<double>(k % 1000)}, {100, static_cast<double>(k / 1000)}};
  w.store.AddLine(set, points, 2);
}

void Fill(World& w, long count) {
  w.drawing.limits = Box{0, 0, 10000, 10000};
  for (long k = 0; k < count; ++k) AddLine(w, k);
}

double Percentile(std::vector<double>& sorted, double share) {
  return sorted[static_cast<std::size_t>(share * static_cast<double>(sorted.size() - 1))];
}

void BM_JournalStepLogged(benchmark::State& state) {
  World w;
  Fill(w, kDrawingLines);
  w.store.EnableJournal(true);
  const std::string folder = Folder("step");
  RecoveryWriter writer(w.drawing, w.env);
  writer.Open(folder, 0);
  JournalStepCodec codec;
  codec.Checkpointed(w.store);
  std::vector<double> waits;
  std::uint64_t checkpoints = writer.CheckpointCount();
  long k = 0;
  for (auto _ : state) {
    state.PauseTiming();
    AddLine(w, ++k);
    w.store.CommitStep();
    state.ResumeTiming();
    const auto start = Clock::now();
    const std::vector<std::byte> step = codec.Encode(w.store);
    writer.Step(step, 0);
    // The log outgrew the drawing: steps are named from the new checkpoint.
    if (writer.CheckpointCount() != checkpoints) {
      checkpoints = writer.CheckpointCount();
      codec.Checkpointed(w.store);
    }
    waits.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  std::sort(waits.begin(), waits.end());
  state.counters["wait_median_us"] = Percentile(waits, 0.5);
  state.counters["wait_p99_us"] = Percentile(waits, 0.99);
  state.counters["wait_max_us"] = waits.back();
  writer.Remove();
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_JournalStepLogged)->Iterations(20'000)->Unit(benchmark::kMicrosecond);

void BM_JournalRecovery(benchmark::State& state) {
  const std::string folder = Folder("startup");
  std::string logPath;
  {
    World w;
    Fill(w, kDrawingLines);
    w.store.EnableJournal(true);
    RecoveryWriter writer(w.drawing, w.env, kNoGrowthCheckpoint);
    writer.Open(folder, 0);
    JournalStepCodec codec;
    codec.Checkpointed(w.store);
    for (long k = 0; k < kStartupSteps; ++k) {
      AddLine(w, k);
      w.store.CommitStep();
      writer.Step(codec.Encode(w.store), 0);
    }
    logPath = writer.LogPath();
  }
  for (auto _ : state) {
    World back;
    back.store.EnableJournal(true);
    JournalStepCodec codec;
    const RecoveryLogContents log = ReadRecoveryLogFile(logPath);
    const RebuildResult rebuilt =
        RebuildFromLog(back.store, back.env, back.state, logPath, log, codec);
    if (rebuilt.applied != static_cast<std::size_t>(kStartupSteps))
      state.SkipWithError("not every logged step was done again");
    benchmark::DoNotOptimize(back.drawing.lines);
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_JournalRecovery)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_JournalCheckpoint(benchmark::State& state) {
  World w;
  Fill(w, kLargeDrawing);
  w.store.EnableJournal(true);
  const std::string folder = Folder("checkpoint");
  RecoveryWriter writer(w.drawing, w.env);
  writer.Open(folder, 0);
  JournalStepCodec codec;
  for (auto _ : state) {
    writer.Checkpoint(0);
    codec.Checkpointed(w.store);
  }
  writer.Remove();
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_JournalCheckpoint)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
