// Reading the drawing file's values in the precision of the file, with the message that a
// short read of each kind of value gives. A failed read shows its message once; every later
// read fails too.
#pragma once

#include "files/byte_reader.h"
#include "files/file_reporter.h"
#include "geometry/point.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <span>

namespace lumora {

class RecordDecoder {
public:
  RecordDecoder(ByteReader& in, FileReporter& reporter, bool wide)
      : in_(in), reporter_(reporter), wide_(wide) {}

  bool Wide() const { return wide_; }
  bool Failed() const { return failed_; }
  std::uint64_t Remaining() const { return in_.Remaining(); }
  std::size_t RealBytes() const { return wide_ ? sizeof(double) : sizeof(float); }
  std::size_t CountBytes() const { return wide_ ? sizeof(std::int32_t) : sizeof(std::int16_t); }

  // A real: a double in a wide file, a float otherwise. Values that are not finite numbers
  // are refused like a short read.
  bool Real(double& value);
  bool Count(std::int32_t& value);
  bool Words(std::uint32_t* words, std::size_t count);
  // count points, each two reals, checked for room once and decoded in place.
  bool Points(std::span<Point> points);
  // count counts side by side, each handed to each(value) in order.
  template <class Each> bool Counts(std::size_t count, Each each) {
    if (failed_ || !Expect(count, CountBytes(), Kind::kCounts)) return false;
    const unsigned char* bytes = in_.Take(count * CountBytes());
    if (bytes == nullptr) return Fail(Kind::kCounts);
    for (std::size_t k = 0; k < count; ++k) {
      each(wide_ ? static_cast<std::int32_t>(Little<std::uint32_t>(bytes + k * 4))
                 : static_cast<std::int32_t>(
                       static_cast<std::int16_t>(Little<std::uint16_t>(bytes + k * 2))));
    }
    return true;
  }
  bool Bytes(void* out, std::size_t count);
  // count bytes read in place, valid until the next read; null when they are not there.
  const char* Chars(std::size_t count);
  // Fails unless `count` values of `each` bytes are still there, before anything is allocated
  // for them.
  enum class Kind { kPlain, kReals, kCounts };
  bool Expect(std::uint64_t count, std::size_t each, Kind kind);

  // Refuses what was read as a failed read.
  bool Refuse() { return Fail(Kind::kPlain); }

private:
  bool Fail(Kind kind);

  // An unsigned little-endian value of the file.
  template <class Unsigned> static Unsigned Little(const unsigned char* bytes) {
    Unsigned value = 0;
    if constexpr (std::endian::native == std::endian::little) {
      std::memcpy(&value, bytes, sizeof value);
    } else {
      for (std::size_t i = sizeof value; i-- > 0;)
        value = static_cast<Unsigned>((value << 8) | bytes[i]);
    }
    return value;
  }

  ByteReader& in_;
  FileReporter& reporter_;
  bool wide_;
  bool failed_ = false;
};

} // namespace lumora
