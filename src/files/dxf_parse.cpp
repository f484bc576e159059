#include "files/dxf_parse.h"

#include "files/dxf_binary.h"
#include "files/dxf_curves.h"
#include "files/dxf_guard.h"
#include "files/dxf_style.h"
#include "files/dxf_text.h"
#include "files/dxf_tokens.h"
#include "files/dxf_xdata.h"
#include "geometry/primitives.h"
#include "model/element_store.h"
#include "util/map_ahead.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>
#include <dl_creationadapter.h>
#include <dl_dxf.h>
#include <memory>
#include <new>
#include <numbers>
#include <sstream>
#include <unordered_map>
#include <utility>

namespace lumora {
namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;
constexpr int kByBlock = 0;
constexpr int kByLayer = 256;
constexpr int kPolylineClosed = 1;
constexpr int kPolylineMesh = 16;
constexpr int kPolylineFaces = 64;
constexpr int kLayerFrozen = 1;
constexpr int kPlotFlag = 290;          // of a layer: 0 when it is not plotted
constexpr double kPaperAccuracy = 0.04; // millimetres on paper between a curve and its chords
constexpr std::string_view kOwnApplication = "LUMORA";
constexpr const char* kPaperSpace = "paper space entity left out";
constexpr const char* kTextCut = "text cut to 32767 letters";
constexpr const char* kUnreadable = "letters not readable";
constexpr const char* kThinPolyline = "polyline width read as thin line";
constexpr const char* kOneDirection = "crosshatch read as one direction";
constexpr const char* kTiltedText = "text in a tilted plane read flat";
constexpr const char* kTiltedBlock = "block in a tilted plane read flat";
static_assert(kMaxTextLength == 32767);

struct LayerStyle {
  int aci = 7;
  int rgb = -1;
  std::string linetype = "CONTINUOUS";
  int lineweight = -3;
};

// An ellipse seen in the plan by two of its half diameters u and v (the points c + u cos t +
// v sin t, u and v not necessarily square to each other): its own major axis, where it lies on
// the parameter t, and its minor to major ratio, negative where it runs clockwise (as a
// mirrored ellipse does); 0 seen edge on.
struct SeenEllipse {
  Point major{0, 0};
  double t0 = 0;
  double ratio = 0;
};
SeenEllipse SeeEllipse(const Point& u, const Point& v) {
  // The major axis lies at the parameter where u cos t + v sin t is longest.
  SeenEllipse e;
  e.t0 =
      0.5 * std::atan2(2 * (u.x * v.x + u.y * v.y), u.x * u.x + u.y * u.y - v.x * v.x - v.y * v.y);
  e.major = {u.x * std::cos(e.t0) + v.x * std::sin(e.t0),
             u.y * std::cos(e.t0) + v.y * std::sin(e.t0)};
  const Point minor{-u.x * std::sin(e.t0) + v.x * std::cos(e.t0),
                    -u.y * std::sin(e.t0) + v.y * std::cos(e.t0)};
  constexpr double kEdgeOn = 1e-9;
  const double ratio = std::hypot(minor.x, minor.y) / std::hypot(e.major.x, e.major.y);
  if (ratio > kEdgeOn) e.ratio = e.major.x * minor.y - e.major.y * minor.x > 0 ? ratio : -ratio;
  return e;
}

// The straight line an ellipse seen edge on covers from t1 to t2: its two ends.
std::vector<Point> EdgeOn(const Point& c, const SeenEllipse& e, double t1, double t2,
                          double accuracy) {
  const std::vector<Point> points = EllipsePoints(c, e.major, 0, t1 - e.t0, t2 - e.t0, accuracy);
  if (points.empty()) return {};
  const auto along = [&](const Point& p) {
    return (p.x - c.x) * e.major.x + (p.y - c.y) * e.major.y;
  };
  const auto [low, high] =
      std::minmax_element(points.begin(), points.end(),
                          [&](const Point& a, const Point& b) { return along(a) < along(b); });
  return {*low, *high};
}

// An entity's object coordinate system, from its extrusion direction by the arbitrary axis
// rule: plan coordinates of the entity map to world x and y. A direction towards -z mirrors.
class Ocs {
public:
  Ocs() = default;
  explicit Ocs(const double* n) {
    // Most entities lie in the plan, seen from above: the identity.
    if (n[0] == 0 && n[1] == 0 && n[2] > 0 && std::isfinite(n[2])) return;
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (!std::isfinite(length) || !(length > 0)) return;
    const double nx = n[0] / length;
    const double ny = n[1] / length;
    const double nz = n[2] / length;
    constexpr double kNearZ = 1.0 / 64.0;
    double ax[3];
    if (std::fabs(nx) < kNearZ && std::fabs(ny) < kNearZ)
      ax[0] = nz, ax[1] = 0, ax[2] = -nx; // world y x n
    else
      ax[0] = -ny, ax[1] = nx, ax[2] = 0; // world z x n
    const double al = std::sqrt(ax[0] * ax[0] + ax[1] * ax[1] + ax[2] * ax[2]);
    for (double& a : ax) a /= al;
    const double ay[3] = {ny * ax[2] - nz * ax[1], nz * ax[0] - nx * ax[2],
                          nx * ax[1] - ny * ax[0]};
    xx_ = ax[0], xy_ = ay[0], yx_ = ax[1], yy_ = ay[1];
    nx_ = nx, ny_ = ny, nz_ = nz;
    identity_ = xx_ == 1 && yy_ == 1 && xy_ == 0 && yx_ == 0;
    mirrored_ = nz < 0;
    // Seen from above, a plane turned out of the plan shortens what lies in it.
    tilted_ = std::fabs(std::fabs(xx_ * yy_ - xy_ * yx_) - 1) > 1e-12;
  }
  bool identity() const { return identity_; }
  bool mirrored() const { return mirrored_; }
  bool tilted() const { return tilted_; }
  // The height of the plane above the origin (a polyline's or hatch's elevation): in a plane
  // turned out of the plan it moves what lies there sideways as seen from above. In the plan
  // or seen from below it moves nothing.
  void Raise(double z) {
    if (tilted_ && std::isfinite(z)) lift_ = {nx_ * z, ny_ * z};
  }
  // A point of the plane at a height above it, seen in the plan.
  Point Place(const Point& p, double z) const { return tilted_ ? Map(p, z) : Map(p); }
  // The entity's x and y axes, and a point at a height above its plane, seen in the plan.
  Point AxisX() const { return {xx_, yx_}; }
  Point AxisY() const { return {xy_, yy_}; }
  Point Map(const Point& p, double z) const {
    const Point q = Map(p);
    return {q.x + nx_ * z, q.y + ny_ * z};
  }
  // The plan of the direction square to the plane and to a direction in it (world x, y, z).
  Point Across(double x, double y, double z) const {
    return {ny_ * z - nz_ * y, nz_ * x - nx_ * z};
  }
  Point Map(const Point& p) const {
    return identity_ ? p : Point{xx_ * p.x + xy_ * p.y, yx_ * p.x + yy_ * p.y};
  }
  // A direction in degrees within the entity's plane, as seen in the world.
  double MapAngle(double degrees) const {
    if (identity_) return degrees;
    const double a = degrees / (180.0 / std::numbers::pi);
    const Point d = Map({std::cos(a), std::sin(a)});
    return std::atan2(d.y, d.x) * (180.0 / std::numbers::pi);
  }
  // A line built in the entity's plane, in the world: arcs keep running counter-clockwise. In a
  // plane turned out of the plan, arcs and circles are seen as ellipses, cut into chords within
  // the accuracy, or edge on as straight lines.
  void Map(SceneLine& line, double accuracy = 0) const {
    if (identity_) return;
    constexpr std::uint32_t kOpen = 1, kClosed = 2, kArc = 3, kCircle = 4;
    if (tilted_ && (line.shape == kArc || line.shape == kCircle) && line.points.size() >= 2) {
      const Point c = line.points[0];
      const Point s = line.points[1];
      const double r = std::hypot(s.x - c.x, s.y - c.y);
      const double a1 = std::atan2(s.y - c.y, s.x - c.x);
      double a2 = a1 + 2 * std::numbers::pi;
      if (line.shape == kArc && line.points.size() >= 3) {
        a2 = std::atan2(line.points[2].y - c.y, line.points[2].x - c.x);
        while (a2 <= a1) a2 += 2 * std::numbers::pi;
      }
      const Point mapped = Map(c);
      const Point seenCentre{mapped.x + lift_.x, mapped.y + lift_.y};
      const SeenEllipse e = SeeEllipse({xx_ * r, yx_ * r}, {xy_ * r, yy_ * r});
      const bool whole = line.shape == kCircle;
      line.shape = kOpen;
      if (e.ratio == 0) {
        line.points = EdgeOn(seenCentre, e, a1, a2, accuracy);
        return;
      }
      line.points = EllipsePoints(seenCentre, e.major, e.ratio, a1 - e.t0, a2 - e.t0, accuracy);
      if (whole && line.points.size() > 2) {
        line.points.pop_back();
        line.shape = kClosed;
      }
      return;
    }
    for (Point& p : line.points) p = Map(p);
    if (tilted_)
      for (Point& p : line.points) p = {p.x + lift_.x, p.y + lift_.y};
    if (mirrored_ && line.shape == 3 && line.points.size() == 3)
      std::swap(line.points[1], line.points[2]);
  }

private:
  bool identity_ = true;
  bool mirrored_ = false;
  bool tilted_ = false;
  double xx_ = 1, xy_ = 0, yx_ = 0, yy_ = 1;
  double nx_ = 0, ny_ = 0, nz_ = 1;
  Point lift_{0, 0};
};

// The program's positioning way of a TEXT's justification (72 horizontal, 73 vertical) and of
// an MTEXT's attachment point (71).
int WayOfJustification(int horizontal, int vertical) {
  constexpr int kCentre = 1, kRight = 2, kMiddle = 4;
  int column = 0;
  if (horizontal == kCentre || horizontal == kMiddle) column = 1;
  if (horizontal == kRight) column = 2;
  int row = 0;
  if (vertical == 2 || horizontal == kMiddle) row = 1;
  if (vertical == 3) row = 2;
  return 1 + column + 3 * row;
}
int WayOfAttachment(int attachment) {
  if (attachment < 1 || attachment > 9) return 7;
  const int row = 2 - (attachment - 1) / 3; // the attachment counts rows from the top
  return 1 + (attachment - 1) % 3 + 3 * row;
}

// The library reads an overflowing number as the largest double; such a coordinate (like a
// non-number) would overflow every box and zone computed from it.
bool Finite(double a) {
  return std::isfinite(a) && std::fabs(a) < kLargestDxfCoordinate;
}
bool Finite(const Point& p) {
  return Finite(p.x) && Finite(p.y);
}

// A path of a hatch's boundary traced as a polygon, its arcs and circles by a few chords each
// and every line taken from its end nearer the last: enough to tell which paths lie inside
// which.
std::vector<Point> PathOutline(std::span<const SceneLine> lines) {
  constexpr int kChords = 16;
  constexpr std::uint32_t kArc = 3, kCircle = 4;
  std::vector<Point> out;
  for (const SceneLine& l : lines) {
    std::vector<Point> points;
    if ((l.shape == kArc || l.shape == kCircle) && l.points.size() >= 2) {
      const Point c = l.points[0];
      const double r = std::hypot(l.points[1].x - c.x, l.points[1].y - c.y);
      const double a1 = std::atan2(l.points[1].y - c.y, l.points[1].x - c.x);
      double a2 = a1 + 2 * std::numbers::pi;
      if (l.shape == kArc && l.points.size() >= 3) {
        a2 = std::atan2(l.points[2].y - c.y, l.points[2].x - c.x);
        while (a2 <= a1) a2 += 2 * std::numbers::pi;
      }
      for (int k = 0; k <= kChords; ++k) {
        const double a = a1 + (a2 - a1) * k / kChords;
        points.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
      }
    } else {
      points = l.points;
    }
    const auto far = [](const Point& a, const Point& b) {
      return std::hypot(a.x - b.x, a.y - b.y);
    };
    if (!out.empty() && !points.empty() &&
        far(out.back(), points.back()) < far(out.back(), points.front()))
      std::reverse(points.begin(), points.end());
    out.insert(out.end(), points.begin(), points.end());
  }
  return out;
}

// A hatch's island style says which of its paths bound the hatched area: every one (the area
// inside an odd number of them is hatched), the outermost only and the islands right inside
// it, or the outermost only. The paths past what the style hatches are left out of the
// boundary. `starts`: the first line of each path.
void KeepIslands(std::vector<SceneLine>& boundary, const std::vector<std::size_t>& starts,
                 int style) {
  constexpr int kOutermost = 1, kIgnore = 2;
  if ((style != kOutermost && style != kIgnore) || starts.size() < 2) return;
  const auto end = [&](std::size_t k) {
    return k + 1 < starts.size() ? starts[k + 1] : boundary.size();
  };
  std::vector<std::vector<Point>> outlines;
  std::size_t corners = 0;
  for (std::size_t k = 0; k < starts.size(); ++k) {
    outlines.push_back(PathOutline(std::span(boundary).subspan(starts[k], end(k) - starts[k])));
    corners += outlines.back().size();
  }
  // Every path is looked for inside every other: past this much work a hatch of a great many
  // paths hatches them all, as the normal style does.
  constexpr double kMostWork = 5e7;
  if (static_cast<double>(corners) * static_cast<double>(starts.size()) > kMostWork) return;
  const int deepest = style == kOutermost ? 1 : 0;
  // (Lines before the first path, which the library never hands over, stay.)
  std::vector<SceneLine> kept(
      std::make_move_iterator(boundary.begin()),
      std::make_move_iterator(boundary.begin() + static_cast<std::ptrdiff_t>(starts[0])));
  for (std::size_t k = 0; k < starts.size(); ++k) {
    const std::vector<Point>& path = outlines[k];
    if (path.size() < 2) continue;
    // A point of the path's first edge (not a corner, which another path may share).
    const Point p{(path[0].x + path[1].x) / 2, (path[0].y + path[1].y) / 2};
    int depth = 0;
    for (std::size_t j = 0; j < outlines.size(); ++j)
      if (j != k && outlines[j].size() >= 3 && PointInPolygon(p.x, p.y, outlines[j]) == 1) ++depth;
    if (depth > deepest) continue;
    for (std::size_t n = starts[k]; n < end(k); ++n) kept.push_back(std::move(boundary[n]));
  }
  boundary = std::move(kept);
}

class SceneBuilder final : public DL_CreationAdapter {
public:
  SceneBuilder(DxfScene& scene, const DxfGuardResult& guard, DL_Dxf& dxf, bool markedUtf8)
      : scene_(scene), dxf_(dxf),
        dimensions_(guard.dimensionBlocks.begin(), guard.dimensionBlocks.end()),
        dimensionBlocks_(guard.dimensionBlocks.begin(), guard.dimensionBlocks.end()) {
    for (const auto& [kind, count] : guard.unknownEntities) scene_.notRead[kind] += count;
    markedUtf8_ = utf8_ = scene_.utf8 = markedUtf8;
    // Room for what the entities section holds, taken once. The counts only guess (a bulge
    // need not make an arc): the room is a hint, filled as it is used.
    try {
      scene_.model.lines.reserve(guard.lineEntities);
      scene_.model.texts.reserve(guard.textEntities);
    } catch (const std::bad_alloc&) {
    }
    MapAheadRoom(scene_.model.lines, false);
    MapAheadRoom(scene_.model.texts, false);
  }

