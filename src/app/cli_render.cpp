// lumora-cli render DRAWING OUT.png [--size WxH] [--home DIR] [--setup NAME]: the window as it
// shows the drawing after start-up and reading it, message band and frame included.
#include "control/headless_app.h"
#include "control/startup.h"
#include "control/startup_headless.h"
#include "files/file_access.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {
namespace {

constexpr std::string_view kUsage =
    "usage: lumora-cli render DRAWING OUT.png [--size WxH] [--home DIR] [--setup NAME]";

struct RenderArguments {
  std::string drawing;
  std::string output;
  HeadlessOptions options;
};

int Refuse(const std::string& line) {
  std::fprintf(stderr, "lumora-cli render: %s\n", line.c_str());
  return 1;
}

bool ParseSize(std::string_view text, int& width, int& height) {
  const auto x = text.find('x');
  if (x == std::string_view::npos) return false;
  const std::string w(text.substr(0, x));
  const std::string h(text.substr(x + 1));
  char* end = nullptr;
  const long wv = std::strtol(w.c_str(), &end, 10);
  if (w.empty() || *end != '\0') return false;
  const long hv = std::strtol(h.c_str(), &end, 10);
  if (h.empty() || *end != '\0') return false;
  if (wv <= 0 || hv <= 0 || wv > kMaxCanvasSide || hv > kMaxCanvasSide) return false;
  width = int(wv);
  height = int(hv);
  return true;
}

bool ParseArguments(int argc, char** argv, RenderArguments& args, std::string& problem) {
  const StartupInput input = StartupInputOf(1, argv);
  args.options.home =
      input.homeOverride.empty() ? DirectoryOf(input.arguments[0]) : input.homeOverride;
  std::vector<std::string> positional;
  for (int k = 2; k < argc; ++k) {
    const std::string_view arg = argv[k];
    const bool hasValue = k + 1 < argc;
    if (arg == "--size" || arg == "--home" || arg == "--setup") {
      if (!hasValue) return problem = std::string(arg) + " needs a value", false;
      const std::string_view value = argv[++k];
      if (arg == "--home")
        args.options.home = value;
      else if (arg == "--setup")
        args.options.setupName = SetupNameOf(value);
      else if (!ParseSize(value, args.options.width, args.options.height))
        return problem = "--size wants WIDTHxHEIGHT in pixels, not '" + std::string(value) + "'",
               false;
    } else if (arg.starts_with("--")) {
      return problem = "unknown option '" + std::string(arg) + "'", false;
    } else {
      positional.emplace_back(arg);
    }
  }
  if (positional.size() != 2) return problem = std::string(kUsage), false;
  args.drawing = positional[0];
  args.output = positional[1];
  return true;
}

// A drawing named without a path that is not in the working directory is looked for in the
// program directory's DRAWINGS.
std::string LocateDrawing(const RenderArguments& args) {
  if (FileExists(args.drawing) == 1 || args.drawing.find('/') != std::string::npos)
    return args.drawing;
  const std::string inHome = args.options.home + "/DRAWINGS/" + args.drawing;
  return FileExists(inHome) == 1 ? inHome : args.drawing;
}

} // namespace

int RunRenderCommand(int argc, char** argv) {
  RenderArguments args;
  std::string problem;
  if (!ParseArguments(argc, argv, args, problem)) return Refuse(problem);
  HeadlessApp headless; // nothing a headless picture shows waits for real time
  App& app = headless.app;
  SoftCanvas canvas(1, 1);
  if (!StartHeadless(app, args.options, canvas, problem)) return Refuse(problem);
  if (!ReadDrawingHeadless(app, LocateDrawing(args), problem)) return Refuse(problem);
  if (!canvas.WritePng(args.output)) return Refuse("cannot write '" + args.output + "'");
  return 0;
}

} // namespace lumora
