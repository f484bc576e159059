// A bit field inside a packed 32-bit record word.
//
// Records keep their attributes packed in the words that go to drawing files unchanged, so every
// accessor reads and writes through one of these: a value wider than its field is cut to the
// field's width and can never spill into a neighbour.
#pragma once

#include <cstdint>

namespace lumora {

template <unsigned Shift, unsigned Width> struct BitField {
  static_assert(Width >= 1 && Shift + Width <= 32, "field must lie inside one word");

  static constexpr std::uint32_t kMax =
      Width == 32 ? 0xFFFFFFFFu : static_cast<std::uint32_t>((1ull << Width) - 1u);
  static constexpr std::uint32_t kMask = kMax << Shift;

  static constexpr std::uint32_t Get(std::uint32_t word) { return (word & kMask) >> Shift; }
  static constexpr void Set(std::uint32_t& word, std::uint32_t value) {
    word = (word & ~kMask) | ((value << Shift) & kMask);
  }
};

} // namespace lumora
