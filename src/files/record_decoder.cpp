#include "files/record_decoder.h"

#include "files/file_messages.h"

#include <cmath>

namespace lumora {

bool RecordDecoder::Fail(Kind kind) {
  if (!failed_) {
    // The named conversions only exist for the short precision.
    const Kind shown = wide_ ? Kind::kPlain : kind;
    reporter_.ShowError(shown == Kind::kReals    ? file_messages::kReadFloatsFailed
                        : shown == Kind::kCounts ? file_messages::kReadShortsFailed
                                                 : file_messages::kReadFailed);
  }
  failed_ = true;
  return false;
}

bool RecordDecoder::Real(double& value) {
  if (failed_) return false;
  if (!(wide_ ? in_.ReadF64(value) : in_.ReadF32(value))) return Fail(Kind::kReals);
  if (!std::isfinite(value)) return Fail(Kind::kPlain);
  return true;
}

bool RecordDecoder::Count(std::int32_t& value) {
  if (failed_) return false;
  if (!(wide_ ? in_.ReadI32(value) : in_.ReadI16(value))) return Fail(Kind::kCounts);
  return true;
}

bool RecordDecoder::Words(std::uint32_t* words, std::size_t count) {
  if (failed_ || !Expect(count, sizeof(std::uint32_t), Kind::kPlain)) return false;
  const unsigned char* bytes = in_.Take(count * sizeof(std::uint32_t));
  if (bytes == nullptr) return Fail(Kind::kPlain);
  for (std::size_t k = 0; k < count; ++k)
    words[k] = Little<std::uint32_t>(bytes + k * sizeof(std::uint32_t));
  return true;
}

bool RecordDecoder::Points(std::span<Point> points) {
  constexpr std::size_t kReals = 2;
  if (failed_ || !Expect(points.size() * kReals, RealBytes(), Kind::kReals)) return false;
  const unsigned char* bytes = in_.Take(points.size() * kReals * RealBytes());
  if (bytes == nullptr) return Fail(Kind::kReals);
  const auto real = [this, &bytes]() {
    double value = 0;
    if (wide_) {
      value = std::bit_cast<double>(Little<std::uint64_t>(bytes));
      bytes += sizeof(double);
    } else {
      value = std::bit_cast<float>(Little<std::uint32_t>(bytes));
      bytes += sizeof(float);
    }
    return value;
  };
  for (Point& p : points) {
    p.x = real();
    p.y = real();
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return Fail(Kind::kPlain);
  }
  return true;
}

bool RecordDecoder::Bytes(void* out, std::size_t count) {
  if (failed_) return false;
  if (!in_.ReadBytes(out, count)) return Fail(Kind::kPlain);
  return true;
}

const char* RecordDecoder::Chars(std::size_t count) {
  if (failed_) return nullptr;
  const unsigned char* bytes = in_.Take(count);
  if (bytes == nullptr) {
    Fail(Kind::kPlain);
    return nullptr;
  }
  return reinterpret_cast<const char*>(bytes);
}

bool RecordDecoder::Expect(std::uint64_t count, std::size_t each, Kind kind) {
  if (failed_) return false;
  if (each != 0 && count > in_.Remaining() / each) return Fail(kind);
  return true;
}

} // namespace lumora
