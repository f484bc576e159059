#include "view/png.h"

#include <cstdio>
#include <new>
#include <png.h>

namespace lumora {
namespace {

constexpr int kChannels = 3;
constexpr png_uint_32 kMaxSide = 1 << 15;

} // namespace

bool WritePng(const std::string& path, const RgbImage& image) {
  if (image.width <= 0 || image.height <= 0 ||
      image.rgb.size() != std::size_t(image.width) * std::size_t(image.height) * kChannels) {
    return false;
  }
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width);
  png.height = static_cast<png_uint_32>(image.height);
  png.format = PNG_FORMAT_RGB;
  const std::string temporary = path + ".tmp";
  const int ok = png_image_write_to_file(&png, temporary.c_str(), 0, image.rgb.data(),
                                         image.width * kChannels, nullptr);
  png_image_free(&png);
  if (!ok) {
    std::remove(temporary.c_str());
    return false;
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

bool ReadPng(const std::string& path, RgbImage& image) {
  image = {};
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) return false;
  if (png.width == 0 || png.height == 0 || png.width > kMaxSide || png.height > kMaxSide) {
    png_image_free(&png);
    return false;
  }
  png.format = PNG_FORMAT_RGB;
  RgbImage read;
  read.width = static_cast<int>(png.width);
  read.height = static_cast<int>(png.height);
  try {
    read.rgb.resize(std::size_t(png.width) * png.height * kChannels);
  } catch (const std::bad_alloc&) {
    png_image_free(&png);
    return false;
  }
  if (!png_image_finish_read(&png, nullptr, read.rgb.data(), read.width * kChannels, nullptr)) {
    png_image_free(&png);
    return false;
  }
  image = std::move(read);
  return true;
}

} // namespace lumora
