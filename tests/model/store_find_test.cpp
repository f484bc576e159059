// Finding texts and parts under a point, and stepping through equally near ones.
#include "model/store_fixture.h"

namespace lumora::test {
namespace {

// Texts cover 10 x 2 from their first point; the view is 100 wide, so a search unit is 0.8.
TEST_F(StoreTest, FindTextTakesTheNearestVisibleTextContainingThePoint) {
  TextElement* far = Text({20, 20});
  TextElement* near = Text({22, 20});
  Text({300, 300}); // outside the limits: no zones, never found
  EXPECT_EQ(store.FindText({23, 21}, 2), near);
  EXPECT_EQ(store.FindText({21, 21}, 2), far);
  EXPECT_EQ(store.FindText({35, 21}, 2), nullptr);
  EXPECT_EQ(store.FindText({301, 301}, 0), nullptr);
  near->SetHidden(1);
  EXPECT_EQ(store.FindText({23, 21}, 2), far);
  drawing.layerVisible[0] = 0;
  EXPECT_EQ(store.FindText({23, 21}, 2), nullptr);
}

TEST_F(StoreTest, RepeatedPicksStepThroughEquallyNearTexts) {
  TextElement* a = Text({20, 20});
  TextElement* b = Text({20, 20});
  std::vector<TextElement*> found;
  for (int i = 0; i < 3; ++i) found.push_back(store.FindText({25, 21}, 2));
  // With three, every one comes in turn: after the previous one, the next in list order.
  TextElement* c = Text({20, 20});
  for (int i = 0; i < 4; ++i) found.push_back(store.FindText({25, 21}, 2));
  EXPECT_EQ(found, (std::vector<TextElement*>{b, a, b, a, c, b, a}));
  TextElement* nearest = Text({24, 20}); // a nearer text ends the stepping
  EXPECT_EQ(store.FindText({25, 21}, 2), nearest);
  EXPECT_EQ(store.FindText({25, 21}, 2), nearest);
}

TEST_F(StoreTest, FindPartTakesTheSmallestVisibleTypedPart) {
  const auto over = [this](Point from, Point to, std::uint32_t lineLayer, std::uint32_t layer) {
    PartElement* part = Part(1, layer);
    store.AddMember(part, Line({from, to}, kShapeOpen, lineLayer));
    return part;
  };
  PartElement* big = over({0, 0}, {100, 100}, 0, 0);
  PartElement* small = over({40, 40}, {60, 60}, 0, 0);
  store.AddMember(Part(0), Line({{49, 49}, {51, 51}})); // a selection group is no part to pick
  EXPECT_EQ(store.FindPart({50, 50}, false), small);
  EXPECT_EQ(store.FindPart({10, 10}, false), big);
  EXPECT_EQ(store.FindPart({120, 120}, false), nullptr);
  store.AddMember(big, small);
  EXPECT_EQ(store.FindPart({50, 50}, true), big);
  small->SetHidden(1);
  EXPECT_EQ(store.FindPart({50, 50}, false), big);

  // A mixed-layer part is visible through any member on a visible layer, at any depth.
  PartElement* mixed = over({110, 110}, {120, 120}, 5, kMixedLayer);
  store.AddMember(mixed, over({112, 112}, {114, 114}, 6, kMixedLayer));
  drawing.layerVisible[5] = 0;
  EXPECT_EQ(store.FindPart({111, 111}, true), mixed);
  drawing.layerVisible[6] = 0;
  EXPECT_EQ(store.FindPart({111, 111}, true), nullptr);
}

TEST_F(StoreTest, RepeatedPicksStepThroughPartsOfEqualSize) {
  std::vector<PartElement*> parts;
  for (const double at : {10.0, 20.0, 15.0}) {
    parts.push_back(Part(1));
    store.AddMember(parts.back(), Line({{at, at}, {at + 20, at + 20}}));
  }
  std::vector<PartElement*> found;
  for (int i = 0; i < 4; ++i) found.push_back(store.FindPart({25, 25}, false));
  EXPECT_EQ(found, (std::vector<PartElement*>{parts[2], parts[1], parts[0], parts[2]}));
}

} // namespace
} // namespace lumora::test
