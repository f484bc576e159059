// The plot page as a PDF file: the whole sheet with the printable area placed at its margins.
// The page is written here directly: its content is nothing but stroked paths in a few pens,
// so whole device pixels go out as integers through one transformation matrix and the stream
// is compressed as it is written, which keeps a plot of a million elements to seconds. The file
// is written beside its target under a temporary name and renamed into place only when the
// document is complete, so a failed plot never replaces an older one.
#pragma once

#include "files/file_reporter.h"
#include "plot/page_device.h"
#include "plot/paper.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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
  // What one pen draws on the page, kept until the page ends: then each pen's path is stroked
  // at once. A page of many elements in turn-taking pens costs one stroke per pen, not one per
  // element, and the PDF's drawing order is by pen, as a pen plotter's.
  struct ArcPart {
    int cx = 0;
    int cy = 0;
    double radius = 0.0;
    double start = 0.0;
    double end = 0.0;
  };
  struct PenPath {
    int width = 0;
    InkColour colour;
    std::vector<std::int32_t> parts; // kMove x y, kLine x y, kArc index
    std::vector<ArcPart> arcs;
  };
  class Compressor;

  PenPath& Pen();
  bool Flush();
  bool Keep(std::size_t numbers);
  void StrokePen(const PenPath& pen);
  void ArcPath(const ArcPart& arc);
  bool Healthy() const { return file_ != nullptr && !failed_; }
  void Close();

  // The file: raw bytes, and numbered objects whose places the cross-reference lists.
  void Put(std::string_view bytes);
  void BeginObject(int number);
  int NewObject();
  // The page's content, compressed into the file as it grows.
  void Content(std::string_view bytes);
  void Number(long value);
  void Number(double value, int decimals);
  bool DrainContent(bool finish);

  std::string target_;
  std::string temporary_;
  Paper paper_;
  FileReporter& reporter_;
  std::FILE* file_ = nullptr;
  bool failed_ = false;
  std::uint64_t written_ = 0;
  std::vector<std::uint64_t> objects_; // the byte where each object begins, by number - 1
  std::vector<int> pages_;
  std::unique_ptr<Compressor> compressor_;
  std::string content_;           // content not yet compressed
  std::uint64_t streamStart_ = 0; // where the page's compressed content begins
  int contentObject_ = 0;
  bool inPage_ = false;

  std::vector<PenPath> pens_;
  std::unordered_map<std::uint64_t, std::size_t> penIndex_;
  std::size_t pen_ = 0;
  bool penChosen_ = false;
  bool needMove_ = true;     // the next line starts at the last point, not at the pen's path end
  std::size_t buffered_ = 0; // numbers held in all pens' paths
  int lastX_ = 0;
  int lastY_ = 0;
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
