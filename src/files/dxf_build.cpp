#include "files/dxf_build.h"

#include "files/dxf_curves.h"
#include "files/dxf_messages.h"
#include "files/dxf_style.h"
#include "files/dxf_text.h"
#include "files/dxf_xdata.h"
#include "geometry/hatch.h"
#include "model/element_store.h"
#include "model/element_transform.h"
#include "model/store_messages.h"
#include "setup/setup.h"
#include "text/font.h"
#include "text/place_text.h"
#include "util/map_ahead.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <unordered_map>
#include <unordered_set>

namespace lumora {
namespace {

constexpr double kMaxScale = 1e9;
constexpr int kLastLayer = 127;      // a layer named by its number keeps it
constexpr int kLastNamedLayer = 126; // named layers are numbered below the mixed-layer mark
constexpr int kCentimetres = 5;
constexpr int kDecimetres = 14;
constexpr double kMmPerCm = 10.0;
constexpr double kMmPerM = 1000.0;
constexpr int kMaxSection = 15;

// Whether a width and height (millimetres) fit the sheet, turned to their orientation.
bool Fits(double widthMm, double heightMm, double sheetWidth, double sheetHeight) {
  if ((widthMm > heightMm) != (sheetWidth > sheetHeight)) std::swap(sheetWidth, sheetHeight);
  return widthMm <= sheetWidth && heightMm <= sheetHeight;
}

// The drawing units a file's coordinates land in, and the paper unit factor they mean.
struct Units {
  double toDrawing = 1.0; // file units to drawing units
  double factor = 1.0;    // paper unit per scale: 1 (mm), 0.1 (cm), 0.001 (m)
  double mmPerUnit = 1.0; // millimetres per drawing unit
};

// A whole drawing keeps centimetres and metres as they are and larger units as metres; the
// rest (inches and feet too) becomes millimetres.
Units WholeDrawingUnits(int insUnits) {
  const double mm = MillimetresOfUnit(insUnits);
  if (insUnits == kCentimetres || insUnits == kDecimetres) return {mm / kMmPerCm, 0.1, kMmPerCm};
  if (mm >= kMmPerM) return {mm / kMmPerM, 0.001, kMmPerM};
  return {mm, 1.0, 1.0};
}

// A file added into the drawing takes the drawing's own units.
Units AddedUnits(int insUnits, const Drawing& drawing) {
  double mmPerUnit = 1.0;
  if (drawing.scale > 0 && drawing.paperUnit > 0 &&
      std::isfinite(drawing.scale / drawing.paperUnit))
    mmPerUnit = drawing.scale / drawing.paperUnit;
  return {MillimetresOfUnit(insUnits) / mmPerUnit, 1.0 / mmPerUnit, mmPerUnit};
}

struct PlanAttr {
  int layer = 0;
  int colour = 1;
  int width = 0;
  SceneLinetype linetype; // the period in drawing units
  // What the layer draws "by layer" (the period in drawing units): members of a block placed
  // on it from layer 0 follow it.
  SceneLayer look;
  OwnProperties own;   // the program's own file: these hold as they are
  bool hidden = false; // on an off or frozen layer, or a member of a block placed on one
};

struct PlanLine {
  std::uint32_t shape = kShapeOpen;
  std::vector<Point> points;
  PlanAttr attr;
  int part = -1;
};

struct PlanText {
  std::vector<Point> points;
  double height = 0;
  double width = 1; // how much wider (to its height) than the file draws it
  double angle = 0;
  int positioning = 1;
  const SceneText* source = nullptr;
  PlanAttr attr;
  int part = -1;
};

// Stands in a filling's lines for the empty entry that ends one loop and begins the next.
inline constexpr std::size_t kLoopEnd = static_cast<std::size_t>(-1);

struct PlanFilling {
  std::vector<std::size_t> lines;
  double gap = 0; // negative: solid, gap from the paper unit
  double angle = 0;
  bool own = false; // the program's own filling: its gap and angle as it wrote them
  PlanAttr attr;
  int part = -1;
};

// The box a planned line covers, arcs and circles as drawn.
Box BoxOfLine(const PlanLine& line) {
  Box box;
  ResetBox(box);
  if (line.shape == kShapeArc && line.points.size() >= 3)
    BoxOfArc(line.points[0], line.points[1], line.points[2], box);
  else if (line.shape == kShapeCircle && line.points.size() >= 2)
    BoxOfCircle(line.points[0], line.points[1], box);
  else
    BoxOfPoints(line.points, box);
  return box;
}

struct PlanPart {
  std::string name;
  int parent = -1;
  int layer = 0;
  std::uint32_t type = 1;
  Point location{0, 0};
};

// One placement of a block: its map and what the map does to sizes and angles.
struct Level {
  Transform m;
  double sx = 1;
  double sy = 1;
  double angle = 0;
};

// A placement and the one it lies in. Hatches wait for the end of the plan with the innermost
// placement they lie in: placements are shared along the chains, never copied per hatch.
struct Node {
  Level level;
  std::size_t parent;
  bool kept = false; // a waiting hatch, or a kept placement inside, refers to it
};
constexpr std::size_t kNoNode = static_cast<std::size_t>(-1);

// What a block unfolds into, counted before anything is built: elements and points, with every
// insert's multiplicity, and the placements walked (of missing and empty blocks too), each of
// which costs time even where it makes nothing, and most of which make a part.
struct Expansion {
  double elements = 0; // lines, fillings and texts
  double points = 0;
  double placements = 0;
  double parts = 0; // the placements that make a part
  double fillings = 0;
  double characters = 0; // of texts, as far as the drawing keeps them
  double strokes = 0;    // what those letters plot in
  double rounds = 0;     // arcs and circles
  double stretched = 0;  // arcs and circles under unequal scales, which become ellipses
  double lines = 0;      // of the elements, lines (boundaries too) and texts
  double texts = 0;
  int height = 0; // the deepest nesting below the block
  // Ellipses and splines, which a placement larger than their block cuts again into more
  // chords (by the square root of how much larger): their points as first cut (counted in
  // `points`), those points times that root, and how many of them are placed larger at all
  // (one more point each, at most, from rounding up).
  double curves = 0;
  double curvePoints = 0;
  double curveRoots = 0;
  double enlarged = 0;
};

// The points of a count once its curves are cut for the size they are placed at.
double PointsAsCut(const Expansion& e) {
  const double curves = std::min(e.curveRoots + e.enlarged, e.curves * kMaxCurvePoints);
  return e.points + std::max(0.0, curves - e.curvePoints);
}

bool IsRound(std::uint32_t shape) {
  return shape == kShapeArc || shape == kShapeCircle;
}

// Scales that make a circle an ellipse.
bool Uneven(double sx, double sy) {
  return !SameValue(std::fabs(sx), std::fabs(sy));
}

// Coordinates and sizes a planned element may have.
bool Within(double v) {
  return std::isfinite(v) && std::fabs(v) < kLargestDxfCoordinate;
}
bool Within(const std::vector<Point>& points) {
  return std::all_of(points.begin(), points.end(),
                     [](const Point& p) { return Within(p.x) && Within(p.y); });
}
constexpr std::string_view kTooFar = "too far out to draw";
constexpr std::string_view kDimension = "dimension read as lines and texts";
constexpr std::string_view kSharedLayer = "more layers read as the last free one";
// Kinds of the report by the names they are about.
using NamedKinds = std::map<std::string, std::vector<std::string>>;
constexpr std::string_view kUnplotted = "layer not plotted read as hidden";
constexpr std::string_view kUnplottedShown = "layer not plotted left shown, its number in use";
constexpr std::string_view kHiddenShown = "layer off or frozen left shown, its number in use";
constexpr std::string_view kDenseHatch = "hatch too dense read with the smallest gap";
constexpr std::string_view kTextHeight = "text height out of range";
constexpr std::string_view kBeyondSheet = "drawing larger than the sheet at the largest scale";
constexpr std::string_view kTextWidth = "text width out of range";
constexpr int kMostWidthCode = 7;
constexpr std::string_view kRenamed = "name made unique with a suffix";

// The names of a file's layers or blocks as the program shows them, in its Latin-1. Names the
// file tells apart stay apart: where two become one in Latin-1 (letters it lacks become '?'),
// the later ones take a suffix ("~2", "~3", ...) and are counted in the report.
template <class Less> class ShownNames {
public:
  const std::string& Of(const std::string& raw, bool utf8, std::size_t longest,
                        KindCounts& approximated) {
    const auto known = shown_.find(raw);
    if (known != shown_.end()) return known->second;
    std::string name = DxfString(raw, utf8).substr(0, longest);
    if (!taken_.insert(name).second) {
      for (int n = 2;; ++n) {
        const std::string suffix = "~" + std::to_string(n);
        std::string candidate = name.substr(0, longest - std::min(longest, suffix.size())) + suffix;
        if (taken_.insert(candidate).second) {
          name = std::move(candidate);
          break;
        }
      }
      ++approximated[std::string(kRenamed)];
    }
    return shown_.emplace(raw, std::move(name)).first->second;
  }

private:
  std::map<std::string, std::string, Less> shown_;
  std::set<std::string, Less> taken_;
};

using LayerSet = std::array<bool, kLayerCount>;

// The layers the drawing's elements lie on.
LayerSet UsedLayers(const Drawing& drawing) {
  LayerSet used{};
  const auto note = [&used](std::uint32_t layer) {
    if (layer < used.size()) used[layer] = true;
  };
  for (const LineElement* l = drawing.lines; l != nullptr; l = l->next) note(l->layer());
  for (const FillingElement* f = drawing.fillings; f != nullptr; f = f->next) note(f->layer());
  for (const TextElement* t = drawing.texts; t != nullptr; t = t->next) note(t->layer());
  return used;
}

// The strokes each letter plots in, in each font (at least one: a letter is walked even where
// it draws nothing); every letter alike where no fonts are at hand.
using LetterStrokes = std::array<double, 256>;
std::array<LetterStrokes, kMaxFonts> StrokesOfLetters(const Fonts* fonts) {
  std::array<LetterStrokes, kMaxFonts> table;
  for (LetterStrokes& strokes : table) strokes.fill(kDxfStrokesPerLetter);
  if (fonts == nullptr || fonts->count <= 0) return table;
  for (int f = 0; f < kMaxFonts; ++f) {
    // A text in a font not loaded is drawn in none; it is weighed as the first font's.
    const Font& font = fonts->slots[static_cast<std::size_t>(f < fonts->count ? f : 0)];
    for (std::size_t c = 0; c < table[0].size(); ++c)
      table[static_cast<std::size_t>(f)][c] =
          std::max(1.0, static_cast<double>(font.glyphs[c].size()));
  }
  return table;
}

class Planner {
public:
  Planner(DxfScene& scene, const Setup& setup, KindCounts& notRead, KindCounts& approximated,
          const Fonts* fonts)
      : scene_(scene), setup_(setup), notRead_(notRead), approximated_(approximated),
        letterStrokes_(StrokesOfLetters(fonts)) {}

