#include "model/elements.h"

#include "model/float_word.h"

#include <cmath>
#include <limits>

namespace lumora {

float ToStoredFloat(double value) {
  constexpr double kLargest = std::numeric_limits<float>::max();
  if (std::isnan(value)) return std::numeric_limits<float>::quiet_NaN();
  if (value > kLargest) return static_cast<float>(kLargest);
  if (value < -kLargest) return static_cast<float>(-kLargest);
  return static_cast<float>(value);
}

namespace {
constexpr int kFillingGapWord = 2;
constexpr int kFillingAngleWord = 3;
constexpr int kTextAngleWord = 2;
} // namespace

float FillingElement::gap() const {
  return WordToFloat(words[kFillingGapWord]);
}
void FillingElement::SetGap(double value) {
  words[kFillingGapWord] = FloatToWord(value);
}

std::int16_t FillingElement::angle() const {
  return static_cast<std::int16_t>(BitField<0, 16>::Get(words[kFillingAngleWord]));
}
void FillingElement::SetAngle(std::int16_t value) {
  BitField<0, 16>::Set(words[kFillingAngleWord], static_cast<std::uint16_t>(value));
}

float TextElement::angle() const {
  return WordToFloat(words[kTextAngleWord]);
}
void TextElement::SetAngle(double value) {
  words[kTextAngleWord] = FloatToWord(value);
}

} // namespace lumora
