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
  penWidth_ = -1;
  pathParts_ = 0;
  return true;
}

bool PdfPageDevice::BeginPage() {
  return Healthy();
}

bool PdfPageDevice::Stroke() {
  if (!Healthy()) return false;
  if (pathParts_ > 0) cairo_stroke(cr_);
  pathParts_ = 0;
  return Healthy();
}

bool PdfPageDevice::EndPage() {
  if (!Stroke()) return false;
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
}

bool PdfPageDevice::EndDocument() {
  if (!Stroke()) return false;
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
  if (widthPixels == penWidth_ && colour == penColour_) return Healthy();
  if (!Stroke()) return false;
  penWidth_ = widthPixels;
  penColour_ = colour;
  cairo_set_line_width(cr_, widthPixels > 0 ? double(widthPixels) : kThinnestPixels);
  cairo_set_source_rgb(cr_, colour.red / kColourSteps, colour.green / kColourSteps,
                       colour.blue / kColourSteps);
  return true;
}

bool PdfPageDevice::MoveTo(int x, int y) {
  if (!Healthy()) return false;
  if (pathParts_ >= kMostPathParts && !Stroke()) return false;
  cairo_move_to(cr_, x, y);
  lastX_ = x;
  lastY_ = y;
  ++pathParts_;
  return true;
}

bool PdfPageDevice::LineTo(int x, int y) {
  if (!Healthy()) return false;
  if (pathParts_ >= kMostPathParts && !Stroke()) return false;
  if (!cairo_has_current_point(cr_)) cairo_move_to(cr_, lastX_, lastY_);
  cairo_line_to(cr_, x, y);
  lastX_ = x;
  lastY_ = y;
  ++pathParts_;
  return true;
}

bool PdfPageDevice::Arc(int cx, int cy, double radius, double start, double end) {
  if (!Healthy()) return false;
  if (pathParts_ >= kMostPathParts && !Stroke()) return false;
  cairo_new_sub_path(cr_);
  cairo_arc_negative(cr_, cx, cy, radius, start, end);
  ++pathParts_;
  return true;
}

std::unique_ptr<PageDevice> PdfPageOutput::Open(const std::string& path, FileReporter& reporter) {
  return std::unique_ptr<PageDevice>(new (std::nothrow) PdfPageDevice(path, paper_, reporter));
}

} // namespace lumora
