// The default printer through CUPS. Its default media and margins give the plot's paper, and
// a finished plot page goes to it as it is, never fitted to the page and never through a
// shell. Whoever builds the page device decides whether the printer is used at all: the
// headless tools and the tests never use it.
#pragma once

#include "platform/pdf_page_device.h"
#include "plot/paper.h"

#include <string>
#include <utility>

namespace lumora {

// The default destination's name and paper; false when there is no default destination.
bool DefaultPrinter(std::string& destination, Paper& paper);

// The PDF page, and when its document is complete, a print job of it on the destination.
// A refused job fails the document; the PDF stays.
class PrintingPageDevice final : public PdfPageDevice {
public:
  PrintingPageDevice(std::string target, const Paper& paper, FileReporter& reporter,
                     std::string destination)
      : PdfPageDevice(std::move(target), paper, reporter), destination_(std::move(destination)) {}

  bool EndDocument() override;

private:
  std::string destination_;
};

// PDF pages of the default printer's paper, each printed when it is complete.
class PrinterPageOutput final : public PdfPageOutput {
public:
  PrinterPageOutput(const Paper& paper, std::string destination)
      : PdfPageOutput(paper), destination_(std::move(destination)) {}

  std::unique_ptr<PageDevice> Open(const std::string& path, FileReporter& reporter) override;

private:
  std::string destination_;
};

} // namespace lumora
