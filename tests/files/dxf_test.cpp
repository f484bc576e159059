#include "file_test_env.h"
#include "files/dxf_reader.h"
#include "files/dxf_writer.h"
#include "text/text_drawing.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <gtest/gtest.h>

namespace lumora {
namespace {

using test::DrawingFixture;

const std::string kSamples = LUMORA_SOURCE_DIR "/tests/files/dxf/";

struct DxfFixture : DrawingFixture {
  Fonts fonts; // none loaded: texts lay out without glyphs
  TextScene scene{fonts, 1.0, MeasureStyle{}};

  int SaveDxf(const std::string& name, WriteFunction write = {}) {
    scene.paperUnit = drawing.paperUnit;
    return WriteDxfFile(drawing, env, scene, name, nullptr, std::move(write));
  }
  int ReadDxf(const std::string& name) {
    return ReadDxfFile(store, env, state, name, nullptr, Placement{}, false);
  }
  int ReadText(const std::string& text) {
    return ReadDxfBytes(store, env, std::span<const char>(text.data(), text.size()), nullptr,
                        Placement{}, false);
  }
};

LineElement* Styled(DrawingFixture& f, std::uint32_t shape, std::vector<Point> points,
                    std::uint32_t layer, std::uint32_t colour) {
  LineElement* line = f.Line(shape, std::move(points), layer);
  line->SetColour(colour);
  return line;
}

bool SamePoints(const LineElement& a, const LineElement& b) {
  if (a.shape() != b.shape() || a.ps0() != b.ps0()) return false;
  for (std::uint32_t k = 0; k < a.ps0(); ++k)
    if (std::fabs(a.points[k].x - b.points[k].x) > 1e-6 ||
        std::fabs(a.points[k].y - b.points[k].y) > 1e-6)
      return false;
  return true;
}

const LineElement* Twin(const Drawing& drawing, const LineElement& line) {
  for (const LineElement* l = drawing.lines; l != nullptr; l = l->next)
    if (SamePoints(*l, line)) return l;
  return nullptr;
}

const PartElement* PartNamed(const Drawing& drawing, std::string_view name) {
  for (const PartElement* p = drawing.parts; p != nullptr; p = p->next)
    if (name == p->name) return p;
  return nullptr;
}

TEST(DxfRoundTrip, EveryElementKindComesBackInPlaceWithItsLayerAndColour) {
  const std::string dir = test::ScratchDirectory("dxf_round_trip");
  DxfFixture first;
  first.drawing.scale = 20;
  first.drawing.paperUnit = 20;
  first.drawing.limits = Box{-100, -50, 3900, 5500};
  LineElement* open = Styled(first, kShapeOpen, {{1.1, 2.2}, {3.3, 4.4}, {5.000001, 6.6}}, 3, 5);
  LineElement* closed = Styled(first, kShapeClosed, {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 4, 2);
  LineElement* arc = Styled(first, kShapeArc, {{10, 10}, {15, 10}, {10, 15}}, 4, 7);
  Styled(first, kShapeCircle, {{50.123456789, 50}, {60, 50}}, 0, 0);
  first.Filling({closed, arc}, 2.5, 45);
  TextElement* label = first.Text("Hello \xE4", {{7.7, 8.8}}, 30, 0, 30);
  first.Text("12.5", {{20, 20}, {0, 0}, {12.5, 0}}, 25, 1, 0, 2);
  first.Text("#gap#50%%d", {{30, 30}}); // shown as "50%%d", which other programs read as 50°
  PartElement* inner = first.store.AddPart("Inner", 1, 5);
  first.store.AddMember(inner, arc);
  PartElement* outer = first.store.AddPart("Outer", 1, 6);
  first.store.AddMember(outer, open);
  first.store.AddMember(outer, label);
  first.store.AddMember(outer, inner);
  ASSERT_EQ(first.SaveDxf(dir + "/all.dxf"), 1);

  DxfFixture second;
  second.Line(kShapeOpen, {{-5, -5}, {-6, -6}}); // replaced by the read
  ASSERT_EQ(second.ReadDxf(dir + "/all.dxf"), 1) << test::Slurp(dir + "/all.dxf").substr(0, 200);
  EXPECT_TRUE(second.env.errors.empty()) << second.env.errors.front();
  const Drawing& d = second.drawing;
  EXPECT_EQ(test::ListOf(d.lines).size(), 4u);
  const auto texts = test::ListOf(d.texts);
  ASSERT_EQ(texts.size(), 3u);
  const auto find = [&texts](std::string_view value) {
    const auto it = std::find_if(texts.begin(), texts.end(),
                                 [value](const TextElement* t) { return value == t->text; });
    return it == texts.end() ? nullptr : *it;
  };
  EXPECT_EQ(test::ListOf(d.parts).size(), 2u);
  // A file this program wrote keeps its scale and its limits.
  EXPECT_EQ(d.scale, 20);
  EXPECT_EQ(d.limits.xmin, -100);
  EXPECT_EQ(d.limits.ymax, 5500);
  for (const LineElement* line : test::ListOf(first.drawing.lines)) {
    const LineElement* twin = Twin(d, *line);
    ASSERT_NE(twin, nullptr) << "shape " << line->shape();
    EXPECT_EQ(twin->layer(), line->layer());
    EXPECT_EQ(twin->colour(), line->colour());
  }
  // The filling shares the drawn lines instead of bringing copies of its boundary.
  ASSERT_NE(d.fillings, nullptr);
  EXPECT_EQ(d.fillings->next, nullptr);
  EXPECT_FLOAT_EQ(d.fillings->gap(), 2.5f);
  EXPECT_EQ(d.fillings->angle(), 45);
  ASSERT_EQ(d.fillings->ls0(), 2u);
  EXPECT_EQ(d.fillings->lines[0], Twin(d, *closed));
  EXPECT_EQ(d.fillings->lines[1], Twin(d, *arc));
  // Texts keep their record: height, angle, measure kind and measure points.
  EXPECT_NE(find("#gap#50%%d"), nullptr);
  const TextElement* text = find("Hello \xE4");
  const TextElement* measure = find("12.5");
  ASSERT_NE(text, nullptr);
  ASSERT_NE(measure, nullptr);
  EXPECT_EQ(text->height(), 30u);
  EXPECT_FLOAT_EQ(text->angle(), 30.0f);
  EXPECT_DOUBLE_EQ(text->points[0].x, 7.7);
  EXPECT_EQ(measure->mitta(), 1u);
  ASSERT_EQ(measure->pointCount(), 3u);
  EXPECT_EQ(measure->points[2].x, 12.5);
  // Parts keep their names and nesting.
  const PartElement* outerRead = PartNamed(d, "Outer");
  const PartElement* innerRead = PartNamed(d, "Inner");
  ASSERT_NE(outerRead, nullptr);
  ASSERT_NE(innerRead, nullptr);
  ASSERT_NE(outerRead->parts, nullptr);
  EXPECT_EQ(outerRead->parts->element, innerRead);
  EXPECT_EQ(innerRead->nested(), 1u);
  EXPECT_EQ(test::NodeCount(outerRead->lines), 1u);
  EXPECT_EQ(test::NodeCount(outerRead->texts), 1u);
}

TEST(DxfRead, FilesOfOtherProgramsMapOntoTheElements) {
  DxfFixture r12;
  ASSERT_EQ(r12.ReadDxf(kSamples + "r12_sample.dxf"), 1);
  const Drawing& d = r12.drawing;
  // The bulged polyline: its straight runs stay lines, the bulge becomes a half circle.
  LineElement half;
  half.SetShape(kShapeArc);
  Point arcPoints[] = {{90, 70}, {90, 40}, {90, 100}};
  half.SetPs0(3);
  half.points = arcPoints;
  const LineElement* bulge = Twin(d, half);
  ASSERT_NE(bulge, nullptr);
  EXPECT_EQ(bulge->layer(), 1u);  // WALLS, the first layer used
  EXPECT_EQ(bulge->colour(), 2u); // the layer's blue
  // Blocks are parts, a nested insert a nested part, and an insert's scale reaches its circles.
  EXPECT_EQ(test::ListOf(d.parts).size(), 4u);
  const PartElement* bolt = PartNamed(d, "BOLT");
  ASSERT_NE(bolt, nullptr);
  EXPECT_EQ(test::NodeCount(bolt->parts), 1u);
  bool scaledCircle = false;
  for (const LineElement* l : test::ListOf(d.lines))
    scaledCircle = scaledCircle || (l->shape() == kShapeCircle && l->points[0].x == 130 &&
                                    std::fabs(Distance(l->points[0], l->points[1]) - 16) < 1e-9);
  EXPECT_TRUE(scaledCircle);
  const TextElement* diameter = test::ListOf(d.texts).back();
  EXPECT_STREQ(diameter->text, "R12 \xF8"
                               "20");
  EXPECT_EQ(diameter->layer(), 2u); // NOTES came second
  // The sheet with its margin fits at 1:2, where the 8 units high text is 4 mm high.
  EXPECT_EQ(d.scale, 2);
  EXPECT_EQ(diameter->height(), 40u);
  EXPECT_EQ(r12.env.errors, std::vector<std::string>{"1 POINT not read; layers WALLS 1, NOTES 2"});

  DxfFixture r2000;
  ASSERT_EQ(r2000.ReadDxf(kSamples + "r2000_sample.dxf"), 1);
  const Drawing& e = r2000.drawing;
  ASSERT_NE(e.fillings, nullptr);
  EXPECT_FLOAT_EQ(e.fillings->gap(), 4.0f);
  EXPECT_EQ(e.fillings->angle(), 30);
  ASSERT_EQ(e.fillings->ls0(), 1u);
  EXPECT_EQ(e.fillings->lines[0]->shape(), kShapeClosed);
  EXPECT_EQ(e.fillings->lines[0]->colour(), 4u); // cyan, as the hatch
  EXPECT_STREQ(e.texts->text, "R2000 plan");
  EXPECT_EQ(test::ListOf(e.lines).back()->width(), 5u); // the frame's layer weight 0.50 mm
  bool redEllipse = false;
  for (const LineElement* l : test::ListOf(e.lines))
    redEllipse = redEllipse || (l->shape() == kShapeClosed && l->ps0() > 20 && l->colour() == 5);
  EXPECT_TRUE(redEllipse);
  // The extents (10..190 x 10..270) with a twentieth of their size each side, out to whole
  // units: the drawing sits inside its sheet.
  EXPECT_EQ(e.limits.xmin, 1);
  EXPECT_EQ(e.limits.ymax, 283);
}

std::string Wrap(const std::string& entities, const std::string& blocks = "") {
  return "0\nSECTION\n2\nBLOCKS\n" + blocks + "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n" + entities +
         "0\nENDSEC\n0\nEOF\n";
}

std::string Block(const std::string& name, const std::string& inside) {
  return "0\nBLOCK\n2\n" + name + "\n70\n0\n10\n0\n20\n0\n" + inside + "0\nENDBLK\n";
}

std::string Insert(const std::string& name) {
  return "0\nINSERT\n2\n" + name + "\n10\n1\n20\n1\n";
}

TEST(DxfRead, BadFilesAreRefusedAndTheDrawingStaysAsItWas) {
  const std::string dir = test::ScratchDirectory("dxf_bad");
  DxfFixture maker;
  maker.Line(kShapeClosed, {{0, 0}, {10, 0}, {10, 10}});
  ASSERT_EQ(maker.SaveDxf(dir + "/whole.dxf"), 1);
  const std::string whole = test::Slurp(dir + "/whole.dxf");
  std::string deep = Block("B0", "0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n");
  for (int k = 1; k < 40; ++k)
    deep += Block("B" + std::to_string(k), Insert("B" + std::to_string(k - 1)));
  // A chain far deeper than any stack could follow block by block.
  constexpr int kChain = 100000;
  std::string chain = Block("C0", "0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n");
  for (int k = 1; k < kChain; ++k)
    chain += Block("C" + std::to_string(k), Insert("C" + std::to_string(k - 1)));
  const struct {
    const char* what;
    std::string text;
    const char* message;
  } cases[] = {
      {"truncated", whole.substr(0, whole.size() / 2), "Reading file not succeeded !"},
      {"no end", Wrap("").substr(0, Wrap("").size() - 7), "Reading file not succeeded !"},
      {"huge count", Wrap("0\nLWPOLYLINE\n90\n2000000000\n10\n0\n20\n0\n"),
       "Reading file not succeeded !"},
      {"negative count", Wrap("0\nLWPOLYLINE\n90\n-5\n"), "Reading file not succeeded !"},
      {"long line", Wrap("0\nLINE\n8\n" + std::string(5000, 'x') + "\n"),
       "A line of the file is too long, file not read !"},
      {"not a code", "SECTION\n0\n", "Reading file not succeeded !"},
      {"self insert", Wrap(Insert("A"), Block("A", Insert("A"))),
       "A block inserts itself, file not read !"},
      {"mutual insert", Wrap(Insert("A"), Block("A", Insert("B")) + Block("B", Insert("A"))),
       "A block inserts itself, file not read !"},
      {"deep", Wrap(Insert("B39"), deep), "Blocks are nested too deeply, file not read !"},
      {"chain", Wrap(Insert("C" + std::to_string(kChain - 1)), chain),
       "Blocks are nested too deeply, file not read !"},
      // A grid of 30000 x 30000 placements of a part of one line.
      {"grid",
       Wrap("0\nINSERT\n2\nA\n70\n30000\n71\n30000\n10\n0\n20\n0\n",
            Block("A", "0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n")),
       "The file would make 900000000 elements and 900000000 block placements, too many !"},
  };
  for (const auto& c : cases) {
    DxfFixture f;
    f.Line(kShapeOpen, {{1, 1}, {2, 2}});
    const Box before = f.drawing.limits;
    EXPECT_EQ(f.ReadText(c.text), 0) << c.what;
    EXPECT_EQ(f.env.errors, std::vector<std::string>{c.message}) << c.what;
    EXPECT_EQ(test::ListOf(f.drawing.lines).size(), 1u) << c.what;
    EXPECT_EQ(f.drawing.limits.xmax, before.xmax) << c.what;
  }
  // Numbers beyond any drawing are passed over and reported, the rest is read.
  DxfFixture f;
  EXPECT_EQ(f.ReadText(Wrap("0\nLINE\n10\n1e999\n20\n0\n11\n1\n21\n1\n0\nLINE\n10\n0\n20\n0\n11\n"
                            "1\n21\n1\n")),
            1);
  EXPECT_EQ(test::ListOf(f.drawing.lines).size(), 1u);
  EXPECT_EQ(f.env.errors, std::vector<std::string>{"1 LINE not read"});
}

TEST(DxfWrite, AFailedSaveKeepsThePreviousFile) {
  const std::string dir = test::ScratchDirectory("dxf_failed_save");
  {
    std::ofstream old(dir + "/keep.dxf");
    old << "previous";
  }
  DxfFixture f;
  f.Line(kShapeOpen, {{0, 0}, {1, 1}});
  std::size_t budget = 2000;
  const auto failing = [&budget](const void* data, std::size_t size, std::FILE* file) {
    if (size > budget) return std::size_t{0};
    budget -= size;
    return std::fwrite(data, 1, size, file);
  };
  // The safe writer buffers; a large enough drawing reaches the failing write before the end.
  for (int k = 0; k < 3000; ++k) f.Line(kShapeOpen, {{double(k), 0}, {double(k), 1}});
  f.drawing.changes = 3;
  EXPECT_EQ(f.SaveDxf(dir + "/keep.dxf", failing), 0);
  EXPECT_EQ(test::Slurp(dir + "/keep.dxf"), "previous");
  EXPECT_EQ(f.drawing.changes, 3u);
  EXPECT_EQ(f.env.errors, std::vector<std::string>{"Writing to file not succeeded !"});
}

} // namespace
} // namespace lumora
