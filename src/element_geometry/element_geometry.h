// Geometry on whole elements of the drawing: finding the element or line under the cursor and
// the nearest point on it, crossings of two lines, offset copies, cutting lines into pieces,
// finding and rounding corners, moving stored points, moving and stretching groups, and keeping
// boxes, zone masks, part boxes and bounded fillings current after a change.
//
// Every search takes only line elements on visible layers without `hidden`, and skips an
// element by its zone masks before any exact test. Radii are counted in search units
// (GeometrySettings). Screen effects go through the store's painter.
#pragma once

#include "element_geometry/geometry_settings.h"
#include "geometry/hatch.h"
#include "geometry/primitives.h"
#include "model/element_kind.h"
#include "model/element_store.h"

#include <span>
#include <unordered_set>
#include <variant>
#include <vector>

namespace lumora {

// The first and last point of a line element, and its points as a span.
std::span<Point> PointsOf(LineElement& line);
std::span<const Point> PointsOf(const LineElement& line);
bool IsRound(const LineElement& line); // arc or circle

// The nearest point found on a line.
struct LineHit {
  Point point{kNoPoint, kNoPoint};
  double distance = kNoPoint; // signed: right of a segment or outside an arc is positive
  Segment segment{};          // the segment found on (for an arc: start and end)
};

// What PickElement found: nothing, or one element of one kind.
using Picked =
    std::variant<std::monostate, TextElement*, FillingElement*, LineElement*, PartElement*>;

inline bool PickedAny(const Picked& picked) {
  return !std::holds_alternative<std::monostate>(picked);
}
// The picked element when it is of the kind; null otherwise.
template <class Element> Element* PickedAs(const Picked& picked) {
  Element* const* element = std::get_if<Element*>(&picked);
  return element != nullptr ? *element : nullptr;
}

// What happens to the fillings a line bounds while the line is being worked on.
enum class BorderFillings { kHide, kShow };

// A corner between two lines, possibly rounded already by an arc.
struct Corner {
  Point point{kNoPoint, kNoPoint};
  LineElement* line1 = nullptr;
  LineElement* line2 = nullptr;
  LineElement* arc = nullptr;
  double radius = 0.0;
};

// The points of a line made by an offset.
struct OffsetResult {
  std::uint32_t shape = 0;
  std::vector<Point> points;
};

// A closed area as PointInPolygon takes it (the last point joins the first).
using Area = std::span<const Point>;

inline constexpr int kOffsetMaxPoints = 200;

// The lines a group holds at any depth, gathered once, so that the boundaries of many fillings
// are looked up instead of walking the group's lists for each line. Without memory for the set it
// answers by walking them. The group must not gain or lose lines while it is asked.
class HeldLines {
public:
  explicit HeldLines(const PartElement& group);
  bool Holds(const LineElement* line) const;

private:
  const PartElement& group_;
  std::unordered_set<const LineElement*> lines_;
  bool walk_ = false; // the set could not be built
};

class ElementGeometry {
public:
  ElementGeometry(ElementStore& store, StoreEnvironment& env, const GeometrySettings& settings)
      : store_(store), drawing_(store.drawing()), env_(env), settings(settings) {}

  ElementStore& Store() { return store_; }
  StoreEnvironment& Environment() { return env_; }

  // ---- Searches ----
  Picked PickElement(const Point& p, double k, bool partsAsWholes);
  // The nearest line within k search units; in direction mode the crossing with a probe
  // through p at the angle. Remembered, so repeated picks step through coinciding lines.
  LineElement* NearestLine(const Point& p, Point& nearest, double k, bool direction = false,
                           double angle = 0.0);
  // 1 when the line passes within k search units of p (k = 0: within the tolerance).
  int NearestOnLine(const LineElement& line, const Point& p, LineHit& hit, double k,
                    bool direction = false, double angle = 0.0) const;
  // The line whose stored point is nearest (Manhattan) within k search units.
  LineElement* NearestLinePoint(const Point& p, Point& found, double k) const;
  // 0 none, 1 found, 2 found where the line meets itself. k = 0 leaves only the tolerance.
  int NearestVertex(const LineElement& line, const Point& p, Point& vertex, int& index,
                    double k) const;
  // 0 no, 1 one end, 2 both ends of an open line or arc within tol of p.
  static int EndsAt(const LineElement& line, const Point& p, Point& otherEnd, double tol);
  // The single line other than skip that ends at p, or none; count, when given, tells how many
  // end there.
  LineElement* LineEndingAt(const LineElement* skip, const Point& p, Point& otherEnd, double tol,
                            int* count = nullptr) const;
  // The distinct crossing points, at most out.size(); answers their number.
  static int LineIntersections(const LineElement& a, const LineElement& b, std::span<Point> out);

