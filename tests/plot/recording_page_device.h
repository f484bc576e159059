// A page device that keeps every call, for the plotter's tests.
#pragma once

#include "plot/page_device.h"

#include <string>
#include <vector>

namespace lumora {

struct DeviceCall {
  char kind = ' '; // 'P' pen, 'M' move, 'L' line, 'A' arc
  int x = 0;       // pen: width; move, line, arc: the point or centre
  int y = 0;
  double radius = 0;
  double start = 0;
  double end = 0;
  InkColour colour;
};

class RecordingPageDevice final : public PageDevice {
public:
  RecordingPageDevice(int width = 200, int height = 287) : width_(width), height_(height) {}

  int PaperWidth() const override { return width_; }
  int PaperHeight() const override { return height_; }
  bool BeginDocument() override { return Log("begin", !refuseDocument); }
  bool BeginPage() override { return Log("page", true); }
  bool EndPage() override { return Log("end page", true); }
  bool EndDocument() override { return Log("end", true); }
  void AbortDocument() override { Log("abort", true); }
  bool SetPen(int widthPixels, const InkColour& colour) override {
    return Call({'P', widthPixels, 0, 0, 0, 0, colour});
  }
  bool MoveTo(int x, int y) override { return Call({'M', x, y, 0, 0, 0, {}}); }
  bool LineTo(int x, int y) override { return Call({'L', x, y, 0, 0, 0, {}}); }
  bool Arc(int cx, int cy, double radius, double start, double end) override {
    return Call({'A', cx, cy, radius, start, end, {}});
  }

  std::vector<std::string> events; // document and page calls
  std::vector<DeviceCall> calls;   // drawing calls
  bool refuseDocument = false;
  int failAfter = -1; // the drawing call of this index fails

private:
  bool Log(const char* what, bool result) {
    events.emplace_back(what);
    return result;
  }
  bool Call(const DeviceCall& call) {
    calls.push_back(call);
    return failAfter < 0 || int(calls.size()) <= failAfter;
  }
  int width_;
  int height_;
};

} // namespace lumora
