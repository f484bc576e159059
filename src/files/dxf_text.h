// The strings of DXF texts in the program's own Latin-1: formatting codes removed, special
// characters and escapes turned into their letters.
#pragma once

#include <string>
#include <string_view>

namespace lumora {

// Any string of the file (a name or a text) in Latin-1: files from 2007 on store UTF-8 (`utf8`),
// older ones their code page, taken as Latin-1. Letters Latin-1 lacks become '?'.
std::string DxfString(std::string_view text, bool utf8);

// A TEXT string: %%d, %%p and %%c become their signs, %%u and %%o (underline, overline)
// vanish, \U+XXXX becomes its letter ('?' beyond Latin-1). `utf8` when the file stores UTF-8.
std::string PlainDxfText(std::string_view text, bool utf8);

// An MTEXT string as one text: formatting removed, stacked fractions as a/b, paragraph breaks
// as the row separator '|' of the program's texts, and %%d, %%p and %%c as in a TEXT.
std::string PlainMText(std::string_view text, bool utf8);

// A text's rows wrapped at spaces into rows of at most `letters` letters, as a paragraph is
// set within its width.
std::string WrapRows(std::string_view text, double letters);

// The spacing of the program's stroke fonts, which texts read from a file are laid out with:
// between letters (of a letter's width), between rows and below the base line (of the height).
inline constexpr double kFontLetterSpace = 0.5;
inline constexpr double kFontRowSpace = 0.6;
inline constexpr double kFontLowerPortion = 0.35;

// How many letter widths the longest row of a text takes, the spaces between letters included.
double TextCells(std::string_view text);

// How many rows a text has ('|' begins the next).
std::size_t TextRows(std::string_view text);

} // namespace lumora
