#include "model/draw_mode.h"
#include "view/canvas.h"

#include <cmath>
#include <gtest/gtest.h>

namespace lumora {
namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kGrey{128, 128, 128};

TEST(PenColour, ValuesFollowModeAndBackground) {
  EXPECT_TRUE(ResolvePenColour(0, Background::kDark).invert);
  EXPECT_FALSE(ResolvePenColour(1, Background::kDark).invert);
  EXPECT_EQ(ResolvePenColour(42, Background::kLight).rgb, kBlack); // 9..99 as colour 1
  // Highlight: colour x 100.
  EXPECT_EQ(ResolvePenColour(ColourValue(5, DrawMode::kHighlight), Background::kDark).rgb, kGrey);
  EXPECT_EQ(ResolvePenColour(100, Background::kLight).rgb, kGrey);
  // Erase: any negative value, also colour x -100, is the background.
  EXPECT_EQ(ResolvePenColour(-5, Background::kDark).rgb, kBlack);
  EXPECT_EQ(ResolvePenColour(-500, Background::kLight).rgb, kWhite);
  EXPECT_EQ(ResolvePenColour(-150, Background::kDark).rgb, kBlack);
}

TEST(PenWidth, PaperMillimetresAndPixelCounts) {
  EXPECT_DOUBLE_EQ(PenWidthPixels(1.5, 1.0, 4.0), 6.0);
  EXPECT_DOUBLE_EQ(PenWidthPixels(0.5, 10.0, 0.3), 1.5);
  EXPECT_DOUBLE_EQ(PenWidthPixels(0.0, 1.0, 4.0), 1.0);
  EXPECT_DOUBLE_EQ(PenWidthPixels(-1.0, 1.0, 4.0), 1.0);
  EXPECT_DOUBLE_EQ(PenWidthPixels(-3.0, 1.0, 4.0), 3.0);
  EXPECT_DOUBLE_EQ(PenWidthPixels(0.0005, 1.0, 4.0), 1.0); // a tiny width is a pixel count
  EXPECT_DOUBLE_EQ(PenWidthPixels(0.1, 1.0, 0.5), 1.0);    // never thinner than a pixel
  // Zoomed far in, or a broken value: bounded, so drawing stays cheap.
  EXPECT_DOUBLE_EQ(PenWidthPixels(1.0, 1.0, 1e9), kMaxLineWidthPixels);
  EXPECT_DOUBLE_EQ(PenWidthPixels(std::nan(""), 1.0, 4.0), 1.0);
  EXPECT_DOUBLE_EQ(PenWidthPixels(1.0, std::nan(""), 4.0), 1.0);
}

} // namespace
} // namespace lumora
