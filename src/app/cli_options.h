// What the headless tools share: the start options every tool takes, and the guard against an
// output that would be written over the tool's own input.
#pragma once

#include "control/startup_headless.h"

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

enum class OptionTaken { kNo, kYes, kRefused };

// The program directory before any option: LUMORA_HOME when set, else the tool's directory.
HeadlessOptions DefaultStartOptions(char** argv);

// Takes argv[k] with its value (k moves past it) when it is --home, --setup or, where the tool
// draws a window, --size. kRefused names the reason in `problem`.
OptionTaken TakeStartOption(int argc, char** argv, int& k, HeadlessOptions& options, bool withSize,
                            std::string& problem);

// A tool's own option: its names (each takes a value) and what takes the value; false (with
// the reason in `problem`) refuses it.
struct ToolOptions {
  std::span<const std::string_view> names;
  std::function<bool(std::string_view name, std::string_view value, std::string& problem)> take;
};

// Reads the arguments after the tool's name: the start options, the tool's own options and,
// in order, the names that are no option. False (with the reason) for an unknown option or an
// option without its value.
bool TakeArguments(int argc, char** argv, bool withSize, HeadlessOptions& options,
                   std::vector<std::string>& positional, std::string& problem,
                   const ToolOptions& own);
bool TakeArguments(int argc, char** argv, bool withSize, HeadlessOptions& options,
                   std::vector<std::string>& positional, std::string& problem);

struct App;

// Starts the headless app in the options' program directory with their setup. False (with the
// reason in `problem`) when the setup cannot be read.
bool StartHeadlessTool(App& app, const HeadlessOptions& options, std::string& problem);

// True when both names reach one existing file: writing the output would destroy the input.
bool SameFile(const std::string& input, const std::string& output);

// A drawing named without a path that is not in the working directory is looked for in the
// program directory's DRAWINGS.
std::string LocateDrawing(const std::string& drawing, const std::string& home);

} // namespace lumora
