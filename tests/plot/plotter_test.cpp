// The plotter against a recording page device: the unit, both mappings, enlargement, pens,
// dash patterns in paper millimetres, arcs, and a plot that fails half way.
#include "files/headless_environment.h"
#include "model/element_store.h"
#include "plot/plot_file.h"
#include "plot/plotter.h"
#include "plot/recording_page_device.h"
#include "plot/scale_change.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

namespace lumora {
namespace {

struct KeptMessages : MessageSink {
  void Show(MessageKind kind, std::string_view text) override {
    shown.push_back((kind == MessageKind::kError ? "E:" : "M:") + std::string(text));
  }
  std::vector<std::string> shown;
};

void Sheet(Drawing& d, double scale, Box limits, double paperUnit) {
  d.scale = scale;
  d.limits = limits;
  d.paperUnit = paperUnit;
}

// The device calls of one line from a to b drawn with the given pen and style.
std::vector<DeviceCall> LineCalls(const Drawing& d, int width, int style, int section, Point a,
                                  Point b) {
  RecordingPageDevice device;
  Plotter pen(device, MappingFor(d, d.limits, device.HorzRes(), device.VertRes()));
  pen.SelectPlotPen(width, 1);
  pen.SetPlotStyle(style, section);
  pen.PlotMoveTo(a);
  pen.PlotLineTo(b);
  return {device.calls.begin() + 1, device.calls.end()};
}

TEST(Plotter, SetUpInfersTheUnitAndTellsThePaperOnce) {
  Drawing d;
  KeptMessages messages;
  PlotterState state;
  Sheet(d, 100, {0, 0, 20, 28.7}, 1);
  PlotterSetUp(state, d, 200, 287, messages);
  EXPECT_DOUBLE_EQ(d.paperUnit, 0.1); // metres
  d.unitsChosen = 1;
  PlotterSetUp(state, d, 200, 287, messages);
  EXPECT_DOUBLE_EQ(d.paperUnit, 100);
  EXPECT_EQ(messages.shown, std::vector<std::string>{"M:Size of plotting area is 200x287."});
}

TEST(Plotter, MappingsPutTheSheetUprightOrTurnedAQuarter) {
  Drawing d;
  Sheet(d, 1, {0, 0, 198, 281}, 1);
  PlotMapping m = MappingFor(d, d.limits, 20000, 28700);
  EXPECT_FALSE(m.rotated);
  EXPECT_EQ(ToDevice(m, {0, 0}), (DevicePoint{0, 28700}));       // lower left stays lower left
  EXPECT_EQ(ToDevice(m, {198, 281}), (DevicePoint{19800, 600})); // upper right, top of page
  Sheet(d, 1, {0, 0, 420, 297}, 1);
  m = MappingFor(d, d.limits, 20000, 28700);
  EXPECT_TRUE(m.rotated);
  EXPECT_EQ(ToDevice(m, {0, 0}), (DevicePoint{20000, 28700}));
  EXPECT_EQ(ToDevice(m, {100, 0}), (DevicePoint{20000, 18700})); // x runs up the page
  EXPECT_EQ(ToDevice(m, {0, 100}), (DevicePoint{10000, 28700})); // y runs to the left
  // The plot keeps the set-up's unit even where the sheet would suggest another.
  Sheet(d, 10, {0, 0, 1980, 2810}, 10);
  d.unitsChosen = 1;
  EXPECT_DOUBLE_EQ(MappingFor(d, d.limits, 20000, 28700).kx, 10.0);
}

TEST(Plotter, ZoomedViewIsEnlargedToTheSheetsSize) {
  Drawing d;
  Sheet(d, 1, {0, 0, 198, 281}, 1);
  const PlotMapping m = MappingFor(d, {50, 50, 149, 190.5}, 20000, 28700);
  EXPECT_DOUBLE_EQ(m.enlargement, 2.0);
  EXPECT_DOUBLE_EQ(m.kx, 200.0);
  EXPECT_EQ(ToDevice(m, {50, 50}), (DevicePoint{0, 28700}));
  EXPECT_FALSE(m.rotated);
  RecordingPageDevice device;
  Plotter pen(device, m);
  pen.SelectPlotPen(5, 5);
  EXPECT_EQ(device.calls[0].x, 100); // 0.5 mm at twice the size
  EXPECT_EQ(device.calls[0].colour, (InkColour{255, 0, 0}));
  pen.SelectPlotPen(3, 12);
  EXPECT_EQ(device.calls[1].colour, (InkColour{0, 0, 0}));
}

TEST(Plotter, PatternsAreMeasuredOnPaperAndRestartAtEveryVertex) {
  Drawing d;
  Sheet(d, 1, {0, 0, 198, 281}, 1);
  EXPECT_TRUE(LineCalls(d, 3, 7, 4, {10, 10}, {20, 10}).empty()); // style 7 is not plotted
  auto dashes = LineCalls(d, 3, 2, 4, {10, 10}, {20, 10});
  ASSERT_EQ(dashes.size(), 10u); // five dashes of 1 mm every 2 mm
  for (std::size_t k = 0; k < dashes.size(); k += 2) {
    EXPECT_EQ(dashes[k].kind, 'M');
    EXPECT_EQ(dashes[k].x, 1000 + int(k) * 100);
    EXPECT_EQ(dashes[k + 1].x - dashes[k].x, 100);
  }
  // A centimetre drawing: the 4 mm period is 0.4 units, not 4 units that would be solid here.
  Sheet(d, 1, {0, 0, 19.8, 28.1}, 0.1);
  EXPECT_EQ(LineCalls(d, 3, 2, 4, {1, 1}, {2, 1}).size(), 10u);
  // Dots are as long as the pen is wide, and a pen of width 0 still leaves a mark.
  Sheet(d, 1, {0, 0, 198, 281}, 1);
  dashes = LineCalls(d, 3, 3, 4, {10, 10}, {20, 10});
  ASSERT_EQ(dashes.size(), 20u);
  EXPECT_EQ(dashes[1].x - dashes[0].x, 30);
  dashes = LineCalls(d, 0, 3, 4, {10, 10}, {20, 10});
  ASSERT_EQ(dashes.size(), 20u);
  EXPECT_EQ(dashes[1].x, dashes[0].x);
  // Each segment starts its own pattern: the dash ending at the corner turns it.
  RecordingPageDevice device;
  Plotter pen(device, MappingFor(d, d.limits, 20000, 28700));
  pen.SetPlotStyle(2, 4);
  pen.PlotMoveTo({10, 10});
  pen.PlotLineTo({13, 10});
  pen.PlotLineTo({13, 20});
  ASSERT_EQ(device.calls.size(), 13u);
  EXPECT_EQ(device.calls[4].kind, 'L');
  EXPECT_EQ(device.calls[4].x, 1300);
  EXPECT_EQ(device.calls[4].y, 28700 - 1100);
}

TEST(Plotter, DegenerateAndFarAwayLinesStayBounded) {
  Drawing d;
  Sheet(d, 1, {0, 0, 198, 281}, 1);
  // No period: drawn solid rather than looping for ever.
  EXPECT_EQ(LineCalls(d, 3, 2, 0, {10, 10}, {20, 10}).size(), 2u);
  // A dashed line of light years crossing the page: only the page's dashes, within int range.
  const auto far = LineCalls(d, 3, 2, 1, {-1e15, 100}, {1e15, 100});
  EXPECT_GT(far.size(), 100u);
  EXPECT_LT(far.size(), 2000u);
  for (const DeviceCall& c : far) EXPECT_LT(std::abs(c.x), 100000);
  // Beyond the precision of a double the dashes blur, but the walk still ends.
  EXPECT_LT(LineCalls(d, 3, 2, 1, {-1e18, 100}, {1e18, 100}).size(), 2000u);
  EXPECT_TRUE(LineCalls(d, 3, 1, 1, {NAN, 0}, {1, 1}).empty());
}

TEST(Plotter, ArcsKeepTheirTurnThroughBothMappings) {
  Drawing d;
  for (const Box limits : {Box{0, 0, 198, 281}, Box{0, 0, 281, 198}}) {
    Sheet(d, 1, limits, 1);
    const PlotMapping m = MappingFor(d, d.limits, 20000, 28700);
    RecordingPageDevice device;
    Plotter pen(device, m);
    pen.SetPlotStyle(1, 0);
    pen.PlotArc({100, 100}, {110, 100}, {100, 110}); // the first quadrant
    ASSERT_EQ(device.calls.size(), 1u);
    const DeviceCall& a = device.calls[0];
    EXPECT_DOUBLE_EQ(a.radius, 1000.0);
    EXPECT_NEAR(a.start - a.end, std::numbers::pi / 2, 1e-9); // a quarter, counter-clockwise
    for (double share : {0.0, 0.5, 1.0}) {
      const double on = a.start + share * (a.end - a.start);
      const double t = share * std::numbers::pi / 2;
      const DevicePoint want = ToDevice(m, {100 + 10 * std::cos(t), 100 + 10 * std::sin(t)});
      EXPECT_NEAR(a.x + a.radius * std::cos(on), want.x, 1.0);
      EXPECT_NEAR(a.y + a.radius * std::sin(on), want.y, 1.0);
    }
    // Dashed, the pieces run along it; a circle is a full turn.
    device.calls.clear();
    pen.SetPlotStyle(2, 4);
    pen.PlotArc({100, 100}, {110, 100}, {110, 100});
    ASSERT_EQ(device.calls.size(), 32u); // 62.8 mm in dashes every 2 mm
    EXPECT_NEAR(device.calls[0].start - device.calls[0].end, 0.1, 1e-9);
    // On a circle ten times larger a dash strays from its chord by an eighth of a pixel: it goes
    // as that chord, both ends on the circle.
    device.calls.clear();
    pen.PlotArc({100, 100}, {200, 100}, {200, 100});
    EXPECT_EQ(device.calls.size(), 2u * 315u);
    const DevicePoint c = ToDevice(m, {100, 100});
    for (const DeviceCall& call : device.calls) {
      ASSERT_NE(call.kind, 'A');
      EXPECT_NEAR(std::hypot(call.x - c.x, call.y - c.y), 10000.0, 2.0); // whole pixels
    }
  }
}

TEST(Plotter, ScaleChangeGrowsTheSheetAndKeepsThePaperLook) {
  EXPECT_EQ(ProportionalWidth(5, 100, 50), 10);
  EXPECT_EQ(ProportionalWidth(9, 100, 50), 15);
  EXPECT_EQ(ProportionalWidth(0, 100, 50), 1);
  EXPECT_EQ(ProportionalHeight(25, 100, 50), 50);
  EXPECT_EQ(ProportionalHeight(300, 100, 50), 511);
  const Box grown = SheetAtScale({100, 200, 298, 481}, 1, 10);
  EXPECT_DOUBLE_EQ(grown.xmin, 100);
  EXPECT_DOUBLE_EQ(grown.xmax, 2080);
  EXPECT_DOUBLE_EQ(grown.ymax, 3010);

  Drawing d;
  HeadlessStoreEnvironment env;
  HeadlessPainter painter;
  ElementStore store(d, env, painter);
  PropertySet set;
  set.SetWidth(5);
  const Point points[2] = {{0, 0}, {10, 0}};
  LineElement* line = store.AddLine(set, points, 2);
  ASSERT_NE(line, nullptr);
  const std::uint32_t changes = d.changes;
  d.scale = 100;
  ApplyScaleChange(d, 50, {0, 0, 99, 140.5}, false);
  EXPECT_EQ(line->width(), 5u);
  EXPECT_EQ(d.changes, changes + 1); // leaving the drawing asks before dropping the new sheet
  ApplyScaleChange(d, 25, {0, 0, 49.5, 70.25}, true);
  EXPECT_EQ(line->width(), 10u);
  EXPECT_DOUBLE_EQ(d.scale, 25);
}

// A sheet of one solid element, plotted to a recording device.
struct OneElementPlot {
  Drawing d;
  HeadlessStoreEnvironment env;
  HeadlessPainter painter;
  ElementStore store{d, env, painter};
  PropertySet set;
  Fonts fonts;
  MeasureStyle measure;
  KeptMessages messages;
  RecordingPageDevice device;

