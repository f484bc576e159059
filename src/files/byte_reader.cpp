#include "files/byte_reader.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <sys/stat.h>

namespace lumora {

namespace {
constexpr std::size_t kChunkSize = 1 << 16;
constexpr unsigned kBitsPerByte = 8;
} // namespace

ByteReader::ByteReader(std::span<const unsigned char> bytes)
    : cursor_(bytes.data()), end_(bytes.data() + bytes.size()), remaining_(bytes.size()),
      total_(bytes.size()) {}

ByteReader::ByteReader(std::FILE* file) : file_(file) {
  struct stat info {};
  if (file == nullptr || fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) return;
  const long position = std::ftell(file);
  if (position < 0 || position > info.st_size) return;
  remaining_ = static_cast<std::uint64_t>(info.st_size - position);
  total_ = remaining_;
}

// Called only when the window is used up.
bool ByteReader::Refill() {
  if (file_ == nullptr || remaining_ == 0) return false;
  const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(kChunkSize, remaining_));
  chunk_.resize(want);
  if (std::fread(chunk_.data(), 1, want, file_) != want) {
    // The file shrank under us: nothing more can be trusted.
    remaining_ = 0;
    return false;
  }
  cursor_ = chunk_.data();
  end_ = chunk_.data() + want;
  return true;
}

bool ByteReader::Gather(std::size_t count) {
  if (file_ == nullptr) return false;
  const auto held = static_cast<std::size_t>(end_ - cursor_);
  const auto want =
      static_cast<std::size_t>(std::min<std::uint64_t>(std::max(count, kChunkSize), remaining_));
  // What is left of the window moves to the front of a chunk big enough for the rest.
  if (chunk_.size() < want) {
    std::vector<unsigned char> larger(want);
    if (held > 0) std::memcpy(larger.data(), cursor_, held);
    chunk_.swap(larger);
  } else if (held > 0) {
    std::memmove(chunk_.data(), cursor_, held);
  }
  if (std::fread(chunk_.data() + held, 1, want - held, file_) != want - held) {
    remaining_ = 0; // the file shrank under us
    cursor_ = end_ = chunk_.data();
    return false;
  }
  cursor_ = chunk_.data();
  end_ = chunk_.data() + want;
  return true;
}

const unsigned char* ByteReader::Take(std::size_t count) {
  if (count > remaining_) return nullptr;
  if (static_cast<std::size_t>(end_ - cursor_) < count && !Gather(count)) return nullptr;
  const unsigned char* taken = cursor_;
  cursor_ += count;
  remaining_ -= count;
  return taken;
}

bool ByteReader::ReadBytes(void* out, std::size_t count) {
  if (count > remaining_) return false;
  auto* dest = static_cast<unsigned char*>(out);
  while (count > 0) {
    if (cursor_ == end_ && !Refill()) return false;
    const std::size_t take = std::min<std::size_t>(count, static_cast<std::size_t>(end_ - cursor_));
    if (dest != nullptr) {
      std::memcpy(dest, cursor_, take);
      dest += take;
    }
    cursor_ += take;
    remaining_ -= take;
    count -= take;
  }
  return true;
}

bool ByteReader::Skip(std::uint64_t count) {
  if (count > remaining_) return false;
  while (count > 0) {
    if (cursor_ == end_) {
      // Skipping past the window: move the file instead of reading the bytes.
      if (file_ == nullptr || std::fseek(file_, static_cast<long>(count), SEEK_CUR) != 0)
        return false;
      remaining_ -= count;
      return true;
    }
    const auto take = std::min<std::uint64_t>(count, static_cast<std::uint64_t>(end_ - cursor_));
    cursor_ += take;
    remaining_ -= take;
    count -= take;
  }
  return true;
}

template <std::size_t N> bool ByteReader::ReadLittle(std::uint64_t& value) {
  unsigned char bytes[N];
  if (!ReadBytes(bytes, N)) return false;
  value = 0;
  for (std::size_t i = N; i-- > 0;) value = (value << kBitsPerByte) | bytes[i];
  return true;
}

bool ByteReader::ReadU16(std::uint16_t& value) {
  std::uint64_t raw = 0;
  if (!ReadLittle<2>(raw)) return false;
  value = static_cast<std::uint16_t>(raw);
  return true;
}

bool ByteReader::ReadI16(std::int32_t& value) {
  std::uint16_t raw = 0;
  if (!ReadU16(raw)) return false;
  value = static_cast<std::int16_t>(raw);
  return true;
}

bool ByteReader::ReadU32(std::uint32_t& value) {
  std::uint64_t raw = 0;
  if (!ReadLittle<4>(raw)) return false;
  value = static_cast<std::uint32_t>(raw);
  return true;
}

bool ByteReader::ReadI32(std::int32_t& value) {
  std::uint32_t raw = 0;
  if (!ReadU32(raw)) return false;
  value = static_cast<std::int32_t>(raw);
  return true;
}

bool ByteReader::ReadF32(double& value) {
  std::uint32_t raw = 0;
  if (!ReadU32(raw)) return false;
  value = std::bit_cast<float>(raw);
  return true;
}

bool ByteReader::ReadF64(double& value) {
  std::uint64_t raw = 0;
  if (!ReadLittle<8>(raw)) return false;
  value = std::bit_cast<double>(raw);
  return true;
}

} // namespace lumora