  void Finish() {
    Flush();
    if (paperEntities_ > 0) scene_.model.approximated[kPaperSpace] += paperEntities_;
    scene_.curveAccuracy = Accuracy();
  }

  // Every pair, before the library sees it: what the library keeps only the last of (a
  // hatch's pattern lines) or does not hand over at all (the registered applications).
  void Pair(int code, std::string_view value) {
    // A text longer than the library keeps is taken whole here: the library has it cut.
    longChunk_.clear();
    if (value.size() > kDxfLibraryLine && MayBeLong(code)) {
      if (code == 1) current_.text.assign(value);
      if (code == 3) longChunk_.assign(value);
    }
    if (code == 0) {
      // The library completes the entity before this pair with it: its data moves aside.
      done_ = std::move(current_);
      current_ = RawEntity{};
      current_.appId = value == "APPID";
      current_.hatch = value == "HATCH";
      current_.placed = value == "LINE" || value == "INSERT";
      current_.polyline = value == "LWPOLYLINE" || value == "POLYLINE" || value == "VERTEX";
      current_.lineType = value == "LTYPE";
      doneDashes_ = std::move(dashes_);
      dashes_.clear();
      return;
    }
    // The library reads a coordinate that is no number as 0: such a line or insert is dropped.
    if (current_.placed && !DxfHoldsNumber(value) &&
        (code == 10 || code == 20 || code == 11 || code == 21 || code == 44 || code == 45 ||
         code == 50))
      current_.notANumber = true;
    if (current_.appId && code == 2 && value == kOwnApplication) scene_.own = true;
    // A pattern element that is a text or a shape (74 other than 0) draws more than dashes.
    if (current_.lineType && code == 74 && DxfInt(value) != 0) current_.drawsMarks = true;
    // A polyline's width: constant (43), or at the start and end of its segments (40, 41).
    if (current_.polyline && (code == 40 || code == 41 || code == 43) && DxfReal(value) > 0)
      current_.wide = true;
    if (!current_.hatch) return;
    // The number of boundary paths: the library keeps the last hatch's paths when it is 0.
    if (code == 91 && current_.loops < 0) current_.loops = std::atoi(std::string(value).c_str());
    if (code == 77 && DxfInt(value) == 1) current_.crossed = true; // drawn again across
    if (code == 75) current_.islandStyle = std::atoi(std::string(value).c_str());
    if (code == 78) current_.patternLines = true;
    if (!current_.patternLines) return;
    const double number = std::atof(std::string(value).c_str());
    // A pattern line in another direction than the first crosses it.
    if (code == 53 && current_.hasAngle && std::isfinite(number) &&
        std::fabs(std::remainder(number - current_.angle, 180.0)) > kSameDirection)
      current_.crossed = true;
    // The first line's dashes follow its angle, up to the next line's angle.
    if (code == 53) current_.firstLineDone = current_.hasAngle;
    if (code == 49 && current_.hasAngle && !current_.firstLineDone &&
        current_.dashes.size() < kMostDashes)
      current_.dashes.push_back(number);
    if (code == 53 && !current_.hasAngle) current_.hasAngle = true, current_.angle = number;
    if (code == 45 && !current_.hasDx) current_.hasDx = true, current_.dx = number;
    if (code == 46 && !current_.hasDy) current_.hasDy = true, current_.dy = number;
  }

