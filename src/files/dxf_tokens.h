// Reading DXF group code / value pairs quickly. The bytes are cut into pairs without copying,
// numbers are read with from_chars exactly as the DXF library reads them, and the entities most
// drawings are made of (lines, arcs, circles, light polylines, texts, inserts and hatches
// bounded by lines and arcs, and the blocks that hold them) are decoded here
// and handed to the library's creation interface just as the library hands them over; every other
// pair, and any such entity with a group this decoding does not know, goes through the library.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <istream>
#include <span>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

class DL_Dxf;
class DL_CreationInterface;

namespace lumora {

// Finds the ends of a text's lines in order. Lines of a DXF file are mostly a few characters,
// shorter than a search call costs: the line feeds of 64 bytes at a time are marked in one word,
// and each line end after the first of those bytes is then a bit away.
class DxfLineCutter {
public:
  explicit DxfLineCutter(const char* end) : end_(end), block_(end) {}
  // Where the line that starts at `p` ends: its line feed, or the end of the text. Each `p`
  // lies at or after the end of the line before.
  const char* End(const char* p) {
    if (p >= end_) return end_;
    for (;;) {
      if (p < block_ || p - block_ >= kBlock) {
        if (end_ - p < kBlock) {
          while (p < end_ && *p != '\n') ++p;
          return p;
        }
        block_ = p;
        feeds_ = Feeds(p);
      }
      const std::uint64_t ahead = feeds_ >> (p - block_);
      if (ahead != 0) return p + std::countr_zero(ahead);
      p = block_ + kBlock;
    }
  }

private:
  static constexpr std::ptrdiff_t kBlock = 64;
  // Bit k set where p[k] is a line feed.
  static std::uint64_t Feeds(const char* p) {
    std::uint64_t feeds = 0;
#if defined(__SSE2__)
    const __m128i feed = _mm_set1_epi8('\n');
    for (int k = 0; k < kBlock; k += 16) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k));
      const auto marks = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, feed)));
      feeds |= static_cast<std::uint64_t>(marks) << k;
    }
#else
    for (int k = 0; k < kBlock; ++k) feeds |= static_cast<std::uint64_t>(p[k] == '\n') << k;
#endif
    return feeds;
  }
  const char* end_;
  const char* block_; // where the marked bytes begin
  std::uint64_t feeds_ = 0;
};

// The pairs cut as the library cuts them: the code line without blanks around it, the value
// line without its line end and up to a NUL. False at the end or at a code line without value.
class DxfPairs {
public:
  explicit DxfPairs(std::span<const char> bytes);
  // `nul`: whether the bytes may hold a NUL (else no value is searched for one).
  DxfPairs(std::span<const char> bytes, bool nul)
      : text_(bytes.data(), bytes.size()), nul_(nul), lines_(bytes.data() + bytes.size()) {}
  bool Next(int& code, std::string_view& value);
  // Where the pair last given starts in the bytes.
  std::size_t Start() const { return start_; }

private:
  std::string_view text_;
  bool nul_ = true;
  DxfLineCutter lines_;
  std::size_t at_ = 0;
  std::size_t start_ = 0;
};

// A number as the library reads it: blanks before it skipped, a comma taken for the point,
// anything after the number ignored, 0 for no number and the largest double for a number
// beyond it.
double DxfReal(std::string_view value);
// A whole number as the library reads it (base 10, blanks before it skipped, 0 for none).
int DxfInt(std::string_view value);
// False for a value that holds no number where one is due ("nan", "inf", a word): DxfReal
// would read it as 0. An empty or blank value counts as a number (0).
bool DxfHoldsNumber(std::string_view value);

class DxfEntityDecoder {
public:
  // `decode` false: every pair goes through the library, but for the light polylines whose
  // vertices it would not read as the file gives them.
  DxfEntityDecoder(DL_Dxf& dxf, DL_CreationInterface& target, std::span<const char> bytes,
                   bool decode);

  // The next pair in file order, starting at `start` in the bytes.
  void Take(int code, std::string_view value, std::size_t start);
  // Completes the entity being gathered (the file has ended).
  void Finish();

private:
  enum class Kind {
    kNone,
    kLine,
    kArc,
    kCircle,
    kPolyline,
    kText,
    kInsert,
    kHatch,
    kBlock,
    kEndBlock
  };
  struct Vertex {
    double x = 0;
    double y = 0;
    double bulge = 0;
  };

  // The bytes as a stream the library reads its pairs from, without a copy.
  class Bytes : public std::streambuf {
  public:
    explicit Bytes(std::span<const char> bytes) {
      char* first = const_cast<char*>(bytes.data()); // only ever read
      setg(first, first, first + bytes.size());
    }
    void At(std::size_t offset) { setg(eback(), eback() + offset, egptr()); }
  };

  // The library reads the pair that starts at `start` (it keeps what it reads in itself). A
  // real number of blanks is handed over as 0: the library would leave its number unset.
  void ToLibrary(int code, std::string_view value, std::size_t start);
  static Kind KindOf(std::string_view name);
  bool GatherHatch(int code, std::string_view value);
  void CompleteHatch();
  bool Gather(int code, std::string_view value, std::size_t start);
  void Complete();
  void Replay();
  double Real(int code, double otherwise) const;
  int Int(int code, int otherwise) const;

  DL_Dxf& dxf_;
  DL_CreationInterface& target_;
  std::span<const char> all_;
  bool nul_; // whether the bytes hold a NUL
  Bytes bytes_;
  std::istream stream_;
  std::istringstream decodedHere_;
  std::istringstream zero_; // a blank real number as 0, or a long text cut
  bool decode_;
  bool libraryIdle_ = false; // the library was last given the pair above and nothing since
  Kind kind_ = Kind::kNone;
  // Where the entity starts and how many pairs it has had, for the library when the decoding
  // gives up.
  std::size_t entityStart_ = 0;
  std::size_t pairCount_ = 0;
  // The last value of each group code below 100 (the library keeps the last too), and of the
  // colour, weight and extrusion codes above.
  static constexpr int kPlainCodes = 100;
  std::string_view values_[kPlainCodes];
  bool has_[kPlainCodes] = {};
  std::string_view rgb_;
  std::string_view weight_;
  std::string_view extrusion_[3];
  std::vector<std::pair<int, std::string_view>> xdata_;
  std::vector<Vertex> vertices_;
  // How a light polyline's vertices came: whether the library would read them as they are
  // (one count before the vertices, as many as it says, each y after its x).
  struct Polyline {
    bool counted = false;
    bool odd = false;
    int count = 0;
    int ys = 0;
  } polyline_;
  // A hatch: its groups before the paths, each path's straight and circular edges (the next
  // group expected of the edge being read), and the pattern groups after the paths.
  struct HatchEdge {
    int type = 0;
    double v[6] = {};
  };
  struct Hatch {
    enum class Phase { kHead, kPathFlags, kEdgeCount, kEdge, kSources, kPattern } phase;
    int loops = 0;
    int edgesLeft = 0;
    int sourcesLeft = 0;
    int next = 0; // groups of the edge read so far
    std::vector<std::vector<HatchEdge>> paths;
    std::string_view pattern;
    std::string_view solid;
    std::string_view scale;
    std::string_view angle;
    std::string_view elevation;
  } hatch_;
};

} // namespace lumora
