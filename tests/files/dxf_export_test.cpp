#include "file_test_env.h"
#include "files/dxf_reader.h"
#include "files/dxf_tokens.h"
#include "files/dxf_writer.h"
#include "setup/setup.h"
#include "text/text_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <numbers>
#include <set>

namespace lumora {
namespace {

using test::DrawingFixture;

struct ExportFixture : DrawingFixture {
  Fonts fonts;
  TextScene scene{fonts, 1.0, MeasureStyle{}};
  Setup setup;

  int SaveDxf(const std::string& name) {
    scene.paperUnit = drawing.paperUnit;
    return WriteDxfFile(drawing, env, scene, name, &setup);
  }
  int ReadDxf(const std::string& name) {
    return ReadDxfFile(store, env, state, name, nullptr, Placement{}, false);
  }
};

std::string Points(const Point* points, std::uint32_t count) {
  std::string out;
  char buffer[64];
  for (std::uint32_t k = 0; k < count; ++k) {
    std::snprintf(buffer, sizeof buffer, " %.9g,%.9g", points[k].x, points[k].y);
    out += buffer;
  }
  return out;
}

std::string LineRow(const LineElement& l) {
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, "line shape %u layer %u colour %u width %u style %u sect %u",
                l.shape(), l.layer(), l.colour(), l.width(), l.style(), l.section());
  return buffer + Points(l.points, l.ps0());
}

// Everything the drawing file keeps, one row per element, in a fixed order.
std::vector<std::string> Rows(const Drawing& d) {
  std::vector<std::string> rows;
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, "scale %g step %g limits %g %g %g %g", d.scale, d.step,
                d.limits.xmin, d.limits.ymin, d.limits.xmax, d.limits.ymax);
  rows.emplace_back(buffer);
  for (const LineElement* l = d.lines; l != nullptr; l = l->next) rows.push_back(LineRow(*l));
  for (const FillingElement* f = d.fillings; f != nullptr; f = f->next) {
    std::snprintf(buffer, sizeof buffer,
                  "filling layer %u colour %u width %u style %u sect %u gap %g angle %d",
                  f->layer(), f->colour(), f->width(), f->style(), f->ldista(),
                  static_cast<double>(f->gap()), f->angle());
    std::string row = buffer;
    for (std::uint32_t k = 0; k < f->ls0(); ++k) row += " [" + LineRow(*f->lines[k]) + "]";
    rows.push_back(row);
  }
  for (const TextElement* t = d.texts; t != nullptr; t = t->next) {
    std::snprintf(buffer, sizeof buffer, "text %08x %08x angle %.9g", t->words[0], t->words[1],
                  static_cast<double>(t->angle()));
    rows.push_back(buffer + Points(t->points, t->pointCount()) + " " + t->text);
  }
  for (const PartElement* p = d.parts; p != nullptr; p = p->next) {
    std::snprintf(buffer, sizeof buffer, "part %s type %u layer %u at %g,%g members %zu %zu %zu",
                  p->name, p->type(), p->layer(), p->location.x, p->location.y,
                  test::NodeCount(p->lines), test::NodeCount(p->texts), test::NodeCount(p->parts));
    rows.emplace_back(buffer);
  }
  std::sort(rows.begin() + 1, rows.end());
  return rows;
}

