#include "files/dxf_text.h"

#include "util/latin1.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace lumora {
namespace {

constexpr char kDegree = '\xB0';
constexpr char kPlusMinus = '\xB1';
constexpr char kDiameter = '\xF8';
constexpr char kRowBreak = '|';
constexpr std::size_t kUnicodeDigits = 4;

// \U+XXXX at `at` (pointing at the backslash); advances past it when it is one. A letter
// outside the character set becomes '?' and is counted in `unreadable`.
bool TakeUnicode(std::string_view s, std::size_t& at, std::string& out, std::size_t& unreadable) {
  if (s.substr(at, 3) != "\\U+" || at + 3 + kUnicodeDigits > s.size()) return false;
  unsigned cp = 0;
  const char* first = s.data() + at + 3;
  const auto [end, error] = std::from_chars(first, first + kUnicodeDigits, cp, 16);
  if (error != std::errc() || end != first + kUnicodeDigits) return false;
  const int byte = Windows1252Byte(cp);
  if (byte < 0) ++unreadable;
  out.push_back(byte < 0 ? '?' : static_cast<char>(byte));
  at += 3 + kUnicodeDigits;
  return true;
}

} // namespace

std::string DxfString(std::string_view text, bool utf8, std::size_t* unreadable) {
  if (!utf8) return std::string(text);
  std::size_t lost = 0;
  std::string out = Utf8ToWindows1252(text, lost);
  if (unreadable != nullptr) *unreadable += lost;
  return out;
}

namespace {

// %%d, %%p and %%c as their signs, %%% as %, %%u and %%o (underline, overline) dropped; with
// `unicode`, \U+XXXX as its letter too.
std::string Specials(std::string_view s, bool unicode, std::size_t& unreadable) {
  std::string out;
  for (std::size_t at = 0; at < s.size();) {
    if (unicode && s[at] == '\\' && TakeUnicode(s, at, out, unreadable)) continue;
    if (s.substr(at, 2) == "%%" && at + 2 < s.size()) {
      const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(s[at + 2])));
      at += 3;
      if (c == 'd')
        out.push_back(kDegree);
      else if (c == 'p')
        out.push_back(kPlusMinus);
      else if (c == 'c')
        out.push_back(kDiameter);
      else if (c == '%')
        out.push_back('%');
      else if (c != 'u' && c != 'o')
        out.append(s.substr(at - 3, 3));
      continue;
    }
    out.push_back(s[at++]);
  }
  return out;
}

} // namespace

std::string PlainDxfText(std::string_view raw, bool utf8, std::size_t* unreadable) {
  std::size_t lost = 0;
  std::string out = Specials(DxfString(raw, utf8, &lost), true, lost);
  if (unreadable != nullptr) *unreadable += lost;
  return out;
}

std::string PlainMText(std::string_view raw, bool utf8, std::size_t* unreadable) {
  std::size_t lost = 0;
  const std::string text = DxfString(raw, utf8, &lost);
  const std::string_view s = text;
  std::string out;
  for (std::size_t at = 0; at < s.size();) {
    const char c = s[at];
    if (c == '{' || c == '}') {
      ++at;
      continue;
    }
    if (c != '\\' || at + 1 >= s.size()) {
      out.push_back(c);
      ++at;
      continue;
    }
    if (TakeUnicode(s, at, out, lost)) continue;
    const char code = s[at + 1];
    at += 2;
    switch (code) {
    case 'P':
    case 'N':
      out.push_back(kRowBreak);
      break;
    case '~':
      out.push_back(' ');
      break;
    case '\\':
    case '{':
    case '}':
      out.push_back(code);
      break;
    case 'S': { // stacked: a^b, a/b or a#b up to ';'
      const auto end = s.find(';', at);
      for (std::size_t k = at; k < std::min(end, s.size()); ++k)
        out.push_back(s[k] == '^' || s[k] == '#' ? '/' : s[k]);
      at = end == std::string_view::npos ? s.size() : end + 1;
      break;
    }
    case 'L':
    case 'l':
    case 'O':
    case 'o':
    case 'K':
    case 'k':
      break;   // underline, overline and strike-through switches
    default: { // a code with an argument up to ';' (font, height, width, colour, ...)
      const auto end = s.find(';', at);
      at = end == std::string_view::npos ? s.size() : end + 1;
      break;
    }
    }
  }
  if (unreadable != nullptr) *unreadable += lost;
  return Specials(out, false, lost);
}

std::string WrapRows(std::string_view text, double letters) {
  const std::size_t most = letters >= 1 && letters < 1e9 ? static_cast<std::size_t>(letters) : 1;
  std::string out;
  out.reserve(text.size());
  for (std::size_t start = 0;;) {
    const std::size_t bar = text.find(kRowBreak, start);
    const std::string_view row =
        text.substr(start, bar == std::string_view::npos ? text.size() - start : bar - start);
    // Word by word: a word that does not fit begins the next row (a word longer than a row
    // has one of its own).
    std::size_t used = 0;
    for (std::size_t at = 0; at <= row.size();) {
      std::size_t end = row.find(' ', at);
      if (end == std::string_view::npos) end = row.size();
      const std::size_t word = end - at;
      if (at > 0 && used > 0 && used + 1 + word > most) {
        out.push_back(kRowBreak);
        used = 0;
      } else if (at > 0) {
        out.push_back(' ');
        ++used;
      }
      out.append(row.substr(at, word));
      used += word;
      at = end + 1;
    }
    if (bar == std::string_view::npos) break;
    out.push_back(kRowBreak);
    start = bar + 1;
  }
  return out;
}

double TextCells(std::string_view text) {
  std::size_t longest = 1;
  for (std::size_t start = 0;;) {
    const std::size_t bar = text.find('|', start);
    const std::size_t end = bar == std::string_view::npos ? text.size() : bar;
    longest = std::max(longest, end - start);
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
  const auto letters = static_cast<double>(longest);
  return letters + (letters - 1) * kFontLetterSpace;
}

std::size_t TextRows(std::string_view text) {
  return 1 + static_cast<std::size_t>(std::count(text.begin(), text.end(), '|'));
}

} // namespace lumora