  // Layer numbers the open drawing uses already: a name of the file added into it takes none
  // of them as a free number.
  void KeepTaken(const std::array<bool, kLayerCount>& taken) { used_ = taken; }

  // Refuses cycles and deep nesting, and counts what the file unfolds into. Each block is
  // counted once, so a file of a few nested blocks that unfolds into billions costs no more
  // than its size.
  const TextPair* Check(Expansion& total, const Placement& placement) {
    if (const TextPair* p = Count(scene_.model, total)) return p;
    if (Uneven(placement.sx, placement.sy)) total.stretched = total.rounds;
    if (total.height > kMaxBlockDepth) return &dxf_messages::kTooDeep;
    return nullptr;
  }

  // `total` as Check counted it (within the budget): the plan's lists take their room at once
  // rather than moving their elements each time they grow.
  void Plan(const Placement& placement, double toDrawing, const Expansion& total) {
    lines.reserve(static_cast<std::size_t>(total.lines));
    texts.reserve(static_cast<std::size_t>(total.texts));
    MapAheadRoom(lines);
    MapAheadRoom(texts);
    toDrawing_ = toDrawing;
    Level outer;
    MakeTransform(outer.m, 0, 0, placement.x, placement.y, placement.sx * toDrawing,
                  placement.sy * toDrawing, placement.angle);
    outer.sx = placement.sx * toDrawing;
    outer.sy = placement.sy * toDrawing;
    outer.angle = placement.angle;
    chain_.push_back(Node{outer, kNoNode, true});
    at_ = 0;
    // The model is unfolded once: its points move into the plan instead of being copied.
    Unfold(scene_.model, -1, PlanAttr{}, true);
    PlanFillings();
  }

  // Lets go of what was planned, when memory ran out before the plan was whole.
  void Release() {
    std::vector<PlanLine>().swap(lines);
    std::vector<PlanText>().swap(texts);
    std::vector<PlanFilling>().swap(fillings);
    std::vector<PlanPart>().swap(parts);
    std::vector<Node>().swap(chain_);
  }

  std::vector<PlanLine> lines;
  std::vector<PlanText> texts;
  std::vector<PlanFilling> fillings;
  std::vector<PlanPart> parts;
  std::vector<std::pair<std::string, int>> numberedLayers; // names given free numbers
  // The file's off, frozen and unplotted layers as the report names them, with the numbers
  // they took, in order of first use.
  struct HiddenName {
    std::string name;
    int number = 0;
    bool unplotted = false;
  };
  std::vector<HiddenName> hiddenNames;

private:
  // The font a text is drawn in: its own where the program wrote it, else the first.
  static std::size_t FontOf(const SceneText& t) {
    if (!t.ownRecord) return 0;
    TextElement stored;
    stored.words[0] = t.word0;
    stored.words[1] = t.word1;
    PropertySet set;
    UnpackText(stored, set, PackFields::kAll);
    return std::min(static_cast<std::size_t>(set.font()), static_cast<std::size_t>(kMaxFonts - 1));
  }

  const TextPair* Count(const SceneBlock& block, Expansion& out) {
    const auto known = counted_.find(&block);
    if (known != counted_.end()) return out = known->second, nullptr;
    if (std::find(active_.begin(), active_.end(), &block) != active_.end())
      return &dxf_messages::kSelfInsert;
    // A chain of blocks each placing the next is refused before its depth exhausts the stack.
    if (active_.size() > static_cast<std::size_t>(kMaxBlockDepth)) return &dxf_messages::kTooDeep;
    Expansion e;
    const auto line = [&e](const SceneLine& l) {
      e.elements += 1;
      e.lines += 1;
      e.points += static_cast<double>(l.points.size());
      if (IsRound(l.shape)) e.rounds += 1;
      if (l.curve) {
        e.curves += 1;
        e.curvePoints += static_cast<double>(l.points.size());
        e.curveRoots += static_cast<double>(l.points.size());
      }
    };
    for (const SceneLine& l : block.lines)
      if (!l.measureGraphics) line(l);
    for (const SceneText& t : block.texts) {
      e.elements += 1;
      e.texts += 1;
      e.points += static_cast<double>(t.points.size());
      const std::string_view kept = std::string_view(t.text).substr(0, kMaxTextLength);
      e.characters += static_cast<double>(kept.size());
      const LetterStrokes& strokes = letterStrokes_[FontOf(t)];
      for (const char c : kept) e.strokes += strokes[static_cast<unsigned char>(c)];
    }
    for (const SceneFilling& f : block.fillings) {
      e.elements += 1;
      e.fillings += 1;
      for (const SceneLine& l : f.boundary) line(l);
    }
    active_.push_back(&block);
    for (const SceneInsert& insert : block.inserts) {
      const auto found = scene_.blocks.find(insert.block);
      if (found == scene_.blocks.end() || scene_.xrefs.contains(insert.block)) {
        e.placements += 1; // passed over once, whatever its grid
        continue;
      }
      Expansion inner;
      if (const TextPair* problem = Count(found->second, inner)) return problem;
      const double copies = static_cast<double>(insert.cols) * insert.rows;
      e.elements += copies * inner.elements;
      e.parts += copies * ((insert.explode ? 0 : 1) + inner.parts);
      e.points += copies * inner.points;
      e.placements += copies * (1 + inner.placements);
      e.fillings += copies * inner.fillings;
      e.characters += copies * inner.characters;
      e.strokes += copies * inner.strokes;
      e.rounds += copies * inner.rounds;
      e.lines += copies * inner.lines;
      e.texts += copies * inner.texts;
      e.stretched += copies * (Uneven(insert.sx, insert.sy) ? inner.rounds : inner.stretched);
      const double larger = std::max(std::fabs(insert.sx), std::fabs(insert.sy));
      e.curves += copies * inner.curves;
      e.curvePoints += copies * inner.curvePoints;
      e.curveRoots += copies * inner.curveRoots * (larger > 1 ? std::sqrt(larger) : 1.0);
      e.enlarged += copies * (larger > 1 ? inner.curves : inner.enlarged);
      e.height = std::max(e.height, inner.height + 1);
      // Deep chains stop here rather than at the end of their recursion.
      if (e.height > kMaxBlockDepth) return &dxf_messages::kTooDeep;
    }
    active_.pop_back();
    counted_[&block] = e;
    out = e;
    return nullptr;
  }

  // The setup's layer of a name (any case), or 0.
  int SetupLayer(const std::string& name) const {
    const std::vector<NameRow>& rows = setup_.layers.rows;
    for (std::size_t k = 0; k < rows.size() && k < static_cast<std::size_t>(kLastNamedLayer); ++k)
      if (rows[k].text.size() == name.size() &&
          std::equal(name.begin(), name.end(), rows[k].text.begin(), [](char a, char b) {
            return std::toupper(static_cast<unsigned char>(a)) ==
                   std::toupper(static_cast<unsigned char>(b));
          }))
        return static_cast<int>(k) + 1;
    return 0;
  }

  // Layers named as the setup names them take those numbers, a name that is a number keeps
  // it, and the rest take the free numbers after the setup's names in order of first use.
  int LayerOf(const std::string& name, const PlanAttr& holder) {
    if (name == "0" && holder.layer != 0) return holder.layer;
    const auto known = layers_.find(name);
    if (known != layers_.end()) return known->second;
    int number = SetupLayer(DxfString(name, scene_.utf8));
    if (number == 0) {
      const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
      if (error != std::errc() || end != name.data() + name.size() || number < 0 ||
          number > kLastLayer) {
        if (next_ == 0)
          next_ = std::min<int>(static_cast<int>(setup_.layers.rows.size()) + 1, kLastNamedLayer);
        while (next_ < kLastNamedLayer && used_[static_cast<std::size_t>(next_)]) ++next_;
        number = next_;
        // Past the free numbers every further name shares the last: it is counted, not listed.
        if (used_[static_cast<std::size_t>(number)])
          ++approximated_[std::string(kSharedLayer)];
        else
          numberedLayers.emplace_back(
              layerNames_.Of(name, scene_.utf8, std::string::npos, approximated_), number);
      }
    }
    used_[static_cast<std::size_t>(number)] = true;
    layers_[name] = number;
    NoteShown(name, number);
    return number;
  }

  // A number is hidden only when every name it stands for is.
  void NoteShown(const std::string& name, int number) {
    const auto k = static_cast<std::size_t>(number);
    if (k >= shown_.size()) return;
    if (!scene_.hiddenLayers.contains(name)) {
      shown_[k] = true;
      return;
    }
    hiddenNamed_[k] = true;
    if (hiddenNoted_.emplace(name, number).second)
      hiddenNames.push_back(
          HiddenName{DxfString(name, scene_.utf8), number, scene_.unplottedLayers.contains(name)});
  }

public:
  // The numbers of the file's off and frozen layers that no shown layer shares.
  std::vector<int> HiddenLayers() const {
    std::vector<int> out;
    for (std::size_t k = 0; k < hiddenNamed_.size(); ++k)
      if (hiddenNamed_[k] && !shown_[k]) out.push_back(static_cast<int>(k));
    return out;
  }

private:
  // A layer's own look, its period in drawing units.
  SceneLayer LookOf(const std::string& name) const {
    const auto found = scene_.layers.find(name);
    SceneLayer look = found == scene_.layers.end() ? SceneLayer{} : found->second;
    look.linetype.period *= toDrawing_;
    return look;
  }

