// Reading the drawing file's values in the precision of the file, with the message that a
// short read of each kind of value gives. A failed read shows its message once; every later
// read fails too.
#pragma once

#include "files/byte_reader.h"
#include "files/file_reporter.h"

#include <cstdint>

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
  bool Bytes(void* out, std::size_t count);
  // Fails unless `count` values of `each` bytes are still there, before anything is allocated
  // for them.
  enum class Kind { kPlain, kReals, kCounts };
  bool Expect(std::uint64_t count, std::size_t each, Kind kind);

  // Refuses what was read as a failed read.
  bool Refuse() { return Fail(Kind::kPlain); }

private:
  bool Fail(Kind kind);

  ByteReader& in_;
  FileReporter& reporter_;
  bool wide_;
  bool failed_ = false;
};

} // namespace lumora