  // ---- Header and tables ----
  void setVariableInt(const std::string& key, int value, int) override {
    if (key == "$INSUNITS") scene_.insUnits = value;
  }
  void setVariableDouble(const std::string& key, double value, int) override {
    if (key == "$DIMSCALE" && Finite(value)) scene_.dimScale = value;
    if (key == "$LTSCALE" && Finite(value) && value > 0) ltScale_ = value;
    if (key == "$USERR1" && Finite(value)) scene_.version = value;
  }
  void setVariableVector(const std::string& key, double x, double y, double, int) override {
    if (!Finite(x) || !Finite(y)) return;
    if (key == "$LIMMIN") scene_.limMin = {x, y}, limits_ |= 1;
    if (key == "$LIMMAX") scene_.limMax = {x, y}, limits_ |= 2;
    if (key == "$GRIDUNIT" && x > 0) scene_.gridStep = x;
    scene_.hasLimits = limits_ == 3;
  }
  void setVariableString(const std::string& key, const std::string& value, int) override {
    // From 2007 on, strings are stored as UTF-8; so are those of an older file marked so, by
    // a byte order mark or its code page.
    if (key == "$ACADVER") versionUtf8_ = value >= "AC1021";
    if (key == "$DWGCODEPAGE")
      markedUtf8_ = markedUtf8_ || Upper(value) == "UTF-8" || Upper(value) == "UTF8";
    utf8_ = scene_.utf8 = versionUtf8_ || markedUtf8_;
  }
  void addLayer(const DL_LayerData& data) override {
    const DL_Attributes& a = getAttributes();
    Forget(); // a layer's style may change what an entity's attributes map to
    const std::string name = Name(data.name);
    LayerStyle& layer = layers_[name];
    layer.aci = std::abs(a.getColor()); // a negative colour only marks the layer as off
    layer.rgb = a.getColor24();
    layer.linetype = a.getLinetype();
    layer.lineweight = a.getWidth();
    if (a.getColor() < 0 || (data.flags & kLayerFrozen) != 0) {
      scene_.hiddenLayers.insert(name);
    } else if (dxf_.getIntValue(kPlotFlag, 1) == 0) {
      // A layer drawn but never plotted (construction lines, notes to self): the program
      // plots what it shows, so it is hidden, and that is told.
      scene_.hiddenLayers.insert(name);
      scene_.unplottedLayers.insert(name);
    }
    // What the layer gives the members of blocks placed on it that draw "by layer".
    SceneLayer& look = scene_.layers[name];
    look.colour = layer.rgb != -1 ? ColourOfRgb(layer.rgb) : ColourOfAci(layer.aci);
    bool unknown = false;
    look.linetype = LinetypeNamed(layer.linetype, unknown);
    if (look.linetype.family == LineFamily::kByBlock) look.linetype = SceneLinetype{};
    look.linetype.period *= ltScale_;
    look.width = std::max(0, WidthOfLineweight(layer.lineweight));
  }
  void addLinetype(const DL_LinetypeData& data) override {
    Forget();
    SceneLinetype& type = linetypes_[Upper(data.name)];
    type.family = FamilyOfPattern(doneDashes_);
    type.period = 0;
    for (double d : doneDashes_) type.period += std::fabs(d);
    if (!std::isfinite(type.period)) type = SceneLinetype{};
    // The library ends a line type at a text element's own text (9) already, before the next
    // record begins: its marks are then still the current record's.
    type.drawsMarks = done_.drawsMarks || current_.drawsMarks;
  }
  void addLinetypeDash(double length) override { dashes_.push_back(length); }

  // ---- Blocks ----
  void addBlock(const DL_BlockData& data) override {
    Flush();
    const std::string upper = Upper(data.name);
    inDimension_ = false;
    if (upper == "*MODEL_SPACE") {
      block_ = &scene_.model;
    } else if (upper.starts_with("*PAPER_SPACE")) {
      block_ = &discard_;
    } else {
      block_ = &scene_.blocks[Name(data.name)];
      block_->base = {data.bpx, data.bpy};
      inDimension_ = dimensionBlocks_.contains(data.name);
      constexpr int kExternal = 4 | 8; // an external reference, or one overlaid
      if ((data.flags & kExternal) != 0) scene_.xrefs.insert(Name(data.name));
    }
    inBlock_ = true;
  }
  void endBlock() override {
    Flush();
    block_ = &scene_.model;
    inDimension_ = false;
    inBlock_ = false;
  }
  void endSequence() override { Flush(); }

