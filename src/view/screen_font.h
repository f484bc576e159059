// The screen character set: one 8x13 bitmap per code 32..249, bottom row first, one byte per
// row with the leftmost pixel in the high bit. Drawn with its bottom row 2 pixels below the
// baseline; every glyph advances 10 pixels.
#pragma once

#include "view/canvas.h"

#include <cstdint>
#include <span>

namespace lumora {

inline constexpr int kScreenGlyphCount = kLastGlyph - kFirstGlyph + 1;

extern const std::uint8_t kScreenGlyphRows[kScreenGlyphCount][kGlyphHeight];

// The rows of a code's glyph, or an empty span for a code outside the set.
inline std::span<const std::uint8_t> ScreenGlyph(unsigned char code) {
  if (code < kFirstGlyph || code > kLastGlyph) return {};
  return kScreenGlyphRows[code - kFirstGlyph];
}

} // namespace lumora
