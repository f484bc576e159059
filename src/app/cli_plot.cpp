// lumora-cli plot DRAWING OUT.pdf [--scale N] [--paper A4|A3|A2|A1|A0|Letter] [--home DIR]
// [--setup NAME]: the plot page of the drawing as a PDF, as Print would make it, never printed.
// --scale draws the drawing at 1:N on a sheet grown about its lower left corner, widths kept.
#include "app/cli_options.h"
#include "control/headless_app.h"
#include "control/startup_headless.h"
#include "model/store_messages.h"
#include "platform/pdf_page_device.h"
#include "plot/paper.h"
#include "plot/plotter.h"
#include "plot/scale_change.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <new>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {
namespace {

constexpr std::string_view kUsage = "usage: lumora-cli plot DRAWING OUT.pdf [--scale N] "
                                    "[--paper A4|A3|A2|A1|A0|Letter] [--home DIR] [--setup NAME]";
constexpr double kSmallestScale = 0.001;

struct PlotArguments {
  std::string drawing;
  std::string output;
  double scale = 0; // 0: the drawing's own
  Paper paper = CentredPaper(210.0, 297.0);
  HeadlessOptions options;
};

int Refuse(const std::string& line) {
  std::fprintf(stderr, "lumora-cli plot: %s\n", line.c_str());
  return 1;
}

bool ParseScale(std::string_view text, double& scale) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), scale);
  return error == std::errc() && end == text.data() + text.size() && std::isfinite(scale) &&
         scale >= kSmallestScale;
}

bool TakePlotOption(std::string_view arg, std::string_view value, PlotArguments& args,
                    std::string& problem) {
  if (arg == "--scale" && !ParseScale(value, args.scale))
    return problem = "--scale wants a number of at least 0.001, not '" + std::string(value) + "'",
           false;
  if (arg == "--paper" && !NamedPaper(value, args.paper))
    return problem = "unknown paper '" + std::string(value) + "'", false;
  return true;
}

bool ParseArguments(int argc, char** argv, PlotArguments& args, std::string& problem) {
  std::vector<std::string> positional;
  static constexpr std::string_view kOwn[] = {"--scale", "--paper"};
  const ToolOptions own{kOwn,
                        [&args](std::string_view name, std::string_view value, std::string& why) {
                          return TakePlotOption(name, value, args, why);
                        }};
  if (!TakeArguments(argc, argv, false, args.options, positional, problem, own)) return false;
  if (positional.size() != 2) return problem = std::string(kUsage), false;
  args.drawing = positional[0];
  args.output = positional[1];
  return true;
}

// The scale command's change, answered without questions: the sheet keeps its paper size.
void ChangeScale(App& app, double scale) {
  Drawing& d = app.drawing;
  if (std::fabs(scale - d.scale) < kSmallestScale) return;
  ApplyScaleChange(d, scale, SheetAtScale(d.limits, d.scale, scale), false);
  app.view.viewBox = d.limits;
  app.view.previousViewBox = d.limits;
  PlotterSetUp(app.plotter, d, app.plotter.paperWidth, app.plotter.paperHeight, app.messageSink);
  Redraw(app.Scene(), true);
}

int PlotWithArguments(const PlotArguments& args) {
  std::string problem;
  const std::string drawing = LocateDrawing(args.drawing, args.options.home);
  if (SameFile(drawing, args.output))
    return Refuse("the plot would be written over the drawing '" + drawing + "'");
  HeadlessApp headless;
  App& app = headless.app;
  app.plotter.paperWidth = args.paper.printableWidth;
  app.plotter.paperHeight = args.paper.printableHeight;
  SoftCanvas canvas(1, 1);
  if (!StartHeadless(app, args.options, canvas, problem)) return Refuse(problem);
  std::string note;
  if (!ReadDrawingHeadless(app, drawing, problem, true, &note)) return Refuse(problem);
  if (!note.empty()) std::fprintf(stderr, "%s\n", note.c_str());
  if (args.scale > 0) ChangeScale(app, args.scale);
  PdfPageDevice device(args.output, args.paper, app.fileEnv);
  const MeasureStyle measure = app.Scene().measure;
  PlotJob job{app.drawing, app.view.viewBox, app.fonts,    measure,
              device,      app.messageSink,  app.language, &app.storeEnv};
  if (PlotDrawing(job) == 0) return Refuse("cannot write '" + args.output + "'");
  return 0;
}

} // namespace

int RunPlotCommand(int argc, char** argv) {
  PlotArguments args;
  std::string problem;
  if (!ParseArguments(argc, argv, args, problem)) return Refuse(problem);
  try {
    return PlotWithArguments(args);
  } catch (const std::bad_alloc&) {
    // No page is left behind (an unfinished one is removed); nothing more is allocated to say so.
    const std::string_view message = store_messages::kMemoryOverflow.en;
    std::fprintf(stderr, "lumora-cli plot: %.*s\n", static_cast<int>(message.size()),
                 message.data());
    return 1;
  }
}

} // namespace lumora
