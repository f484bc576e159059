// lumora-cli dump DRAWING [REPORT] [--attributes] [--home DIR] [--setup NAME]: the drawing
// report of a drawing file, on standard output or into REPORT. The tool starts as the program
// does, with the setup of its program directory, so the report shows what the program's own
// report would. --attributes adds, after the report, what the report leaves out: each
// element's layer, colour, width, style and section, a filling's gap and angle, a text's
// height, angle, positioning, width and slant codes, and the hidden layers.
#include "app/cli_options.h"
#include "control/headless_app.h"
#include "control/startup.h"
#include "files/drawing_dump.h"
#include "files/drawing_reader.h"
#include "files/dxf_reader.h"
#include "files/headless_environment.h"
#include "model/drawing.h"
#include "model/elements.h"
#include "model/store_messages.h"
#include "util/latin1.h"

#include <cstdio>
#include <new>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

namespace {

constexpr std::string_view kUsage =
    "usage: lumora-cli dump DRAWING [REPORT] [--attributes] [--home DIR] [--setup NAME]";
constexpr std::string_view kAttributesOption = "--attributes";

struct DumpArguments {
  std::string drawing;
  std::string report;
  bool attributes = false;
  HeadlessOptions options;
};

void AppendLine(std::string& out, const char* format, auto... values) {
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, format, values...);
  out += buffer;
}

// The attributes of every element, handed to `sink` a piece at a time.
bool WriteAttributes(const Drawing& drawing, const ReportSink& sink) {
  constexpr std::size_t kPiece = 1 << 16;
  std::string out = "\n\nAttributes:";
  bool ok = true;
  const auto pass = [&](bool last) {
    if (!last && out.size() < kPiece) return;
    ok = ok && sink(out);
    out.clear();
  };
  int k = 0;
  for (const LineElement* l : Each(drawing.lines)) {
    AppendLine(out, "\n line %d: layer:%u colour:%u width:%u style:%u section:%u", ++k, l->layer(),
               l->colour(), l->width(), l->style(), l->section());
    pass(false);
  }
  k = 0;
  for (const FillingElement* f : Each(drawing.fillings)) {
    AppendLine(out, "\n filling %d: layer:%u colour:%u style:%u section:%u gap:%g angle:%d", ++k,
               f->layer(), f->colour(), f->style(), f->ldista(), static_cast<double>(f->gap()),
               static_cast<int>(f->angle()));
    pass(false);
  }
  k = 0;
  for (const TextElement* t : Each(drawing.texts)) {
    AppendLine(out,
               "\n text %d: layer:%u colour:%u height:%u angle:%g positioning:%u widthRatio:%u "
               "slant:%u",
               ++k, t->layer(), t->colour(), t->height(), static_cast<double>(t->angle()),
               t->positioning(), t->widthRatio(), t->slant());
    pass(false);
  }
  out += "\n hidden layers:";
  for (std::size_t layer = 0; layer < drawing.layerVisible.size(); ++layer)
    if (drawing.layerVisible[layer] == 0) AppendLine(out, " %zu", layer);
  out += "\n";
  pass(true);
  return ok;
}

int Refuse(const std::string& line) {
  std::fprintf(stderr, "lumora-cli dump: %s\n", line.c_str());
  return 1;
}

bool ParseArguments(int argc, char** argv, DumpArguments& args, std::string& problem) {
  std::vector<char*> rest;
  for (int k = 0; k < argc; ++k) {
    if (k >= 2 && argv[k] == kAttributesOption)
      args.attributes = true;
    else
      rest.push_back(argv[k]);
  }
  std::vector<std::string> positional;
  if (!TakeArguments(static_cast<int>(rest.size()), rest.data(), false, args.options, positional,
                     problem))
    return false;
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

// The report of the read drawing on standard output or into the report file; memory that runs
// out while it is built is refused as the read refuses it.
int ReadAndReport(const DumpArguments& args, const std::string& path, App& app,
                  std::ostringstream& console) {
  HeadlessFileEnvironment env;
  env.setup = app.setup;
  env.fonts = &app.fonts;
  const int read =
      IsDxfName(path)
          ? ReadDxfFile(app.store, env, app.fileState, path, nullptr, Placement{}, false)
          : ReadDrawingFile(app.store, env, app.fileState, path, nullptr, Placement{}, false);
  if (read != 1) return Refuse(FirstMessage(env, console));
  // What the read said besides (a DXF file's report of what it could not read).
  for (const std::string& note : env.errors)
    std::fprintf(stderr, "%s\n", Latin1ToUtf8(note).c_str());
  SetDrawingName(app.drawing, path.substr(path.rfind('/') + 1));
  if (args.report.empty()) {
    // A piece at a time: a large drawing's report is never held whole.
    const ReportSink out = [](std::string_view piece) {
      return std::fwrite(piece.data(), 1, piece.size(), stdout) == piece.size();
    };
    const bool written = WriteDrawingReport(app.drawing, out) &&
                         (!args.attributes || WriteAttributes(app.drawing, out));
    return std::fflush(stdout) == 0 && written ? 0 : 1;
  }
  if (DumpDrawing(app.drawing, env, args.report) != 1) return Refuse(FirstMessage(env, console));
  return 0;
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
  if (!StartHeadlessTool(app, args.options, problem)) return Refuse(problem);
  console.str("");
  try {
    return ReadAndReport(args, path, app, console);
  } catch (const std::bad_alloc&) {
    // Nothing more is allocated to say so.
    const std::string_view message = store_messages::kMemoryOverflow.en;
    std::fprintf(stderr, "lumora-cli dump: %.*s\n", static_cast<int>(message.size()),
                 message.data());
    return 1;
  }
}

} // namespace lumora
