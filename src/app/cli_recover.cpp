// lumora-cli recover LOG OUT.drw [--home DIR] [--setup NAME]: writes the drawing a recovery log
// holds (its checkpoint and the steps after it) as a drawing file.
#include "app/cli_options.h"
#include "control/headless_app.h"
#include "control/recover_headless.h"
#include "control/startup.h"
#include "files/journal_step_codec.h"
#include "util/latin1.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {
namespace {

constexpr std::string_view kUsage =
    "usage: lumora-cli recover LOG OUT [--home DIR] [--setup NAME] (OUT a .drw or .dxf file)";

int Refuse(const std::string& line) {
  std::fprintf(stderr, "lumora-cli recover: %s\n", Latin1ToUtf8(line).c_str());
  return 1;
}

} // namespace

int RunRecoverCommand(int argc, char** argv) {
  HeadlessOptions options;
  std::vector<std::string> positional;
  std::string problem;
  if (!TakeArguments(argc, argv, false, options, positional, problem)) return Refuse(problem);
  if (positional.size() != 2) return Refuse(std::string(kUsage));
  HeadlessApp headless;
  App& app = headless.app;
  if (!StartHeadlessTool(app, options, problem)) return Refuse(problem);
  JournalStepCodec codec;
  std::string report;
  if (!RecoverLogHeadless(app, positional[0], positional[1], codec, report)) return Refuse(report);
  std::printf("%s\n", Latin1ToUtf8(report).c_str());
  return 0;
}

} // namespace lumora
