// The stroke fonts shipped in data/SETUP cover what drawings write.
#include "text/font.h"
#include "text/line_reading.h"
#include "text/recording_sink.h"
#include "text/stroke_text.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(ShippedFonts, CoverAsciiFinnishLettersAndTheDegreeSign) {
  for (const char* name : {"SIMPLEX", "DUPLEX"}) {
    SCOPED_TRACE(name);
    std::string content;
    ASSERT_TRUE(ReadTextFile(FontPath(std::string(LUMORA_SOURCE_DIR) + "/data", name), content));
    RecordingSink sink;
    Font font;
    ASSERT_TRUE(ParseFont(content, font, sink));
    EXPECT_TRUE(sink.shown.empty());
    for (int c = 0x20; c <= 0x7E; ++c) EXPECT_FALSE(font.Glyph(char(c)).empty()) << c;
    for (const char c : std::string_view("\xE4\xF6\xE5\xC4\xD6\xC5\xE9\xFC\xB0"))
      EXPECT_FALSE(font.Glyph(c).empty()) << int(static_cast<unsigned char>(c));
    // Angle measures end with the grave accent, which is drawn as the degree sign.
    EXPECT_EQ(font.Glyph('`'), font.Glyph('\xB0'));
    // Marked letters are their base letter and a mark.
    const auto& a = font.Glyph('a');
    const auto& aUmlaut = font.Glyph('\xE4');
    ASSERT_GT(aUmlaut.size(), a.size());
    EXPECT_TRUE(std::equal(a.begin(), a.end(), aUmlaut.begin()));
    EXPECT_GT(font.lowerPortion, 0);
    EXPECT_LT(font.lowerPortion, 1);
  }
}

} // namespace
} // namespace lumora
