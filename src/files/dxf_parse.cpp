#include "files/dxf_parse.h"

#include "files/dxf_curves.h"
#include "files/dxf_guard.h"
#include "files/dxf_style.h"
#include "files/dxf_text.h"
#include "files/dxf_xdata.h"

#include <cmath>
#include <deque>
#include <dl_creationadapter.h>
#include <dl_dxf.h>
#include <istream>
#include <numbers>
#include <streambuf>

namespace lumora {
namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;
constexpr int kByBlock = 0;
constexpr int kByLayer = 256;
constexpr int kPolylineClosed = 1;
constexpr int kPolylineMesh = 16;
constexpr int kPolylineFaces = 64;
constexpr double kPaperAccuracy = 0.04; // millimetres on paper between a curve and its chords
constexpr int kInches = 1;
constexpr int kFeet = 2;
constexpr int kCentimetres = 5;
constexpr int kMetres = 6;

// The bytes as a stream, without a copy.
class SpanBuffer : public std::streambuf {
public:
  explicit SpanBuffer(std::span<const char> bytes) {
    char* first = const_cast<char*>(bytes.data()); // only ever read
    setg(first, first, first + bytes.size());
  }
};

struct LayerStyle {
  int aci = 7;
  int rgb = -1;
  std::string linetype = "CONTINUOUS";
  int lineweight = -3;
};

// The library reads an overflowing number as the largest double; such a coordinate (like a
// non-number) would overflow every box and zone computed from it.
constexpr double kLargestCoordinate = 1e11;
bool Finite(double a) {
  return std::isfinite(a) && std::fabs(a) < kLargestCoordinate;
}
bool Finite(const Point& p) {
  return Finite(p.x) && Finite(p.y);
}

class SceneBuilder final : public DL_CreationAdapter {
public:
  SceneBuilder(DxfScene& scene, const DxfGuardResult& guard)
      : scene_(scene), dimensions_(guard.dimensionBlocks.begin(), guard.dimensionBlocks.end()) {
    for (const auto& [kind, count] : guard.unknownEntities) scene_.notRead[kind] += count;
  }

  void Finish() { Flush(); }

  // ---- Header and tables ----
  void setVariableInt(const std::string& key, int value, int) override {
    if (key == "$INSUNITS") scene_.insUnits = value;
  }
  void setVariableDouble(const std::string& key, double value, int) override {
    if (key == "$DIMSCALE" && Finite(value)) scene_.dimScale = value;
  }
  void setVariableString(const std::string& key, const std::string& value, int) override {
    // From 2007 on, strings are stored as UTF-8.
    if (key == "$ACADVER") utf8_ = value >= "AC1021";
  }
  void addLayer(const DL_LayerData& data) override {
    const DL_Attributes& a = getAttributes();
    lastValid_ = false; // a layer's style may change what an entity's attributes map to
    LayerStyle& layer = layers_[data.name];
    layer.aci = std::abs(a.getColor()); // a negative colour only marks the layer as off
    layer.rgb = a.getColor24();
    layer.linetype = a.getLinetype();
    layer.lineweight = a.getWidth();
  }

  // ---- Blocks ----
  void addBlock(const DL_BlockData& data) override {
    Flush();
    const std::string upper = Upper(data.name);
    if (upper == "*MODEL_SPACE") {
      block_ = &scene_.model;
    } else if (upper.starts_with("*PAPER_SPACE")) {
      block_ = &discard_;
    } else {
      block_ = &scene_.blocks[data.name];
      block_->base = {data.bpx, data.bpy};
    }
  }
  void endBlock() override {
    Flush();
    block_ = &scene_.model;
  }
  void endSequence() override { Flush(); }

