#include "ui/menu_rows.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

std::vector<int> Codes(const MenuTable& table) {
  std::vector<int> codes;
  for (int i = 0; i < table.Count(); ++i) codes.push_back(table.CodeAt(i));
  return codes;
}

TEST(MenuRows, EveryMenuIsBuiltInTheLanguageAskedFor) {
  Menus menus;
  BuildMenus(menus, Language::kEnglish);
  EXPECT_EQ(menus.main.Count(), 27);
  EXPECT_EQ(menus.help.Count(), 22);
  EXPECT_EQ(menus.main.Width(), 25);
  EXPECT_EQ(menus.help.Width(), 31);
  EXPECT_EQ(menus.main.CodeAt(4), 1002);
  EXPECT_EQ(menus.help.CodeAt(9), 3012);
  EXPECT_EQ(menus.main.CodeAt(27), 0);
  EXPECT_EQ(Codes(PopupTable(menus, kPopupPlain)), (std::vector<int>{9, 8, 4107, 27}));
  EXPECT_EQ(Codes(PopupTable(menus, kPopupBack)), (std::vector<int>{9, 10, 8, 4107, 27}));
  EXPECT_EQ(PopupTable(menus, kPopupSelect).Texts()[1], "select <ctrl+enter>");
  EXPECT_EQ(PopupTable(menus, 7).Count(), 4); // an unknown variant shows the plain rows

  // Finnish letters are one byte each; the rows chosen last are kept.
  menus.lastMain = 6;
  BuildMenus(menus, Language::kFinnish);
  EXPECT_EQ(menus.main.Texts()[0], "Lis\xE4\xE4 viiva            <F1>");
  EXPECT_EQ(menus.main.Width(), 27);
  EXPECT_EQ(PopupTable(menus, kPopupEdit).Texts()[1], "teksti  <ctrl+enter>");
  EXPECT_EQ(PopupTable(menus, kPopupPlain).Width(), 20);
  EXPECT_EQ(menus.lastMain, 6);
}

TEST(MenuRows, ATableKeepsItsRowLimitAndRowLength) {
  MenuTable table(2);
  EXPECT_TRUE(table.Add("one", 1));
  EXPECT_TRUE(table.Add(std::string(50, 'x'), 2));
  EXPECT_FALSE(table.Add("three", 3));
  EXPECT_EQ(table.Texts()[1].size(), 40u);
  EXPECT_EQ(table.Width(), 40);
}

} // namespace
} // namespace lumora