  // ---- Constructions ----
  static int OffsetLine(const LineElement& line, double d, OffsetResult& result);
  // Replaces the line by its pieces. Answers the number of pieces made; 0 leaves it as it was.
  // The fillings the line bounded keep the pieces as their boundary unless told to go with it.
  int CutLineAtPoints(LineElement*& line, std::vector<Point> cuts, bool vertexOnly,
                      bool keepFillings = true);
  static int AcceptCutPoint(const LineElement& line, const Point& p, std::span<const Point> cuts);
  int FindCorner(LineElement* picked, Corner& corner) const;
  int RoundLineCorner(Corner& corner, double radius);
  void MoveVertex(LineElement& line, int index, const Point& to);
  // Gives the text a new string, erased before and drawn after; false when memory ran out (the
  // old string stays and the user has been told).
  bool ReplaceTextString(TextElement& text, std::string_view value);
  static double ArcRadius(const LineElement& arc);
  static int ArcMidpoint(const LineElement& arc, Point& mid);
  static Box BoxOfLine(const LineElement& line);
  static int ElementInsidePolygon(const LineElement& line, Area area, bool all);

  // ---- Consistency ----
  void ElementChanged(LineElement& line);
  void ElementChanged(FillingElement& filling);
  void ElementChanged(TextElement& text);
  void ElementChanged(PartElement& part);
  template <class Element> void InheritPartMembership(Element* added, const Element* old);
  // Hides the fillings the line bounds (erased where their layer is shown), or shows them again.
  void ShowBorderFillings(const LineElement& line, BorderFillings change);
  // The fillings the old line bounds take the pieces in its place, in the order their boundary
  // walks it, and are made again.
  void PassBoundaryToPieces(const LineElement& old, std::span<LineElement* const> pieces);
  // The fillings whose loop runs from one line to the other take the arc between them.
  void PassBoundaryToArc(LineElement& arc, const LineElement* line1, const LineElement* line2);
  // The line leaves every boundary it is in; the fillings are made again without it.
  void DropFromBoundaries(const LineElement& line);

  // ---- Area selection and groups ----
  // Adds what lies in the area to the group; true when the group stayed empty.
  bool SelectArea(PartElement& group, Area area, bool all, bool mark);
  int PartInsidePolygon(const PartElement& part, Area area, bool all) const;
  int TextInsidePolygon(const TextElement& text, Area area, bool all) const;
  // Whether the filling's boundary lines are all (or with `all` false, any) in the group.
  static int FillingInGroup(const FillingElement& filling, const PartElement& group, bool all);
  static int FillingInGroup(const FillingElement& filling, const HeldLines& held, bool all);
  static bool GroupHolds(const PartElement& group, const void* element, ElementKind kind);
  // Moves (with a stretch area: stretches) or maps the group's members. An empty stretch area
  // means none: the members are mapped by the placement.
  void TransformGroup(PartElement& group, Area stretch, const Point& reference,
                      const Point& location, double sx, double sy, double angle);
  void TransformLine(LineElement& line, Area stretch, const Transform& m, const Point& d, double sx,
                     double sy);
  void TransformText(TextElement& text, Area stretch, const Transform& m, const Point& d, double sx,
                     double sy, double angle);
  void SetGroupHidden(PartElement& group, bool hidden);

  // ---- Fillings ----
  // The closed boundary of the lines; empty when memory ran out.
  std::vector<PenPathRecord> BuildBoundary(std::span<LineElement* const> lines, double accuracy);
  FillingElement* PickFilling(const Point& p);
  // Replaces the filling's hatch cache, empty when there is no hatch. Silent but for memory
  // running out; the caller tells the person about a too dense hatch.
  HatchStatus BuildHatch(FillingElement& filling);
  // The surface area in square drawing units; false when no boundary can be built.
  bool FillingArea(const FillingElement& filling, double& area);

private:
  template <class Element>
  bool Candidate(const Element& e, std::uint16_t qx, std::uint16_t qy) const;
  void QueryMasks(const Point& p, double r, std::uint16_t& qx, std::uint16_t& qy) const;
  template <class Element> void SetZones(Element& element, const Box& box) const;
  void RenewPart(PartElement& part);
  template <class Element> void PassToParts(const Element* element);
  void PassToFillings(const LineElement* line);
  void MoveLine(LineElement& line, Area stretch, const Transform& m, const Point& d, double sx,
                double sy);
  void MoveText(TextElement& text, Area stretch, const Transform& m, const Point& d, double sx,
                double sy, double angle);
  bool PartVisible(const PartElement& part) const;
  void TransformMembers(PartElement& group, Area stretch, const Transform& m, const Point& d,
                        double sx, double sy, double angle);
  bool MakePieces(const LineElement& line, const std::vector<std::vector<Point>>& shapes,
                  std::uint32_t shape, std::vector<LineElement*>& made);

  ElementStore& store_;
  Drawing& drawing_;
  StoreEnvironment& env_;

public:
  // The view width changes with every zoom; the caller keeps it current.
  GeometrySettings settings;
};

} // namespace lumora
