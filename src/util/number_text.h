// Numbers shown to the user and numbers read from what the user typed.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lumora {

// The characters a number starts with.
inline constexpr std::string_view kNumberStart = "+-.0123456789";

// The text shown when a number does not fit its field.
inline constexpr std::string_view kNumberOverflowText = "****";

// value rounded to the nearest multiple of step (halves upwards), written with at most six
// decimals and no trailing zeros or point. A result longer than width is "****". A negative
// step rounds by its size and shows a value that rounds to zero as an empty text. A zero step
// does not round.
std::string NumberToText(double value, double step, std::size_t width);

// Reads the next number of text from pos on: the first character out of "+-.0123456789" starts
// it and it is read as a decimal literal; pos moves past it. Answers 1 with the value, or 0 with
// value 0 and pos at the end when the rest of the text holds no such character. A starting
// character that begins no literal (a lone sign or point) reads as 0 and pos moves past it.
int ReadNumber(std::string_view text, std::size_t& pos, double& value);

// The same, giving only the value.
double TextToNumber(std::string_view text, std::size_t& pos);

} // namespace lumora
