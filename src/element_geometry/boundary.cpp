// The closed boundary of a filling built from its lines, and the filling under a point.
#include "element_geometry/element_geometry.h"
#include "element_geometry/line_walk.h"
#include "geometry/hatch.h"
#include "geometry/region.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace lumora {

namespace {

const TextPair kMemoryOverflow{"Memory overflow !", "Memory overflow !"};

constexpr double kFullTurn = 6.283185307;
constexpr double kLargestStep = 1.57079632675;
constexpr double kChordFactor = 8.0;   // step = sqrt(8 s / r) keeps chords within s of the arc
constexpr double kPickAccuracy = 16.0; // a coarse boundary is enough to find a filling
// However large the circle or fine the accuracy, an arc is never cut into more chords than this.
constexpr double kSmallestStep = kFullTurn / 10000.0;
// A boundary past this many records is refused rather than built: nothing drawn from it would
// be usable, and memory would run out first.
constexpr std::size_t kMaxBoundaryRecords = 4000000;
constexpr double kHatchAccuracy = 4.0; // hatch lines end within this many accuracies
constexpr std::int32_t kPenUp = 0;
constexpr std::int32_t kPenDown = 1;

// Writes points into pen-path records, closing each loop back at its start.
class BoundaryWriter {
public:
  BoundaryWriter(std::vector<PenPathRecord>& out, std::vector<double>* bulges)
      : out_(out), bulges_(bulges) {}

  void Write(const Point& p) {
    if (pen_ == kPenUp) {
      Close();
      start_ = p;
      out_.push_back({p.x, p.y, kPenUp});
      if (bulges_ != nullptr) bulges_->push_back(0.0);
      pen_ = kPenDown;
      return;
    }
    const PenPathRecord& last = out_.back();
    if (SamePoint(last.x, last.y, p.x, p.y) == 0) out_.push_back({p.x, p.y, kPenDown});
  }
  void NewLoop() { pen_ = kPenUp; }
  bool Starting() const { return pen_ == kPenUp; }
  void Close() {
    if (!out_.empty()) out_.push_back({start_.x, start_.y, kPenDown});
  }
  Point Last() const { return {out_.back().x, out_.back().y}; }
  // The area between an arc and its chords, counter-clockwise positive, for the loop written.
  void Bulge(double area) {
    if (bulges_ != nullptr && !bulges_->empty()) bulges_->back() += area;
  }

private:
  std::vector<PenPathRecord>& out_;
  std::vector<double>* bulges_;
  std::int32_t pen_ = kPenUp;
  Point start_{0.0, 0.0};
};

Point FirstOf(const LineElement& line) {
  return IsRound(line) && line.ps0() >= 2 ? line.points[1] : line.points[0];
}

Point LastOf(const LineElement& line) {
  return line.points[line.ps0() - 1];
}

double NearerEnd(const Point& p, const LineElement& next) {
  return std::min(Distance(p, FirstOf(next), 0), Distance(p, LastOf(next), 0));
}

// Whether an open line or arc is taken from its last point back to its first.
bool Backwards(const LineElement& line, const LineElement* next, const BoundaryWriter& writer) {
  if (line.shape() == kShapeClosed || line.shape() == kShapeCircle) return false;
  const Point first = FirstOf(line);
  const Point last = LastOf(line);
  if (writer.Starting()) {
    return next != nullptr && next->ps0() > 0 && NearerEnd(first, *next) < NearerEnd(last, *next);
  }
  const Point at = writer.Last();
  return Distance(last, at, 0) < Distance(first, at, 0);
}

// Chords of the arc; false for an arc too small to have a direction.
bool WriteArc(const LineElement& line, bool backwards, double accuracy, BoundaryWriter& writer) {
  ArcPoints arc{};
  if (!ArcOf(line, arc)) return false;
  const double r = Distance(arc.o, arc.s);
  if (r < kGeomTolerance) return false;
  const double start = std::atan2(arc.s.y - arc.o.y, arc.s.x - arc.o.x);
  double end = std::atan2(arc.e.y - arc.o.y, arc.e.x - arc.o.x);
  while (end < start + kGeomTolerance) end += kFullTurn;
  const double step =
      std::max(std::min(std::sqrt(kChordFactor * accuracy / r), kLargestStep), kSmallestStep);
  const auto at = [&arc, r](double t) {
    return Point{arc.o.x + r * std::cos(t), arc.o.y + r * std::sin(t)};
  };
  if (!(step > 0.0)) return false;
  // Each chord over the angle d cuts off r^2 (d - sin d) / 2 of the circle.
  double bulge = 0.0;
  const auto cut = [&bulge, r](double d) { bulge += r * r * (d - std::sin(d)) / 2.0; };
  if (!backwards) {
    double t = start;
    for (; t < end; t += step) {
      writer.Write(at(t));
      cut(std::min(step, end - t));
    }
    writer.Write(at(end));
  } else {
    double t = end;
    for (; t > start; t -= step) {
      writer.Write(at(t));
      cut(std::min(step, t - start));
    }
    writer.Write(at(start));
  }
  writer.Bulge(backwards ? -bulge : bulge);
  return true;
}

// False when the boundary grows past its bound.
bool WalkBoundary(std::span<LineElement* const> lines, double accuracy,
                  std::vector<PenPathRecord>& out, std::vector<double>* bulges = nullptr) {
  BoundaryWriter writer(out, bulges);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (out.size() > kMaxBoundaryRecords) return false;
    const LineElement* line = lines[i];
    if (line == nullptr || line->points == nullptr || line->ps0() == 0) {
      writer.NewLoop();
      continue;
    }
    const LineElement* next = i + 1 < lines.size() ? lines[i + 1] : nullptr;
    const bool backwards = Backwards(*line, next, writer);
    if (IsRound(*line)) {
      if (!WriteArc(*line, backwards, accuracy, writer)) break;
    } else {
      const std::span<const Point> v = PointsOf(*line);
      if (backwards) {
        for (auto p = v.rbegin(); p != v.rend(); ++p) writer.Write(*p);
      } else {
        for (const Point& p : v) writer.Write(p);
      }
    }
    if (line->shape() == kShapeClosed || line->shape() == kShapeCircle) writer.NewLoop();
  }
  writer.Close();
  return out.size() <= kMaxBoundaryRecords;
}

} // namespace

