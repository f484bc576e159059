// The strings of DXF texts in the program's own Latin-1: formatting codes removed, special
// characters and escapes turned into their letters.
#pragma once

#include <string>
#include <string_view>

namespace lumora {

// Any string of the file (a name or a text) in the program's character set, Windows-1252:
// files from 2007 on store UTF-8 (`utf8`), older ones their code page, taken as it is. Letters
// the character set lacks become '?', each counted in `unreadable` when it is given.
std::string DxfString(std::string_view text, bool utf8, std::size_t* unreadable = nullptr);

// A TEXT string: %%d, %%p and %%c become their signs, %%u and %%o (underline, overline)
// vanish, \U+XXXX becomes its letter ('?' beyond the character set, counted as above). `utf8`
// when the file stores UTF-8.
std::string PlainDxfText(std::string_view text, bool utf8, std::size_t* unreadable = nullptr);

// An MTEXT string as one text: formatting removed, stacked fractions as a/b, paragraph breaks
// as the row separator '|' of the program's texts, and %%d, %%p and %%c as in a TEXT.
std::string PlainMText(std::string_view text, bool utf8, std::size_t* unreadable = nullptr);

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
