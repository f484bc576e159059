// lumora-cli render DRAWING OUT.png [--size WxH] [--home DIR] [--setup NAME]: the window as it
// shows the drawing after start-up and reading it, message band and frame included.
#include "app/cli_options.h"
#include "control/headless_app.h"
#include "control/startup_headless.h"

#include <cstdio>
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

bool ParseArguments(int argc, char** argv, RenderArguments& args, std::string& problem) {
  std::vector<std::string> positional;
  if (!TakeArguments(argc, argv, true, args.options, positional, problem)) return false;
  if (positional.size() != 2) return problem = std::string(kUsage), false;
  args.drawing = positional[0];
  args.output = positional[1];
  return true;
}

} // namespace

int RunRenderCommand(int argc, char** argv) {
  RenderArguments args;
  std::string problem;
  if (!ParseArguments(argc, argv, args, problem)) return Refuse(problem);
  const std::string drawing = LocateDrawing(args.drawing, args.options.home);
  if (SameFile(drawing, args.output))
    return Refuse("the picture would be written over the drawing '" + drawing + "'");
  HeadlessApp headless; // nothing a headless picture shows waits for real time
  App& app = headless.app;
  SoftCanvas canvas(1, 1);
  if (!StartHeadless(app, args.options, canvas, problem)) return Refuse(problem);
  std::string note;
  if (!ReadDrawingHeadless(app, drawing, problem, true, &note)) return Refuse(problem);
  if (!note.empty()) std::fprintf(stderr, "%s\n", note.c_str());
  if (!canvas.WritePng(args.output)) return Refuse("cannot write '" + args.output + "'");
  return 0;
}

} // namespace lumora
