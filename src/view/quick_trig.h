// Cosine and sine within a known error, several times cheaper than the library's. Arc vertices
// are placed with them wherever the error cannot move a vertex into another pixel.
#pragma once

namespace lumora {

// Both results differ from the exact cosine and sine by less than this; the library's results
// (within an ulp of exact) therefore lie within it too.
inline constexpr double kQuickTrigError = 1e-11;
// Angles the quick forms take, in radians either way; beyond it they give the library's answer.
inline constexpr double kQuickTrigRange = 256.0;

struct CosSin {
  double cos = 1.0;
  double sin = 0.0;
};

CosSin QuickCosSin(double angle);

} // namespace lumora
