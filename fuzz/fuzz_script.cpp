// Scripts are typed by hand: any bytes run as a script with canned answers must end without a
// crash or a hang. Every question is answered or cancelled and a long run is stopped with Esc.
#include "control/headless_app.h"
#include "control/script_driver.h"
#include "model/element_store.h"
#include "view/soft_canvas.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

constexpr long long kLineLimit = 2000; // error boxes make each line costly under the sanitizers

struct Harness {
  Harness() {
    home =
        std::filesystem::temp_directory_path() / ("lumora-fuzz-script-" + std::to_string(getpid()));
    std::filesystem::create_directories(home / "SETUP");
    std::filesystem::create_directories(home / "PARTS");
    headless.app.home = home.string();
    lumora::AttachCanvas(headless.app, canvas);
    script = (home / "s.txt").string();
  }
  lumora::HeadlessApp headless;
  lumora::SoftCanvas canvas{640, 480};
  std::filesystem::path home;
  std::string script;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Harness harness;
  std::FILE* file = std::fopen(harness.script.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  static const std::array<std::string, 4> kAnswers{"12.5", "abc", "y", "2"};
  lumora::App& app = harness.headless.app;
  lumora::DriveScript(app, harness.script, {kAnswers, kLineLimit, nullptr, {}, false});
  app.store.NewDrawing();
  return 0;
}