  // ---- Entities ----
  void addLine(const DL_LineData& d) override {
    Begin();
    AddPath(kShapeOpenLine, {{d.x1, d.y1}, {d.x2, d.y2}}, "LINE", !done_.notANumber);
  }
  void addArc(const DL_ArcData& d) override {
    Begin();
    const double a1 = d.angle1 / kDegrees;
    const double a2 = d.angle2 / kDegrees;
    const Ocs ocs = EntityOcs();
    if (ocs.tilted()) return AddTiltedRound({d.cx, d.cy}, d.cz, d.radius, a1, a2, "ARC", ocs);
    AddPath(kShapeArcLine,
            {{d.cx, d.cy},
             {d.cx + d.radius * std::cos(a1), d.cy + d.radius * std::sin(a1)},
             {d.cx + d.radius * std::cos(a2), d.cy + d.radius * std::sin(a2)}},
            "ARC", Finite(d.radius) && d.radius > 0, ocs);
  }
  void addCircle(const DL_CircleData& d) override {
    Begin();
    const Ocs ocs = EntityOcs();
    if (ocs.tilted())
      return AddTiltedRound({d.cx, d.cy}, d.cz, d.radius, 0, 2 * std::numbers::pi, "CIRCLE", ocs);
    AddPath(kShapeCircleLine, {{d.cx, d.cy}, {d.cx + d.radius, d.cy}}, "CIRCLE",
            Finite(d.radius) && d.radius > 0, ocs);
  }
  void addEllipse(const DL_EllipseData& d) override {
    Begin();
    // An ellipse lies in world coordinates; a mirroring extrusion only turns its sense, a tilted
    // one turns its minor axis out of the plan.
    const Ocs ocs = EntityOcs();
    if (ocs.tilted()) {
      const Point across = ocs.Across(d.mx, d.my, d.mz);
      double t2 = d.angle2;
      if (t2 <= d.angle1) t2 += 2 * std::numbers::pi;
      return AddSeenEllipse({d.cx, d.cy}, {d.mx, d.my}, {across.x * d.ratio, across.y * d.ratio},
                            d.angle1, t2, "ELLIPSE");
    }
    const double ratio = ocs.mirrored() ? -d.ratio : d.ratio;
    AddEllipse({d.cx, d.cy}, {d.mx, d.my}, ratio, d.angle1, d.angle2, "ELLIPSE");
  }
  void addPolyline(const DL_PolylineData& d) override {
    Begin();
    if ((d.flags & (kPolylineMesh | kPolylineFaces)) != 0) {
      ++block_->notRead["POLYLINE"];
      return;
    }
    polyline_.active = true;
    polyline_.closed = (d.flags & kPolylineClosed) != 0;
    polyline_.points.clear();
    polyline_.bulges.clear();
    polyline_.attr = Attributes();
    polyline_.ocs = EntityOcs();
    // A lightweight polyline keeps its elevation in 38, an old one in the z of its own point.
    polyline_.ocs.Raise(d.elevation != 0 ? d.elevation : getExtrusion()->getElevation());
    polyline_.wide = done_.wide;
  }
  void addVertex(const DL_VertexData& d) override {
    if (!polyline_.active) return;
    polyline_.points.push_back({d.x, d.y});
    polyline_.bulges.push_back(d.bulge);
    polyline_.wide = polyline_.wide || done_.wide;
  }
  void addSpline(const DL_SplineData& d) override {
    Begin();
    spline_ = SplineState{};
    spline_.active = true;
    spline_.degree = static_cast<int>(d.degree);
    // The end tangents of a spline drawn through fit points (12/22, 13/23), read from the
    // pairs themselves.
    spline_.startTangent = {dxf_.getRealValue(12, 0.0), dxf_.getRealValue(22, 0.0)};
    spline_.endTangent = {dxf_.getRealValue(13, 0.0), dxf_.getRealValue(23, 0.0)};
    spline_.attr = Attributes();
  }
  void addControlPoint(const DL_ControlPointData& d) override {
    if (!spline_.active) return;
    spline_.control.push_back({d.x, d.y});
    spline_.weights.push_back(d.w);
  }
  void addFitPoint(const DL_FitPointData& d) override {
    if (spline_.active) spline_.fit.push_back({d.x, d.y});
  }
  void addKnot(const DL_KnotData& d) override {
    if (spline_.active) spline_.knots.push_back(d.k);
  }
  void addText(const DL_TextData& d) override {
    Begin();
    // Justified text is placed by its alignment point; aligned and fitted text (3, 5) by its
    // start, and spans the line to its alignment point.
    constexpr int kAligned = 3, kFit = 5;
    const bool byStart = d.hJustification == kAligned || d.hJustification == kFit ||
                         (d.hJustification == 0 && d.vJustification == 0);
    // A writer that leaves the alignment point out means the insertion point.
    const bool noAlignment = std::isnan(d.apx) || std::isnan(d.apy);
    const Point alignment = noAlignment ? Point{d.ipx, d.ipy} : Point{d.apx, d.apy};
    const double alignmentZ = noAlignment ? d.ipz : d.apz;
    const Ocs ocs = EntityOcs();
    SceneText t;
    t.points.push_back(byStart ? ocs.Place({d.ipx, d.ipy}, d.ipz)
                               : ocs.Place(alignment, alignmentZ));
    t.height = d.height;
    t.angle = ocs.MapAngle(d.angle * kDegrees);
    t.positioning = byStart ? 1 : WayOfJustification(d.hJustification, d.vJustification);
    t.widthRatio = WidthRatioCode(d.xScaleFactor);
    t.slant = SlantCode(dxf_.getRealValue(51, 0.0));
    textWidthOut_ = t.widthRatio != WidthRatioCode(d.xScaleFactor, false);
    textSlantOut_ = t.slant != SlantCode(dxf_.getRealValue(51, 0.0), false);
    t.text = PlainDxfText(done_.text.empty() ? d.text : done_.text, utf8_, &textUnreadable_);
    if (d.hJustification == kAligned || d.hJustification == kFit)
      Span(t, ocs.Place({d.ipx, d.ipy}, d.ipz), ocs.Place(alignment, alignmentZ),
           d.hJustification == kFit);
    ReadableGenerated(t, d.textGenerationFlags);
    if (ocs.mirrored()) Readable(t);
    textTilted_ = ocs.tilted();
    AddText(std::move(t), "TEXT");
  }
  void addMTextChunk(const std::string& text) override {
    mtext_ += longChunk_.empty() ? text : longChunk_;
    longChunk_.clear();
  }
  void addMText(const DL_MTextData& d) override {
    Begin();
    // The direction vector wins over the rotation, which files store in degrees.
    // Its place and direction are in world coordinates; a rotation without a direction turns
    // the entity's own x axis.
    const Ocs ocs = EntityOcs();
    double angle = 0;
    if (d.dirx != 0 || d.diry != 0)
      angle = std::atan2(d.diry, d.dirx) * kDegrees;
    else
      angle = ocs.MapAngle(dxf_.hasValue(50) ? dxf_.getRealValue(50, 0.0) : 0.0);
    mtext_ += done_.text.empty() ? d.text : done_.text;
    SceneText t;
    t.points.push_back({d.ipx, d.ipy});
    t.height = d.height;
    t.angle = angle;
    t.positioning = WayOfAttachment(d.attachmentPoint);
    if (ocs.mirrored()) Readable(t);
    textTilted_ = ocs.tilted();
    t.text = PlainMText(mtext_, utf8_, &textUnreadable_);
    mtext_.clear();
    // A reference width sets the paragraphs in rows within it.
    if (Finite(d.width) && d.width > 0 && Finite(d.height) && d.height > 0)
      t.text = WrapRows(t.text,
                        (d.width / (WidthOfRatioCode(t.widthRatio) * d.height) + kFontLetterSpace) /
                            (1 + kFontLetterSpace));
    AddText(std::move(t), "MTEXT");
  }
  void addInsert(const DL_InsertData& d) override {
    Begin();
    SceneInsert insert;
    insert.block = Name(d.name);
    const Ocs ocs = EntityOcs();
    insert.at = ocs.Place({d.ipx, d.ipy}, d.ipz);
    insert.sx = ocs.mirrored() ? -d.sx : d.sx;
    insert.sy = d.sy;
    insert.angle = ocs.MapAngle(d.angle);
    if (ocs.mirrored()) insert.angle -= 180; // the mirror in x is in the scale already
    insert.cols = std::max(1, d.cols);
    insert.rows = std::max(1, d.rows);
    // A grid steps along the insert's own turned axes, mirrored with them.
    const double a = d.angle / kDegrees;
    insert.colStep = ocs.Map({d.colSp * std::cos(a), d.colSp * std::sin(a)});
    insert.rowStep = ocs.Map({-d.rowSp * std::sin(a), d.rowSp * std::cos(a)});
    insert.attr = Attributes();
    RestoreOwnInsert(TakeXData(), insert);
    if (!Finite(insert.at) || !Finite(insert.sx) || !Finite(insert.sy) || !Finite(insert.angle) ||
        !Finite(insert.colStep) || !Finite(insert.rowStep) || insert.sx == 0 || insert.sy == 0 ||
        done_.notANumber) {
      ++block_->notRead["INSERT"];
      return;
    }
    // Its placement turns and scales within the plan; what it places is not foreshortened.
    if (ocs.tilted()) ++block_->approximated[kTiltedBlock];
    block_->inserts.push_back(std::move(insert));
  }
  void addHatch(const DL_HatchData& d) override {
    Begin();
    hatch_ = HatchState{};
    hatch_.active = true;
    hatch_.noBoundary = done_.loops <= 0;
    hatch_.islandStyle = done_.islandStyle;
    hatch_.ocs = EntityOcs();
    hatch_.ocs.Raise(getExtrusion()->getElevation()); // the z of its elevation point
    hatch_.filling.solid = d.solid;
    hatch_.crossed = done_.crossed && !d.solid;
    hatch_.filling.angle = d.angle;
    const std::string pattern = Upper(d.pattern);
    // A solid fill is counted as read near once its boundary is read.
    if (d.solid) {
    } else if (done_.hasAngle && done_.hasDx && done_.hasDy && !scene_.own) {
      // (The library writes one fixed pattern line into every hatch; this program's own files
      // keep their gap as the pattern scale.)
      // The first pattern line, stored already turned and scaled: its direction, and the
      // distance of the next line across it.
      const double a = done_.angle / kDegrees;
      hatch_.filling.angle = done_.angle;
      hatch_.filling.gap = std::fabs(-done_.dx * std::sin(a) + done_.dy * std::cos(a));
      // A dashed pattern line draws its lines in the nearest dashed style.
      hatch_.filling.pattern.family = FamilyOfPattern(done_.dashes);
      for (double dash : done_.dashes) hatch_.filling.pattern.period += std::fabs(dash);
      if (hatch_.filling.pattern.family == LineFamily::kSolid ||
          !Finite(hatch_.filling.pattern.period))
        hatch_.filling.pattern = SceneLinetype{};
    } else if (pattern == "_USER" || pattern == "USER") {
      hatch_.filling.gap = d.scale;
    } else {
      // A predefined pattern without its lines is drawn as the common one: 45 degrees at 1/8
      // inch.
      constexpr double kPatternGap = 3.175;
      constexpr double kPatternAngle = 45.0;
      hatch_.filling.gap = d.scale * kPatternGap;
      hatch_.filling.angle += kPatternAngle;
    }
    hatch_.filling.attr = Attributes();
  }
  void addHatchLoop(const DL_HatchLoopData&) override {
    if (!hatch_.active || hatch_.noBoundary) return;
    CloseHatchRun();
    hatch_.loopStarts.push_back(hatch_.filling.boundary.size());
  }
  void addHatchEdge(const DL_HatchEdgeData& e) override {
    if (hatch_.active && !hatch_.noBoundary) AddHatchEdge(e);
  }
  void addDimAlign(const DL_DimensionData&, const DL_DimAlignedData&) override { AddDimension(); }
  void addDimLinear(const DL_DimensionData&, const DL_DimLinearData&) override { AddDimension(); }
  void addDimRadial(const DL_DimensionData&, const DL_DimRadialData&) override { AddDimension(); }
  void addDimDiametric(const DL_DimensionData&, const DL_DimDiametricData&) override {
    AddDimension();
  }
  void addDimAngular(const DL_DimensionData&, const DL_DimAngular2LData&) override {
    AddDimension();
  }
  void addDimAngular3P(const DL_DimensionData&, const DL_DimAngular3PData&) override {
    AddDimension();
  }
  void addDimOrdinate(const DL_DimensionData&, const DL_DimOrdinateData&) override {
    AddDimension();
  }
  void addPoint(const DL_PointData&) override {
    // A dimension's definition points are drawn by no one: the dimension is read without them.
    if (inDimension_) return Begin();
    Skip("POINT");
  }
  void addXLine(const DL_XLineData&) override { Skip("XLINE"); }
  void addRay(const DL_RayData&) override { Skip("RAY"); }
  void addTrace(const DL_TraceData&) override { Skip("TRACE"); }
  void add3dFace(const DL_3dFaceData&) override { Skip("3DFACE"); }
  void addSolid(const DL_SolidData&) override { Skip("SOLID"); }
  void addArcAlignedText(const DL_ArcAlignedTextData&) override { Skip("ARCALIGNEDTEXT"); }
  void addAttribute(const DL_AttributeData&) override { Skip("ATTRIB"); }
  void addLeader(const DL_LeaderData&) override { Skip("LEADER"); }
  void addImage(const DL_ImageData&) override { Skip("IMAGE"); }

