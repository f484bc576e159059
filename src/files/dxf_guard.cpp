#include "files/dxf_guard.h"

#include "files/dxf_tokens.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

namespace lumora {
namespace {

constexpr int kMaxGroupCode = 1071;

// Entity kinds the library reads and hands on (whether or not the program then uses them).
// It passes over an ATTDEF without a word, so that one is counted here.
constexpr std::array<std::string_view, 26> kKnownEntities{
    "POINT",      "LINE",   "XLINE", "RAY",    "POLYLINE",       "VERTEX", "SEQEND",
    "LWPOLYLINE", "SPLINE", "ARC",   "CIRCLE", "ELLIPSE",        "INSERT", "TRACE",
    "SOLID",      "3DFACE", "MTEXT", "TEXT",   "ARCALIGNEDTEXT", "ATTRIB", "DIMENSION",
    "LEADER",     "HATCH",  "IMAGE", "BLOCK",  "ENDBLK"};

bool HasCounts(std::string_view entity) {
  return entity == "LWPOLYLINE" || entity == "SPLINE" || entity == "LEADER" || entity == "HATCH";
}

// Group codes that the library takes as a count of what follows and allocates for.
bool IsCount(std::string_view entity, int code) {
  if (entity == "LWPOLYLINE") return code == 90;
  if (entity == "SPLINE") return code == 72 || code == 73 || code == 74;
  if (entity == "LEADER") return code == 76;
  if (entity == "HATCH") return code == 91 || code == 93;
  return false;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.back() == '\r' || s.back() == ' ' || s.back() == '\t'))
    s.remove_suffix(1);
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

// The group code of a code line, or -1. Most are a few digits after blanks: read so at once.
int GroupCode(std::string_view line) {
  std::size_t k = 0;
  while (k < line.size() && line[k] == ' ') ++k;
  const std::size_t first = k;
  int number = 0;
  while (k < line.size() && k - first < 5 && line[k] >= '0' && line[k] <= '9')
    number = number * 10 + (line[k++] - '0');
  if (k > first && (k == line.size() || (k + 1 == line.size() && line[k] == '\r'))) return number;
  const std::string_view text = Trim(line);
  int code = -1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), code);
  if (error != std::errc() || end != text.data() + text.size()) return -1;
  return code;
}

class LineWalk {
public:
  explicit LineWalk(std::span<const char> bytes)
      : text_(bytes.data(), bytes.size()), lines_(bytes.data() + bytes.size()) {}
  // False at the end; `tooLong` when a line exceeds what the library keeps.
  bool Next(std::string_view& line, bool& tooLong) {
    if (at_ >= text_.size()) return false;
    const char* const start = text_.data() + at_;
    const char* const end = lines_.End(start);
    line = std::string_view(start, static_cast<std::size_t>(end - start));
    tooLong = line.size() > kDxfLibraryLine;
    at_ += line.size() + 1;
    return true;
  }
  std::size_t size() const { return text_.size(); }

private:
  std::string_view text_;
  DxfLineCutter lines_;
  std::size_t at_ = 0;
};

void CountEntity(std::string_view kind, DxfGuardResult& result) {
  if (kind == "LINE" || kind == "ARC" || kind == "CIRCLE" || kind == "LWPOLYLINE" ||
      kind == "POLYLINE" || kind == "SPLINE" || kind == "ELLIPSE")
    ++result.lineEntities;
  else if (kind == "TEXT" || kind == "MTEXT")
    ++result.textEntities;
}

bool Refuse(DxfGuardResult& result, std::string problem) {
  result.ok = false;
  result.problem = std::move(problem);
  return false;
}

} // namespace

DxfGuardResult CheckDxfInput(std::span<const char> bytes) {
  DxfGuardResult result;
  LineWalk walk(bytes);
  std::string_view codeLine;
  std::string_view value;
  bool tooLong = false;
  bool inSection = false;
  bool sawEof = false;
  bool entitySection = false;
  bool modelSection = false; // the entities section, not the blocks
  bool expectSectionName = false;
  std::string_view entity;
  bool mayCount = false; // the entity has counts to check
  bool bulges = false;   // a light polyline of the entities section: each arc in it is a line
  while (walk.Next(codeLine, tooLong)) {
    if (tooLong) return Refuse(result, std::string(kDxfLineTooLong)), result;
    const int code = GroupCode(codeLine);
    if (code < 0 || code > kMaxGroupCode) return Refuse(result, "not a DXF group code"), result;
    if (!walk.Next(value, tooLong)) return Refuse(result, "the file ends inside a group"), result;
    if (tooLong && !MayBeLong(code)) return Refuse(result, std::string(kDxfLineTooLong)), result;
    if (sawEof) continue; // what follows the end is never read
    // Only names and counts are looked at.
    if (code != 0 && code != 2 && !mayCount) continue;
    value = Trim(value);
    if (expectSectionName && code == 2) {
      modelSection = value == "ENTITIES";
      entitySection = modelSection || value == "BLOCKS";
      expectSectionName = false;
    }
    if (code == 0) {
      expectSectionName = false;
      entity = value;
      if (value == "SECTION") {
        if (inSection) return Refuse(result, "a section is not ended"), result;
        inSection = expectSectionName = true;
      } else if (value == "ENDSEC") {
        if (!inSection) return Refuse(result, "a section ends twice"), result;
        inSection = entitySection = modelSection = false;
      } else if (value == "EOF") {
        if (inSection) return Refuse(result, "a section is not ended"), result;
        sawEof = true;
      } else if (entitySection) {
        if (std::find(kKnownEntities.begin(), kKnownEntities.end(), value) == kKnownEntities.end())
          ++result.unknownEntities[std::string(value)];
        if (modelSection) CountEntity(value, result);
      }
      mayCount = HasCounts(entity);
      bulges = modelSection && entity == "LWPOLYLINE";
      continue;
    }
    // A bulge makes an arc and begins a new straight run.
    if (bulges && code == 42) result.lineEntities += 2;
    if (code == 2 && entity == "DIMENSION") result.dimensionBlocks.emplace_back(value);
    if (mayCount && IsCount(entity, code)) {
      long long count = -1;
      const auto [e2, err2] = std::from_chars(value.data(), value.data() + value.size(), count);
      // Each counted item takes at least two lines, so no count can be larger than the file.
      if (err2 != std::errc() || count < 0 || static_cast<unsigned long long>(count) > walk.size())
        return Refuse(result, "a count does not fit the file"), result;
    }
  }
  if (!sawEof)
    return Refuse(result, inSection ? "a section is not ended" : "the file has no end"), result;
  result.ok = true;
  return result;
}

} // namespace lumora
