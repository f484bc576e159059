// The recovery log: what one step's append costs the key that committed it (median, 99th
// percentile and worst, checkpoints included), how long the background flush takes to put it
// on the disk, and the start-up rebuild of a drawing from a log of 10^5 steps.
#include "bench_world.h"
#include "files/recovery_files.h"
#include "files/recovery_writer.h"
#include "model/element_store.h"

#include <algorithm>
#include <array>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>
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

// A step is one line, as a small step of the journal would be.
class LineCodec final : public StepCodec {
public:
  std::vector<std::byte> Encode(ElementStore&) override { return {}; }
  void Begin(ElementStore&) override {}
  bool Apply(ElementStore& store, std::span<const std::byte> step) override {
    std::array<Point, 2> points{};
    if (step.size() != sizeof(points)) return false;
    std::memcpy(points.data(), step.data(), sizeof(points));
    PropertySet set;
    set.SetShape(kShapeOpen);
    return store.AddLine(set, points.data(), 2) != nullptr;
  }
};

std::vector<std::byte> LineStep(long k) {
  const std::array<Point, 2> points{Point{0, static_cast<double>(k % 1000)},
                                    Point{100, static_cast<double>(k / 1000)}};
  std::vector<std::byte> bytes(sizeof(points));
  std::memcpy(bytes.data(), points.data(), sizeof(points));
  return bytes;
}

std::string Folder(const char* name) {
  const std::string folder = "recovery-bench-" + std::to_string(::getpid()) + "-" + name;
  std::filesystem::remove_all(folder);
  return folder;
}

void FillLines(World& w, long count) {
  w.drawing.limits = Box{0, 0, 10000, 10000};
  LineCodec codec;
  for (long k = 0; k < count; ++k) codec.Apply(w.store, LineStep(k));
}

double Percentile(std::vector<double>& sorted, double share) {
  return sorted[static_cast<std::size_t>(share * static_cast<double>(sorted.size() - 1))];
}

void BM_RecoveryStepAppend(benchmark::State& state) {
  World w;
  FillLines(w, kDrawingLines);
  const std::string folder = Folder("append");
  RecoveryWriter writer(w.drawing, w.env);
  writer.Open(folder, 0);
  std::vector<double> waits; // microseconds the key waited
  std::vector<double> flushes;
  long k = 0;
  for (auto _ : state) {
    const std::vector<std::byte> step = LineStep(++k);
    const auto start = Clock::now();
    writer.Step(step, 0);
    const auto appended = Clock::now();
    // Every 16th step: how long until the flushing thread has it on the disk.
    if (k % 16 == 0) {
      writer.Sync();
      flushes.push_back(std::chrono::duration<double, std::micro>(Clock::now() - appended).count());
    }
    waits.push_back(std::chrono::duration<double, std::micro>(appended - start).count());
  }
  std::sort(waits.begin(), waits.end());
  std::sort(flushes.begin(), flushes.end());
  state.counters["wait_median_us"] = Percentile(waits, 0.5);
  state.counters["wait_p99_us"] = Percentile(waits, 0.99);
  state.counters["wait_max_us"] = waits.back();
  if (!flushes.empty()) {
    state.counters["flush_median_us"] = Percentile(flushes, 0.5);
    state.counters["flush_p99_us"] = Percentile(flushes, 0.99);
  }
  writer.Remove();
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_RecoveryStepAppend)->Iterations(20'000)->Unit(benchmark::kMicrosecond);

void BM_RecoveryStartup(benchmark::State& state) {
  const std::string folder = Folder("startup");
  std::string logPath;
  {
    // A checkpoint of a drawing large enough that 10^5 steps stay in one log.
    World w;
    FillLines(w, kStartupSteps * 2);
    RecoveryWriter writer(w.drawing, w.env);
    writer.Open(folder, 0);
    for (long k = 0; k < kStartupSteps; ++k) writer.Step(LineStep(k), 0);
    logPath = writer.LogPath();
  }
  LineCodec codec;
  for (auto _ : state) {
    World back;
    const RecoveryLogContents log = ReadRecoveryLogFile(logPath);
    const RebuildResult rebuilt =
        RebuildFromLog(back.store, back.env, back.state, logPath, log, codec);
    if (rebuilt.applied != static_cast<std::size_t>(kStartupSteps))
      state.SkipWithError("the log did not hold every step");
    benchmark::DoNotOptimize(back.drawing.lines);
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_RecoveryStartup)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
