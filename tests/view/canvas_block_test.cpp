#include "view/soft_canvas.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace lumora {
namespace {

void Paint(SoftCanvas& canvas) {
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      canvas.FillRect({x, y, 1, 1},
                      Rgb{std::uint8_t(x * 7), std::uint8_t(y * 11), std::uint8_t(x ^ y)});
    }
  }
}

TEST(PixelBlock, BlocksAreCutToTheWindowAndBadBlocksIgnored) {
  SoftCanvas canvas(40, 30);
  Paint(canvas);
  PixelBlock block;
  ASSERT_TRUE(canvas.ReadBlock({-4, 25, 10, 12}, block));
  EXPECT_EQ(block.rect, (PixelRect{0, 25, 6, 5}));
  canvas.FillRect({0, 0, 40, 30}, {});
  canvas.WriteBlock(block);
  EXPECT_EQ(canvas.Pixel(5, 29), (Rgb{35, 63, 5 ^ 29}));
  EXPECT_EQ(canvas.Pixel(6, 29), (Rgb{}));

  ASSERT_TRUE(canvas.ReadBlock({100, 100, 5, 5}, block)); // wholly outside: empty
  EXPECT_EQ(block.rect.width * block.rect.height, 0);
  EXPECT_TRUE(block.rgb.empty());

  SoftCanvas other(40, 30);
  Paint(other);
  PixelBlock broken{{0, 0, 10, 10}, std::vector<std::uint8_t>(12, 0)};
  other.WriteBlock(broken); // too few bytes for its rectangle
  PixelBlock off{{35, 28, 10, 10}, std::vector<std::uint8_t>(300, 0)};
  other.WriteBlock(off); // partly outside: only the inside part lands
  EXPECT_EQ(other.Pixel(4, 4), (Rgb{28, 44, 0}));
  EXPECT_EQ(other.Pixel(36, 29), (Rgb{}));
}

TEST(SoftCanvasFiles, PngRoundTripAndRefusals) {
  const std::string dir = std::string(LUMORA_TEST_TMP) + "/canvas";
  std::filesystem::create_directories(dir);
  SoftCanvas canvas(13, 7);
  Paint(canvas);
  ASSERT_TRUE(canvas.WritePng(dir + "/round.png"));
  RgbImage read;
  ASSERT_TRUE(ReadPng(dir + "/round.png", read));
  EXPECT_EQ(read.rgb, canvas.Image().rgb);
  // The top row of the file is the window's top row.
  EXPECT_EQ(read.rgb[1], 66);

  EXPECT_FALSE(ReadPng(dir + "/missing.png", read));
  EXPECT_TRUE(read.rgb.empty());
  std::ofstream(dir + "/broken.png") << "\x89PNG\r\n\x1a\n not really";
  EXPECT_FALSE(ReadPng(dir + "/broken.png", read));
  EXPECT_FALSE(WritePng(dir + "/no-such-dir/x.png", canvas.Image()));
  EXPECT_FALSE(WritePng(dir + "/bad.png", RgbImage{3, 3, {1, 2, 3}}));

  // Sizes out of range are refused and leave the canvas as it was.
  EXPECT_FALSE(canvas.Resize(0, 10));
  EXPECT_FALSE(canvas.Resize(kMaxCanvasSide + 1, 10));
  EXPECT_EQ(canvas.Width(), 13);
  EXPECT_EQ(SoftCanvas(-5, 5).Width(), 0);
}

} // namespace
} // namespace lumora