  PlanAttr AttrOf(const SceneAttributes& a, const PlanAttr& holder) {
    PlanAttr out;
    out.own = a.own;
    out.layer = a.own.present ? static_cast<int>(a.own.layer) : LayerOf(a.layer, holder);
    // The program's own elements keep their layer numbers, and what the file hides stays hidden.
    if (a.own.present) NoteShown(a.layer, out.layer);
    // A block placed on a hidden layer hides all of it: members on layers of their own join the
    // placement's layer.
    out.hidden = holder.hidden || scene_.hiddenLayers.contains(a.layer);
    if (holder.hidden && !a.own.present) out.layer = holder.layer;
    // On layer 0 a block member is on the layer of its insert, and "by layer" means that one.
    const bool follows = a.layer == "0" && holder.layer != 0;
    out.look = follows ? holder.look : LookOf(a.layer);
    if (a.colour < 0)
      out.colour = holder.colour;
    else
      out.colour = follows && a.colourByLayer ? holder.look.colour : a.colour;
    out.width = follows && a.widthByLayer ? holder.look.width : a.width;
    if (a.linetype.family == LineFamily::kByBlock) {
      out.linetype = holder.linetype;
    } else if (follows && a.linetypeByLayer) {
      out.linetype = holder.look.linetype;
      out.linetype.period *= a.linetypeScale;
    } else {
      out.linetype = a.linetype;
      out.linetype.period *= toDrawing_;
    }
    return out;
  }

  // How much larger the placements from `node` out draw what lies in them: the dashes of a
  // line type grow with the block they are drawn in.
  double PlacedSize(std::size_t node) const {
    double size = 1;
    Outward(node,
            [&size](const Level& level) { size *= std::sqrt(std::fabs(level.sx * level.sy)); });
    return std::isfinite(size) && size > 0 ? size : 1.0;
  }

  // The placements from the innermost (`node`) out.
  template <class Visit> void Outward(std::size_t node, Visit visit) const {
    for (; node != kNoNode; node = chain_[node].parent) visit(chain_[node].level);
  }

  void MapLine(PlanLine& line, std::size_t node) const {
    if (IsRound(line.shape)) Stretch(line, node);
    LineElement shape;
    shape.SetShape(line.shape);
    Outward(node, [&](const Level& level) {
      TransformLinePoints(shape, line.points, level.m, level.sx, level.sy);
    });
    // An arc whose ends are one point to the program draws as a whole circle: a sliver of an
    // arc (from its start anticlockwise to its end less than half a turn) is the short
    // straight line it looks like.
    if (line.shape == kShapeArc && line.points.size() == 3 &&
        SamePoint(line.points[1], line.points[2])) {
      const Point& c = line.points[0];
      const Point& a = line.points[1];
      const Point& b = line.points[2];
      if ((a.x - c.x) * (b.y - c.y) - (a.y - c.y) * (b.x - c.x) > 0) {
        line.points.erase(line.points.begin());
        line.shape = kShapeOpen;
      }
    }
  }

  // An arc or circle under unequal scales is an ellipse: it becomes one as a line of points
  // (as an ellipse of the file is read), which the placements then map point by point.
  void Stretch(PlanLine& line, std::size_t node) const {
    bool uneven = false;
    double largest = 1.0; // how much the placements enlarge at most
    Outward(node, [&](const Level& level) {
      uneven = uneven || Uneven(level.sx, level.sy);
      largest *= std::max(std::fabs(level.sx), std::fabs(level.sy));
    });
    if (!uneven || line.points.size() < 2) return;
    const Point c = line.points[0];
    const Point s = line.points[1];
    const double radius = std::hypot(s.x - c.x, s.y - c.y);
    if (!(radius > 0)) return;
    const double t1 = std::atan2(s.y - c.y, s.x - c.x);
    const bool circle = line.shape == kShapeCircle;
    double t2 = t1 + 2 * std::numbers::pi;
    if (!circle) {
      if (line.points.size() < 3) return;
      t2 = std::atan2(line.points[2].y - c.y, line.points[2].x - c.x);
    }
    const double accuracy = scene_.curveAccuracy * toDrawing_ / largest;
    std::vector<Point> points = EllipsePoints(c, {radius, 0}, 1.0, t1, t2, accuracy);
    if (points.size() < 2) return;
    if (circle) points.pop_back();
    line.points = std::move(points);
    line.shape = circle ? kShapeClosed : kShapeOpen;
  }

  // What unequal scales make of a direction at `angle` (degrees, turned anticlockwise from
  // x): its length along (of a unit), its new angle and how much a distance across it grows.
  struct Stretched {
    double along = 1;
    double across = 1;
    double angle = 0;
  };
  static Stretched StretchOf(const Level& level, double angle) {
    const double a = angle * std::numbers::pi / 180.0;
    const double x = std::fabs(level.sx) * std::cos(a);
    const double y = std::fabs(level.sy) * std::sin(a);
    const double along = std::hypot(x, y);
    if (!(along > 0)) return {1, 1, angle};
    return {along, std::fabs(level.sx * level.sy) / along,
            std::atan2(y, x) * 180.0 / std::numbers::pi};
  }

  // Mirrored text reads the right way round, as the program mirrors its own: the angle turns
  // over and the justification changes sides. Unequal scales turn it and change its height
  // and width as they change its box.
  void MapText(PlanText& text, std::size_t node) const {
    constexpr int kColumns = 3;
    constexpr int kWays = 9;
    Outward(node, [&](const Level& level) {
      for (Point& p : text.points) ApplyTransform(level.m, p.x, p.y);
      if (Uneven(level.sx, level.sy)) {
        const Stretched stretched = StretchOf(level, text.angle);
        text.height *= stretched.across;
        text.width *= stretched.along / stretched.across;
        text.angle = stretched.angle;
      } else {
        text.height *= std::fabs(level.sy);
      }
      const bool way = text.positioning >= 1 && text.positioning <= kWays;
      const int row = (text.positioning - 1) / kColumns;
      const int column = (text.positioning - 1) % kColumns;
      if (level.sx < 0) text.angle = -text.angle;
      if (level.sx < 0 && way) text.positioning += 2 - 2 * column;
      if (level.sy < 0) text.angle = -text.angle;
      if (level.sy < 0 && way) text.positioning += kColumns * (2 - 2 * row);
      text.angle += level.angle;
    });
  }

  // Hatch lines turn with the placement; unequal scales turn them further and space them by
  // what they make of the distance across them.
  void MapFilling(PlanFilling& filling, std::size_t node) const {
    Outward(node, [&](const Level& level) {
      if (Uneven(level.sx, level.sy)) {
        const Stretched stretched = StretchOf(level, filling.angle);
        if (filling.gap > 0) filling.gap *= stretched.across;
        filling.angle = stretched.angle;
      } else if (filling.gap > 0) {
        filling.gap *= std::fabs(level.sx);
      }
      if (level.sx < 0) filling.angle = -filling.angle;
      if (level.sy < 0) filling.angle = -filling.angle;
      filling.angle += level.angle;
    });
  }

  // How many times larger than their blocks hold them the placements around `node` draw its
  // lines (the placement of the whole file aside).
  double Larger(std::size_t node) const {
    double larger = 1;
    for (; node != kNoNode && chain_[node].parent != kNoNode; node = chain_[node].parent)
      larger *= std::max(std::fabs(chain_[node].level.sx), std::fabs(chain_[node].level.sy));
    return larger;
  }

  // A curve placed larger than its block drew it, cut again for the size it is drawn at (the
  // count allowed for this); false when its points as first cut serve.
  bool CutAgain(const SceneLine& source, std::size_t node, std::vector<Point>& points) const {
    if (!source.curve) return false;
    const double larger = Larger(node);
    if (SegmentsWhenLarger(source.curve->segments, larger) == source.curve->segments) return false;
    std::vector<Point> finer = CutLarger(*source.curve, larger);
    if (finer.size() < 2) return false;
    points = std::move(finer);
    return true;
  }

  void AddLine(SceneLine& source, int part, const PlanAttr& holder, bool take) {
    PlanLine line;
    line.shape = source.shape;
    if (!CutAgain(source, at_, line.points)) {
      if (take)
        line.points = std::move(source.points);
      else
        line.points = source.points;
    }
    MapLine(line, at_);
    if (!Within(line.points)) {
      ++approximated_[std::string(kTooFar)];
      return;
    }
    line.attr = AttrOf(source.attr, holder);
    if (!source.attr.own.present) line.attr.linetype.period *= PlacedSize(at_);
    line.part = part;
    lines.push_back(std::move(line));
    if (source.ownId >= 0) ownLines_.try_emplace(source.ownId, lines.size() - 1);
  }

