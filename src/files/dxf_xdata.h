// The extended data the program attaches to what it writes as DXF, so that its own files read
// back exactly: the record words and measure points of texts, and a mark on the lines that
// only draw a measure (the measure draws them again itself).
#pragma once

#include "files/dxf_scene.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

inline constexpr std::string_view kXDataApp = "LUMORA";
inline constexpr std::string_view kMeasureGraphicsTag = "measure";
inline constexpr std::string_view kTextRecordTag = "text";

struct DxfXData {
  std::string tag;
  std::vector<std::uint32_t> ints;
  std::vector<double> reals;
};

// Restores a text's record words and its points (place and measure points) from the data the
// writer attached; leaves the text as read when the data does not fit.
void RestoreOwnText(const DxfXData& xdata, SceneText& text);

} // namespace lumora
