#include "files/dxf_writer.h"

#include "files/dxf_hatch_loops.h"
#include "files/dxf_messages.h"
#include "files/dxf_style.h"
#include "files/dxf_xdata.h"
#include "files/file_messages.h"
#include "model/drawing.h"
#include "model/element_store.h"
#include "setup/setup.h"
#include "text/stroke_text.h"
#include "text/text_drawing.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <dl_dxf.h>
#include <dl_writer_ascii.h>
#include <limits>
#include <map>
#include <numbers>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace lumora {
namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;
constexpr int kMillimetres = 4;
constexpr int kCentimetres = 5;
constexpr int kMetres = 6;

// The library's writer with its output sent through the safe writer instead of its own file,
// and reals written in their shortest exact form so that coordinates read back unchanged.
class DxfOut final : public DL_WriterA {
public:
  explicit DxfOut(SafeWriter& out) : DL_WriterA("", DL_Codes::AC1015), out_(out) {}

  void dxfReal(int gc, double value) const override {
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof(buffer), value);
    Pair(gc, error == std::errc() ? std::string_view(buffer, end - buffer) : "0");
  }
  void dxfInt(int gc, int value) const override { Pair(gc, std::to_string(value)); }
  void dxfHex(int gc, int value) const override {
    char buffer[16];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof(buffer), static_cast<unsigned>(value), 16);
    std::string hex(buffer, end);
    for (char& c : hex) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    Pair(gc, hex);
  }
  void dxfString(int gc, const char* value) const override {
    Pair(gc, value != nullptr ? value : "");
  }
  void dxfString(int gc, const std::string& value) const override { Pair(gc, value); }

  bool Ok() const { return ok_; }

private:
  void Pair(int gc, std::string_view value) const {
    if (!ok_) return;
    line_.clear();
    const std::string code = std::to_string(gc);
    line_.append(code.size() < 3 ? 3 - code.size() : 0, ' ');
    line_ += code;
    line_ += '\n';
    line_ += value;
    line_ += '\n';
    ok_ = out_.WriteText(line_);
  }

  SafeWriter& out_;
  mutable std::string line_;
  mutable bool ok_ = true;
};

// The longest string a DXF string value holds.
constexpr std::size_t kLongestString = 255;

// A line break inside a value would end the value and break the file.
bool HasLineBreak(std::string_view s) {
  return s.find_first_of("\r\n") != std::string_view::npos;
}

// The string cut to `most` characters, line breaks made blanks.
std::string OneLine(std::string_view s, std::size_t most) {
  std::string out(s.substr(0, most));
  for (char& c : out)
    if (c == '\r' || c == '\n') c = ' ';
  return out;
}

