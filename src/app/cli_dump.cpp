// lumora-cli dump DRAWING [REPORT] [--home DIR] [--setup NAME]: the drawing report of a drawing
// file, on standard output or into REPORT. The tool starts as the program does, with the setup
// of its program directory, so the report shows what the program's own report would.
#include "app/cli_options.h"
#include "control/headless_app.h"
#include "control/startup.h"
#include "files/drawing_dump.h"
#include "files/drawing_reader.h"
#include "files/dxf_reader.h"
#include "files/headless_environment.h"
#include "util/latin1.h"

#include <cstdio>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

namespace {

constexpr std::string_view kUsage =
    "usage: lumora-cli dump DRAWING [REPORT] [--home DIR] [--setup NAME]";

struct DumpArguments {
  std::string drawing;
  std::string report;
  HeadlessOptions options;
};

int Refuse(const std::string& line) {
  std::fprintf(stderr, "lumora-cli dump: %s\n", line.c_str());
  return 1;
}

bool ParseArguments(int argc, char** argv, DumpArguments& args, std::string& problem) {
  std::vector<std::string> positional;
  if (!TakeArguments(argc, argv, false, args.options, positional, problem)) return false;
  const bool counted = !positional.empty() && positional.size() <= 2;
  if (counted) {
    args.drawing = positional.front();
    if (positional.size() == 2) args.report = positional.back();
  }
  if (!counted) problem = std::string(kUsage);
  return counted;
}

// The reader's own message first; then whatever the store printed while the console is on.
std::string FirstMessage(const HeadlessFileEnvironment& env, const std::ostringstream& console) {
  if (!env.errors.empty()) return Latin1ToUtf8(env.errors.front());
  const std::string printed = console.str();
  if (!printed.empty()) return printed.substr(0, printed.find('\n'));
  return "the drawing could not be read";
}

} // namespace

int RunDumpCommand(int argc, char** argv) {
  DumpArguments args;
  std::string problem;
  if (!ParseArguments(argc, argv, args, problem)) return Refuse(problem);
  const std::string path = LocateDrawing(args.drawing, args.options.home);
  if (!args.report.empty() && SameFile(path, args.report))
    return Refuse("the report would be written over the drawing '" + path + "'");
  HeadlessApp headless; // a missing setup is refused at once, not after the program's pause
  App& app = headless.app;
  std::ostringstream& console = headless.console;
  app.home = args.options.home;
  app.setupName = args.options.setupName;
  if (StartWithSetup(app) != StartupDecision::kOpenWindow)
    return Refuse("the setup '" + app.setupName + "' could not be read under '" + app.home + "'");
  console.str("");
  HeadlessFileEnvironment env;
  const int read =
      IsDxfName(path)
          ? ReadDxfFile(app.store, env, app.fileState, path, nullptr, Placement{}, false)
          : ReadDrawingFile(app.store, env, app.fileState, path, nullptr, Placement{}, false);
  if (read != 1) return Refuse(FirstMessage(env, console));
  SetDrawingName(app.drawing, path.substr(path.rfind('/') + 1));
  if (args.report.empty()) {
    const std::string report = DrawingReport(app.drawing);
    std::fwrite(report.data(), 1, report.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  if (DumpDrawing(app.drawing, env, args.report) != 1) return Refuse(FirstMessage(env, console));
  return 0;
}

} // namespace lumora