  // A hatch boundary that repeats a drawn line is that line: files keep the drawn boundary
  // and the hatch's copy of it apart, the program's fillings share the line. Lines are paired
  // by a key of their shape and every point (on a grid finer than the tolerance): equal keys
  // are the same line but for a rare clash, so one look-up pairs a boundary, however many
  // copies of a line lie on top of each other (a grid of inserts with no spacing).
  static std::uint64_t Scramble(std::uint64_t x) {
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    x *= 0xc4ceb9fe1a85ec53ULL;
    x ^= x >> 33;
    return x;
  }
  static std::uint64_t KeyOf(const PlanLine& line) {
    constexpr double kGrid = 1e6;
    std::uint64_t key = Scramble(line.shape * 0x10001ULL + line.points.size());
    for (const Point& p : line.points)
      for (double v : {p.x, p.y}) {
        // Within the coordinate limit the grid's numbers fit 64 bits.
        const long long cell = std::llround(std::clamp(v, -1e12, 1e12) * kGrid);
        key = Scramble(key ^ static_cast<std::uint64_t>(cell));
      }
    return key;
  }
  static bool SameLine(const PlanLine& a, const PlanLine& b) {
    constexpr double kTolerance = 1e-6;
    if (a.shape != b.shape || a.points.size() != b.points.size()) return false;
    for (std::size_t k = 0; k < a.points.size(); ++k)
      if (std::fabs(a.points[k].x - b.points[k].x) > kTolerance ||
          std::fabs(a.points[k].y - b.points[k].y) > kTolerance)
        return false;
    return true;
  }

  // The first drawn line of each key a boundary has.
  using DrawnLines = std::unordered_map<std::uint64_t, std::size_t>;

  // Fillings wait until every line is planned: a boundary may be a line of any block.
  struct PendingFilling {
    const SceneFilling* source;
    int part;
    PlanAttr holder;
    std::size_t node; // the innermost placement
  };

  void PlanFillings() {
    if (pending_.empty()) return;
    // Every boundary placed first; only the drawn lines that may match one are indexed.
    std::vector<std::vector<PlanLine>> placed(pending_.size());
    std::unordered_set<std::uint64_t> wanted;
    for (std::size_t k = 0; k < pending_.size(); ++k) {
      for (const SceneLine& source : pending_[k].source->boundary) {
        PlanLine line;
        line.shape = source.shape;
        if (!CutAgain(source, pending_[k].node, line.points)) line.points = source.points;
        MapLine(line, pending_[k].node);
        wanted.insert(KeyOf(line));
        placed[k].push_back(std::move(line));
      }
    }
    DrawnLines drawn;
    for (std::size_t k = 0; k < lines.size(); ++k) {
      const std::uint64_t key = KeyOf(lines[k]);
      if (wanted.contains(key)) drawn.try_emplace(key, k);
    }
    for (std::size_t k = 0; k < pending_.size(); ++k) {
      PendingFilling& p = pending_[k];
      const SceneFilling& f = *p.source;
      PlanFilling filling;
      filling.own = f.attr.own.present;
      filling.gap = f.solid || !(f.gap > 0 || filling.own) ? -1.0 : f.gap;
      filling.angle = f.angle;
      MapFilling(filling, p.node);
      if (!Within(filling.gap) || !Within(filling.angle) ||
          !std::all_of(placed[k].begin(), placed[k].end(),
                       [](const PlanLine& line) { return Within(line.points); })) {
        ++approximated_[std::string(kTooFar)];
        continue;
      }
      // A gap too fine to draw (or none) would leave the area empty: it takes the setup's.
      if (!f.solid && !scene_.own && !Drawable(filling.gap, placed[k])) {
        filling.gap = -1.0;
        ++approximated_[std::string(kDenseHatch)];
      }
      // A boundary of the hatch's own is drawn like the hatch.
      PlanAttr own = AttrOf(f.attr, p.holder);
      const double size = f.attr.own.present ? 1.0 : PlacedSize(p.node);
      own.linetype.period *= size;
      // The program's own fillings name the lines they are bounded by.
      if (!OwnBoundary(f, filling.lines)) placed[k].clear();
      for (PlanLine& line : placed[k]) {
        const std::size_t at = FindDrawn(line, drawn);
        if (at != kNotDrawn) {
          filling.lines.push_back(at);
          continue;
        }
        line.attr = own;
        line.part = p.part;
        lines.push_back(std::move(line));
        filling.lines.push_back(lines.size() - 1);
      }
      filling.attr = own;
      if (f.pattern.family != LineFamily::kSolid) {
        filling.attr.linetype = f.pattern;
        filling.attr.linetype.period *= toDrawing_ * size;
      }
      filling.part = p.part;
      fillings.push_back(std::move(filling));
    }
    pending_.clear();
  }

  // Whether hatch lines of the gap across the boundary are few enough to draw.
  static bool Drawable(double gap, const std::vector<PlanLine>& boundary) {
    if (!(gap >= kMinHatchGap)) return false;
    Box box;
    ResetBox(box);
    for (const PlanLine& line : boundary)
      for (const Point& p : line.points) ExtendBox(p.x, p.y, box);
    if (IsResetBox(box)) return true;
    const double across = std::hypot(box.xmax - box.xmin, box.ymax - box.ymin);
    return across / gap <= static_cast<double>(kMaxHatchLines);
  }

  bool OwnBoundary(const SceneFilling& f, std::vector<std::size_t>& out) const {
    if (f.ownBoundary.empty()) return true;
    std::vector<std::size_t> found;
    for (int id : f.ownBoundary) {
      if (id == kLoopEndId) {
        found.push_back(kLoopEnd);
        continue;
      }
      const auto at = ownLines_.find(id);
      if (at == ownLines_.end()) return true;
      found.push_back(at->second);
    }
    out = std::move(found);
    return false;
  }

  static constexpr std::size_t kNotDrawn = static_cast<std::size_t>(-1);
  std::size_t FindDrawn(const PlanLine& line, const DrawnLines& drawn) const {
    const auto found = drawn.find(KeyOf(line));
    return found != drawn.end() && SameLine(lines[found->second], line) ? found->second : kNotDrawn;
  }

  // `take`: the block is unfolded only this once, so its lines and texts give up their points.
  void Unfold(SceneBlock& block, int part, const PlanAttr& holder, bool take) {
    for (const auto& [kind, count] : block.notRead) notRead_[kind] += count;
    for (const auto& [kind, count] : block.approximated) approximated_[kind] += count;
    for (SceneLine& line : block.lines)
      if (!line.measureGraphics) AddLine(line, part, holder, take);
    for (const SceneFilling& f : block.fillings) {
      if (f.boundary.size() > static_cast<std::size_t>(kMaxFillingLines)) {
        ++notRead_["HATCH"];
        continue;
      }
      chain_[at_].kept = true;
      pending_.push_back(PendingFilling{&f, part, holder, at_});
    }
    for (SceneText& t : block.texts) {
      PlanText text;
      if (take)
        text.points = std::move(t.points);
      else
        text.points = t.points;
      text.height = t.height;
      text.angle = t.angle;
      text.positioning = t.ownRecord ? OwnPositioning(t) : t.positioning;
      text.source = &t;
      MapText(text, at_);
      if (!Within(text.points) || !std::isfinite(text.height) || !Within(text.angle)) {
        ++approximated_[std::string(kTooFar)];
        continue;
      }
      text.attr = AttrOf(t.attr, holder);
      text.part = part;
      texts.push_back(std::move(text));
    }
    for (const SceneInsert& insert : block.inserts) {
      // A block that only refers to another drawing (an external reference) holds nothing
      // here: its placements are not read.
      if (scene_.xrefs.contains(insert.block)) {
        ++notRead_["XREF"];
        continue;
      }
      const auto found = scene_.blocks.find(insert.block);
      if (found == scene_.blocks.end()) {
        ++notRead_[insert.explode ? "DIMENSION" : "INSERT"];
        continue;
      }
      SceneBlock& inner = found->second;
      const PlanAttr attr = AttrOf(insert.attr, holder);
      if (insert.explode) ++approximated_[std::string(kDimension)];
      for (int row = 0; row < insert.rows; ++row)
        for (int col = 0; col < insert.cols; ++col) {
          const Point at{insert.at.x + col * insert.colStep.x + row * insert.rowStep.x,
                         insert.at.y + col * insert.colStep.y + row * insert.rowStep.y};
          Place(insert, inner, at, part, attr);
        }
    }
  }

  static int OwnPositioning(const SceneText& t) {
    TextElement stored;
    stored.words[0] = t.word0;
    stored.words[1] = t.word1;
    return static_cast<int>(stored.positioning());
  }

  void Place(const SceneInsert& insert, SceneBlock& inner, const Point& at, int part,
             const PlanAttr& attr) {
    Level level;
    MakeTransform(level.m, inner.base.x, inner.base.y, at.x, at.y, insert.sx, insert.sy,
                  insert.angle);
    level.sx = insert.sx;
    level.sy = insert.sy;
    level.angle = insert.angle;
    int innerPart = part;
    if (!insert.explode) {
      // (A part the program wrote keeps its name, an empty one too.)
      const std::string& name =
          insert.name.empty() && insert.partType < 0
              ? blockNames_.Of(insert.block, scene_.utf8, kPartNameMax, approximated_)
              : insert.name;
      PlanPart planned{name.substr(0, kPartNameMax), part, attr.layer};
      // A part this program wrote is located where it was placed.
      if (insert.partType >= 0) {
        planned.type = static_cast<std::uint32_t>(insert.partType);
        planned.location = at;
        Outward(at_, [&](const Level& outer) {
          ApplyTransform(outer.m, planned.location.x, planned.location.y);
        });
      }
      parts.push_back(std::move(planned));
      innerPart = static_cast<int>(parts.size()) - 1;
    }
    const std::size_t outer = at_;
    at_ = chain_.size();
    chain_.push_back(Node{level, outer});
    Unfold(inner, innerPart, attr, false);
    // A placement nothing waits on is forgotten: the chain holds only what hatches need.
    if (chain_.size() == at_ + 1 && !chain_[at_].kept) chain_.pop_back();
    at_ = outer;
  }

