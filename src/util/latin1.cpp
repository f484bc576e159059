#include "util/latin1.h"

namespace lumora {

std::string Utf8ToLatin1(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    std::size_t len = c < 0x80           ? 1
                      : (c >> 5) == 0x6  ? 2
                      : (c >> 4) == 0xE  ? 3
                      : (c >> 3) == 0x1E ? 4
                                         : 0;
    if (len == 0 || i + len > utf8.size()) {
      out.push_back('?'); // a stray or cut byte
      ++i;
      continue;
    }
    unsigned cp = len == 1 ? c : c & (0x7Fu >> len);
    bool valid = true;
    for (std::size_t k = 1; k < len; ++k) {
      const auto cc = static_cast<unsigned char>(utf8[i + k]);
      valid = valid && (cc & 0xC0u) == 0x80u;
      cp = (cp << 6) | (cc & 0x3Fu);
    }
    out.push_back(valid && cp < 0x100 ? static_cast<char>(cp) : '?');
    i += valid ? len : 1;
  }
  return out;
}

std::string Utf8ToWindows1252(std::string_view utf8, std::size_t& unreadable) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    const std::size_t len = c < 0x80           ? 1
                            : (c >> 5) == 0x6  ? 2
                            : (c >> 4) == 0xE  ? 3
                            : (c >> 3) == 0x1E ? 4
                                               : 0;
    unsigned cp = len == 1 ? c : c & (0x7Fu >> len);
    bool valid = len != 0 && i + len <= utf8.size();
    for (std::size_t k = 1; valid && k < len; ++k) {
      const auto cc = static_cast<unsigned char>(utf8[i + k]);
      valid = (cc & 0xC0u) == 0x80u;
      cp = (cp << 6) | (cc & 0x3Fu);
    }
    const int byte = valid ? Windows1252Byte(cp) : -1;
    if (byte < 0) ++unreadable;
    out.push_back(byte < 0 ? '?' : static_cast<char>(byte));
    i += valid ? len : 1;
  }
  return out;
}

std::string Latin1ToUtf8(std::string_view latin1) {
  std::string out;
  out.reserve(latin1.size() + latin1.size() / 4);
  for (const char ch : latin1) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out.push_back(ch);
    } else {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

} // namespace lumora
