#include "files/dxf_xdata.h"

#include <cmath>

namespace lumora {
namespace {

constexpr std::size_t kPropertyCount = 5;
constexpr std::uint32_t kLayerCount = 128;
constexpr std::uint32_t kFourBits = 15;

// Layer, colour, width, style and section from `at`, when they fit their fields.
bool TakeProperties(const std::vector<std::uint32_t>& ints, std::size_t at, OwnProperties& own) {
  if (ints.size() < at + kPropertyCount || ints[at] >= kLayerCount) return false;
  for (std::size_t k = at + 1; k < at + kPropertyCount; ++k)
    if (ints[k] > kFourBits) return false;
  own = {true, ints[at], ints[at + 1], ints[at + 2], ints[at + 3], ints[at + 4]};
  return true;
}

constexpr std::uint32_t kMaxOwnId = 0x7FFFFFFF;

} // namespace

void RestoreOwnLine(const DxfXData& xdata, SceneLine& line) {
  constexpr std::uint32_t kLastShape = 7;
  if (xdata.tag != kLineTag || xdata.ints.size() != 2 + kPropertyCount ||
      xdata.ints[0] > kMaxOwnId || xdata.ints.back() > kLastShape)
    return;
  OwnProperties own;
  if (!TakeProperties(xdata.ints, 1, own)) return;
  line.ownId = static_cast<int>(xdata.ints[0]);
  line.attr.own = own;
  // A shape the program does not draw as a polyline, arc or circle stays as it was.
  const std::uint32_t shape = xdata.ints.back();
  if (shape == 0 || shape > 4) line.shape = shape;
  if (xdata.reals.size() != 2 * line.points.size()) return;
  for (double r : xdata.reals)
    if (!std::isfinite(r)) return;
  for (std::size_t k = 0; k < line.points.size(); ++k)
    line.points[k] = {xdata.reals[2 * k], xdata.reals[2 * k + 1]};
}

void RestoreOwnFilling(const DxfXData& xdata, SceneFilling& filling) {
  OwnProperties own;
  if (xdata.tag != kFillingTag || !TakeProperties(xdata.ints, 0, own)) return;
  std::vector<int> ids;
  for (std::size_t k = kPropertyCount; k < xdata.ints.size(); ++k) {
    if (xdata.ints[k] == static_cast<std::uint32_t>(kLoopEndId)) {
      ids.push_back(kLoopEndId);
      continue;
    }
    if (xdata.ints[k] > kMaxOwnId) return;
    ids.push_back(static_cast<int>(xdata.ints[k]));
  }
  filling.attr.own = own;
  filling.ownBoundary = std::move(ids);
  // The gap and angle as the drawing held them, beyond what the pattern may say.
  if (xdata.reals.size() == 2 && std::isfinite(xdata.reals[0]) && std::isfinite(xdata.reals[1]))
    filling.gap = xdata.reals[0], filling.angle = xdata.reals[1];
}

void RestoreOwnInsert(const DxfXData& xdata, SceneInsert& insert) {
  if (!xdata.tag.starts_with(kPartTag)) return;
  insert.name = xdata.tag.substr(kPartTag.size());
  constexpr std::uint32_t kLastType = 15;
  if (xdata.ints.size() != 2 || xdata.ints[0] > kLastType || xdata.ints[1] >= kLayerCount) return;
  insert.partType = static_cast<int>(xdata.ints[0]);
  insert.attr.own.present = true;
  insert.attr.own.layer = xdata.ints[1];
}

void RestoreOwnText(const DxfXData& xdata, SceneText& text) {
  constexpr std::size_t kWords = 2;
  constexpr std::size_t kMostPoints = 7;
  if (xdata.tag != kTextRecordTag || xdata.ints.size() != kWords || xdata.reals.empty() ||
      xdata.reals.size() % 2 != 0 || xdata.reals.size() / 2 > kMostPoints)
    return;
  for (double r : xdata.reals)
    if (!std::isfinite(r)) return;
  text.points.clear();
  for (std::size_t k = 0; k < xdata.reals.size(); k += 2)
    text.points.push_back({xdata.reals[k], xdata.reals[k + 1]});
  // A long text comes in pieces.
  if (!xdata.strings.empty()) {
    text.text.clear();
    if (xdata.strings.front() != kEmptyTextMark)
      for (const std::string& piece : xdata.strings) text.text += piece;
  }
  text.ownRecord = true;
  text.word0 = xdata.ints[0];
  text.word1 = xdata.ints[1];
}

} // namespace lumora
