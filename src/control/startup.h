// Start-up: the program directory and the setup name from the command line, the diagnostic log
// of a build-tree run, the setup, the sheet and the view. The window is opened by the caller
// when the answer says so.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lumora {

struct App;

inline constexpr std::string_view kDefaultSetupName = "Perus_SET";
inline constexpr std::string_view kHomeVariable = "LUMORA_HOME";
inline constexpr std::string_view kLogName = "BUGGING.txt";
// A build tree is recognised by the file CMake leaves in it.
inline constexpr std::string_view kBuildTreeMark = "CMakeCache.txt";
// How long the missing-setup message stays before the program ends.
inline constexpr double kMissingSetupSeconds = 10.0;

struct StartupInput {
  std::vector<std::string> arguments; // argument 0 is the program's own path
  std::string homeOverride;           // LUMORA_HOME when set and not empty
};

enum class StartupDecision {
  kOpenWindow, // everything is ready for the window
  kEnd,        // the program ends now, with exit status 0
};

// The directory of a program path: everything before its last '/', "." without one.
std::string DirectoryOf(std::string_view path);
// A setup name as given, without any directory part ('/' or '\').
std::string SetupNameOf(std::string_view argument);

// Fills app.home and app.setupName from the arguments.
void TakeCommandLine(App& app, const StartupInput& input);

// Opens the diagnostic log in the executable's directory when that is a build tree.
void OpenDiagnosticLog(App& app, std::string_view executableDirectory);

// Reads the setup and prepares the drawing, the sheet, the view and the area tolerance. A
// missing setup shows its message, waits on the clock and answers kEnd.
StartupDecision StartProgram(App& app, const StartupInput& input);

// The same for a home and setup name already taken.
StartupDecision StartWithSetup(App& app);

// The steps after the setup: the sheet and view of a fresh drawing from the setup values.
void PrepareSheet(App& app);

// Start-up input of a real run: the arguments and the environment.
StartupInput StartupInputOf(int argc, char** argv);

} // namespace lumora
