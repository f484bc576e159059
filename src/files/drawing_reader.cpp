#include "files/drawing_reader.h"

#include "files/byte_reader.h"
#include "files/drawing_format.h"
#include "files/file_access.h"
#include "files/file_messages.h"
#include "files/record_decoder.h"
#include "files/script_entry.h"
#include "model/element_store.h"
#include "model/element_transform.h"
#include "text/place_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

namespace lumora {

namespace {

constexpr std::size_t kRememberedNameMax = 99;
constexpr std::size_t kPointReals = 2;
constexpr double kSmallestScale = 0.001; // below it a scale is taken as 1
using Kind = RecordDecoder::Kind;

struct FileHeader {
  float version = 0;
  Box area{0, 0, 0, 0};
  double scale = 1;
  double step = 1;
};

bool IsDrawingName(std::string_view name) {
  return name.ends_with(".drw") || name.ends_with(".DRW");
}

template <class Element> Element* Resolve(const std::vector<Element*>& read, std::int32_t index) {
  return index >= 0 && static_cast<std::size_t>(index) < read.size() ? read[index] : nullptr;
}

// Reads the version and, in the precision it selects, the area, scale and step.
bool ReadHeader(ByteReader& in, FileReporter& reporter, FileHeader& header) {
  double version = 0;
  if (!in.ReadF32(version)) {
    reporter.ShowError(file_messages::kReadFailed);
    return false;
  }
  header.version = static_cast<float>(version);
  if (SameValue(version, kUnreadableVersion)) {
    reporter.ShowError(file_messages::kNotReadable);
    return false;
  }
  RecordDecoder in2(in, reporter, IsWideVersion(version));
  if (!(in2.Real(header.area.xmin) && in2.Real(header.area.ymin) && in2.Real(header.area.xmax) &&
        in2.Real(header.area.ymax) && in2.Real(header.scale) && in2.Real(header.step))) {
    return false;
  }
  // A scale of nothing would divide by zero wherever the scale is used: taken as 1, as scripts
  // and the setup take it.
  if (!(header.scale >= kSmallestScale) || !std::isfinite(header.scale)) header.scale = 1.0;
  return true;
}

class DrawingReader {
public:
  DrawingReader(ElementStore& store, RecordDecoder& in, PartElement* container,
                const Placement& placement, bool draw)
      : store_(store), in_(in), container_(container), placement_(placement), draw_(draw) {
    MakeTransform(m_, 0, 0, placement.x, placement.y, placement.sx, placement.sy, placement.angle);
  }

  // The ratio of the file's scale to the drawing's, for text heights read into a container.
  void SetScaleRatio(double q) { q_ = q; }
  void SetRecomputeValues(bool recompute) { recomputeValues_ = recompute; }
  const Transform& transform() const { return m_; }

  bool ReadLines();
  bool ReadFillings();
  bool ReadTexts();
  bool ReadParts();

private:
  bool ReadListCount(std::int32_t& count);
  std::size_t Plausible(std::int32_t count, std::size_t words) const;
  bool ReadOneLine();
  bool ReadOneFilling();
  bool ReadOneText();
  bool ReadOnePart();
  template <class Element> bool ReadMembers(PartElement* part, const std::vector<Element*>& read);

