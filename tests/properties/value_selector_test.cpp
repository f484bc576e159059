// The value selectors as the key letters and the dialogs open them, under a stand-in main
// function of each element type.
#include "model/drawing.h"
#include "properties/property_fixture.h"
#include "properties/property_names.h"

namespace lumora {
namespace {

using ValueSelectorTest = PropertyFixture;

// The typing row is the last of a list.
void OpenTyping(PropertyFixture& f, int key) {
  f.Keys({key, kCodeEnd, kCodeEnter});
}

TEST_F(ValueSelectorTest, TypedWidthKeepsItsRangeAndBecomesACode) {
  Key(kCodeAddLine);
  OpenTyping(*this, kCodeWidthKey);
  EXPECT_NE(Prompt().find("Changing width of line: WRITE WIDTH OF LINE ?"), std::string::npos);
  Answer("1.6");
  EXPECT_TRUE(Shown("Too small or too big !"));
  EXPECT_TRUE(Cue(kSoundError));
  EXPECT_NE(Prompt().find("WRITE WIDTH OF LINE ?"), std::string::npos); // the prompt stays
  Answer("1.5");
  EXPECT_FALSE(PropertyActive());
  EXPECT_EQ(props.line.width(), 15u);
  EXPECT_EQ(props.lastWidth, 15);
  EXPECT_EQ(MillimetreText(15), "1.5mm");

  // A width left unset is the thinnest when the selector ends, cancelled or not.
  props.line.SetWidth(0);
  Keys({kCodeWidthKey, kCodeEsc});
  EXPECT_EQ(props.line.width(), 1u);
}

TEST_F(ValueSelectorTest, PartDialogTakesNoWidthAndNoColour) {
  Key(kCodeAddPart);
  OpenTyping(*this, kCodeWidthKey);
  Answer("0");
  EXPECT_EQ(props.part.width(), 0u);
  OpenTyping(*this, kCodeColourKey);
  Answer("0");
  EXPECT_EQ(props.part.colour(), 0u);
  EXPECT_FALSE(PropertyActive());

  Key(kCodeEsc);
  Key(kCodeAddLine);
  OpenTyping(*this, kCodeColourKey);
  Answer("9");
  EXPECT_TRUE(Shown("Too small or too big !"));
  Answer("0");
  EXPECT_TRUE(PropertyActive()); // 0 is no colour outside the part dialog
  Answer("8");
  EXPECT_EQ(props.line.colour(), 8u);
}

TEST_F(ValueSelectorTest, SectionTypedNarrowerThanTheList) {
  Key(kCodeAddLine);
  props.line.SetStyle(2);
  OpenTyping(*this, kCodeSectionKey);
  Answer("15");
  EXPECT_TRUE(Shown("Too small or too big !"));
  Key(kCodeEsc);
  EXPECT_FALSE(PropertyActive());
  // "15 mm" is the seventh row of the shipped list.
  Keys({kCodeSectionKey, kCodeHome, kCodeDown, kCodeDown, kCodeDown, kCodeDown, kCodeDown,
        kCodeDown, kCodeEnter});
  EXPECT_EQ(props.line.section(), 15u);
}

TEST_F(ValueSelectorTest, TypedGapIsOnPaperWhenTheAnswerIsYes) {
  app.drawing.paperUnit = 100;
  Key(kCodeAddFilling);
  OpenTyping(*this, kCodeGapKey);
  Answer("5");
  EXPECT_NE(
      Prompt().find("Changing gap between filling lines: IS GAP THIS, WHEN PLOTTED ON PAPER ?"),
      std::string::npos)
      << Prompt();
  EXPECT_TRUE(Shown("On plotter ?"));
  Key('y');
  EXPECT_DOUBLE_EQ(props.filling.gap, 500.0);
  OpenTyping(*this, kCodeGapKey);
  Answer("5");
  Key('n');
  EXPECT_DOUBLE_EQ(props.filling.gap, 5.0);
  // A listed gap is on paper: "3 mm" is the fourth row.
  Keys({kCodeGapKey, kCodeHome, kCodeDown, kCodeDown, kCodeDown, kCodeEnter});
  EXPECT_DOUBLE_EQ(props.filling.gap, 300.0);
}

TEST_F(ValueSelectorTest, TypedProportionsBecomeCodesWithoutLosingATenth) {
  Key(kCodeAddText);
  OpenTyping(*this, kCodeWidthRatioKey);
  Answer("0.7");
  EXPECT_EQ(props.text.widthRatio(), 3u);
  OpenTyping(*this, kCodeHeightKey);
  Answer("51.2");
  EXPECT_TRUE(Shown("Too small or too big !"));
  Answer("2.3");
  EXPECT_EQ(props.text.height(), 23u);
  OpenTyping(*this, kCodeSlantKey);
  Answer("0.4");
  EXPECT_EQ(props.text.slant(), 2u);
}

TEST_F(ValueSelectorTest, ValuesWithoutARowAreShownByNumber) {
  EXPECT_EQ(ColourName(app.setup, 12), "'12'");
  EXPECT_EQ(ColourName(app.setup, 5), "Red");
  EXPECT_EQ(PositioningName(app.setup, 4), "4");
  EXPECT_EQ(LayerName(app.setup, 50), "'50'");
  EXPECT_EQ(LayerName(app.setup, 0), "'0'");
  EXPECT_EQ(LayerName(app.setup, 10), "Notes");
  EXPECT_EQ(FontName(app.fonts, 3), "'3'");
  // The layer selector's header names a layer without a row the same way.
  Key(kCodeAddLine);
  props.line.SetLayer(50);
  Key(kCodeLayerKey);
  EXPECT_NE(Prompt().find("Old layer is '50': SELECT LAYER !"), std::string::npos);
  Keys({kCodeDown, kCodeEnter});
  EXPECT_EQ(props.line.layer(), 2u);
  EXPECT_EQ(props.lastLayer, 2);
}

TEST_F(ValueSelectorTest, KeyLettersFollowTheElementType) {
  Key(kCodeAddLine);
  Key(kCodeHeightKey);
  EXPECT_FALSE(PropertyActive());
  Key(kCodeAngleKey);
  EXPECT_FALSE(PropertyActive());
  Key(kCodePropertiesMenuKey);
  EXPECT_NE(Prompt().find("Properties of line: "), std::string::npos);
}

} // namespace
} // namespace lumora
