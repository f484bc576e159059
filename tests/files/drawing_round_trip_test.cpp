#include "file_test_env.h"
#include "files/drawing_format.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>

namespace lumora {
namespace {

using test::DrawingFixture;

// Lines of every shape, a filling on two of them, a text and a measure, a part holding a nested
// part, and coordinates that a float cannot hold.
void BuildSample(DrawingFixture& f) {
  LineElement* open = f.Line(kShapeOpen, {{1.1, 2.2}, {3.3, 4.4}, {5.000001, 6.6}}, 3);
  LineElement* closed = f.Line(kShapeClosed, {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 4);
  LineElement* arc = f.Line(kShapeArc, {{10, 10}, {15, 10}, {10, 15}});
  f.Line(kShapeCircle, {{50.123456789, 50}, {60, 50}});
  f.Filling({closed, arc}, 2.5, 45);
  TextElement* label = f.Text("Hello \xE4", {{7.7, 8.8}}, 30);
  f.Text("L=12.5", {{20, 20}, {0, 0}, {12.5, 0}}, 25, 1, 0, 2);
  PartElement* inner = f.store.AddPart("Inner", 1, 5);
  f.store.AddMember(inner, arc);
  PartElement* outer = f.store.AddPart("Outer", 1, 6);
  f.store.AddMember(outer, open);
  f.store.AddMember(outer, label);
  f.store.AddMember(outer, inner);
}

TEST(DrawingFileRoundTrip, Version3ReadsBackExactlyReversedAndTwiceRestoresTheOrder) {
  const std::string dir = test::ScratchDirectory("round_trip_v3");
  DrawingFixture first;
  first.drawing.version = kWideVersion;
  first.drawing.scale = 50;
  first.drawing.step = 0.25;
  BuildSample(first);
  ASSERT_EQ(first.Save(dir + "/A.drw"), 1);
  EXPECT_EQ(first.drawing.changes, 0u);
  EXPECT_EQ(first.env.traces, std::vector<std::string>{"Writing file '" + dir + "/A.drw'\n"});

  DrawingFixture second;
  second.drawing.version = kWideVersion;
  ASSERT_EQ(second.Read(dir + "/A.drw", nullptr, {}, true), 1);
  EXPECT_EQ(second.drawing.scale, 50);
  EXPECT_EQ(second.drawing.step, 0.25);
  EXPECT_EQ(second.env.calls.front(), "origins");
  EXPECT_EQ(std::count(second.env.calls.begin(), second.env.calls.end(), "line"), 4);
  const auto lines = test::ListOf(second.drawing.lines);
  EXPECT_EQ(lines.front()->points[2].x, 5.000001); // the oldest line now leads
  EXPECT_EQ(lines.back()->points[0].x, 50.123456789);
  EXPECT_STREQ(second.drawing.texts->text, "Hello \xE4");

  // Read twice, every list is back in its first order: the saved bytes are the same.
  ASSERT_EQ(second.Save(dir + "/B.drw"), 1);
  DrawingFixture third;
  third.drawing.version = kWideVersion;
  ASSERT_EQ(third.Read(dir + "/B.drw"), 1);
  ASSERT_EQ(third.Save(dir + "/C.drw"), 1);
  EXPECT_EQ(test::Slurp(dir + "/C.drw"), test::Slurp(dir + "/A.drw"));
  EXPECT_NE(test::Slurp(dir + "/B.drw"), test::Slurp(dir + "/A.drw"));
  EXPECT_TRUE(second.env.errors.empty() && third.env.errors.empty());
}

TEST(DrawingFileRoundTrip, Version2KeepsSinglePrecisionAndTheStructure) {
  const std::string dir = test::ScratchDirectory("round_trip_v2");
  DrawingFixture first;
  BuildSample(first);
  ASSERT_EQ(first.Save(dir + "/A.drw"), 1);
  DrawingFixture second;
  ASSERT_EQ(second.Read(dir + "/A.drw"), 1);
  const LineElement* circle = test::ListOf(second.drawing.lines).back(); // the newest, saved first
  ASSERT_EQ(circle->shape(), kShapeCircle);
  EXPECT_EQ(circle->points[0].x, static_cast<double>(50.123456789f));
  EXPECT_NE(circle->points[0].x, 50.123456789);
  // Boundary and member references come through intact.
  const FillingElement* filling = second.drawing.fillings;
  ASSERT_EQ(filling->ls0(), 2u);
  EXPECT_EQ(filling->lines[0]->shape(), kShapeClosed);
  EXPECT_EQ(filling->lines[1]->shape(), kShapeArc);
  EXPECT_EQ(filling->lines[1]->boundary(), 1u);
  const PartElement* outer = second.drawing.parts;
  ASSERT_STREQ(outer->name, "Outer");
  ASSERT_NE(outer->parts, nullptr);
  EXPECT_STREQ(outer->parts->element->name, "Inner");
  EXPECT_EQ(outer->parts->element->nested(), 1u);
  EXPECT_EQ(outer->parts->element->lines->element, filling->lines[1]);
}

TEST(DrawingFileRoundTrip, PartFilesHoldNestedPartsFirstAndLoseOutsideBoundaries) {
  const std::string dir = test::ScratchDirectory("round_trip_part");
  DrawingFixture first;
  BuildSample(first);
  PartElement* outer = first.drawing.parts;
  // A filling of the part whose second boundary line is not in the part.
  LineElement* outside = first.Line(kShapeOpen, {{0, 0}, {1, 1}});
  first.store.AddMember(outer, first.Filling({outer->lines->element, outside}, 1, 0));
  const std::uint32_t changes = first.drawing.changes;
  ASSERT_EQ(first.Save(dir + "/Outer", outer, {1, 2}), 1);
  EXPECT_EQ(first.drawing.changes, changes); // saving a part is no save of the drawing

  DrawingFixture second;
  ASSERT_EQ(second.Read(dir + "/Outer"), 1);
  const auto parts = test::ListOf(second.drawing.parts);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_STREQ(parts[0]->name, "Outer"); // the part is the last record
  EXPECT_STREQ(parts[1]->name, "Inner");
  EXPECT_EQ(test::ListOf(second.drawing.lines).size(), 2u); // arc of Inner, open line of Outer
  const FillingElement* filling = second.drawing.fillings;
  ASSERT_NE(filling, nullptr);
  ASSERT_EQ(filling->ls0(), 2u);
  EXPECT_EQ(filling->lines[0]->shape(), kShapeOpen);
  EXPECT_EQ(filling->lines[1], nullptr);
  EXPECT_EQ(filling->lines[0]->points[0].x, static_cast<double>(0.1f)); // relative to the origin
}

TEST(DrawingFileRoundTrip, CountsBeyondSixteenBitsAreSavedInTheWidePrecision) {
  const std::string dir = test::ScratchDirectory("round_trip_big");
  DrawingFixture first; // version 2.0
  std::vector<Point> many(40000);
  for (std::size_t k = 0; k < many.size(); ++k) many[k] = {k * 0.01, 1};
  LineElement* longLine = first.Line(kShapeOpen, many);
  std::vector<LineElement*> border(300, longLine);
  first.Filling(border, 1, 0);
  for (int k = 0; k < 33000; ++k) first.Line(kShapeOpen, {{0, 0}, {1, 1}});
  ASSERT_EQ(first.Save(dir + "/Big.drw"), 1);
  EXPECT_EQ(first.drawing.version, kNewDrawingVersion); // the drawing itself is unchanged

  Box area;
  ASSERT_EQ(ReadFileHeader(dir + "/Big.drw", area), 1);
  DrawingFixture second;
  ASSERT_EQ(second.Read(dir + "/Big.drw"), 1);
  EXPECT_EQ(test::ListOf(second.drawing.lines).size(), 33001u);
  const FillingElement* filling = second.drawing.fillings;
  ASSERT_EQ(filling->ls0(), 300u);
  EXPECT_EQ(filling->lines[299]->ps0(), 40000u);
  EXPECT_EQ(filling->lines[299]->points[39999].x, 399.99); // wide precision: exact

  // The longest text a drawing holds needs a length of 32768 with its zero.
  DrawingFixture third;
  third.Text(std::string(kMaxTextLength, 'a'), {{1, 1}});
  ASSERT_EQ(third.Save(dir + "/Text.drw"), 1);
  DrawingFixture fourth;
  ASSERT_EQ(fourth.Read(dir + "/Text.drw"), 1);
  EXPECT_EQ(std::string_view(fourth.drawing.texts->text).size(), kMaxTextLength);
}

} // namespace
} // namespace lumora
