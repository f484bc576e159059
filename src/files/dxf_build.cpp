#include "files/dxf_build.h"

#include "files/dxf_messages.h"
#include "files/dxf_style.h"
#include "model/element_store.h"
#include "model/element_transform.h"
#include "model/store_messages.h"
#include "setup/setup.h"
#include "text/place_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
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
  double angle = 0;
  const SceneText* source = nullptr;
  PlanAttr attr;
  int part = -1;
};

struct PlanFilling {
  std::vector<std::size_t> lines;
  double gap = 0; // negative: solid, gap from the paper unit
  double angle = 0;
  PlanAttr attr;
  int part = -1;
};

struct PlanPart {
  std::string name;
  int parent = -1;
  int layer = 0;
};

// One placement of a block: its map and what the map does to sizes and angles.
struct Level {
  Transform m;
  double sx = 1;
  double sy = 1;
  double angle = 0;
};

// What a block unfolds into, counted before anything is built: elements (a part for every
// placement) and points, with every insert's multiplicity.
struct Expansion {
  double elements = 0;
  double points = 0;
  int height = 0; // the deepest nesting below the block
};

class Planner {
public:
  Planner(DxfScene& scene, const Setup& setup, std::map<std::string, int>& notRead,
          std::map<std::string, int>& approximated)
      : scene_(scene), setup_(setup), notRead_(notRead), approximated_(approximated) {}

  // Refuses cycles, deep nesting and files that unfold beyond what memory holds. Each block
  // is counted once, so a file of a few nested blocks that unfolds into billions costs no
  // more than its size.
  const TextPair* Check(Expansion& total, double budgetBytes) {
    if (const TextPair* p = Count(scene_.model, total)) return p;
    if (total.height > kMaxBlockDepth) return &dxf_messages::kTooDeep;
    return total.elements * kDxfBytesPerElement + total.points * kDxfBytesPerPoint > budgetBytes
               ? &dxf_messages::kTooMany
               : nullptr;
  }

  void Plan(const Placement& placement, double toDrawing) {
    toDrawing_ = toDrawing;
    Level outer;
    MakeTransform(outer.m, 0, 0, placement.x, placement.y, placement.sx * toDrawing,
                  placement.sy * toDrawing, placement.angle);
    outer.sx = placement.sx * toDrawing;
    outer.sy = placement.sy * toDrawing;
    outer.angle = placement.angle;
    levels_.push_back(outer);
    // The model is unfolded once: its points move into the plan instead of being copied.
    Unfold(scene_.model, -1, PlanAttr{}, true);
    PlanFillings();
  }

