// The screen pen in drawing units: maps every point through the view onto the canvas, turns
// paper widths into pixels, and approximates arcs and circles to the paper accuracy.
#pragma once

#include "text/text_pens.h"
#include "view/canvas.h"
#include "view/view.h"

namespace lumora {

// Angular step in radians for an arc of the given radius, so that no chord strays further than
// `accuracy` millimetres on paper from the arc; never below one degree.
double ArcStep(double paperUnit, double accuracy, double radius);

class CanvasPen final : public ScreenPen {
public:
  // mode: the drawing mode of the element being drawn. In any mode but inversion a colour
  // value of 0 can only come from an element of colour 0, which is then drawn as colour 1:
  // taken as the inverting pen it would vanish when highlighted and reappear when erased.
  CanvasPen(Canvas& canvas, const View& view, double paperUnit, double arcAccuracy,
            int mode = kModeInvert)
      : canvas_(canvas), view_(view), paperUnit_(paperUnit), arcAccuracy_(arcAccuracy),
        mode_(mode) {}

  // colourValue is the colour times the drawing mode; width in millimetres on paper, or below
  // 0.001 a pixel count (-p gives p pixels). The section only matters on paper.
  void SetPen(int colourValue, int style, int section, double width) override;
  void MoveTo(const Point& p) override;
  void LineTo(const Point& p) override;
  // Counter-clockwise from the direction of start to that of end; a full circle when start and
  // end coincide.
  void DrawArc(const Point& centre, const Point& start, const Point& end) override;
  void EndPath() override;

  void DrawCircle(const Point& centre, const Point& onCircle);

private:
  void ArcVertices(const Point& centre, double radius, double a0, double a1, double step);

  Canvas& canvas_;
  const View& view_;
  double paperUnit_;
  double arcAccuracy_;
  int mode_;
  bool inverting_ = false;
};

} // namespace lumora
