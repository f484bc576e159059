// Pens that keep what was drawn, for the text and measure tests.
#pragma once

#include "text/text_pens.h"

#include <cmath>
#include <vector>

namespace lumora {

struct PenCall {
  char op; // 'M' move, 'L' line, 'A' arc, 'P' pen set, 'E' end of path
  Point p{0, 0};
  Point q{0, 0}; // arc start
  Point r{0, 0}; // arc end
};

class RecordingPen : public ScreenPen {
public:
  void SetPen(int colourValue, int style, int section, double width) override {
    calls.push_back({'P', {double(colourValue), double(style)}, {double(section), width}, {}});
  }
  void MoveTo(const Point& p) override { calls.push_back({'M', p, {}, {}}); }
  void LineTo(const Point& p) override { calls.push_back({'L', p, {}, {}}); }
  void DrawArc(const Point& c, const Point& s, const Point& e) override {
    calls.push_back({'A', c, s, e});
  }
  void EndPath() override { calls.push_back({'E', {}, {}, {}}); }

  // The drawn segments, each from the point before a line to the line's point.
  std::vector<std::pair<Point, Point>> Segments() const {
    std::vector<std::pair<Point, Point>> out;
    Point at{0, 0};
    for (const auto& c : calls) {
      if (c.op == 'L') out.push_back({at, c.p});
      if (c.op == 'M' || c.op == 'L') at = c.p;
    }
    return out;
  }
  std::vector<PenCall> Only(char op) const {
    std::vector<PenCall> out;
    for (const auto& c : calls)
      if (c.op == op) out.push_back(c);
    return out;
  }

  std::vector<PenCall> calls;
};

// A plotter that fails at its failAt-th move or line (counting from 1; 0 never fails).
class RecordingPlotter : public PlotterPen {
public:
  int SelectPlotPen(int, int) override { return 1; }
  int SetPlotStyle(int, int) override { return 1; }
  int PlotMoveTo(const Point&) override { return Step(); }
  int PlotLineTo(const Point&) override { return Step(); }
  int PlotArc(const Point&, const Point&, const Point&) override { return Step(); }

  int failAt = 0;
  int steps = 0;

private:
  int Step() { return ++steps == failAt ? 0 : 1; }
};

inline bool Near(const Point& a, const Point& b, double tol = 1e-9) {
  return std::fabs(a.x - b.x) <= tol && std::fabs(a.y - b.y) <= tol;
}

} // namespace lumora
