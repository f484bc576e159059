#include "files/dxf_tokens.h"

#include "files/dxf_guard.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <dl_creationinterface.h>
#include <dl_dxf.h>
#include <limits>
#include <numbers>

namespace lumora {
namespace {

bool Blank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
bool Digit(char c) {
  return c >= '0' && c <= '9';
}

// A code that only the library gives meaning to: the entity then goes through it.
constexpr int kHandle = 5;
constexpr int kSubclass = 100;
constexpr int kOwner = 330;
// The pair the library is given while an entity is decoded here: it completes what it holds
// and makes nothing of it.
constexpr const char* kDecodedHere = "0\nLUMORA_DECODED\n";

// Whether the value is a real number of blanks only, which the library's number reading would
// leave unset.
bool BlankReal(int code, std::string_view value) {
  const bool real = (code >= 10 && code <= 59) || (code >= 110 && code <= 149) ||
                    (code >= 210 && code <= 239) || (code >= 460 && code <= 469) ||
                    (code >= 1010 && code <= 1059);
  return real && std::all_of(value.begin(), value.end(), Blank);
}

} // namespace

DxfPairs::DxfPairs(std::span<const char> bytes)
    : text_(bytes.data(), bytes.size()),
      nul_(std::memchr(bytes.data(), '\0', bytes.size()) != nullptr),
      lines_(bytes.data() + bytes.size()) {}

bool DxfPairs::Next(int& code, std::string_view& value) {
  start_ = at_;
  const char* const base = text_.data();
  if (at_ >= text_.size()) return false;
  const char* const codeStart = base + at_;
  const char* const codeEnd = lines_.End(codeStart);
  at_ = static_cast<std::size_t>(codeEnd - base) + 1;
  if (at_ >= text_.size()) return false;
  const char* const valueStart = codeEnd + 1;
  const char* valueEnd = lines_.End(valueStart);
  at_ = static_cast<std::size_t>(valueEnd - base) + 1;
  while (valueEnd > valueStart && valueEnd[-1] == '\r') --valueEnd;
  value = std::string_view(valueStart, static_cast<std::size_t>(valueEnd - valueStart));
  if (nul_) value = value.substr(0, value.find('\0'));
  // Most code lines are a few digits after blanks, at most: read so at once.
  const char* k = codeStart;
  while (k < codeEnd && *k == ' ') ++k;
  const char* const first = k;
  int number = 0;
  while (k < codeEnd && k - first < 5 && Digit(*k)) number = number * 10 + (*k++ - '0');
  if (k > first && (k == codeEnd || (k + 1 == codeEnd && *k == '\r'))) {
    code = number;
    return true;
  }
  std::string_view codeLine(codeStart, static_cast<std::size_t>(codeEnd - codeStart));
  while (!codeLine.empty() &&
         (codeLine.back() == ' ' || codeLine.back() == '\t' || codeLine.back() == '\r'))
    codeLine.remove_suffix(1);
  while (!codeLine.empty() && (codeLine.front() == ' ' || codeLine.front() == '\t'))
    codeLine.remove_prefix(1);
  code = DxfInt(codeLine);
  return true;
}

namespace {

// A plain decimal of up to 15 digits, as most numbers in a file are: its digits as a whole
// number and a power of ten both hold exactly in a double, so one division rounds it just as
// reading the digits does. False for anything else (an exponent, more digits, no digits).
bool PlainDecimal(std::string_view value, std::size_t k, bool negative, double& out) {
  static constexpr double kTens[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                     1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  constexpr int kMostDigits = 15;
  std::uint64_t whole = 0;
  int digits = 0;
  int places = -1; // digits after the point, -1 before it
  for (; k < value.size(); ++k) {
    const char c = value[k];
    if (Digit(c)) {
      if (++digits > kMostDigits) return false;
      whole = whole * 10 + static_cast<std::uint64_t>(c - '0');
      if (places >= 0) ++places;
    } else if ((c == '.' || c == ',') && places < 0) {
      places = 0;
    } else {
      break;
    }
  }
  if (digits == 0 || (k < value.size() && (value[k] == 'e' || value[k] == 'E'))) return false;
  const double r = static_cast<double>(whole) / kTens[places < 0 ? 0 : places];
  out = negative ? -r : r;
  return true;
}

} // namespace

double DxfReal(std::string_view value) {
  std::size_t k = 0;
  while (k < value.size() && Blank(value[k])) ++k;
  {
    std::size_t at = k;
    bool negative = false;
    if (at < value.size() && (value[at] == '+' || value[at] == '-')) negative = value[at++] == '-';
    double plain = 0;
    if (PlainDecimal(value, at, negative, plain)) return plain;
  }
  // The number's own characters, as a stream gathers them: sign, digits with one point (a
  // comma counts as one), and an exponent only after a digit.
  char buffer[64];
  std::size_t n = 0;
  bool negative = false;
  if (k < value.size() && (value[k] == '+' || value[k] == '-')) negative = value[k++] == '-';
  bool digits = false;
  bool point = false;
  for (; k < value.size() && n + 1 < sizeof buffer; ++k) {
    const char c = value[k];
    if (Digit(c)) {
      digits = true;
      buffer[n++] = c;
    } else if ((c == '.' || c == ',') && !point) {
      point = true;
      buffer[n++] = '.';
    } else {
      break;
    }
  }
  if (k < value.size() && (value[k] == 'e' || value[k] == 'E') && digits) {
    std::size_t e = k + 1;
    std::size_t m = n;
    buffer[m++] = 'e';
    if (e < value.size() && (value[e] == '+' || value[e] == '-')) buffer[m++] = value[e++];
    bool exponentDigits = false;
    for (; e < value.size() && Digit(value[e]) && m + 1 < sizeof buffer; ++e) {
      buffer[m++] = value[e];
      exponentDigits = true;
    }
    // An exponent mark without digits makes the whole number unreadable.
    if (!exponentDigits) return 0.0;
    n = m;
    k = e;
  }
  // Too long for the buffer: the slow way, which reads what the stream reads.
  if (k < value.size() && n + 1 >= sizeof buffer) {
    std::string text(value);
    for (char& c : text)
      if (c == ',') c = '.';
    const double r = std::strtod(text.c_str(), nullptr);
    if (std::isinf(r))
      return r > 0 ? std::numeric_limits<double>::max() : -std::numeric_limits<double>::max();
    return r;
  }
  if (!digits) return 0.0;
  double r = 0;
  const auto [end, error] = std::from_chars(buffer, buffer + n, r);
  if (error == std::errc::result_out_of_range) {
    buffer[n] = '\0';
    r = std::strtod(buffer, nullptr);
    if (std::isinf(r)) r = std::numeric_limits<double>::max();
  } else if (error != std::errc() || end != buffer + n) {
    return 0.0;
  }
  return negative ? -r : r;
}

bool DxfHoldsNumber(std::string_view value) {
  std::size_t k = 0;
  while (k < value.size() && Blank(value[k])) ++k;
  if (k == value.size()) return true;
  if (value[k] == '+' || value[k] == '-') ++k;
  if (k < value.size() && (value[k] == '.' || value[k] == ',')) ++k;
  return k < value.size() && Digit(value[k]);
}

int DxfInt(std::string_view value) {
  std::size_t k = 0;
  while (k < value.size() && Blank(value[k])) ++k;
  bool negative = false;
  if (k < value.size() && (value[k] == '+' || value[k] == '-')) negative = value[k++] == '-';
  // Beyond a long the library's reading stops at the largest long, cut to an int as it is.
  long r = 0;
  for (; k < value.size() && Digit(value[k]); ++k) {
    const int digit = value[k] - '0';
    if (r > (LONG_MAX - digit) / 10) return static_cast<int>(negative ? LONG_MIN : LONG_MAX);
    r = r * 10 + digit;
  }
  return static_cast<int>(negative ? -r : r);
}

DxfEntityDecoder::Kind DxfEntityDecoder::KindOf(std::string_view name) {
  if (name == "LINE") return Kind::kLine;
  if (name == "ARC") return Kind::kArc;
  if (name == "CIRCLE") return Kind::kCircle;
  if (name == "LWPOLYLINE") return Kind::kPolyline;
  if (name == "TEXT") return Kind::kText;
  if (name == "INSERT") return Kind::kInsert;
  if (name == "HATCH") return Kind::kHatch;
  if (name == "BLOCK") return Kind::kBlock;
  if (name == "ENDBLK") return Kind::kEndBlock;
  return Kind::kNone;
}

DxfEntityDecoder::DxfEntityDecoder(DL_Dxf& dxf, DL_CreationInterface& target,
                                   std::span<const char> bytes, bool decode)
    : dxf_(dxf), target_(target), all_(bytes),
      nul_(std::memchr(bytes.data(), '\0', bytes.size()) != nullptr), bytes_(bytes),
      stream_(&bytes_), decodedHere_(kDecodedHere), decode_(decode) {}

void DxfEntityDecoder::ToLibrary(int code, std::string_view value, std::size_t start) {
  libraryIdle_ = false;
  if (BlankReal(code, value)) {
    zero_.str(std::to_string(code) + "\n0\n");
    zero_.clear();
    dxf_.readDxfGroups(zero_, &target_);
    return;
  }
  // A text longer than the library's line is handed to it cut (the reader takes it whole from
  // its own walk), so that the library reads on in step.
  if (value.size() > kDxfLibraryLine) {
    zero_.str(std::to_string(code) + "\n" + std::string(value.substr(0, kDxfLibraryLine)) + "\n");
    zero_.clear();
    dxf_.readDxfGroups(zero_, &target_);
    return;
  }
  bytes_.At(start);
  stream_.clear();
  dxf_.readDxfGroups(stream_, &target_);
}

void DxfEntityDecoder::Take(int code, std::string_view value, std::size_t start) {
  if (code == 0) {
    if (kind_ != Kind::kNone) Complete();
    // Light polylines are gathered both ways: the library would read vertices a polyline
    // does not give.
    kind_ = KindOf(value);
    if (!decode_ && kind_ != Kind::kPolyline) kind_ = Kind::kNone;
    if (kind_ == Kind::kNone) {
      ToLibrary(code, value, start);
      return;
    }
    entityStart_ = start;
    pairCount_ = 1;
    xdata_.clear();
    vertices_.clear();
    polyline_ = Polyline{};
    std::fill(std::begin(has_), std::end(has_), false);
    rgb_ = weight_ = {};
    for (std::string_view& e : extrusion_) e = {};
    hatch_ = Hatch{};
    hatch_.phase = Hatch::Phase::kHead;
    // The library completes what it holds; when it holds nothing since the last entity
    // decoded here, it need not be told again.
    if (!libraryIdle_) {
      decodedHere_.clear();
      decodedHere_.seekg(0);
      dxf_.readDxfGroups(decodedHere_, &target_);
      libraryIdle_ = true;
    }
    return;
  }
  if (kind_ == Kind::kNone) {
    ToLibrary(code, value, start);
    return;
  }
  ++pairCount_;
  if (!Gather(code, value, start)) Replay();
}

void DxfEntityDecoder::Finish() {
  if (kind_ != Kind::kNone) Complete();
  kind_ = Kind::kNone;
}

// Keeps what the entity says; false for a group it does not know.
bool DxfEntityDecoder::Gather(int code, std::string_view value, std::size_t start) {
  if (code >= 1000) {
    xdata_.emplace_back(code, value);
    return true;
  }
  // A hatch names its paths' source objects by the owner's code.
  if (kind_ == Kind::kHatch && code == kOwner && hatch_.phase == Hatch::Phase::kSources)
    return GatherHatch(code, value);
  switch (code) {
  case kHandle:
  case kSubclass:
  case kOwner:
    return true;
  case 210:
  case 220:
  case 230:
    extrusion_[(code - 210) / 10] = value;
    return true;
  case 370:
    weight_ = value;
    return true;
  case 420:
    rgb_ = value;
    return true;
  case 8:
  case 6:
  case 62:
  case 48:
  case 67:
    break;
  default: {
    if (kind_ == Kind::kHatch) return GatherHatch(code, value);
    bool known = false;
    switch (kind_) {
    case Kind::kLine:
      known = code == 10 || code == 20 || code == 30 || code == 11 || code == 21 || code == 31;
      break;
    case Kind::kArc:
      known = code == 10 || code == 20 || code == 30 || code == 40 || code == 50 || code == 51;
      break;
    case Kind::kCircle:
      known = code == 10 || code == 20 || code == 30 || code == 40;
      break;
    case Kind::kText:
      known = code == 10 || code == 20 || code == 30 || code == 11 || code == 21 || code == 31 ||
              code == 40 || code == 41 || code == 50 || code == 51 || code == 7 || code == 1 ||
              code == 71 || code == 72 || code == 73;
      // The slant is read from the library's own copy of the group.
      if (code == 51) ToLibrary(code, value, start);
      break;
    case Kind::kBlock:
      known = code == 2 || code == 3 || code == 1 || code == 4 || code == 70 || code == 10 ||
              code == 20 || code == 30;
      break;
    case Kind::kInsert:
      // Attributes that follow (66) are the library's.
      known = code == 2 || code == 10 || code == 20 || code == 30 || code == 41 || code == 42 ||
              code == 43 || code == 50 || code == 70 || code == 71 || code == 44 || code == 45;
      break;
    case Kind::kPolyline:
      // The vertices the file gives, each begun by its x: a y or bulge before any x, and the
      // count, stand for nothing (the library would take the count and leave the vertices it
      // does not find unset). What else it holds the library makes nothing of either, but for
      // a new variable or a comment, which end the entity there.
      if (code == 10) {
        vertices_.push_back({DxfReal(value), 0, 0});
        return true;
      }
      if (code == 20 || code == 42) {
        Polyline& p = polyline_;
        if (vertices_.empty() || (code == 20 && ++p.ys > static_cast<int>(vertices_.size())))
          p.odd = true;
        if (!vertices_.empty())
          (code == 20 ? vertices_.back().y : vertices_.back().bulge) = DxfReal(value);
        return true;
      }
      if (code == 90) {
        polyline_.odd = polyline_.odd || polyline_.counted || !vertices_.empty();
        polyline_.counted = true;
        polyline_.count = DxfInt(value);
      }
      if (code == 9 || code == 999) return false;
      if (code >= kPlainCodes) return true;
      known = true;
      break;
    default:
      break;
    }
    if (!known) return false;
  }
  }
  values_[code] = value;
  has_[code] = true;
  return true;
}

// A hatch's groups in the order they come: the paths of straight (72 = 1: 10 20 11 21) and
// circular (72 = 2: 10 20 40 50 51 73) edges, each with its source objects, then the pattern.
// Any other path or group is left to the library.
bool DxfEntityDecoder::GatherHatch(int code, std::string_view value) {
  using Phase = Hatch::Phase;
  Hatch& h = hatch_;
  switch (h.phase) {
  case Phase::kHead:
    if (code == 2) return h.pattern = value, true;
    if (code == 70) return h.solid = value, true;
    if (code == 30) return h.elevation = value, true;
    if (code == 10 || code == 20 || code == 71) return true;
    if (code != 91) return false;
    h.loops = DxfInt(value);
    if (h.loops < 0 || h.loops > (1 << 20)) return false;
    h.phase = h.loops == 0 ? Phase::kPattern : Phase::kPathFlags;
    return true;
  case Phase::kPathFlags: {
    constexpr int kPolylinePath = 2;
    if (code != 92 || (DxfInt(value) & kPolylinePath) != 0) return false;
    h.paths.emplace_back();
    h.phase = Phase::kEdgeCount;
    return true;
  }
  case Phase::kEdgeCount:
    if (code != 93) return false;
    h.edgesLeft = DxfInt(value);
    if (h.edgesLeft <= 0 || h.edgesLeft > (1 << 20)) return false;
    h.phase = Phase::kEdge;
    h.next = 0;
    return true;
  case Phase::kEdge: {
    static constexpr int kLineGroups[] = {72, 10, 20, 11, 21};
    static constexpr int kArcGroups[] = {72, 10, 20, 40, 50, 51, 73};
    if (h.next == 0) {
      const int type = code == 72 ? DxfInt(value) : 0;
      if (type != 1 && type != 2) return false;
      h.paths.back().push_back(HatchEdge{type, {}});
      h.next = 1;
      return true;
    }
    HatchEdge& edge = h.paths.back().back();
    const std::span<const int> groups =
        edge.type == 1 ? std::span<const int>(kLineGroups) : std::span<const int>(kArcGroups);
    if (code != groups[static_cast<std::size_t>(h.next)]) return false;
    edge.v[h.next - 1] = code == 73 ? DxfInt(value) : DxfReal(value);
    if (++h.next < static_cast<int>(groups.size())) return true;
    h.next = 0;
    if (--h.edgesLeft == 0) h.phase = Phase::kSources;
    return true;
  }
  case Phase::kSources:
    if (code == 97 && h.sourcesLeft == 0) {
      h.sourcesLeft = DxfInt(value);
      return h.sourcesLeft >= 0;
    }
    if (code == 330 && h.sourcesLeft > 0) return --h.sourcesLeft, true;
    if (h.sourcesLeft != 0) return false;
    h.sourcesLeft = 0;
    if (static_cast<int>(h.paths.size()) < h.loops) {
      h.phase = Phase::kPathFlags;
      return GatherHatch(code, value);
    }
    h.phase = Phase::kPattern;
    return GatherHatch(code, value);
  case Phase::kPattern:
    if (code == 41) return h.scale = value, true;
    if (code == 52) return h.angle = value, true;
    // The pattern's lines and the seed points: the reader takes them from the pairs itself.
    return code == 75 || code == 76 || code == 77 || code == 78 || code == 53 || code == 43 ||
           code == 44 || code == 45 || code == 46 || code == 79 || code == 49 || code == 47 ||
           code == 98 || code == 10 || code == 20;
  }
  return false;
}

void DxfEntityDecoder::CompleteHatch() {
  const Hatch& h = hatch_;
  const auto real = [](std::string_view v, double otherwise) {
    return v.data() != nullptr ? DxfReal(v) : otherwise;
  };
  target_.addHatch(DL_HatchData(
      h.loops, h.solid.data() != nullptr && DxfInt(h.solid) != 0, real(h.scale, 1.0),
      real(h.angle, 0.0), h.pattern.data() != nullptr ? std::string(h.pattern) : std::string()));
  constexpr double kRadians = std::numbers::pi / 180.0;
  for (const std::vector<HatchEdge>& path : h.paths) {
    target_.addHatchLoop(DL_HatchLoopData(static_cast<int>(path.size())));
    for (const HatchEdge& e : path) {
      if (e.type == 1)
        target_.addHatchEdge(DL_HatchEdgeData(e.v[0], e.v[1], e.v[2], e.v[3]));
      else
        target_.addHatchEdge(DL_HatchEdgeData(e.v[0], e.v[1], e.v[2], e.v[3] * kRadians,
                                              e.v[4] * kRadians, e.v[5] != 0));
    }
  }
}

double DxfEntityDecoder::Real(int code, double otherwise) const {
  return has_[code] ? DxfReal(values_[code]) : otherwise;
}
int DxfEntityDecoder::Int(int code, int otherwise) const {
  return has_[code] ? DxfInt(values_[code]) : otherwise;
}

// The library takes the entity from its first pair on.
void DxfEntityDecoder::Replay() {
  const bool hatch = kind_ == Kind::kHatch;
  kind_ = Kind::kNone;
  DxfPairs pairs(all_.subspan(entityStart_), nul_);
  int code = 0;
  std::string_view value;
  for (std::size_t k = 0; k < pairCount_ && pairs.Next(code, value); ++k) {
    ToLibrary(code, value, entityStart_ + pairs.Start());
    // The library begins a hatch with an edge of no kind set and asks for the kind at the
    // hatch's first point, before any boundary names one: an edge flag of 0 (no kind it
    // reads) sets it first.
    if (hatch && k == 0) {
      zero_.str("72\n0\n");
      zero_.clear();
      dxf_.readDxfGroups(zero_, &target_);
    }
  }
}

void DxfEntityDecoder::Complete() {
  const Kind kind = kind_;
  kind_ = Kind::kNone;
  // Without decoding, the library reads a light polyline whose vertices are as its count says.
  const Polyline& p = polyline_;
  if (!decode_ && kind == Kind::kPolyline && !p.odd && p.counted &&
      p.count == static_cast<int>(vertices_.size()) && p.ys == p.count) {
    kind_ = kind;
    Replay();
    return;
  }
  // A hatch ended before all its paths, or inside an edge.
  if (kind == Kind::kHatch &&
      (hatch_.phase == Hatch::Phase::kHead || hatch_.phase == Hatch::Phase::kPathFlags ||
       hatch_.phase == Hatch::Phase::kEdgeCount || hatch_.phase == Hatch::Phase::kEdge ||
       hatch_.sourcesLeft != 0 || static_cast<int>(hatch_.paths.size()) != hatch_.loops)) {
    kind_ = kind;
    Replay();
    return;
  }
  std::string value;
  for (const auto& [code, text] : xdata_) {
    value.assign(text);
    if (code == 1001)
      target_.addXDataApp(value);
    else if (code <= 1009)
      target_.addXDataString(code, value);
    else if (code <= 1059)
      target_.addXDataReal(code, DxfReal(text));
    else
      target_.addXDataInt(code, DxfInt(text));
  }
  // An insert of no block is passed over without a word, as the library does.
  if (kind == Kind::kInsert && (!has_[2] || values_[2].empty())) return;
  DL_Attributes attributes(has_[8] ? std::string(values_[8]) : std::string("0"), Int(62, 256),
                           rgb_.data() != nullptr ? DxfInt(rgb_) : -1,
                           weight_.data() != nullptr ? DxfInt(weight_) : -1,
                           has_[6] ? std::string(values_[6]) : std::string("BYLAYER"));
  attributes.setLinetypeScale(Real(48, 1.0));
  attributes.setInPaperSpace(Int(67, 0) != 0);
  target_.setAttributes(attributes);
  const auto axis = [this](int k, double otherwise) {
    return extrusion_[k].data() != nullptr ? DxfReal(extrusion_[k]) : otherwise;
  };
  const int elevation = kind == Kind::kPolyline ? 38 : 30;
  target_.setExtrusion(axis(0, 0.0), axis(1, 0.0), axis(2, 1.0),
                       kind == Kind::kHatch
                           ? (hatch_.elevation.data() != nullptr ? DxfReal(hatch_.elevation) : 0.0)
                           : Real(elevation, 0.0));
  switch (kind) {
  case Kind::kLine:
    target_.addLine(
        DL_LineData(Real(10, 0), Real(20, 0), Real(30, 0), Real(11, 0), Real(21, 0), Real(31, 0)));
    break;
  case Kind::kArc:
    target_.addArc(
        DL_ArcData(Real(10, 0), Real(20, 0), Real(30, 0), Real(40, 0), Real(50, 0), Real(51, 0)));
    break;
  case Kind::kCircle:
    target_.addCircle(DL_CircleData(Real(10, 0), Real(20, 0), Real(30, 0), Real(40, 0)));
    break;
  case Kind::kPolyline:
    target_.addPolyline(
        DL_PolylineData(static_cast<int>(vertices_.size()), 0, 0, Int(70, 0), Real(38, 0)));
    for (const Vertex& v : vertices_) target_.addVertex(DL_VertexData(v.x, v.y, 0.0, v.bulge));
    break;
  case Kind::kText: {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    target_.addText(DL_TextData(Real(10, 0), Real(20, 0), Real(30, 0), Real(11, nan), Real(21, nan),
                                Real(31, nan), Real(40, 2.5), Real(41, 1.0), Int(71, 0), Int(72, 0),
                                Int(73, 0), has_[1] ? std::string(values_[1]) : std::string(),
                                has_[7] ? std::string(values_[7]) : std::string(),
                                Real(50, 0) * std::numbers::pi / 180.0));
    break;
  }
  case Kind::kInsert:
    target_.addInsert(DL_InsertData(has_[2] ? std::string(values_[2]) : std::string(), Real(10, 0),
                                    Real(20, 0), Real(30, 0), Real(41, 1), Real(42, 1), Real(43, 1),
                                    Real(50, 0), Int(70, 1), Int(71, 1), Real(44, 0), Real(45, 0)));
    break;
  case Kind::kHatch:
    CompleteHatch();
    break;
  case Kind::kBlock:
    // A block of no name is passed over, as the library passes it.
    if (has_[2] && !values_[2].empty())
      target_.addBlock(
          DL_BlockData(std::string(values_[2]), Int(70, 0), Real(10, 0), Real(20, 0), Real(30, 0)));
    break;
  case Kind::kEndBlock:
    target_.endBlock();
    break;
  case Kind::kNone:
    break;
  }
}

} // namespace lumora
