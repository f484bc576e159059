// A bounded little-endian reader over a byte buffer or an open file.
//
// The number of bytes left is known before the first read (a file's size is taken when the
// reader is made), every read is checked against it, and a read that does not fit consumes
// nothing and fails. Callers may therefore compare a count read from the data with Remaining()
// before allocating anything for it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <vector>

namespace lumora {

class ByteReader {
public:
  // Reads a buffer that the caller keeps alive for the reader's lifetime.
  explicit ByteReader(std::span<const unsigned char> bytes);
  // Streams a file from its current position to its end, in chunks. A file whose size cannot
  // be known (a pipe) reads as empty.
  explicit ByteReader(std::FILE* file);

  ByteReader(const ByteReader&) = delete;
  ByteReader& operator=(const ByteReader&) = delete;

  std::uint64_t Remaining() const { return remaining_; }
  std::uint64_t Position() const { return total_ - remaining_; }

  bool ReadBytes(void* out, std::size_t count);
  // The next count bytes side by side, consumed; null (consuming nothing) when fewer are left.
  // The bytes stay valid until the next read.
  const unsigned char* Take(std::size_t count);
  bool Skip(std::uint64_t count);
  bool ReadU16(std::uint16_t& value);
  bool ReadI16(std::int32_t& value); // sign-extended
  bool ReadU32(std::uint32_t& value);
  bool ReadI32(std::int32_t& value);
  bool ReadF32(double& value);
  bool ReadF64(double& value);

private:
  bool Refill();
  // Makes the window hold at least count bytes from the cursor on.
  bool Gather(std::size_t count);
  template <std::size_t N> bool ReadLittle(std::uint64_t& value);

  std::FILE* file_ = nullptr;
  std::vector<unsigned char> chunk_;
  const unsigned char* cursor_ = nullptr;
  const unsigned char* end_ = nullptr;
  std::uint64_t remaining_ = 0; // bytes not yet consumed, in the window and beyond it
  std::uint64_t total_ = 0;
};

} // namespace lumora
