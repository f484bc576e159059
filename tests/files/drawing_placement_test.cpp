#include "file_test_env.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

using test::DrawingFixture;

constexpr double kNear = 1e-6;

// Writes the part "Bolt": a line, a quarter arc, two fillings, a text and a measure, and a
// nested part "Nut" with a line of its own. Drawing scale 100.
std::string WriteBolt(const std::string& dir, const std::string& name = "Bolt") {
  DrawingFixture f;
  f.drawing.scale = 100;
  PartElement* bolt = f.store.AddPart("Bolt", 1, 0);
  PartElement* nut = f.store.AddPart("Nut", 1, 0);
  f.store.AddMember(nut, f.Line(kShapeOpen, {{0, 5}, {0, 6}}));
  f.store.AddMember(bolt, nut);
  LineElement* edge = f.Line(kShapeOpen, {{0, 0}, {10, 0}});
  LineElement* arc = f.Line(kShapeArc, {{0, 0}, {10, 0}, {0, 10}});
  f.store.AddMember(bolt, edge);
  f.store.AddMember(bolt, arc);
  f.store.AddMember(bolt, f.Filling({edge, arc}, 2, 30));
  f.store.AddMember(bolt, f.Filling({edge}, 3, 0));
  f.store.AddMember(bolt, f.Text("M10", {{1, 1}}, 300, 0, 10, 1));
  f.store.AddMember(bolt, f.Text("L=12.5", {{5, 5}, {0, 0}, {12.5, 0}}, 20, 1, 0, 2));
  const std::string path = dir + "/" + name;
  EXPECT_EQ(f.Save(path, bolt), 1);
  return path;
}

struct Placed {
  DrawingFixture f;
  PartElement* container = nullptr;
  int result = 0;

  Placed(const std::string& path, Placement at, double drawingScale = 100) {
    f.drawing.scale = drawingScale;
    container = f.store.AddPart("Bolt", 1, 0);
    result = f.Read(path, container, at);
  }
  const LineElement* LineWithShape(std::uint32_t shape, std::uint32_t ps0) const {
    for (const LineElement* l = f.drawing.lines; l != nullptr; l = l->next)
      if (l->shape() == shape && l->ps0() == ps0) return l;
    return nullptr;
  }
  const TextElement* Text(std::uint32_t mitta) const {
    for (const TextElement* t = f.drawing.texts; t != nullptr; t = t->next)
      if (t->mitta() == mitta) return t;
    return nullptr;
  }
  const FillingElement* Filling(std::uint32_t ls0) const {
    for (const FillingElement* x = f.drawing.fillings; x != nullptr; x = x->next)
      if (x->ls0() == ls0) return x;
    return nullptr;
  }
};

void ExpectPoint(const Point& p, double x, double y) {
  EXPECT_NEAR(p.x, x, kNear);
  EXPECT_NEAR(p.y, y, kNear);
}

TEST(PartPlacement, UnequalScalesStretchLinesButKeepArcsRoundAndRewriteMeasures) {
  const std::string path = WriteBolt(test::ScratchDirectory("place_scale"));
  Placed placed(path, {100, 200, 2, 1, 0});
  ASSERT_EQ(placed.result, 1);
  const LineElement* edge = placed.LineWithShape(kShapeOpen, 2);
  ASSERT_NE(edge, nullptr);
  ExpectPoint(edge->points[1], 120, 200);
  const LineElement* arc = placed.LineWithShape(kShapeArc, 3);
  ASSERT_NE(arc, nullptr);
  ExpectPoint(arc->points[1], 110, 200); // radius 10 x min(|2|, |1|)
  ExpectPoint(arc->points[2], 100, 210);
  EXPECT_FLOAT_EQ(placed.Filling(2)->gap(), 4); // slanted hatch: gap x |sx|
  EXPECT_FLOAT_EQ(placed.Filling(1)->gap(), 3); // horizontal hatch: gap x |sy|
  EXPECT_EQ(placed.Text(0)->height(), 450u);    // 300 x (2 + 1) / 2
  EXPECT_STREQ(placed.Text(1)->text, "L=25");   // the measured length along the text
}

