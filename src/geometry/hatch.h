// Parallel hatch segments inside the loops of a pen path.
//
// The work is bounded whatever the boundary: at most kMaxHatchLines lines and kMaxHatchSegments
// segments, and each line visits only the edges that span it. A boundary or gap that is not a
// finite number, or a hatch past the bounds, gives no segments and says so.
#pragma once

#include "geometry/primitives.h"

#include <cstddef>
#include <span>
#include <vector>

namespace lumora {

inline constexpr double kMinHatchGap = 0.001;
inline constexpr std::size_t kMaxHatchLines = 100000;
inline constexpr std::size_t kMaxHatchSegments = 1000000;

enum class HatchStatus {
  kDone,     // the segments are written (possibly none)
  kNoHatch,  // the gap is too small to hatch at all
  kTooDense, // past the bounds, or not finite numbers: nothing written
};

// Appends the segment ends, two points per segment, of lines at the angle (degrees) spaced by
// gap. Points already in out stay; on kTooDense out is as it was.
HatchStatus HatchPenPath(std::span<const PenPathRecord> records, double gap, double angle,
                         std::vector<Point>& out);

} // namespace lumora
