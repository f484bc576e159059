// The pens texts and measures are drawn with, in drawing units. The screen renderer implements
// ScreenPen over its Canvas and view transform; the plotter implements PlotterPen.
#pragma once

#include "geometry/point.h"
#include "geometry/primitives.h"

namespace lumora {

class ScreenPen {
public:
  virtual ~ScreenPen() = default;
  // colourValue is the colour times the drawing mode; width in millimetres on paper.
  virtual void SetPen(int colourValue, int style, int section, double width) = 0;
  virtual void MoveTo(const Point& p) = 0;
  virtual void LineTo(const Point& p) = 0;
  // Counter-clockwise from the direction of start to that of end, radius from start.
  virtual void DrawArc(const Point& centre, const Point& start, const Point& end) = 0;
  virtual void EndPath() = 0;
  // Draws what strokes lying within the box would draw, where that needs no strokes: nothing
  // when they cannot reach the surface, their one pixel when they all fall in it (and `draws`,
  // some stroke draws a line). True when done, and the strokes are then left out.
  virtual bool StandInFor(const Box& /*box*/, bool /*draws*/) { return false; }
};

// Every primitive answers 0 when it failed; drawing stops there.
class PlotterPen {
public:
  virtual ~PlotterPen() = default;
  virtual int SelectPlotPen(int widthTenths, int colour) = 0;
  virtual int SetPlotStyle(int style, int section) = 0;
  virtual int PlotMoveTo(const Point& p) = 0;
  virtual int PlotLineTo(const Point& p) = 0;
  virtual int PlotArc(const Point& centre, const Point& start, const Point& end) = 0;
};

// What string and measure drawing need from either pen.
class StrokeSink {
public:
  virtual ~StrokeSink() = default;
  virtual bool Move(const Point& p) = 0;
  virtual bool Line(const Point& p) = 0;
  virtual bool Arc(const Point& centre, const Point& start, const Point& end) = 0;
};

class ScreenStrokes : public StrokeSink {
public:
  explicit ScreenStrokes(ScreenPen& pen) : pen_(pen) {}
  bool Move(const Point& p) override {
    pen_.MoveTo(p);
    return true;
  }
  bool Line(const Point& p) override {
    pen_.LineTo(p);
    return true;
  }
  bool Arc(const Point& c, const Point& s, const Point& e) override {
    pen_.DrawArc(c, s, e);
    return true;
  }

private:
  ScreenPen& pen_;
};

class PlotterStrokes : public StrokeSink {
public:
  explicit PlotterStrokes(PlotterPen& pen) : pen_(pen) {}
  bool Move(const Point& p) override { return pen_.PlotMoveTo(p) != 0; }
  bool Line(const Point& p) override { return pen_.PlotLineTo(p) != 0; }
  bool Arc(const Point& c, const Point& s, const Point& e) override {
    return pen_.PlotArc(c, s, e) != 0;
  }

private:
  PlotterPen& pen_;
};

} // namespace lumora
