// Cutting a line into pieces at points on it. All pieces are made before the line goes, so a
// failed allocation leaves the drawing as it was; points on no part of the line are ignored.
#include "element_geometry/element_geometry.h"
#include "element_geometry/line_walk.h"
#include "model/property_set.h"

#include <algorithm>
#include <cmath>

namespace lumora {

namespace {

using Piece = std::vector<Point>;

void Append(Piece& piece, const Point& p) {
  if (piece.empty() || SamePoint(piece.back(), p) == 0) piece.push_back(p);
}

bool OnSegment(const Segment& seg, const Point& q) {
  double fx = 0.0;
  double fy = 0.0;
  return SameValue(PointToSegment(q.x, q.y, seg, fx, fy), 0.0) != 0;
}

// The cut point on the segment nearest its start vertex and beyond `after` (a distance from
// that vertex); -1 when none. Points at or before `after` are spent and dropped.
int NextCutOn(const Segment& seg, std::vector<Point>& cuts, bool vertexOnly, double after) {
  int best = -1;
  double bestT = kNoPoint;
  for (std::size_t m = 0; m < cuts.size();) {
    const Point& q = cuts[m];
    const double t = Distance(seg.p1, q, 0);
    if (!OnSegment(seg, q) || (vertexOnly && t >= kGeomTolerance)) {
      ++m;
      continue;
    }
    if (t < after + kGeomTolerance) {
      cuts.erase(cuts.begin() + static_cast<std::ptrdiff_t>(m));
      continue;
    }
    if (t < bestT) {
      bestT = t;
      best = static_cast<int>(m);
    }
    ++m;
  }
  return best;
}

void CutOpen(std::span<const Point> v, std::vector<Point>& cuts, bool vertexOnly,
             std::vector<Piece>& pieces) {
  if (v.empty()) return;
  Piece piece{v[0]};
  double after = 0.0; // the piece under way starts this far along the current segment
  for (std::size_t j = 0; j + 1 < v.size(); ++j) {
    const Segment seg{v[j], v[j + 1]};
    for (int m = NextCutOn(seg, cuts, vertexOnly, after); m >= 0;
         m = NextCutOn(seg, cuts, vertexOnly, after)) {
      const Point q = cuts[static_cast<std::size_t>(m)];
      cuts.erase(cuts.begin() + m);
      Append(piece, q);
      if (piece.size() >= 2) pieces.push_back(piece);
      piece = {q};
      after = Distance(seg.p1, q, 0);
    }
    Append(piece, v[j + 1]);
    after = SamePoint(piece.front(), v[j + 1]) != 0 ? 0.0 : -kNoPoint;
  }
  if (piece.size() >= 2) pieces.push_back(piece);
}

// Opens a closed line at its first cut point and cuts the open line at the others.
void CutClosed(std::span<const Point> v, std::vector<Point>& cuts, bool vertexOnly,
               std::vector<Piece>& pieces) {
  const std::size_t n = v.size();
  for (std::size_t j = 0; j < n && n >= 2; ++j) {
    const int m = NextCutOn({v[j], v[(j + 1) % n]}, cuts, vertexOnly, -kNoPoint);
    if (m < 0) continue;
    const Point q = cuts[static_cast<std::size_t>(m)];
    cuts.erase(cuts.begin() + m);
    Piece open{q};
    for (std::size_t k = 1; k <= n; ++k) Append(open, v[(j + k) % n]);
    Append(open, q);
    if (open.size() < 2) return;
    CutOpen(open, cuts, vertexOnly, pieces);
    return;
  }
}

bool OnArcLine(const ArcPoints& arc, const Point& q) {
  double nx = 0.0;
  double ny = 0.0;
  return SameValue(std::fabs(PointToArc(q.x, q.y, arc.o, arc.s, arc.e, nx, ny)), 0.0) != 0;
}

// Arcs from the start counter-clockwise through the cut points on the arc to its end.
void CutArc(const ArcPoints& arc, std::vector<Point> cuts, std::vector<Piece>& pieces) {
  std::erase_if(cuts, [&arc](const Point& q) { return !OnArcLine(arc, q); });
  const auto key = [&arc](const Point& q) {
    return TurnKey(q.x, q.y, arc.s.x, arc.s.y, arc.o.x, arc.o.y, 1);
  };
  std::stable_sort(cuts.begin(), cuts.end(),
                   [&key](const Point& a, const Point& b) { return key(a) < key(b); });
  Point start = arc.s;
  for (const Point& q : cuts) {
    if (SamePoint(start, q) == 0) pieces.push_back({arc.o, start, q});
    start = q;
  }
  if (SamePoint(start, arc.e) == 0 || pieces.empty()) pieces.push_back({arc.o, start, arc.e});
}

bool SamePoints(std::span<const Point> a, std::span<const Point> b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](const Point& p, const Point& q) { return SamePoint(p, q) != 0; });
}

} // namespace

