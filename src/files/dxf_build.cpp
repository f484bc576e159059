#include "files/dxf_build.h"

#include "files/dxf_messages.h"
#include "model/element_store.h"
#include "model/element_transform.h"
#include "text/place_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <unordered_map>
#include <unordered_set>

namespace lumora {
namespace {

constexpr double kSheetWidth = 200.0; // the default paper, millimetres
constexpr double kSheetHeight = 287.0;
constexpr double kSheetSlack = 1.1;
constexpr double kSolidGapMm = 0.3; // a solid fill is hatched this densely on paper
constexpr double kMaxScale = 1e9;
constexpr int kLastLayer = 127;      // a layer named by its number keeps it
constexpr int kLastNamedLayer = 126; // named layers are numbered below the mixed-layer mark

struct Units {
  double toMm = 1.0;   // coordinates are multiplied by this to land in the drawing's units
  double factor = 1.0; // paper unit per scale: 1 mm, 0.1 cm, 0.001 m
  double mmPerUnit = 1.0;
};

Units UnitsOf(int insUnits) {
  constexpr int kInches = 1;
  constexpr int kFeet = 2;
  constexpr int kCentimetres = 5;
  constexpr int kMetres = 6;
  switch (insUnits) {
  case kInches:
    return {25.4, 1.0, 1.0};
  case kFeet:
    return {304.8, 1.0, 1.0};
  case kCentimetres:
    return {1.0, 0.1, 10.0};
  case kMetres:
    return {1.0, 0.001, 1000.0};
  default:
    return {};
  }
}

struct PlanAttr {
  int layer = 0;
  int colour = 1;
  int width = 0;
  int style = 0;
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

class Planner {
public:
  Planner(DxfScene& scene, std::map<std::string, int>& notRead)
      : scene_(scene), notRead_(notRead) {}

  // Refuses cycles, deep nesting and blocks that unfold beyond the limit.
  const TextPair* Check() {
    std::size_t total = 0;
    if (const TextPair* p = Count(scene_.model, 0, total)) return p;
    return nullptr;
  }