TEST(DxfExport, EveryPropertyTheDrawingFileKeepsComesBack) {
  const std::string dir = test::ScratchDirectory("dxf_export");
  ExportFixture first;
  first.setup.layers.rows = {{"WALLS"}, {"Doors"}, {"7"}, {"WALLS"}, {"bad/name"}};
  Drawing& d = first.drawing;
  d.scale = 50;
  d.paperUnit = 50;
  d.step = 0.2;
  d.limits = Box{-120, -40, 14850, 10500};
  // Every style with a section, every width and colour, on named and numbered layers.
  std::vector<LineElement*> lines;
  for (std::uint32_t k = 0; k < 16; ++k) {
    const double y = 10.0 * k;
    lines.push_back(first.Line(kShapeOpen, {{0, y}, {100, y + 0.5}}, k % 7));
    lines.back()->SetStyle(k % 5);
    lines.back()->SetSection(k % 5 == 0 ? 0 : k);
    lines.back()->SetWidth(k);
    lines.back()->SetColour(15 - k);
  }
  LineElement* circle = first.Line(kShapeCircle, {{300, 300}, {310, 306}}, 2);
  LineElement* arc = first.Line(kShapeArc, {{300, 300}, {337, 301}, {299.5, 331}}, 2);
  // A rectangle of four lines around a hole, hatched dashed.
  std::vector<LineElement*> bounds{first.Line(kShapeOpen, {{0, 200}, {80, 200}}),
                                   first.Line(kShapeOpen, {{80, 200}, {80, 260}}),
                                   first.Line(kShapeOpen, {{0, 260}, {80, 260}}),
                                   first.Line(kShapeOpen, {{0, 200}, {0, 260}}), circle};
  FillingElement* hatched = first.Filling(bounds, 3.5, -30);
  hatched->SetStyle(2);
  hatched->SetLdista(6);
  hatched->SetWidth(3);
  hatched->SetColour(4);
  hatched->SetLayer(5);
  first.Text("Label", {{5, 5}}, 30, 0, 15);
  // A placed part on layer 3 whose members lie on layer 0, inside a part of another type.
  PartElement* outer = first.store.AddPart("Frame", 2, 4);
  PartElement* placed = first.store.AddPart("Door", 1, 3);
  placed->location = {40.5, 20.25};
  first.store.AddMember(placed, first.Line(kShapeOpen, {{40.5, 20.25}, {60, 20.25}}, 0));
  first.store.AddMember(placed, arc);
  first.store.AddMember(outer, placed);
  first.store.AddMember(outer, lines[3]);
  ASSERT_EQ(first.SaveDxf(dir + "/all.dxf"), 1);
  const std::string dxf = test::Slurp(dir + "/all.dxf");
  EXPECT_NE(dxf.find("\nWALLS\n"), std::string::npos);
  EXPECT_NE(dxf.find("\nDoors\n"), std::string::npos);
  EXPECT_NE(dxf.find("\nDASHED6\n"), std::string::npos);

  ExportFixture second;
  ASSERT_EQ(second.ReadDxf(dir + "/all.dxf"), 1);
  EXPECT_TRUE(second.env.errors.empty()) << second.env.errors.front();
  const std::vector<std::string> before = Rows(first.drawing);
  const std::vector<std::string> after = Rows(second.drawing);
  EXPECT_EQ(before.size(), after.size());
  for (std::size_t k = 0; k < std::min(before.size(), after.size()); ++k)
    EXPECT_EQ(before[k], after[k]);
}

} // namespace
} // namespace lumora

namespace lumora {
namespace {

TEST(DxfExport, ASaveThatCannotKeepEverythingSaysWhatAndLeavesTheDrawingUnsaved) {
  const std::string dir = test::ScratchDirectory("dxf_export_lossy");
  ExportFixture first;
  LineElement* side = first.Line(kShapeOpen, {{0, 0}, {10, 0}});
  first.Line(kShapeOpen, {{0, 10}, {10, 10}});
  // A text longer than a DXF string and a hatch of a gone line: both kept whole.
  const std::string longText(700, 'x');
  first.Text(longText + "%%d", {{5, 5}});
  ASSERT_EQ(first.SaveDxf(dir + "/whole.dxf"), 1);
  EXPECT_EQ(first.drawing.changes, 0u);
  ExportFixture whole;
  ASSERT_EQ(whole.ReadDxf(dir + "/whole.dxf"), 1) << whole.env.errors.front();
  ASSERT_NE(whole.drawing.texts, nullptr);
  EXPECT_EQ(whole.drawing.texts->text, longText + "%%d");

  // A text of two lines and a line that is no arc are lost; a filling's empty entry, which ends
  // one loop and begins the next, is kept.
  first.Text("two\nlines", {{5, 20}});
  FillingElement* filling = first.Filling({side, first.drawing.lines}, 2, 0);
  filling->lines[1] = nullptr;
  first.Line(kShapeArc, {{0, 0}, {1, 0}});
  const std::uint32_t changes = first.drawing.changes;
  ASSERT_GT(changes, 0u);
  ASSERT_EQ(first.SaveDxf(dir + "/lossy.dxf"), 2);
  EXPECT_EQ(first.drawing.changes, changes);
  ASSERT_EQ(first.env.errors.size(), 1u);
  EXPECT_EQ(first.env.errors.front(), "Left out of DXF: 1 line, 1 text, drawing not saved !");
  // What was written still reads, the two lines as one.
  ExportFixture back;
  ASSERT_EQ(back.ReadDxf(dir + "/lossy.dxf"), 1);
  EXPECT_EQ(test::NodeCount(back.drawing.texts), 2u);
  ASSERT_NE(back.drawing.fillings, nullptr);
  ASSERT_EQ(back.drawing.fillings->ls0(), 2u);
  EXPECT_NE(back.drawing.fillings->lines[0], nullptr);
  EXPECT_EQ(back.drawing.fillings->lines[1], nullptr);
  first.env.language = Language::kFinnish;
  first.env.errors.clear();
  ASSERT_EQ(first.SaveDxf(dir + "/lossy.dxf"), 2);
  EXPECT_EQ(first.env.errors.front(),
            "DXF:st\xE4 j\xE4i pois: 1 viiva, 1 teksti, piirustusta ei tallennettu !");
}

} // namespace
} // namespace lumora

