#include "geometry/primitives.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

void ExpectMaps(const Transform& t, double x, double y, double wantX, double wantY) {
  ApplyTransform(t, x, y);
  EXPECT_NEAR(x, wantX, 1e-8);
  EXPECT_NEAR(y, wantY, 1e-8);
}

TEST(Transforms, PlaceScaleMirrorAndTurn) {
  Transform t;
  ExpectMaps(t, 3, 4, 3, 4);
  MakeTransform(t, 1, 1, 10, 20, 2, 3, 0);
  EXPECT_EQ(t.b, 0.0);
  EXPECT_EQ(t.d, 0.0);
  ExpectMaps(t, 1, 1, 10, 20);
  ExpectMaps(t, 2, 2, 12, 23);
  // An angle within the tolerance of zero is no rotation at all.
  MakeTransform(t, 0, 0, 0, 0, 1, 1, 0.0005);
  EXPECT_EQ(t.a, 1.0);
  EXPECT_EQ(t.b, 0.0);
  MakeTransform(t, 1, 1, 10, 20, -1, 1, 0);
  ExpectMaps(t, 2, 2, 9, 21);
  MakeTransform(t, 0, 0, 5, 5, 1, 1, 90);
  ExpectMaps(t, 1, 0, 5, 6);
  ExpectMaps(t, 0, 1, 4, 5);
  // Mirrored in x first, then turned.
  MakeTransform(t, 0, 0, 5, 5, -1, 1, 90);
  ExpectMaps(t, 1, 0, 5, 4);
  MakeTransform(t, 2, 0, 0, 0, 2, 2, 180);
  ExpectMaps(t, 3, 1, -2, -2);
}

TEST(Transforms, BoxOfMappedCorners) {
  Transform t;
  MakeTransform(t, 0, 0, 0, 0, 1, 1, 90);
  Box b{0, 0, 2, 1};
  TransformBox(b, t);
  EXPECT_NEAR(b.xmin, -1, 1e-8);
  EXPECT_NEAR(b.ymin, 0, 1e-8);
  EXPECT_NEAR(b.xmax, 0, 1e-8);
  EXPECT_NEAR(b.ymax, 2, 1e-8);
  MakeTransform(t, 0, 0, 0, 0, 1, 1, 45);
  b = {0, 0, 2, 2};
  TransformBox(b, t);
  EXPECT_NEAR(b.xmin, -1.414213562, 1e-8);
  EXPECT_NEAR(b.ymax, 2.828427125, 1e-8);
  // An empty box stays empty instead of turning into a huge one.
  Box empty;
  TransformBox(empty, t);
  EXPECT_GT(empty.xmin, empty.xmax);
  EXPECT_GT(empty.ymin, empty.ymax);

  double x1 = 1, y1 = 2, x2 = 3, y2 = 4;
  SwapPoints(x1, y1, x2, y2);
  EXPECT_EQ(x1, 3);
  EXPECT_EQ(y1, 4);
  EXPECT_EQ(x2, 1);
  EXPECT_EQ(y2, 2);
}

} // namespace
} // namespace lumora
