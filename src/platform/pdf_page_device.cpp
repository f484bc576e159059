#include "platform/pdf_page_device.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <new>
#include <numbers>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>
#define ZLIB_CONST
#include <zlib.h>

namespace lumora {
namespace {

constexpr double kPointsPerMillimetre = 72.0 / 25.4;
constexpr double kPointsPerPixel = kPointsPerMillimetre / kDevicePixelsPerMillimetre;
constexpr double kColourSteps = 255.0;
// The thinnest pen is one device pixel, a hundredth of a millimetre: a width 0 stroke would be
// the output device's own thinnest line, which some viewers leave out altogether.
constexpr long kThinnestPixels = 1;
// One pen's path is stroked as one, but a very long one in parts, as viewers and printers
// handle paths of bounded length best.
constexpr long kMostPathParts = 8192;
// Numbers held for all pens before the page is stroked as far as it has come: 32 MiB.
constexpr std::size_t kMostBuffered = std::size_t(8) << 20;
// Page content is compressed in pieces of this size.
constexpr std::size_t kContentPiece = std::size_t(1) << 20;
constexpr std::size_t kCompressedPiece = std::size_t(64) << 10;
constexpr std::int32_t kPartMove = 0;
constexpr std::int32_t kPartLine = 1;
constexpr std::int32_t kPartArc = 2;
constexpr int kWidthShift = 24;
constexpr int kRedShift = 16;
constexpr int kGreenShift = 8;
constexpr int kColourMask = 0xff;
constexpr mode_t kFileMode = 0644;
// The catalogue and the page tree are written last but numbered first.
constexpr int kCatalogObject = 1;
constexpr int kPagesObject = 2;
constexpr int kMatrixDecimals = 9;
constexpr int kSizeDecimals = 4;
constexpr int kColourDecimals = 3;
constexpr int kCurveDecimals = 1; // a thousandth of a millimetre
// Arcs go out as cubic curves of at most a quarter turn each. A quarter curve strays from its
// circle by at most this part of the radius; bigger arcs are cut finer so that no curve strays
// more than the tolerance, in device pixels.
constexpr double kQuarterTurn = std::numbers::pi / 2.0;
constexpr double kFullTurn = 2.0 * std::numbers::pi;
constexpr double kQuarterCurveError = 2.7e-4;
constexpr double kArcTolerance = 0.5;
constexpr double kMostArcCurves = 4096.0;
constexpr double kSixth = 1.0 / 6.0;
constexpr double kCurveHandle = 4.0 / 3.0;
constexpr double kHandleAngle = 0.25;

std::string Decimal(double value, int decimals) {
  std::array<char, 64> text{};
  if (!std::isfinite(value)) value = 0.0;
  const auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), value,
                                          std::chars_format::fixed, decimals);
  return error == std::errc() ? std::string(text.data(), end) : std::string("0");
}

} // namespace

// Deflates the page's content into the file as it comes.
class PdfPageDevice::Compressor {
public:
  Compressor() { ready_ = deflateInit(&stream_, Z_BEST_SPEED) == Z_OK; }
  ~Compressor() {
    if (ready_) deflateEnd(&stream_);
  }
  Compressor(const Compressor&) = delete;
  Compressor& operator=(const Compressor&) = delete;

  bool Ready() const { return ready_; }

  bool Run(std::string_view input, bool finish, PdfPageDevice& device) {
    if (!ready_) return false;
    stream_.next_in = reinterpret_cast<const Bytef*>(input.data());
    stream_.avail_in = static_cast<uInt>(input.size());
    for (;;) {
      stream_.next_out = reinterpret_cast<Bytef*>(out_.data());
      stream_.avail_out = static_cast<uInt>(out_.size());
      const int result = deflate(&stream_, finish ? Z_FINISH : Z_NO_FLUSH);
      if (result == Z_STREAM_ERROR) return false;
      device.Put(std::string_view(out_.data(), out_.size() - stream_.avail_out));
      if (finish ? result == Z_STREAM_END : stream_.avail_out != 0) return true;
    }
  }

private:
  z_stream stream_{};
  bool ready_ = false;
  std::array<char, kCompressedPiece> out_{};
};

