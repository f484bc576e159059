#include "file_test_env.h"
#include "files/drawing_dump.h"
#include "files/file_access.h"

#include <fstream>
#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(DrawingReport, ANewDrawingIsTwoLines) {
  Drawing drawing;
  EXPECT_EQ(DrawingReport(drawing), "DRAWING: \"\"\n"
                                    "version:  2 limits:    0.0,    0.0,    0.0,    0.0 "
                                    "scale:    1.0 step:    1.0\n");
  EXPECT_EQ(ReportFileName(drawing), "Database.txt");
  SetDrawingName(drawing, "House.drw");
  EXPECT_EQ(ReportFileName(drawing), "House.drw.txt");
}

TEST(DrawingReport, ListsEveryRecordWithStablePartLinks) {
  test::DrawingFixture f;
  f.drawing.scale = 50;
  LineElement* gone = f.Line(kShapeOpen, {{0, 0}, {1, 0}});
  LineElement* circle = f.Line(kShapeCircle, {{1.25, -2}, {3, 4}});
  f.Filling({circle, gone}, 1, 0);
  f.store.DeleteLine(gone); // takes its filling with it
  f.Filling({circle}, 1, 0)->lines[0] = nullptr;
  f.Text("x", {{1, 2}, {3, 4}}, 10, 1);
  f.store.AddPart("First", 1, 0)->location = {10, 20};
  f.store.AddPart("Second", 0, 0);
  EXPECT_EQ(DrawingReport(f.drawing),
            "DRAWING: \"\"\n"
            "version:  2 limits:    0.0,    0.0, 1000.0, 1000.0 scale:   50.0 step:    1.0\n"
            "\nLines:\n ps0:2 shape:4      1.2,   -2.0      3.0,    4.0 "
            "\n\nFillings: \nls0:1 ldista:0 "
            "\n\nTexts:\n pisteit\xE4 2 kpl mitta:1  1.000000,2.000000  3.000000,4.000000 "
            "\n\nParts:\n name:\"Second\" type:0  location:    0.0,    0.0 next:2"
            "\n name:\"First\" type:1  location:   10.0,   20.0 next:0");
}

TEST(DumpDrawing, WritesTheReportOrShowsTheOpenMessage) {
  const std::string dir = test::ScratchDirectory("dump");
  Drawing drawing;
  test::RecordingReporter reporter;
  ASSERT_EQ(DumpDrawing(drawing, reporter, dir + "/Database.txt"), 1);
  std::ifstream in(dir + "/Database.txt", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), DrawingReport(drawing));
  EXPECT_EQ(DumpDrawing(drawing, reporter, dir + "/no/Database.txt"), 0);
  EXPECT_EQ(reporter.errors, std::vector<std::string>{
                                 OpenFailedMessage(dir + "/no/Database.txt", Language::kEnglish)});
}

} // namespace
} // namespace lumora