  DxfScene& scene_;
  const Setup& setup_;
  KindCounts& notRead_;
  KindCounts& approximated_;
  std::array<LetterStrokes, kMaxFonts> letterStrokes_;
  std::vector<const SceneBlock*> active_;
  std::unordered_map<const SceneBlock*, Expansion> counted_;
  double toDrawing_ = 1.0;
  std::vector<Node> chain_;  // the outer placement first
  std::size_t at_ = kNoNode; // the placement being unfolded
  std::vector<PendingFilling> pending_;
  std::map<std::string, int, DxfNameLess> layers_;
  ShownNames<DxfNameLess> layerNames_;
  ShownNames<std::less<>> blockNames_;
  std::unordered_map<int, std::size_t> ownLines_; // a line's own number -> its plan index
  std::array<bool, kLayerCount> used_{};
  std::array<bool, kLayerCount> shown_{};             // a shown layer of the file has the number
  std::array<bool, kLayerCount> hiddenNamed_{};       // a hidden layer of the file has the number
  std::set<std::pair<std::string, int>> hiddenNoted_; // hiddenNames already holds these
  int next_ = 0; // the next free layer to try, 0 before the first
};

// A text's width to its height by its record code, and the code of a width (unclamped).
double WidthOfCode(int code) {
  return 0.4 + 0.1 * code;
}
int CodeOfWidth(double ratio) {
  return static_cast<int>(std::lround(std::clamp((ratio - 0.4) / 0.1, -1.0, 1e6)));
}

// The box a text will cover, laid out as the program's fonts lay it out, turned with the text.
void ExtendTextBox(const PlanText& text, Box& box) {
  constexpr int kColumns = 3;
  constexpr int kWays = 9;
  const Point p = text.points[0];
  ExtendBox(p.x, p.y, box);
  const double h = text.height;
  const double ratio = WidthOfCode(text.source->widthRatio) * text.width;
  const double w = TextCells(text.source->text) * ratio * h;
  const auto rows = static_cast<double>(TextRows(text.source->text));
  const double tall = (rows + (rows - 1) * kFontRowSpace + kFontLowerPortion) * h;
  if (!std::isfinite(w) || !std::isfinite(tall)) return;
  const int way = text.positioning >= 1 && text.positioning <= kWays ? text.positioning - 1 : 0;
  const double x0 = -w * (way % kColumns) / 2;
  const double y0 = -tall * (way / kColumns) / 2;
  const double a = text.angle * std::numbers::pi / 180.0;
  const double c = std::cos(a);
  const double s = std::sin(a);
  for (const double dx : {x0, x0 + w})
    for (const double dy : {y0, y0 + tall}) {
      const double x = p.x + dx * c - dy * s;
      const double y = p.y + dx * s + dy * c;
      if (Within(x) && Within(y)) ExtendBox(x, y, box);
    }
}

Box PlanExtent(const Planner& plan) {
  Box box;
  ResetBox(box);
  for (const PlanLine& line : plan.lines) {
    const Box one = BoxOfLine(line);
    if (IsResetBox(one)) continue;
    ExtendBox(one.xmin, one.ymin, box);
    ExtendBox(one.xmax, one.ymax, box);
  }
  for (const PlanText& text : plan.texts)
    if (!text.points.empty()) ExtendTextBox(text, box);
  return box;
}

// A drawing read from its extents sits inside its sheet: a twentieth of its size each side,
// out to a round number of millimetres no coarser than `stepMm`, whatever unit the drawing
// counts in (so that its scale does not depend on the unit).
void AddMargin(Box& limits, double stepMm, double mmPerUnit) {
  constexpr double kMargin = 0.05;
  Box mm{limits.xmin * mmPerUnit, limits.ymin * mmPerUnit, limits.xmax * mmPerUnit,
         limits.ymax * mmPerUnit};
  const double mx = (mm.xmax - mm.xmin) * kMargin;
  const double my = (mm.ymax - mm.ymin) * kMargin;
  const double wider = std::max(mx, my);
  const double unit =
      wider > 0 ? std::min(stepMm, std::pow(10.0, std::floor(std::log10(wider)))) : stepMm;
  if (!(unit > 0) || !std::isfinite(unit) || !(mmPerUnit > 0)) return;
  mm.xmin = std::floor((mm.xmin - mx) / unit) * unit;
  mm.ymin = std::floor((mm.ymin - my) / unit) * unit;
  mm.xmax = std::ceil((mm.xmax + mx) / unit) * unit;
  mm.ymax = std::ceil((mm.ymax + my) / unit) * unit;
  limits = Box{mm.xmin / mmPerUnit, mm.ymin / mmPerUnit, mm.xmax / mmPerUnit, mm.ymax / mmPerUnit};
}

// The header of a whole drawing read from the file: limits, scale, grid, units and hidden
// layers (the drawing's elements are not touched). False when the drawing does not fit the
// sheet even at the largest scale.
bool SetUpHeader(Drawing& drawing, const Setup& setup, const DxfScene& scene, const Units& units,
                 const Box& extent, const Planner& plan) {
  const double sheetWidth = setup.limits[2] - setup.limits[0];
  const double sheetHeight = setup.limits[3] - setup.limits[1];
  constexpr double kStep = 1.0;
  // A file this program wrote keeps the scale and the limits it was written with.
  const bool own = scene.own && scene.dimScale > 0 && scene.dimScale <= kMaxScale;
  Box limits = extent;
  if (own && scene.hasLimits) {
    const double k = units.toDrawing;
    limits = Box{scene.limMin.x * k, scene.limMin.y * k, scene.limMax.x * k, scene.limMax.y * k};
  } else if (!IsResetBox(limits)) {
    AddMargin(limits, kStep, units.mmPerUnit);
  }
  if (IsResetBox(limits)) limits = Box{0, 0, sheetWidth, sheetHeight};
  // A drawing of one point or one straight line still gets an area to show it in, of at least
  // a millimetre.
  const double pad = std::max({1.0 / units.mmPerUnit, (limits.xmax - limits.xmin) * 0.05,
                               (limits.ymax - limits.ymin) * 0.05});
  if (limits.xmax - limits.xmin <= 0) limits.xmin -= pad, limits.xmax += pad;
  if (limits.ymax - limits.ymin <= 0) limits.ymin -= pad, limits.ymax += pad;
  drawing.limits = limits;
  drawing.layerVisible = Drawing::MakeAllVisible();
  for (int layer : plan.HiddenLayers()) drawing.layerVisible[static_cast<std::size_t>(layer)] = 0;
  const double widthMm = (limits.xmax - limits.xmin) * units.mmPerUnit;
  const double heightMm = (limits.ymax - limits.ymin) * units.mmPerUnit;
  drawing.scale = own ? scene.dimScale : ScaleToFit(widthMm, heightMm, sheetWidth, sheetHeight);
  // Coordinates read from a file keep their precision in the next save; the program's own
  // file keeps the version it was written from.
  constexpr double kLastVersion = 9;
  drawing.version = own && scene.version > 0 && scene.version <= kLastVersion
                        ? static_cast<float>(scene.version)
                        : kAccurateVersion;
  drawing.step = own && scene.gridStep > 0 && std::isfinite(scene.gridStep * units.toDrawing)
                     ? scene.gridStep * units.toDrawing
                     : kStep;
  drawing.unitsChosen = units.factor == 1.0 ? 1 : 0;
  drawing.paperUnit = drawing.scale * units.factor;
  return own || Fits(widthMm / drawing.scale, heightMm / drawing.scale, sheetWidth, sheetHeight);
}

// Puts the drawing built aside in place of the open one, with its header.
void ReplaceWith(ElementStore& store, FileEnvironment& env, ElementStore& aside) {
  Drawing& drawing = store.drawing();
  const Drawing& fresh = aside.drawing();
  env.ResetOrigins();
  drawing.limits = fresh.limits;
  store.ClearDrawing();
  store.SwapElements(aside);
  drawing.layerVisible = fresh.layerVisible;
  drawing.scale = fresh.scale;
  drawing.step = fresh.step;
  drawing.version = fresh.version;
  drawing.unitsChosen = fresh.unitsChosen;
  drawing.paperUnit = fresh.paperUnit;
  drawing.changes = fresh.changes;
  env.SetUpPlotter(drawing);
}

// The setup's section nearest to a wanted one (the typing row aside), or the wanted one
// rounded into the record's range when the setup lists none.
int NearestSection(const Setup& setup, double wanted) {
  int best = 0;
  const std::vector<CodeRow>& rows = setup.lineStyleSections.rows;
  for (std::size_t k = 0; k + 1 < rows.size(); ++k)
    if (const CodeRow& row = rows[k];
        row.value > 0 && row.value <= kMaxSection &&
        (best == 0 || std::fabs(row.value - wanted) < std::fabs(best - wanted)))
      best = row.value;
  if (best != 0) return best;
  return std::clamp(static_cast<int>(std::lround(wanted)), 1, kMaxSection);
}

// The smallest gap of the setup's filling gaps (millimetres on paper; the typing row aside).
double SmallestGapMm(const Setup& setup) {
  constexpr double kNoList = 1.0;
  double smallest = 0;
  const std::vector<ValueRow>& rows = setup.fillingDistances.rows;
  for (std::size_t k = 0; k + 1 < rows.size(); ++k)
    if (rows[k].value > 0.001 && (smallest == 0 || rows[k].value < smallest))
      smallest = rows[k].value;
  return smallest > 0 ? smallest : kNoList;
}

PropertySet SetOf(const PlanAttr& attr, const Setup& setup, double paperUnit) {
  PropertySet set;
  if (attr.own.present) {
    set.SetLayer(attr.own.layer);
    set.SetColour(attr.own.colour);
    set.SetWidth(attr.own.width);
    set.SetStyle(attr.own.style);
    set.SetSection(attr.own.section);
    return set;
  }
  set.SetLayer(static_cast<std::uint32_t>(attr.layer));
  set.SetColour(static_cast<std::uint32_t>(std::clamp(attr.colour, 0, 15)));
  set.SetWidth(static_cast<std::uint32_t>(std::clamp(attr.width, 0, 15)));
  set.SetStyle(static_cast<std::uint32_t>(StyleOfFamily(attr.linetype.family)));
  if (attr.linetype.family != LineFamily::kSolid && attr.linetype.family != LineFamily::kByBlock) {
    const double periodMm = paperUnit > 0 ? attr.linetype.period / paperUnit : 0;
    set.SetSection(static_cast<std::uint32_t>(
        NearestSection(setup, SectionForPeriod(attr.linetype.family, periodMm))));
  }
  return set;
}

std::int16_t WholeDegrees(double angle) {
  const double wrapped = std::fmod(std::round(angle), 360.0);
  return static_cast<std::int16_t>(wrapped);
}

// The program's own angles beyond a turn are kept as they were.
std::int16_t OwnDegrees(double angle) {
  const double whole = std::round(angle);
  return whole >= INT16_MIN && whole <= INT16_MAX ? static_cast<std::int16_t>(whole)
                                                  : WholeDegrees(angle);
}

class Adder {
public:
  Adder(ElementStore& store, FileEnvironment& env, PartElement* container, bool draw,
        KindCounts& approximated)
      : store_(store), env_(env), container_(container), draw_(draw), approximated_(approximated) {}

