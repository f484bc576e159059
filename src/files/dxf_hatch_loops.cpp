#include "files/dxf_hatch_loops.h"

#include "geometry/primitives.h"
#include "model/elements.h"

#include <cmath>
#include <numbers>

namespace lumora {
namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;

bool Round(const LineElement& line) {
  return line.shape() == kShapeArc || line.shape() == kShapeCircle;
}
Point FirstOf(const LineElement& line) {
  return Round(line) && line.ps0() >= 2 ? line.points[1] : line.points[0];
}
Point LastOf(const LineElement& line) {
  return line.points[line.ps0() - 1];
}
double NearerEnd(const Point& p, const LineElement& next) {
  return std::min(Distance(p, FirstOf(next), 0), Distance(p, LastOf(next), 0));
}

class LoopWriter {
public:
  explicit LoopWriter(std::vector<HatchLoop>& out) : out_(out) {}

  bool Starting() const { return !started_; }
  Point Last() const { return at_; }

  // Moves the pen to p: the first point of a loop, or a straight edge from where it is.
  void To(const Point& p) {
    if (!started_) {
      started_ = true;
      start_ = at_ = p;
      corners_.push_back(p);
      return;
    }
    if (SamePoint(at_, p) == 0) Straight(p);
  }
  void Arc(const Point& centre, double radius, double from, double to, bool ccw) {
    HatchEdge edge;
    edge.arc = true;
    edge.centre = centre;
    edge.radius = radius;
    edge.counterClockwise = ccw;
    // A clockwise edge keeps its angles mirrored, as the format has it.
    const double first = ccw ? from : -to;
    edge.start = std::fmod(first * kDegrees, 360.0);
    if (edge.start < 0) edge.start += 360.0;
    edge.end = edge.start + (to - from) * kDegrees;
    loop_.edges.push_back(edge);
    const double a = ccw ? to : from;
    at_ = {centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)};
    corners_.push_back(at_);
  }
  void Uses(std::size_t line) { loop_.lines.push_back(line); }
  void End() {
    if (started_ && SamePoint(at_, start_) == 0) Straight(start_);
    if (!loop_.edges.empty()) {
      double twice = 0;
      for (std::size_t k = 0; k < corners_.size(); ++k) {
        const Point& p = corners_[k];
        const Point& q = corners_[(k + 1) % corners_.size()];
        twice += p.x * q.y - q.x * p.y;
      }
      loop_.area = std::fabs(twice) / 2;
      // A circle alone has no corners but its own area.
      if (loop_.edges.size() == 1 && loop_.edges[0].arc)
        loop_.area = std::numbers::pi * loop_.edges[0].radius * loop_.edges[0].radius;
      out_.push_back(std::move(loop_));
    }
    loop_ = HatchLoop{};
    corners_.clear();
    started_ = false;
  }

private:
  void Straight(const Point& p) {
    HatchEdge edge;
    edge.from = at_;
    edge.to = p;
    loop_.edges.push_back(edge);
    corners_.push_back(p);
    at_ = p;
  }

  std::vector<HatchLoop>& out_;
  HatchLoop loop_;
  std::vector<Point> corners_;
  bool started_ = false;
  Point start_{0, 0};
  Point at_{0, 0};
};

// Whether an open line or arc is walked from its last point back to its first.
bool Backwards(const LineElement& line, const LineElement* next, const LoopWriter& writer) {
  if (line.shape() == kShapeClosed || line.shape() == kShapeCircle) return false;
  const Point first = FirstOf(line);
  const Point last = LastOf(line);
  if (writer.Starting())
    return next != nullptr && next->ps0() > 0 && NearerEnd(first, *next) < NearerEnd(last, *next);
  const Point at = writer.Last();
  return Distance(last, at, 0) < Distance(first, at, 0);
}

void WriteRound(const LineElement& line, bool backwards, LoopWriter& writer) {
  const Point o = line.points[0];
  const Point s = line.points[1];
  const Point e = LastOf(line);
  const double r = Distance(o, s);
  if (!(r >= kGeomTolerance)) return;
  const double start = std::atan2(s.y - o.y, s.x - o.x);
  double end = std::atan2(e.y - o.y, e.x - o.x);
  constexpr double kFullTurn = 2 * std::numbers::pi;
  while (end < start + kGeomTolerance) end += kFullTurn;
  const double from = backwards ? end : start;
  writer.To({o.x + r * std::cos(from), o.y + r * std::sin(from)});
  writer.Arc(o, r, start, end, !backwards);
}

} // namespace

std::vector<HatchLoop> HatchLoops(std::span<const LineElement* const> lines) {
  std::vector<HatchLoop> loops;
  LoopWriter writer(loops);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const LineElement* line = lines[i];
    if (line == nullptr || line->points == nullptr || line->ps0() == 0) {
      writer.End();
      continue;
    }
    const LineElement* next = i + 1 < lines.size() ? lines[i + 1] : nullptr;
    const bool backwards = Backwards(*line, next, writer);
    writer.Uses(i);
    if (Round(*line) && line->ps0() >= 2) {
      WriteRound(*line, backwards, writer);
    } else {
      const std::uint32_t n = line->ps0();
      for (std::uint32_t k = 0; k < n; ++k) writer.To(line->points[backwards ? n - 1 - k : k]);
    }
    if (line->shape() == kShapeClosed || line->shape() == kShapeCircle) writer.End();
  }
  writer.End();
  return loops;
}

} // namespace lumora
