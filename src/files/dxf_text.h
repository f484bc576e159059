// The strings of DXF texts in the program's own Latin-1: formatting codes removed, special
// characters and escapes turned into their letters.
#pragma once

#include <string>
#include <string_view>

namespace lumora {

// A TEXT string: %%d, %%p and %%c become their signs, %%u and %%o (underline, overline)
// vanish, \U+XXXX becomes its letter ('?' beyond Latin-1). `utf8` when the file stores UTF-8.
std::string PlainDxfText(std::string_view text, bool utf8);

// An MTEXT string as one text: formatting removed, stacked fractions as a/b and paragraph
// breaks as the row separator '|' of the program's texts.
std::string PlainMText(std::string_view text, bool utf8);

} // namespace lumora