  // ---- The program's own extended data, which comes before its entity ----
  void addXDataApp(const std::string& app) override {
    Flush(); // the data of the next entity: what came before is complete
    own_ = app == kXDataApp;
    xdata_ = DxfXData{};
  }
  void addXDataInt(int, int value) override {
    if (own_) xdata_.ints.push_back(static_cast<std::uint32_t>(value));
  }
  void addXDataReal(int, double value) override {
    if (own_) xdata_.reals.push_back(value);
  }
  void addXDataString(int code, const std::string& value) override {
    if (!own_ || code != 1000) return;
    if (xdata_.tag.empty())
      xdata_.tag = value;
    else
      xdata_.strings.push_back(value);
  }

private:
  static constexpr std::uint32_t kShapeOpenLine = 1;
  static constexpr std::uint32_t kShapeClosedLine = 2;
  static constexpr std::uint32_t kShapeArcLine = 3;
  static constexpr std::uint32_t kShapeCircleLine = 4;

  struct PolylineState {
    bool active = false;
    bool closed = false;
    std::vector<Point> points;
    std::vector<double> bulges;
    SceneAttributes attr;
    Ocs ocs;
    bool wide = false; // drawn with a width, which lines do not have
  };
  // What the pairs of one entity said beyond the library: a hatch's first pattern line.
  struct RawEntity {
    bool appId = false, hatch = false; // the entity's kind
    int loops = -1;                    // a hatch's boundary paths, -1 before they are counted
    int islandStyle = 0;               // 0 every island, 1 the outermost only, 2 none
    bool patternLines = false;
    bool hasAngle = false, hasDx = false, hasDy = false;
    double angle = 0, dx = 0, dy = 0;
    bool firstLineDone = false;
    std::vector<double> dashes; // of the first pattern line
    bool crossed = false;       // lines in a second direction, or drawn again across
    std::string text;           // its text (group 1) where longer than the library keeps
    bool placed = false;        // a line or an insert: its place must be numbers
    bool notANumber = false;    // one of its coordinates, angle or spacings is none
    bool polyline = false;      // a light polyline, a polyline or a polyline's vertex
    bool wide = false;          // drawn with a width
    bool lineType = false;      // a line type of the table
    bool drawsMarks = false;    // a line type whose pattern draws texts or shapes
  };
  static constexpr std::size_t kMostDashes = 64;
  static constexpr double kSameDirection = 1e-6; // degrees
  struct SplineState {
    bool active = false;
    int degree = 0;
    std::vector<double> knots;
    std::vector<Point> control;
    std::vector<double> weights;
    std::vector<Point> fit;
    Point startTangent{0, 0};
    Point endTangent{0, 0};
    SceneAttributes attr;
  };
  struct HatchState {
    bool active = false;
    bool noBoundary = false; // its edges are another hatch's, left with the library
    Ocs ocs;
    SceneFilling filling;
    std::vector<Point> run; // straight edges not yet made a line
    bool runStarted = false;
    Point runStart{0, 0};
    bool crossed = false; // its lines in a second direction are not read
    int islandStyle = 0;
    std::vector<std::size_t> loopStarts; // the first boundary line of each path
  };

  // Names of layers and blocks are told apart as the file writes them: two names that become
  // one in the program's Latin-1 are still two. They are shown in Latin-1 once they are placed.
  static const std::string& Name(const std::string& raw) { return raw; }

  // An aligned text spans from its start to its end point at its own proportions (its height
  // follows), a fitted one at its own height (its width follows).
  void Span(SceneText& t, const Point& from, const Point& to, bool fit) {
    const double length = std::hypot(to.x - from.x, to.y - from.y);
    if (!Finite(length) || !(length > 0) || t.text.empty()) return;
    t.angle = std::atan2(to.y - from.y, to.x - from.x) * kDegrees;
    const double cells = TextCells(t.text);
    if (!fit) {
      t.height = length / (cells * WidthOfRatioCode(t.widthRatio));
      return;
    }
    if (!(t.height > 0)) return;
    const int wanted = static_cast<int>(std::round(
        std::clamp((length / (cells * t.height) - kLeastWidth) / kWidthStep, -1.0, 99.0)));
    t.widthRatio = std::clamp(wanted, 0, kMostWidthCode);
    textWidthOut_ = t.widthRatio != wanted;
  }

  // Text seen from below reads mirrored; the drafter reads it the right way round in the same
  // place: its baseline turned half a turn, left and right justification exchanged.
  static void Readable(SceneText& t) {
    constexpr int kColumns = 3;
    t.angle = std::remainder(t.angle + 180.0, 360.0);
    const int column = (t.positioning - 1) % kColumns;
    t.positioning += (kColumns - 1) - 2 * column;
  }

  // Text written backward or upside down reads the right way round over the same place: run
  // the other way from its point (left and right justification exchanged), or hanging from it
  // (baseline and top exchanged); both at once are a half turn.
  static void ReadableGenerated(SceneText& t, int flags) {
    constexpr int kBackward = 2, kUpsideDown = 4, kColumns = 3;
    const int column = (t.positioning - 1) % kColumns;
    const int row = (t.positioning - 1) / kColumns;
    if ((flags & kBackward) != 0 && (flags & kUpsideDown) != 0) {
      t.angle = std::remainder(t.angle + 180.0, 360.0);
    } else if ((flags & kBackward) != 0) {
      t.positioning += (kColumns - 1) - 2 * column;
    } else if ((flags & kUpsideDown) != 0) {
      t.positioning += kColumns * ((kColumns - 1) - 2 * row);
    }
  }

  static std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
  }

  double Accuracy() const {
    const double unitsPerMm = 1.0 / MillimetresOfUnit(scene_.insUnits);
    const double scale = scene_.dimScale > 0 ? scene_.dimScale : 1.0;
    return kPaperAccuracy * unitsPerMm * scale;
  }

  Ocs EntityOcs() { return Ocs(getExtrusion()->getDirection()); }

  // The width of a text's letters to their height: 0.4 and a tenth per step of its code.
  static constexpr double kLeastWidth = 0.4;
  static constexpr double kWidthStep = 0.1;
  static constexpr int kMostWidthCode = 7;
  static double WidthOfRatioCode(int code) { return kLeastWidth + kWidthStep * code; }
  // A width factor scales a font's own proportions; the program's ordinary text is 0.7 as
  // wide as high, so that is what a factor of 1 becomes. `clamp` false: the code wanted,
  // which may lie beyond the record's range.
  static int WidthRatioCode(double factor, bool clamp = true) {
    constexpr double kOrdinary = 0.7, kFar = 1e6;
    if (!std::isfinite(factor) || !(factor > 0)) factor = 1;
    const double code = std::round(std::min((kOrdinary * factor - kLeastWidth) / kWidthStep, kFar));
    return static_cast<int>(clamp ? std::clamp(code, 0.0, double{kMostWidthCode}) : code);
  }
  static int SlantCode(double obliqueDegrees, bool clamp = true) {
    constexpr double kStep = 0.2, kFar = 1e6;
    constexpr int kMost = 3;
    if (!std::isfinite(obliqueDegrees)) return 0;
    const double slant = std::tan(std::remainder(obliqueDegrees, 180.0) / kDegrees);
    const double code = std::round(std::clamp(slant / kStep, -kFar, kFar));
    return static_cast<int>(clamp ? std::clamp(code, 0.0, double{kMost}) : code);
  }

