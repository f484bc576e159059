// lumora-cli play EVENTS [--home DIR] [--setup NAME] [--size WxH] [--golden DIR] [--out DIR]:
// an event file played through the program's event cycle, its expectations checked.
#include "app/cli_options.h"
#include "control/event_player.h"
#include "platform/pdf_page_device.h"

#include <cstdio>
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

bool ParseArguments(int argc, char** argv, std::string& events, PlayOptions& options,
                    std::string& problem) {
  options.start = DefaultStartOptions(argv);
  for (int k = 2; k < argc; ++k) {
    const std::string_view arg = argv[k];
    const OptionTaken taken = TakeStartOption(argc, argv, k, options.start, true, problem);
    if (taken == OptionTaken::kRefused) return false;
    if (taken == OptionTaken::kYes) continue;
    if (!arg.starts_with("--")) {
      if (!events.empty()) return problem = std::string(kUsage), false;
      events = arg;
      continue;
    }
    if (k + 1 >= argc) return problem = std::string(arg) + " needs a value", false;
    const std::string value = argv[++k];
    if (arg == "--golden") {
      options.goldenDir = value;
    } else if (arg == "--out") {
      options.outDir = value;
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
  // Print writes the PDF page of the default paper, never to a printer.
  PdfPageOutput pages{Paper{}};
  options.pages = &pages;
  return PlayEventFile(events, options, std::cerr);
}

} // namespace lumora