int ElementGeometry::AcceptCutPoint(const LineElement& line, const Point& p,
                                    std::span<const Point> cuts) {
  for (const Point& q : cuts) {
    if (SamePoint(p, q) != 0) return 0;
  }
  const std::span<const Point> points = PointsOf(line);
  if (points.empty()) return 0;
  if (line.shape() == kShapeOpen || line.shape() == kShapeArc) {
    const Point& first = line.shape() == kShapeArc && points.size() > 1 ? points[1] : points[0];
    if (SamePoint(p, first) != 0 || SamePoint(p, points.back()) != 0) return 0;
  }
  return 1;
}

bool ElementGeometry::MakePieces(const LineElement& line, const std::vector<Piece>& pieces,
                                 std::uint32_t shape, std::vector<LineElement*>& made) {
  PropertySet set;
  UnpackLine(line, set, PackFields::kAll);
  set.SetShape(shape);
  for (const Piece& piece : pieces) {
    LineElement* added = store_.AddLine(set, piece.data(), static_cast<int>(piece.size()));
    if (added == nullptr) {
      for (LineElement* undo : made) store_.DeleteLine(undo);
      made.clear();
      return false;
    }
    made.push_back(added);
  }
  return true;
}

int ElementGeometry::CutLineAtPoints(LineElement*& line, std::vector<Point> cuts, bool vertexOnly,
                                     bool keepFillings) {
  if (line == nullptr) return 0;
  const std::span<const Point> points = PointsOf(*line);
  std::vector<Piece> pieces;
  std::uint32_t shape = line->shape();
  ArcPoints arc{};
  if (line->shape() == kShapeClosed) {
    CutClosed(points, cuts, vertexOnly, pieces);
    shape = kShapeOpen;
  } else if (line->shape() == kShapeArc) {
    if (ArcOf(*line, arc)) CutArc(arc, cuts, pieces);
  } else if (line->shape() == kShapeCircle) {
    // The first point on the circle opens it into a full-turn arc starting there.
    if (ArcOf(*line, arc)) {
      const auto first = std::find_if(cuts.begin(), cuts.end(),
                                      [&arc](const Point& q) { return OnArcLine(arc, q); });
      if (first != cuts.end()) {
        const ArcPoints turn{arc.o, *first, *first};
        cuts.erase(first);
        CutArc(turn, cuts, pieces);
      }
    }
    shape = kShapeArc;
  } else {
    CutOpen(points, cuts, vertexOnly, pieces);
  }
  if (pieces.empty() ||
      (pieces.size() == 1 && shape == line->shape() && SamePoints(pieces[0], points))) {
    return 0;
  }
  std::vector<LineElement*> made;
  if (!MakePieces(*line, pieces, shape, made)) return 0;
  store_.painter().Draw(*line, DrawMode::kErase);
  for (LineElement* piece : made) {
    store_.painter().Draw(*piece, DrawMode::kNormal);
    InheritPartMembership(piece, static_cast<const LineElement*>(line));
  }
  if (keepFillings && line->boundary() != 0) PassBoundaryToPieces(*line, made);
  store_.DeleteLine(line);
  return static_cast<int>(made.size());
}

} // namespace lumora
