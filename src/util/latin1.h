// Latin-1 (Windows-1252) texts from UTF-8 literals, converted at compile time.
//
// Every text the program shows, draws or stores is one byte per letter. Sources stay UTF-8 and
// readable: "Viivan lisäys: "_l1 is a std::string_view over static Latin-1 bytes.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace lumora {

// A UTF-8 string literal usable as a template argument.
template <std::size_t N> struct Utf8Literal {
  char bytes[N]{};
  consteval Utf8Literal(const char (&s)[N]) {
    for (std::size_t i = 0; i < N; ++i) bytes[i] = s[i];
  }
};

namespace detail {

// Number of Latin-1 bytes a UTF-8 text becomes (without the terminator).
consteval std::size_t Latin1Length(const char* s, std::size_t n) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < n && s[i] != '\0'; ++count) {
    const auto c = static_cast<unsigned char>(s[i]);
    i += c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : 4;
  }
  return count;
}

template <std::size_t M> struct Latin1Bytes {
  std::array<char, M + 1> data{};
  constexpr std::string_view View() const { return {data.data(), M}; }
};

} // namespace detail

// The Windows-1252 byte of a code point, or -1 for a letter the character set lacks (the C1
// control codes U+0080..U+009F among them: their bytes stand for other letters).
constexpr int Windows1252Byte(unsigned cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp < 0x100)) return static_cast<int>(cp);
  switch (cp) {
  case 0x20AC:
    return 0x80;
  case 0x201A:
    return 0x82;
  case 0x0192:
    return 0x83;
  case 0x201E:
    return 0x84;
  case 0x2026:
    return 0x85;
  case 0x2020:
    return 0x86;
  case 0x2021:
    return 0x87;
  case 0x02C6:
    return 0x88;
  case 0x2030:
    return 0x89;
  case 0x0160:
    return 0x8A;
  case 0x2039:
    return 0x8B;
  case 0x0152:
    return 0x8C;
  case 0x017D:
    return 0x8E;
  case 0x2018:
    return 0x91;
  case 0x2019:
    return 0x92;
  case 0x201C:
    return 0x93;
  case 0x201D:
    return 0x94;
  case 0x2022:
    return 0x95;
  case 0x2013:
    return 0x96;
  case 0x2014:
    return 0x97;
  case 0x02DC:
    return 0x98;
  case 0x2122:
    return 0x99;
  case 0x0161:
    return 0x9A;
  case 0x203A:
    return 0x9B;
  case 0x0153:
    return 0x9C;
  case 0x017E:
    return 0x9E;
  case 0x0178:
    return 0x9F;
  default:
    return -1;
  }
}

namespace detail {

// Converts code points up to U+00FF; the few Windows-1252 letters above that range (the euro
// sign and friends) map to their 0x80..0x9F bytes; anything else is a compile error.
consteval char ToLatin1(unsigned cp) {
  if (cp < 0x100) return static_cast<char>(cp);
  const int byte = Windows1252Byte(cp);
  if (byte < 0) throw "character outside Windows-1252"; // compile error in a consteval context
  return static_cast<char>(byte);
}

template <Utf8Literal S> consteval auto ConvertLatin1() {
  constexpr std::size_t n = Latin1Length(S.bytes, sizeof(S.bytes));
  Latin1Bytes<n> out;
  std::size_t o = 0;
  for (std::size_t i = 0; i < sizeof(S.bytes) && S.bytes[i] != '\0';) {
    const auto c = static_cast<unsigned char>(S.bytes[i]);
    unsigned cp = 0;
    std::size_t len = 1;
    if (c < 0x80) {
      cp = c;
    } else if ((c >> 5) == 0x6) {
      cp = c & 0x1Fu;
      len = 2;
    } else if ((c >> 4) == 0xE) {
      cp = c & 0x0Fu;
      len = 3;
    } else {
      cp = c & 0x07u;
      len = 4;
    }
    for (std::size_t k = 1; k < len; ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(S.bytes[i + k]) & 0x3Fu);
    out.data[o++] = ToLatin1(cp);
    i += len;
  }
  return out;
}

template <Utf8Literal S> struct Latin1Holder { static constexpr auto value = ConvertLatin1<S>(); };

} // namespace detail

// "Viivan lisäys: "_l1 — a view of static Latin-1 bytes, zero-terminated in storage.
template <Utf8Literal S> consteval std::string_view operator""_l1() {
  return detail::Latin1Holder<S>::value.View();
}

// Run-time conversions for texts that come from outside (event files, command lines).
std::string Utf8ToLatin1(std::string_view utf8);
// UTF-8 in the program's character set, Windows-1252: a letter it lacks (or a byte that is no
// UTF-8) becomes '?' and is counted in `unreadable`.
std::string Utf8ToWindows1252(std::string_view utf8, std::size_t& unreadable);
std::string Latin1ToUtf8(std::string_view latin1);

} // namespace lumora
