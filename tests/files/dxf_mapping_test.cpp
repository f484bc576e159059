// The pieces a DXF read is made of: colours, line types and weights, strings, curves and the
// scale a sheet is read at.
#include "file_test_env.h"
#include "files/dxf_binary.h"
#include "files/dxf_build.h"
#include "files/dxf_curves.h"
#include "files/dxf_reader.h"
#include "files/dxf_style.h"
#include "files/dxf_text.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <numbers>

namespace lumora {
namespace {

TEST(DxfStyle, ColoursComeBackAndForeignOnesFindTheNearest) {
  for (int colour = 0; colour < 16; ++colour) EXPECT_EQ(ColourOfAci(AciOfColour(colour)), colour);
  EXPECT_EQ(ColourOfAci(1), 5);        // red
  EXPECT_EQ(ColourOfAci(14), 5);       // a light red of the wheel
  EXPECT_EQ(ColourOfAci(152), 2);      // a blue of the wheel
  EXPECT_EQ(ColourOfAci(0), 1);        // out of range: the foreground
  EXPECT_EQ(ColourOfRgb(0x00C000), 3); // green
  EXPECT_EQ(ColourOfRgb(0xF0F0F0), 1); // near white
  EXPECT_EQ(ColourOfRgb(0x606060), 8); // grey
  bool known = false;
  EXPECT_EQ(StyleOfFamily(FamilyOfName("Center2", known)), 4);
  EXPECT_EQ(StyleOfFamily(FamilyOfName("HIDDEN", known)), 2);
  EXPECT_EQ(StyleOfFamily(FamilyOfName("dot", known)), 3);
  EXPECT_EQ(StyleOfFamily(FamilyOfName("Continuous", known)), 1);
  EXPECT_TRUE(known);
  EXPECT_EQ(StyleOfFamily(FamilyOfName("BYBLOCK", known)), 1);
  EXPECT_EQ(StyleOfFamily(FamilyOfName("WIGGLE", known)), 1);
  EXPECT_FALSE(known);
  for (int style : {2, 3, 4})
    EXPECT_EQ(StyleOfFamily(FamilyOfName(LinetypeOfStyle(style), known)), style);
  // Patterns: HIDDEN, CENTER (its short dash is a dot), DOT, ISO dotted, no gaps at all.
  const std::vector<std::vector<double>> patterns{
      {0.25, -0.125}, {1.25, -0.25, 0.25, -0.25}, {0, -0.25}, {0.5, -3}, {1.0}};
  const std::vector<int> styles{2, 4, 3, 3, 1};
  for (std::size_t k = 0; k < patterns.size(); ++k)
    EXPECT_EQ(StyleOfFamily(FamilyOfPattern(patterns[k])), styles[k]) << k;
  EXPECT_DOUBLE_EQ(MillimetresOfUnit(1), 25.4);
  EXPECT_DOUBLE_EQ(MillimetresOfUnit(10), 914.4);
  EXPECT_DOUBLE_EQ(MillimetresOfUnit(0), 1.0);
  for (int width = 0; width < 16; ++width)
    EXPECT_NEAR(WidthOfLineweight(LineweightOfWidth(width)), width, 1) << width;
  EXPECT_EQ(WidthOfLineweight(-1), -1);
}

TEST(DxfText, FormattingIsRemovedAndSignsBecomeLetters) {
  EXPECT_EQ(PlainDxfText("%%c20 %%p0.1 45%%d %%uunder%%u 100%%%", false), "\xF8"
                                                                          "20 \xB1"
                                                                          "0.1 45\xB0 under 100%");
  // Letters of the character set are read, from escapes and from UTF-8 alike; the others
  // become '?' and are counted, invalid UTF-8 bytes too.
  std::size_t unreadable = 0;
  EXPECT_EQ(PlainDxfText("\\U+00E4 \\U+20AC \\U+4E2D \\U+0081", false, &unreadable),
            "\xE4 \x80 ? ?");
  EXPECT_EQ(PlainDxfText("\xC3\xA4\xE2\x82\xAC\xC5\xA0\xE4\xB8\xAD\xFF", true, &unreadable),
            "\xE4\x80\x8A??");
  EXPECT_EQ(PlainMText("\\U+2122\\P\xE2\x84\xA2\xCE\xA9", true, &unreadable), "\x99|\x99?");
  EXPECT_EQ(unreadable, 5u);
  EXPECT_EQ(PlainMText("{\\fArial|b1;Plan}\\P1\\S1^2;\\~m\\\\", false), "Plan|11/2 m\\");
  EXPECT_EQ(PlainMText("\\H2.5x;\\C1;red\\Lline\\l", false), "redline");
  EXPECT_EQ(PlainMText("cut \\H2", false), "cut "); // a code without its end stops the text
  EXPECT_EQ(PlainMText("45%%d \\P%%c8", false), "45\xB0 |\xF8"
                                                "8");
}

// A binary file's pairs, with codes in two bytes or (old files) in one, are the pairs of the
// text file; a file cut inside a pair, or with a code no file holds, is damaged.
TEST(DxfBinary, PairsReadAsTheTextTheyStandFor) {
  const std::string mark("AutoCAD Binary DXF\r\n\x1a\0", 22);
  double x = 1.5;
  char real[8];
  std::memcpy(real, &x, sizeof real);
  const auto file = [&](bool wide, bool comment) {
    const auto code = [wide](int c) {
      const std::string two{static_cast<char>(c & 255), static_cast<char>(c >> 8)};
      return wide ? two : c < 255 ? std::string(1, static_cast<char>(c)) : "\xFF" + two;
    };
    return mark + (comment ? code(999) + "hi" + '\0' : "") + code(0) + "LINE" + '\0' + code(10) +
           std::string(real, 8) + code(62) + "\xFD\xFF" + code(290) + '\1' + code(310) +
           "\x02\xAB\x01" + code(0) + "EOF" + '\0';
  };
  for (const bool wide : {true, false})
    for (const bool comment : {true, false}) {
      const std::string bytes = file(wide, comment);
      const std::string pairs = std::string(comment ? "999\nhi\n" : "") +
                                "0\nLINE\n10\n1.5\n62\n-3\n290\n1\n310\nAB01\n0\nEOF\n";
      std::string text, problem;
      ASSERT_TRUE(BinaryDxfToText(bytes, text, problem)) << wide << comment;
      EXPECT_EQ(text, pairs);
      // Cut anywhere, the file reads only up to the end of a pair, as the pairs begin.
      int whole = 0;
      for (std::size_t cut = mark.size() + 1; cut < bytes.size(); ++cut)
        if (BinaryDxfToText(std::span(bytes.data(), cut), text, problem)) {
          EXPECT_TRUE(pairs.starts_with(text)) << cut;
          ++whole;
        }
      EXPECT_EQ(whole, comment ? 6 : 5) << wide;
    }
  std::string text, problem;
  EXPECT_FALSE(BinaryDxfToText(mark + std::string("\0\0SECTION\0\x10\x27x", 13), text, problem));
  EXPECT_EQ(problem, kDxfBinaryDamaged);
}

double Radius(const Point& c, const Point& p) {
  return std::hypot(p.x - c.x, p.y - c.y);
}

TEST(DxfCurves, BulgesEllipsesAndSplinesFollowTheirCurves) {
  Point arc[3];
  ASSERT_TRUE(BulgeArc({0, 0}, {2, 0}, 1, arc)); // a half circle to the left of the way
  EXPECT_NEAR(arc[0].x, 1, 1e-12);
  EXPECT_NEAR(arc[0].y, 0, 1e-12);
  EXPECT_EQ(arc[1].x, 0);
  // A negative bulge turns clockwise: a quarter over the top, centre below the way.
  ASSERT_TRUE(BulgeArc({0, 0}, {2, 0}, -std::tan(std::numbers::pi / 8), arc));
  EXPECT_NEAR(arc[0].y, -1, 1e-12);
  EXPECT_EQ(arc[1].x, 2); // clockwise: start and end exchanged
  EXPECT_NEAR(Radius(arc[0], arc[1]), std::sqrt(2.0), 1e-12);
  EXPECT_FALSE(BulgeArc({0, 0}, {2, 0}, 0, arc));
  EXPECT_FALSE(BulgeArc({1, 1}, {1, 1}, 1, arc));

  const auto ellipse = EllipsePoints({10, 0}, {4, 0}, 0.5, 0, std::numbers::pi, 0.01);
  ASSERT_GT(ellipse.size(), 8u);
  EXPECT_NEAR(ellipse.front().x, 14, 1e-12);
  EXPECT_NEAR(ellipse.back().x, 6, 1e-12);
  for (const Point& p : ellipse)
    EXPECT_NEAR(std::pow((p.x - 10) / 4, 2) + std::pow(p.y / 2, 2), 1, 1e-9);
  EXPECT_TRUE(EllipsePoints({0, 0}, {1, 0}, NAN, 0, 1, 0.01).empty());
  // Parameters far beyond a turn, which once looped for ever adding turns to them.
  const auto far = EllipsePoints({0, 0}, {1, 0}, 0.5, 1e300, -1e300, 0.01);
  ASSERT_FALSE(far.empty());
  for (const Point& p : far) EXPECT_LE(std::hypot(p.x, p.y), 1.0 + 1e-12);

  const double knots[] = {0, 0, 0, 1, 1, 1};
  const Point control[] = {{0, 0}, {1, 2}, {2, 0}};
  const auto spline = SplinePoints(2, knots, control, {}, 0.01);
  ASSERT_GT(spline.size(), 2u);
  EXPECT_EQ(spline.front().x, 0); // a clamped spline starts and ends on its end points
  EXPECT_NEAR(spline.back().x, 2, 1e-12);
  EXPECT_NEAR(spline[spline.size() / 2].y, 1, 1e-12); // the top of the parabola
  // A curve that bends more than 16 samples per span follow is sampled finer, within the
  // accuracy: y = 2x - x^2/100 from 0 to 200.
  const Point wide[] = {{0, 0}, {100, 200}, {200, 0}};
  const auto fine = SplinePoints(2, knots, wide, {}, 0.04);
  for (std::size_t k = 0; k + 1 < fine.size(); ++k) {
    const double x = (fine[k].x + fine[k + 1].x) / 2;
    EXPECT_LT(2 * x - x * x / 100 - (fine[k].y + fine[k + 1].y) / 2, 0.05) << k;
  }
  const double shortKnots[] = {0, 0, 1, 1};
  EXPECT_TRUE(SplinePoints(2, shortKnots, control, {}, 0.01).empty());

  // Through fit points: a smooth curve through every one of them, not straight between them.
  const Point fit[] = {{0, 0}, {10, 10}, {20, 0}, {20, 0}};
  const auto smooth = FitPointCurve(fit, {0, 0}, {0, 0});
  ASSERT_GT(smooth.size(), 8u);
  EXPECT_EQ(smooth.front().x, 0);
  EXPECT_EQ(smooth.back().x, 20);
  EXPECT_TRUE(std::any_of(smooth.begin(), smooth.end(),
                          [](const Point& p) { return p.x == 10 && p.y == 10; }));
  const Point& quarter = smooth[smooth.size() / 4];
  EXPECT_GT(quarter.y, quarter.x + 1); // above the chord from (0,0) to (10,10)
  // A tangent given at the start is where the curve leaves.
  const auto leaving = FitPointCurve(fit, {1, 0}, {0, 0});
  EXPECT_LT(std::fabs(leaving[1].y / leaving[1].x), 0.2);
  EXPECT_TRUE(FitPointCurve(std::span<const Point>(fit, 1), {0, 0}, {0, 0}).empty());
}

TEST(DxfBuild, ASheetIsReadAtTheScaleItFitsAt) {
  EXPECT_EQ(ScaleToFit(180, 260, 198, 281), 1);
  EXPECT_EQ(ScaleToFit(280, 190, 198, 281), 1); // landscape turns the sheet
  EXPECT_EQ(ScaleToFit(400, 200, 198, 281), 2);
  EXPECT_EQ(ScaleToFit(1000, 200, 198, 281), 5); // no 1:2.5: only the standard scales
  EXPECT_EQ(ScaleToFit(20000, 9000, 198, 281), 100);
  EXPECT_EQ(ScaleToFit(0, 0, 198, 281), 1);
}

std::string Entities(const std::string& header, const std::string& body,
                     const std::string& blocks = "") {
  return "0\nSECTION\n2\nHEADER\n" + header + "0\nENDSEC\n0\nSECTION\n2\nBLOCKS\n" + blocks +
         "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n" + body + "0\nENDSEC\n0\nEOF\n";
}

int Read(test::DrawingFixture& f, const std::string& text, PartElement* container = nullptr,
         Placement at = {}) {
  return ReadDxfBytes(f.store, f.env, std::span<const char>(text.data(), text.size()), container,
                      at, false);
}

TEST(DxfBuild, UnitsDimensionsAndUnknownKindsAreTakenAsTheFileMeansThem) {
  const std::string line = "0\nLINE\n8\nA\n10\n0\n20\n0\n11\n2\n21\n1\n";
  test::DrawingFixture inches;
  ASSERT_EQ(Read(inches, Entities("9\n$INSUNITS\n70\n1\n", line)), 1);
  EXPECT_NEAR(inches.drawing.lines->points[1].x, 50.8, 1e-12);
  EXPECT_EQ(inches.drawing.unitsChosen, 1u);

  // A foreign file's $DIMSCALE is no drawing scale: 2 x 1 m fits the sheet at 1:10.
  test::DrawingFixture metres;
  ASSERT_EQ(Read(metres, Entities("9\n$INSUNITS\n70\n6\n9\n$DIMSCALE\n40\n100\n", line)), 1);
  EXPECT_EQ(metres.drawing.lines->points[1].x, 2);
  EXPECT_EQ(metres.drawing.scale, 10);
  EXPECT_DOUBLE_EQ(metres.drawing.paperUnit, 0.01);
  // A text 0.3 m high is 3 mm on paper at 1:100, not a tenth less.
  test::DrawingFixture plan;
  ASSERT_EQ(Read(plan, Entities("9\n$INSUNITS\n70\n6\n", "0\nLINE\n10\n0\n20\n0\n11\n15\n21\n1\n"
                                                         "0\nTEXT\n10\n0\n20\n0\n40\n0.3\n1\nA\n")),
            1);
  EXPECT_EQ(plan.drawing.scale, 100);
  ASSERT_NE(plan.drawing.texts, nullptr);
  EXPECT_EQ(plan.drawing.texts->height(), 30u);
  // Added into a drawing of millimetres at 1:10, the 2 m line is 2000 mm long.
  test::DrawingFixture added;
  added.drawing.scale = 10;
  added.drawing.paperUnit = 10;
  PartElement* into = added.store.AddPart("M", 1, 0);
  ASSERT_EQ(Read(added, Entities("9\n$INSUNITS\n70\n6\n", line), into), 1);
  EXPECT_EQ(added.drawing.lines->points[1].x, 2000);
  // Gigametres: no scale puts 2 Gm on the sheet, and the report says so.
  test::DrawingFixture giga;
  ASSERT_EQ(Read(giga, Entities("9\n$INSUNITS\n70\n17\n", line)), 1);
  EXPECT_EQ(giga.drawing.lines->points[1].x, 2e9);
  EXPECT_EQ(giga.env.errors, std::vector<std::string>{"1 drawing larger than the sheet at the "
                                                      "largest scale; layers A 1"});

  // A dimension draws its block as plain lines and texts; kinds nobody reads are counted.
  const std::string dimBlock = "0\nBLOCK\n2\n*D1\n70\n1\n10\n0\n20\n0\n" + line +
                               "0\nTEXT\n10\n1\n20\n1\n40\n2\n1\n2.24\n0\nENDBLK\n";
  const std::string body = "0\nDIMENSION\n2\n*D1\n10\n0\n20\n0\n70\n1\n0\nMLINE\n8\n0\n"
                           "0\nMLINE\n8\n0\n0\nPOINT\n10\n1\n20\n1\n";
  test::DrawingFixture dims;
  ASSERT_EQ(Read(dims, Entities("", body, dimBlock)), 1);
  EXPECT_EQ(test::ListOf(dims.drawing.lines).size(), 1u);
  ASSERT_NE(dims.drawing.texts, nullptr);
  EXPECT_STREQ(dims.drawing.texts->text, "2.24");
  EXPECT_EQ(dims.drawing.parts, nullptr);
  EXPECT_EQ(dims.env.errors,
            std::vector<std::string>{
                "2 MLINE, 1 POINT not read; 1 dimension read as lines and texts; layers A 1"});
}

TEST(DxfBuild, AnMTextIsSetInRowsWithinItsWidth) {
  // 60 wide at height 5: eleven letters a row, so two words of four.
  test::DrawingFixture f;
  ASSERT_EQ(Read(f, Entities("", "0\nMTEXT\n10\n0\n20\n0\n40\n5\n41\n60\n71\n1\n1\n"
                                 "word word word word word\\Pa longerthanarow b\n")),
            1);
  ASSERT_NE(f.drawing.texts, nullptr);
  EXPECT_STREQ(f.drawing.texts->text, "word word|word word|word|a|longerthanarow|b");
}

TEST(DxfBuild, AHatchFarFromTheOriginInFeetIsReadUpToTheCoordinateLimit) {
  // At 9e7 feet its boundary lands beyond 10^10 mm, where the key that pairs boundaries with
  // drawn lines no longer fits a signed number; at 9e9 feet it is beyond what the drawing
  // holds and is left out, said so.
  const auto hatch = [](const std::string& at) {
    return "0\nHATCH\n8\nA\n2\nSOLID\n70\n1\n71\n0\n91\n1\n92\n2\n72\n0\n73\n1\n93\n3\n10\n" + at +
           "\n20\n" + at + "\n10\n1" + at + "\n20\n" + at + "\n10\n1" + at + "\n20\n1" + at +
           "\n97\n0\n75\n0\n76\n1\n98\n0\n";
  };
  test::DrawingFixture f;
  ASSERT_EQ(Read(f, Entities("9\n$INSUNITS\n70\n2\n", hatch("9e7"))), 1);
  ASSERT_NE(f.drawing.fillings, nullptr);
  EXPECT_NEAR(f.drawing.lines->points[0].x, 9e7 * 304.8, 1e-3);
  test::DrawingFixture beyond;
  ASSERT_EQ(Read(beyond, Entities("9\n$INSUNITS\n70\n2\n",
                                  hatch("9e9") + "0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n")),
            1);
  EXPECT_EQ(beyond.drawing.fillings, nullptr);
  EXPECT_EQ(test::ListOf(beyond.drawing.lines).size(), 1u);
  EXPECT_EQ(beyond.env.errors,
            (std::vector<std::string>{"1 solid fill read as hatch, 1 too far out to draw"}));
}

TEST(DxfBuild, AFileAddedIntoAPartIsPlacedAndJoinsIt) {
  test::DrawingFixture f;
  LineElement* kept = f.Line(kShapeOpen, {{5, 5}, {6, 6}});
  PartElement* container = f.store.AddPart("Here", 1, 0);
  const Box limits = f.drawing.limits;
  const std::string text = Entities("",
                                    "0\nCIRCLE\n10\n1\n20\n0\n40\n1\n0\nINSERT\n2\nB\n10\n0\n"
                                    "20\n0\n",
                                    "0\nBLOCK\n2\nB\n70\n0\n10\n0\n20\n0\n0\nLINE\n10\n0\n20\n0\n"
                                    "11\n1\n21\n0\n0\nENDBLK\n");
  ASSERT_EQ(Read(f, text, container, Placement{100, 50, 2, 2, 90}), 1);
  EXPECT_EQ(f.drawing.limits.xmax, limits.xmax); // the drawing keeps its area
  EXPECT_EQ(test::ListOf(f.drawing.lines).back(), kept);
  const LineElement* circle = f.drawing.lines->next;
  ASSERT_EQ(circle->shape(), kShapeCircle);
  EXPECT_NEAR(circle->points[0].x, 100, 1e-9); // (1, 0) doubled and turned a quarter
  EXPECT_NEAR(circle->points[0].y, 52, 1e-9);
  EXPECT_NEAR(Radius(circle->points[0], circle->points[1]), 2, 1e-9);
  EXPECT_EQ(test::NodeCount(container->lines), 1u); // the circle; the line is in B
  ASSERT_EQ(test::NodeCount(container->parts), 1u);
  EXPECT_STREQ(container->parts->element->name, "B");
}

} // namespace
} // namespace lumora
