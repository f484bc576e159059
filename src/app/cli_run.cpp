// lumora-cli run SCRIPT [--save OUT.drw] [--answer TEXT]... [--events FILE] [--limit N]
// [--home DIR] [--setup NAME]: the script as a whole drawing, headless, with canned answers
// and then the lines of an event file.
#include "app/cli_options.h"
#include "control/event_player_canvas.h"
#include "control/event_player_checks.h"
#include "control/headless_app.h"
#include "control/script_driver.h"
#include "control/startup_headless.h"
#include "files/drawing_writer.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {
namespace {

constexpr std::string_view kUsage =
    "usage: lumora-cli run SCRIPT [--save OUT.drw] [--answer TEXT]... [--events FILE] "
    "[--limit N] [--home DIR] [--setup NAME]";

struct RunArguments {
  std::string script;
  std::string save;
  std::vector<std::string> answers;
  std::string events;
  long long limit = 10'000'000;
  HeadlessOptions options;
};

int Refuse(const std::string& line) {
  std::fprintf(stderr, "lumora-cli run: %s\n", line.c_str());
  return 1;
}

bool TakeRunOption(std::string_view name, std::string_view value, RunArguments& args,
                   std::string& why) {
  if (name == "--save") {
    args.save = std::string(value);
    return true;
  }
  if (name == "--answer") {
    args.answers.emplace_back(value);
    return true;
  }
  if (name == "--events") {
    args.events = std::string(value);
    return true;
  }
  const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), args.limit);
  if (ec != std::errc{} || end != value.data() + value.size() || args.limit < 1)
    return why = "--limit takes a positive whole number", false;
  return true;
}

bool ParseArguments(int argc, char** argv, RunArguments& args, std::string& problem) {
  static constexpr std::string_view kOwn[] = {"--save", "--answer", "--events", "--limit"};
  const ToolOptions own{kOwn,
                        [&args](std::string_view name, std::string_view value, std::string& why) {
                          return TakeRunOption(name, value, args, why);
                        }};
  std::vector<std::string> positional;
  if (!TakeArguments(argc, argv, false, args.options, positional, problem, own)) return false;
  if (positional.size() != 1) return problem = std::string(kUsage), false;
  args.script = positional[0];
  return true;
}

} // namespace

int RunRunCommand(int argc, char** argv) {
  // On the heap: GCC 12 mistakes the inlined vector's release for a free of the frame.
  const auto held = std::make_unique<RunArguments>();
  RunArguments& args = *held;
  std::string problem;
  if (!ParseArguments(argc, argv, args, problem)) return Refuse(problem);
  if (!args.save.empty() && SameFile(args.script, args.save))
    return Refuse("the drawing would be written over the script '" + args.script + "'");
  HeadlessApp headless; // WAIT and message boxes cost no time
  App& app = headless.app;
  SoftCanvas canvas(1, 1);
  if (!StartHeadless(app, args.options, canvas, problem)) return Refuse(problem);
  std::ifstream eventFile;
  if (!args.events.empty()) {
    eventFile.open(args.events, std::ios::binary);
    if (!eventFile) return Refuse("cannot read '" + args.events + "'");
  }
  // The event lines see every glyph drawn, for expect-message.
  GlyphRecordingCanvas recorder(canvas);
  app.canvas = &recorder;
  app.screen.canvas = &recorder;
  const PlayOptions play{args.options, {}, {}, nullptr};
  const std::size_t slash = args.events.rfind('/');
  EventChecks checks{app,      canvas,
                     recorder, headless.sounds,
                     play,     slash == std::string::npos ? "." : args.events.substr(0, slash)};
  ScriptEventLines events{eventFile, checks, args.events, 0, {}};
  ScriptDrive drive{args.answers, args.limit};
  if (!args.events.empty()) drive.events = &events;
  headless.console.str({});
  const int result = DriveScript(app, args.script, drive);
  std::cout << headless.console.str() << std::endl;
  if (drive.events != nullptr && !FinishEventLines(events)) return Refuse(events.problem);
  if (result != 1) return Refuse("the script ended with " + std::to_string(result));
  if (!args.save.empty() && WriteDrawingFile(app.drawing, app.fileEnv, args.save, nullptr,
                                             app.view.globalOrigin, app.drawing.limits) != 1)
    return Refuse("cannot write '" + args.save + "'");
  return 0;
}

} // namespace lumora
