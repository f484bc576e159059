#include "commands/drawing_report.h"
#include "control/dispatch.h"
#include "control/translate.h"
#include "files/file_test_env.h"
#include "screen/screen_fixture.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace lumora {
namespace {

namespace fs = std::filesystem;

// The report lands in the program's working directory: a scratch directory of each case's own.
struct ReportCommandFixture : ScreenFixture {
  fs::path scratch = fs::path(LUMORA_TEST_TMP) / "report-command";

  ReportCommandFixture() {
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    app.workDirectory = scratch.string();
    app.drawing.limits = Box{0, 0, 1000, 1000};
  }

  void ShiftF5() {
    canvas.glyphs.clear();
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

  SetDrawingName(f.app.drawing, "Plan");
  const Point points[2] = {{1, 2}, {3, 4}};
  PropertySet open;
  open.SetShape(kShapeOpen);
  f.app.store.AddLine(open, points, 2);
  f.ShiftF5();
  const std::string report = test::Slurp(f.scratch / "Plan.txt");
  EXPECT_NE(report.find("DRAWING: \"Plan\""), std::string::npos);
  EXPECT_NE(report.find("ps0:2 shape:1"), std::string::npos);
}

TEST(DrawingReportCommand, AReportThatCannotBeWrittenShowsAMessageAndHarmsNothing) {
  ReportCommandFixture f;
  SetDrawingName(f.app.drawing, "Plan");
  fs::create_directory(f.scratch / "Plan.txt"); // a directory where the report should go
  f.ShiftF5();
  EXPECT_TRUE(f.Shown("Writing to file not succeeded !"));
  EXPECT_TRUE(fs::is_directory(f.scratch / "Plan.txt"));

  fs::remove_all(f.scratch); // the working directory itself is gone: nothing can be opened
  f.ShiftF5();
  EXPECT_TRUE(f.Shown("Plan.txt\"-file not succeeded !"));
  EXPECT_FALSE(LevelActive(f.control, Level::kMain));
}

} // namespace
} // namespace lumora
