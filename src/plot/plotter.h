// The plotter: the set-up that decides the drawing's paper unit, the mapping of drawing units
// to device pixels for one plot (whole sheet, or a zoomed view enlarged to the sheet's size,
// turned a quarter when wider than high), and the pen that draws elements on the page with
// widths, colours and dash patterns measured on paper.
#pragma once

#include "geometry/primitives.h"
#include "model/drawing.h"
#include "plot/page_device.h"
#include "text/message_sink.h"
#include "text/text_drawing.h"
#include "text/text_pens.h"
#include "util/text_pair.h"
#include "view/render.h"

namespace lumora {

// What the set-up keeps between plots.
struct PlotterState {
  int paperWidth = 200; // the printable area of the page device, whole millimetres
  int paperHeight = 287;
  bool sizeShown = false; // the paper size is told once
};

// Takes the device's paper, tells its size the first time, and infers `paperUnit` from it
// unless the user chose the units. Runs at start-up, after a whole drawing is read and after a
// change of scale or plotting area.
void PlotterSetUp(PlotterState& state, Drawing& drawing, int paperWidth, int paperHeight,
                  MessageSink& messages);

// The mapping of one plot.
struct PlotMapping {
  double unit = 1.0;        // drawing units per paper millimetre
  double enlargement = 1.0; // z: a zoomed view is plotted at the size the whole sheet takes
  double pixelsPerMillimetre = kDevicePixelsPerMillimetre;
  double kx = 1.0; // device pixels per drawing unit
  double ky = 1.0;
  Point origin{0.0, 0.0}; // lower left corner of the plotted region
  bool rotated = false;   // the region is wider than high: its x runs up the page
  int horzRes = 0;
  int vertRes = 0;
};

struct DevicePoint {
  int x = 0;
  int y = 0;
  friend constexpr bool operator==(const DevicePoint&, const DevicePoint&) = default;
};

// The mapping for the drawing on a device of the given printable area, with the view box the
// window shows. The unit is the one the set-up chose, so texts plot as they were laid out.
PlotMapping MappingFor(const Drawing& drawing, const Box& viewBox, int horzRes, int vertRes);

// Device pixels of a drawing point. Upright pages: the drawing's y runs up the page; turned
// pages run the drawing's x up the page and its y to the left.
DevicePoint ToDevice(const PlotMapping& m, const Point& p);

// The pen colour of a colour number.
InkColour PlotColour(int colour);

// The pen over a page device. Dashes restart at every vertex; styles other than 1 to 4 are
// not plotted.
class Plotter final : public PlotterPen {
public:
  Plotter(PageDevice& device, const PlotMapping& mapping);

  int SelectPlotPen(int widthTenths, int colour) override;
  int SetPlotStyle(int style, int section) override;
  int PlotMoveTo(const Point& p) override;
  int PlotLineTo(const Point& p) override;
  int PlotArc(const Point& centre, const Point& start, const Point& end) override;

  double Section() const { return section_; } // the dash period, drawing units
  double Dot() const { return dot_; }         // the dot length, drawing units

private:
  bool Piece(const Point& p, const Point& d, double t0, double t1);
  bool ArcPiece(const Point& centre, double radius, double a0, double a1);
  bool DevicePeriodTooShort(double period) const;

  PageDevice& device_;
  PlotMapping m_;
  Box reach_; // drawing units that can reach the page; nothing beyond is sent to the device
  int style_ = 1;
  double section_ = 0.0;
  double dot_ = 0.0;
  Point current_{0.0, 0.0};
  DevicePoint at_{};
  bool atKnown_ = false;
};

// Everything one plot of the drawing needs.
struct PlotJob {
  Drawing& drawing;
  const Box& viewBox;
  Fonts& fonts;
  const MeasureStyle& measure;
  PageDevice& device;
  MessageSink& messages;
  Language language;
  // Makes the hatch of a filling never shown yet, as the screen would; none leaves it out.
  HatchSource* hatches;
};

inline constexpr TextPair kStartDocFailed{"StartDoc doesnt work !"_l1, "StartDoc ei toimi !"_l1};
inline constexpr TextPair kPlotFailed{"Plotting not succeeded !"_l1, "Tulostus ei onnistunut !"_l1};

// Opens the document and page; "StartDoc doesnt work !" and false when the device refuses.
bool StartPlot(PlotJob& job);
// Ends page and document; false when the device could not finish them.
bool EndPlot(PlotJob& job);

// Plots every shown line, filling and text in the view on one page. 1 = done; 0 = failed,
// told, and the document abandoned, so no half page is left behind. Memory that runs out
// abandons the document too and is passed on (std::bad_alloc) for the caller to tell.
int PlotDrawing(PlotJob& job);

} // namespace lumora