TEST(PartPlacement, MirrorAndRotationTurnArcsHatchesAndTexts) {
  const std::string path = WriteBolt(test::ScratchDirectory("place_mirror"));
  Placed placed(path, {0, 0, -1, 1, 90});
  ASSERT_EQ(placed.result, 1);
  const LineElement* arc = placed.LineWithShape(kShapeArc, 3);
  ASSERT_NE(arc, nullptr);
  // The quarter from 0 to 90 degrees, mirrored and turned, runs from 180 to 270 degrees.
  ExpectPoint(arc->points[1], -10, 0);
  ExpectPoint(arc->points[2], 0, -10);
  EXPECT_EQ(placed.Filling(2)->angle(), 60); // -30 + 90
  EXPECT_FLOAT_EQ(placed.Filling(2)->gap(), 2);
  const TextElement* text = placed.Text(0);
  EXPECT_EQ(text->positioning(), 3u); // lower left becomes lower right
  EXPECT_FLOAT_EQ(text->angle(), 80); // -10 + 90
  EXPECT_FLOAT_EQ(placed.Text(1)->angle(), 90);
  EXPECT_STREQ(placed.Text(1)->text, "L=12.5");
  ExpectPoint(text->points[0], -1, -1);
}

TEST(PartPlacement, TextHeightsFollowTheScaleRatioWithinTheirField) {
  const std::string path = WriteBolt(test::ScratchDirectory("place_height"));
  EXPECT_EQ(Placed(path, {}, 50).Text(0)->height(), 511u); // 300 x 100 / 50 = 600
  EXPECT_EQ(Placed(path, {}, 1e6).Text(0)->height(), 1u);  // never 0
}

TEST(PartPlacement, ADrawingFileAddedAsAPartKeepsItsMeasureValues) {
  const std::string dir = test::ScratchDirectory("place_drw");
  Placed fromPart(WriteBolt(dir, "Bolt"), {0, 0, 2, 1, 0});
  Placed fromDrawing(WriteBolt(dir, "Bolt.drw"), {0, 0, 2, 1, 0});
  EXPECT_STREQ(fromPart.Text(1)->text, "L=25");
  EXPECT_STREQ(fromDrawing.Text(1)->text, "L=12.5");
}

TEST(PartPlacement, MembersOfPartsInTheFileStayOutOfTheContainer) {
  const std::string dir = test::ScratchDirectory("place_members");
  {
    DrawingFixture f;
    f.Line(kShapeOpen, {{0, 0}, {1, 0}}); // free
    PartElement* part = f.store.AddPart("P", 1, 0);
    PartElement* nested = f.store.AddPart("N", 1, 0);
    f.store.AddMember(part, f.Line(kShapeOpen, {{0, 1}, {1, 1}}));
    f.store.AddMember(nested, f.Line(kShapeOpen, {{0, 2}, {1, 2}}));
    f.store.AddMember(part, nested);
    ASSERT_EQ(f.Save(dir + "/Whole.drw"), 1);
  }
  Placed placed(dir + "/Whole.drw", {});
  ASSERT_EQ(placed.result, 1);
  const PartElement* c = placed.container;
  EXPECT_EQ(test::NodeCount(c->lines), 1u);
  ASSERT_EQ(test::NodeCount(c->parts), 1u);
  const PartElement* p = c->parts->element;
  EXPECT_STREQ(p->name, "P");
  EXPECT_EQ(test::NodeCount(p->lines), 1u);
  ASSERT_EQ(test::NodeCount(p->parts), 1u);
  EXPECT_EQ(test::NodeCount(p->parts->element->lines), 1u);
  EXPECT_EQ(p->nested(), 1u); // now held by the container
}

} // namespace
} // namespace lumora