  // ---- Entities ----
  void addLine(const DL_LineData& d) override {
    Begin();
    AddPath(kShapeOpenLine, {{d.x1, d.y1}, {d.x2, d.y2}}, "LINE");
  }
  void addArc(const DL_ArcData& d) override {
    Begin();
    const double a1 = d.angle1 / kDegrees;
    const double a2 = d.angle2 / kDegrees;
    AddPath(kShapeArcLine,
            {{d.cx, d.cy},
             {d.cx + d.radius * std::cos(a1), d.cy + d.radius * std::sin(a1)},
             {d.cx + d.radius * std::cos(a2), d.cy + d.radius * std::sin(a2)}},
            "ARC", Finite(d.radius) && d.radius > 0);
  }
  void addCircle(const DL_CircleData& d) override {
    Begin();
    AddPath(kShapeCircleLine, {{d.cx, d.cy}, {d.cx + d.radius, d.cy}}, "CIRCLE",
            Finite(d.radius) && d.radius > 0);
  }
  void addEllipse(const DL_EllipseData& d) override {
    Begin();
    std::vector<Point> points =
        EllipsePoints({d.cx, d.cy}, {d.mx, d.my}, d.ratio, d.angle1, d.angle2, Accuracy());
    const bool whole = std::fabs(std::fabs(d.angle2 - d.angle1) - 2 * std::numbers::pi) < 1e-9;
    if (whole && points.size() > 2) points.pop_back();
    AddPath(whole ? kShapeClosedLine : kShapeOpenLine, std::move(points), "ELLIPSE");
  }
  void addPolyline(const DL_PolylineData& d) override {
    Begin();
    if ((d.flags & (kPolylineMesh | kPolylineFaces)) != 0) {
      ++scene_.notRead["POLYLINE"];
      return;
    }
    polyline_.active = true;
    polyline_.closed = (d.flags & kPolylineClosed) != 0;
    polyline_.points.clear();
    polyline_.bulges.clear();
    polyline_.attr = Attributes();
  }
  void addVertex(const DL_VertexData& d) override {
    if (!polyline_.active) return;
    polyline_.points.push_back({d.x, d.y});
    polyline_.bulges.push_back(d.bulge);
  }
  void addSpline(const DL_SplineData& d) override {
    Begin();
    spline_ = SplineState{};
    spline_.active = true;
    spline_.degree = static_cast<int>(d.degree);
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
    // Justified text is placed by its alignment point.
    const bool justified = d.hJustification != 0 || d.vJustification != 0;
    const Point at = justified ? Point{d.apx, d.apy} : Point{d.ipx, d.ipy};
    AddText(at, d.height, d.angle * kDegrees, PlainDxfText(d.text, utf8_), "TEXT");
  }
  void addMTextChunk(const std::string& text) override { mtext_ += text; }
  void addMText(const DL_MTextData& d) override {
    Begin();
    const double angle =
        (d.dirx != 0 || d.diry != 0) ? std::atan2(d.diry, d.dirx) * kDegrees : d.angle;
    mtext_ += d.text;
    AddText({d.ipx, d.ipy}, d.height, angle, PlainMText(mtext_, utf8_), "MTEXT");
    mtext_.clear();
  }
  void addInsert(const DL_InsertData& d) override {
    Begin();
    SceneInsert insert;
    insert.block = d.name;
    insert.at = {d.ipx, d.ipy};
    insert.sx = d.sx;
    insert.sy = d.sy;
    insert.angle = d.angle;
    insert.attr = Attributes();
    const DxfXData xdata = TakeXData();
    constexpr std::string_view kPartTag = "part:";
    if (xdata.tag.starts_with(kPartTag)) insert.name = xdata.tag.substr(kPartTag.size());
    if (!Finite(insert.at) || !Finite(insert.sx) || !Finite(insert.sy) || !Finite(insert.angle) ||
        insert.sx == 0 || insert.sy == 0) {
      ++scene_.notRead["INSERT"];
      return;
    }
    block_->inserts.push_back(std::move(insert));
  }
  void addHatch(const DL_HatchData& d) override {
    Begin();
    hatch_ = HatchState{};
    hatch_.active = true;
    hatch_.filling.solid = d.solid;
    hatch_.filling.angle = d.angle;
    const std::string pattern = Upper(d.pattern);
    if (pattern == "_USER" || pattern == "USER") {
      hatch_.filling.gap = d.scale;
    } else if (!d.solid) {
      // A predefined pattern is drawn as its first line family: 45 degrees at 1/8 inch.
      constexpr double kPatternGap = 3.175;
      constexpr double kPatternAngle = 45.0;
      hatch_.filling.gap = d.scale * kPatternGap;
      hatch_.filling.angle += kPatternAngle;
    }
    hatch_.filling.attr = Attributes();
  }
  void addHatchLoop(const DL_HatchLoopData&) override {
    if (!hatch_.active) return;
    CloseHatchRun();
  }
  void addHatchEdge(const DL_HatchEdgeData& e) override {
    if (hatch_.active) AddHatchEdge(e);
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
  void addPoint(const DL_PointData&) override { Skip("POINT"); }
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
  };
  struct SplineState {
    bool active = false;
    int degree = 0;
    std::vector<double> knots;
    std::vector<Point> control;
    std::vector<double> weights;
    std::vector<Point> fit;
    SceneAttributes attr;
  };
  struct HatchState {
    bool active = false;
    SceneFilling filling;
    std::vector<Point> run; // straight edges not yet made a line
    bool runStarted = false;
    Point runStart{0, 0};
  };

