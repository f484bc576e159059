// The page the plotter draws on: a printable area in whole millimetres at a fixed resolution of
// 100 device pixels per millimetre, so a drawing at scale comes out exact. Device pixels count
// from the top left corner of the printable area, y down. The PDF page and the printer are the
// platform's; the core and its tests see only this.
#pragma once

#include <memory>
#include <string>

namespace lumora {

class FileReporter;

inline constexpr int kDevicePixelsPerMillimetre = 100;

struct InkColour {
  int red = 0;
  int green = 0;
  int blue = 0;
  friend constexpr bool operator==(const InkColour&, const InkColour&) = default;
};

class PageDevice {
public:
  virtual ~PageDevice() = default;

  // The printable area in whole millimetres.
  virtual int PaperWidth() const = 0;
  virtual int PaperHeight() const = 0;
  int HorzRes() const { return kDevicePixelsPerMillimetre * PaperWidth(); }
  int VertRes() const { return kDevicePixelsPerMillimetre * PaperHeight(); }

  // One document holds pages; a document that is not ended is aborted and leaves nothing
  // behind. Each answers false when the device refuses.
  virtual bool BeginDocument() = 0;
  virtual bool BeginPage() = 0;
  virtual bool EndPage() = 0;
  virtual bool EndDocument() = 0;
  virtual void AbortDocument() = 0;

  // A solid round pen; width 0 is the thinnest line the device draws.
  virtual bool SetPen(int widthPixels, const InkColour& colour) = 0;
  virtual bool MoveTo(int x, int y) = 0;
  // A zero-length line still marks a dot.
  virtual bool LineTo(int x, int y) = 0;
  // An arc about (cx, cy) from angle start to angle end, both measured in device pixels' own
  // sense (from +x towards +y, which points down the page), running counter-clockwise as the
  // page is looked at: the angle decreases from start to end.
  virtual bool Arc(int cx, int cy, double radius, double start, double end) = 0;
};

// Where Print sends its page: the window writes the PDF and gives it to the default printer,
// the headless tools write the PDF alone.
class PageOutput {
public:
  virtual ~PageOutput() = default;
  // A device writing the page to path, telling its trace to reporter; none when it cannot be
  // made.
  virtual std::unique_ptr<PageDevice> Open(const std::string& path, FileReporter& reporter) = 0;
  // The printable area of its pages, whole millimetres.
  virtual int PaperWidth() const = 0;
  virtual int PaperHeight() const = 0;
};

} // namespace lumora
