#include "geometry/near.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

Point Mapped(const Transform& t, Point p) {
  ApplyTransform(t, p.x, p.y);
  return p;
}

TEST(Transforms, PlaceScaleMirrorAndTurn) {
  Transform t;
  MakeTransform(t, 1, 1, 10, 20, 2, 3, 0.0005); // within the tolerance of no rotation
  EXPECT_EQ(t.b, 0.0);
  EXPECT_EQ(t.d, 0.0);
  EXPECT_TRUE(Near(Mapped(t, {1, 1}), {10, 20}) && Near(Mapped(t, {2, 2}), {12, 23}));
  MakeTransform(t, 1, 1, 10, 20, -1, 1, 0);
  EXPECT_TRUE(Near(Mapped(t, {2, 2}), {9, 21}));
  MakeTransform(t, 0, 0, 5, 5, 1, 1, 90);
  EXPECT_TRUE(Near(Mapped(t, {1, 0}), {5, 6}) && Near(Mapped(t, {0, 1}), {4, 5}));
  MakeTransform(t, 0, 0, 5, 5, -1, 1, 90); // mirrored in x, then turned
  EXPECT_TRUE(Near(Mapped(t, {1, 0}), {5, 4}));
}

TEST(Transforms, BoxOfMappedCorners) {
  Transform t;
  MakeTransform(t, 0, 0, 0, 0, 1, 1, 45);
  Box b{0, 0, 2, 2};
  TransformBox(b, t);
  EXPECT_TRUE(Near(b, {-1.41421356237, 0, 1.41421356237, 2.82842712475}, 1e-8));
  // A reversed box maps its corners like any other; an empty one stays empty.
  Box reversed{10, 20, 0, 0};
  TransformBox(reversed, Transform{});
  EXPECT_TRUE(Near(reversed, {0, 0, 10, 20}));
  Box empty;
  TransformBox(empty, t);
  EXPECT_GT(empty.xmin, empty.xmax);
  EXPECT_GT(empty.ymin, empty.ymax);
}

} // namespace
} // namespace lumora
