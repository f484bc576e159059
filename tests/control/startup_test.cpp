#include "control/headless_app.h"
#include "control/startup.h"
#include "util/fake_clock.h"
#include "view/soft_canvas.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace lumora {
namespace {

namespace fs = std::filesystem;

// A program directory of its own under the test scratch area.
fs::path FreshHome(const std::string& name) {
  const fs::path dir = fs::path(LUMORA_TEST_TMP) / "startup" / name;
  fs::remove_all(dir);
  fs::create_directories(dir / "SETUP");
  return dir;
}

struct StartupFixture {
  HeadlessApp headless;
  App& app = headless.app;
  FakeClock& clock = headless.clock;
  std::ostringstream& console = headless.console;
};

TEST(Startup, ProgramDirectoryAndSetupNameComeFromTheCommandLine) {
  StartupFixture none;
  TakeCommandLine(none.app, StartupInput{});
  EXPECT_EQ(none.app.home, ".");
  EXPECT_EQ(none.app.setupName, "Perus_SET");

  StartupFixture named;
  TakeCommandLine(named.app, StartupInput{{"/opt/lumora/bin/lumora", "D:\\work\\Mine"}, ""});
  EXPECT_EQ(named.app.home, "/opt/lumora/bin");
  EXPECT_EQ(named.app.setupName, "Mine");

  StartupFixture overridden;
  TakeCommandLine(overridden.app, StartupInput{{"/usr/bin/lumora"}, "/srv/data"});
  EXPECT_EQ(overridden.app.home, "/srv/data");
  EXPECT_EQ(overridden.app.sound.home, "/srv/data");
}

TEST(Startup, SheetIsScaledAndCheckedAndGivesTheAreaTolerance) {
  StartupFixture ten;
  ten.app.setup.scale = 10.0;
  ten.app.setup.limits = {0, 0, 0, 0}; // not a valid box
  PrepareSheet(ten.app);
  const Box& sheet = ten.app.drawing.limits;
  EXPECT_DOUBLE_EQ(sheet.xmax, 1980.0);
  EXPECT_DOUBLE_EQ(sheet.ymax, 2810.0);
  EXPECT_DOUBLE_EQ(ten.app.geometry.settings.areaTolerance, 9.9);
  EXPECT_DOUBLE_EQ(ten.app.view.viewBox.xmax, 1980.0);
  EXPECT_DOUBLE_EQ(ten.app.drawing.paperUnit, 10.0);

  StartupFixture broken;
  broken.app.setup.scale = 0.0;
  broken.app.setup.limits = {10, 20, 410, 320};
  PrepareSheet(broken.app);
  EXPECT_DOUBLE_EQ(broken.app.drawing.scale, 1.0);
  EXPECT_DOUBLE_EQ(broken.app.drawing.limits.xmax, 410.0);
  EXPECT_DOUBLE_EQ(broken.app.geometry.settings.areaTolerance, 2.0);

  StartupFixture small; // a sheet that fits the paper ten times over is in centimetres
  small.app.setup.limits = {0, 0, 15, 20};
  PrepareSheet(small.app);
  EXPECT_DOUBLE_EQ(small.app.drawing.paperUnit, 0.1);
}

TEST(Startup, MissingSetupShowsWhyWaitsTenSecondsAndEnds) {
  const fs::path home = FreshHome("missing");
  StartupFixture f;
  const StartupInput input{{(home / "lumora").string()}, ""};
  EXPECT_EQ(StartProgram(f.app, input), StartupDecision::kEnd);
  EXPECT_EQ(f.clock.Waits(), std::vector<double>{10.0});
  // The message names the path it tried (a long path leaves no room for the whole sentence).
  const std::string expected = "Opening of \"" + (home / "SETUP" / "Perus_SET.txt").string();
  EXPECT_NE(f.console.str().find(expected), std::string::npos) << f.console.str();
}

// The shipped setup with two switches turned: the sheet colour goes to the one place the
// program keeps it (a window made anew after a close takes it from there), and
// NO_DATING_OF_SCREEN: reaches the window's redraw-off flag.
TEST(Startup, TheSetupSetsTheSheetColourAndTheRedrawOffFlag) {
  const fs::path home = FreshHome("switches");
  std::ifstream shipped(LUMORA_SOURCE_DIR "/data/SETUP/Perus_SET.txt", std::ios::binary);
  std::ostringstream text;
  text << shipped.rdbuf();
  std::string setup = text.str();
  for (const std::string key : {"#NO_DATING_OF_SCREEN: ", "#WHITE_BACKGROUND: "}) {
    setup.replace(setup.find(key) + key.size(), 1, "1");
  }
  std::ofstream(home / "SETUP" / "Perus_SET.txt", std::ios::binary) << setup;
  StartupFixture f;
  EXPECT_EQ(StartProgram(f.app, {{(home / "lumora").string()}, ""}), StartupDecision::kOpenWindow);
  EXPECT_TRUE(f.app.window.redrawOff);
  EXPECT_TRUE(f.app.commandState.whiteBackground);
  f.app.commandState.whiteBackground = false; // the user switched it with §
  SoftCanvas canvas(200, 100);
  AttachCanvas(f.app, canvas);
  EXPECT_EQ(canvas.GetBackground(), Background::kDark);
}

TEST(Startup, ABuildTreeRunKeepsALogOrSaysItHasNone) {
  // The log receives what goes to the console, here the missing setup's message.
  const fs::path tree = FreshHome("log");
  std::ofstream(tree / "CMakeCache.txt") << "";
  StartupFixture logged;
  EXPECT_EQ(StartProgram(logged.app, {{(tree / "lumora").string()}, ""}), StartupDecision::kEnd);
  std::ifstream log(tree / "BUGGING.txt");
  const std::string loggedText((std::istreambuf_iterator<char>(log)), {});
  EXPECT_NE(loggedText.find("Opening of \""), std::string::npos) << loggedText;

  // A log that cannot be made is said on the console, and the start goes on without it.
  const fs::path blocked = FreshHome("no_log");
  std::ofstream(blocked / "CMakeCache.txt") << "";
  fs::create_directory(blocked / "BUGGING.txt");
  StartupFixture unlogged;
  StartProgram(unlogged.app, {{(blocked / "lumora").string()}, ""});
  EXPECT_EQ(unlogged.app.screen.log, nullptr);
  EXPECT_EQ(unlogged.console.str().substr(0, 28), "Could't open 'BUGGING.txt'!\n");
}

} // namespace
} // namespace lumora