  bool Add(const Planner& plan) {
    const double paperUnit = store_.drawing().paperUnit;
    const Setup& setup = env_.ReadingSetup();
    lines_.reserve(plan.lines.size());
    for (const PlanLine& l : plan.lines) {
      PropertySet set = SetOf(l.attr, setup, paperUnit);
      set.SetShape(l.shape);
      LineElement* line = store_.AddLine(set, l.points.data(), static_cast<int>(l.points.size()));
      if (line == nullptr) return false;
      lines_.push_back(line);
      if (draw_) store_.painter().Draw(*line, DrawMode::kNormal);
    }
    for (const PlanFilling& f : plan.fillings) {
      PropertySet set = SetOf(f.attr, setup, paperUnit);
      set.gap = f.gap > 0 || f.own ? f.gap : SmallestGapMm(setup) * paperUnit;
      set.hatchAngle = f.own ? OwnDegrees(f.angle) : WholeDegrees(f.angle);
      std::vector<LineElement*> boundary;
      for (std::size_t k : f.lines) boundary.push_back(k == kLoopEnd ? nullptr : lines_[k]);
      FillingElement* filling =
          store_.AddFilling(set, boundary.data(), static_cast<int>(boundary.size()));
      if (filling == nullptr) return false;
      fillings_.push_back(filling);
      if (draw_) store_.painter().Draw(*filling, DrawMode::kNormal);
    }
    for (const PlanText& t : plan.texts) {
      PropertySet set;
      if (t.source->ownRecord) {
        TextElement stored;
        stored.words[0] = t.source->word0;
        stored.words[1] = t.source->word1;
        UnpackText(stored, set, PackFields::kAll);
      } else {
        set = SetOf(t.attr, setup, paperUnit);
        // Heights are kept in tenths of a millimetre on paper, up to 51.1 mm.
        const double tenths = t.height / paperUnit * 10.0;
        if (!(tenths >= 1 && tenths < kTextHeightMax + 1))
          ++approximated_[std::string(kTextHeight)];
        // Whole tenths down, as a text fitted between two points must stay within them; but
        // 0.3 m over 0.01 m is 29.99999... in floating point, which is 30.
        set.SetHeight(ClampTextHeight(tenths + 1e-6));
        int width = t.source->widthRatio;
        if (t.width != 1.0) {
          const int wanted = CodeOfWidth(WidthOfCode(width) * t.width);
          width = std::clamp(wanted, 0, kMostWidthCode);
          if (width != wanted) ++approximated_[std::string(kTextWidth)];
        }
        set.SetWidthRatio(static_cast<std::uint32_t>(width));
        set.SetSlant(static_cast<std::uint32_t>(t.source->slant));
      }
      set.angle = t.angle;
      set.SetPositioning(static_cast<std::uint32_t>(t.positioning));
      const std::size_t count = std::min<std::size_t>(t.points.size(), kMaxTextPoints);
      const std::string_view value = std::string_view(t.source->text).substr(0, kMaxTextLength);
      TextElement* text = store_.AddText(set, t.points.data(), static_cast<int>(count), value);
      if (text == nullptr) return false;
      texts_.push_back(text);
      if (draw_) store_.painter().Draw(*text, DrawMode::kNormal);
    }
    return AddParts(plan);
  }

  // Everything added, drawn (a drawing built aside is drawn once it is in place).
  void DrawAll() {
    for (LineElement* line : lines_) store_.painter().Draw(*line, DrawMode::kNormal);
    for (FillingElement* filling : fillings_) store_.painter().Draw(*filling, DrawMode::kNormal);
    for (TextElement* text : texts_) store_.painter().Draw(*text, DrawMode::kNormal);
  }

  // Deletes whatever was added, so that a file that fails part way adds nothing. Deletes
  // empty a part of a type, which goes with them: the parts in question are untyped meanwhile,
  // so that none is deleted behind the pointers kept here, the container least of all.
  // Every list holds its newest record first: parts leave their holders oldest first (as they
  // were joined from the back), and everything is deleted newest first, so that each record
  // is found at the head of its lists and the whole takes time in proportion to what it takes
  // back.
  void TakeBack(const Planner& plan) {
    const std::uint32_t containerType = container_ != nullptr ? container_->type() : 0;
    if (container_ != nullptr) container_->SetType(0);
    for (PartElement* part : parts_) part->SetType(0);
    for (std::size_t k = 0; k < parts_.size(); ++k) {
      const int parent = plan.parts[k].parent;
      PartElement* holder = parent >= 0 ? parts_[static_cast<std::size_t>(parent)] : container_;
      if (holder != nullptr) store_.RemoveMember(holder, parts_[k]);
    }
    // Nothing added here outlives the step that added it: undo keeps none of it.
    const bool paused = store_.PauseJournal(true);
    try {
      TakeBackAll(parts_, partsGone_, [this](PartElement*& p) { store_.DeletePart(p, false); });
      TakeBackAll(texts_, textsGone_, [this](TextElement*& t) { store_.DeleteText(t); });
      TakeBackAll(fillings_, fillingsGone_,
                  [this](FillingElement*& f) { store_.DeleteFilling(f); });
      TakeBackAll(lines_, linesGone_, [this](LineElement*& l) { store_.DeleteLine(l); });
    } catch (...) {
      store_.PauseJournal(paused);
      Forget();
      throw;
    }
    store_.PauseJournal(paused);
    Forget();
    if (container_ != nullptr) container_->SetType(containerType);
  }

private:
  // Newest first; `gone` counts those deleted, from the back, for Forget.
  template <class Element, class Delete>
  static void TakeBackAll(const std::vector<Element*>& elements, std::size_t& gone, Delete erase) {
    for (std::size_t k = elements.size() - gone; k-- > 0; ++gone) {
      Element* element = elements[k];
      erase(element);
    }
  }

  // The open step forgets what was added and deleted again; without the memory to say which
  // records those are, the history begins anew rather than name records no longer there.
  void Forget() {
    try {
      std::unordered_set<const void*> gone;
      gone.reserve(linesGone_ + fillingsGone_ + textsGone_ + partsGone_);
      const auto note = [&gone](const auto& elements, std::size_t count) {
        for (std::size_t k = elements.size() - count; k < elements.size(); ++k)
          gone.insert(elements[k]);
      };
      note(lines_, linesGone_);
      note(fillings_, fillingsGone_);
      note(texts_, textsGone_);
      note(parts_, partsGone_);
      store_.ForgetInOpenStep(gone);
    } catch (const std::bad_alloc&) {
      store_.ResetJournal();
    }
    const auto drop = [](auto& elements, std::size_t& count) {
      elements.resize(elements.size() - count);
      count = 0;
    };
    drop(lines_, linesGone_);
    drop(fillings_, fillingsGone_);
    drop(texts_, textsGone_);
    drop(parts_, partsGone_);
  }

  template <class Element>
  bool Join(const std::vector<Element*>& elements, std::size_t k, int part) {
    PartElement* holder = part >= 0 ? parts_[static_cast<std::size_t>(part)] : container_;
    return holder == nullptr || store_.AddMember(holder, elements[k]) != nullptr;
  }

  bool AddParts(const Planner& plan) {
    parts_.reserve(plan.parts.size());
    for (const PlanPart& p : plan.parts) {
      PartElement* part = store_.AddPart(p.name, p.type, static_cast<std::uint32_t>(p.layer));
      if (part == nullptr) return false;
      part->location = p.location;
      parts_.push_back(part);
    }
    bool joined = true;
    for (std::size_t k = 0; k < lines_.size() && joined; ++k)
      joined = Join(lines_, k, plan.lines[k].part);
    for (std::size_t k = 0; k < fillings_.size() && joined; ++k)
      joined = Join(fillings_, k, plan.fillings[k].part);
    for (std::size_t k = 0; k < texts_.size() && joined; ++k)
      joined = Join(texts_, k, plan.texts[k].part);
    // Children come after their parents in the plan: joining from the back gives every part
    // its whole box before it joins its parent.
    for (std::size_t k = parts_.size(); k-- > 0 && joined;)
      joined = Join(parts_, k, plan.parts[k].parent);
    return joined;
  }

