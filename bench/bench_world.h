// A drawing with its store and quiet environments, as the benchmarks build them, the mixed
// drawing the redraw benchmarks generate, and the counters every benchmark of a drawing's size
// prints.
#pragma once

#include "files/drawing_format.h"
#include "files/headless_environment.h"
#include "model/element_store.h"
#include "model/property_set.h"
#include "text/message_sink.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <random>
#include <string_view>
#include <thread>

namespace lumora::bench {

struct World {
  Drawing drawing;
  HeadlessStoreEnvironment storeEnv;
  HeadlessPainter painter;
  ElementStore store{drawing, storeEnv, painter};
  HeadlessFileEnvironment env;
  DrawingFileState state;
};

// A font of two glyphs, enough for texts to cost what texts cost.
inline constexpr std::string_view kBenchFont =
    "#HEIGHT: 10\n#WIDTH: 6\n#CHAR_SPACE: 2\n#ROW_SPACE: 4\n"
    "#LOWER_PORTION: 2\n#CHARACTERS:\n"
    "\"A\" 0 0 0 3 10 1 6 0 1 1 4 0 5 4 1\n"
    "\"B\" 0 0 0 0 10 1 5 8 1 0 5 1 5 2 1 0 0 1\n";

// Silences the font reader and the plotter.
class QuietSink final : public MessageSink {
public:
  void Show(MessageKind, std::string_view) override {}
};

// How a mixed drawing is made up; the defaults are those of the redraw benchmarks.
struct MixedDrawing {
  unsigned seed = 7;
  double smallest = 1.0; // sizes of the elements, units
  double largest = 40.0;
  double circleShare = 1.0; // a circle's radius as a share of its element's size
  std::uint32_t textHeight = 50;
  bool penWidths = false; // widths 0 to 5 in turn on section 4, as a plot shows them
};

// The drawing of the redraw benchmarks, on the SoftCanvas and in the window alike, so their
// figures compare: in turn an open line of two segments, an arc, a circle and a text, at places
// spread evenly over the sheet, colours 1 to 8 and styles 1 to 4 in turn. The same count always
// gives the same drawing.
inline void FillMixedDrawing(ElementStore& store, int count, double sheetWidth, double sheetHeight,
                             const MixedDrawing& mix = {}) {
  std::mt19937 random(mix.seed);
  std::uniform_real_distribution<double> x(0.0, sheetWidth);
  std::uniform_real_distribution<double> y(0.0, sheetHeight);
  std::uniform_real_distribution<double> size(mix.smallest, mix.largest);
  for (int k = 0; k < count; ++k) {
    const Point p{x(random), y(random)};
    const double s = size(random);
    PropertySet set;
    set.SetColour(std::uint32_t(1 + k % 8));
    set.SetStyle(std::uint32_t(1 + k % 4));
    if (mix.penWidths) {
      set.SetSection(4);
      set.SetWidth(std::uint32_t(k % 6));
    }
    switch (k % 4) {
    case 0: {
      set.SetShape(kShapeOpen);
      const Point pts[] = {p, {p.x + s, p.y + s / 2}, {p.x + 2 * s, p.y}};
      store.AddLine(set, pts, 3);
      break;
    }
    case 1: {
      set.SetShape(kShapeArc);
      const Point pts[] = {p, {p.x + s, p.y}, {p.x, p.y + s}};
      store.AddLine(set, pts, 3);
      break;
    }
    case 2: {
      set.SetShape(kShapeCircle);
      const Point pts[] = {p, {p.x + s * mix.circleShare, p.y}};
      store.AddLine(set, pts, 2);
      break;
    }
    default:
      set.SetHeight(mix.textHeight);
      store.AddText(set, &p, 1, "ABBA");
      break;
    }
  }
}

// The element count and the machine's cores, so figures from different machines and sizes can
// be told apart.
inline void CountMachine(benchmark::State& state, long elements) {
  state.counters["elements"] = static_cast<double>(elements);
  state.counters["cores"] = static_cast<double>(std::thread::hardware_concurrency());
}

// Bytes the heap has handed out and not taken back, mapped blocks included.
inline double HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<double>(info.uordblks + info.hblkhd);
}

} // namespace lumora::bench