PdfPageDevice::PdfPageDevice(std::string target, const Paper& paper, FileReporter& reporter)
    : target_(std::move(target)), paper_(paper), reporter_(reporter) {}

PdfPageDevice::~PdfPageDevice() {
  AbortDocument();
}

void PdfPageDevice::Put(std::string_view bytes) {
  if (!Healthy() || bytes.empty()) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) failed_ = true;
  written_ += bytes.size();
}

int PdfPageDevice::NewObject() {
  objects_.push_back(0);
  return int(objects_.size());
}

void PdfPageDevice::BeginObject(int number) {
  objects_[std::size_t(number - 1)] = written_;
  Put(std::to_string(number) + " 0 obj\n");
}

void PdfPageDevice::Content(std::string_view bytes) {
  content_.append(bytes);
  if (content_.size() >= kContentPiece) DrainContent(false);
}

void PdfPageDevice::Number(long value) {
  std::array<char, 24> text{};
  const auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), value);
  content_.append(text.data(), error == std::errc() ? end : text.data());
  content_ += ' ';
}

void PdfPageDevice::Number(double value, int decimals) {
  content_ += Decimal(value, decimals);
  content_ += ' ';
}

bool PdfPageDevice::DrainContent(bool finish) {
  if (!Healthy() || compressor_ == nullptr) return false;
  if (!compressor_->Run(content_, finish, *this)) failed_ = true;
  content_.clear();
  return Healthy();
}

bool PdfPageDevice::BeginDocument() {
  AbortDocument();
  reporter_.Trace("Writing file '" + target_ + "'\n");
  std::string name = target_ + ".XXXXXX";
  const int fd = mkstemp(name.data());
  if (fd < 0) return false;
  fchmod(fd, kFileMode); // a plot is an ordinary file, not a private temporary one
  temporary_ = name;
  file_ = fdopen(fd, "wb");
  if (file_ == nullptr) {
    close(fd);
    AbortDocument();
    return false;
  }
  objects_.assign(std::size_t(kPagesObject), 0);
  Put("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n");
  return Healthy();
}

bool PdfPageDevice::BeginPage() {
  if (!Healthy() || inPage_) return false;
  compressor_.reset(new (std::nothrow) Compressor);
  if (compressor_ == nullptr || !compressor_->Ready()) return false;
  contentObject_ = NewObject();
  const int length = NewObject();
  BeginObject(contentObject_);
  Put("<< /Length " + std::to_string(length) + " 0 R /Filter /FlateDecode >>\nstream\n");
  streamStart_ = written_;
  inPage_ = true;
  // Device pixels, y down from the printable area's top left corner, with round pens.
  const double left = paper_.left * kPointsPerMillimetre;
  const double top = (paper_.height - paper_.top) * kPointsPerMillimetre;
  Content("1 J 1 j\n");
  Number(kPointsPerPixel, kMatrixDecimals);
  Content("0 0 ");
  Number(-kPointsPerPixel, kMatrixDecimals);
  Number(left, kSizeDecimals);
  Number(top, kSizeDecimals);
  Content("cm\n");
  return Healthy();
}

PdfPageDevice::PenPath& PdfPageDevice::Pen() {
  if (!penChosen_) SetPen(0, InkColour{});
  return pens_[pen_];
}

void PdfPageDevice::ArcPath(const ArcPart& arc) {
  // The angle falls from start to end, at most a whole turn.
  double sweep = arc.start - arc.end;
  if (!std::isfinite(sweep) || !std::isfinite(arc.start) || !std::isfinite(arc.radius)) return;
  if (sweep < 0.0) sweep = std::fmod(sweep, kFullTurn) + kFullTurn;
  sweep = std::min(sweep, kFullTurn);
  const double r = arc.radius;
  double most = kQuarterTurn;
  if (r * kQuarterCurveError > kArcTolerance) {
    most *= std::pow(kArcTolerance / (r * kQuarterCurveError), kSixth);
  }
  const double curves = std::clamp(std::ceil(sweep / most), 1.0, kMostArcCurves);
  const double step = -sweep / curves;
  const double handle = kCurveHandle * std::tan(step * kHandleAngle) * r;
  double a = arc.start;
  double x = arc.cx + r * std::cos(a);
  double y = arc.cy + r * std::sin(a);
  Number(x, kCurveDecimals);
  Number(y, kCurveDecimals);
  Content("m\n");
  for (int k = 0; k < int(curves); ++k) {
    const double b = arc.start + step * (k + 1);
    const double bx = arc.cx + r * std::cos(b);
    const double by = arc.cy + r * std::sin(b);
    Number(x - handle * std::sin(a), kCurveDecimals);
    Number(y + handle * std::cos(a), kCurveDecimals);
    Number(bx + handle * std::sin(b), kCurveDecimals);
    Number(by - handle * std::cos(b), kCurveDecimals);
    Number(bx, kCurveDecimals);
    Number(by, kCurveDecimals);
    Content("c\n");
    a = b;
    x = bx;
    y = by;
  }
}

