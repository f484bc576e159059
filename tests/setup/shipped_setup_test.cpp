// The setups shipped in data/SETUP read cleanly and say the same thing in two languages.
#include "setup/setup_reader.h"
#include "text/font.h"
#include "text/line_reading.h"
#include "text/recording_sink.h"

#include <cmath>
#include <gtest/gtest.h>

namespace lumora {
namespace {

const std::string kHome = std::string(LUMORA_SOURCE_DIR) + "/data";

// The data lines of a setup without comments, quoted texts and keywords.
std::vector<std::string> NumbersOnly(std::string_view name) {
  std::string content;
  EXPECT_TRUE(ReadTextFile(SetupPath(kHome, name), content));
  std::vector<std::string> out;
  for (std::string line : SplitLines(content)) {
    if (line.empty() || line[0] == '*' || line.find("ENGLISH:") != std::string::npos) continue;
    for (std::size_t q; (q = line.find('"')) != std::string::npos;)
      line.erase(q, line.find('"', q + 1) - q + 1);
    if (line[0] == '#') line.erase(0, line.find(':') + 1);
    std::string words;
    for (const char c : line)
      if (c != ' ' || (!words.empty() && words.back() != ' ')) words += c;
    out.push_back(words);
  }
  return out;
}

TEST(ShippedSetup, BothReadWithoutNoticesAndDifferOnlyInLanguage) {
  for (const char* name : {"Perus_SET", "Suomi_SET"}) {
    SCOPED_TRACE(name);
    Language language = Language::kEnglish;
    RecordingSink sink;
    Fonts fonts;
    SetupEnvironment env{kHome, language, sink, &fonts};
    lumora::Setup u;
    ASSERT_TRUE(ReadSetup(name, u, env));
    EXPECT_EQ(sink.Count(MessageKind::kNotice) + sink.Count(MessageKind::kError), 0);
    EXPECT_EQ(fonts.count, 2);
    EXPECT_EQ(language, name[0] == 'P' ? Language::kEnglish : Language::kFinnish);
    for (const bool empty :
         {u.scales.Empty(), u.layers.Empty(), u.lineSelections.Empty(), u.fillingSelections.Empty(),
          u.measureSelections.Empty(), u.partAngles.Empty()})
      EXPECT_FALSE(empty);
    // A width row shows what is kept: whole tenths of a millimetre.
    for (const CodeRow& row : u.lineWidths.rows) {
      if (row.text.empty() || row.text[0] < '0' || row.text[0] > '9') continue;
      EXPECT_EQ(std::lround(std::stod(row.text) * 10), row.value) << row.text;
    }
    // What a new drawing starts with.
    EXPECT_DOUBLE_EQ(u.scale, 1);
    EXPECT_EQ(u.limits, (std::array<double, 4>{0, 0, 198, 281}));
  }
  EXPECT_EQ(NumbersOnly("Perus_SET"), NumbersOnly("Suomi_SET"));
}

} // namespace
} // namespace lumora
