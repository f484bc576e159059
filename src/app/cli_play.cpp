// lumora-cli play EVENTS [--home DIR] [--setup NAME] [--size WxH] [--golden DIR] [--out DIR]:
// an event file played through the program's event cycle, its expectations checked.
#include "control/event_player.h"
#include "control/startup.h"
#include "view/soft_canvas.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>

namespace lumora {
namespace {

constexpr std::string_view kUsage = "usage: lumora-cli play EVENTS [--home DIR] [--setup NAME] "
                                    "[--size WxH] [--golden DIR] [--out DIR]";

int Refuse(const std::string& line) {
  std::fprintf(stderr, "lumora-cli play: %s\n", line.c_str());
  return 1;
}

bool ParseSide(const std::string& text, int& side) {
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno != 0 || value <= 0 || value > kMaxCanvasSide) {
    return false;
  }
  side = static_cast<int>(value);
  return true;
}

bool ParseSize(std::string_view text, int& width, int& height) {
  const std::size_t x = text.find('x');
  if (x == std::string_view::npos) return false;
  return ParseSide(std::string(text.substr(0, x)), width) &&
         ParseSide(std::string(text.substr(x + 1)), height);
}

bool ParseArguments(int argc, char** argv, std::string& events, PlayOptions& options,
                    std::string& problem) {
  const StartupInput input = StartupInputOf(1, argv);
  options.start.home =
      input.homeOverride.empty() ? DirectoryOf(input.arguments[0]) : input.homeOverride;
  for (int k = 2; k < argc; ++k) {
    const std::string_view arg = argv[k];
    if (!arg.starts_with("--")) {
      if (!events.empty()) return problem = std::string(kUsage), false;
      events = arg;
      continue;
    }
    if (k + 1 >= argc) return problem = std::string(arg) + " needs a value", false;
    const std::string value = argv[++k];
    if (arg == "--home") {
      options.start.home = value;
    } else if (arg == "--setup") {
      options.start.setupName = SetupNameOf(value);
    } else if (arg == "--golden") {
      options.goldenDir = value;
    } else if (arg == "--out") {
      options.outDir = value;
    } else if (arg == "--size") {
      if (!ParseSize(value, options.start.width, options.start.height)) {
        return problem = "--size wants WIDTHxHEIGHT in pixels, not '" + value + "'", false;
      }
    } else {
      return problem = "unknown option '" + std::string(arg) + "'", false;
    }
  }
  if (events.empty()) return problem = std::string(kUsage), false;
  return true;
}

} // namespace

int RunPlayCommand(int argc, char** argv) {
  std::string events;
  PlayOptions options;
  std::string problem;
  if (!ParseArguments(argc, argv, events, options, problem)) return Refuse(problem);
  return PlayEventFile(events, options, std::cerr);
}

} // namespace lumora
