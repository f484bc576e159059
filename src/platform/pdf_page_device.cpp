#include "platform/pdf_page_device.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace lumora {
namespace {

constexpr double kPointsPerMillimetre = 72.0 / 25.4;
constexpr double kPointsPerPixel = kPointsPerMillimetre / kDevicePixelsPerMillimetre;
constexpr double kColourSteps = 255.0;
// The thinnest pen: PDF draws width 0 as the device's thinnest line, but cairo leaves a width
// 0 stroke out altogether, so the thinnest is one device pixel.
constexpr double kThinnestPixels = 1.0;
// One pen's path is stroked as one, but a very long one is stroked in parts to bound memory.
constexpr long kMostPathParts = 8192;
// Numbers held for all pens before the page is stroked as far as it has come: 128 MiB.
constexpr std::size_t kMostBuffered = std::size_t(32) << 20;
constexpr std::int32_t kPartMove = 0;
constexpr std::int32_t kPartLine = 1;
constexpr std::int32_t kPartArc = 2;
constexpr int kWidthShift = 24;
constexpr int kRedShift = 16;
constexpr int kGreenShift = 8;
constexpr int kColourMask = 0xff;
constexpr const char* kTitle = "Lumora";
constexpr mode_t kFileMode = 0644;

} // namespace

PdfPageDevice::PdfPageDevice(std::string target, const Paper& paper, FileReporter& reporter)
    : target_(std::move(target)), paper_(paper), reporter_(reporter) {}

PdfPageDevice::~PdfPageDevice() {
  AbortDocument();
}

bool PdfPageDevice::Healthy() const {
  return cr_ != nullptr && cairo_status(cr_) == CAIRO_STATUS_SUCCESS;
}

bool PdfPageDevice::BeginDocument() {
  AbortDocument();
  reporter_.Trace("Writing file '" + target_ + "'\n");
  std::string name = target_ + ".XXXXXX";
  const int fd = mkstemp(name.data());
  if (fd < 0) return false;
  fchmod(fd, kFileMode); // a plot is an ordinary file, not a private temporary one
  close(fd);
  temporary_ = name;
  surface_ = cairo_pdf_surface_create(temporary_.c_str(), paper_.width * kPointsPerMillimetre,
                                      paper_.height * kPointsPerMillimetre);
  cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_TITLE, kTitle);
  cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_CREATOR, kTitle);
  cr_ = cairo_create(surface_);
  if (!Healthy()) {
    AbortDocument();
    return false;
  }
  cairo_translate(cr_, paper_.left * kPointsPerMillimetre, paper_.top * kPointsPerMillimetre);
  cairo_scale(cr_, kPointsPerPixel, kPointsPerPixel);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
  return true;
}

bool PdfPageDevice::BeginPage() {
  return Healthy();
}

PdfPageDevice::PenPath& PdfPageDevice::Pen() {
  if (!penChosen_) SetPen(0, InkColour{});
  return pens_[pen_];
}

bool PdfPageDevice::StrokePen(const PenPath& pen) {
  cairo_set_line_width(cr_, pen.width > 0 ? double(pen.width) : kThinnestPixels);
  cairo_set_source_rgb(cr_, pen.colour.red / kColourSteps, pen.colour.green / kColourSteps,
                       pen.colour.blue / kColourSteps);
  long parts = 0;
  for (std::size_t k = 0; k < pen.parts.size();) {
    if (parts >= kMostPathParts) {
      // A very long path is stroked in parts to bound cairo's memory; the line goes on from
      // where it stood.
      double x = 0.0;
      double y = 0.0;
      const bool going = cairo_has_current_point(cr_);
      if (going) cairo_get_current_point(cr_, &x, &y);
      cairo_stroke(cr_);
      if (going) cairo_move_to(cr_, x, y);
      parts = 0;
    }
    const std::int32_t kind = pen.parts[k];
    if (kind == kPartArc) {
      const ArcPart& arc = pen.arcs[std::size_t(pen.parts[k + 1])];
      cairo_new_sub_path(cr_);
      cairo_arc_negative(cr_, arc.cx, arc.cy, arc.radius, arc.start, arc.end);
      k += 2;
    } else {
      if (kind == kPartMove)
        cairo_move_to(cr_, pen.parts[k + 1], pen.parts[k + 2]);
      else
        cairo_line_to(cr_, pen.parts[k + 1], pen.parts[k + 2]);
      k += 3;
    }
    ++parts;
  }
  if (parts > 0) cairo_stroke(cr_);
  return Healthy();
}

bool PdfPageDevice::Flush() {
  if (!Healthy()) return false;
  for (PenPath& pen : pens_) {
    if (!pen.parts.empty() && !StrokePen(pen)) return false;
    pen.parts = {};
    pen.arcs = {};
  }
  buffered_ = 0;
  needMove_ = true;
  return Healthy();
}

bool PdfPageDevice::EndPage() {
  if (!Flush()) return false;
  cairo_show_page(cr_);
  return Healthy();
}

void PdfPageDevice::Close() {
  if (cr_ != nullptr) cairo_destroy(cr_);
  cr_ = nullptr;
  if (surface_ != nullptr) {
    cairo_surface_finish(surface_);
    cairo_surface_destroy(surface_);
  }
  surface_ = nullptr;
  pens_.clear();
  penIndex_.clear();
  penChosen_ = false;
  buffered_ = 0;
}

bool PdfPageDevice::EndDocument() {
  if (!Flush()) return false;
  cairo_surface_finish(surface_);
  const bool written = cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS;
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
  if (!Healthy()) return false;
  PenPath& pen = Pen();
  pen.parts.insert(pen.parts.end(), {kPartMove, x, y});
  lastX_ = x;
  lastY_ = y;
  needMove_ = false;
  return Keep(3);
}

bool PdfPageDevice::LineTo(int x, int y) {
  if (!Healthy()) return false;
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
  if (!Healthy()) return false;
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
