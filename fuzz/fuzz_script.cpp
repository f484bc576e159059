// Scripts are typed by hand: any bytes run as a script with canned answers must end without a
// crash or a hang. Every question is answered or cancelled and a long run is stopped with Esc.
// The same bytes are then the data file of a cascade that names itself as its next level.
#include "control/headless_app.h"
#include "control/script_driver.h"
#include "model/element_store.h"
#include "screen/text_screen.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

// A run is stopped after this many lines: enough for every statement and a few loop passes,
// and under the sanitizers a looping script that reports on every line still ends within a
// few milliseconds.
constexpr long long kLineLimit = 300;

struct Harness {
  Harness() {
    home =
        std::filesystem::temp_directory_path() / ("lumora-fuzz-script-" + std::to_string(getpid()));
    std::filesystem::create_directories(home / "SETUP");
    std::filesystem::create_directories(home / "PARTS");
    std::filesystem::create_directories(home / "DATA");
    headless.app.home = home.string();
    // Windows and message boxes are kept in the character grid only: painting a box for each
    // report cost more than running the script.
    lumora::ResizeGrid(headless.app.screen, kWidth, kHeight);
    headless.app.screen.consoleOutput = false;
    script = (home / "s.txt").string();
    cascade = (home / "c.txt").string();
    if (std::FILE* c = std::fopen(cascade.c_str(), "wb")) {
      std::fputs("INPUT_FILE \"Pick\", \"d\", 20, 5\nPRINT FILE\n", c);
      std::fclose(c);
    }
  }
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 480;
  lumora::HeadlessApp headless;
  std::filesystem::path home;
  std::string script;
  std::string cascade;
};

bool WriteAll(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Harness harness;
  if (!WriteAll(harness.script, data, size)) return 0;
  static const std::array<std::string, 4> kAnswers{"12.5", "abc", "y", "2"};
  lumora::App& app = harness.headless.app;
  // What one input leaves in the records of the headless program would pile up over a run.
  harness.headless.console.str({});
  harness.headless.clock.ClearWaits();
  harness.headless.sounds.Clear();
  lumora::DriveScript(app, harness.script, {kAnswers, kLineLimit, nullptr, {}, false});
  app.store.NewDrawing();
  if (!WriteAll((harness.home / "DATA" / "d.txt").string(), data, size)) return 0;
  lumora::DriveScript(app, harness.cascade, {kAnswers, kLineLimit, nullptr, {}, false});
  app.store.NewDrawing();
  return 0;
}