  std::vector<PlanLine> lines;
  std::vector<PlanText> texts;
  std::vector<PlanFilling> fillings;
  std::vector<PlanPart> parts;
  std::vector<int> hiddenLayers;                           // numbers of the file's hidden layers
  std::vector<std::pair<std::string, int>> numberedLayers; // names given free numbers

private:
  const TextPair* Count(const SceneBlock& block, Expansion& out) {
    const auto known = counted_.find(&block);
    if (known != counted_.end()) return out = known->second, nullptr;
    if (std::find(active_.begin(), active_.end(), &block) != active_.end())
      return &dxf_messages::kSelfInsert;
    // A chain of blocks each placing the next is refused before its depth exhausts the stack.
    if (active_.size() > static_cast<std::size_t>(kMaxBlockDepth)) return &dxf_messages::kTooDeep;
    Expansion e;
    for (const SceneLine& l : block.lines)
      if (!l.measureGraphics) e.elements += 1, e.points += static_cast<double>(l.points.size());
    for (const SceneText& t : block.texts)
      e.elements += 1, e.points += static_cast<double>(t.points.size());
    for (const SceneFilling& f : block.fillings) {
      e.elements += 1;
      for (const SceneLine& l : f.boundary)
        e.elements += 1, e.points += static_cast<double>(l.points.size());
    }
    active_.push_back(&block);
    for (const SceneInsert& insert : block.inserts) {
      const auto found = scene_.blocks.find(insert.block);
      if (found == scene_.blocks.end()) continue;
      Expansion inner;
      if (const TextPair* problem = Count(found->second, inner)) return problem;
      const double copies = static_cast<double>(insert.cols) * insert.rows;
      e.elements += copies * ((insert.explode ? 0 : 1) + inner.elements);
      e.points += copies * inner.points;
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
    int number = SetupLayer(name);
    if (number == 0) {
      const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
      if (error != std::errc() || end != name.data() + name.size() || number < 0 ||
          number > kLastLayer) {
        if (next_ == 0)
          next_ = std::min<int>(static_cast<int>(setup_.layers.rows.size()) + 1, kLastNamedLayer);
        while (next_ < kLastNamedLayer && used_[static_cast<std::size_t>(next_)]) ++next_;
        number = next_;
        numberedLayers.emplace_back(name, number);
      }
    }
    used_[static_cast<std::size_t>(number)] = true;
    layers_[name] = number;
    if (scene_.hiddenLayers.contains(name)) hiddenLayers.push_back(number);
    return number;
  }

  PlanAttr AttrOf(const SceneAttributes& a, const PlanAttr& holder) {
    PlanAttr out;
    out.layer = LayerOf(a.layer, holder);
    out.colour = a.colour < 0 ? holder.colour : a.colour;
    out.width = a.width;
    if (a.linetype.family == LineFamily::kByBlock) {
      out.linetype = holder.linetype;
    } else {
      out.linetype = a.linetype;
      out.linetype.period *= toDrawing_;
    }
    return out;
  }

  void MapLine(PlanLine& line) const {
    LineElement shape;
    shape.SetShape(line.shape);
    for (auto level = levels_.rbegin(); level != levels_.rend(); ++level)
      TransformLinePoints(shape, line.points, level->m, level->sx, level->sy);
  }

  void MapText(PlanText& text) const {
    for (auto level = levels_.rbegin(); level != levels_.rend(); ++level) {
      for (Point& p : text.points) ApplyTransform(level->m, p.x, p.y);
      text.height *= std::fabs(level->sy);
      if (level->sx < 0) text.angle = 180.0 - text.angle;
      if (level->sy < 0) text.angle = -text.angle;
      text.angle += level->angle;
    }
  }

  void MapFilling(PlanFilling& filling) const {
    for (auto level = levels_.rbegin(); level != levels_.rend(); ++level) {
      if (filling.gap > 0)
        filling.gap *= filling.angle != 0 ? std::fabs(level->sx) : std::fabs(level->sy);
      if (level->sx < 0) filling.angle = -filling.angle;
      if (level->sy < 0) filling.angle = -filling.angle;
      filling.angle += level->angle;
    }
  }

  std::size_t AddLine(SceneLine& source, int part, const PlanAttr& holder, bool take) {
    PlanLine line;
    line.shape = source.shape;
    if (take)
      line.points = std::move(source.points);
    else
      line.points = source.points;
    line.attr = AttrOf(source.attr, holder);
    line.part = part;
    MapLine(line);
    lines.push_back(std::move(line));
    return lines.size() - 1;
  }

  // A hatch boundary that repeats a line of the same block is that line: files keep the
  // drawn boundary and the hatch's copy of it apart, the program's fillings share the line.
  struct LineKey {
    std::uint32_t shape;
    std::size_t count;
    long long x;
    long long y;
    bool operator==(const LineKey&) const = default;
  };
  struct LineKeyHash {
    std::size_t operator()(const LineKey& k) const {
      // Unsigned: far coordinates give keys whose product does not fit a signed number.
      const auto mixed =
          static_cast<unsigned long long>(k.x) * 31 + static_cast<unsigned long long>(k.y);
      return std::hash<unsigned long long>()(mixed) ^ (k.count << 3) ^ k.shape;
    }
  };
  static LineKey KeyOf(const PlanLine& line) {
    constexpr double kGrid = 1e6;
    const Point p = line.points.empty() ? Point{0, 0} : line.points.front();
    return {line.shape, line.points.size(), std::llround(p.x * kGrid), std::llround(p.y * kGrid)};
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

  using DrawnLines = std::unordered_multimap<LineKey, std::size_t, LineKeyHash>;

  // Fillings wait until every line is planned: a boundary may be a line of any block.
  struct PendingFilling {
    const SceneFilling* source;
    int part;
    PlanAttr holder;
    std::vector<Level> levels;
  };

  void PlanFillings() {
    if (pending_.empty()) return;
    // Every boundary placed first; only the drawn lines that may match one are indexed.
    std::vector<std::vector<PlanLine>> placed(pending_.size());
    std::unordered_set<LineKey, LineKeyHash> wanted;
    for (std::size_t k = 0; k < pending_.size(); ++k) {
      levels_ = pending_[k].levels;
      for (const SceneLine& source : pending_[k].source->boundary) {
        PlanLine line;
        line.shape = source.shape;
        line.points = source.points;
        MapLine(line);
        wanted.insert(KeyOf(line));
        placed[k].push_back(std::move(line));
      }
    }
    DrawnLines drawn;
    for (std::size_t k = 0; k < lines.size(); ++k) {
      const LineKey key = KeyOf(lines[k]);
      if (wanted.contains(key)) drawn.emplace(key, k);
    }
    for (std::size_t k = 0; k < pending_.size(); ++k) {
      PendingFilling& p = pending_[k];
      levels_ = std::move(p.levels);
      const SceneFilling& f = *p.source;
      PlanFilling filling;
      // A boundary of the hatch's own is drawn like the hatch.
      const PlanAttr own = AttrOf(f.attr, p.holder);
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
      filling.gap = f.solid || !(f.gap > 0) ? -1.0 : f.gap;
      filling.angle = f.angle;
      filling.attr = own;
      filling.part = p.part;
      MapFilling(filling);
      fillings.push_back(std::move(filling));
    }
    pending_.clear();
  }

  static constexpr std::size_t kNotDrawn = static_cast<std::size_t>(-1);
  std::size_t FindDrawn(const PlanLine& line, const DrawnLines& drawn) const {
    const auto [first, last] = drawn.equal_range(KeyOf(line));
    for (auto it = first; it != last; ++it)
      if (SameLine(lines[it->second], line)) return it->second;
    return kNotDrawn;
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
      pending_.push_back(PendingFilling{&f, part, holder, levels_});
    }
    for (SceneText& t : block.texts) {
      PlanText text;
      if (take)
        text.points = std::move(t.points);
      else
        text.points = t.points;
      text.height = t.height;
      text.angle = t.angle;
      text.source = &t;
      text.attr = AttrOf(t.attr, holder);
      text.part = part;
      MapText(text);
      texts.push_back(std::move(text));
    }
    for (const SceneInsert& insert : block.inserts) {
      const auto found = scene_.blocks.find(insert.block);
      if (found == scene_.blocks.end()) {
        ++notRead_[insert.explode ? "DIMENSION" : "INSERT"];
        continue;
      }
      SceneBlock& inner = found->second;
      const PlanAttr attr = AttrOf(insert.attr, holder);
      const double a = insert.angle * std::numbers::pi / 180.0;
      for (int row = 0; row < insert.rows; ++row)
        for (int col = 0; col < insert.cols; ++col) {
          // A grid's placements step along the insert's own turned axes.
          const double u = col * insert.colSpacing;
          const double v = row * insert.rowSpacing;
          const Point at{insert.at.x + u * std::cos(a) - v * std::sin(a),
                         insert.at.y + u * std::sin(a) + v * std::cos(a)};
          Place(insert, inner, at, part, attr);
        }
    }
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
      const std::string& name = insert.name.empty() ? insert.block : insert.name;
      parts.push_back(PlanPart{name.substr(0, kPartNameMax), part, attr.layer});
      innerPart = static_cast<int>(parts.size()) - 1;
    }
    levels_.push_back(level);
    Unfold(inner, innerPart, attr, false);
    levels_.pop_back();
  }

