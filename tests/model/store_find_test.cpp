// Finding texts and parts under a point, and stepping through equally near ones.
#include "model/store_fixture.h"

namespace lumora::test {
namespace {

// Texts cover 10 x 2 from their first point; the view is 100 wide, so a search unit is 0.8.
TEST_F(StoreTest, FindTextTakesTheNearestVisibleTextContainingThePoint) {
  TextElement* far = Text({20, 20});
  TextElement* near = Text({22, 20});
  EXPECT_EQ(store.FindText({23, 21}, 2), near);
  EXPECT_EQ(store.FindText({21, 21}, 2), far);
  EXPECT_EQ(store.FindText({35, 21}, 2), nullptr);

  near->SetHidden(1);
  EXPECT_EQ(store.FindText({23, 21}, 2), far);
  drawing.layerVisible[0] = 0;
  EXPECT_EQ(store.FindText({23, 21}, 2), nullptr);
  drawing.layerVisible[0] = 1;

  // Outside the limits a text has no zones and is never found.
  Text({300, 300});
  EXPECT_EQ(store.FindText({301, 301}, 0), nullptr);
}

TEST_F(StoreTest, FindTextStepsThroughEquallyNearTexts) {
  TextElement* a = Text({20, 20});
  TextElement* b = Text({20, 20});
  EXPECT_EQ(store.FindText({25, 21}, 2), b);
  EXPECT_EQ(store.FindText({25, 21}, 2), a);
  EXPECT_EQ(store.FindText({25, 21}, 2), b);

  // With three, every one comes in turn: after the previous one, the next in list order.
  TextElement* c = Text({20, 20});
  EXPECT_EQ(store.FindText({25, 21}, 2), a);
  EXPECT_EQ(store.FindText({90, 90}, 2), nullptr); // a miss starts the stepping afresh
  std::vector<TextElement*> found;
  for (int i = 0; i < 6; ++i) found.push_back(store.FindText({25, 21}, 2));
  const std::vector<TextElement*> cycle{c, b, a, c, b, a};
  EXPECT_EQ(found, cycle);

  // A nearer text ends the stepping at once.
  TextElement* nearest = Text({24, 20});
  EXPECT_EQ(store.FindText({25, 21}, 2), nearest);
  EXPECT_EQ(store.FindText({25, 21}, 2), nearest);
}

class FindPartTest : public StoreTest {
protected:
  // A typed part around one line from corner to corner.
  PartElement* PartOver(Point from, Point to, std::uint32_t lineLayer = 0,
                        std::uint32_t partLayer = 0) {
    PartElement* part = store.AddPart("p", 1, partLayer);
    store.AddMember(part, Line({from, to}, kShapeOpen, lineLayer));
    return part;
  }
};

TEST_F(FindPartTest, FindPartPrefersTheSmallestVisibleTypedPart) {
  PartElement* big = PartOver({0, 0}, {100, 100});
  PartElement* small = PartOver({40, 40}, {60, 60});
  PartElement* group = store.AddPart("", 0, 0);
  store.AddMember(group, Line({{49, 49}, {51, 51}}));
  EXPECT_EQ(store.FindPart({50, 50}, false), small);
  EXPECT_EQ(store.FindPart({10, 10}, false), big);
  EXPECT_EQ(store.FindPart({120, 120}, false), nullptr);

  small->SetHidden(1);
  EXPECT_EQ(store.FindPart({50, 50}, false), big);
  small->SetHidden(0);
  drawing.layerVisible[0] = 0;
  EXPECT_EQ(store.FindPart({50, 50}, false), nullptr);
}

TEST_F(FindPartTest, NestedPartsAreSkippedOnRequest) {
  PartElement* outer = PartOver({0, 0}, {100, 100});
  PartElement* inner = PartOver({40, 40}, {60, 60});
  store.AddMember(outer, inner);
  EXPECT_EQ(store.FindPart({50, 50}, false), inner);
  EXPECT_EQ(store.FindPart({50, 50}, true), outer);
}

TEST_F(FindPartTest, AMixedLayerPartIsVisibleThroughAnyMember) {
  PartElement* mixed = store.AddPart("m", 1, kMixedLayer);
  store.AddMember(mixed, Line({{10, 10}, {20, 20}}, kShapeOpen, 5));
  PartElement* sub = PartOver({12, 12}, {14, 14}, 6, kMixedLayer);
  store.AddMember(mixed, sub);
  drawing.layerVisible[5] = 0;
  EXPECT_EQ(store.FindPart({11, 11}, true), mixed);
  drawing.layerVisible[6] = 0;
  EXPECT_EQ(store.FindPart({11, 11}, true), nullptr);
  drawing.layerVisible[6] = 1;
  drawing.layerVisible[kMixedLayer] = 0;
  EXPECT_EQ(store.FindPart({11, 11}, true), mixed);
}

TEST_F(FindPartTest, FindPartStepsThroughPartsOfEqualSize) {
  PartElement* a = PartOver({10, 10}, {30, 30});
  PartElement* b = PartOver({20, 20}, {40, 40});
  PartElement* c = PartOver({15, 15}, {35, 35});
  std::vector<PartElement*> found;
  for (int i = 0; i < 4; ++i) found.push_back(store.FindPart({25, 25}, false));
  const std::vector<PartElement*> cycle{c, b, a, c};
  EXPECT_EQ(found, cycle);
}

} // namespace
} // namespace lumora::test
