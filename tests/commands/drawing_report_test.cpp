#include "commands/drawing_report.h"
#include "control/command_table.h"
#include "control/dispatch.h"
#include "control/translate.h"
#include "files/file_test_env.h"
#include "ui/screen_fixture.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>

namespace lumora {
namespace {

namespace fs = std::filesystem;

// The report lands in the working directory, so each case runs in a scratch directory of its
// own and goes back afterwards.
struct ReportCommandFixture : ScreenFixture, test::DrawingFixture {
  CommandTable table = ProgramCommands();
  Control control;
  fs::path previous = fs::current_path();
  fs::path scratch = fs::path(LUMORA_TEST_TMP) / "report-command";

  ReportCommandFixture() {
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    fs::current_path(scratch);
    control.table = &table;
    control.screen = &screen;
    control.sound = &sound;
    control.language = &language;
    control.drawing = &drawing;
    control.files = &env;
    screen.cursorShown = &control.state.cursorShown;
  }
  ~ReportCommandFixture() { fs::current_path(previous); }

  void ShiftF5() {
    TranslateInput(control, InputKind::kKey, 0, 0, kCodeDrawingReport);
    DispatchInput(control);
  }
};

TEST(DrawingReportCommand, WritesTheReportNamedAfterTheDrawingAndEndsAtOnce) {
  ReportCommandFixture f;
  f.ShiftF5();
  EXPECT_EQ(test::Slurp(f.scratch / "Database.txt"),
            "DRAWING: \"\"\nversion:  2 limits:    0.0,    0.0, 1000.0, 1000.0 scale:    1.0 "
            "step:    1.0\n");
  EXPECT_FALSE(LevelActive(f.control, Level::kMain));

  std::snprintf(f.drawing.name, sizeof f.drawing.name, "Plan");
  f.Line(kShapeOpen, {{1, 2}, {3, 4}});
  f.ShiftF5();
  const std::string report = test::Slurp(f.scratch / "Plan.txt");
  EXPECT_NE(report.find("DRAWING: \"Plan\""), std::string::npos);
  EXPECT_NE(report.find("ps0:2 shape:1"), std::string::npos);
}

TEST(DrawingReportCommand, AReportThatCannotBeWrittenShowsAMessageAndHarmsNothing) {
  ReportCommandFixture f;
  std::snprintf(f.drawing.name, sizeof f.drawing.name, "Plan");
  fs::create_directory(f.scratch / "Plan.txt"); // a directory where the report should go
  f.ShiftF5();
  ASSERT_EQ(f.env.errors.size(), 1u);
  EXPECT_EQ(f.env.errors.back(), "Writing to file not succeeded !");
  EXPECT_TRUE(fs::is_directory(f.scratch / "Plan.txt"));

  fs::remove_all(f.scratch); // the working directory itself is gone: nothing can be opened
  f.ShiftF5();
  ASSERT_EQ(f.env.errors.size(), 2u);
  EXPECT_EQ(f.env.errors.back(), "Opening of \"Plan.txt\"-file not succeeded !");
  EXPECT_FALSE(LevelActive(f.control, Level::kMain));
}

} // namespace
} // namespace lumora