  static std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
  }

  double Accuracy() const {
    double unitsPerMm = 1.0;
    if (scene_.insUnits == kCentimetres) unitsPerMm = 0.1;
    if (scene_.insUnits == kMetres) unitsPerMm = 0.001;
    if (scene_.insUnits == kInches) unitsPerMm = 1 / 25.4;
    if (scene_.insUnits == kFeet) unitsPerMm = 1 / 304.8;
    const double scale = scene_.dimScale > 0 ? scene_.dimScale : 1.0;
    return kPaperAccuracy * unitsPerMm * scale;
  }

  // Entities mostly repeat the attributes of the one before: those map once.
  SceneAttributes Attributes() {
    const DL_Attributes& a = getAttributes();
    std::string layerName = a.getLayer();
    std::string linetype = a.getLinetype();
    if (lastValid_ && layerName == lastLayer_ && linetype == lastLinetype_ &&
        a.getColor() == lastColour_ && a.getColor24() == lastRgb_ && a.getWidth() == lastWidth_)
      return lastOut_;
    lastLayer_ = layerName;
    lastLinetype_ = linetype;
    lastColour_ = a.getColor();
    lastRgb_ = a.getColor24();
    lastWidth_ = a.getWidth();
    lastOut_ = MapAttributes(a, std::move(layerName), std::move(linetype));
    lastValid_ = true;
    return lastOut_;
  }

  SceneAttributes MapAttributes(const DL_Attributes& a, std::string layerName,
                                std::string linetype) const {
    SceneAttributes out;
    out.layer = layerName.empty() ? "0" : std::move(layerName);
    const auto found = layers_.find(out.layer);
    const LayerStyle layer = found == layers_.end() ? LayerStyle{} : found->second;
    int aci = a.getColor();
    int rgb = a.getColor24();
    if (aci == kByLayer) {
      aci = layer.aci;
      if (rgb == -1) rgb = layer.rgb;
    }
    if (rgb != -1)
      out.colour = ColourOfRgb(rgb);
    else if (aci == kByBlock)
      out.colour = -1; // the colour of the insert
    else
      out.colour = ColourOfAci(aci);
    if (Upper(linetype) == "BYLAYER") linetype = layer.linetype;
    out.style = StyleOfLinetype(linetype);
    int weight = a.getWidth();
    if (weight == -1) weight = layer.lineweight;
    out.width = std::max(0, WidthOfLineweight(weight));
    return out;
  }

  // Every entity begins by completing the one before it (polylines, splines and hatches
  // gather their parts until the next entity).
  void Begin() { Flush(); }

  void Skip(const char* kind) {
    Begin();
    ++scene_.notRead[kind];
  }

