#include "platform/cups_printer.h"

#include <cmath>
#include <cups/cups.h>
#include <new>

namespace lumora {
namespace {

constexpr double kHundredths = 100.0; // CUPS measures media in hundredths of a millimetre
constexpr const char* kJobTitle = "Lumora";

} // namespace

bool DefaultPrinter(std::string& destination, Paper& paper) {
  cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr);
  if (dest == nullptr) return false;
  destination = dest->name != nullptr ? dest->name : "";
  cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest);
  cups_size_t size{};
  const bool known = info != nullptr &&
                     cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest, info, 0, &size) != 0 &&
                     size.width > size.left + size.right && size.length > size.top + size.bottom;
  if (known) {
    paper.width = size.width / kHundredths;
    paper.height = size.length / kHundredths;
    paper.left = size.left / kHundredths;
    paper.top = size.top / kHundredths;
    paper.printableWidth = int(std::floor((size.width - size.left - size.right) / kHundredths));
    paper.printableHeight = int(std::floor((size.length - size.top - size.bottom) / kHundredths));
  }
  if (info != nullptr) cupsFreeDestInfo(info);
  cupsFreeDests(1, dest);
  return !destination.empty();
}

bool PrintingPageDevice::EndDocument() {
  if (!PdfPageDevice::EndDocument()) return false;
  cups_option_t* options = nullptr;
  int count = cupsAddOption("print-scaling", "none", 0, &options);
  count = cupsAddOption("fit-to-page", "false", count, &options);
  const int job = cupsPrintFile(destination_.c_str(), Target().c_str(), kJobTitle, count, options);
  cupsFreeOptions(count, options);
  return job > 0;
}

std::unique_ptr<PageDevice> PrinterPageOutput::Open(const std::string& path,
                                                    FileReporter& reporter) {
  return std::unique_ptr<PageDevice>(
      new (std::nothrow) PrintingPageDevice(path, PagePaper(), reporter, destination_));
}

} // namespace lumora
