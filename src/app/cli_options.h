// What the headless tools share: the start options every tool takes, and the guard against an
// output that would be written over the tool's own input.
#pragma once

#include "control/startup_headless.h"

#include <string>

namespace lumora {

enum class OptionTaken { kNo, kYes, kRefused };

// The program directory before any option: LUMORA_HOME when set, else the tool's directory.
HeadlessOptions DefaultStartOptions(char** argv);

// Takes argv[k] with its value (k moves past it) when it is --home, --setup or, where the tool
// draws a window, --size. kRefused names the reason in `problem`.
OptionTaken TakeStartOption(int argc, char** argv, int& k, HeadlessOptions& options, bool withSize,
                            std::string& problem);

// True when both names reach one existing file: writing the output would destroy the input.
bool SameFile(const std::string& input, const std::string& output);

// A drawing named without a path that is not in the working directory is looked for in the
// program directory's DRAWINGS.
std::string LocateDrawing(const std::string& drawing, const std::string& home);

} // namespace lumora
