#include "model/element_transform.h"
#include "model/elements.h"
#include "model/property_set.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace lumora {
namespace {

TEST(TransformFillingHatch, WrapsInSixteenBitsAndSurvivesAnyRotation) {
  PropertySet set;
  set.gap = 2;
  set.hatchAngle = 32767;
  TransformFillingHatch(set, 1, 1, 1.9);
  EXPECT_EQ(set.hatchAngle, -32768); // 16-bit arithmetic, whole degrees
  set.hatchAngle = 45;
  TransformFillingHatch(set, -2, -3, 1e300);
  EXPECT_EQ(set.gap, 4);
  TransformFillingHatch(set, 1, 1, std::nan(""));
  EXPECT_EQ(set.gap, 4);
}

TEST(TransformLinePoints, ShortArcsAreMappedWithoutReadingPastTheirPoints) {
  LineElement arc;
  arc.SetShape(kShapeArc);
  Transform m;
  MakeTransform(m, 0, 0, 1, 0, -2, 1, 0);
  std::vector<Point> two{{0, 0}, {1, 0}};
  TransformLinePoints(arc, two, m, -2, 1);
  EXPECT_EQ(two[0].x, 1);
  EXPECT_EQ(two[1].x, 0); // radius 1 x min(2, 1) towards the mapped start (-1, 0)
  std::vector<Point> one{{3, 3}};
  TransformLinePoints(arc, one, m, -2, 1);
  EXPECT_EQ(one[0].x, -5);
}

} // namespace
} // namespace lumora