// Names a block or a layer may not hold.
bool BadNameCharacter(char c) {
  return std::string_view("<>/\\\":;?*|,=`").find(c) != std::string_view::npos ||
         static_cast<unsigned char>(c) < ' ';
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// Layers go by the setup's names, so that other programs show what the program shows; a layer
// the setup does not name, or names unusably (empty, as a number, twice), goes by its number.
std::array<std::string, kLayerCount> LayerNames(const Setup* setup) {
  std::array<std::string, kLayerCount> names;
  for (std::size_t k = 0; k < names.size(); ++k) names[k] = std::to_string(k);
  if (setup == nullptr) return names;
  std::set<std::string> taken;
  for (const std::string& n : names) taken.insert(n);
  const std::vector<NameRow>& rows = setup->layers.rows;
  constexpr std::size_t kLastNamedLayer = 126;
  for (std::size_t k = 0; k < rows.size() && k < kLastNamedLayer; ++k) {
    std::string name = rows[k].text;
    while (!name.empty() && name.back() == ' ') name.pop_back();
    const std::string upper = Upper(name);
    if (name.empty() || std::ranges::any_of(name, BadNameCharacter) || taken.contains(upper) ||
        std::ranges::all_of(name,
                            [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
      continue;
    taken.insert(upper);
    names[k + 1] = std::move(name);
  }
  return names;
}

// The line type of a style drawn with a section (millimetres on paper), with the pattern the
// plotter draws: dashes of a quarter section and gaps as long, dots every quarter section, or
// a dash of half a section and a dot a quarter section on. A dot is written as length 0.
struct Linetype {
  std::string name;
  std::vector<double> pattern; // drawing units: dashes positive, gaps negative
};

Linetype LinetypeOf(std::uint32_t style, std::uint32_t section, double paperUnit) {
  const double s = section * paperUnit;
  const std::string number = std::to_string(section);
  switch (style) {
  case 2:
    return {"DASHED" + number, {s / 4, -s / 4}};
  case 3:
    return {"DOT" + number, {0.0, -s / 4}};
  case 4:
    return {"DASHDOT" + number, {s / 2, -s / 4, 0.0, -s / 4}};
  default:
    return {"CONTINUOUS", {}};
  }
}

// Lines of a patterned style with a section of 0 plot solid, and so are written.
Linetype LinetypeOf(std::uint32_t style, std::uint32_t section, const Drawing& drawing) {
  if (section == 0 || !(drawing.paperUnit > 0) || !std::isfinite(drawing.paperUnit))
    return {"CONTINUOUS", {}};
  return LinetypeOf(style, section, drawing.paperUnit);
}

// The smallest gap a filling is given; one below it draws no hatch.
constexpr double kSmallestGap = 0.001;

// A point on the first hatch line the program draws: one gap beyond the boundary's lowest point
// across the lines' direction (an arc's chords reach its lowest point within their accuracy).
Point HatchBase(std::span<const LineElement* const> boundary, double angle, double gap) {
  const double a = angle / kDegrees;
  const double s = std::sin(a);
  const double c = std::cos(a);
  const auto across = [&](const Point& p) { return -s * p.x + c * p.y; };
  double lowest = std::numeric_limits<double>::infinity();
  for (const LineElement* line : boundary) {
    if (line == nullptr) continue;
    const std::span<const Point> p(line->points, line->ps0());
    const bool round = line->shape() == kShapeCircle || line->shape() == kShapeArc;
    if (!round || p.size() < 2) {
      for (const Point& q : p) lowest = std::min(lowest, across(q));
      continue;
    }
    const double bottom = across(p[0]) - Distance(p[0], p[1]);
    if (line->shape() == kShapeCircle || p.size() < 3) {
      lowest = std::min(lowest, bottom);
      continue;
    }
    // An arc runs counter-clockwise from its second point to its third.
    lowest = std::min({lowest, across(p[1]), across(p[2])});
    const double turn = 2 * std::numbers::pi;
    const double from = std::atan2(p[1].y - p[0].y, p[1].x - p[0].x);
    const double to = std::atan2(p[2].y - p[0].y, p[2].x - p[0].x);
    const double down = std::atan2(-c, s);
    if (std::fmod(down - from + 2 * turn, turn) <= std::fmod(to - from + 2 * turn, turn))
      lowest = std::min(lowest, bottom);
  }
  if (!std::isfinite(lowest)) return {0, 0};
  const double first = lowest + gap;
  return {-s * first, c * first};
}

// Where each element is written: in the block of the first part that holds it, or among the
// drawing's own entities.
struct Layout {
  std::vector<const PartElement*> parts; // oldest first
  std::unordered_map<const PartElement*, std::string> blockName;
  std::unordered_map<const void*, const PartElement*> holder;
  std::unordered_map<const PartElement*, std::vector<const PartElement*>> children;
};

template <class Element> std::vector<const Element*> Oldest(const Element* head) {
  std::vector<const Element*> out;
  for (const Element* e = head; e != nullptr; e = e->next) out.push_back(e);
  std::reverse(out.begin(), out.end());
  return out;
}

Layout LayOut(const Drawing& drawing) {
  Layout layout;
  layout.parts = Oldest(drawing.parts);
  std::set<std::string> taken;
  std::map<std::string, int> suffix;
  for (const PartElement* part : layout.parts) {
    std::string base(part->name, strnlen(part->name, sizeof(part->name)));
    for (char& c : base)
      if (BadNameCharacter(c)) c = '_';
    if (base.empty() || base.front() == '*') base = "GROUP" + base;
    // Many parts share a name: each base remembers its next number, so naming stays linear.
    // Block names do not tell case apart: "Door" and "DOOR" are one name to a reader.
    std::string name = base;
    int& next = suffix[Upper(base)];
    while (taken.contains(Upper(name))) name = base + "_" + std::to_string(next++ + 2);
    taken.insert(Upper(name));
    layout.blockName[part] = name;
    for (const LineNode* n = part->lines; n != nullptr; n = n->next)
      layout.holder.try_emplace(n->element, part);
    for (const FillingNode* n = part->fillings; n != nullptr; n = n->next)
      layout.holder.try_emplace(n->element, part);
    for (const TextNode* n = part->texts; n != nullptr; n = n->next)
      layout.holder.try_emplace(n->element, part);
    for (const PartNode* n = part->parts; n != nullptr; n = n->next)
      if (layout.holder.try_emplace(n->element, part).second)
        layout.children[part].push_back(n->element);
  }
  return layout;
}

// Collects the strokes of a measure as polylines and arcs.
class MeasureSink final : public StrokeSink {
public:
  bool Move(const Point& p) override {
    End();
    run_.push_back(p);
    return true;
  }
  bool Line(const Point& p) override {
    run_.push_back(p);
    return true;
  }
  bool Arc(const Point& centre, const Point& start, const Point& end) override {
    End();
    arcs.push_back({centre, start, end});
    return true;
  }
  void End() {
    if (run_.size() >= 2) runs.push_back(run_);
    run_.clear();
  }
  std::vector<std::vector<Point>> runs;
  std::vector<std::array<Point, 3>> arcs;

private:
  std::vector<Point> run_;
};

class Writer {
public:
  Writer(Drawing& drawing, TextScene& scene, DxfOut& out, const Setup* setup)
      : drawing_(drawing), scene_(scene), out_(out), layout_(LayOut(drawing)),
        layerNames_(LayerNames(setup)) {
    std::uint32_t id = 0;
    for (const LineElement* line : Oldest(drawing.lines)) lineIds_[line] = id++;
  }

  // How many elements of each kind (lines, fillings, texts, parts) did not fit the file.
  int lost[4] = {};

  void Write() {
    WriteHeader();
    WriteTables();
    WriteBlocks();
    out_.sectionEntities();
    WriteContents(nullptr);
    out_.sectionEnd();
    // No OBJECTS section: the library's fixed one names owners that do not exist, and readers
    // build the dictionaries a drawing without one needs.
    out_.dxfEOF();
  }

private:
  void WriteHeader() {
    dxf_.writeHeader(out_);
    const double factor = drawing_.scale > 0 ? drawing_.paperUnit / drawing_.scale : 1.0;
    int units = kMillimetres;
    if (std::fabs(factor - 0.1) < 1e-6) units = kCentimetres;
    if (std::fabs(factor - 0.001) < 1e-9) units = kMetres;
    out_.dxfString(9, "$INSUNITS");
    out_.dxfInt(70, units);
    out_.dxfString(9, "$DIMSCALE");
    out_.dxfReal(40, drawing_.scale);
    const Box& l = drawing_.limits;
    out_.dxfString(9, "$LIMMIN");
    out_.dxfReal(10, l.xmin);
    out_.dxfReal(20, l.ymin);
    out_.dxfString(9, "$LIMMAX");
    out_.dxfReal(10, l.xmax);
    out_.dxfReal(20, l.ymax);
    // The drawing's version decides the precision its next save keeps.
    out_.dxfString(9, "$USERR1");
    out_.dxfReal(40, drawing_.version);
    out_.dxfString(9, "$GRIDUNIT");
    out_.dxfReal(10, drawing_.step);
    out_.dxfReal(20, drawing_.step);
    out_.sectionEnd();
  }

  void WriteTables() {
    out_.sectionTables();
    dxf_.writeVPort(out_);
    // The line types of the styles and sections in use, each once.
    std::map<std::string, std::vector<double>> types;
    for (const char* name : {"BYBLOCK", "BYLAYER", "CONTINUOUS"}) types[name];
    for (const LineElement* e = drawing_.lines; e != nullptr; e = e->next) {
      Linetype type = LinetypeOf(e->style(), e->section(), drawing_);
      types.try_emplace(std::move(type.name), std::move(type.pattern));
    }
    for (const FillingElement* e = drawing_.fillings; e != nullptr; e = e->next) {
      Linetype type = LinetypeOf(e->style(), e->ldista(), drawing_);
      types.try_emplace(std::move(type.name), std::move(type.pattern));
    }
    out_.tableLinetypes(static_cast<int>(types.size()));
    for (const auto& [name, pattern] : types) WriteLinetype(name, pattern);
    out_.tableEnd();
    std::set<std::uint32_t> layers{0};
    for (const LineElement* e = drawing_.lines; e != nullptr; e = e->next)
      layers.insert(e->layer());
    for (const FillingElement* e = drawing_.fillings; e != nullptr; e = e->next)
      layers.insert(e->layer());
    for (const TextElement* e = drawing_.texts; e != nullptr; e = e->next)
      layers.insert(e->layer());
    for (const PartElement* e = drawing_.parts; e != nullptr; e = e->next)
      layers.insert(e->layer());
    out_.tableLayers(static_cast<int>(layers.size()));
    // A hidden layer is written switched off (its colour negative), as other programs mark it.
    for (std::uint32_t layer : layers) {
      const bool shown = layer >= kLayerCount || drawing_.layerVisible[layer] != 0;
      dxf_.writeLayer(out_, DL_LayerData(LayerName(layer), 0),
                      DL_Attributes("", shown ? 7 : -7, LineweightOfWidth(0), "CONTINUOUS", 1.0));
    }
    out_.tableEnd();
    // A text style for each font a text is written in.
    std::set<std::uint32_t> fonts{0};
    for (const TextElement* e = drawing_.texts; e != nullptr; e = e->next) fonts.insert(e->font());
    out_.tableStyle(static_cast<int>(fonts.size()));
    for (std::uint32_t font : fonts)
      dxf_.writeStyle(out_, DL_StyleData(StyleName(font), 0, 0.0, 1.0, 0.0, 0, 2.5, "txt", ""));
    out_.tableEnd();
    dxf_.writeView(out_);
    dxf_.writeUcs(out_);
    out_.tableAppid(2);
    dxf_.writeAppid(out_, "ACAD");
    dxf_.writeAppid(out_, std::string(kXDataApp));
    out_.tableEnd();
    dxf_.writeDimStyle(out_, 2.5, 1.25, 0.625, 0.625, 2.5);
    WriteBlockRecords();
    out_.sectionEnd();
  }

  // The block records of the two spaces (with the handles the library gives their blocks) and
  // of every part. The library's own table adds a second paper space without a layout.
  void WriteBlockRecords() {
    constexpr int kModelSpace = 0x1F;
    constexpr int kModelLayout = 0x22;
    constexpr int kPaperSpace = 0x1B;
    constexpr int kPaperLayout = 0x1E;
    out_.dxfString(0, "TABLE");
    out_.dxfString(2, "BLOCK_RECORD");
    out_.dxfHex(5, 1);
    out_.dxfString(100, "AcDbSymbolTable");
    out_.dxfInt(70, static_cast<int>(layout_.parts.size()) + 2);
    auto record = [this](const std::string& name, int handle, int layoutHandle) {
      out_.dxfString(0, "BLOCK_RECORD");
      if (handle != 0)
        out_.dxfHex(5, handle);
      else
        out_.handle();
      out_.dxfString(100, "AcDbSymbolTableRecord");
      out_.dxfString(100, "AcDbBlockTableRecord");
      out_.dxfString(2, name);
      out_.dxfHex(340, layoutHandle);
    };
    record("*Model_Space", kModelSpace, kModelLayout);
    record("*Paper_Space", kPaperSpace, kPaperLayout);
    for (const PartElement* part : layout_.parts) record(layout_.blockName[part], 0, 0);
    out_.tableEnd();
  }

  void WriteLinetype(const std::string& name, std::vector<double> pattern) {
    double length = 0;
    for (double d : pattern) length += std::fabs(d);
    const char* look = "";
    if (name == "CONTINUOUS") look = "Solid line";
    if (name.starts_with("DASHED")) look = "__ __ __";
    if (name.starts_with("DOT")) look = ". . . .";
    if (name.starts_with("DASHDOT")) look = "__ . __ .";
    DL_LinetypeData data(name, look, 0, static_cast<int>(pattern.size()), length,
                         pattern.empty() ? nullptr : pattern.data());
    dxf_.writeLinetype(out_, data);
  }

  // The text style of a font: the ordinary font is the standard style, the others go by their
  // names where those are usable and by their numbers otherwise.
  std::string StyleName(std::uint32_t font) const {
    const std::string number = "FONT" + std::to_string(font);
    if (font == 0) return "Standard";
    if (font >= static_cast<std::uint32_t>(scene_.fonts.count)) return number;
    const std::string& name = scene_.fonts.slots[font].name;
    for (std::uint32_t other = 0; other < font; ++other)
      if (Upper(scene_.fonts.slots[other].name) == Upper(name)) return number;
    if (name.empty() || name.size() > kLongestString ||
        std::ranges::any_of(name, BadNameCharacter) || Upper(name) == "STANDARD" ||
        Upper(name).starts_with("FONT"))
      return number;
    return name;
  }

  const std::string& LayerName(std::uint32_t layer) const {
    return layerNames_[layer < kLayerCount ? layer : 0];
  }

  template <class Element> DL_Attributes AttributesOf(const Element& e) const {
    return DL_Attributes(LayerName(e.layer()), AciOfColour(static_cast<int>(e.colour())),
                         LineweightOfWidth(static_cast<int>(e.width())),
                         LinetypeOf(e.style(), SectionOf(e), drawing_).name, 1.0);
  }
  static std::uint32_t SectionOf(const LineElement& e) { return e.section(); }
  static std::uint32_t SectionOf(const FillingElement& e) { return e.ldista(); }

  DL_Attributes TextAttributes(const TextElement& t) const {
    return DL_Attributes(LayerName(t.layer()), AciOfColour(static_cast<int>(t.colour())),
                         LineweightOfWidth(static_cast<int>(t.width())), "CONTINUOUS", 1.0);
  }

  // What the entity's attributes cannot say exactly.
  void WriteProperties(std::uint32_t layer, std::uint32_t colour, std::uint32_t width,
                       std::uint32_t style, std::uint32_t section) {
    for (std::uint32_t value : {layer, colour, width, style, section})
      out_.dxfInt(1071, static_cast<int>(value));
  }

  void MarkLine(const LineElement& line) {
    out_.dxfString(1001, std::string(kXDataApp));
    out_.dxfString(1000, std::string(kLineTag));
    out_.dxfInt(1071, static_cast<int>(lineIds_.at(&line)));
    WriteProperties(line.layer(), line.colour(), line.width(), line.style(), line.section());
    out_.dxfInt(1071, static_cast<int>(line.shape()));
    // An arc or circle by its own points: its angles and radius would not give them back exactly.
    if (line.shape() == kShapeArc || line.shape() == kShapeCircle)
      for (std::uint32_t k = 0; k < line.ps0(); ++k) {
        out_.dxfReal(1040, line.points[k].x);
        out_.dxfReal(1040, line.points[k].y);
      }
  }

  void WriteBlocks() {
    out_.sectionBlocks();
    for (const char* space : {"*Model_Space", "*Paper_Space"}) {
      dxf_.writeBlock(out_, DL_BlockData(space, 0, 0.0, 0.0, 0.0));
      dxf_.writeEndBlock(out_, space);
    }
    for (const PartElement* part : layout_.parts) {
      const std::string& name = layout_.blockName[part];
      dxf_.writeBlock(out_, DL_BlockData(name, 0, part->location.x, part->location.y, 0.0));
      WriteContents(part);
      dxf_.writeEndBlock(out_, name);
    }
    out_.sectionEnd();
  }

  const PartElement* HolderOf(const void* element) const {
    const auto found = layout_.holder.find(element);
    return found == layout_.holder.end() ? nullptr : found->second;
  }

  // What one block (or the drawing's own entities) holds, oldest first.
  struct Contents {
    std::vector<const LineElement*> lines;
    std::vector<const FillingElement*> fillings;
    std::vector<const TextElement*> texts;
    std::vector<const PartElement*> parts;
  };

  // Sorts every element to its holder once, so a drawing of many parts is written in one pass.
  void SortContents() {
    for (const LineElement* e : Oldest(drawing_.lines)) contents_[HolderOf(e)].lines.push_back(e);
    for (const FillingElement* e : Oldest(drawing_.fillings))
      contents_[HolderOf(e)].fillings.push_back(e);
    for (const TextElement* e : Oldest(drawing_.texts)) contents_[HolderOf(e)].texts.push_back(e);
    for (const PartElement* e : layout_.parts) contents_[HolderOf(e)].parts.push_back(e);
  }

  // The elements whose holder is `part` (null: the drawing's own).
  void WriteContents(const PartElement* part) {
    if (contents_.empty()) SortContents();
    const auto found = contents_.find(part);
    if (found == contents_.end()) return;
    const Contents& c = found->second;
    for (const LineElement* line : c.lines) WriteLine(*line);
    for (const FillingElement* filling : c.fillings) WriteFilling(*filling);
    for (const TextElement* text : c.texts) WriteText(*text);
    for (const PartElement* inner : c.parts) WriteInsert(*inner);
  }

  void WritePolyline(std::span<const Point> points, bool closed, const DL_Attributes& attr) {
    dxf_.writePolyline(out_, DL_PolylineData(static_cast<int>(points.size()), 0, 0, closed ? 1 : 0),
                       attr);
    for (const Point& p : points) dxf_.writeVertex(out_, DL_VertexData(p.x, p.y, 0.0, 0.0));
    dxf_.writePolylineEnd(out_);
  }

  void WriteArc(const Point& c, const Point& s, const Point& e, const DL_Attributes& attr) {
    const double r = Distance(c, s);
    const double a1 = std::atan2(s.y - c.y, s.x - c.x) * kDegrees;
    const double a2 = std::atan2(e.y - c.y, e.x - c.x) * kDegrees;
    dxf_.writeArc(out_, DL_ArcData(c.x, c.y, 0.0, r, a1, a2), attr);
  }

  void WriteLine(const LineElement& line) {
    lineHandles_[&line] = out_.getNextHandle();
    const std::span<const Point> points(line.points, line.ps0());
    // A line of fewer points than its shape needs reads back as something else, or not at all.
    const std::size_t needs = line.shape() == kShapeArc ? 3 : 2;
    if (points.size() < 2 ||
        ((line.shape() == kShapeArc || line.shape() == kShapeCircle) && points.size() != needs))
      ++lost[0];
    const DL_Attributes attr = AttributesOf(line);
    if (line.shape() == kShapeArc && points.size() >= 3) {
      WriteArc(points[0], points[1], points[2], attr);
    } else if (line.shape() == kShapeCircle && points.size() >= 2) {
      dxf_.writeCircle(
          out_, DL_CircleData(points[0].x, points[0].y, 0.0, Distance(points[0], points[1])), attr);
    } else {
      WritePolyline(points, line.shape() == kShapeClosed, attr);
    }
    MarkLine(line);
  }

  // One path per loop of the boundary, joined as the filling's own walk joins its lines, the
  // largest outermost and the rest holes; each path names the drawn lines it follows when they
  // stand beside the hatch. The pattern is one family of lines at the filling's angle and gap,
  // dashed as the filling's style draws them.
  void WriteFilling(const FillingElement& filling) {
    // An empty entry ends one loop and starts the next, in the file as in the filling.
    std::vector<const LineElement*> boundary;
    bool whole = filling.ls0() > 0;
    for (std::uint32_t k = 0; k < filling.ls0(); ++k) {
      const LineElement* line = filling.lines[k];
      if (line == nullptr || line->ps0() >= 2)
        boundary.push_back(line);
      else
        whole = false;
    }
    const std::vector<HatchLoop> loops = HatchLoops(boundary);
    if (!whole) ++lost[1];
    if (loops.empty()) return;
    std::size_t outer = 0;
    for (std::size_t k = 1; k < loops.size(); ++k)
      if (loops[k].area > loops[outer].area) outer = k;
    // Other programs draw the pattern: the gap the drawing holds, or the smallest gap the
    // program takes (below it no hatch is drawn here), the lines where the program draws them.
    // The gap and angle as held ride along with the program's own data.
    const double held = filling.gap();
    const double gap = held >= kSmallestGap ? held : kSmallestGap;
    const double angle = filling.angle();
    const Point base = HatchBase(boundary, angle, gap);
    out_.entity("HATCH");
    out_.dxfString(100, "AcDbEntity");
    out_.entityAttributes(AttributesOf(filling));
    out_.dxfString(100, "AcDbHatch");
    out_.coord(10, 0.0, 0.0, 0.0);
    out_.coord(210, 0.0, 0.0, 1.0);
    out_.dxfString(2, "_USER");
    out_.dxfInt(70, 0);
    out_.dxfInt(71, 1);
    out_.dxfInt(91, static_cast<int>(loops.size()));
    const PartElement* holder = HolderOf(&filling);
    for (std::size_t k = 0; k < loops.size(); ++k) {
      const HatchLoop& loop = loops[k];
      constexpr int kExternal = 1;
      out_.dxfInt(92, k == outer ? kExternal : 0);
      out_.dxfInt(93, static_cast<int>(loop.edges.size()));
      for (const HatchEdge& e : loop.edges) {
        if (e.arc) {
          out_.dxfInt(72, 2);
          out_.dxfReal(10, e.centre.x);
          out_.dxfReal(20, e.centre.y);
          out_.dxfReal(40, e.radius);
          out_.dxfReal(50, e.start);
          out_.dxfReal(51, e.end);
          out_.dxfInt(73, e.counterClockwise ? 1 : 0);
        } else {
          out_.dxfInt(72, 1);
          out_.dxfReal(10, e.from.x);
          out_.dxfReal(20, e.from.y);
          out_.dxfReal(11, e.to.x);
          out_.dxfReal(21, e.to.y);
        }
      }
      // The drawn lines of the loop, when all of them are written beside the hatch.
      std::vector<unsigned long> handles;
      for (std::size_t line : loop.lines) {
        const auto found = lineHandles_.find(boundary[line]);
        if (found == lineHandles_.end() || HolderOf(boundary[line]) != holder) {
          handles.clear();
          break;
        }
        handles.push_back(found->second);
      }
      out_.dxfInt(97, static_cast<int>(handles.size()));
      for (unsigned long h : handles) out_.dxfHex(330, static_cast<int>(h));
    }
    out_.dxfInt(75, 0);
    out_.dxfInt(76, 0);
    out_.dxfReal(52, angle);
    out_.dxfReal(41, gap);
    out_.dxfInt(77, 0);
    out_.dxfInt(78, 1);
    const double a = angle / kDegrees;
    out_.dxfReal(53, angle);
    out_.dxfReal(43, base.x);
    out_.dxfReal(44, base.y);
    out_.dxfReal(45, -gap * std::sin(a));
    out_.dxfReal(46, gap * std::cos(a));
    const Linetype dashes = LinetypeOf(filling.style(), filling.ldista(), drawing_);
    out_.dxfInt(79, static_cast<int>(dashes.pattern.size()));
    for (double d : dashes.pattern) out_.dxfReal(49, d);
    out_.dxfInt(98, 0);
    out_.dxfString(1001, std::string(kXDataApp));
    out_.dxfString(1000, std::string(kFillingTag));
    WriteProperties(filling.layer(), filling.colour(), filling.width(), filling.style(),
                    filling.ldista());
    for (const LineElement* line : boundary)
      out_.dxfInt(1071, line == nullptr ? kLoopEndId : static_cast<int>(lineIds_.at(line)));
    out_.dxfReal(1040, held);
    out_.dxfReal(1040, filling.angle());
  }

  void WriteText(const TextElement& t) {
    if (t.pointCount() == 0 || t.points == nullptr) return void(++lost[2]);
    if (HasLineBreak(TextOf(t))) ++lost[2];
    const TextMetrics m = MetricsOf(static_cast<int>(t.height()), static_cast<int>(t.widthRatio()),
                                    static_cast<int>(t.slant()), scene_.paperUnit);
    const std::string_view shown = DisplayString(TextOf(t));
    const TextBoxOffsets o =
        TextBox(scene_.fonts, shown, static_cast<int>(t.height()), static_cast<int>(t.widthRatio()),
                static_cast<int>(t.positioning()), static_cast<int>(t.font()), scene_.paperUnit);
    const int font = static_cast<int>(t.font());
    const double lower = font < scene_.fonts.count
                             ? scene_.fonts.slots[static_cast<std::size_t>(font)].lowerPortion
                             : 0.0;
    const Point p0 = t.points[0];
    const Transform rotation = RotationAbout(p0, t.angle());
    const Point start = Apply(rotation, p0.x + o.dx0, p0.y + o.dy0 + lower * m.h);
    // Other programs show what the program shows, in the font's style and slanted as the
    // program slants it; an empty text would be dropped, so a blank stands in, and the text
    // itself rides along with the record.
    out_.entity("TEXT");
    out_.dxfString(100, "AcDbEntity");
    out_.entityAttributes(TextAttributes(t));
    out_.dxfString(100, "AcDbText");
    out_.coord(10, start.x, start.y, 0.0);
    out_.dxfReal(40, m.h);
    out_.dxfString(1, shown.empty() ? std::string(" ") : OneLine(shown, kLongestString));
    out_.dxfReal(50, t.angle());
    out_.dxfReal(41, m.r > 0 ? m.r : 1.0);
    constexpr double kSlantStep = 0.2;
    if (t.slant() != 0) out_.dxfReal(51, std::atan(kSlantStep * t.slant()) * kDegrees);
    out_.dxfString(7, StyleName(t.font()));
    out_.dxfInt(71, 0);
    out_.dxfInt(72, 0);
    out_.coord(11, start.x, start.y, 0.0);
    out_.dxfString(100, "AcDbText");
    out_.dxfInt(73, 0);
    WriteTextRecord(t, shown);
    if (t.mitta() != 0) WriteMeasureGraphics(t, o, rotation);
  }

  void WriteTextRecord(const TextElement& t, std::string_view shown) {
    out_.dxfString(1001, std::string(kXDataApp));
    out_.dxfString(1000, std::string(kTextRecordTag));
    const std::string_view raw = TextOf(t);
    // The string itself where the shown one differs, is cut, or holds what a reader would
    // translate: in pieces as long as a string of extended data may be.
    const bool translated =
        raw.find('%') != std::string_view::npos || raw.find('\\') != std::string_view::npos;
    if (raw != shown || raw.empty() || translated || shown.size() > kLongestString) {
      const std::string whole = OneLine(raw, raw.size());
      if (whole.empty()) out_.dxfString(1000, std::string(kEmptyTextMark));
      for (std::size_t at = 0; at < whole.size(); at += kLongestString)
        out_.dxfString(1000, whole.substr(at, kLongestString));
    }
    out_.dxfInt(1071, static_cast<int>(t.words[0]));
    out_.dxfInt(1071, static_cast<int>(t.words[1]));
    for (std::uint32_t k = 0; k < t.pointCount(); ++k) {
      out_.dxfReal(1040, t.points[k].x);
      out_.dxfReal(1040, t.points[k].y);
    }
  }

  void WriteMeasureGraphics(const TextElement& t, const TextBoxOffsets& o,
                            const Transform& rotation) {
    const TextMetrics m = MetricsOf(static_cast<int>(t.height()), 0, 0, scene_.paperUnit);
    MeasureSink sink;
    MeasureStrokes(sink, t, o, rotation, m.h, scene_.measure.gap);
    sink.End();
    const DL_Attributes attr(LayerName(t.layer()), AciOfColour(scene_.measure.colour),
                             LineweightOfWidth(scene_.measure.width), "CONTINUOUS", 1.0);
    for (const std::vector<Point>& run : sink.runs) {
      WritePolyline(run, false, attr);
      MarkMeasureGraphics();
    }
    for (const auto& arc : sink.arcs) {
      WriteArc(arc[0], arc[1], arc[2], attr);
      MarkMeasureGraphics();
    }
  }

  void MarkMeasureGraphics() {
    out_.dxfString(1001, std::string(kXDataApp));
    out_.dxfString(1000, std::string(kMeasureGraphicsTag));
  }

  void WriteInsert(const PartElement& part) {
    const std::uint32_t layer = part.layer();
    const DL_Attributes attr(LayerName(layer), 256, -1, "BYLAYER", 1.0);
    dxf_.writeInsert(out_,
                     DL_InsertData(layout_.blockName[&part], part.location.x, part.location.y, 0.0,
                                   1.0, 1.0, 1.0, 0.0, 1, 1, 0.0, 0.0),
                     attr);
    out_.dxfString(1001, std::string(kXDataApp));
    const std::string_view name(part.name, strnlen(part.name, sizeof(part.name)));
    if (HasLineBreak(name)) ++lost[3];
    out_.dxfString(1000, std::string(kPartTag) + OneLine(name, name.size()));
    out_.dxfInt(1071, static_cast<int>(part.type()));
    out_.dxfInt(1071, static_cast<int>(part.layer()));
  }

  Drawing& drawing_;
  TextScene& scene_;
  DxfOut& out_;
  DL_Dxf dxf_;
  Layout layout_;
  std::array<std::string, kLayerCount> layerNames_;
  std::unordered_map<const LineElement*, std::uint32_t> lineIds_;     // oldest first from 0
  std::unordered_map<const LineElement*, unsigned long> lineHandles_; // of the lines written
  std::unordered_map<const PartElement*, Contents> contents_;
};

bool AllFinite(const Drawing& drawing) {
  for (const LineElement* e = drawing.lines; e != nullptr; e = e->next)
    for (std::uint32_t k = 0; k < e->ps0(); ++k)
      if (!std::isfinite(e->points[k].x) || !std::isfinite(e->points[k].y)) return false;
  for (const TextElement* e = drawing.texts; e != nullptr; e = e->next)
    for (std::uint32_t k = 0; k < e->pointCount(); ++k)
      if (!std::isfinite(e->points[k].x) || !std::isfinite(e->points[k].y)) return false;
  return true;
}

} // namespace

int WriteDxfFile(Drawing& drawing, FileReporter& reporter, TextScene& textScene,
                 const std::string& fileName, const Setup* setup, WriteFunction write) {
  reporter.Trace("Writing file '" + fileName + "'\n");
  if (!AllFinite(drawing)) {
    reporter.ShowError(file_messages::kNotFiniteSave);
    return 0;
  }
  SafeWriter writer(reporter, std::move(write));
  if (!writer.Open(fileName)) return 0;
  DxfOut out(writer);
  Writer dxf(drawing, textScene, out, setup);
  dxf.Write();
  if (!out.Ok() || !writer.Commit()) return 0;
  if (std::ranges::any_of(dxf.lost, [](int n) { return n > 0; })) {
    reporter.ShowError(dxf_messages::LeftOut(reporter.CurrentLanguage(), dxf.lost));
    return 2;
  }
  drawing.changes = 0;
  return 1;
}

} // namespace lumora