  ElementStore& store_;
  FileEnvironment& env_;
  PartElement* container_;
  bool draw_;
  KindCounts& approximated_; // heights the drawing cannot keep are counted here
  std::vector<LineElement*> lines_;
  std::vector<FillingElement*> fillings_;
  std::vector<TextElement*> texts_;
  std::vector<PartElement*> parts_;
  std::size_t linesGone_ = 0; // taken back, from the back of each list
  std::size_t fillingsGone_ = 0;
  std::size_t textsGone_ = 0;
  std::size_t partsGone_ = 0;
};

// The kinds the report names at most, and the longest name it shows whole.
constexpr std::size_t kMostKindsNamed = 6;
constexpr std::size_t kLongestKindNamed = 24;

// What became of the file's off, frozen and unplotted layers, given the numbers that end up
// hidden: an unplotted layer hidden is told as such; one whose number stays shown (the open
// drawing draws on it, or a shown layer of the file shares it) is told to be in sight, and so
// is an off or frozen one. Counted into `approximated`, the names by kind.
NamedKinds TellHiddenLayers(const Planner& plan, const std::vector<int>& hidden,
                            KindCounts& approximated) {
  NamedKinds named;
  for (const Planner::HiddenName& layer : plan.hiddenNames) {
    const bool isHidden = std::find(hidden.begin(), hidden.end(), layer.number) != hidden.end();
    if (isHidden && !layer.unplotted) continue;
    const std::string kind(!isHidden ? (layer.unplotted ? kUnplottedShown : kHiddenShown)
                                     : kUnplotted);
    ++approximated[kind];
    named[kind].push_back(layer.name);
  }
  return named;
}

// One line: the kinds passed over, what was read as something near it, and the layers that
// took free numbers.
std::string NotReadReport(Language language, const KindCounts& notRead,
                          const KindCounts& approximated,
                          const std::vector<std::pair<std::string, int>>& layers,
                          const NamedKinds& named) {
  const auto list = [](const KindCounts& counts, auto name) {
    std::string out;
    for (const auto& [kind, count] : counts) {
      if (!out.empty()) out += ", ";
      out += std::to_string(count) + " " + name(kind);
    }
    return out;
  };
  std::string message;
  if (notRead.size() <= kMostKindsNamed) {
    message = list(notRead, [](const std::string& kind) { return kind; });
  } else {
    // A file of many kinds of its own would make a line no message shows whole: the largest
    // counts are named (long names cut), the rest only counted.
    std::vector<std::pair<std::string, std::int64_t>> largest(notRead.begin(), notRead.end());
    std::stable_sort(largest.begin(), largest.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    for (std::size_t k = 0; k < kMostKindsNamed; ++k) {
      const std::string& kind = largest[k].first;
      const std::string name =
          kind.size() <= kLongestKindNamed ? kind : kind.substr(0, kLongestKindNamed) + "...";
      message += (k == 0 ? "" : ", ") + std::to_string(largest[k].second) + " " + name;
    }
    message += std::string(dxf_messages::kMoreKindsHead.In(language)) +
               std::to_string(notRead.size() - kMostKindsNamed) +
               std::string(dxf_messages::kMoreKindsTail.In(language));
  }
  if (!message.empty()) message += dxf_messages::kNotReadTail.In(language);
  const std::string near = list(approximated, [language, &named](const std::string& kind) {
    std::string said = kind;
    for (const auto& [key, text] : dxf_messages::kApproximations)
      if (kind == key) said = text.In(language);
    // The layers a kind is about are named, the first few.
    const auto names = named.find(kind);
    if (names != named.end() && !names->second.empty()) {
      constexpr std::size_t kMostNamed = 3;
      const std::vector<std::string>& all = names->second;
      for (std::size_t k = 0; k < all.size() && k < kMostNamed; ++k)
        said += (k == 0 ? " (" : ", ") + all[k];
      said += all.size() > kMostNamed ? ", ...)" : ")";
    }
    return said;
  });
  if (!near.empty()) message += (message.empty() ? "" : "; ") + near;
  if (!layers.empty()) {
    message += (message.empty() ? "" : "; ") + std::string(dxf_messages::kLayersHead.In(language));
    // The first few, so that the report stays one line.
    constexpr std::size_t kMostLayersNamed = 6;
    for (std::size_t k = 0; k < layers.size() && k < kMostLayersNamed; ++k)
      message += (k == 0 ? " " : ", ") + layers[k].first + " " + std::to_string(layers[k].second);
    if (layers.size() > kMostLayersNamed)
      message += std::string(dxf_messages::kMoreKindsHead.In(language)) +
                 std::to_string(layers.size() - kMostLayersNamed) +
                 std::string(dxf_messages::kMoreLayersTail.In(language));
  }
  return message;
}

// Adds the plan into a container part of the open drawing; what fails part way is taken back.
int AddInto(ElementStore& store, FileEnvironment& env, const Planner& plan, PartElement* container,
            bool draw, const KindCounts& notRead, KindCounts approximated) {
  Adder adder(store, env, container, draw, approximated);
  bool overflow = false;
  try {
    // The file's off and frozen layers are hidden too, but never one the drawing already draws
    // on: the drafter's own elements stay in sight.
    std::vector<int> hidden = plan.HiddenLayers();
    const LayerSet before = hidden.empty() ? LayerSet{} : UsedLayers(store.drawing());
    if (adder.Add(plan)) {
      auto& visible = store.drawing().layerVisible;
      for (int layer : hidden)
        if (!before[static_cast<std::size_t>(layer)]) visible[static_cast<std::size_t>(layer)] = 0;
      // The report tells what the drawing shows now: a layer the drafter had hidden already
      // stays hidden.
      std::erase_if(
          hidden, [&visible](int layer) { return visible[static_cast<std::size_t>(layer)] != 0; });
      const NamedKinds named = TellHiddenLayers(plan, hidden, approximated);
      const std::string report =
          NotReadReport(env.CurrentLanguage(), notRead, approximated, plan.numberedLayers, named);
      if (!report.empty()) env.ShowError(report);
      return 1;
    }
  } catch (const std::bad_alloc&) {
    // Said below, once what was added has been taken back and its memory is free again.
    overflow = true;
  }
  try {
    adder.TakeBack(plan);
  } catch (const std::bad_alloc&) {
    // Without memory to delete with, what is left stays for the caller to clear.
  }
  if (overflow) env.ShowError(store_messages::kMemoryOverflow);
  return -1;
}

// What the planned drawing makes the drawing and plotting do beyond keeping it: the pieces its
// hatch lines are cut into by their boundaries, and the dashes its dashed lines and hatches
// draw on paper.
struct DrawnWork {
  double hatchLines = 0;
  double dashes = 0;
};

// How many of the lines k = 1, 2, ... at `low` + k x `gap` across the hatch lie in [from, to).
double LinesWithin(double from, double to, double low, double gap, double most) {
  const double first = std::max(1.0, std::ceil((from - low) / gap));
  const double past = std::ceil((to - low) / gap);
  return std::clamp(past - first, 0.0, most);
}

// How far the pen travels along a planned line, arcs taken as whole circles, and the pieces
// it is drawn in (dashes start again at every vertex).
double LengthOfLine(const PlanLine& line, double& pieces) {
  const std::vector<Point>& p = line.points;
  if (IsRound(line.shape)) {
    pieces = 1;
    return p.size() >= 2 ? 2 * std::numbers::pi * std::hypot(p[1].x - p[0].x, p[1].y - p[0].y)
                         : 0.0;
  }
  double length = 0;
  for (std::size_t k = 1; k < p.size(); ++k)
    length += std::hypot(p[k].x - p[k - 1].x, p[k].y - p[k - 1].y);
  if (line.shape == kShapeClosed && p.size() > 2)
    length += std::hypot(p.front().x - p.back().x, p.front().y - p.back().y);
  pieces = static_cast<double>(p.size());
  return length;
}

// The dashes an element of the style and section draws over `length` in `pieces`, at the paper
// unit (drawing units per millimetre on paper); none for a solid one.
double DashesOver(double length, double pieces, const PropertySet& set, double paperUnit) {
  const double perSection = DashesPerSection(static_cast<int>(set.style()));
  const double section = set.section() * paperUnit;
  if (!(perSection > 0) || !(section > 0)) return 0;
  return perSection * length / section + pieces;
}

// The hatch of a planned filling: the lines across its boundary and the pieces its boundary
// cuts them into, counted by where each edge crosses them (a comb-shaped boundary cuts every
// line into as many pieces as it has teeth); past the hatch's own bounds it draws nothing.
// `along`: how far the lines reach along their direction.
double HatchPieces(const Planner& plan, const PlanFilling& f, double gap, double& lines,
                   double& along) {
  const double a = f.angle * std::numbers::pi / 180.0;
  const Point across{-std::sin(a), std::cos(a)};
  const Point ahead{std::cos(a), std::sin(a)};
  const auto dot = [](const Point& p, const Point& d) { return p.x * d.x + p.y * d.y; };
  double low = HUGE_VAL;
  double high = -HUGE_VAL;
  double first = HUGE_VAL;
  double last = -HUGE_VAL;
  for (std::size_t k : f.lines) {
    if (k == kLoopEnd) continue;
    const Box box = BoxOfLine(plan.lines[k]);
    if (IsResetBox(box)) continue;
    for (const double x : {box.xmin, box.xmax})
      for (const double y : {box.ymin, box.ymax}) {
        low = std::min(low, dot({x, y}, across));
        high = std::max(high, dot({x, y}, across));
        first = std::min(first, dot({x, y}, ahead));
        last = std::max(last, dot({x, y}, ahead));
      }
  }
  lines = 0;
  along = 0;
  if (!(high > low)) return 0;
  lines = (high - low) / gap;
  along = last - first;
  if (lines > static_cast<double>(kMaxHatchLines)) return static_cast<double>(kMaxHatchLines);
  const double most = std::ceil(lines) + 1;
  double crossings = 0;
  for (std::size_t k : f.lines) {
    if (k == kLoopEnd) continue;
    const PlanLine& line = plan.lines[k];
    const std::vector<Point>& p = line.points;
    if (IsRound(line.shape)) {
      // A circle or arc meets a line twice at most.
      const Box box = BoxOfLine(line);
      if (IsResetBox(box)) continue;
      double from = HUGE_VAL;
      double to = -HUGE_VAL;
      for (const double x : {box.xmin, box.xmax})
        for (const double y : {box.ymin, box.ymax}) {
          from = std::min(from, dot({x, y}, across));
          to = std::max(to, dot({x, y}, across));
        }
      crossings += 2 * LinesWithin(from, to, low, gap, most);
      continue;
    }
    const auto edge = [&](const Point& u, const Point& v) {
      const double du = dot(u, across);
      const double dv = dot(v, across);
      crossings += LinesWithin(std::min(du, dv), std::max(du, dv), low, gap, most);
    };
    for (std::size_t n = 1; n < p.size(); ++n) edge(p[n - 1], p[n]);
    if (line.shape == kShapeClosed && p.size() > 2) edge(p.back(), p.front());
  }
  return std::min(std::max(lines, crossings / 2), static_cast<double>(kMaxHatchSegments));
}

// Whether the dashes of the set on a circle or arc of `radius` bend visibly on paper, where
// the plot sends each as a curve rather than as its chord. The longest dash decides: half a
// section of dash and dot, a quarter of dashes (and more than any dot).
bool DashesBend(double radius, const PropertySet& set, double paperUnit) {
  constexpr int kDashDot = 4;
  const double share = static_cast<int>(set.style()) == kDashDot ? 0.5 : 0.25;
  const double dash = set.section() * paperUnit * share;
  const double half = std::min(dash / (2 * radius), std::numbers::pi);
  const double bend = radius * (1 - std::cos(half));
  return bend / paperUnit >= kDxfVisibleBendMm;
}

DrawnWork WorkOf(const Planner& plan, const Setup& setup, double paperUnit) {
  DrawnWork work;
  const double smallestGap = SmallestGapMm(setup) * paperUnit;
  for (const PlanLine& line : plan.lines) {
    if (line.attr.linetype.family == LineFamily::kSolid && !line.attr.own.present) continue;
    double pieces = 0;
    const double length = LengthOfLine(line, pieces);
    const PropertySet set = SetOf(line.attr, setup, paperUnit);
    double dashes = DashesOver(length, pieces, set, paperUnit);
    if (IsRound(line.shape) && dashes > 0 && line.points.size() >= 2) {
      const Point& c = line.points[0];
      const double radius = std::hypot(line.points[1].x - c.x, line.points[1].y - c.y);
      if (radius > 0 && DashesBend(radius, set, paperUnit)) dashes *= kDxfDashCurveWeight;
    }
    work.dashes += dashes;
  }
  for (const PlanFilling& f : plan.fillings) {
    const double gap = f.gap > 0 || f.own ? f.gap : smallestGap;
    if (!(gap >= kMinHatchGap)) continue;
    double lines = 0;
    double along = 0;
    const double pieces = HatchPieces(plan, f, gap, lines, along);
    work.hatchLines += pieces;
    if (f.attr.linetype.family != LineFamily::kSolid || f.attr.own.present)
      work.dashes += DashesOver(std::min(lines, static_cast<double>(kMaxHatchLines)) * along,
                                pieces, SetOf(f.attr, setup, paperUnit), paperUnit);
  }
  return work;
}

std::string CountText(double count) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%.0f", std::min(count, 1e30));
  return buffer;
}

using TooManyParts = std::vector<std::pair<std::string, const TextPair*>>;

// What a file unfolds into against the budget, on two sides: the memory its elements, points
// and parts take, against `budgetBytes` times kDxfMemoryPerWork, and the drawing and plotting its
// letters, hatch lines, dashes and walked placements take, against `budgetBytes`. A file beyond
// either is refused naming what makes up most of that side (empty when the file is within both,
// unless `always`): the kinds that cost the most there, together two thirds of it at least.
TooManyParts OverBudget(const Expansion& total, const DrawnWork& work, double budgetBytes,
                        bool always = false) {
  struct Term {
    double count;
    double memory;  // bytes kept
    double drawing; // bytes' worth of drawing and plotting
    const TextPair* kind;
  };
  const double points = PointsAsCut(total) + total.stretched * kDxfPointsPerStretchedRound;
  const double walked = std::max(0.0, total.placements - total.parts);
  constexpr std::size_t kTerms = 6;
  const std::array<Term, kTerms> terms{{
      {total.elements, total.elements * kDxfBytesPerElement + total.fillings * kDxfBytesPerFilling,
       0, &dxf_messages::kElements},
      {points, points * kDxfBytesPerPoint, 0, &dxf_messages::kPoints},
      {total.characters, 0, total.strokes * kDxfBytesPerLetterStroke, &dxf_messages::kLetters},
      {work.hatchLines, 0, work.hatchLines * kDxfBytesPerHatchLine, &dxf_messages::kHatchLines},
      {work.dashes, 0, work.dashes * kDxfBytesPerDash, &dxf_messages::kDashes},
      {total.placements, total.parts * kDxfBytesPerElement, walked * kDxfBytesPerPlacement,
       &dxf_messages::kPlacements},
  }};
  const double memoryBudget = budgetBytes * kDxfMemoryPerWork;
  double memory = 0;
  double drawing = 0;
  for (const Term& term : terms) {
    memory += term.memory;
    drawing += term.drawing;
  }
  if (!(memory > memoryBudget) && !(drawing > budgetBytes) && !always) return {};
  // The side furthest over its budget is the one named.
  const bool byMemory = memory / memoryBudget >= drawing / budgetBytes;
  const auto cost = [&](const Term& term) { return byMemory ? term.memory : term.drawing; };
  const double sum = byMemory ? memory : drawing;
  std::array<std::size_t, kTerms> order{};
  for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return cost(terms[a]) > cost(terms[b]); });
  std::array<bool, kTerms> named{};
  double covered = 0;
  for (std::size_t k : order) {
    if (covered >= sum * 2 / 3 || !(terms[k].count > 0) || !(cost(terms[k]) > 0)) break;
    named[k] = true;
    covered += cost(terms[k]);
  }
  TooManyParts parts;
  for (std::size_t k = 0; k < kTerms; ++k)
    if (named[k]) parts.emplace_back(CountText(terms[k].count), terms[k].kind);
  if (parts.empty()) parts.emplace_back(CountText(total.elements), &dxf_messages::kElements);
  return parts;
}

} // namespace

