// Floats kept inside packed record words.
#pragma once

#include <bit>
#include <cstdint>

namespace lumora {

// The float nearest to value. Values beyond the float range are held at its ends rather than
// converted (an out-of-range conversion is undefined); NaN stays NaN.
float ToStoredFloat(double value);

inline std::uint32_t FloatToWord(double value) {
  return std::bit_cast<std::uint32_t>(ToStoredFloat(value));
}
inline float WordToFloat(std::uint32_t word) {
  return std::bit_cast<float>(word);
}

} // namespace lumora
