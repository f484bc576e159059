// The picture `lumora-cli render` writes: start-up with the shipped setup, a drawing file read
// as the read command reads it, the window on a SoftCanvas.
#include "control/headless_app.h"
#include "control/startup_headless.h"
#include "files/drawing_writer.h"
#include "model/property_set.h"
#include "support/golden.h"
#include "support/shipped_home.h"
#include "util/latin1.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

namespace lumora {
namespace {

namespace fs = std::filesystem;

const std::string kShippedHome = testing::ShippedHomeCopy();

struct Headless {
  HeadlessApp headless;
  App& app = headless.app;
  SoftCanvas canvas{1, 1};
};

void AddLine(App& app, std::uint32_t shape, int colour, std::vector<Point> points) {
  PropertySet set;
  set.SetShape(shape);
  set.SetColour(std::uint32_t(colour));
  set.SetStyle(1);
  set.SetWidth(3);
  ASSERT_NE(app.store.AddLine(set, points.data(), int(points.size())), nullptr);
}

void AddText(App& app, Point at, std::string_view text) {
  PropertySet set;
  set.SetColour(7);
  set.SetHeight(60); // 6 mm
  set.SetWidthRatio(4);
  set.SetWidth(2);
  ASSERT_NE(app.store.AddText(set, &at, 1, text), nullptr);
}

// A drawing of lines, arcs, circles and texts on the shipped sheet, saved as a file.
std::string WriteSampleDrawing() {
  Headless maker;
  std::string problem;
  HeadlessOptions options{kShippedHome, "Perus_SET", 640, 512};
  EXPECT_TRUE(StartHeadless(maker.app, options, maker.canvas, problem)) << problem;
  App& app = maker.app;
  AddLine(app, kShapeClosed, 1, {{20, 20}, {178, 20}, {178, 261}, {20, 261}});
  AddLine(app, kShapeOpen, 5, {{40, 60}, {100, 120}, {160, 60}});
  AddLine(app, kShapeArc, 2, {{100, 180}, {140, 180}, {60, 180}});
  AddLine(app, kShapeCircle, 3, {{100, 180}, {110, 180}});
  AddText(app, {30, 230}, "Lumora 1:1");
  AddText(app, {30, 35}, "Äö piirros"_l1);
  const fs::path dir = fs::path(LUMORA_TEST_TMP) / "render";
  fs::create_directories(dir);
  const std::string path = (dir / "sample.drw").string();
  EXPECT_EQ(
      WriteDrawingFile(app.drawing, app.fileEnv, path, nullptr, Point{0, 0}, app.drawing.limits),
      1);
  return path;
}

TEST(RenderHeadless, DrawingFileShowsAsTheWindowWould) {
  const std::string path = WriteSampleDrawing();
  Headless h;
  std::string problem;
  ASSERT_TRUE(StartHeadless(h.app, {kShippedHome, "Perus_SET", 640, 512}, h.canvas, problem))
      << problem;
  ASSERT_TRUE(ReadDrawingHeadless(h.app, path, problem)) << problem;
  EXPECT_EQ(h.canvas.Width(), 640);
  EXPECT_TRUE(testing::MatchesGolden(h.canvas, "render_cli"));
}

TEST(RenderHeadless, RefusesWhatItCannotShow) {
  Headless missingSetup;
  std::string problem;
  EXPECT_FALSE(StartHeadless(missingSetup.app, {kShippedHome, "NoSuchSetup", 0, 0},
                             missingSetup.canvas, problem));
  EXPECT_NE(problem.find("NoSuchSetup"), std::string::npos);

  Headless tooLarge;
  EXPECT_FALSE(StartHeadless(tooLarge.app, {kShippedHome, "Perus_SET", 100000, 10}, tooLarge.canvas,
                             problem));

  Headless noDrawing;
  ASSERT_TRUE(StartHeadless(noDrawing.app, {kShippedHome, "Perus_SET", 200, 200}, noDrawing.canvas,
                            problem));
  EXPECT_FALSE(ReadDrawingHeadless(noDrawing.app, LUMORA_TEST_TMP "/render/none.drw", problem));
  EXPECT_FALSE(problem.empty());
}

} // namespace
} // namespace lumora
