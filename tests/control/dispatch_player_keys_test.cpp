#include "control/event_player_keys.h"

#include <gtest/gtest.h>
#include <utility>

namespace lumora {
namespace {

TEST(EventFileKeys, NamesGiveTheKeysOfTheKeyboard) {
  PlayedKey key;
  ASSERT_TRUE(ParseKeyName("Shift+Ctrl+F1", key));
  EXPECT_TRUE(key.special);
  EXPECT_EQ(SpecialKeyCode(key.key, key.modifiers), 1001);
  ASSERT_TRUE(ParseKeyName("Alt+End", key));
  EXPECT_EQ(SpecialKeyCode(key.key, key.modifiers), 4107);
  for (auto [name, code] :
       {std::pair{"Ctrl+Enter", 10}, {"Shift+q", 'Q'}, {"§", 167}, {"ä", 228}, {"Delete", 127}}) {
    ASSERT_TRUE(ParseKeyName(name, key)) << name;
    EXPECT_EQ(key.key, code) << name;
  }
  EXPECT_FALSE(key.special); // Delete is a character key
  for (const char* bad : {"", "F13", "F0", "Shift+", "ab", "Hyper+a"}) {
    EXPECT_FALSE(ParseKeyName(bad, key)) << bad;
  }
}

} // namespace
} // namespace lumora
