// The plot page as a PDF file (cairo): the whole sheet with the printable area placed at its
// margins. The file is written beside its target under a temporary name and renamed into place
// only when the document is complete, so a failed plot never replaces an older one.
#pragma once

#include "files/file_reporter.h"
#include "plot/page_device.h"
#include "plot/paper.h"

#include <string>

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace lumora {

class PdfPageDevice : public PageDevice {
public:
  PdfPageDevice(std::string target, const Paper& paper, FileReporter& reporter);
  ~PdfPageDevice() override;
  PdfPageDevice(const PdfPageDevice&) = delete;
  PdfPageDevice& operator=(const PdfPageDevice&) = delete;

  int PaperWidth() const override { return paper_.printableWidth; }
  int PaperHeight() const override { return paper_.printableHeight; }
  bool BeginDocument() override;
  bool BeginPage() override;
  bool EndPage() override;
  bool EndDocument() override;
  void AbortDocument() override;
  bool SetPen(int widthPixels, const InkColour& colour) override;
  bool MoveTo(int x, int y) override;
  bool LineTo(int x, int y) override;
  bool Arc(int cx, int cy, double radius, double start, double end) override;

  const std::string& Target() const { return target_; }

private:
  bool Stroke();
  bool Healthy() const;
  void Close();

  std::string target_;
  std::string temporary_;
  Paper paper_;
  FileReporter& reporter_;
  cairo_surface_t* surface_ = nullptr;
  cairo_t* cr_ = nullptr;
  int penWidth_ = -1;
  InkColour penColour_;
  long pathParts_ = 0; // parts of the path not yet stroked
  double lastX_ = 0;
  double lastY_ = 0;
};

// PDF pages of one paper, and nothing printed.
class PdfPageOutput : public PageOutput {
public:
  explicit PdfPageOutput(const Paper& paper) : paper_(paper) {}

  std::unique_ptr<PageDevice> Open(const std::string& path, FileReporter& reporter) override;
  int PaperWidth() const override { return paper_.printableWidth; }
  int PaperHeight() const override { return paper_.printableHeight; }

protected:
  const Paper& PagePaper() const { return paper_; }

private:
  Paper paper_;
};

} // namespace lumora
