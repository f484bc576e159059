// The screen pen in drawing units: maps every point through the view onto the canvas, turns
// paper widths into pixels, and approximates arcs and circles to the paper accuracy.
#pragma once

#include "model/draw_mode.h"
#include "text/text_pens.h"
#include "view/canvas.h"
#include "view/quick_trig.h"
#include "view/view.h"

#include <array>
#include <cstddef>

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
            DrawMode mode = DrawMode::kInvert)
      : canvas_(canvas), view_(view), paperUnit_(paperUnit), arcAccuracy_(arcAccuracy),
        mode_(mode) {}
  CanvasPen(const CanvasPen&) = delete;
  CanvasPen& operator=(const CanvasPen&) = delete;
  ~CanvasPen() override { FlushStrip(); }

  // colourValue is the colour times the drawing mode; width in millimetres on paper, or below
  // 0.001 a pixel count (-p gives p pixels). The section only matters on paper.
  void SetPen(int colourValue, int style, int section, double width) override;
  void MoveTo(const Point& p) override;
  void LineTo(const Point& p) override;
  // Counter-clockwise from the direction of start to that of end; a full circle when start and
  // end coincide.
  void DrawArc(const Point& centre, const Point& start, const Point& end) override;
  void EndPath() override;
  bool StandInFor(const Box& box, bool draws) override;

  void DrawCircle(const Point& centre, const Point& onCircle);

  // Whole figures, each followed by EndPath and nothing else: the strip through the points
  // (back to the first when closed), the arc, the circle. A figure that cannot reach the clip is
  // left out and one that lies within a single pixel is drawn as that pixel; the canvas shows
  // the same pixels as when every vertex is drawn.
  void PolylineFigure(const Point* points, int count, bool closed);
  void ArcFigure(const Point& centre, const Point& start, const Point& end);
  void CircleFigure(const Point& centre, const Point& onCircle);

private:
  struct Sweep {
    double radius = 0.0;
    double a0 = 0.0; // start angle
    double a1 = 0.0; // end angle, not below a0 by more than rounding
    double step = 0.0;
  };
  Sweep SweepOf(const Point& centre, const Point& start, const Point& end) const;

  enum class Reach { kNothing, kOnePixel, kMore };
  // What a figure can touch whose every vertex lies in the canvas box of the two corners.
  Reach ReachOf(const Point& a, const Point& b) const;
  Reach CircleReach(const Point& centre, double radius) const;
  // Whether every pixel of the circle's vertices lies inside the clip.
  bool CircleInside(const Point& centre, double radius) const;
  // Whether every pixel between the two canvas corners lies inside the clip.
  bool CanvasInside(const Point& a, const Point& b) const;
  // The figure of one or more zero-length segments at the point.
  void Dot(const Point& canvasPoint);

  void ArcVertices(const Point& centre, double radius, double a0, double a1, double step,
                   bool onEnd);
  // Placing a vertex from an approximate cosine and sine: the centre and the radius on the
  // canvas, and how far such a vertex may lie from the library's, per unit of their error and
  // from rounding, on each axis.
  struct VertexSlack {
    double originX = 0.0;
    double originY = 0.0;
    double radiusX = 0.0;
    double radiusY = 0.0;
    double perErrorX = 0.0;
    double perErrorY = 0.0;
    double roundingX = 0.0;
    double roundingY = 0.0;
    // The canvas point of the vertex with this cosine and sine.
    Point Place(const CosSin& q) const {
      return {originX + radiusX * q.cos, originY + radiusY * q.sin};
    }
  };
  VertexSlack VertexSlackOf(const Point& centre, double radius) const;

  // The points LineTo has placed since the last other call reach the canvas as one strip; every
  // other use of the canvas hands them over first. After StandInFor has found the strokes to
  // come inside the clip, their pixels go with them.
  void FlushStrip();

  static constexpr std::size_t kPendingPoints = 64;
  std::array<CanvasPoint, kPendingPoints> pending_;
  std::array<CanvasPixel, kPendingPoints> pendingPixels_;
  std::size_t pendingCount_ = 0;
  bool pendingInside_ = false;
  Canvas& canvas_;
  const View& view_;
  double paperUnit_;
  double arcAccuracy_;
  DrawMode mode_;
  bool inverting_ = false;
  double widthPixels_ = 1.0;
};

} // namespace lumora
