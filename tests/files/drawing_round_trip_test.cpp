#include "file_test_env.h"
#include "files/drawing_format.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>

namespace lumora {
namespace {

using test::DrawingFixture;

std::string Hex(double v) {
  char text[40];
  std::snprintf(text, sizeof(text), "%a", v);
  return text;
}

std::string Describe(const LineElement* line) {
  if (line == nullptr) return "null";
  std::string s = "L" + std::to_string(line->words[0] & 0x07FFFFFF) + "/" +
                  std::to_string(line->words[1] & 0xFFFF);
  for (std::uint32_t k = 0; k < line->ps0(); ++k)
    s += " " + Hex(line->points[k].x) + "," + Hex(line->points[k].y);
  return s;
}

std::string Describe(const FillingElement* f) {
  std::string s = "F" + Hex(f->gap()) + " " + std::to_string(f->angle());
  for (std::uint32_t k = 0; k < f->ls0(); ++k) s += " [" + Describe(f->lines[k]) + "]";
  return s;
}

std::string Describe(const TextElement* t) {
  std::string s = "T" + std::string(t->text) + " " + std::to_string(t->words[1]) + " " +
                  Hex(t->angle()) + " " + std::to_string(t->words[0] & 0x7FFF);
  for (std::uint32_t k = 0; k < t->pointCount(); ++k) s += " " + Hex(t->points[k].x);
  return s;
}

std::string Describe(const PartElement* p) {
  std::string s = "P" + std::string(p->name) + " " + std::to_string(p->type()) + " nested " +
                  std::to_string(p->nested());
  std::vector<std::string> members;
  for (const LineNode* n = p->lines; n != nullptr; n = n->next)
    members.push_back(Describe(n->element));
  for (const TextNode* n = p->texts; n != nullptr; n = n->next)
    members.push_back(Describe(n->element));
  for (const PartNode* n = p->parts; n != nullptr; n = n->next) members.push_back(n->element->name);
  std::sort(members.begin(), members.end()); // member order is checked by the list order below
  for (const auto& m : members) s += " {" + m + "}";
  return s;
}

template <class Element> std::vector<std::string> DescribeList(Element* head) {
  std::vector<std::string> out;
  for (Element* e : test::ListOf(head)) out.push_back(Describe(e));
  return out;
}

struct Lists {
  std::vector<std::string> lines, fillings, texts, parts;
  explicit Lists(const Drawing& d)
      : lines(DescribeList(d.lines)), fillings(DescribeList(d.fillings)),
        texts(DescribeList(d.texts)), parts(DescribeList(d.parts)) {}
  Lists Reversed() const {
    Lists r = *this;
    // Parts are written each after the parts it holds, which in this sample is the reverse of
    // their list order already: the list comes back as it was.
    for (auto* v : {&r.lines, &r.fillings, &r.texts}) std::reverse(v->begin(), v->end());
    return r;
  }
};

void ExpectSameLists(const Lists& a, const Lists& b) {
  EXPECT_EQ(a.lines, b.lines);
  EXPECT_EQ(a.fillings, b.fillings);
  EXPECT_EQ(a.texts, b.texts);
  EXPECT_EQ(a.parts, b.parts);
}

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
  ExpectSameLists(Lists(second.drawing), Lists(first.drawing).Reversed());
  EXPECT_EQ(second.drawing.scale, 50);
  EXPECT_EQ(second.drawing.step, 0.25);
  EXPECT_EQ(second.env.calls.front(), "origins");
  EXPECT_EQ(std::count(second.env.calls.begin(), second.env.calls.end(), "line"), 4);
  EXPECT_TRUE(second.env.errors.empty());

  ASSERT_EQ(second.Save(dir + "/B.drw"), 1);
  DrawingFixture third;
  ASSERT_EQ(third.Read(dir + "/B.drw"), 1);
  ExpectSameLists(Lists(third.drawing), Lists(first.drawing));
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
  // Saving the single-precision drawing again changes nothing more.
  ASSERT_EQ(second.Save(dir + "/B.drw"), 1);
  DrawingFixture third;
  ASSERT_EQ(third.Read(dir + "/B.drw"), 1);
  ExpectSameLists(Lists(third.drawing), Lists(second.drawing).Reversed());
  // Boundary and member references come through intact.
  const FillingElement* filling = third.drawing.fillings;
  ASSERT_EQ(filling->ls0(), 2u);
  EXPECT_EQ(filling->lines[0]->shape(), kShapeClosed);
  EXPECT_EQ(filling->lines[1]->shape(), kShapeArc);
  EXPECT_EQ(filling->lines[1]->boundary(), 1u);
  const PartElement* outer = third.drawing.parts;
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
}

} // namespace
} // namespace lumora
