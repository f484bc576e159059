#include "files/record_encoder.h"

#include "model/float_word.h"

#include <bit>

namespace lumora {

namespace {
constexpr unsigned kBitsPerByte = 8;
constexpr unsigned kByteMask = 0xFF;
} // namespace

template <std::size_t N> bool RecordEncoder::Little(std::uint64_t value) {
  unsigned char bytes[N];
  for (std::size_t i = 0; i < N; ++i)
    bytes[i] = static_cast<unsigned char>((value >> (kBitsPerByte * i)) & kByteMask);
  return writer_.Write(bytes, N);
}

bool RecordEncoder::Float(float value) {
  return Little<4>(std::bit_cast<std::uint32_t>(value));
}

bool RecordEncoder::Word(std::uint32_t value) {
  return Little<4>(value);
}

bool RecordEncoder::Real(double value) {
  if (wide_) return Little<8>(std::bit_cast<std::uint64_t>(value));
  return Float(ToStoredFloat(value));
}

bool RecordEncoder::Count(std::int32_t value) {
  if (wide_) return Little<4>(static_cast<std::uint32_t>(value));
  return Little<2>(static_cast<std::uint16_t>(value));
}

} // namespace lumora