void PdfPageDevice::StrokePen(const PenPath& pen) {
  Number(long(pen.width > 0 ? pen.width : kThinnestPixels));
  Content("w\n");
  Number(pen.colour.red / kColourSteps, kColourDecimals);
  Number(pen.colour.green / kColourSteps, kColourDecimals);
  Number(pen.colour.blue / kColourSteps, kColourDecimals);
  Content("RG\n");
  long parts = 0;
  // Where the path stands: a long path is stroked in parts, and a line goes on from there.
  double atX = 0.0;
  double atY = 0.0;
  for (std::size_t k = 0; k < pen.parts.size();) {
    const std::int32_t kind = pen.parts[k];
    if (parts >= kMostPathParts) {
      Content("S\n");
      if (kind == kPartLine) {
        Number(atX, kCurveDecimals);
        Number(atY, kCurveDecimals);
        Content("m\n");
      }
      parts = 0;
    }
    if (kind == kPartArc) {
      const ArcPart& arc = pen.arcs[std::size_t(pen.parts[k + 1])];
      ArcPath(arc);
      atX = arc.cx + arc.radius * std::cos(arc.end);
      atY = arc.cy + arc.radius * std::sin(arc.end);
      k += 2;
    } else {
      Number(long(pen.parts[k + 1]));
      Number(long(pen.parts[k + 2]));
      Content(kind == kPartMove ? "m\n" : "l\n");
      atX = pen.parts[k + 1];
      atY = pen.parts[k + 2];
      k += 3;
    }
    ++parts;
  }
  if (parts > 0) Content("S\n");
}

bool PdfPageDevice::Flush() {
  if (!Healthy() || !inPage_) return false;
  for (PenPath& pen : pens_) {
    if (!pen.parts.empty()) StrokePen(pen);
    pen.parts = {};
    pen.arcs = {};
  }
  buffered_ = 0;
  needMove_ = true;
  return Healthy();
}

bool PdfPageDevice::EndPage() {
  if (!inPage_ || !Flush() || !DrainContent(true)) return false;
  const std::uint64_t length = written_ - streamStart_;
  Put("\nendstream\nendobj\n");
  BeginObject(contentObject_ + 1);
  Put(std::to_string(length) + "\nendobj\n");
  const int page = NewObject();
  BeginObject(page);
  Put("<< /Type /Page /Parent " + std::to_string(kPagesObject) + " 0 R /MediaBox [0 0 " +
      Decimal(paper_.width * kPointsPerMillimetre, kSizeDecimals) + ' ' +
      Decimal(paper_.height * kPointsPerMillimetre, kSizeDecimals) + "] /Contents " +
      std::to_string(contentObject_) + " 0 R /Resources << >> >>\nendobj\n");
  pages_.push_back(page);
  compressor_.reset();
  content_ = {};
  inPage_ = false;
  return Healthy();
}

void PdfPageDevice::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  failed_ = false;
  written_ = 0;
  objects_.clear();
  pages_.clear();
  compressor_.reset();
  content_ = {};
  inPage_ = false;
  pens_.clear();
  penIndex_.clear();
  penChosen_ = false;
  buffered_ = 0;
}