  DxfScene& scene_;
  const Setup& setup_;
  std::map<std::string, int>& notRead_;
  std::map<std::string, int>& approximated_;
  std::vector<const SceneBlock*> active_;
  std::unordered_map<const SceneBlock*, Expansion> counted_;
  double toDrawing_ = 1.0;
  std::vector<Level> levels_;
  std::vector<PendingFilling> pending_;
  std::map<std::string, int> layers_;
  std::array<bool, kLayerCount> used_{};
  int next_ = 0; // the next free layer to try, 0 before the first
};

Box PlanExtent(const Planner& plan) {
  Box box;
  ResetBox(box);
  for (const PlanLine& line : plan.lines) {
    Box one;
    ResetBox(one);
    if (line.shape == kShapeArc && line.points.size() >= 3)
      BoxOfArc(line.points[0], line.points[1], line.points[2], one);
    else if (line.shape == kShapeCircle && line.points.size() >= 2)
      BoxOfCircle(line.points[0], line.points[1], one);
    else
      BoxOfPoints(line.points, one);
    ExtendBox(one.xmin, one.ymin, box);
    ExtendBox(one.xmax, one.ymax, box);
  }
  for (const PlanText& text : plan.texts)
    if (!text.points.empty()) ExtendBox(text.points[0].x, text.points[0].y, box);
  return box;
}

