// Stroke fonts: up to four fonts read from SETUP/<file>.txt, each a table of glyphs made of
// pen moves and draws on an integer grid, and the current text setting used to draw them.
#pragma once

#include "text/message_sink.h"
#include "util/text_pair.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

inline constexpr int kMaxFonts = 4;
inline constexpr std::size_t kMaxGlyphStrokes = 100;
inline constexpr std::size_t kFontNameLength = 39;
inline constexpr std::size_t kFontFileLength = 19;

// pen 0: move to (x, y); any other value: draw a line to it.
struct Stroke {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t pen = 0;
  friend constexpr bool operator==(const Stroke&, const Stroke&) = default;
};

// How far a glyph's strokes reach on its grid, and whether they draw, kept with the glyph so a
// string's extent needs no walk over its strokes.
struct GlyphReach {
  std::int32_t xmin = 0;
  std::int32_t xmax = 0;
  std::int32_t ymin = 0;
  std::int32_t ymax = 0;
  bool draws = false;      // some stroke draws a line
  bool drawsLater = false; // some stroke but the first draws a line
};

GlyphReach ReachOf(const std::vector<Stroke>& strokes);

struct Font {
  std::string name; // display name, shown in the font selector
  std::string file;
  double height = 0;       // grid height that stands for the text height
  double width = 0;        // grid width that stands for the character width
  double lowerPortion = 0; // depth below the base line; a fraction of height once loaded
  double charSpace = 0;    // gap between characters; a fraction of width once loaded
  double rowSpace = 0;     // gap between rows; a fraction of height once loaded
  // Glyphs by Latin-1 code; an empty list is a character without a glyph. A character
  // defined twice keeps its last definition.
  std::array<std::vector<Stroke>, 256> glyphs;
  std::array<GlyphReach, 256> reach; // ReachOf each glyph, set with it
  int glyphCount = 0;

  const std::vector<Stroke>& Glyph(char c) const { return glyphs[static_cast<unsigned char>(c)]; }
  const GlyphReach& Reach(char c) const { return reach[static_cast<unsigned char>(c)]; }
};

// Set before a string is drawn or measured.
struct TextSetting {
  int font = 0;
  double angle = 0;       // degrees
  double yFactor = 0;     // h / HEIGHT
  double xFactor = 0;     // h * r / WIDTH
  double slantFactor = 0; // h * s / HEIGHT
  double charAdvance = 0; // (CHAR_SPACE + 1) * h * r
  double rowAdvance = 0;  // (ROW_SPACE + 1) * h
};

struct Fonts {
  std::array<Font, kMaxFonts> slots;
  int count = 0;               // loaded fonts; a text's font number must be below it
  std::size_t longestName = 0; // width of the font selector
  TextSetting current;
};

// What loading a font needs besides the font table.
struct FontLoad {
  std::string_view home; // program directory
  Language language;
  MessageSink& sink;
};

// Reads SETUP/<file>.txt into the next free slot. 1 when the font was accepted, else 0 and the
// slot stays free.
int LoadFont(Fonts& fonts, const FontLoad& load, std::string_view file,
             std::string_view displayName);

// Reads a font file's content into font (cleared first). True when the font is usable: at least
// one glyph and a nonzero HEIGHT and WIDTH; the metrics are then normalised.
bool ParseFont(std::string_view content, Font& font, MessageSink& sink);

std::string FontPath(std::string_view home, std::string_view file);

// Sets the current text setting; ignored for a font number that is not loaded.
void SetTextStyle(Fonts& fonts, int font, double height, double angle, double widthRatio,
                  double slant);

} // namespace lumora
