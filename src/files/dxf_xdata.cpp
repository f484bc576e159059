#include "files/dxf_xdata.h"

#include <cmath>

namespace lumora {

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
  if (!xdata.strings.empty())
    text.text = xdata.strings.front() == kEmptyTextMark ? std::string() : xdata.strings.front();
  text.ownRecord = true;
  text.word0 = xdata.ints[0];
  text.word1 = xdata.ints[1];
}

} // namespace lumora
