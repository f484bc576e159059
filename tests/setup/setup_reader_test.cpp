#include "setup/setup_reader.h"
#include "text/font.h"
#include "text/line_reading.h"
#include "text/recording_sink.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace lumora {
namespace {

struct SetupFixture {
  Language language = Language::kEnglish;
  RecordingSink sink;
  SetupEnvironment env{"/nonexistent", language, sink};
  Setup setup;

  void Read(std::string_view text) { ReadSetupText(text, setup, env); }
};

TEST(SetupKeywords, FoundAnywhereWithFinnishFirst) {
  EXPECT_EQ(FindSetupSection("#SCALES:"), kScales);
  EXPECT_EQ(FindSetupSection("# the list MITTAKAAVAT: of scales"), kScales);
  // Both languages in one line: a Finnish keyword wins over an earlier English one.
  EXPECT_EQ(FindSetupSection("#SCALES: PIIRTOTASOT:"), kLayers);
  EXPECT_EQ(FindSetupSection("#TEXT_HEIGTHS:"), kTextHeights);
  EXPECT_EQ(FindSetupSection("#SCALE:"), kNoSection);
}

TEST(SetupReader, FileOfCommentsKeepsEveryDefault) {
  SetupFixture f;
  f.Read("* only a comment\r\n\n   \n*#SCALES:\n");
  const lumora::Setup& s = f.setup;
  EXPECT_EQ(f.language, Language::kFinnish); // without ENGLISH: 1
  EXPECT_EQ(s.limits, (std::array<double, 4>{0, 0, 198, 281}));
  EXPECT_TRUE(s.scales.Empty() && s.layers.Empty() && s.fonts.Empty());
  EXPECT_TRUE(f.sink.shown.empty());
}

TEST(SetupReader, DefaultRowsSetScaleSheetAndGrid) {
  SetupFixture f;
  f.Read("#SCALES:\n\"1:1\" 1\n\"1:10\" 10 <\n\"1:20\" 20\n"
         "#PLOTTING_AREAS:\n\"A4\" 198 281\n\"A3 landscape\" 404 281 <\n"
         "#KURSORIASKELEET:\n\"1\" 1\n\"5\" 5 <\n");
  const lumora::Setup& s = f.setup;
  EXPECT_DOUBLE_EQ(s.scale, 10);
  EXPECT_EQ(s.scales.defaultRow, 1);
  ASSERT_EQ(s.scales.rows.size(), 3u);          // the keyword line adds no row
  EXPECT_DOUBLE_EQ(s.scales.rows[2].value, 20); // not the digits of the text
  EXPECT_EQ(s.limits, (std::array<double, 4>{0, 0, 404, 281}));
  EXPECT_EQ(s.plottingAreas.longest, 12u);
  EXPECT_DOUBLE_EQ(s.step, 5);
}

TEST(SetupReader, RowLimitsAndFieldLengths) {
  SetupFixture f;
  std::string text = "#CURSOR_GRIDS:\n";
  for (int i = 1; i <= 9; ++i) text += "\"" + std::to_string(i) + "\" " + std::to_string(i) + "\n";
  text += "#LAYERS:\n\"" + std::string(50, 'L') + "\"\n\"short\"\n";
  // A cut text: the numbers come after its closing quote, not from its tail.
  text += "#SCALES:\n\"A very long scale name 1:50 that goes on\" 50\n";
  f.Read(text);
  const lumora::Setup& s = f.setup;
  ASSERT_EQ(s.cursorGrids.rows.size(), 8u);
  EXPECT_DOUBLE_EQ(s.cursorGrids.rows.back().value, 8);
  EXPECT_EQ(s.layers.rows[0].text, std::string(29, 'L'));
  EXPECT_EQ(s.layers.longest, 29u);
  EXPECT_EQ(s.scales.rows[0].text, "A very long scale n");
  EXPECT_DOUBLE_EQ(s.scales.rows[0].value, 50);
}

TEST(SetupReader, ValueConversionsAndMasks) {
  SetupFixture f;
  f.Read("#LINE_WIDTHS:\n\"thin\" about 0.25 mm\n\"wide\" 0.7\n"
         "#TEXT_WIDTHS:\n\"0.7\" 0.7\n\"0.9\" 0.9\n#TEXT_SLANTS:\n\"0.2\" 0.2\n\"0.6\" 0.6\n"
         "#TEXT_HEIGTHS:\n\"3.5\" 3.5\n"
         "#LINE_SELECTIONS:\n\"odd\" 200 1.7 17 3 21\n"
         "#MEASURE_SELECTIONS:\n\"m\" 5 0.35 2 5 5 1 2.5 0.7 0.4 -12.5\n");
  const lumora::Setup& s = f.setup;
  EXPECT_EQ(s.lineWidths.rows[0].value, 2);
  EXPECT_EQ(s.lineWidths.rows[1].value, 7);
  EXPECT_EQ(s.textWidths.rows[0].value, 3); // (0.7 - 0.4) * 10 is 2.999...
  EXPECT_EQ(s.textSlants.rows[1].value, 3);
  EXPECT_EQ(s.textHeights.rows[0].value, 35);
  const LinePreset& line = s.lineSelections.rows.at(0);
  EXPECT_EQ(line.layer, 200 & 0x7F);
  EXPECT_EQ(line.width, 17 & 0xF);
  EXPECT_EQ(line.colour, 1);
  EXPECT_EQ(line.section, 5);
  const TextPreset& m = s.measureSelections.rows.at(0);
  EXPECT_EQ(m.width, 3);
  EXPECT_EQ(m.font, 1);
  EXPECT_EQ(m.height, 25);
  EXPECT_EQ(m.widthRatio, 3);
  EXPECT_EQ(m.slant, 2);
  EXPECT_DOUBLE_EQ(m.angle, -12.5);
  EXPECT_TRUE(s.colours.Empty()); // width rows never reach another list
}

TEST(SetupReader, UnknownKeywordIgnoresItsRows) {
  SetupFixture f;
  f.Read("#SCALES:\n\"1:1\" 1\n#SCALE:\n\"1:5\" 5 <\n#LAYERS:\n\"walls\"\n");
  ASSERT_EQ(f.sink.shown.size(), 1u);
  EXPECT_EQ(f.sink.shown[0].first, MessageKind::kNotice);
  EXPECT_EQ(f.sink.shown[0].second, "Keyword \"^#SCALE:^\" was not recognized !");
  EXPECT_EQ(f.setup.scales.rows.size(), 1u);
  EXPECT_DOUBLE_EQ(f.setup.scale, 1);
  EXPECT_EQ(f.setup.layers.rows.size(), 1u);
}

TEST(SetupReader, SingleValuesTakeTheLastLine) {
  SetupFixture f;
  f.Read("#BASIC_WINDOW_SIZE: 1200 900\n#ENGLISH: 1\n#ARC_DRAWING_ACCURACY: 0.1\n0\n"
         "#TARKKATALLENNUS: 1\n#TIME_SETTING: 9 30 15\n#MEASURE_LINES: 2.0 18\n"
         "#TEXT_WINDOW_SIZE: 3 70\n5\n");
  const lumora::Setup& s = f.setup;
  EXPECT_EQ(s.windowWidth, 1200);
  EXPECT_EQ(s.windowHeight, 900);
  EXPECT_EQ(f.language, Language::kEnglish);
  EXPECT_DOUBLE_EQ(s.arcAccuracy, 0.1); // 0 is not an accuracy
  EXPECT_FLOAT_EQ(s.version, 3.0f);
  EXPECT_EQ(s.clockCorrection, (60 + 30) * 60 + 15);
  EXPECT_EQ(s.measureLineWidth, 20); // not a preset: no four-bit field
  EXPECT_EQ(s.measureLineColour, 2);
  EXPECT_EQ(s.textWindowLines, 5); // the later line decides, its missing number is 0
  EXPECT_EQ(s.textWindowColumns, 0);
}

TEST(SetupReader, LongLinesAreCutAndHugeNumbersAreSafe) {
  SetupFixture f;
  f.Read("#SCALES:\n\"x\" " + std::string(120, ' ') +
         "5\n\"y\" 1e999\n\"z\" -9e300 <\n"
         "#PART_STRETCH: 1e300\n#WHITE_BACKGROUND: nan -inf\n");
  ASSERT_EQ(f.setup.scales.rows.size(), 3u);
  EXPECT_DOUBLE_EQ(f.setup.scales.rows[0].value, 0); // the number lay beyond 99 bytes
  EXPECT_GT(f.setup.scales.rows[1].value, 1e300);
  EXPECT_DOUBLE_EQ(f.setup.scale, -9e300);
  EXPECT_EQ(f.setup.partStretch, 2147483647);
  EXPECT_EQ(f.setup.whiteBackground, 0);
}

TEST(SetupReader, MissingFileReportsThePathInTheLanguage) {
  EXPECT_TRUE(OpenFailureMessage(std::string(200, 'p'), Language::kEnglish).ends_with("ded !"));
  SetupFixture f;
  f.language = Language::kFinnish;
  EXPECT_FALSE(ReadSetup("Nothing", f.setup, f.env));
  ASSERT_EQ(f.sink.shown.size(), 2u);
  EXPECT_EQ(f.sink.shown[0].second, "Setup is done from file '/nonexistent/SETUP/Nothing.txt'.");
  EXPECT_EQ(f.sink.shown[1].first, MessageKind::kError);
  EXPECT_EQ(f.sink.shown[1].second,
            "\"/nonexistent/SETUP/Nothing.txt\"-nimisen tiedoston avaus ei onnistu !");
}

TEST(SetupReader, FontRowsLoadTheirFontsAtOnce) {
  const std::filesystem::path home = std::filesystem::path(LUMORA_TEST_TMP) / "setupfonts";
  std::filesystem::create_directories(home / "SETUP");
  std::ofstream(home / "SETUP" / "f.txt") << "#HEIGHT: 9\n#WIDTH: 6\n#CHARACTERS:\n\"A\" 0 0 0\n";
  SetupFixture f;
  Fonts fonts;
  f.env.home = home.string();
  f.env.fonts = &fonts;
  f.Read("#TEXT_FONT:\n\"Simple\" \"f\"\n\"Lost\" \"nothere\"\n\"Again\" \"f\"\n");
  EXPECT_EQ(f.setup.fonts.rows.size(), 3u);
  EXPECT_EQ(f.setup.fonts.rows[0].file, "f");
  ASSERT_EQ(fonts.count, 2);
  EXPECT_EQ(fonts.slots[1].name, "Again");
  EXPECT_EQ(f.sink.Count(MessageKind::kError), 1);
}

} // namespace
} // namespace lumora