  ElementStore& store_;
  RecordDecoder& in_;
  PartElement* container_;
  Placement placement_;
  bool draw_;
  Transform m_;
  double q_ = 1.0;
  bool recomputeValues_ = true;
  std::string value_; // the string of the text being read
  std::vector<LineElement*> lines_;
  std::vector<FillingElement*> fillings_;
  std::vector<TextElement*> texts_;
  std::vector<PartElement*> parts_;
};

// As many records of the list as the rest of the file could hold (each at least its words), to
// make room for before reading them.
std::size_t DrawingReader::Plausible(std::int32_t count, std::size_t words) const {
  if (count <= 0) return 0;
  return static_cast<std::size_t>(std::min<std::uint64_t>(static_cast<std::uint64_t>(count),
                                                          in_.Remaining() / (words * kWordBytes)));
}

// A list count. Short files hold up to 65535 records per list: a count is never negative, so
// its sixteen bits are read without sign.
bool DrawingReader::ReadListCount(std::int32_t& count) {
  if (!in_.Count(count)) return false;
  if (!in_.Wide()) count &= 0xFFFF;
  return true;
}

bool DrawingReader::ReadLines() {
  std::int32_t count = 0;
  if (!ReadListCount(count)) return false;
  const std::size_t n = Plausible(count, kLineWordsStored);
  lines_.reserve(lines_.size() + n);
  store_.ReserveIndex(n, 0, 0);
  for (std::int32_t k = 0; k < count; ++k)
    if (!ReadOneLine()) return false;
  return true;
}

// The points are decoded straight into the new record.
bool DrawingReader::ReadOneLine() {
  LineElement stored;
  if (!in_.Words(stored.words.data(), kLineWordsStored)) return false;
  const auto count = static_cast<int>(stored.ps0());
  if (!in_.Expect(std::uint64_t(count) * kPointReals, in_.RealBytes(), Kind::kReals)) return false;
  PropertySet set;
  UnpackLine(stored, set, PackFields::kAll);
  LineElement* line = store_.AddLineFilled(set, count, [this, &stored](std::span<Point> points) {
    if (!in_.Points(points)) return false;
    TransformLinePoints(stored, points, m_, placement_.sx, placement_.sy);
    return true;
  });
  if (line == nullptr) return false;
  lines_.push_back(line);
  if (draw_) store_.painter().Draw(*line, DrawMode::kNormal);
  if (container_ != nullptr && stored.inPart() == 0) store_.AddMember(container_, line);
  return true;
}

bool DrawingReader::ReadFillings() {
  std::int32_t count = 0;
  if (!ReadListCount(count)) return false;
  const std::size_t n = Plausible(count, kFillingWordsStored);
  fillings_.reserve(fillings_.size() + n);
  store_.ReserveIndex(0, n, 0);
  for (std::int32_t k = 0; k < count; ++k)
    if (!ReadOneFilling()) return false;
  return true;
}

bool DrawingReader::ReadOneFilling() {
  FillingElement stored;
  if (!in_.Words(stored.words.data(), kFillingWordsStored)) return false;
  const std::uint32_t count = stored.ls0();
  if (!in_.Expect(count, in_.CountBytes(), Kind::kCounts)) return false;
  PropertySet set;
  UnpackFilling(stored, set, PackFields::kAll);
  TransformFillingHatch(set, placement_.sx, placement_.sy, placement_.angle);
  FillingElement* filling = store_.AddFillingFilled(
      set, static_cast<int>(count), [this](std::span<LineElement*> boundary) {
        std::size_t k = 0;
        return in_.Counts(boundary.size(), [this, &boundary, &k](std::int32_t index) {
          boundary[k++] = Resolve(lines_, index);
        });
      });
  if (filling == nullptr) return false;
  fillings_.push_back(filling);
  if (draw_) store_.painter().Draw(*filling, DrawMode::kNormal);
  if (container_ != nullptr && stored.inPart() == 0) store_.AddMember(container_, filling);
  return true;
}

bool DrawingReader::ReadTexts() {
  std::int32_t count = 0;
  if (!ReadListCount(count)) return false;
  const std::size_t n = Plausible(count, kTextWordsStored);
  texts_.reserve(texts_.size() + n);
  store_.ReserveIndex(0, 0, n);
  for (std::int32_t k = 0; k < count; ++k)
    if (!ReadOneText()) return false;
  return true;
}

bool DrawingReader::ReadOneText() {
  TextElement stored;
  if (!in_.Words(stored.words.data(), kTextWordsStored)) return false;
  std::array<Point, kMaxTextPoints> place{};
  const std::span<Point> points(place.data(), stored.pointCount());
  if (!in_.Points(points)) return false;
  std::int32_t length = 0;
  if (!in_.Count(length)) return false;
  // A text has its place (point 0), and its string fits both the field and the file.
  const auto longest = static_cast<std::int32_t>(kMaxTextLength + 1);
  if (points.empty() || length < 1 || length > longest ||
      static_cast<std::uint64_t>(length) > in_.Remaining())
    return in_.Refuse();
  const char* chars = in_.Chars(static_cast<std::size_t>(length));
  if (chars == nullptr) return false;
  value_.assign(chars, strnlen(chars, static_cast<std::size_t>(length)));
  stored.SetHeight(ClampTextHeight(stored.height() * q_));
  PlaceText(stored, points, recomputeValues_ ? &value_ : nullptr, m_, placement_.sx, placement_.sy,
            placement_.angle);
  PropertySet set;
  UnpackText(stored, set, PackFields::kAll);
  TextElement* text = store_.AddText(set, points.data(), static_cast<int>(points.size()), value_);
  if (text == nullptr) return false;
  texts_.push_back(text);
  if (draw_) store_.painter().Draw(*text, DrawMode::kNormal);
  if (container_ != nullptr && stored.inPart() == 0) store_.AddMember(container_, text);
  return true;
}

bool DrawingReader::ReadParts() {
  std::int32_t count = 0;
  if (!ReadListCount(count)) return false;
  // Each part takes at least its name and its words.
  store_.ReserveParts(Plausible(count, kPartWordsStored + kPartNameSize / kWordBytes));
  for (std::int32_t k = 0; k < count; ++k)
    if (!ReadOnePart()) return false;
  return true;
}

template <class Element>
bool DrawingReader::ReadMembers(PartElement* part, const std::vector<Element*>& read) {
  std::int32_t count = 0;
  if (!ReadListCount(count)) return false;
  if (count <= 0) return true;
  return in_.Counts(static_cast<std::size_t>(count), [this, part, &read](std::int32_t index) {
    Element* member = Resolve(read, index);
    // A part never holds itself: that would make the part tree endless.
    if constexpr (std::is_same_v<Element, PartElement>) {
      if (member == part) return;
    }
    if (member != nullptr) store_.AddMember(part, member);
  });
}

bool DrawingReader::ReadOnePart() {
  char name[kPartNameSize] = {};
  PartElement stored;
  if (!in_.Bytes(name, sizeof(name)) || !in_.Words(stored.words.data(), kPartWordsStored))
    return false;
  PartElement* part = store_.AddPart(std::string_view(name, strnlen(name, sizeof(name))),
                                     stored.type(), stored.layer());
  if (part == nullptr) return false;
  parts_.push_back(part);
  if (!ReadMembers(part, lines_) || !ReadMembers(part, fillings_) || !ReadMembers(part, texts_) ||
      !ReadMembers(part, parts_))
    return false;
  if (container_ != nullptr && stored.nested() == 0) store_.AddMember(container_, part);
  return true;
}

int ReadStream(ByteReader& bytes, ElementStore& store, FileEnvironment& env,
               const std::string& fileName, PartElement* container, const Placement& placement,
               bool draw) {
  FileHeader header;
  if (!ReadHeader(bytes, env, header)) return 0;
  RecordDecoder in(bytes, env, IsWideVersion(header.version));
  DrawingReader reader(store, in, container, placement, draw);
  Drawing& drawing = store.drawing();
  if (container != nullptr) {
    reader.SetScaleRatio(header.scale / drawing.scale);
    reader.SetRecomputeValues(!IsDrawingName(fileName));
  } else {
    env.ResetOrigins();
    Box limits = header.area;
    TransformBox(limits, reader.transform());
    drawing.limits = limits;
    store.ClearDrawing();
    drawing.scale = header.scale;
    drawing.step = header.step;
    env.SetUpPlotter(drawing);
  }
  const bool read =
      reader.ReadLines() && reader.ReadFillings() && reader.ReadTexts() && reader.ReadParts();
  // The drawing is searched as soon as it is shown: its indexes are laid out as part of
  // reading it, whether it was read whole or not.
  store.BuildIndex();
  return read ? 1 : -1;
}

} // namespace

int ReadDrawingFile(ElementStore& store, FileEnvironment& env, DrawingFileState& state,
                    const std::string& fileName, PartElement* container, const Placement& placement,
                    bool draw) {
  const std::string remembered = fileName.substr(0, kRememberedNameMax);
  if (remembered != state.lastReadName) {
    env.Trace("Reading file '" + fileName + "'\n");
    state.lastReadName = remembered;
  }
  if (IsScriptName(fileName))
    return RunScriptFile(store, env, fileName, container, placement, draw);
  FilePtr file = OpenFileChecked(env, fileName, "rb", true);
  if (!file) return 0;
  ByteReader bytes(file.get());
  return ReadStream(bytes, store, env, fileName, container, placement, draw);
}

int ReadDrawingBytes(ElementStore& store, FileEnvironment& env,
                     std::span<const unsigned char> bytes, const std::string& fileName,
                     PartElement* container, const Placement& placement, bool draw) {
  ByteReader in(bytes);
  return ReadStream(in, store, env, fileName, container, placement, draw);
}

int ReadFileHeader(const std::string& fileName, Box& area) {
  class Silent final : public FileReporter {
    Language CurrentLanguage() const override { return Language::kEnglish; }
    void ShowError(std::string_view) override {}
    void Trace(std::string_view) override {}
  } silent;
  FilePtr file(std::fopen(fileName.c_str(), "rb"));
  if (!file) return 0;
  ByteReader bytes(file.get());
  FileHeader header;
  if (!ReadHeader(bytes, silent, header)) return 0;
  area = header.area;
  return 1;
}

} // namespace lumora
