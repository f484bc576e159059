#include "util/latin1.h"
#include "util/text_pair.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(Latin1, LiteralsBecomeOneBytePerLetter) {
  constexpr std::string_view fi = "Viivan lisäys: "_l1;
  EXPECT_EQ(fi.size(), 15u);
  EXPECT_EQ(static_cast<unsigned char>(fi[10]), 0xE4);
  EXPECT_EQ("ÄÖÅåö°"_l1, std::string_view("\xC4\xD6\xC5\xE5\xF6\xB0"));
  EXPECT_EQ(""_l1.size(), 0u);
  EXPECT_EQ("€"_l1, std::string_view("\x80"));
  // The bytes are zero-terminated in storage, so they can go to C interfaces as they are.
  EXPECT_EQ("abc"_l1.data()[3], '\0');
}

TEST(Latin1, RunTimeConversionsRoundTripAndRefuseWhatDoesNotFit) {
  EXPECT_EQ(Utf8ToLatin1("Lopetetaanko ä?"), "Lopetetaanko \xE4?");
  EXPECT_EQ(Latin1ToUtf8("\xE4\xF6"), "äö");
  EXPECT_EQ(Utf8ToLatin1(Latin1ToUtf8("\x01\x7F\x80\xFF")), "\x01\x7F\x80\xFF");
  EXPECT_EQ(Utf8ToLatin1("\xE2\x82"), "??"); // cut sequence
  EXPECT_EQ(Utf8ToLatin1("\xC3"), "?");
  EXPECT_EQ(Utf8ToLatin1("a\xE2\x82\xAC"), "a?"); // U+20AC has no byte at run time
}

} // namespace
} // namespace lumora
