#include "files/dxf_binary.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace lumora {
namespace {

constexpr std::string_view kMark{"AutoCAD Binary DXF\r\n\x1a\0", 22};

enum class Value { kText, kReal, kInt16, kInt32, kInt64, kFlag, kChunk, kNone };

// The binary form of each group code's value.
Value ValueOf(int code) {
  const auto in = [code](int first, int last) { return code >= first && code <= last; };
  if (in(310, 319) || code == 1004) return Value::kChunk;
  if (in(0, 9) || in(100, 109) || in(300, 369) || in(390, 399) || in(410, 419) || in(430, 439) ||
      in(470, 481) || code == 999 || in(1000, 1009))
    return Value::kText;
  if (in(10, 59) || in(110, 149) || in(210, 239) || in(460, 469) || in(1010, 1059))
    return Value::kReal;
  if (in(60, 79) || in(170, 179) || in(270, 289) || in(370, 389) || in(400, 409) || in(1060, 1070))
    return Value::kInt16;
  if (in(90, 99) || in(420, 429) || in(440, 459) || code == 1071) return Value::kInt32;
  if (in(160, 169)) return Value::kInt64;
  if (in(290, 299)) return Value::kFlag;
  return Value::kNone;
}

class Reader {
public:
  explicit Reader(std::span<const char> bytes) : bytes_(bytes) {}
  bool AtEnd() const { return at_ >= bytes_.size(); }
  bool Has(std::size_t n) const { return bytes_.size() - at_ >= n; }
  // Little-endian, `n` bytes; the caller has checked that they are there.
  std::uint64_t Take(std::size_t n) {
    std::uint64_t v = 0;
    for (std::size_t k = 0; k < n; ++k)
      v |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes_[at_ + k])) << (8 * k);
    at_ += n;
    return v;
  }
  // A text up to its NUL; false when the file ends first.
  bool TakeText(std::string_view& out) {
    const char* first = bytes_.data() + at_;
    const void* nul = std::memchr(first, '\0', bytes_.size() - at_);
    if (nul == nullptr) return false;
    out = std::string_view(first, static_cast<std::size_t>(static_cast<const char*>(nul) - first));
    at_ += out.size() + 1;
    return true;
  }
  std::size_t At() const { return at_; }
  void Skip(std::size_t n) { at_ += n; }
  std::span<const char> Bytes() const { return bytes_; }

private:
  std::span<const char> bytes_;
  std::size_t at_ = 0;
};

template <class T> void AppendNumber(std::string& text, T value) {
  char buffer[32];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  if (error == std::errc()) text.append(buffer, end);
}

} // namespace

bool IsBinaryDxf(std::span<const char> bytes) {
  return bytes.size() >= kMark.size() && std::string_view(bytes.data(), kMark.size()) == kMark;
}

bool BinaryDxfToText(std::span<const char> bytes, std::string& text, std::string& problem) {
  const auto damaged = [&problem] {
    problem = kDxfBinaryDamaged;
    return false;
  };
  text.clear();
  if (!IsBinaryDxf(bytes)) return damaged();
  Reader in(bytes.subspan(kMark.size()));
  // Files of release 12 and before give a code in one byte (255 escapes a code in two); the
  // first pair of a file is a section (code 0) or a comment (999), which shows which.
  const std::span<const char> rest = in.Bytes();
  const auto starts = [&rest](unsigned char low, unsigned char high) {
    return rest.size() >= 2 && static_cast<unsigned char>(rest[0]) == low &&
           static_cast<unsigned char>(rest[1]) == high;
  };
  constexpr unsigned char kCommentLow = 999 % 256, kCommentHigh = 999 / 256;
  const bool wide = starts(0, 0) || starts(kCommentLow, kCommentHigh);
  // The text is mostly a little longer than the bytes: room once, grown as needed.
  text.reserve(bytes.size() + bytes.size() / 2);
  while (!in.AtEnd()) {
    int code = 0;
    if (wide) {
      if (!in.Has(2)) return damaged();
      code = static_cast<std::int16_t>(in.Take(2));
    } else {
      code = static_cast<int>(in.Take(1));
      if (code == 255) {
        if (!in.Has(2)) return damaged();
        code = static_cast<std::int16_t>(in.Take(2));
      }
    }
    const Value kind = ValueOf(code);
    if (kind == Value::kNone) return damaged();
    AppendNumber(text, code);
    text.push_back('\n');
    switch (kind) {
    case Value::kText: {
      std::string_view value;
      if (!in.TakeText(value)) return damaged();
      // A line end would end the value early in text: it reads as a blank.
      for (const char c : value) text.push_back(c == '\n' || c == '\r' ? ' ' : c);
      break;
    }
    case Value::kReal: {
      if (!in.Has(8)) return damaged();
      const std::uint64_t bits = in.Take(8);
      double value = 0;
      std::memcpy(&value, &bits, sizeof value);
      AppendNumber(text, value);
      break;
    }
    case Value::kInt16:
      if (!in.Has(2)) return damaged();
      AppendNumber(text, static_cast<std::int16_t>(in.Take(2)));
      break;
    case Value::kInt32:
      if (!in.Has(4)) return damaged();
      AppendNumber(text, static_cast<std::int32_t>(in.Take(4)));
      break;
    case Value::kInt64:
      if (!in.Has(8)) return damaged();
      AppendNumber(text, static_cast<std::int64_t>(in.Take(8)));
      break;
    case Value::kFlag:
      if (!in.Has(1)) return damaged();
      AppendNumber(text, static_cast<int>(in.Take(1)));
      break;
    case Value::kChunk: { // a length byte, then the bytes, written as hexadecimal digits
      if (!in.Has(1)) return damaged();
      const auto length = static_cast<std::size_t>(in.Take(1));
      if (!in.Has(length)) return damaged();
      constexpr char kDigits[] = "0123456789ABCDEF";
      for (std::size_t k = 0; k < length; ++k) {
        const auto byte = static_cast<unsigned>(in.Take(1));
        text.push_back(kDigits[byte >> 4]);
        text.push_back(kDigits[byte & 15]);
      }
      break;
    }
    case Value::kNone:
      break;
    }
    text.push_back('\n');
  }
  return true;
}

} // namespace lumora