std::vector<PenPathRecord> ElementGeometry::BuildBoundary(std::span<LineElement* const> lines,
                                                          double accuracy) {
  std::vector<PenPathRecord> records;
  try {
    if (!WalkBoundary(lines, accuracy, records)) records = {};
  } catch (const std::bad_alloc&) {
    records = {};
    env_.ShowError(kMemoryOverflow);
  }
  return records;
}

HatchStatus ElementGeometry::BuildHatch(FillingElement& filling) {
  std::vector<Point> points;
  HatchStatus status = HatchStatus::kTooDense;
  try {
    const double gap = filling.gap();
    if (std::isfinite(gap) && gap < kMinHatchGap) {
      status = HatchStatus::kNoHatch;
    } else if (filling.lines == nullptr) {
      status = HatchStatus::kDone;
    } else {
      std::vector<PenPathRecord> path;
      if (WalkBoundary({filling.lines, filling.ls0()}, kHatchAccuracy * settings.arcAccuracy,
                       path)) {
        status = HatchPenPath(path, gap, filling.angle(), points);
      }
    }
  } catch (const std::bad_alloc&) {
    // What was written so far stays as the hatch.
    status = HatchStatus::kDone;
    env_.ShowError(kMemoryOverflow);
  }
  // Even no hatch is kept as an empty cache, so a redraw does not try again.
  store_.SetHatch(filling, points.data(), static_cast<std::uint32_t>(points.size()));
  return status;
}

// Arcs count whole: the area cut off by each chord is added back, so a round hole or a rounded
// corner measures what it is and not what its chords enclose.
bool ElementGeometry::FillingArea(const FillingElement& filling, double& area) {
  if (filling.lines == nullptr) return false;
  std::vector<PenPathRecord> path;
  std::vector<double> bulges;
  try {
    if (!WalkBoundary({filling.lines, filling.ls0()}, settings.arcAccuracy, path, &bulges))
      return false;
  } catch (const std::bad_alloc&) {
    env_.ShowError(kMemoryOverflow);
    return false;
  }
  if (path.empty()) return false;
  for (const PenPathRecord& r : path) {
    if (!std::isfinite(r.x) || !std::isfinite(r.y)) return false;
  }
  area = PenPathArea(path, bulges);
  return std::isfinite(area);
}

FillingElement* ElementGeometry::PickFilling(const Point& p) {
  std::uint16_t qx = 0;
  std::uint16_t qy = 0;
  QueryMasks(p, kGeomTolerance, qx, qy);
  const FillingElement* last = store_.LastFillingPick();
  FillingElement* first = nullptr;
  // Offers the fillings in list order; true once the answer is known.
  const auto offer = [&](FillingElement* f, bool pastLast) {
    if (!Candidate(*f, qx, qy) || f->lines == nullptr) return false;
    if (first != nullptr && !pastLast) return false; // nothing before the last pick is needed now
    const std::vector<PenPathRecord> path =
        BuildBoundary({f->lines, f->ls0()}, kPickAccuracy * settings.arcAccuracy);
    if (PointInPenPath(p.x, p.y, path) == 0) return false;
    if (first == nullptr) first = f;
    // Overlapping fillings are stepped through: the next one after the last pick wins.
    if (pastLast && f != last) {
      first = f;
      return true;
    }
    return false;
  };

  const SpatialIndex<FillingElement>* index = store_.FillingIndex();
  const std::uint64_t lastSequence =
      index != nullptr && last != nullptr ? index->Sequence(last) : 0;
  std::vector<SpatialIndex<FillingElement>::Entry> candidates;
  const Box around{p.x - kGeomTolerance, p.y - kGeomTolerance, p.x + kGeomTolerance,
                   p.y + kGeomTolerance};
  if (index != nullptr && (last == nullptr || lastSequence != 0) &&
      index->Collect(around, candidates)) {
    // Older fillings lie after the last pick in the list.
    for (const auto& entry : candidates) {
      if (offer(entry.element, last == nullptr || entry.sequence <= lastSequence)) break;
    }
  } else {
    bool pastLast = last == nullptr;
    for (FillingElement* f : Each(drawing_.fillings)) {
      if (f == last) pastLast = true;
      if (offer(f, pastLast)) break;
    }
  }
  store_.RememberFillingPick(first);
  return first;
}

} // namespace lumora
