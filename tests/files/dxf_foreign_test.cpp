// Foreign DXF files as drafters' programs write them: block members that follow the layer of
// their insert, entities seen from below, what cannot be drawn, files that unfold too far, and a
// read that runs out of memory.
#include "file_test_env.h"
#include "files/dxf_reader.h"
#include "text/font.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace lumora {
namespace {

std::string File(const std::string& entities, const std::string& blocks = "",
                 const std::string& header = "", const std::string& tables = "") {
  return "0\nSECTION\n2\nHEADER\n" + header + "0\nENDSEC\n0\nSECTION\n2\nTABLES\n" + tables +
         "0\nENDSEC\n0\nSECTION\n2\nBLOCKS\n" + blocks + "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n" +
         entities + "0\nENDSEC\n0\nEOF\n";
}

std::string Block(const std::string& name, const std::string& inside) {
  return "0\nBLOCK\n2\n" + name + "\n70\n0\n10\n0\n20\n0\n" + inside + "0\nENDBLK\n";
}

std::string Line(double x1, double y1, double x2, double y2, const std::string& more = "") {
  return "0\nLINE\n" + more + "10\n" + std::to_string(x1) + "\n20\n" + std::to_string(y1) +
         "\n11\n" + std::to_string(x2) + "\n21\n" + std::to_string(y2) + "\n";
}

int Read(test::DrawingFixture& f, const std::string& text, PartElement* container = nullptr) {
  return ReadDxfBytes(f.store, f.env, std::span<const char>(text.data(), text.size()), container,
                      Placement{}, false);
}

// The lines, oldest first.
std::vector<LineElement*> Lines(const Drawing& d) {
  std::vector<LineElement*> lines = test::ListOf(d.lines);
  return {lines.rbegin(), lines.rend()};
}

TEST(DxfForeign, BlockMembersAndEntitiesSeenFromBelowReadAsTheFileMeansThem) {
  // A member on layer 0 drawn "by layer", placed on RED (red, dashed), is red and dashed, as is
  // a line on "red": layer names are the same in either case.
  const std::string layers = "0\nTABLE\n2\nLTYPE\n0\nLTYPE\n2\nDASHED\n70\n0\n3\n-\n72\n65\n73\n2\n"
                             "40\n10\n49\n6\n49\n-4\n0\nENDTAB\n0\nTABLE\n2\nLAYER\n0\nLAYER\n2\n"
                             "RED\n70\n0\n62\n1\n6\nDASHED\n0\nENDTAB\n";
  test::DrawingFixture byLayer;
  ASSERT_EQ(
      Read(byLayer, File("0\nINSERT\n8\nRED\n2\nB\n10\n0\n20\n0\n" + Line(0, 5, 10, 5, "8\nred\n"),
                         Block("B", Line(0, 0, 10, 0, "8\n0\n62\n256\n6\nBYLAYER\n")), "", layers)),
      1);
  const std::vector<LineElement*> both = Lines(byLayer.drawing);
  ASSERT_EQ(both.size(), 2u);
  EXPECT_EQ(both[0]->layer(), both[1]->layer());
  EXPECT_EQ(both[0]->colour(), both[1]->colour());
  EXPECT_EQ(both[0]->style(), both[1]->style());
  EXPECT_NE(both[0]->style(), 1u);

  // Seen from below (extrusion 0,0,-1): a grid of inserts steps to -x; a TEXT and an MTEXT
  // stay readable where the file puts them, their justification on the other side.
  const std::string below = "210\n0\n220\n0\n230\n-1\n";
  test::DrawingFixture mirrored;
  ASSERT_EQ(Read(mirrored,
                 File("0\nINSERT\n2\nC\n10\n0\n20\n0\n70\n3\n44\n10\n" + below +
                          "0\nTEXT\n10\n10\n20\n0\n40\n5\n50\n30\n1\nEXT\n" + below +
                          "0\nMTEXT\n10\n10\n20\n20\n40\n5\n71\n1\n1\nMEXT\n" + below,
                      "0\nBLOCK\n2\nC\n70\n0\n10\n0\n20\n0\n" + Line(0, 0, 1, 0) + "0\nENDBLK\n")),
            1);
  std::vector<double> starts;
  for (const LineElement* line : Lines(mirrored.drawing)) starts.push_back(line->points[0].x);
  EXPECT_EQ(starts, (std::vector<double>{0, -10, -20}));
  const std::vector<TextElement*> texts = test::ListOf(mirrored.drawing.texts);
  ASSERT_EQ(texts.size(), 2u);
  const TextElement& mtext = *texts[0];
  const TextElement& text = *texts[1];
  EXPECT_EQ(text.points[0].x, -10);
  EXPECT_NEAR(text.angle(), -30, 1e-9);
  EXPECT_EQ(text.positioning(), 3u); // left on the baseline becomes right
  EXPECT_EQ(mtext.points[0].x, 10);  // an MTEXT's place is in world coordinates
  EXPECT_NEAR(mtext.angle(), 0, 1e-9);
  EXPECT_EQ(mtext.positioning(), 9u); // top left becomes top right

  // A text in a block placed mirrored reads the way the program mirrors its own texts.
  test::DrawingFixture flipped;
  ASSERT_EQ(Read(flipped, File("0\nINSERT\n2\nT\n10\n0\n20\n0\n41\n-1\n",
                               Block("T", "0\nTEXT\n10\n1\n20\n0\n40\n5\n50\n30\n1\nT\n"))),
            1);
  ASSERT_NE(flipped.drawing.texts, nullptr);
  EXPECT_NEAR(flipped.drawing.texts->angle(), -30, 1e-9);
  EXPECT_EQ(flipped.drawing.texts->positioning(), 3u);
}

TEST(DxfForeign, AnAddedFileHidesItsOffLayersButNotTheDrawingsOwn) {
  // The drawing draws on 2 and 4 and hides 3: new names take other numbers; the file's frozen and
  // unplotted layers that keep those numbers by name stay in sight, and the report says so
  // rather than that they were hidden. The drawing's own hidden layer 5 stays hidden.
  const std::string layers = "0\nTABLE\n2\nLAYER\n0\nLAYER\n2\nOFFL\n70\n0\n62\n-7\n0\nLAYER\n"
                             "2\n2\n70\n1\n62\n7\n0\nLAYER\n2\nNOTES\n70\n0\n62\n7\n290\n0\n"
                             "0\nLAYER\n2\n4\n70\n0\n62\n7\n290\n0\n0\nLAYER\n2\n5\n70\n0\n"
                             "62\n7\n290\n0\n0\nENDTAB\n";
  test::DrawingFixture f;
  f.Line(kShapeOpen, {{0, 0}, {1, 1}}, 2);
  f.Line(kShapeOpen, {{0, 0}, {1, 1}}, 4);
  f.Line(kShapeOpen, {{0, 0}, {1, 1}}, 5);
  f.drawing.layerVisible[5] = 0;
  f.drawing.layerVisible[3] = 0; // hidden, nothing on it
  PartElement* container = f.store.AddPart("Here", 1, 0);
  ASSERT_EQ(Read(f,
                 File(Line(0, 0, 1, 0, "8\nOFFL\n") + Line(0, 1, 1, 1, "8\n2\n") +
                          Line(0, 2, 1, 2, "8\nNOTES\n") + Line(0, 3, 1, 3, "8\n4\n") +
                          Line(0, 4, 1, 4, "8\n5\n"),
                      "", "", layers),
                 container),
            1);
  EXPECT_EQ(f.env.errors,
            std::vector<std::string>{
                "1 layer not plotted left shown, its number in use (4), 2 layer not plotted "
                "read as hidden (NOTES, 5), 1 layer off or frozen left shown, its number in use "
                "(2); layers OFFL 1, NOTES 6"});
  EXPECT_EQ(f.drawing.layerVisible[1], 0u);
  EXPECT_EQ(f.drawing.layerVisible[2], 1u); // the drawing's own line stays in sight
  EXPECT_EQ(f.drawing.layerVisible[4], 1u);
  EXPECT_EQ(f.drawing.layerVisible[5], 0u);
  EXPECT_EQ(f.drawing.layerVisible[6], 0u);
}

TEST(DxfForeign, WhatCannotBeDrawnIsReportedAndNothingElseIsRepeated) {
  // A hatch without a boundary path is not the one before it again; an ATTDEF is named; a
  // dimension's definition points are no points of the drawing; inserts scaled beyond the
  // coordinate limit are left out and said so.
  const std::string square = "0\nHATCH\n2\nUSER\n70\n0\n71\n0\n91\n1\n92\n2\n72\n0\n73\n1\n93\n4\n"
                             "10\n0\n20\n0\n10\n50\n20\n0\n10\n50\n20\n50\n10\n0\n20\n50\n97\n0\n"
                             "75\n0\n76\n0\n52\n0\n41\n5\n77\n0\n78\n0\n98\n0\n";
  const std::string empty = "0\nHATCH\n2\nUSER\n62\n3\n70\n0\n71\n0\n91\n0\n75\n0\n76\n0\n52\n0\n"
                            "41\n5\n77\n0\n78\n0\n98\n0\n";
  const std::string far = "0\nINSERT\n2\nB\n10\n0\n20\n0\n41\n9e10\n42\n9e10\n";
  const std::string blocks =
      Block("A", Line(0, 0, 1, 0)) +
      Block("B", "0\nINSERT\n2\nA\n10\n0\n20\n0\n41\n9e10\n42\n9e10\n") +
      Block("*D1", Line(0, 0, 2, 0) + "0\nPOINT\n8\nDEFPOINTS\n10\n0\n20\n0\n");
  test::DrawingFixture f;
  ASSERT_EQ(Read(f, File(square + empty + far + "0\nDIMENSION\n2\n*D1\n10\n0\n20\n0\n70\n1\n" +
                             "0\nATTDEF\n10\n0\n20\n0\n40\n1\n1\nX\n2\nTAG\n70\n0\n",
                         blocks)),
            1);
  EXPECT_EQ(test::ListOf(f.drawing.fillings).size(), 1u);
  EXPECT_EQ(test::ListOf(f.drawing.lines).size(), 2u); // the square and the dimension's line
  EXPECT_EQ(f.env.errors, std::vector<std::string>{"1 ATTDEF, 1 HATCH not read; 1 dimension "
                                                   "read as lines and texts, 1 too far out to "
                                                   "draw"});

  // Files from 2007 on keep their names in UTF-8, read in the program's character set.
  test::DrawingFixture utf8;
  ASSERT_EQ(Read(utf8, File(Line(0, 0, 1, 0, "8\nSein\xC3\xA4t \xE2\x82\xAC\n"), "",
                            "9\n$ACADVER\n1\nAC1024\n")),
            1);
  EXPECT_EQ(utf8.env.errors, std::vector<std::string>{"layers Sein\xE4t \x80 1"});
}

TEST(DxfForeign, WhatIsReadNearIsCountedOnceAndNamed) {
  // A solid hatch whose boundary cannot be read is not read, and not also read near; a hatch
  // with no gap takes the setup's; a text too tall for its record, too wide or slanting back.
  const std::string badSolid = "0\nHATCH\n2\nSOLID\n70\n1\n71\n0\n91\n1\n92\n1\n93\n1\n"
                               "72\n4\n94\n3\n73\n0\n74\n0\n95\n0\n96\n0\n75\n0\n76\n1\n98\n0\n";
  const std::string noGap = "0\nHATCH\n2\n_USER\n70\n0\n71\n0\n91\n1\n92\n2\n72\n0\n73\n1\n"
                            "93\n3\n10\n0\n20\n0\n10\n50\n20\n0\n10\n50\n20\n50\n97\n0\n75\n0\n"
                            "76\n0\n52\n0\n41\n1\n77\n0\n78\n1\n53\n0\n43\n0\n44\n0\n45\n0\n"
                            "46\n0\n79\n0\n98\n0\n";
  const std::string texts = "0\nTEXT\n10\n0\n20\n0\n40\n80\n1\nT\n"
                            "0\nTEXT\n10\n0\n20\n9\n40\n2\n41\n3\n51\n-10\n1\nWIDE\n";
  test::DrawingFixture f;
  ASSERT_EQ(Read(f, File(badSolid + noGap + texts)), 1);
  EXPECT_EQ(f.env.errors, std::vector<std::string>{"1 HATCH not read; 1 hatch too dense read with "
                                                   "the smallest gap, 1 text height out of range, "
                                                   "1 text slant out of range, 1 text width out "
                                                   "of range"});
  ASSERT_EQ(test::ListOf(f.drawing.fillings).size(), 1u);
  EXPECT_EQ(f.drawing.fillings->gap(), 1.0f);

  // More layer names than free numbers share the last: counted, and that number is hidden
  // only if every one of its names is off.
  std::string table = "0\nTABLE\n2\nLAYER\n";
  std::string lines;
  for (int k = 0; k < 128; ++k) {
    const std::string name = "L" + std::to_string(k);
    table += "0\nLAYER\n2\n" + name + "\n70\n0\n62\n" + (k >= 126 ? "-7" : "7") + "\n";
    lines += Line(0, k, 1, k, "8\n" + name + "\n");
  }
  test::DrawingFixture many;
  ASSERT_EQ(Read(many, File(lines, "", "", table + "0\nENDTAB\n")), 1);
  ASSERT_EQ(many.env.errors.size(), 1u);
  EXPECT_TRUE(many.env.errors[0].starts_with(
      "2 layer off or frozen left shown, its number in use (L126, L127), 2 more layers read as "
      "the last free one; layers "));
  EXPECT_EQ(many.drawing.layerVisible[126], 1u);
}

TEST(DxfForeign, TextsSpanTheirPointsAndTheSheetHoldsThem) {
  // ALIGNED and FIT from (0,0) to (50,10) follow the line; ALIGNED sizes its height to span it,
  // FIT its width. A long title far right stays on the sheet. A dashed pattern line gives the
  // hatch a dashed style, its boundary stays solid.
  const std::string texts = "0\nTEXT\n10\n0\n20\n0\n11\n50\n21\n10\n40\n5\n72\n3\n1\nALIGNED\n"
                            "0\nTEXT\n10\n0\n20\n0\n11\n50\n21\n10\n40\n6\n72\n5\n1\nFITTED\n"
                            "0\nTEXT\n10\n60\n20\n0\n40\n10\n1\nA LONG TITLE\n";
  const std::string dashed = "0\nHATCH\n2\n_USER\n70\n0\n71\n0\n91\n1\n92\n2\n72\n0\n73\n1\n"
                             "93\n3\n10\n0\n20\n0\n10\n50\n20\n0\n10\n50\n20\n50\n97\n0\n75\n0\n"
                             "76\n0\n52\n0\n41\n1\n77\n0\n78\n1\n53\n0\n43\n0\n44\n0\n45\n0\n"
                             "46\n3\n79\n2\n49\n2\n49\n-1\n98\n0\n";
  test::DrawingFixture f;
  ASSERT_EQ(Read(f, File(texts + dashed)), 1);
  const std::vector<TextElement*> read = test::ListOf(f.drawing.texts);
  ASSERT_EQ(read.size(), 3u);
  const TextElement& fitted = *read[1];
  const TextElement& aligned = *read[2];
  const double length = std::hypot(50.0, 10.0);
  for (const TextElement* t : {&aligned, &fitted}) {
    EXPECT_NEAR(t->angle(), std::atan2(10.0, 50.0) * 180 / std::numbers::pi, 1e-4);
    EXPECT_EQ(t->positioning(), 1u);
  }
  // Seven letters and six spaces of half a letter at 0.7 of the height.
  EXPECT_EQ(aligned.height(), static_cast<std::uint32_t>(length / (10 * 0.7) * 10));
  EXPECT_EQ(fitted.height(), 60u);
  EXPECT_EQ(fitted.widthRatio(), 6u); // 51 long over 8.5 letters of 6: as wide as high
  EXPECT_GT(f.drawing.limits.xmax, 60 + 17.5 * 0.7 * 10);

  // Seen from below it spans the mirrored points, readable: it ends at the mirrored start.
  test::DrawingFixture below;
  ASSERT_EQ(Read(below, File("0\nTEXT\n10\n0\n20\n0\n11\n50\n21\n10\n40\n5\n72\n3\n"
                             "230\n-1\n1\nALIGNED\n")),
            1);
  ASSERT_NE(below.drawing.texts, nullptr);
  EXPECT_NEAR(below.drawing.texts->angle(), -std::atan2(10.0, 50.0) * 180 / std::numbers::pi, 1e-4);
  EXPECT_EQ(below.drawing.texts->positioning(), 3u);
  ASSERT_NE(f.drawing.fillings, nullptr);
  EXPECT_EQ(f.drawing.fillings->style(), 2u);
  EXPECT_EQ(f.drawing.fillings->lines[0]->style(), 1u);
}

TEST(DxfForeign, AFileIsCountedWithEveryPlacementItWalks) {
  // A block of 30 inserts of a block that is not there, placed a million times: refused
  // before the walk, with what it would cost.
  std::string missing;
  for (int k = 0; k < 30; ++k) missing += "0\nINSERT\n2\nGONE\n10\n0\n20\n0\n";
  test::DrawingFixture walk;
  walk.Line(kShapeOpen, {{0, 0}, {1, 1}});
  ASSERT_EQ(
      Read(walk, File("0\nINSERT\n2\nP\n10\n0\n20\n0\n70\n1000\n71\n1000\n", Block("P", missing))),
      0);
  EXPECT_EQ(walk.env.errors,
            std::vector<std::string>{"The file would make 31000000 block placements, too many !"});
  EXPECT_EQ(test::ListOf(walk.drawing.lines).size(), 1u);

  // Counts beyond 2^31: 2200 XLINEs drawn by each of a million dimensions.
  std::string xlines;
  for (int k = 0; k < 2200; ++k) xlines += "0\nXLINE\n10\n0\n20\n0\n11\n1\n21\n0\n";
  std::string dimensions;
  for (int k = 0; k < 100; ++k) dimensions += "0\nDIMENSION\n2\n*D\n10\n0\n20\n0\n70\n1\n";
  test::DrawingFixture many;
  ASSERT_EQ(Read(many, File("0\nINSERT\n2\nQ\n10\n0\n20\n0\n70\n100\n71\n100\n",
                            Block("*D", xlines) + Block("Q", dimensions))),
            1);
  EXPECT_EQ(many.env.errors, std::vector<std::string>{"2200000000 XLINE not read; 1000000 "
                                                      "dimension read as lines and texts"});
}

TEST(DxfForeign, TextsFillingsAndStretchedCurvesCountWithEveryCopy) {
  // Within a small budget: 900 copies of a 1000-letter text, of an arc stretched into an
  // ellipse, each more than the budget holds only with what every copy keeps or draws; the
  // refusal names what there is too much of, and where no one kind is, what makes the most of
  // it together.
  const auto refusal = [](const std::string& member, double sx,
                          Language language = Language::kEnglish) {
    const std::string file = File("0\nINSERT\n2\nB\n10\n0\n20\n0\n41\n" + std::to_string(sx) +
                                      "\n70\n30\n71\n30\n44\n5\n45\n5\n",
                                  Block("B", member));
    test::DrawingFixture f;
    f.env.language = language;
    const int read = ReadDxfBytes(f.store, f.env, std::span<const char>(file.data(), file.size()),
                                  nullptr, Placement{}, false, 1.2e6);
    return read == 0 && f.env.errors.size() == 1 ? f.env.errors[0] : std::string();
  };
  const std::string arc = "0\nARC\n10\n0\n20\n0\n40\n1\n50\n0\n51\n90\n";
  EXPECT_EQ(refusal("0\nTEXT\n10\n0\n20\n0\n40\n1\n1\n" + std::string(1000, 'A') + "\n", 1),
            "The file would make 900000 letters, too many !");
  EXPECT_EQ(refusal(arc, 2), "The file would make 327600 points, too many !");
  EXPECT_EQ(refusal(arc, 1), "");
  // A piece of an ellipse placed ten thousand times larger is cut into a hundred times more
  // chords.
  const std::string ellipse = "0\nELLIPSE\n10\n0\n20\n0\n11\n1\n21\n0\n40\n0.5\n41\n0\n42\n0.5\n";
  EXPECT_EQ(refusal(ellipse, 1), "");
  EXPECT_EQ(refusal(ellipse, 1e4), "The file would make 450900 points, too many !");
  // 1800 elements alone fit in memory, as do their points; together they do not. Letters cost
  // drawing, not memory: 2700 of them beside the elements still fit.
  std::string polyline = "0\nLWPOLYLINE\n90\n20\n70\n0\n";
  for (int k = 0; k < 20; ++k) polyline += "10\n" + std::to_string(k) + "\n20\n0\n";
  const std::string both = Line(0, 0, 1, 0) + polyline;
  EXPECT_EQ(refusal(both, 1), "The file would make 1800 elements and 19800 points, too many !");
  EXPECT_EQ(refusal(both, 1, Language::kFinnish),
            "Tiedostosta tulisi 1800 alkiota ja 19800 pistett\xE4, liian monta !");
  EXPECT_EQ(refusal(Line(0, 0, 1, 0) + "0\nTEXT\n10\n0\n20\n0\n40\n1\n1\nABC\n", 1), "");
}

TEST(DxfForeign, LettersWeighWhatTheyPlot) {
  // 900 copies of a five-letter text within a small budget: letters of one stroke each fit,
  // letters of fifty strokes do not, and without fonts a letter weighs a few strokes.
  Fonts fonts;
  fonts.count = 1;
  fonts.slots[0].glyphs['A'].resize(50);
  fonts.slots[0].glyphs['.'].resize(1);
  const auto read = [&](const std::string& letters, const Fonts* with) {
    const std::string file = File("0\nINSERT\n2\nB\n10\n0\n20\n0\n70\n30\n71\n30\n44\n5\n45\n5\n",
                                  Block("B", "0\nTEXT\n10\n0\n20\n0\n40\n1\n1\n" + letters + "\n"));
    test::DrawingFixture f;
    f.env.fonts = with;
    const int read = ReadDxfBytes(f.store, f.env, std::span<const char>(file.data(), file.size()),
                                  nullptr, Placement{}, false, 1.2e6);
    return read == 1 ? std::string() : f.env.errors.empty() ? "?" : f.env.errors[0];
  };
  EXPECT_EQ(read("AAAAA", &fonts), "The file would make 4500 letters, too many !");
  EXPECT_EQ(read(".....", &fonts), "");
  EXPECT_EQ(read("AAAAA", nullptr), "");
}

TEST(DxfForeign, AHatchCountsTheDashesItPlots) {
  // 900 copies of a hatch 200 long and 10 high, its lines 5 apart: solid, it is well within a
  // small budget; dashed a millimetre apart on paper, its dashes are what there is too much of.
  const auto read = [](const std::string& dashes, test::DrawingFixture& f) {
    const std::string hatch =
        "0\nHATCH\n2\n_USER\n70\n0\n71\n0\n91\n1\n92\n2\n72\n0\n73\n1\n93\n4\n10\n0\n20\n0\n"
        "10\n200\n20\n0\n10\n200\n20\n10\n10\n0\n20\n10\n97\n0\n75\n0\n76\n0\n52\n0\n41\n1\n77\n0\n"
        "78\n1\n53\n0\n43\n0\n44\n0\n45\n0\n46\n5\n79\n" +
        dashes + "98\n0\n";
    const std::string file =
        File("0\nINSERT\n2\nB\n10\n0\n20\n0\n70\n30\n71\n30\n44\n0\n45\n0\n", Block("B", hatch));
    return ReadDxfBytes(f.store, f.env, std::span<const char>(file.data(), file.size()), nullptr,
                        Placement{}, false, 6e6);
  };
  test::DrawingFixture solid;
  EXPECT_EQ(read("0\n", solid), 1);
  test::DrawingFixture dashed;
  EXPECT_EQ(read("2\n49\n0.5\n49\n-0.5\n", dashed), 0);
  EXPECT_EQ(dashed.env.errors,
            std::vector<std::string>{"The file would make 361800 dashes, too many !"});
}

TEST(DxfForeign, CurvesKeepTheirShapeUnderUnequalScales) {
  // A circle of radius 10 and a bulged half circle in a block placed twice as wide as high:
  // both are ellipses 20 wide and 10 high, as an ELLIPSE of the file is read.
  test::DrawingFixture f;
  ASSERT_EQ(Read(f, File("0\nINSERT\n2\nB\n10\n0\n20\n0\n41\n2\n42\n1\n",
                         Block("B", "0\nCIRCLE\n10\n0\n20\n0\n40\n10\n"
                                    "0\nLWPOLYLINE\n90\n2\n70\n0\n10\n50\n20\n0\n42\n1\n"
                                    "10\n70\n20\n0\n"))),
            1);
  const std::vector<LineElement*> lines = Lines(f.drawing);
  ASSERT_EQ(lines.size(), 2u);
  for (const LineElement* line : lines) {
    SCOPED_TRACE(line->shape());
    ASSERT_GT(line->ps0(), 16u);
    EXPECT_EQ(line->shape(), line == lines[0] ? kShapeClosed : kShapeOpen);
    const Point centre = line == lines[0] ? Point{0, 0} : Point{120, 0};
    for (std::uint32_t k = 0; k < line->ps0(); ++k)
      EXPECT_NEAR(std::pow((line->points[k].x - centre.x) / 20, 2) +
                      std::pow((line->points[k].y - centre.y) / 10, 2),
                  1, 1e-9);
  }
}

TEST(DxfForeign, CurvesOfABlockPlacedLargerAreCutAtTheSizeTheyAreDrawn) {
  // An ellipse 1 x 0.5, the parabola y = 2x - x^2 from 0 to 2 and a hatch bounded by the
  // ellipse, in a block placed a hundred times larger: every chord stays within the accuracy
  // of the curve as drawn.
  test::DrawingFixture f;
  ASSERT_EQ(
      Read(f, File("0\nINSERT\n2\nB\n10\n0\n20\n0\n41\n100\n42\n100\n",
                   Block("B", "0\nELLIPSE\n10\n0\n20\n0\n11\n1\n21\n0\n40\n0.5\n41\n0\n"
                              "42\n6.283185307179586\n0\nSPLINE\n71\n2\n72\n6\n73\n3\n"
                              "40\n0\n40\n0\n40\n0\n40\n1\n40\n1\n40\n1\n10\n0\n20\n0\n"
                              "10\n1\n20\n2\n10\n2\n20\n0\n0\nHATCH\n2\n_USER\n70\n0\n71\n0\n"
                              "91\n1\n92\n1\n93\n1\n72\n3\n10\n0\n20\n0\n11\n1\n21\n0\n40\n0.5\n"
                              "50\n0\n51\n360\n73\n1\n97\n0\n75\n0\n76\n1\n52\n0\n41\n1\n77\n0\n"
                              "78\n0\n98\n0\n"))),
      1);
  const std::vector<LineElement*> lines = Lines(f.drawing);
  ASSERT_EQ(lines.size(), 3u);
  const LineElement& parabola = *lines[1];
  const auto parameter = [](const Point& p) { return std::atan2(p.y / 50, p.x / 100); };
  for (const LineElement* ellipse : {lines[0], lines[2]}) {
    const std::uint32_t n = ellipse->ps0();
    ASSERT_GT(n, 16u);
    for (std::uint32_t k = 0; k + (ellipse->shape() == kShapeClosed ? 0 : 1) < n; ++k) {
      const Point& a = ellipse->points[k];
      const Point& b = ellipse->points[(k + 1) % n];
      const double t =
          parameter(a) + std::remainder(parameter(b) - parameter(a), 2 * std::numbers::pi) / 2;
      EXPECT_LT(std::hypot(100 * std::cos(t) - (a.x + b.x) / 2, 50 * std::sin(t) - (a.y + b.y) / 2),
                0.05)
          << k;
    }
  }
  ASSERT_GT(parabola.ps0(), 2u);
  EXPECT_NEAR(parabola.points[parabola.ps0() - 1].x, 200, 1e-9);
  for (std::uint32_t k = 0; k + 1 < parabola.ps0(); ++k) {
    const double x = (parabola.points[k].x + parabola.points[k + 1].x) / 2;
    const double y = (parabola.points[k].y + parabola.points[k + 1].y) / 2;
    EXPECT_LT(2 * x - x * x / 100 - y, 0.1) << k;
  }
}

// The heap, failing from a given allocation on.
class FailingAllocator final : public StoreAllocator {
public:
  void* Allocate(std::size_t bytes) override {
    return ++calls >= failAt ? nullptr : heap_.Allocate(bytes);
  }
  void Free(void* block) override { heap_.Free(block); }
  int calls = 0;
  int failAt = 1 << 30;

private:
  HeapAllocator heap_;
};

TEST(DxfForeign, AReadThatRunsOutOfMemoryLeavesTheOpenDrawingAsItWas) {
  std::string entities;
  for (int k = 0; k < 20; ++k) entities += Line(k, 0, k, 10);
  const std::string file = File(entities + "0\nINSERT\n2\nB\n10\n0\n20\n0\n",
                                Block("B", Line(0, 0, 5, 5) + Line(5, 5, 0, 9)));
  bool succeeded = false;
  for (int failAt = 1; !succeeded; ++failAt) {
    SCOPED_TRACE(failAt);
    Drawing drawing;
    test::QuietStoreEnvironment storeEnv;
    FailingAllocator allocator;
    HeadlessPainter painter;
    ElementStore store(drawing, storeEnv, painter, allocator);
    drawing.limits = Box{0, 0, 1000, 1000};
    PropertySet set;
    const Point points[] = {{1, 2}, {3, 4}};
    ASSERT_NE(store.AddLine(set, points, 2), nullptr);
    PartElement* container = store.AddPart("Here", 1, 0);
    test::RecordingFileEnvironment env;
    allocator.calls = 0;
    allocator.failAt = failAt;
    // Read whole, then added into the part.
    const int whole = ReadDxfBytes(store, env, std::span<const char>(file.data(), file.size()),
                                   nullptr, Placement{}, false);
    succeeded = whole == 1;
    if (!succeeded) {
      EXPECT_EQ(whole, 0);
      ASSERT_EQ(test::ListOf(drawing.lines).size(), 1u);
      EXPECT_EQ(drawing.lines->points[1].y, 4);
      EXPECT_EQ(drawing.limits.xmax, 1000);
      EXPECT_EQ(drawing.parts, container);
      allocator.calls = 0;
      const int added = ReadDxfBytes(store, env, std::span<const char>(file.data(), file.size()),
                                     container, Placement{}, false);
      // What failed is gone with the container, which the caller deletes.
      const std::vector<PartElement*> parts = test::ListOf(drawing.parts);
      ASSERT_EQ(parts.back(), container);
      if (added != 1) {
        EXPECT_EQ(parts.size(), 1u);
        allocator.failAt = 1 << 30;
        EXPECT_EQ(store.DeletePart(container, true), 1);
        EXPECT_EQ(test::ListOf(drawing.lines).size(), 1u);
      }
    } else {
      EXPECT_EQ(test::ListOf(drawing.lines).size(), 22u);
    }
  }
}

} // namespace
} // namespace lumora
