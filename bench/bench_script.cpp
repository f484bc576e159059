// Scripts: a million loop statements, and a script that makes 10^5 lines.
#include "control/headless_app.h"
#include "control/script_driver.h"
#include "model/element_store.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace lumora;

void RunScript(benchmark::State& state, const std::string& text) {
  const std::filesystem::path home = std::filesystem::temp_directory_path() / "lumora-bench-script";
  std::filesystem::create_directories(home / "SETUP");
  const std::string path = (home / "s.txt").string();
  std::ofstream(path, std::ios::binary) << text;
  for (auto _ : state) {
    state.PauseTiming();
    HeadlessApp headless;
    headless.app.home = home.string();
    state.ResumeTiming();
    const int result = DriveScript(headless.app, path, {{}, 100'000'000, nullptr, {}, false});
    if (result != 1) state.SkipWithError("the script did not end normally");
  }
}

// Three statements a round: 10^6 statements.
void BM_LoopStatements(benchmark::State& state) {
  RunScript(state, "A = 0\nFOR I = 1 TO 333333\nA = A + 1\nNEXT I\n");
}
BENCHMARK(BM_LoopStatements)->Unit(benchmark::kMillisecond);

void BM_ScriptLines(benchmark::State& state) {
  RunScript(state, "FOR I = 1 TO 100000\nLINE 1, I, 0, I, 10, I + 5, 10\nNEXT I\n");
}
BENCHMARK(BM_ScriptLines)->Unit(benchmark::kMillisecond);

} // namespace
