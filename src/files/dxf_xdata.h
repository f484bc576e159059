// The extended data the program attaches to what it writes as DXF, so that its own files read
// back exactly: the record words and measure points of texts, the exact properties and number
// of every line, the properties and boundary lines of fillings, the type of parts, and a mark
// on the lines that only draw a measure (the measure draws them again itself).
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
// Followed by the line's number, then layer, colour, width, style, section and shape (and the
// points of an arc or circle).
inline constexpr std::string_view kLineTag = "line";
// Followed by layer, colour, width, style and section, then the numbers of the boundary lines,
// kLoopEndId where the filling's list has an empty entry (one loop ends, the next begins), then
// the gap and angle as reals.
inline constexpr std::string_view kFillingTag = "filling";
inline constexpr int kLoopEndId = -1;
// Followed by the part's name; its type and layer follow as numbers.
inline constexpr std::string_view kPartTag = "part:";
// Stands for a text of no characters, which the library would not hand over.
inline constexpr std::string_view kEmptyTextMark = "\x01";

struct DxfXData {
  std::string tag;
  std::vector<std::string> strings; // after the tag
  std::vector<std::uint32_t> ints;
  std::vector<double> reals;
};

// Restores a text's record words, its points (place and measure points) and, when it differs
// from what the text shows, its string from the data the writer attached; leaves the text as
// read when the data does not fit.
void RestoreOwnText(const DxfXData& xdata, SceneText& text);

// The same for lines, fillings and parts; data that does not fit leaves them as read.
void RestoreOwnLine(const DxfXData& xdata, SceneLine& line);
void RestoreOwnFilling(const DxfXData& xdata, SceneFilling& filling);
void RestoreOwnInsert(const DxfXData& xdata, SceneInsert& insert);

} // namespace lumora
