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
  ASSERT_EQ(menus.main.Count(), 27);
  ASSERT_EQ(menus.help.Count(), 22);
  EXPECT_EQ(menus.main.Texts()[0], "Add line             <F1>");
  EXPECT_EQ(menus.main.Width(), 25);
  EXPECT_EQ(menus.help.Width(), 31);
  EXPECT_EQ(menus.main.CodeAt(4), 1002);
  EXPECT_EQ(menus.main.CodeAt(26), 4008);
  EXPECT_EQ(menus.help.CodeAt(9), 3012);
  EXPECT_EQ(menus.help.CodeAt(11), 127);
  EXPECT_EQ(menus.help.CodeAt(21), 167);
  EXPECT_EQ(menus.help.Texts()[21], "Background colour           <\xA7>");
  EXPECT_EQ(menus.main.CodeAt(27), 0);
  EXPECT_EQ(menus.main.CodeAt(-1), 0);

  // Finnish letters are one byte each, so the widths count them once; the memory stays.
  menus.lastMain = 6;
  BuildMenus(menus, Language::kFinnish);
  EXPECT_EQ(menus.main.Count(), 27);
  EXPECT_EQ(menus.main.Texts()[0], "Lis\xE4\xE4 viiva            <F1>");
  EXPECT_EQ(menus.main.Width(), 27);
  EXPECT_EQ(menus.help.Texts()[11], "Kursorin liikkumiskulma   <del>");
  EXPECT_EQ(menus.lastMain, 6);
  EXPECT_EQ(menus.language, Language::kFinnish);

  // Built only when missing or in the other language.
  menus.main.Clear();
  EnsureMenus(menus, Language::kFinnish);
  EXPECT_EQ(menus.main.Count(), 0);
  EnsureMenus(menus, Language::kEnglish);
  EXPECT_EQ(menus.main.Count(), 27);
}

TEST(MenuRows, PopupVariantsPutTheirExtraRowSecond) {
  Menus menus;
  BuildMenus(menus, Language::kEnglish);
  EXPECT_EQ(Codes(PopupTable(menus, kPopupPlain)), (std::vector<int>{9, 8, 4107, 27}));
  for (int variant = kPopupClose; variant <= kPopupBack; ++variant) {
    EXPECT_EQ(Codes(PopupTable(menus, variant)), (std::vector<int>{9, 10, 8, 4107, 27}));
  }
  EXPECT_EQ(PopupTable(menus, kPopupSelect).Texts()[1], "select <ctrl+enter>");
  EXPECT_EQ(PopupTable(menus, kPopupPlain).Width(), 19);
  // An unknown variant shows the plain rows rather than reading past the table.
  EXPECT_EQ(PopupTable(menus, 7).Count(), 4);
  EXPECT_EQ(PopupTable(menus, -1).Count(), 4);
  BuildMenus(menus, Language::kFinnish);
  EXPECT_EQ(PopupTable(menus, kPopupEdit).Texts()[1], "teksti  <ctrl+enter>");
  EXPECT_EQ(PopupTable(menus, kPopupPlain).Texts()[2], "Paikall. origo t\xE4h\xE4n");
  EXPECT_EQ(PopupTable(menus, kPopupBack).Width(), 20);
}

TEST(MenuRows, ATableKeepsItsRowLimitAndRowLength) {
  MenuTable table(2);
  EXPECT_TRUE(table.Add("one", 1));
  EXPECT_TRUE(table.Add(std::string(50, 'x'), 2));
  EXPECT_FALSE(table.Add("three", 3));
  EXPECT_EQ(table.Count(), 2);
  EXPECT_EQ(table.Texts()[1].size(), 40u);
  EXPECT_EQ(table.Width(), 40);
  table.Clear();
  EXPECT_EQ(table.Width(), 0);
  EXPECT_TRUE(table.Add("again", 4));
}

} // namespace
} // namespace lumora