void SetUpWholeDrawing(ElementStore& store, FileEnvironment& env, const DxfScene& scene,
                       const Units& units, const Box& extent, const Planner& plan) {
  Drawing& drawing = store.drawing();
  const Setup& setup = env.ReadingSetup();
  const double sheetWidth = setup.limits[2] - setup.limits[0];
  const double sheetHeight = setup.limits[3] - setup.limits[1];
  // A file this program wrote keeps the scale and the limits it was written with.
  const bool own = scene.own && scene.dimScale > 0 && scene.dimScale <= kMaxScale;
  Box limits = extent;
  if (own && scene.hasLimits) {
    const double k = units.toDrawing;
    limits = Box{scene.limMin.x * k, scene.limMin.y * k, scene.limMax.x * k, scene.limMax.y * k};
  }
  if (IsResetBox(limits)) limits = Box{0, 0, sheetWidth, sheetHeight};
  // A drawing of one point or one straight line still gets an area to show it in.
  const double pad =
      std::max({1.0, (limits.xmax - limits.xmin) * 0.05, (limits.ymax - limits.ymin) * 0.05});
  if (limits.xmax - limits.xmin <= 0) limits.xmin -= pad, limits.xmax += pad;
  if (limits.ymax - limits.ymin <= 0) limits.ymin -= pad, limits.ymax += pad;
  env.ResetOrigins();
  drawing.limits = limits;
  store.ClearDrawing();
  for (int layer : plan.hiddenLayers) drawing.layerVisible[static_cast<std::size_t>(layer)] = 0;
  drawing.scale =
      own ? scene.dimScale
          : ScaleToFit((limits.xmax - limits.xmin) * units.mmPerUnit,
                       (limits.ymax - limits.ymin) * units.mmPerUnit, sheetWidth, sheetHeight);
  drawing.step = 1.0;
  drawing.unitsChosen = units.factor == 1.0 ? 1 : 0;
  drawing.paperUnit = drawing.scale * units.factor;
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

class Adder {
public:
  Adder(ElementStore& store, FileEnvironment& env, PartElement* container, bool draw)
      : store_(store), env_(env), container_(container), draw_(draw) {}

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
      set.gap = f.gap > 0 ? f.gap : SmallestGapMm(setup) * paperUnit;
      set.hatchAngle = WholeDegrees(f.angle);
      std::vector<LineElement*> boundary;
      for (std::size_t k : f.lines) boundary.push_back(lines_[k]);
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
        set.SetLayer(static_cast<std::uint32_t>(t.attr.layer));
      } else {
        set = SetOf(t.attr, setup, paperUnit);
        set.SetHeight(ClampTextHeight(t.height / paperUnit * 10.0));
        set.SetPositioning(static_cast<std::uint32_t>(t.source->positioning));
        set.SetWidthRatio(static_cast<std::uint32_t>(t.source->widthRatio));
        set.SetSlant(static_cast<std::uint32_t>(t.source->slant));
      }
      set.angle = t.angle;
      const std::size_t count = std::min<std::size_t>(t.points.size(), kMaxTextPoints);
      const std::string_view value = std::string_view(t.source->text).substr(0, kMaxTextLength);
      TextElement* text = store_.AddText(set, t.points.data(), static_cast<int>(count), value);
      if (text == nullptr) return false;
      texts_.push_back(text);
      if (draw_) store_.painter().Draw(*text, DrawMode::kNormal);
    }
    return AddParts(plan);
  }

private:
  template <class Element>
  void Join(const std::vector<Element*>& elements, std::size_t k, int part,
            const std::vector<PartElement*>& parts) {
    PartElement* holder = part >= 0 ? parts[static_cast<std::size_t>(part)] : container_;
    if (holder != nullptr) store_.AddMember(holder, elements[k]);
  }

  bool AddParts(const Planner& plan) {
    std::vector<PartElement*> parts;
    for (const PlanPart& p : plan.parts) {
      PartElement* part = store_.AddPart(p.name, 1, static_cast<std::uint32_t>(p.layer));
      if (part == nullptr) return false;
      parts.push_back(part);
    }
    for (std::size_t k = 0; k < lines_.size(); ++k) Join(lines_, k, plan.lines[k].part, parts);
    for (std::size_t k = 0; k < fillings_.size(); ++k)
      Join(fillings_, k, plan.fillings[k].part, parts);
    for (std::size_t k = 0; k < texts_.size(); ++k) Join(texts_, k, plan.texts[k].part, parts);
    // Children come after their parents in the plan: joining from the back gives every part
    // its whole box before it joins its parent.
    for (std::size_t k = parts.size(); k-- > 0;) Join(parts, k, plan.parts[k].parent, parts);
    return true;
  }

  ElementStore& store_;
  FileEnvironment& env_;
  PartElement* container_;
  bool draw_;
  std::vector<LineElement*> lines_;
  std::vector<FillingElement*> fillings_;
  std::vector<TextElement*> texts_;
};

