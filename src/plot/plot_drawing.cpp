#include "plot/plotter.h"
#include "text/font.h"
#include "text/text_drawing.h"

#include <cstdint>
#include <new>

namespace lumora {
namespace {

constexpr TextPair kPlotting{"Plotting: ^ WAIT A MOMENT ! "_l1, "Tulostus: ^ ODOTA HETKINEN ! "_l1};

struct Zones {
  std::uint16_t x = 0;
  std::uint16_t y = 0;
};

template <class Element> bool Plotted(const Drawing& d, const Element& e, const Zones& view) {
  return ZonesOverlap(std::uint16_t(e.zoneX()), std::uint16_t(e.zoneY()), view.x, view.y) != 0 &&
         e.hidden() == 0 && d.layerVisible[e.layer()] != 0;
}

int PlotLine(Plotter& pen, const LineElement& line) {
  const int count = line.points != nullptr ? int(line.ps0()) : 0;
  if (count == 0) return 1;
  if (pen.SelectPlotPen(int(line.width()), int(line.colour())) == 0 ||
      pen.SetPlotStyle(int(line.style()), int(line.section())) == 0)
    return 0;
  const Point* p = line.points;
  if (line.shape() == kShapeArc && count >= 3) return pen.PlotArc(p[0], p[1], p[2]);
  if (line.shape() == kShapeCircle && count >= 2) return pen.PlotArc(p[0], p[1], p[1]);
  if (pen.PlotMoveTo(p[0]) == 0) return 0;
  for (int k = 1; k < count; ++k) {
    if (pen.PlotLineTo(p[k]) == 0) return 0;
  }
  if (line.shape() == kShapeClosed) return pen.PlotLineTo(p[0]);
  return 1;
}

// The cached hatch, as the screen shows it.
int PlotFilling(Plotter& pen, const FillingElement& filling) {
  const HatchCache* hatch = filling.hatch;
  if (hatch == nullptr || hatch->points == nullptr || hatch->count < 2) return 1;
  if (pen.SelectPlotPen(int(filling.width()), int(filling.colour())) == 0 ||
      pen.SetPlotStyle(int(filling.style()), int(filling.ldista())) == 0)
    return 0;
  for (std::uint32_t k = 0; k + 1 < hatch->count; k += 2) {
    if (pen.PlotMoveTo(hatch->points[k]) == 0 || pen.PlotLineTo(hatch->points[k + 1]) == 0)
      return 0;
  }
  return 1;
}

bool PlotElements(PlotJob& job, Plotter& pen) {
  const Drawing& d = job.drawing;
  const Box& limits = d.limits;
  const Zones view{ZoneMask(job.viewBox.xmin, job.viewBox.xmax, limits.xmin, limits.xmax),
                   ZoneMask(job.viewBox.ymin, job.viewBox.ymax, limits.ymin, limits.ymax)};
  for (const LineElement* l : Each(d.lines)) {
    if (Plotted(d, *l, view) && PlotLine(pen, *l) == 0) return false;
  }
  for (FillingElement* f : Each(job.drawing.fillings)) {
    if (!Plotted(d, *f, view)) continue;
    if (f->hatch == nullptr && job.hatches != nullptr) job.hatches->MakeHatch(*f);
    if (PlotFilling(pen, *f) == 0) return false;
  }
  TextScene scene{job.fonts, d.paperUnit, job.measure};
  for (const TextElement* t : Each(d.texts)) {
    if (!Plotted(d, *t, view)) continue;
    if (PlotText(scene, pen, *t) == 0) return false;
    if (t->mitta() != 0 && PlotMeasure(scene, pen, *t) == 0) return false;
  }
  return true;
}

void Fail(PlotJob& job) {
  job.device.AbortDocument();
  job.messages.Show(MessageKind::kError, kPlotFailed.In(job.language));
}

} // namespace

bool StartPlot(PlotJob& job) {
  if (!job.device.BeginDocument()) {
    job.messages.Show(MessageKind::kError, kStartDocFailed.In(job.language));
    return false;
  }
  if (!job.device.BeginPage()) {
    Fail(job);
    return false;
  }
  return true;
}

bool EndPlot(PlotJob& job) {
  return job.device.EndPage() && job.device.EndDocument();
}

int PlotDrawing(PlotJob& job) {
  const PlotMapping mapping =
      MappingFor(job.drawing, job.viewBox, job.device.HorzRes(), job.device.VertRes());
  try {
    if (!StartPlot(job)) return 0;
    job.messages.Show(MessageKind::kMessage, kPlotting.In(job.language));
    Plotter pen(job.device, mapping);
    if (!PlotElements(job, pen) || !EndPlot(job)) {
      Fail(job);
      return 0;
    }
  } catch (const std::bad_alloc&) {
    job.device.AbortDocument();
    throw;
  }
  return 1;
}

} // namespace lumora
