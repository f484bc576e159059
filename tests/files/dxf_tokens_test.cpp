#include "files/dxf_guard.h"
#include "files/dxf_parse.h"
#include "files/dxf_scene_digest.h"
#include "files/dxf_style.h"
#include "files/dxf_tokens.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <span>
#include <sstream>
#include <vector>

namespace lumora {
namespace {

// Both ways of reading give the same scene, or both refuse.
void ExpectSameRead(const std::string& bytes, const std::string& what) {
  DxfScene fast;
  DxfScene slow;
  std::string problem;
  const bool fastRead = ParseDxf(bytes, fast, problem, true);
  const bool slowRead = ParseDxf(bytes, slow, problem, false);
  ASSERT_EQ(fastRead, slowRead) << what;
  if (!fastRead) return;
  const std::string a = DxfSceneDigest(fast);
  const std::string b = DxfSceneDigest(slow);
  if (a == b) return;
  std::size_t at = 0;
  while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
  const std::size_t from = at > 120 ? at - 120 : 0;
  FAIL() << what << ": the reads part at\n"
         << a.substr(from, 240) << "\n---\n"
         << b.substr(from, 240);
}

TEST(DxfTokens, NumbersReadAsTheLibraryReadsThem) {
  constexpr double kMax = std::numeric_limits<double>::max();
  const std::pair<const char*, double> cases[] = {
      {"12.5", 12.5},  {"  -3", -3},      {"+4", 4},     {"1,5", 1.5},   {"7abc", 7},
      {".5", 0.5},     {"5.", 5},         {"1e3", 1000}, {"1e", 0},      {"2E-2", 0.02},
      {"x1", 0},       {"", 0},           {"inf", 0},    {"nan", 0},     {"0x10", 0},
      {"1e999", kMax}, {"-1e999", -kMax}, {"1e-400", 0}, {"1.2.3", 1.2}, {"--5", 0}};
  for (const auto& [text, value] : cases) EXPECT_EQ(DxfReal(text), value) << text;
  EXPECT_EQ(DxfInt(" 42"), 42);
  EXPECT_EQ(DxfInt("-7x"), -7);
  EXPECT_EQ(DxfInt("x"), 0);
  EXPECT_EQ(DxfInt("99999999999999999999999"), static_cast<int>(LONG_MAX));
}

// Plain decimals take a quicker way than other numbers: each must still be the double nearest
// to what it writes, with its sign, at any length and place of the point.
TEST(DxfTokens, DecimalsReadToTheNearestDouble) {
  std::mt19937_64 random(11);
  for (int n = 0; n < 20000; ++n) {
    const int length = 1 + static_cast<int>(random() % 18);
    std::string digits;
    for (int k = 0; k < length; ++k) digits += static_cast<char>('0' + random() % 10);
    const auto point = static_cast<std::size_t>(random() % (digits.size() + 1));
    std::string text = digits.substr(0, point) + "." + digits.substr(point);
    if (random() % 2 == 0) text = "-" + text;
    const double expected = std::strtod(text.c_str(), nullptr);
    if (random() % 4 == 0) text[text.find('.')] = ',';
    const double read = DxfReal(text);
    ASSERT_EQ(std::memcmp(&read, &expected, sizeof read), 0) << text;
  }
  EXPECT_TRUE(std::signbit(DxfReal("-0.0")));
  EXPECT_EQ(DxfReal("0.1"), 0.1);
  EXPECT_EQ(DxfReal("123456789012345.6"), 123456789012345.6);
}

// Pairs are cut from line feeds found many bytes at a time: lines of any length, empty ones,
// line ends of either kind and a text that stops without one all cut as a plain search cuts.
TEST(DxfTokens, PairsCutAtEveryLineFeed) {
  std::mt19937 random(7);
  for (int n = 0; n < 300; ++n) {
    std::string text;
    const int lines = static_cast<int>(random() % 120);
    for (int k = 0; k < lines; ++k) {
      const int length =
          random() % 8 == 0 ? static_cast<int>(random() % 150) : static_cast<int>(random() % 9);
      for (int c = 0; c < length; ++c)
        text += static_cast<char>(k % 2 == 0 ? '0' + random() % 10 : 'A' + random() % 26);
      if (random() % 5 == 0) text += '\r';
      if (k + 1 < lines || random() % 2 == 0) text += '\n';
    }
    std::vector<std::pair<std::size_t, std::string>> expected;
    for (std::size_t at = 0; at < text.size();) {
      const std::size_t codeEnd = std::min(text.find('\n', at), text.size());
      if (codeEnd + 1 >= text.size()) break;
      std::size_t valueEnd = std::min(text.find('\n', codeEnd + 1), text.size());
      std::string value = text.substr(codeEnd + 1, valueEnd - codeEnd - 1);
      while (!value.empty() && value.back() == '\r') value.pop_back();
      expected.emplace_back(at, value);
      at = valueEnd + 1;
    }
    DxfPairs pairs(std::span<const char>(text.data(), text.size()));
    int code = 0;
    std::string_view value;
    std::size_t k = 0;
    for (; pairs.Next(code, value); ++k) {
      ASSERT_LT(k, expected.size()) << n;
      EXPECT_EQ(pairs.Start(), expected[k].first) << n;
      EXPECT_EQ(value, expected[k].second) << n;
    }
    EXPECT_EQ(k, expected.size()) << n;
  }
}

std::string Entities(const std::string& body) {
  return "0\nSECTION\n2\nENTITIES\n" + body + "0\nENDSEC\n0\nEOF\n";
}

// Code lines of plain digits are read at once; every other form still takes the careful way.
TEST(DxfTokens, TheBoundsCheckReadsCodeLinesOfEveryForm) {
  const auto accepted = [](const std::string& codeLine) {
    const std::string bytes = Entities("0\nLINE\n" + codeLine + "\n1.5\n");
    return CheckDxfInput(std::span<const char>(bytes.data(), bytes.size())).ok;
  };
  for (const char* good : {"10", " 10", "  10\r", "\t10", "10 ", "00010", "000000010", "1071"})
    EXPECT_TRUE(accepted(good)) << good;
  for (const char* bad : {"+10", "-1", "1072", "10 x", "1 0", "", "x", "99999999999"})
    EXPECT_FALSE(accepted(bad)) << bad;
}

// Attributes are mapped once per kind, but a layer defined after an entity (tables after the
// entities) maps the entities after it anew.
TEST(DxfTokens, ALayerDefinedLaterMapsTheEntitiesAfterIt) {
  const std::string line = "0\nLINE\n8\nL\n62\n256\n10\n0\n20\n0\n11\n1\n21\n1\n";
  const std::string bytes = "0\nSECTION\n2\nENTITIES\n" + line +
                            "0\nENDSEC\n0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n"
                            "0\nLAYER\n2\nL\n70\n0\n62\n3\n6\nCONTINUOUS\n0\nENDTAB\n0\nENDSEC\n"
                            "0\nSECTION\n2\nENTITIES\n" +
                            line + "0\nENDSEC\n0\nEOF\n";
  for (const bool fast : {true, false}) {
    DxfScene scene;
    std::string problem;
    ASSERT_TRUE(ParseDxf(bytes, scene, problem, fast)) << problem;
    ASSERT_EQ(scene.model.lines.size(), 2U);
    EXPECT_EQ(scene.model.lines[0].attr.colour, ColourOfAci(7));
    EXPECT_EQ(scene.model.lines[1].attr.colour, ColourOfAci(3));
  }
}

TEST(DxfTokens, DecodedEntitiesMatchTheLibrary) {
  // Entities with every group the decoding takes, groups it leaves to the library, odd numbers
  // and odd orders: each read both ways.
  const std::string cases[] = {
      Entities("0\nLINE\n8\nWALLS\n62\n3\n10\n1.5\n20\n2\n11\n3e1\n21\n-4,25\n"),
      Entities("0\nLINE\n10\n1\n20\n2\n11\n3\n21\n4\n39\n5\n"),
      Entities("0\nARC\n10\n0\n20\n0\n40\n5\n50\n30\n51\n200\n210\n0\n220\n0\n230\n-1\n"),
      Entities("0\nCIRCLE\n 10\n  7 \n20\n8\n40\n1e\n6\nDASHED\n48\n2\n370\n35\n420\n255\n"),
      Entities("0\nLWPOLYLINE\n90\n3\n70\n1\n10\n0\n20\n0\n42\n0.5\n10\n5\n20\n0\n10\n5\n20\n5\n"),
      Entities("0\nLWPOLYLINE\n90\n2\n10\n0\n42\n1\n20\n0\n10\n5\n20\n0\n40\n1\n"),
      Entities("0\nTEXT\n10\n1\n20\n2\n40\n3\n1\nHello\n72\n1\n11\n4\n21\n5\n51\n15\n41\n0.8\n"),
      Entities("0\nTEXT\n10\n1\n20\n2\n40\n3\n1\nNo alignment point\n72\n2\n73\n1\n50\n90\n"),
      Entities("0\nTEXT\n10\n1\n20\n2\n1\nDefault height  \n7\nSTYLE\n71\n2\n"),
      Entities("0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n1001\nLUMORA\n1000\nline\n1071\n3\n1071\n1\n"
               "1071\n2\n1071\n3\n1071\n2\n1071\n5\n1071\n1\n1040\n1\n"),
      Entities("0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n1001\nOTHER\n1000\nx\n1070\n4\n1040\n2.5\n"
               "0\nCIRCLE\n10\n0\n20\n0\n40\n2\n"),
      "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB\n10\n1\n20\n1\n0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n"
      "0\nENDBLK\n0\nBLOCK\n2\n\n0\nENDBLK\n8\nX\n0\nBLOCK\n8\nL\n2\nC\n70\n2\n10\n,5\n999\nc\n"
      "0\nCIRCLE\n40\n1\n0\nENDBLK\n1001\nAPP\n0\nENDSEC\n" +
          Entities(
              "0\nINSERT\n2\nB\n10\n1\n20\n2\n41\n2\n42\n-3\n50\n30\n70\n2\n71\n3\n44\n5\n45\n6\n"
              "1001\nLUMORA\n1000\npart:Door\n1071\n1\n1071\n3\n0\nINSERT\n2\nB\n10\n1\n20\n2\n"
              "41\n0\n66\n1\n0\nINSERT\n2\nB\n0\nINSERT\n10\n1\n1001\nLUMORA\n1000\npart:X\n"
              "0\nLINE\n11\n1\n"),
      Entities(
          "0\nHATCH\n8\nH\n10\n0\n20\n0\n30\n0\n2\n_USER\n70\n0\n71\n1\n91\n2\n92\n1\n93\n2\n"
          "72\n1\n10\n0\n20\n0\n11\n10\n21\n0\n72\n2\n10\n5\n20\n0\n40\n5\n50\n0\n51\n180\n73\n1\n"
          "97\n2\n330\n3C\n330\n3B\n92\n0\n93\n1\n72\n2\n10\n9\n20\n9\n40\n5\n50\n10\n51\n370\n"
          "73\n0\n97\n0\n75\n0\n76\n0\n52\n30\n41\n2.5\n77\n0\n78\n1\n53\n30\n43\n0\n44\n0\n"
          "45\n-1.25\n46\n2.16\n79\n2\n49\n1\n49\n-1\n98\n1\n10\n3\n20\n4\n1001\nLUMORA\n"
          "1000\nfilling\n1071\n1\n0\nHATCH\n91\n1\n92\n0\n93\n1\n72\n1\n10\n0\n20\n0\n11\n1\n"
          "21\n0\n0\nHATCH\n91\n2\n92\n0\n93\n1\n72\n1\n10\n0\n20\n0\n11\n1\n21\n0\n0\nHATCH\n"
          "91\n1\n92\n2\n72\n1\n73\n1\n93\n2\n10\n0\n20\n0\n42\n1\n10\n5\n20\n0\n42\n0\n"),
  };
  int k = 0;
  for (const std::string& bytes : cases) ExpectSameRead(bytes, "case " + std::to_string(k++));
}

TEST(DxfTokens, ABlankNumberReadsAsNothingBothWays) {
  // Blank reals where the library would keep what it read before: in a header variable, an
  // entity the decoding takes, one it leaves to the library, a text's slant and extended data.
  const std::string bytes =
      "0\nSECTION\n2\nHEADER\n9\n$LIMMIN\n10\n5\n20\n  \n9\n$LIMMAX\n10\n9\n20\n9\n0\nENDSEC\n" +
      Entities("0\nLINE\n10\n7\n20\n8\n11\n\t\n21\n\n"
               "0\nELLIPSE\n10\n3\n20\n3\n11\n6\n21\n \n40\n0.5\n41\n0\n42\n6.28\n"
               "0\nTEXT\n10\n1\n20\n2\n40\n3\n1\nT\n51\n \n"
               "0\nCIRCLE\n10\n0\n20\n0\n40\n2\n1001\nLUMORA\n1000\nline\n1040\n \n");
  ExpectSameRead(bytes, "blank reals");
  DxfScene scene;
  std::string problem;
  ASSERT_TRUE(ParseDxf(bytes, scene, problem, false)) << problem;
  EXPECT_EQ(scene.limMin.y, 0);
  ASSERT_FALSE(scene.model.lines.empty());
  EXPECT_EQ(scene.model.lines[0].points[1].x, 0);
  EXPECT_EQ(scene.model.lines[0].points[1].y, 0);
}

TEST(DxfTokens, ALongTextIsReadWholeBothWays) {
  // Texts longer than the library's line: a TEXT decoded here, one the library reads (for its
  // unknown group), an MTEXT whose text and a piece of it come in long lines, and a long line
  // of a comment between them that is no text at all: the file is refused for that one alone.
  const std::string a(1500, 'a');
  const std::string b(1200, 'b');
  const std::string c(2000, 'c');
  const std::string texts = "0\nTEXT\n10\n0\n20\n0\n40\n1\n1\n" + a +
                            "\n0\nTEXT\n10\n0\n20\n5\n40\n1\n1\n" + a + "\n39\n2\n" +
                            "0\nMTEXT\n10\n0\n20\n9\n40\n1\n3\n" + b + "\n3\nxy\n1\n" + c +
                            "\n0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n";
  ExpectSameRead(Entities(texts), "long texts");
  DxfScene scene;
  std::string problem;
  ASSERT_TRUE(ParseDxf(Entities(texts), scene, problem)) << problem;
  ASSERT_EQ(scene.model.texts.size(), 3u);
  EXPECT_EQ(scene.model.texts[0].text, a);
  EXPECT_EQ(scene.model.texts[1].text, a);
  EXPECT_EQ(scene.model.texts[2].text, b + "xy" + c);
  EXPECT_EQ(scene.model.lines.size(), 1u);
  DxfScene refused;
  EXPECT_FALSE(ParseDxf(Entities(texts + "999\n" + c + "\n"), refused, problem));
  EXPECT_EQ(problem, kDxfLineTooLong);
}

TEST(DxfTokens, ALightPolylineIsTheVerticesTheFileGives) {
  // The count says three but two follow; a count after the first vertex; a y before any x; a
  // second count, a bulge before any x and a group the decoding does not know: read so both
  // ways.
  for (const std::string body :
       {"90\n3\n10\n0\n20\n0\n10\n5\n20\n7\n", "10\n0\n20\n0\n90\n2\n10\n5\n20\n7\n",
        "20\n9\n90\n2\n10\n0\n20\n0\n10\n5\n20\n7\n",
        "90\n2\n10\n0\n20\n0\n90\n1\n10\n5\n20\n7\n40\n1\n",
        "42\n1\n90\n2\n10\n0\n20\n0\n10\n5\n20\n7\n30\n4\n"}) {
    ExpectSameRead(Entities("0\nLWPOLYLINE\n" + body), body);
    DxfScene scene;
    std::string problem;
    ASSERT_TRUE(ParseDxf(Entities("0\nLWPOLYLINE\n" + body), scene, problem)) << problem;
    ASSERT_EQ(scene.model.lines.size(), 1u) << body;
    const std::vector<Point>& p = scene.model.lines[0].points;
    ASSERT_EQ(p.size(), 2u) << body;
    EXPECT_EQ(p[1].x, 5);
    EXPECT_EQ(p[1].y, 7);
  }
}

TEST(DxfTokens, EveryStoredDxfFileReadsTheSameBothWays) {
  int files = 0;
  for (const char* dir : {"/tests/files/dxf", "/fuzz/seeds/fuzz_dxf", "/tests/events"}) {
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(std::string(LUMORA_SOURCE_DIR) + dir)) {
      if (entry.path().extension() != ".dxf") continue;
      std::ifstream in(entry.path(), std::ios::binary);
      std::ostringstream bytes;
      bytes << in.rdbuf();
      ExpectSameRead(bytes.str(), entry.path().string());
      ++files;
    }
  }
  EXPECT_GT(files, 10);
}

} // namespace
} // namespace lumora