// One line: the kinds passed over, what was read as something near it, and the layers that
// took free numbers.
std::string NotReadReport(Language language, const std::map<std::string, int>& notRead,
                          const std::map<std::string, int>& approximated,
                          const std::vector<std::pair<std::string, int>>& layers) {
  const auto list = [](const std::map<std::string, int>& counts, auto name) {
    std::string out;
    for (const auto& [kind, count] : counts) {
      if (!out.empty()) out += ", ";
      out += std::to_string(count) + " " + name(kind);
    }
    return out;
  };
  std::string message = list(notRead, [](const std::string& kind) { return kind; });
  if (!message.empty()) message += dxf_messages::kNotReadTail.In(language);
  const std::string near = list(approximated, [language](const std::string& kind) {
    for (const auto& [key, text] : dxf_messages::kApproximations)
      if (kind == key) return std::string(text.In(language));
    return kind;
  });
  if (!near.empty()) message += (message.empty() ? "" : "; ") + near;
  if (!layers.empty()) {
    message += (message.empty() ? "" : "; ") + std::string(dxf_messages::kLayersHead.In(language));
    for (std::size_t k = 0; k < layers.size(); ++k)
      message += (k == 0 ? " " : ", ") + layers[k].first + " " + std::to_string(layers[k].second);
  }
  return message;
}

std::string CountText(double count) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%.0f", std::min(count, 1e30));
  return buffer;
}

} // namespace

double ScaleToFit(double widthMm, double heightMm, double sheetWidth, double sheetHeight) {
  // The standard scales: 1, 2 and 5 times a power of ten.
  constexpr std::array<double, 3> kSteps{1.0, 2.0, 5.0};
  double a = sheetWidth;
  double b = sheetHeight;
  if ((widthMm > heightMm) != (a > b)) std::swap(a, b);
  for (double decade = 1.0; decade < kMaxScale; decade *= 10.0)
    for (double step : kSteps) {
      const double scale = step * decade;
      if (widthMm / scale <= a && heightMm / scale <= b) return scale;
    }
  return kMaxScale;
}

int BuildDxfScene(ElementStore& store, FileEnvironment& env, DxfScene& scene,
                  PartElement* container, const Placement& placement, bool draw,
                  double budgetBytes) {
  std::map<std::string, int> notRead = scene.notRead;
  std::map<std::string, int> approximated;
  Planner plan(scene, env.ReadingSetup(), notRead, approximated);
  Expansion total;
  const Units units = container == nullptr ? WholeDrawingUnits(scene.insUnits)
                                           : AddedUnits(scene.insUnits, store.drawing());
  // Until the plan is whole nothing has changed: memory that runs out refuses the file as one
  // that unfolds too far, with what it was counted to make.
  try {
    if (const TextPair* problem = plan.Check(total, budgetBytes)) {
      if (problem == &dxf_messages::kTooMany)
        env.ShowError(
            dxf_messages::TooManyElements(env.CurrentLanguage(), CountText(total.elements)));
      else
        env.ShowError(*problem);
      return 0;
    }
    plan.Plan(placement, units.toDrawing);
  } catch (const std::bad_alloc&) {
    env.ShowError(dxf_messages::TooManyElements(env.CurrentLanguage(), CountText(total.elements)));
    return 0;
  }
  // The plan holds the drawing's lines now (texts still refer to the scene's strings).
  std::vector<SceneLine>().swap(scene.model.lines);
  try {
    if (container == nullptr) SetUpWholeDrawing(store, env, scene, units, PlanExtent(plan), plan);
    Adder adder(store, env, container, draw);
    if (!adder.Add(plan)) return -1;
    const std::string report =
        NotReadReport(env.CurrentLanguage(), notRead, approximated, plan.numberedLayers);
    if (!report.empty()) env.ShowError(report);
  } catch (const std::bad_alloc&) {
    env.ShowError(store_messages::kMemoryOverflow);
    return -1;
  }
  return 1;
}

} // namespace lumora