namespace lumora {
namespace {

// What the drawing holds beyond the everyday comes back as it was: a gap of nothing, angles
// beyond a turn, part names that differ only in case, an unnamed group, a text's slant and
// font.
TEST(DxfExport, UnusualValuesComeBackAsTheyWere) {
  const std::string dir = test::ScratchDirectory("dxf_export_unusual");
  ExportFixture first;
  const auto square = [&](double x) {
    return std::vector<LineElement*>{
        first.Line(kShapeClosed, {{x, 0}, {x + 10, 0}, {x + 10, 10}, {x, 10}})};
  };
  first.Filling(square(0), 0, 400);
  first.Filling(square(20), -2, -400);
  first.Filling(square(40), 1.5, 32767);
  first.Filling(square(60), 2, 90);
  TextElement* slanted = first.Text("Slant", {{5, 50}}, 30, 0, 400.5);
  slanted->SetSlant(2);
  slanted->SetFont(1);
  first.Text("Back", {{5, 80}}, 30, 0, -725.25);
  for (const char* name : {"Door", "DOOR", "door", ""}) {
    PartElement* part = first.store.AddPart(name, 1, 0);
    first.store.AddMember(part, first.Line(kShapeOpen, {{0, 100}, {5, 100}}));
  }
  ASSERT_EQ(first.SaveDxf(dir + "/unusual.dxf"), 1);
  // Other programs see unique block names, the slant, and the upright hatch's lines where the
  // program draws them: from one gap inside the square's right side.
  const std::string bytes = test::Slurp(dir + "/unusual.dxf");
  DxfPairs pairs(bytes);
  int code = 0;
  std::string_view value;
  std::string entity;
  std::set<std::string> blocks;
  std::vector<double> bases;
  double oblique = 0;
  std::vector<std::string> styles;
  while (pairs.Next(code, value)) {
    if (code == 0) entity = value;
    if (entity == "BLOCK" && code == 2) {
      std::string name(value);
      for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      EXPECT_TRUE(blocks.insert(name).second) << name;
    }
    if (entity == "HATCH" && (code == 43 || code == 44)) bases.push_back(DxfReal(value));
    if (entity == "TEXT" && code == 51) oblique = DxfReal(value);
    if (entity == "TEXT" && code == 7) styles.emplace_back(value);
  }
  EXPECT_EQ(styles, (std::vector<std::string>{"FONT1", "Standard"}));
  EXPECT_EQ(blocks.size(), 6u); // with the two spaces
  EXPECT_NEAR(std::tan(oblique * std::numbers::pi / 180), 0.4, 1e-12);
  ASSERT_EQ(bases.size(), 8u);
  EXPECT_NEAR(bases[6], 68, 1e-9);
  ExportFixture second;
  ASSERT_EQ(second.ReadDxf(dir + "/unusual.dxf"), 1) << second.env.errors.front();
  slanted->SetFont(0); // the reading store has loaded one font only
  const std::vector<std::string> before = Rows(first.drawing);
  const std::vector<std::string> after = Rows(second.drawing);
  EXPECT_EQ(before, after);
}

} // namespace
} // namespace lumora
