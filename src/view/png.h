// RGB images and their PNG files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lumora {

// width x height x 3 bytes, top row first (as image files and viewers expect).
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
};

// Writes beside the target and renames into place, so a failed write leaves any old file.
bool WritePng(const std::string& path, const RgbImage& image);
// False (image left empty) when the file is missing, broken or absurdly large.
bool ReadPng(const std::string& path, RgbImage& image);

} // namespace lumora