  // Entities mostly repeat the attributes of the one before: those map once.
  SceneAttributes Attributes() {
    DL_Attributes a = getAttributes();
    std::string layerName = Name(a.getLayer());
    std::string linetype = a.getLinetype();
    const double typeScale = a.getLinetypeScale();
    if (!(lastValid_ && layerName == lastLayer_ && linetype == lastLinetype_ &&
          a.getColor() == lastColour_ && a.getColor24() == lastRgb_ && a.getWidth() == lastWidth_ &&
          typeScale == lastTypeScale_)) {
      lastLayer_ = layerName;
      lastLinetype_ = linetype;
      lastColour_ = a.getColor();
      lastRgb_ = a.getColor24();
      lastWidth_ = a.getWidth();
      lastTypeScale_ = typeScale;
      // A drawing has a few kinds of attributes, mapped once each.
      MappedKey key{layerName,    linetype,  a.getColor(), a.getColor24(),
                    a.getWidth(), typeScale, ltScale_};
      const auto known = mapped_.find(key);
      if (known != mapped_.end()) {
        lastOut_ = known->second.attributes;
        lastUnknown_ = known->second.unknown;
      } else {
        lastOut_ = MapAttributes(a, std::move(layerName), std::move(linetype), lastUnknown_);
        constexpr std::size_t kMostMapped = 4096; // a file of ever new attributes maps each
        if (mapped_.size() < kMostMapped)
          mapped_.emplace(std::move(key), Mapped{lastOut_, lastUnknown_});
      }
      lastValid_ = true;
    }
    if (lastUnknown_) ++block_->approximated["unknown linetype read as solid"];
    if (lastOut_.linetype.drawsMarks) ++block_->approximated["linetype read without its texts"];
    return lastOut_;
  }

  // What the tables say has changed: attributes map anew.
  void Forget() {
    lastValid_ = false;
    mapped_.clear();
  }

  SceneAttributes MapAttributes(DL_Attributes& a, std::string layerName, std::string linetype,
                                bool& unknown) const {
    SceneAttributes out;
    out.layer = layerName.empty() ? "0" : std::move(layerName);
    const auto found = layers_.find(out.layer);
    const LayerStyle layer = found == layers_.end() ? LayerStyle{} : found->second;
    int aci = a.getColor();
    int rgb = a.getColor24();
    if (aci == kByLayer) {
      aci = layer.aci;
      out.colourByLayer = rgb == -1;
      if (rgb == -1) rgb = layer.rgb;
    }
    if (rgb != -1)
      out.colour = ColourOfRgb(rgb);
    else if (aci == kByBlock)
      out.colour = -1; // the colour of the insert
    else
      out.colour = ColourOfAci(aci);
    out.linetype = LinetypeNamed(Upper(linetype) == "BYLAYER" ? layer.linetype : linetype, unknown);
    out.linetypeByLayer =
        Upper(linetype) == "BYLAYER" && out.linetype.family != LineFamily::kByBlock;
    double scale = a.getLinetypeScale();
    if (!Finite(scale) || !(scale > 0)) scale = 1;
    out.linetypeScale = scale;
    out.linetype.period *= scale * ltScale_;
    int weight = a.getWidth();
    out.widthByLayer = weight == -1;
    if (weight == -1) weight = layer.lineweight;
    out.width = std::max(0, WidthOfLineweight(weight));
    return out;
  }

  // A line type by its name: from the file's table, else a well-known name, else solid.
  SceneLinetype LinetypeNamed(const std::string& name, bool& unknown) const {
    unknown = false;
    const std::string upper = Upper(name);
    if (upper == "BYBLOCK") return SceneLinetype{.family = LineFamily::kByBlock};
    if (upper == "BYLAYER" || upper == "CONTINUOUS") return SceneLinetype{};
    const auto defined = linetypes_.find(upper);
    if (defined != linetypes_.end()) return defined->second;
    bool known = true;
    SceneLinetype type;
    type.family = FamilyOfName(name, known);
    unknown = !known;
    return type;
  }

  // Every entity begins by completing the one before it (polylines, splines and hatches
  // gather their parts until the next entity).
  // Paper space (a layout's sheet: its frame, title and views of the model) is no part of the
  // drawing: its entities are left out and counted.
  void Begin() {
    Flush();
    if (!inBlock_) block_ = getAttributes().isInPaperSpace() ? &discard_ : &scene_.model;
    if (block_ == &discard_) ++paperEntities_;
  }

  void Skip(const char* kind) {
    Begin();
    ++block_->notRead[kind];
  }

  // A block's curves keep what they were cut from: a placement larger than the block cuts them
  // again.
  bool KeepsCurves() const { return inBlock_ && block_ != &scene_.model && block_ != &discard_; }

  std::shared_ptr<const DxfCurve> EllipseCurve(const Point& centre, const Point& major,
                                               double ratio, double t1, double t2,
                                               std::size_t points, bool whole) const {
    if (!KeepsCurves() || points < 2) return nullptr;
    auto curve = std::make_shared<DxfCurve>();
    curve->segments = static_cast<int>(points) - 1;
    curve->whole = whole;
    curve->centre = centre;
    curve->major = major;
    curve->ratio = ratio;
    curve->t1 = t1;
    curve->t2 = t2;
    return curve;
  }

  // An ellipse (world coordinates) from parameter t1 to t2, a whole one closed.
  void AddEllipse(const Point& centre, const Point& major, double ratio, double t1, double t2,
                  const char* kind) {
    std::vector<Point> points = EllipsePoints(centre, major, ratio, t1, t2, Accuracy());
    const bool whole = std::fabs(std::fabs(t2 - t1) - 2 * std::numbers::pi) < 1e-9;
    auto curve = EllipseCurve(centre, major, ratio, t1, t2, points.size(), whole);
    if (whole && points.size() > 2) points.pop_back();
    AddPath(whole ? kShapeClosedLine : kShapeOpenLine, std::move(points), kind, true, Ocs(),
            std::move(curve));
  }

  // A circle or arc (angles in radians) in a plane turned out of the plan is seen from above as
  // an ellipse.
  void AddTiltedRound(const Point& centre, double z, double radius, double a1, double a2,
                      const char* kind, const Ocs& ocs) {
    if (!Finite(centre) || !Finite(z) || !Finite(radius) || !(radius > 0)) {
      ++block_->notRead[kind];
      TakeXData();
      return;
    }
    if (a2 <= a1) a2 += 2 * std::numbers::pi; // an arc runs anticlockwise in its plane
    AddSeenEllipse(ocs.Map(centre, z), {ocs.AxisX().x * radius, ocs.AxisX().y * radius},
                   {ocs.AxisY().x * radius, ocs.AxisY().y * radius}, a1, a2, kind);
  }

  // The points c + u cos t + v sin t from t1 to t2 (radians, t2 after t1; u and v half
  // diameters of an ellipse as seen in the plan, not necessarily square to each other): drawn
  // as an ELLIPSE is, or seen edge on, as the straight line they cover.
  void AddSeenEllipse(const Point& c, const Point& u, const Point& v, double t1, double t2,
                      const char* kind) {
    if (!Finite(u) || !Finite(v) || !Finite(t1) || !Finite(t2)) {
      ++block_->notRead[kind];
      TakeXData();
      return;
    }
    const SeenEllipse e = SeeEllipse(u, v);
    if (e.ratio != 0) {
      const double whole = 2 * std::numbers::pi;
      AddEllipse(c, e.major, e.ratio, t1 - e.t0, t2 - t1 >= whole ? t1 - e.t0 + whole : t2 - e.t0,
                 kind);
      return;
    }
    std::vector<Point> ends = EdgeOn(c, e, t1, t2, Accuracy());
    if (ends.empty()) {
      ++block_->notRead[kind];
      TakeXData();
      return;
    }
    AddPath(kShapeOpenLine, std::move(ends), kind);
  }