double ScaleToFit(double widthMm, double heightMm, double sheetWidth, double sheetHeight) {
  // The standard scales: 1, 2 and 5 times a power of ten.
  constexpr std::array<double, 3> kSteps{1.0, 2.0, 5.0};
  for (double decade = 1.0; decade < kMaxScale; decade *= 10.0)
    for (double step : kSteps) {
      const double scale = step * decade;
      if (Fits(widthMm / scale, heightMm / scale, sheetWidth, sheetHeight)) return scale;
    }
  return kMaxScale;
}

int BuildDxfScene(ElementStore& store, FileEnvironment& env, DxfScene& scene,
                  PartElement* container, const Placement& placement, bool draw,
                  double budgetBytes) {
  KindCounts notRead = scene.notRead;
  KindCounts approximated;
  Planner plan(scene, env.ReadingSetup(), notRead, approximated, env.LetterFonts());
  Expansion total;
  const Units units = container == nullptr ? WholeDrawingUnits(scene.insUnits)
                                           : AddedUnits(scene.insUnits, store.drawing());
  const auto refuse = [&](const TooManyParts& parts) {
    env.ShowError(dxf_messages::TooMany(env.CurrentLanguage(), parts));
    return 0;
  };
  // Until the plan is whole nothing has changed: memory that runs out refuses the file as one
  // that unfolds too far, with what it was counted to make.
  bool exhausted = false;
  try {
    if (container != nullptr) {
      // Numbers the drawing draws on or hides: a new name on a hidden one would vanish unsaid.
      LayerSet taken = UsedLayers(store.drawing());
      for (std::size_t k = 0; k < taken.size(); ++k)
        taken[k] = taken[k] || store.drawing().layerVisible[k] == 0;
      plan.KeepTaken(taken);
    }
    if (const TextPair* problem = plan.Check(total, placement)) {
      env.ShowError(*problem);
      return 0;
    }
    if (const TooManyParts excess = OverBudget(total, {}, budgetBytes); !excess.empty())
      return refuse(excess);
    plan.Plan(placement, units.toDrawing, total);
  } catch (const std::bad_alloc&) {
    exhausted = true;
  }
  if (exhausted) {
    // The unfinished plan goes before the refusal is worded, which needs memory of its own.
    plan.Release();
    try {
      return refuse(OverBudget(total, {}, budgetBytes, true));
    } catch (const std::bad_alloc&) {
      env.ShowError(store_messages::kMemoryOverflow);
      return 0;
    }
  }
  // The plan holds the drawing's lines now (texts still refer to the scene's strings).
  std::vector<SceneLine>().swap(scene.model.lines);
  const Setup& setup = env.ReadingSetup();
  // What the hatches and dashes will draw is known once the plan is placed, at the paper unit
  // they draw in.
  const auto hatchesFit = [&](double paperUnit) {
    const TooManyParts excess = OverBudget(total, WorkOf(plan, setup, paperUnit), budgetBytes);
    return excess.empty() || refuse(excess) != 0;
  };
  if (container != nullptr) {
    try {
      if (!hatchesFit(store.drawing().paperUnit)) return 0;
    } catch (const std::bad_alloc&) {
      plan.Release();
      env.ShowError(store_messages::kMemoryOverflow);
      return 0;
    }
    return AddInto(store, env, plan, container, draw, notRead, approximated);
  }
  // A whole drawing is built aside and takes the open one's place only when it is complete:
  // memory that runs out on the way leaves the open drawing as it was.
  try {
    Drawing fresh;
    ElementStore aside(fresh, store.environment(), store.painter(), store.allocator());
    if (!SetUpHeader(fresh, setup, scene, units, PlanExtent(plan), plan))
      ++approximated[std::string(kBeyondSheet)];
    if (!hatchesFit(fresh.paperUnit)) return 0;
    Adder adder(aside, env, nullptr, false, approximated);
    if (!adder.Add(plan)) return 0; // the store said why
    const NamedKinds named = TellHiddenLayers(plan, plan.HiddenLayers(), approximated);
    const std::string report =
        NotReadReport(env.CurrentLanguage(), notRead, approximated, plan.numberedLayers, named);
    ReplaceWith(store, env, aside);
    if (draw) adder.DrawAll();
    if (!report.empty()) env.ShowError(report);
  } catch (const std::bad_alloc&) {
    env.ShowError(store_messages::kMemoryOverflow);
    return 0;
  }
  return 1;
}

} // namespace lumora
