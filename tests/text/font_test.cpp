#include "text/font.h"
#include "text/recording_sink.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace lumora {
namespace {

constexpr std::string_view kHeader = "#HEIGHT: 10\n#WIDTH: 8\n#CHARACTERS:\n";

TEST(FontParse, MetricsOnTheKeyLineOrTheNextAndZeroedByLaterLines) {
  RecordingSink sink;
  Font f;
  EXPECT_TRUE(ParseFont("#HEIGHT:\n12\n#LEVEYS: 8\n#LOWER_PORTION:\n 3 \n#CHAR_SPACE: 2\n"
                        "#ROW_SPACE: 6\n#CHARACTERS:\n\"A\" 0 0 0 4 10 1\n",
                        f, sink));
  EXPECT_DOUBLE_EQ(f.height, 12);
  EXPECT_DOUBLE_EQ(f.width, 8);
  EXPECT_DOUBLE_EQ(f.lowerPortion, 0.25); // fractions once loaded
  EXPECT_DOUBLE_EQ(f.charSpace, 0.25);
  EXPECT_DOUBLE_EQ(f.rowSpace, 0.5);
  // A later line with letters only sets HEIGHT again, to 0: the font is refused.
  EXPECT_FALSE(
      ParseFont("#HEIGHT:\n12\nletters only\n#WIDTH: 8\n#CHARACTERS:\n\"A\" 0 0 0\n", f, sink));
  EXPECT_FALSE(ParseFont(std::string(kHeader) + "\"A\" 0 0\n", f, sink)); // no glyph
  EXPECT_TRUE(sink.shown.empty());
}

TEST(FontParse, GlyphLines) {
  RecordingSink sink;
  Font f;
  ASSERT_TRUE(ParseFont(std::string(kHeader) +
                            "\"A\" 0 0 0 4 10 1 8 0 1\n"
                            "\"\"\" 1 2 0 1 5 1\n"
                            "\"1\" 3, 4, 0 5 6\n" // incomplete triple ignored
                            "7 8 1\n"             // a line without a quote goes on
                            "\"B\" 1.9 -2.7 0\n"
                            "\"C\" 0 0 0\n\"C\" 9 9 0\n" // the later definition wins
                            "\"D\"\n",                   // no strokes: no glyph
                        f, sink));
  EXPECT_EQ(f.Glyph('A'), (std::vector<Stroke>{{0, 0, 0}, {4, 10, 1}, {8, 0, 1}}));
  EXPECT_EQ(f.Glyph('"'), (std::vector<Stroke>{{1, 2, 0}, {1, 5, 1}}));
  EXPECT_EQ(f.Glyph('1'), (std::vector<Stroke>{{3, 4, 0}, {7, 8, 1}}));
  EXPECT_EQ(f.Glyph('B'), (std::vector<Stroke>{{1, -2, 0}}));
  EXPECT_EQ(f.Glyph('C'), (std::vector<Stroke>{{9, 9, 0}}));
  EXPECT_TRUE(f.Glyph('D').empty());
  EXPECT_EQ(f.glyphCount, 5);

  // An empty pair of quotes, and a quote ending the line, name the quote character too.
  ASSERT_TRUE(ParseFont(std::string(kHeader) + "\"\" 4 5 0\n", f, sink));
  EXPECT_EQ(f.Glyph('"'), (std::vector<Stroke>{{4, 5, 0}}));
  ASSERT_TRUE(ParseFont(std::string(kHeader) + "\"\n6 7 1\n", f, sink));
  EXPECT_EQ(f.Glyph('"'), (std::vector<Stroke>{{6, 7, 1}}));

  // At most a hundred strokes: the rest of 120 is ignored.
  std::string many = std::string(kHeader) + "\"W\"\n";
  for (int i = 0; i < 60; ++i) many += std::to_string(i) + " 0 1 " + std::to_string(i) + " 1 1\n";
  ASSERT_TRUE(ParseFont(many, f, sink));
  ASSERT_EQ(f.Glyph('W').size(), kMaxGlyphStrokes);
  EXPECT_EQ(f.Glyph('W').back(), (Stroke{49, 1, 1}));
}

TEST(FontParse, KeysFinnishFirstAndUnknownKeysIgnoreTheirLines) {
  RecordingSink sink;
  Font f;
  ASSERT_TRUE(ParseFont("#WIDTH: KORKEUS: 7\n#WIDTH: 5\n#CHARACTERS:\n\"A\" 0 0 0\n#FOO:\n"
                        "\"B\" 0 0 0\n#KIRJAIMET:\n\"C\" 1 1 1\n",
                        f, sink));
  EXPECT_DOUBLE_EQ(f.height, 7);
  EXPECT_DOUBLE_EQ(f.width, 5);
  EXPECT_TRUE(f.Glyph('B').empty());
  EXPECT_FALSE(f.Glyph('C').empty());
  ASSERT_EQ(sink.shown.size(), 1u);
  EXPECT_EQ(sink.shown[0].first, MessageKind::kError);
  EXPECT_EQ(sink.shown[0].second, "Fonteissa avainta \"^#FOO:^\" ei tunnistettu !");
}

TEST(LoadFont, FillsSlotsInOrderAndRefusesAFifth) {
  const std::filesystem::path home = std::filesystem::path(LUMORA_TEST_TMP) / "fonthome";
  std::filesystem::create_directories(home / "SETUP");
  std::ofstream(home / "SETUP" / "tiny.txt") << kHeader << "\"A\" 0 0 0 1 1 1\n";
  std::ofstream(home / "SETUP" / "broken.txt") << "#HEIGHT: 10\n";
  RecordingSink sink;
  Fonts fonts;
  const std::string homeText = home.string();
  const FontLoad load{homeText, Language::kEnglish, sink};
  EXPECT_EQ(LoadFont(fonts, load, "missing", "Gone"), 0);
  EXPECT_EQ(sink.shown.back().second,
            "Opening of \"" + homeText + "/SETUP/missing.txt\"-file not succeeded !");
  EXPECT_EQ(LoadFont(fonts, load, "broken", "Broken"), 0);
  EXPECT_EQ(fonts.count, 0);
  for (const char* name : {"One", "Second font", "3", "Four"})
    EXPECT_EQ(LoadFont(fonts, load, "tiny", name), 1);
  EXPECT_EQ(fonts.count, 4);
  EXPECT_EQ(fonts.slots[1].name, "Second font");
  EXPECT_EQ(fonts.longestName, 11u);
  sink.shown.clear();
  EXPECT_EQ(LoadFont(fonts, load, "tiny", "Five"), 0);
  ASSERT_EQ(sink.shown.size(), 1u);
  EXPECT_EQ(sink.shown[0].second, "No space for more fonts !");
  EXPECT_EQ(fonts.count, 4);
}

} // namespace
} // namespace lumora