  void AddPath(std::uint32_t shape, std::vector<Point> points, const char* kind, bool valid = true,
               const Ocs& ocs = Ocs(), std::shared_ptr<const DxfCurve> curve = nullptr) {
    bool finite = valid && points.size() >= 2;
    for (const Point& p : points) finite = finite && Finite(p);
    if (!finite) {
      ++block_->notRead[kind];
      TakeXData();
      return;
    }
    SceneLine line;
    line.shape = shape;
    line.points = std::move(points);
    ocs.Map(line);
    line.attr = Attributes();
    const DxfXData xdata = TakeXData();
    line.measureGraphics = xdata.tag == kMeasureGraphicsTag;
    RestoreOwnLine(xdata, line);
    line.curve = std::move(curve);
    PushLine(std::move(line));
  }

  // Lines longer than a record holds are cut into pieces that share their end points.
  void PushLine(SceneLine line) {
    constexpr std::size_t kMaxPoints = 0xFFFF;
    if (line.points.size() <= kMaxPoints) {
      block_->lines.push_back(std::move(line));
      return;
    }
    if (line.shape == kShapeClosedLine) {
      line.points.push_back(line.points.front());
      line.shape = kShapeOpenLine;
    }
    for (std::size_t from = 0; from + 1 < line.points.size(); from += kMaxPoints - 1) {
      SceneLine piece = line;
      piece.curve = nullptr;
      const std::size_t to = std::min(line.points.size(), from + kMaxPoints);
      piece.points.assign(line.points.begin() + static_cast<std::ptrdiff_t>(from),
                          line.points.begin() + static_cast<std::ptrdiff_t>(to));
      block_->lines.push_back(std::move(piece));
    }
  }

  void AddText(SceneText t, const char* kind) {
    const DxfXData xdata = TakeXData();
    const bool widthOut = std::exchange(textWidthOut_, false);
    const bool slantOut = std::exchange(textSlantOut_, false);
    const std::size_t unreadable = std::exchange(textUnreadable_, 0);
    const bool tilted = std::exchange(textTilted_, false);
    if (!Finite(t.points.front()) || !Finite(t.height) || !Finite(t.angle) || !(t.height > 0) ||
        t.text.empty()) {
      ++block_->notRead[kind];
      return;
    }
    t.attr = Attributes();
    RestoreOwnText(xdata, t);
    if (!t.ownRecord && widthOut) ++block_->approximated["text width out of range"];
    if (!t.ownRecord && slantOut) ++block_->approximated["text slant out of range"];
    if (t.text.size() > kMaxTextLength) ++block_->approximated[kTextCut];
    // Seen from above, letters standing in a tilted plane would be narrower or lower than
    // they are drawn here.
    if (tilted) ++block_->approximated[kTiltedText];
    if (unreadable > 0) block_->approximated[kUnreadable] += static_cast<std::int64_t>(unreadable);
    block_->texts.push_back(std::move(t));
  }

  void AddDimension() {
    Begin();
    const DxfXData xdata = TakeXData();
    (void)xdata;
    if (dimensions_.empty()) {
      ++block_->notRead["DIMENSION"];
      return;
    }
    SceneInsert insert;
    insert.block = Name(dimensions_.front());
    dimensions_.pop_front();
    insert.attr = Attributes();
    insert.explode = true;
    block_->inserts.push_back(std::move(insert));
  }

  void FlushPolyline() {
    PolylineState p = std::move(polyline_);
    polyline_ = PolylineState{};
    if (p.points.empty()) return;
    const DxfXData xdata = TakeXData();
    for (const Point& q : p.points)
      if (!Finite(q)) return void(++block_->notRead["POLYLINE"]);
    if (p.wide) ++block_->approximated[kThinPolyline];
    bool bulged = false;
    for (std::size_t k = 0; k + 1 < p.bulges.size() || (p.closed && k < p.bulges.size()); ++k)
      bulged = bulged || std::fabs(p.bulges[k]) > 1e-9;
    if (!bulged) {
      SceneLine line;
      line.shape = p.closed && p.points.size() > 2 ? kShapeClosedLine : kShapeOpenLine;
      line.points = std::move(p.points);
      p.ocs.Map(line);
      line.attr = p.attr;
      line.measureGraphics = xdata.tag == kMeasureGraphicsTag;
      RestoreOwnLine(xdata, line);
      if (line.points.size() >= 2) PushLine(std::move(line));
      return;
    }
    // Straight runs stay polylines; every bulged segment becomes an arc of its own.
    if (p.closed) p.points.push_back(p.points.front());
    SceneLine run;
    run.attr = p.attr;
    auto endRun = [&]() {
      p.ocs.Map(run);
      if (run.points.size() >= 2) {
        PushLine(std::move(run));
        run = SceneLine{};
        run.attr = p.attr;
      }
      run.points.clear();
    };
    for (std::size_t k = 0; k + 1 < p.points.size(); ++k) {
      Point arc[3];
      if (BulgeArc(p.points[k], p.points[k + 1], p.bulges[k < p.bulges.size() ? k : 0], arc)) {
        endRun();
        SceneLine a;
        a.shape = kShapeArcLine;
        a.points.assign(arc, arc + 3);
        p.ocs.Map(a, Accuracy());
        a.attr = p.attr;
        block_->lines.push_back(std::move(a));
        continue;
      }
      if (run.points.empty()) run.points.push_back(p.points[k]);
      run.points.push_back(p.points[k + 1]);
    }
    endRun();
  }

  void FlushSpline() {
    SplineState s = std::move(spline_);
    spline_ = SplineState{};
    bool allOne = true;
    for (double w : s.weights) allOne = allOne && w == 1.0;
    if (allOne) s.weights.clear();
    SceneLine line;
    line.points = SplinePoints(s.degree, s.knots, s.control, s.weights, Accuracy());
    std::shared_ptr<DxfCurve> curve = KeepsCurves() ? std::make_shared<DxfCurve>() : nullptr;
    if (!line.points.empty() && curve) {
      curve->kind = DxfCurve::Kind::kSpline;
      curve->degree = s.degree;
      curve->knots = std::move(s.knots);
      curve->control = std::move(s.control);
      curve->weights = std::move(s.weights);
    } else if (line.points.empty()) {
      // A spline drawn through fit points only is the smooth curve through them.
      line.points = FitPointCurve(s.fit, s.startTangent, s.endTangent, Accuracy());
      if (!line.points.empty() && curve) {
        curve->kind = DxfCurve::Kind::kFit;
        curve->control = std::move(s.fit);
        curve->startTangent = s.startTangent;
        curve->endTangent = s.endTangent;
      } else {
        curve = nullptr;
      }
    }
    if (line.points.empty()) line.points = std::move(s.control);
    if (curve) curve->segments = static_cast<int>(line.points.size()) - 1;
    line.curve = std::move(curve);
    line.attr = s.attr;
    TakeXData();
    for (const Point& q : line.points)
      if (!Finite(q)) return void(++block_->notRead["SPLINE"]);
    if (line.points.size() < 2) return void(++block_->notRead["SPLINE"]);
    PushLine(std::move(line));
  }

  void CloseHatchRun() {
    if (hatch_.run.size() >= 2) {
      SceneLine line;
      line.points = std::move(hatch_.run);
      // A loop of straight edges only that returns to its start is one closed line.
      if (line.points.size() > 3 && line.points.front().x == line.points.back().x &&
          line.points.front().y == line.points.back().y) {
        line.points.pop_back();
        line.shape = kShapeClosedLine;
      }
      hatch_.filling.boundary.push_back(std::move(line));
    }
    hatch_.run.clear();
  }

