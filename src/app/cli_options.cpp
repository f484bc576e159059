#include "app/cli_options.h"

#include "control/app.h"
#include "control/startup.h"
#include "files/file_access.h"
#include "view/soft_canvas.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace lumora {
namespace {

constexpr std::string_view kDrawingsDirectory = "DRAWINGS";

bool ParseSide(const std::string& text, int& side) {
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno != 0 || value <= 0 || value > kMaxCanvasSide) {
    return false;
  }
  side = static_cast<int>(value);
  return true;
}

bool ParseSize(std::string_view text, int& width, int& height) {
  const std::size_t x = text.find('x');
  if (x == std::string_view::npos) return false;
  return ParseSide(std::string(text.substr(0, x)), width) &&
         ParseSide(std::string(text.substr(x + 1)), height);
}

} // namespace

HeadlessOptions DefaultStartOptions(char** argv) {
  const StartupInput input = StartupInputOf(1, argv);
  HeadlessOptions options;
  options.home = input.homeOverride.empty() ? DirectoryOf(input.arguments[0]) : input.homeOverride;
  return options;
}

OptionTaken TakeStartOption(int argc, char** argv, int& k, HeadlessOptions& options, bool withSize,
                            std::string& problem) {
  const std::string_view arg = argv[k];
  if (arg != "--home" && arg != "--setup" && !(withSize && arg == "--size"))
    return OptionTaken::kNo;
  if (k + 1 >= argc) {
    problem = std::string(arg) + " needs a value";
    return OptionTaken::kRefused;
  }
  const std::string value = argv[++k];
  if (arg == "--home") {
    options.home = value;
  } else if (arg == "--setup") {
    options.setupName = SetupNameOf(value);
  } else if (!ParseSize(value, options.width, options.height)) {
    problem = "--size wants WIDTHxHEIGHT in pixels, not '" + value + "'";
    return OptionTaken::kRefused;
  }
  return OptionTaken::kYes;
}

bool TakeArguments(int argc, char** argv, bool withSize, HeadlessOptions& options,
                   std::vector<std::string>& positional, std::string& problem,
                   const ToolOptions& own) {
  options = DefaultStartOptions(argv);
  for (int k = 2; k < argc; ++k) {
    const std::string_view arg = argv[k];
    const OptionTaken taken = TakeStartOption(argc, argv, k, options, withSize, problem);
    if (taken == OptionTaken::kRefused) return false;
    if (taken == OptionTaken::kYes) continue;
    if (!arg.starts_with("--")) {
      positional.emplace_back(arg);
      continue;
    }
    if (std::find(own.names.begin(), own.names.end(), arg) == own.names.end())
      return problem = "unknown option '" + std::string(arg) + "'", false;
    if (k + 1 >= argc) return problem = std::string(arg) + " needs a value", false;
    if (!own.take(arg, argv[++k], problem)) return false;
  }
  return true;
}

bool TakeArguments(int argc, char** argv, bool withSize, HeadlessOptions& options,
                   std::vector<std::string>& positional, std::string& problem) {
  static const ToolOptions kNone;
  return TakeArguments(argc, argv, withSize, options, positional, problem, kNone);
}

bool SameFile(const std::string& input, const std::string& output) {
  std::error_code error;
  return std::filesystem::equivalent(input, output, error) && !error;
}

std::string LocateDrawing(const std::string& drawing, const std::string& home) {
  if (FileExists(drawing) == 1 || drawing.find('/') != std::string::npos) return drawing;
  const std::string inHome = home + "/" + std::string(kDrawingsDirectory) + "/" + drawing;
  return FileExists(inHome) == 1 ? inHome : drawing;
}

bool StartHeadlessTool(App& app, const HeadlessOptions& options, std::string& problem) {
  app.home = options.home;
  app.setupName = options.setupName;
  if (StartWithSetup(app) == StartupDecision::kOpenWindow) return true;
  problem = "the setup '" + app.setupName + "' could not be read under '" + app.home + "'";
  return false;
}

} // namespace lumora
