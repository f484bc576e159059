// Filling boundaries come from drawing and DXF files of any quality: open, crossed, broken,
// degenerate, huge or tiny, even points that are not numbers. Whatever the lines, gap and angle,
// the boundary and its hatch are built within their bounds, and the area is a number or refused.
#include "element_geometry/element_geometry.h"
#include "files/headless_environment.h"
#include "geometry/hatch.h"
#include "model/element_store.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <limits>
#include <vector>

namespace {

using namespace lumora;

class Bytes {
public:
  Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Empty() const { return at_ >= size_; }
  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  // Small whole values most of the time, and every kind of awkward number now and then.
  double Value() {
    const std::uint8_t tag = Byte();
    if (tag < 200) return static_cast<double>(tag) - 100.0;
    switch (tag) {
    case 250:
      return std::numeric_limits<double>::quiet_NaN();
    case 251:
      return std::numeric_limits<double>::infinity();
    case 252:
      return -1e300;
    case 253:
      return 1e15 + Byte();
    case 254:
      return Byte() * 1e-4;
    case 255: {
      double v = 0.0;
      std::uint8_t raw[sizeof v] = {};
      for (std::uint8_t& b : raw) b = Byte();
      std::memcpy(&v, raw, sizeof v);
      return v;
    }
    default:
      return (tag - 225) * 1e6 + Byte();
    }
  }

private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

struct OwnLine {
  LineElement record;
  std::vector<Point> points;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Bytes in(data, size);
  const double gap = std::abs(in.Value()) * (in.Byte() % 2 == 0 ? 1.0 : 0.01);
  const auto angle = static_cast<std::int16_t>(in.Byte() * 7 - 900);
  const double accuracy = 0.04 * (1 + in.Byte() % 8);

  // Lines made here, not by the store, so that nothing refuses a point that is not a number.
  std::deque<OwnLine> owned;
  std::vector<LineElement*> entries;
  while (!in.Empty() && entries.size() < 64) {
    const std::uint8_t kind = in.Byte() % 6;
    if (kind == 0) {
      entries.push_back(nullptr);
      continue;
    }
    const std::uint32_t shape = kind == 5 ? kShapeOpen : kind;
    std::size_t count = shape == kShapeArc ? 3 : shape == kShapeCircle ? 2 : 1 + in.Byte() % 12;
    OwnLine& line = owned.emplace_back();
    for (std::size_t i = 0; i < count; ++i) line.points.push_back({in.Value(), in.Value()});
    line.record.points = line.points.data();
    line.record.SetPs0(static_cast<std::uint32_t>(count));
    line.record.SetShape(shape);
    entries.push_back(&line.record);
  }

  Drawing drawing;
  drawing.limits = Box{0, 0, 1000, 1000};
  HeadlessStoreEnvironment env;
  HeadlessPainter painter;
  ElementStore store(drawing, env, painter);
  GeometrySettings settings{};
  settings.arcAccuracy = accuracy;
  ElementGeometry geometry(store, env, settings);

  const std::vector<PenPathRecord> path = geometry.BuildBoundary(entries, accuracy);
  std::vector<Point> points;
  const HatchStatus status = HatchPenPath(path, gap, angle, points);
  if (points.size() % 2 != 0 || points.size() / 2 > kMaxHatchSegments) __builtin_trap();
  if (status != HatchStatus::kDone && !points.empty()) __builtin_trap();

  FillingElement filling;
  filling.lines = entries.data();
  filling.SetLs0(static_cast<std::uint32_t>(entries.size()));
  filling.SetGap(gap);
  filling.SetAngle(angle);
  geometry.BuildHatch(filling);
  if (filling.hatch == nullptr || filling.hatch->count / 2 > kMaxHatchSegments) __builtin_trap();
  store.ClearHatch(filling);
  double area = 0.0;
  if (geometry.FillingArea(filling, area) && !std::isfinite(area)) __builtin_trap();
  return 0;
}
