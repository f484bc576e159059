#include "control/event_player_keys.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(EventFileKeys, NamesGiveTheKeysOfTheKeyboard) {
  PlayedKey key;
  ASSERT_TRUE(ParseKeyName("F3", key));
  EXPECT_TRUE(key.special);
  EXPECT_EQ(key.key, 3);
  ASSERT_TRUE(ParseKeyName("Shift+Ctrl+F1", key));
  EXPECT_EQ(SpecialKeyCode(key.key, key.modifiers), 1001);
  ASSERT_TRUE(ParseKeyName("Alt+End", key));
  EXPECT_EQ(SpecialKeyCode(key.key, key.modifiers), 4107);
  ASSERT_TRUE(ParseKeyName("Ctrl+Enter", key));
  EXPECT_EQ(key.key, 10);
  ASSERT_TRUE(ParseKeyName("Shift+q", key));
  EXPECT_EQ(key.key, 'Q');
  ASSERT_TRUE(ParseKeyName("§", key));
  EXPECT_EQ(key.key, 167);
  ASSERT_TRUE(ParseKeyName("ä", key));
  EXPECT_EQ(key.key, 228);
  ASSERT_TRUE(ParseKeyName("Delete", key));
  EXPECT_FALSE(key.special);
  EXPECT_EQ(key.key, 127);
  for (const char* bad : {"", "F13", "F0", "Shift+", "ab", "Hyper+a"}) {
    EXPECT_FALSE(ParseKeyName(bad, key)) << bad;
  }
}

} // namespace
} // namespace lumora
