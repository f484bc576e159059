#include "file_test_env.h"
#include "files/drawing_dump.h"

#include <cstdio>
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

// A large drawing's report comes in pieces that join into the same text, its points written as
// printf writes them (halves, signs and large numbers included); a sink that refuses a piece
// stops the report.
TEST(DrawingReport, ComesInPiecesWithPointsAsPrintfWritesThem) {
  test::DrawingFixture f;
  const double values[] = {1.25, 0.35, -0.04, -0.0, 2.5e9, -123456.75, 0.05, 99999.95, 7};
  constexpr int kLines = 4000;
  for (int k = 0; k < kLines; ++k)
    f.Line(kShapeOpen, {{values[k % 9], values[(k + 1) % 9] * k}, {-values[(k + 4) % 9], 0}});
  std::string lines = "\nLines:";
  char buffer[128];
  for (const LineElement* line = f.drawing.lines; line != nullptr; line = line->next) {
    lines += "\n ps0:2 shape:1 ";
    for (int k = 0; k < 2; ++k) {
      std::snprintf(buffer, sizeof buffer, " %7.1f,%7.1f ", line->points[k].x, line->points[k].y);
      lines += buffer;
    }
  }
  const std::string whole = DrawingReport(f.drawing);
  EXPECT_EQ(whole.substr(whole.find("\nLines:")), lines);
  std::string joined;
  int pieces = 0;
  EXPECT_TRUE(WriteDrawingReport(f.drawing, [&](std::string_view piece) {
    joined += piece;
    return ++pieces > 0;
  }));
  EXPECT_EQ(joined, whole);
  EXPECT_GT(pieces, 1);
  pieces = 0;
  EXPECT_FALSE(WriteDrawingReport(f.drawing, [&](std::string_view) { return ++pieces < 2; }));
  EXPECT_EQ(pieces, 2);
}

} // namespace
} // namespace lumora