  void AddHatchEdge(const DL_HatchEdgeData& e) {
    SceneFilling& f = hatch_.filling;
    switch (e.type) {
    case 0: { // a polyline loop: x, y and bulge per vertex
      CloseHatchRun();
      polyline_ = PolylineState{};
      polyline_.active = true;
      polyline_.closed = true;
      for (const std::vector<double>& v : e.vertices) {
        if (v.size() < 2) continue;
        polyline_.points.push_back({v[0], v[1]});
        polyline_.bulges.push_back(v.size() > 2 ? v[2] : 0.0);
      }
      SceneBlock* saved = block_;
      SceneBlock loop;
      block_ = &loop;
      FlushPolyline();
      block_ = saved;
      for (SceneLine& l : loop.lines) f.boundary.push_back(std::move(l));
      break;
    }
    case 1: {
      const Point a{e.x1, e.y1};
      const Point b{e.x2, e.y2};
      if (hatch_.run.empty() || hatch_.run.back().x != a.x || hatch_.run.back().y != a.y) {
        CloseHatchRun();
        hatch_.run.push_back(a);
      }
      hatch_.run.push_back(b);
      break;
    }
    case 2: {
      CloseHatchRun();
      SceneLine arc;
      const double sweep = std::fabs(e.angle2 - e.angle1);
      double a1 = e.ccw ? e.angle1 : -e.angle2;
      double a2 = e.ccw ? e.angle2 : -e.angle1;
      const Point c{e.cx, e.cy};
      arc.points = {c, {c.x + e.radius * std::cos(a1), c.y + e.radius * std::sin(a1)}};
      if (sweep >= 2 * std::numbers::pi - 1e-9) {
        arc.shape = kShapeCircleLine;
      } else {
        arc.shape = kShapeArcLine;
        arc.points.push_back({c.x + e.radius * std::cos(a2), c.y + e.radius * std::sin(a2)});
      }
      f.boundary.push_back(std::move(arc));
      break;
    }
    case 3: {
      CloseHatchRun();
      // A clockwise edge keeps its parameters mirrored, as an arc edge does.
      const double t1 = e.ccw ? e.angle1 : -e.angle2;
      const double t2 = e.ccw ? e.angle2 : -e.angle1;
      SceneLine line;
      line.points = EllipsePoints({e.cx, e.cy}, {e.mx, e.my}, e.ratio, t1, t2, Accuracy());
      line.curve =
          EllipseCurve({e.cx, e.cy}, {e.mx, e.my}, e.ratio, t1, t2, line.points.size(), false);
      if (line.points.size() >= 2) f.boundary.push_back(std::move(line));
      break;
    }
    case 4: {
      CloseHatchRun();
      // A rational edge weighs its control points (exact arcs are written so), as a SPLINE
      // entity does. Only a rational edge has weights (the library may leave its flag unset).
      const bool rational = e.weights.size() == e.controlPoints.size();
      std::vector<Point> control;
      std::vector<double> weights;
      bool allOne = true;
      for (std::size_t k = 0; k < e.controlPoints.size(); ++k) {
        const std::vector<double>& v = e.controlPoints[k];
        if (v.size() < 2) continue;
        control.push_back({v[0], v[1]});
        weights.push_back(rational ? e.weights[k] : 1.0);
        allOne = allOne && weights.back() == 1.0;
      }
      if (allOne) weights.clear();
      SceneLine line;
      line.points = SplinePoints(static_cast<int>(e.degree), e.knots, control, weights, Accuracy());
      if (line.points.size() < 2) break;
      if (KeepsCurves()) {
        auto curve = std::make_shared<DxfCurve>();
        curve->kind = DxfCurve::Kind::kSpline;
        curve->segments = static_cast<int>(line.points.size()) - 1;
        curve->degree = static_cast<int>(e.degree);
        curve->knots = e.knots;
        curve->control = std::move(control);
        curve->weights = std::move(weights);
        line.curve = std::move(curve);
      }
      f.boundary.push_back(std::move(line));
      break;
    }
    default:
      break;
    }
  }

  void FlushHatch() {
    CloseHatchRun();
    HatchState h = std::move(hatch_);
    hatch_ = HatchState{};
    RestoreOwnFilling(TakeXData(), h.filling);
    bool finite = !h.filling.boundary.empty() && Finite(h.filling.gap) && Finite(h.filling.angle);
    for (const SceneLine& l : h.filling.boundary)
      for (const Point& p : l.points) finite = finite && Finite(p);
    if (!finite) return void(++block_->notRead["HATCH"]);
    if (h.filling.solid) ++block_->approximated["solid fill read as hatch"];
    if (h.crossed) ++block_->approximated[kOneDirection];
    if (!scene_.own) KeepIslands(h.filling.boundary, h.loopStarts, h.islandStyle);
    for (SceneLine& l : h.filling.boundary) {
      h.ocs.Map(l, Accuracy());
      if (!h.ocs.identity()) l.curve = nullptr; // its curves lie in the hatch's own plane
    }
    h.filling.angle = h.ocs.MapAngle(h.filling.angle);
    block_->fillings.push_back(std::move(h.filling));
  }

  void Flush() {
    if (polyline_.active) FlushPolyline();
    if (spline_.active) FlushSpline();
    if (hatch_.active) FlushHatch();
  }

  DxfXData TakeXData() {
    DxfXData out = own_ ? std::move(xdata_) : DxfXData{};
    own_ = false;
    xdata_ = DxfXData{};
    return out;
  }

  DxfScene& scene_;
  DL_Dxf& dxf_;
  std::deque<std::string> dimensions_;
  std::set<std::string> dimensionBlocks_; // as the file names them
  bool inDimension_ = false;              // in the block a dimension draws
  std::map<std::string, LayerStyle, DxfNameLess> layers_;
  std::map<std::string, SceneLinetype> linetypes_; // by upper-case name
  std::vector<double> dashes_;                     // of the line type being read
  std::vector<double> doneDashes_;                 // of the line type just completed
  RawEntity current_;
  RawEntity done_;
  double ltScale_ = 1.0;
  int limits_ = 0;
  SceneBlock* block_ = &scene_.model;
  SceneBlock discard_; // paper space
  bool inBlock_ = false;
  std::int64_t paperEntities_ = 0;
  PolylineState polyline_;
  SplineState spline_;
  HatchState hatch_;
  std::string mtext_;
  std::string longChunk_;          // a piece of an MTEXT's text (group 3) the library has cut
  bool textWidthOut_ = false;      // the TEXT being added is wider or narrower than texts can be
  bool textTilted_ = false;        // or stand in a plane turned out of the plan
  bool textSlantOut_ = false;      // or slants beyond what they can
  std::size_t textUnreadable_ = 0; // its letters the character set lacks, read as '?'
  bool markedUtf8_ = false;        // by a byte order mark or the code page
  bool versionUtf8_ = false;       // by the version
  bool utf8_ = false;
  bool own_ = false;
  DxfXData xdata_;
  bool lastValid_ = false;
  std::string lastLayer_;
  std::string lastLinetype_;
  int lastColour_ = 0;
  int lastRgb_ = 0;
  int lastWidth_ = 0;
  double lastTypeScale_ = 1.0;
  bool lastUnknown_ = false;
  SceneAttributes lastOut_;
  // Attributes mapped since the tables last changed, by all that their mapping reads.
  struct MappedKey {
    std::string layer;
    std::string linetype;
    int colour = 0;
    int rgb = 0;
    int width = 0;
    double typeScale = 1.0;
    double ltScale = 1.0;
    bool operator==(const MappedKey&) const = default;
  };
  struct MappedHash {
    std::size_t operator()(const MappedKey& k) const {
      std::size_t h = std::hash<std::string>()(k.layer);
      const auto mix = [&h](std::size_t v) { h = (h ^ v) * 0x100000001b3ULL; };
      mix(std::hash<std::string>()(k.linetype));
      mix(static_cast<std::size_t>(k.colour));
      mix(static_cast<std::size_t>(k.rgb));
      mix(static_cast<std::size_t>(k.width));
      mix(std::hash<double>()(k.typeScale));
      mix(std::hash<double>()(k.ltScale));
      return h;
    }
  };
  struct Mapped {
    SceneAttributes attributes;
    bool unknown = false;
  };
  std::unordered_map<MappedKey, Mapped, MappedHash> mapped_;
};

} // namespace

bool ParseDxf(std::span<const char> bytes, DxfScene& scene, std::string& problem, bool fast) {
  // A file of text may begin with the byte order mark of UTF-8: no pair, but it marks the
  // strings as UTF-8.
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  const bool marked =
      std::string_view(bytes.data(), std::min<std::size_t>(bytes.size(), 3)) == kByteOrderMark;
  if (marked) bytes = bytes.subspan(kByteOrderMark.size());
  // A binary file is read as the text it stands for.
  if (IsBinaryDxf(bytes)) {
    std::string text;
    if (!BinaryDxfToText(bytes, text, problem)) return false;
    return ParseDxf(std::span<const char>(text.data(), text.size()), scene, problem, fast);
  }
  const DxfGuardResult guard = CheckDxfInput(bytes);
  if (!guard.ok) {
    problem = guard.problem;
    return false;
  }
  DL_Dxf dxf;
  SceneBuilder builder(scene, guard, dxf, marked);
  try {
    // The library reads the pairs one call at a time; the builder sees each one first, from
    // its own walk over the same lines. One comment through the library's whole-stream
    // reading sets its state up (and names the version whose angle units it then reads).
    std::istringstream start("999\ndxflib " DL_VERSION "\n");
    dxf.in(start, &builder);
    DxfPairs pairs(bytes);
    DxfEntityDecoder decoder(dxf, builder, bytes, fast);
    int code = 0;
    std::string_view text;
    while (pairs.Next(code, text)) {
      builder.Pair(code, text);
      decoder.Take(code, text, pairs.Start());
      if (code == 0 && text == "EOF") break;
    }
    decoder.Finish();
  } catch (const std::bad_alloc&) {
    throw; // the reader reports memory itself
  } catch (const std::exception&) {
    problem = "the file could not be read";
    return false;
  }
  builder.Finish();
  return true;
}

} // namespace lumora