  OneElementPlot() {
    Sheet(d, 1, {0, 0, 198, 281}, 1);
    set.SetZoneX(0xFFFF);
    set.SetZoneY(0xFFFF);
    set.SetStyle(1);
  }
  PlotJob Job(Language language, HatchSource* hatches = nullptr) {
    return {d, d.limits, fonts, measure, device, messages, language, hatches};
  }
};

TEST(Plotter, AFailedPlotIsToldAndLeavesNoDocument) {
  OneElementPlot plot;
  const Point points[3] = {{10, 10}, {50, 10}, {50, 50}};
  ASSERT_NE(plot.store.AddLine(plot.set, points, 3), nullptr);
  PlotJob job = plot.Job(Language::kFinnish);
  EXPECT_EQ(PlotDrawing(job), 1);
  EXPECT_EQ(plot.device.events, (std::vector<std::string>{"begin", "page", "end page", "end"}));
  EXPECT_EQ(plot.device.calls.size(), 4u); // pen, move, two lines in one path

  plot.device = RecordingPageDevice();
  plot.device.failAfter = 2;
  EXPECT_EQ(PlotDrawing(job), 0);
  EXPECT_EQ(plot.device.events.back(), "abort");
  EXPECT_EQ(plot.messages.shown.back(), "E:" + std::string("Tulostus ei onnistunut !"_l1));

  plot.device = RecordingPageDevice();
  plot.device.refuseDocument = true;
  job.language = Language::kEnglish;
  EXPECT_EQ(PlotDrawing(job), 0);
  EXPECT_EQ(plot.messages.shown.back(), "E:StartDoc doesnt work !");
  EXPECT_TRUE(plot.device.calls.empty());
}

// A filling whose hatch was dropped while it lay outside the view has none when the page is
// plotted: the plot asks for it rather than leaving the filling out.
TEST(Plotter, AFillingWithoutHatchIsHatchedForThePage) {
  struct CountedHatches final : HatchSource {
    void MakeHatch(FillingElement&) override { ++asked; }
    int asked = 0;
  };
  OneElementPlot plot;
  plot.set.SetShape(kShapeClosed);
  const Point points[4] = {{10, 10}, {50, 10}, {50, 50}, {10, 50}};
  LineElement* border = plot.store.AddLine(plot.set, points, 4);
  ASSERT_NE(border, nullptr);
  ASSERT_NE(plot.store.AddFilling(plot.set, &border, 1), nullptr);
  ASSERT_EQ(plot.d.fillings->hatch, nullptr);
  CountedHatches hatches;
  PlotJob job = plot.Job(Language::kEnglish, &hatches);
  EXPECT_EQ(PlotDrawing(job), 1);
  EXPECT_EQ(hatches.asked, 1);
}

TEST(Plotter, PageIsNamedAfterTheDrawingAndStaysInPlots) {
  Drawing d;
  EXPECT_EQ(PlotFilePath("/h", d), "/h/PLOTS/Database.pdf");
  for (const auto& [name, file] : {std::pair{"Plan.drw", "Plan.pdf"},
                                   {"Plan", "Plan.pdf"},
                                   {"../../x.DRW", ".._.._x.pdf"},
                                   {"..", "Database.pdf"}}) {
    SetDrawingName(d, name);
    EXPECT_EQ(PlotFileName(d), file) << name;
  }
}

} // namespace
} // namespace lumora
