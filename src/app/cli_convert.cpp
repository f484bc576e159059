// lumora-cli convert IN OUT [--home DIR] [--setup NAME]: reads a drawing (.drw, .part or .dxf)
// and writes it in the kind the output's extension names. Exits 0 when the output holds the
// whole drawing, 2 when a DXF was written without something it could not hold (said on
// stderr), 1 when nothing was written. The tool starts with the setup of
// its program directory, so texts and measures are laid out as the program lays them out.
#include "app/cli_options.h"
#include "control/headless_app.h"
#include "control/startup.h"
#include "control/startup_headless.h"
#include "files/dxf_reader.h"
#include "util/latin1.h"
#include "util/quoted.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {
namespace {

constexpr std::string_view kUsage =
    "usage: lumora-cli convert IN OUT [--home DIR] [--setup NAME] (.drw, .part or .dxf)";

int Refuse(const std::string& line) {
  std::fprintf(stderr, "lumora-cli convert: %s\n", line.c_str());
  return 1;
}

bool KnownKind(std::string_view name) {
  return IsDxfName(name) || name.ends_with(".drw") || name.ends_with(".DRW") ||
         name.ends_with(".part") || name.ends_with(".PART");
}

} // namespace

int RunConvertCommand(int argc, char** argv) {
  HeadlessOptions options;
  std::vector<std::string> positional;
  std::string problem;
  if (!TakeArguments(argc, argv, false, options, positional, problem)) return Refuse(problem);
  if (positional.size() != 2) return Refuse(std::string(kUsage));
  const std::string input = LocateDrawing(positional[0], options.home);
  const std::string& output = positional[1];
  for (const std::string& name : {input, output})
    if (!KnownKind(name)) return Refuse(Quoted(name) + " is not a .drw, .part or .dxf file");
  if (SameFile(input, output))
    return Refuse("the output would be written over the input '" + input + "'");
  HeadlessApp headless;
  App& app = headless.app;
  if (!StartHeadlessTool(app, options, problem)) return Refuse(problem);
  std::string note;
  if (!ReadDrawingHeadless(app, input, problem, false, &note)) return Refuse(problem);
  // What a DXF file held that was not read as it is, as the dump tells it.
  if (!note.empty()) std::fprintf(stderr, "%s\n", note.c_str());
  if (!WriteDrawingHeadless(app, output, problem)) return Refuse(problem);
  // Written without something it could not hold: the output is there, but the conversion
  // did not keep the drawing whole.
  if (!problem.empty()) {
    std::fprintf(stderr, "lumora-cli convert: %s\n", Latin1ToUtf8(problem).c_str());
    return 2;
  }
  return 0;
}

} // namespace lumora