  void AddPath(std::uint32_t shape, std::vector<Point> points, const char* kind,
               bool valid = true) {
    bool finite = valid && points.size() >= 2;
    for (const Point& p : points) finite = finite && Finite(p);
    if (!finite) {
      ++scene_.notRead[kind];
      TakeXData();
      return;
    }
    SceneLine line;
    line.shape = shape;
    line.points = std::move(points);
    line.attr = Attributes();
    const DxfXData xdata = TakeXData();
    line.measureGraphics = xdata.tag == kMeasureGraphicsTag;
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
      const std::size_t to = std::min(line.points.size(), from + kMaxPoints);
      piece.points.assign(line.points.begin() + static_cast<std::ptrdiff_t>(from),
                          line.points.begin() + static_cast<std::ptrdiff_t>(to));
      block_->lines.push_back(std::move(piece));
    }
  }

  void AddText(const Point& at, double height, double angle, std::string text, const char* kind) {
    const DxfXData xdata = TakeXData();
    if (!Finite(at) || !Finite(height) || !Finite(angle) || !(height > 0) || text.empty()) {
      ++scene_.notRead[kind];
      return;
    }
    SceneText t;
    t.points.push_back(at);
    t.height = height;
    t.angle = angle;
    t.text = std::move(text);
    t.attr = Attributes();
    RestoreOwnText(xdata, t);
    block_->texts.push_back(std::move(t));
  }

  void AddDimension() {
    Begin();
    const DxfXData xdata = TakeXData();
    (void)xdata;
    if (dimensions_.empty()) {
      ++scene_.notRead["DIMENSION"];
      return;
    }
    SceneInsert insert;
    insert.block = dimensions_.front();
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
      if (!Finite(q)) return void(++scene_.notRead["POLYLINE"]);
    bool bulged = false;
    for (std::size_t k = 0; k + 1 < p.bulges.size() || (p.closed && k < p.bulges.size()); ++k)
      bulged = bulged || std::fabs(p.bulges[k]) > 1e-9;
    if (!bulged) {
      SceneLine line;
      line.shape = p.closed && p.points.size() > 2 ? kShapeClosedLine : kShapeOpenLine;
      line.points = std::move(p.points);
      line.attr = p.attr;
      line.measureGraphics = xdata.tag == kMeasureGraphicsTag;
      if (line.points.size() >= 2) PushLine(std::move(line));
      return;
    }
    // Straight runs stay polylines; every bulged segment becomes an arc of its own.
    if (p.closed) p.points.push_back(p.points.front());
    SceneLine run;
    run.attr = p.attr;
    auto endRun = [&]() {
      if (run.points.size() >= 2) PushLine(run);
      run.points.clear();
    };
    for (std::size_t k = 0; k + 1 < p.points.size(); ++k) {
      Point arc[3];
      if (BulgeArc(p.points[k], p.points[k + 1], p.bulges[k < p.bulges.size() ? k : 0], arc)) {
        endRun();
        SceneLine a;
        a.shape = kShapeArcLine;
        a.points.assign(arc, arc + 3);
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
    std::vector<Point> points = SplinePoints(s.degree, s.knots, s.control, s.weights, Accuracy());
    if (points.empty()) points = s.fit.size() >= 2 ? s.fit : s.control;
    SceneLine line;
    line.points = std::move(points);
    line.attr = s.attr;
    TakeXData();
    for (const Point& q : line.points)
      if (!Finite(q)) return void(++scene_.notRead["SPLINE"]);
    if (line.points.size() < 2) return void(++scene_.notRead["SPLINE"]);
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
      SceneLine line;
      line.points =
          EllipsePoints({e.cx, e.cy}, {e.mx, e.my}, e.ratio, e.angle1, e.angle2, Accuracy());
      if (line.points.size() >= 2) f.boundary.push_back(std::move(line));
      break;
    }
    case 4: {
      CloseHatchRun();
      std::vector<Point> control;
      for (const std::vector<double>& v : e.controlPoints)
        if (v.size() >= 2) control.push_back({v[0], v[1]});
      SceneLine line;
      line.points = SplinePoints(static_cast<int>(e.degree), e.knots, control, {}, Accuracy());
      if (line.points.size() >= 2) f.boundary.push_back(std::move(line));
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
    TakeXData();
    bool finite = !h.filling.boundary.empty() && Finite(h.filling.gap) && Finite(h.filling.angle);
    for (const SceneLine& l : h.filling.boundary)
      for (const Point& p : l.points) finite = finite && Finite(p);
    if (!finite) return void(++scene_.notRead["HATCH"]);
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
  std::deque<std::string> dimensions_;
  std::map<std::string, LayerStyle> layers_;
  SceneBlock* block_ = &scene_.model;
  SceneBlock discard_;
  PolylineState polyline_;
  SplineState spline_;
  HatchState hatch_;
  std::string mtext_;
  bool utf8_ = false;
  bool own_ = false;
  DxfXData xdata_;
  bool lastValid_ = false;
  std::string lastLayer_;
  std::string lastLinetype_;
  int lastColour_ = 0;
  int lastRgb_ = 0;
  int lastWidth_ = 0;
  SceneAttributes lastOut_;
};

} // namespace

bool ParseDxf(std::span<const char> bytes, DxfScene& scene, std::string& problem) {
  const DxfGuardResult guard = CheckDxfInput(bytes);
  if (!guard.ok) {
    problem = guard.problem;
    return false;
  }
  SpanBuffer buffer(bytes);
  std::istream stream(&buffer);
  SceneBuilder builder(scene, guard);
  DL_Dxf dxf;
  try {
    if (!dxf.in(stream, &builder)) {
      problem = "the file could not be read";
      return false;
    }
  } catch (const std::exception&) { // the library allocates as the file asks
    problem = "the file could not be read";
    return false;
  }
  builder.Finish();
  return true;
}

} // namespace lumora