  void Plan(const Placement& placement, double toMm) {
    Level outer;
    MakeTransform(outer.m, 0, 0, placement.x, placement.y, placement.sx * toMm, placement.sy * toMm,
                  placement.angle);
    outer.sx = placement.sx * toMm;
    outer.sy = placement.sy * toMm;
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

private:
  const TextPair* Count(const SceneBlock& block, int depth, std::size_t& total) {
    if (depth > kMaxBlockDepth) return &dxf_messages::kTooDeep;
    // Inserts count too: blocks of nothing but inserts still cost a visit each.
    total += block.lines.size() + block.texts.size() + block.fillings.size() + block.inserts.size();
    if (total > kMaxDxfElements) return &dxf_messages::kTooMany;
    for (const SceneInsert& insert : block.inserts) {
      const auto found = scene_.blocks.find(insert.block);
      if (found == scene_.blocks.end()) continue;
      if (std::find(active_.begin(), active_.end(), &found->second) != active_.end())
        return &dxf_messages::kSelfInsert;
      active_.push_back(&found->second);
      const TextPair* problem = Count(found->second, depth + 1, total);
      active_.pop_back();
      if (problem != nullptr) return problem;
    }
    return nullptr;
  }

  int LayerOf(const std::string& name, const PlanAttr& holder) {
    if (name == "0" && holder.layer != 0) return holder.layer;
    const auto known = layers_.find(name);
    if (known != layers_.end()) return known->second;
    int number = -1;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
    if (error != std::errc() || end != name.data() + name.size() || number < 0 ||
        number > kLastLayer) {
      while (next_ < kLastNamedLayer && used_[static_cast<std::size_t>(next_)]) ++next_;
      number = next_;
    }
    used_[static_cast<std::size_t>(number)] = true;
    layers_[name] = number;
    return number;
  }

  PlanAttr AttrOf(const SceneAttributes& a, const PlanAttr& holder) {
    PlanAttr out;
    out.layer = LayerOf(a.layer, holder);
    out.colour = a.colour < 0 ? holder.colour : a.colour;
    out.width = a.width;
    out.style = a.style;
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
      Level level;
      MakeTransform(level.m, inner.base.x, inner.base.y, insert.at.x, insert.at.y, insert.sx,
                    insert.sy, insert.angle);
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
  }

  DxfScene& scene_;
  std::map<std::string, int>& notRead_;
  std::vector<const SceneBlock*> active_;
  std::vector<Level> levels_;
  std::vector<PendingFilling> pending_;
  std::map<std::string, int> layers_;
  std::array<bool, kLayerCount> used_{};
  int next_ = 1;
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
                       const Units& units, const Box& extent) {
  Drawing& drawing = store.drawing();
  Box limits = extent;
  if (IsResetBox(limits)) limits = Box{0, 0, kSheetWidth, kSheetHeight};
  // A drawing of one point or one straight line still gets an area to show it in.
  const double pad =
      std::max({1.0, (limits.xmax - limits.xmin) * 0.05, (limits.ymax - limits.ymin) * 0.05});
  if (limits.xmax - limits.xmin <= 0) limits.xmin -= pad, limits.xmax += pad;
  if (limits.ymax - limits.ymin <= 0) limits.ymin -= pad, limits.ymax += pad;
  env.ResetOrigins();
  drawing.limits = limits;
  store.ClearDrawing();
  drawing.scale = scene.dimScale > 0 && scene.dimScale <= kMaxScale
                      ? scene.dimScale
                      : ScaleToFit((limits.xmax - limits.xmin) * units.mmPerUnit,
                                   (limits.ymax - limits.ymin) * units.mmPerUnit);
  drawing.step = 1.0;
  drawing.unitsChosen = units.factor == 1.0 ? 1 : 0;
  drawing.paperUnit = drawing.scale * units.factor;
  env.SetUpPlotter(drawing);
}

PropertySet SetOf(const PlanAttr& attr) {
  PropertySet set;
  set.SetLayer(static_cast<std::uint32_t>(attr.layer));
  set.SetColour(static_cast<std::uint32_t>(std::clamp(attr.colour, 0, 15)));
  set.SetWidth(static_cast<std::uint32_t>(std::clamp(attr.width, 0, 15)));
  set.SetStyle(static_cast<std::uint32_t>(std::clamp(attr.style, 0, 15)));
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
    lines_.reserve(plan.lines.size());
    for (const PlanLine& l : plan.lines) {
      PropertySet set = SetOf(l.attr);
      set.SetShape(l.shape);
      LineElement* line = store_.AddLine(set, l.points.data(), static_cast<int>(l.points.size()));
      if (line == nullptr) return false;
      lines_.push_back(line);
      if (draw_) env_.DrawLine(*line);
    }
    for (const PlanFilling& f : plan.fillings) {
      PropertySet set = SetOf(f.attr);
      set.gap = f.gap > 0 ? f.gap : kSolidGapMm * paperUnit;
      set.hatchAngle = WholeDegrees(f.angle);
      std::vector<LineElement*> boundary;
      for (std::size_t k : f.lines) boundary.push_back(lines_[k]);
      FillingElement* filling =
          store_.AddFilling(set, boundary.data(), static_cast<int>(boundary.size()));
      if (filling == nullptr) return false;
      fillings_.push_back(filling);
      if (draw_) env_.DrawFilling(*filling);
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
        set = SetOf(t.attr);
        set.SetHeight(ClampTextHeight(t.height / paperUnit * 10.0));
      }
      set.angle = t.angle;
      const std::size_t count = std::min<std::size_t>(t.points.size(), kMaxTextPoints);
      const std::string_view value = std::string_view(t.source->text).substr(0, kMaxTextLength);
      TextElement* text = store_.AddText(set, t.points.data(), static_cast<int>(count), value);
      if (text == nullptr) return false;
      texts_.push_back(text);
      if (draw_) env_.DrawText(*text);
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

void ReportNotRead(FileEnvironment& env, const std::map<std::string, int>& notRead) {
  if (notRead.empty()) return;
  std::string message;
  for (const auto& [kind, count] : notRead) {
    if (!message.empty()) message += ", ";
    message += std::to_string(count) + " " + kind;
  }
  message += dxf_messages::kNotReadTail.In(env.CurrentLanguage());
  env.ShowError(message);
}

} // namespace

double ScaleToFit(double widthMm, double heightMm) {
  constexpr std::array<double, 4> kSteps{1.0, 2.0, 2.5, 5.0};
  double a = kSheetWidth;
  double b = kSheetHeight;
  if (widthMm > heightMm) std::swap(a, b);
  for (double decade = 1.0; decade < kMaxScale; decade *= 10.0)
    for (double step : kSteps) {
      const double scale = step * decade;
      if (widthMm / scale < kSheetSlack * a && heightMm / scale < kSheetSlack * b) return scale;
    }
  return kMaxScale;
}

int BuildDxfScene(ElementStore& store, FileEnvironment& env, DxfScene& scene,
                  PartElement* container, const Placement& placement, bool draw) {
  std::map<std::string, int> notRead = scene.notRead;
  Planner plan(scene, notRead);
  if (const TextPair* problem = plan.Check()) {
    env.ShowError(*problem);
    return 0;
  }
  const Units units = UnitsOf(scene.insUnits);
  plan.Plan(placement, container == nullptr ? units.toMm : 1.0);
  // The plan holds the drawing's lines now (texts still refer to the scene's strings).
  std::vector<SceneLine>().swap(scene.model.lines);
  if (container == nullptr) SetUpWholeDrawing(store, env, scene, units, PlanExtent(plan));
  Adder adder(store, env, container, draw);
  if (!adder.Add(plan)) return -1;
  ReportNotRead(env, notRead);
  return 1;
}

} // namespace lumora
