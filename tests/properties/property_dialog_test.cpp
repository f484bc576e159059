// The dialogs, the type selectors, the shape and mirroring keys and the layer checklist.
#include "model/drawing.h"
#include "properties/property_fixture.h"
#include "properties/property_functions.h"
#include "properties/property_names.h"
#include "properties/type_selector.h"

#include <algorithm>

namespace lumora {
namespace {

using PropertyDialogTest = PropertyFixture;

int Count(const std::vector<int>& log, int code) {
  return static_cast<int>(std::count(log.begin(), log.end(), code));
}

TEST_F(PropertyDialogTest, ClosingTellsTheMainFunctionOnce) {
  app.language = Language::kFinnish;
  Key(kCodeAddLine);
  Key(kCodePropertiesMenuKey);
  EXPECT_NE(Prompt().find("Viivan ominaisuudet: "), std::string::npos);
  EXPECT_NE(Row(3).find("taso     <l>: "), std::string::npos);
  EXPECT_NE(Row(8).find("suljettu <o>: "), std::string::npos);
  Key(kCodeTab);
  EXPECT_FALSE(PropertyActive());
  EXPECT_EQ(app.screen.windows.size(), 0u);
  EXPECT_EQ(Count(mainLog, kCodePropertiesChanged), 1);

  // The list opens on the line chosen last; a selector beside it changes the line's value.
  app.language = Language::kEnglish;
  Keys({kCodePropertiesMenuKey, kCodeDown, kCodeDown, kCodeEnter});
  EXPECT_NE(Prompt().find("SELECT COLOUR !"), std::string::npos);
  Keys({kCodeDown, kCodeEnter});
  EXPECT_EQ(props.line.colour(), 2u);
  EXPECT_NE(Row(5).find("colour   <c>: Blue"), std::string::npos);
  Key(kCodeEsc);
  Key(kCodePropertiesMenuKey);
  Key(kCodeEnter);
  EXPECT_NE(Prompt().find("SELECT COLOUR !"), std::string::npos);
}

// The window is as wide as its longest line, also after a value grew under it.
TEST_F(PropertyDialogTest, TheWindowGrowsWithItsLongestLine) {
  Key(kCodeAddLine);
  props.line.SetLayer(10); // "Notes"
  props.line.SetColour(2); // "Blue"
  Key(kCodePropertiesMenuKey);
  ASSERT_EQ(app.screen.windows.size(), 1u);
  const std::string wide = "layer    <l>: Drawing frame";
  EXPECT_LT(app.screen.windows.back().columns, static_cast<int>(wide.size()));
  Keys({kCodeHome, kCodeEnter, kCodeHome, kCodeEnter});
  EXPECT_EQ(props.line.layer(), 1u);
  ASSERT_EQ(app.screen.windows.size(), 1u);
  EXPECT_NE(Row(3).find(wide), std::string::npos) << Row(3);
  EXPECT_EQ(app.screen.windows.back().columns, static_cast<int>(wide.size()));
}

TEST_F(PropertyDialogTest, ClosedLineActsAsTheShapeKeyExceptDuringEdit) {
  Key(kCodeAddLine);
  app.input.attributes.SetShape(1);
  props.line.SetShape(1);
  Key(kCodeShapeSwitch);
  // The property level's end gives back the outer input record, but not what it changed.
  EXPECT_EQ(app.input.attributes.shape(), 2u);
  EXPECT_EQ(props.line.shape(), 2u);
  EXPECT_EQ(Count(mainLog, kCodePropertiesChanged), 1);
  Keys({kCodePropertiesMenuKey, kCodeEnd, kCodeEnter});
  EXPECT_EQ(app.input.attributes.shape(), 1u);
  EXPECT_EQ(Count(mainLog, kCodePropertiesChanged), 2);
  EXPECT_EQ(PartnerShape(3), 4u);
  EXPECT_EQ(PartnerShape(4), 3u);

  Key(kCodeEsc);
  Key(kCodeEdit);
  Key(kCodeShapeSwitch);
  EXPECT_EQ(app.input.attributes.shape(), 1u);
  Key(kCodePropertiesMenuKey);
  EXPECT_EQ(Row(8).find("closed"), std::string::npos);
}

TEST_F(PropertyDialogTest, TextChangesRedrawAddMeasureDirectly) {
  Key(kCodeAddMeasure);
  Keys({kCodeAngleKey, kCodeDown, kCodeEnter});
  EXPECT_DOUBLE_EQ(props.text.angle, 30.0);
  EXPECT_EQ(Count(mainLog, kCodeMeasureRedraw), 1);
  EXPECT_TRUE(LevelActive(control, Level::kMain)); // not cancelled as Shift+F7 would
  Keys({kCodePropertiesMenuKey, kCodeEsc});
  EXPECT_EQ(Count(mainLog, kCodeMeasureRedraw), 1); // nothing changed
  Keys({kCodePropertiesMenuKey, kCodeEnter, kCodeEnter, kCodeEsc});
  EXPECT_EQ(Count(mainLog, kCodeMeasureRedraw), 2);
}

TEST_F(PropertyDialogTest, PartSizeFromItsBox) {
  Key(kCodeAddPart);
  props.part.partBox = {0, 0, 20, 10};
  Keys({kCodePropertiesMenuKey, kCodeEnter});
  EXPECT_NE(Prompt().find("Change of size: WRITE WIDTH ?"), std::string::npos);
  Answer("40");
  EXPECT_NE(Prompt().find("Change of size: IS HEIGHT CHANGED PROPORTIONALLY ?"), std::string::npos)
      << Prompt();
  EXPECT_TRUE(Shown("Height also ?"));
  Key('y');
  EXPECT_DOUBLE_EQ(props.part.partSx, 2.0);
  EXPECT_DOUBLE_EQ(props.part.partSy, 2.0);
  Keys({kCodeDown, kCodeEnter});
  Answer("5");
  Key('n');
  EXPECT_DOUBLE_EQ(props.part.partSx, 2.0);
  EXPECT_DOUBLE_EQ(props.part.partSy, 0.5);
  EXPECT_NE(Row(4).find("height        <z>: 5"), std::string::npos);

  // A box without width cannot be sized by its width.
  props.part.partBox = {0, 0, 0, 10};
  Keys({kCodeUp, kCodeEnter});
  EXPECT_TRUE(Shown("Too small !"));
  EXPECT_DOUBLE_EQ(props.part.partSx, 2.0);
  EXPECT_TRUE(PropertyActive());
  Key(kCodeEsc);

  // The ratio sets both factors and keeps the mirroring; < steps through the mirrorings.
  Key(kCodeMirrorKey);
  EXPECT_EQ(Mirroring(props.part), 1);
  Keys({kCodeMirrorKey, kCodeMirrorKey});
  EXPECT_EQ(Mirroring(props.part), 3);
  Key(kCodePartSizeKey);
  Answer("0");
  EXPECT_TRUE(Shown("Too small !"));
  Answer("3");
  EXPECT_DOUBLE_EQ(props.part.partSx, -3.0);
  EXPECT_DOUBLE_EQ(props.part.partSy, -3.0);
  Key(kCodeMirrorKey);
  EXPECT_EQ(Mirroring(props.part), 0);
}

// A type selector run as the add commands will run it: inside their main function.
struct TypeSelectorTest : PropertyFixture {
  // The first call opens the list; every key is one more call.
  int Open(TypeSelector& selector) { return selector.Step(control); }
  int Run(TypeSelector& selector, std::initializer_list<int> keys) {
    int result = kStillRunning;
    for (int key : keys) {
      TranslateInput(control, InputKind::kKey, 0, 0, key);
      result = selector.Step(control);
    }
    return result;
  }
  TypeSelectorTest() { BeginFunction(control, Level::kMain, kCodeAddLine); }
};

TEST_F(TypeSelectorTest, PresetCopiesEverythingButTheShape) {
  app.drawing.paperUnit = 100;
  TypeSelector filling(PresetKind::kFilling);
  Open(filling);
  EXPECT_EQ(Run(filling, {kCodeEnter}), kSelectorDone);
  EXPECT_DOUBLE_EQ(props.filling.gap, 300.0);
  EXPECT_EQ(props.filling.hatchAngle, 45);
  EXPECT_EQ(props.filling.layer(), 7u);

  props.line.SetShape(2);
  props.line.SetSection(9);
  TypeSelector line(PresetKind::kLine);
  Open(line);
  EXPECT_EQ(Run(line, {kCodeDown, kCodeEnter}), kSelectorDone);
  EXPECT_EQ(props.line.shape(), 2u);
  EXPECT_EQ(props.line.width(), 2u);
  EXPECT_EQ(props.line.section(), 0u);
  const PropertySet before = props.line;
  Open(line);
  EXPECT_EQ(Run(line, {kCodeDown, kCodeEsc}), kSelectorCancelled);
  EXPECT_EQ(props.line.words, before.words);
  // The list opens on the preset chosen last.
  Open(line);
  EXPECT_EQ(Run(line, {kCodeEnter}), kSelectorDone);
  EXPECT_EQ(props.line.width(), 2u);
  EXPECT_EQ(app.screen.windows.size(), 0u);
}

TEST_F(TypeSelectorTest, FreeChoiceAsksWhatItLeavesOpen) {
  TypeSelector line(PresetKind::kLine);
  std::vector<std::string> asked;
  Open(line);
  Run(line, {kCodeEnd, kCodeEnter});
  asked.push_back(Prompt());
  for (int i = 0; i < 5; ++i) {
    if (Run(line, {kCodeDown, kCodeEnter}) != kStillRunning) break;
    asked.push_back(Prompt());
  }
  ASSERT_EQ(asked.size(), 5u);
  EXPECT_NE(asked[0].find("Layer not set: SELECT LAYER !"), std::string::npos);
  EXPECT_NE(asked[1].find("SELECT WIDTH OF LINE !"), std::string::npos);
  EXPECT_NE(asked[2].find("SELECT COLOUR !"), std::string::npos);
  EXPECT_NE(asked[3].find("SELECT STYLE OF LINE !"), std::string::npos);
  EXPECT_NE(asked[4].find("SELECT SECTION OF LINE !"), std::string::npos);
  EXPECT_EQ(props.line.layer(), 2u);
  EXPECT_EQ(props.line.style(), 2u);
  EXPECT_EQ(props.line.section(), 4u);

  // Layer, width and colour are remembered; a solid style needs no section.
  Open(line);
  Run(line, {kCodeEnter});
  EXPECT_NE(Prompt().find("SELECT STYLE OF LINE !"), std::string::npos);
  EXPECT_EQ(Run(line, {kCodeHome, kCodeEnter}), kSelectorDone);
  EXPECT_EQ(props.line.layer(), 2u);
  EXPECT_EQ(props.line.style(), 1u);
  EXPECT_EQ(props.line.section(), 0u);
}

using LayerListTest = PropertyFixture;

TEST_F(LayerListTest, RedrawsOnceOnlyWhenAFlagChanged) {
  const int repaints = headless.window.repaints;
  Key(kCodeLayers);
  EXPECT_EQ(app.commandState.inputMode, kModeLayerList);
  Keys({kCodeDown, kCodeEnter});
  EXPECT_EQ(app.drawing.layerVisible[2], 0u);
  EXPECT_EQ(headless.window.repaints, repaints);
  Key(kCodeEsc);
  EXPECT_EQ(headless.window.repaints, repaints + 1);
  EXPECT_EQ(app.commandState.inputMode, kModeCursor);

  Keys({kCodeLayers, kCodeEnter, kCodeEnter, kCodeTab});
  EXPECT_EQ(headless.window.repaints, repaints + 1);

  Keys({kCodeLayers, kCodeCtrlDown, kCodeEnter});
  EXPECT_EQ(app.drawing.layerVisible[6], 0u);
  Key('a');
  EXPECT_TRUE(Shown("Not in use !"));
  EXPECT_TRUE(Cue(kSoundSmallError));
  Key(kCodeBackspace);
  EXPECT_TRUE(Cue(kSoundKey));
  EXPECT_FALSE(LevelActive(control, Level::kHelp));
  EXPECT_EQ(app.screen.windows.size(), 0u);
}

} // namespace
} // namespace lumora
