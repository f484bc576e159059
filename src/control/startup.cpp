#include "control/startup.h"

#include "control/app.h"
#include "files/file_access.h"
#include "screen/text_screen.h"
#include "setup/setup_reader.h"
#include "util/text_pair.h"

#include <cstdlib>

namespace lumora {
namespace {

constexpr double kSmallestScale = 0.001;
constexpr Box kDefaultSheet{0.0, 0.0, 198.0, 281.0};
constexpr TextPair kLogNotOpened{"Could't open 'BUGGING.txt'!"_l1,
                                 "Tiedoston 'BUGGING.txt' avaus ei onnistu!"_l1};

bool ValidSheet(const Box& box) {
  // Written so that a limit that is not a number fails too.
  return box.xmin + kGeomTolerance < box.xmax && box.ymin + kGeomTolerance < box.ymax &&
         box.xmax < kNoPoint && box.ymax < kNoPoint && box.xmin > -kNoPoint && box.ymin > -kNoPoint;
}

void CloseDiagnosticLog(App& app) {
  app.screen.log = nullptr;
  if (app.log.is_open()) app.log.close();
}

} // namespace

std::string DirectoryOf(std::string_view path) {
  const auto slash = path.rfind('/');
  if (slash == std::string_view::npos) return ".";
  if (slash == 0) return "/";
  return std::string(path.substr(0, slash));
}

std::string SetupNameOf(std::string_view argument) {
  const auto cut = argument.find_last_of("/\\");
  if (cut == std::string_view::npos) return std::string(argument);
  return std::string(argument.substr(cut + 1));
}

void TakeCommandLine(App& app, const StartupInput& input) {
  const auto& args = input.arguments;
  if (!input.homeOverride.empty())
    app.home = input.homeOverride;
  else
    app.home = args.empty() ? std::string(".") : DirectoryOf(args[0]);
  app.setupName = args.size() > 1 ? SetupNameOf(args[1]) : std::string(kDefaultSetupName);
  app.sound.home = app.home;
}

void OpenDiagnosticLog(App& app, std::string_view executableDirectory) {
  const std::string dir(executableDirectory);
  if (FileExists(dir + "/" + std::string(kBuildTreeMark)) != 1) return;
  app.log.open(dir + "/" + std::string(kLogName), std::ios::out | std::ios::trunc);
  if (app.log.is_open()) {
    app.screen.log = &app.log;
    return;
  }
  // Without a log the program runs as it would anywhere else, but the developer who expects
  // one is told.
  ConsoleLine(app.screen, app.Tr(kLogNotOpened));
}

void PrepareSheet(App& app) {
  Drawing& d = app.drawing;
  const Setup& s = app.setup;
  d.scale = s.scale >= kSmallestScale ? s.scale : 1.0;
  d.limits = Box{s.limits[0], s.limits[1], s.limits[2], s.limits[3]};
  if (!ValidSheet(d.limits)) d.limits = kDefaultSheet;
  d.limits.xmin *= d.scale;
  d.limits.ymin *= d.scale;
  d.limits.xmax *= d.scale;
  d.limits.ymax *= d.scale;
  if (s.step >= kGeomTolerance) d.step = s.step;
  d.version = s.version;
  app.view.viewBox = d.limits;
  app.view.previousViewBox = d.limits;
  PlotterSetUp(app.plotter, d, app.plotter.paperWidth, app.plotter.paperHeight, app.messageSink);
  app.geometry.settings.areaTolerance = (d.limits.xmax - d.limits.xmin) * kAreaToleranceShare;
}

StartupDecision StartProgram(App& app, const StartupInput& input) {
  TakeCommandLine(app, input);
  if (!input.arguments.empty()) OpenDiagnosticLog(app, DirectoryOf(input.arguments[0]));
  return StartWithSetup(app);
}

StartupDecision StartWithSetup(App& app) {
  app.sound.home = app.home;
  SetupEnvironment env{app.home, app.language, app.messageSink, &app.fonts};
  if (!ReadSetup(app.setupName, app.setup, env)) {
    app.clock.Wait(kMissingSetupSeconds);
    CloseDiagnosticLog(app);
    return StartupDecision::kEnd;
  }
  app.store.NewDrawing();
  PrepareSheet(app);
  app.commandState.whiteBackground = app.setup.whiteBackground != 0;
  app.window.redrawOff = app.setup.noDatingOfScreen != 0;
  return StartupDecision::kOpenWindow;
}

StartupInput StartupInputOf(int argc, char** argv) {
  StartupInput input;
  for (int k = 0; k < argc; ++k) input.arguments.emplace_back(argv[k] != nullptr ? argv[k] : "");
  const char* home = std::getenv(std::string(kHomeVariable).c_str());
  if (home != nullptr) input.homeOverride = home;
  return input;
}

} // namespace lumora
