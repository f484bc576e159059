#include "support/golden.h"

#include <algorithm>
#include <filesystem>

namespace lumora::testing {
namespace {

constexpr int kChannels = 3;
constexpr int kDimShift = 2; // unchanged pixels are shown at a quarter of their brightness

std::string GoldenPath(const std::string& name) {
  return std::string(LUMORA_SOURCE_DIR) + "/tests/golden/" + name + ".png";
}

const std::uint8_t* PixelIn(const RgbImage& image, int x, int y) {
  if (x >= image.width || y >= image.height) return nullptr;
  return &image.rgb[(std::size_t(y) * std::size_t(image.width) + std::size_t(x)) * kChannels];
}

// Red where the images differ (including where only one of them has pixels).
RgbImage DiffImage(const RgbImage& out, const RgbImage& golden, long& differing) {
  RgbImage diff;
  diff.width = std::max(out.width, golden.width);
  diff.height = std::max(out.height, golden.height);
  diff.rgb.assign(std::size_t(diff.width) * std::size_t(diff.height) * kChannels, 0);
  differing = 0;
  for (int y = 0; y < diff.height; ++y) {
    for (int x = 0; x < diff.width; ++x) {
      const std::uint8_t* a = PixelIn(out, x, y);
      const std::uint8_t* b = PixelIn(golden, x, y);
      std::uint8_t* d = &diff.rgb[(std::size_t(y) * std::size_t(diff.width) + x) * kChannels];
      if (a && b && std::equal(a, a + kChannels, b)) {
        for (int c = 0; c < kChannels; ++c) d[c] = static_cast<std::uint8_t>(a[c] >> kDimShift);
      } else {
        d[0] = 0xFF;
        ++differing;
      }
    }
  }
  return diff;
}

} // namespace

std::string GoldenOutputDir() {
  return std::string(LUMORA_TEST_TMP) + "/golden";
}

::testing::AssertionResult MatchesGolden(const RgbImage& image, const std::string& name) {
  RgbImage golden;
  const bool haveGolden = ReadPng(GoldenPath(name), golden);
  if (haveGolden && golden.width == image.width && golden.height == image.height &&
      golden.rgb == image.rgb) {
    return ::testing::AssertionSuccess();
  }
  std::error_code ignored;
  std::filesystem::create_directories(GoldenOutputDir(), ignored);
  const std::string base = GoldenOutputDir() + "/" + name;
  WritePng(base + ".out.png", image);
  long differing = 0;
  WritePng(base + ".diff.png", DiffImage(image, golden, differing));
  if (!haveGolden) {
    return ::testing::AssertionFailure() << "no golden picture " << GoldenPath(name) << "; review "
                                         << base << ".out.png and accept it";
  }
  return ::testing::AssertionFailure()
         << name << ": " << differing << " pixels differ (golden " << golden.width << "x"
         << golden.height << ", drawn " << image.width << "x" << image.height << "); see " << base
         << ".diff.png";
}

::testing::AssertionResult MatchesGolden(const SoftCanvas& canvas, const std::string& name) {
  return MatchesGolden(canvas.Image(), name);
}

} // namespace lumora::testing