bool PdfPageDevice::EndDocument() {
  if (!Healthy() || (inPage_ && !EndPage())) return false;
  const int info = NewObject();
  BeginObject(info);
  Put("<< /Title (Lumora) /Creator (Lumora) /Producer (Lumora) >>\nendobj\n");
  BeginObject(kPagesObject);
  std::string kids;
  for (const int page : pages_) kids += std::to_string(page) + " 0 R ";
  Put("<< /Type /Pages /Kids [ " + kids + "] /Count " + std::to_string(pages_.size()) +
      " >>\nendobj\n");
  BeginObject(kCatalogObject);
  Put("<< /Type /Catalog /Pages " + std::to_string(kPagesObject) + " 0 R >>\nendobj\n");
  const std::uint64_t crossReference = written_;
  Put("xref\n0 " + std::to_string(objects_.size() + 1) + "\n0000000000 65535 f \n");
  for (const std::uint64_t at : objects_) {
    std::string entry = std::to_string(at);
    Put(std::string(10 - std::min<std::size_t>(entry.size(), 10), '0') + entry + " 00000 n \n");
  }
  Put("trailer\n<< /Size " + std::to_string(objects_.size() + 1) + " /Root " +
      std::to_string(kCatalogObject) + " 0 R /Info " + std::to_string(info) +
      " 0 R >>\nstartxref\n" + std::to_string(crossReference) + "\n%%EOF\n");
  bool written = Healthy();
  written = std::fclose(file_) == 0 && written;
  file_ = nullptr;
  Close();
  if (!written || std::rename(temporary_.c_str(), target_.c_str()) != 0) {
    std::remove(temporary_.c_str());
    temporary_.clear();
    return false;
  }
  temporary_.clear();
  return true;
}

void PdfPageDevice::AbortDocument() {
  Close();
  if (!temporary_.empty()) std::remove(temporary_.c_str());
  temporary_.clear();
}

bool PdfPageDevice::SetPen(int widthPixels, const InkColour& colour) {
  if (!Healthy()) return false;
  const std::uint64_t key = (std::uint64_t(std::uint32_t(widthPixels)) << kWidthShift) |
                            (std::uint64_t(colour.red & kColourMask) << kRedShift) |
                            (std::uint64_t(colour.green & kColourMask) << kGreenShift) |
                            std::uint64_t(colour.blue & kColourMask);
  const auto [found, added] = penIndex_.try_emplace(key, pens_.size());
  if (added) pens_.push_back(PenPath{widthPixels, colour, {}, {}});
  if (!penChosen_ || found->second != pen_) needMove_ = true;
  pen_ = found->second;
  penChosen_ = true;
  return true;
}

bool PdfPageDevice::Keep(std::size_t numbers) {
  buffered_ += numbers;
  // A page beyond this is stroked as far as it has come, so the pens' paths stay bounded.
  return buffered_ < kMostBuffered || Flush();
}

bool PdfPageDevice::MoveTo(int x, int y) {
  if (!Healthy() || !inPage_) return false;
  PenPath& pen = Pen();
  pen.parts.insert(pen.parts.end(), {kPartMove, x, y});
  lastX_ = x;
  lastY_ = y;
  needMove_ = false;
  return Keep(3);
}

bool PdfPageDevice::LineTo(int x, int y) {
  if (!Healthy() || !inPage_) return false;
  PenPath& pen = Pen();
  if (needMove_) pen.parts.insert(pen.parts.end(), {kPartMove, lastX_, lastY_});
  pen.parts.insert(pen.parts.end(), {kPartLine, x, y});
  const std::size_t numbers = needMove_ ? 6 : 3;
  lastX_ = x;
  lastY_ = y;
  needMove_ = false;
  return Keep(numbers);
}

bool PdfPageDevice::Arc(int cx, int cy, double radius, double start, double end) {
  if (!Healthy() || !inPage_) return false;
  PenPath& pen = Pen();
  pen.parts.insert(pen.parts.end(), {kPartArc, std::int32_t(pen.arcs.size())});
  pen.arcs.push_back(ArcPart{cx, cy, radius, start, end});
  // A line after the arc goes on from the arc's end, as on the page.
  needMove_ = false;
  return Keep(2 + sizeof(ArcPart) / sizeof(std::int32_t));
}

std::unique_ptr<PageDevice> PdfPageOutput::Open(const std::string& path, FileReporter& reporter) {
  return std::unique_ptr<PageDevice>(new (std::nothrow) PdfPageDevice(path, paper_, reporter));
}

} // namespace lumora
