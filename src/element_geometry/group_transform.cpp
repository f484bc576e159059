// Moving, stretching and mapping lines, texts and whole groups, and hiding a group while it is
// edited.
#include "element_geometry/element_geometry.h"
#include "element_geometry/line_walk.h"
#include "model/element_transform.h"
#include "text/place_text.h"
#include "text/text_layout.h"
#include "util/number_text.h"

#include <string>

namespace lumora {

namespace {

constexpr std::uint32_t kLinearMeasure = 1;
constexpr std::uint32_t kAngleMeasure = 2;
constexpr std::size_t kAngleMeasurePoints = 5;
constexpr std::string_view kNumberStart = "+-.0123456789";
constexpr double kValuePrecision = 0.001;
constexpr std::size_t kValueWidth = 40;

Point Shifted(const Point& p, const Point& d, double share = 1.0) {
  return {p.x + share * d.x, p.y + share * d.y};
}

bool Inside(const Area& area, const Point& p) {
  return PointInPolygon(p.x, p.y, area) != 0;
}

// The value of a stretched measure with its number rewritten: the text before the number, the
// new number and the text after it. False when the text holds no number or no new value.
bool RewriteValue(std::string_view text, double number, std::string& out) {
  const std::size_t start = text.find_first_of(kNumberStart);
  if (start == std::string_view::npos) return false;
  std::size_t end = start;
  double old = 0.0;
  ReadNumber(text, end, old);
  out = std::string(text.substr(0, start)) + NumberToText(number, kValuePrecision, kValueWidth) +
        std::string(text.substr(std::min(end, text.size())));
  return out.size() <= kMaxTextLength;
}

double ReadValue(std::string_view text) {
  std::size_t pos = 0;
  return TextToNumber(text, pos);
}

} // namespace

void ElementGeometry::MoveLine(LineElement& line, Area stretch, const Transform& m, const Point& d,
                               double sx, double sy) {
  store_.Keep(line);
  const std::span<Point> points = PointsOf(line);
  if (stretch.empty()) {
    TransformLinePoints(line, points, m, sx, sy);
  } else if (!IsRound(line)) {
    for (Point& p : points) {
      if (Inside(stretch, p)) p = Shifted(p, d);
    }
  } else if (line.inPart() == 0 || ElementInsidePolygon(line, stretch, true) != 0) {
    for (Point& p : points) p = Shifted(p, d);
  }
}

void ElementGeometry::TransformLine(LineElement& line, Area stretch, const Transform& m,
                                    const Point& d, double sx, double sy) {
  store_.painter().Draw(line, DrawMode::kErase);
  MoveLine(line, stretch, m, d, sx, sy);
  ElementChanged(line);
  store_.painter().Draw(line, DrawMode::kNormal);
}

void ElementGeometry::MoveText(TextElement& text, Area stretch, const Transform& m, const Point& d,
                               double sx, double sy, double angle) {
  store_.Keep(text);
  const std::size_t count = text.points == nullptr ? 0 : text.pointCount();
  const std::span<Point> points(text.points, count);
  if (count == 0) return;
  if (stretch.empty()) {
    std::string value(TextOf(text));
    PlaceText(text, points, &value, m, sx, sy, angle);
    ReplaceString(drawing_, store_.allocator(), env_, text, value);
    return;
  }
  if (text.mitta() == 0) {
    if (text.inPart() == 0 || TextInsidePolygon(text, stretch, true) != 0) {
      for (Point& p : points) p = Shifted(p, d);
    }
    return;
  }
  const double oldLength =
      count >= 3 ? Projection(points[2].x - points[1].x, points[2].y - points[1].y, text.angle(), 1)
                 : 0.0;
  std::size_t moved = 0;
  for (std::size_t i = 1; i < count; ++i) {
    if (!Inside(stretch, points[i])) continue;
    points[i] = Shifted(points[i], d);
    ++moved;
  }
  if (moved == 0) return;
  if (Inside(stretch, points[0])) {
    points[0] = Shifted(points[0], d);
  } else if (text.mitta() == kLinearMeasure && moved == 1) {
    points[0] = Shifted(points[0], d, 0.5); // the value stays between the measure points
  }
  if (moved == count - 1) return;
  const std::string_view old = TextOf(text);
  double number = ReadValue(old);
  if (text.mitta() == kLinearMeasure) {
    const double delta = Projection(d.x, d.y, text.angle(), 1);
    if (delta == 0.0 || count < 3) return;
    const double newLength =
        Projection(points[2].x - points[1].x, points[2].y - points[1].y, text.angle(), 1);
    number += newLength > oldLength ? delta : -delta;
  } else if (text.mitta() == kAngleMeasure) {
    // Sides that became parallel have no angle: the old value stays.
    if (count < kAngleMeasurePoints ||
        AngleBetweenLines({points[1], points[2]}, {points[3], points[4]}, number) == 0) {
      return;
    }
  } else {
    return;
  }
  std::string value;
  if (RewriteValue(old, number, value)) {
    ReplaceString(drawing_, store_.allocator(), env_, text, value);
  }
}

void ElementGeometry::TransformText(TextElement& text, Area stretch, const Transform& m,
                                    const Point& d, double sx, double sy, double angle) {
  store_.painter().Draw(text, DrawMode::kErase);
  MoveText(text, stretch, m, d, sx, sy, angle);
  ElementChanged(text);
  store_.painter().Draw(text, DrawMode::kNormal);
}

// Every member moved; their boxes are renewed here, the group's and the fillings' by the caller.
void ElementGeometry::TransformMembers(PartElement& group, Area stretch, const Transform& m,
                                       const Point& d, double sx, double sy, double angle) {
  for (LineNode* n : Each(group.lines)) {
    LineElement& line = *n->element;
    store_.painter().Draw(line, DrawMode::kErase);
    MoveLine(line, stretch, m, d, sx, sy);
    SetZones(line, LineBox(line));
    store_.painter().Draw(line, DrawMode::kNormal);
  }
  for (TextNode* n : Each(group.texts)) {
    TextElement& text = *n->element;
    store_.painter().Draw(text, DrawMode::kErase);
    MoveText(text, stretch, m, d, sx, sy, angle);
    SetZones(text, env_.TextExtent(text, true));
    store_.painter().Draw(text, DrawMode::kNormal);
  }
  for (PartNode* n : Each(group.parts)) {
    PartElement& member = *n->element;
    store_.Keep(member);
    TransformMembers(member, stretch, m, d, sx, sy, angle);
    RenewPart(member);
    // A nested part's insertion point goes where its members went.
    if (stretch.empty()) {
      ApplyTransform(m, member.location.x, member.location.y);
    } else {
      member.location = Shifted(member.location, d);
    }
  }
}

void ElementGeometry::TransformGroup(PartElement& group, Area stretch, const Point& reference,
                                     const Point& location, double sx, double sy, double angle) {
  store_.Keep(group);
  Transform m;
  MakeTransform(m, reference.x, reference.y, location.x, location.y, sx, sy, angle);
  const Point d{location.x - reference.x, location.y - reference.y};
  std::vector<FillingElement*> bounded;
  const HeldLines held(group);
  for (FillingElement* f : Each(drawing_.fillings)) {
    if (FillingInGroup(*f, held, false) == 0) continue;
    store_.painter().Draw(*f, DrawMode::kErase);
    store_.ClearHatch(*f);
    bounded.push_back(f);
  }
  TransformMembers(group, stretch, m, d, sx, sy, angle);
  ElementChanged(group);
  for (FillingElement* f : bounded) {
    SetZones(*f, FillingBox(*f));
    store_.painter().Draw(*f, DrawMode::kNormal);
  }
  group.location = location;
}

namespace {

// The flag of the group, its parts and lines at any depth (lines), or of its fillings and texts.
void SetHiddenFlags(PartElement& group, std::uint32_t flag, bool lines) {
  if (lines) {
    group.SetHidden(flag);
    for (LineNode* n : Each(group.lines)) n->element->SetHidden(flag);
  } else {
    for (FillingNode* n : Each(group.fillings)) n->element->SetHidden(flag);
    for (TextNode* n : Each(group.texts)) n->element->SetHidden(flag);
  }
  for (PartNode* n : Each(group.parts)) SetHiddenFlags(*n->element, flag, lines);
}

// Whether a boundary line the group holds bounds the filling and shares a zone with it, as
// ShowBorderFillings finds the fillings of one line.
bool BorderedByGroup(const FillingElement& f, const HeldLines& held) {
  for (std::uint32_t i = 0; i < f.ls0() && f.lines != nullptr; ++i) {
    const LineElement* line = f.lines[i];
    if (line == nullptr || line->boundary() == 0 || !held.Holds(line)) continue;
    if (ZonesOverlap(static_cast<std::uint16_t>(f.zoneX()), static_cast<std::uint16_t>(f.zoneY()),
                     static_cast<std::uint16_t>(line->zoneX()),
                     static_cast<std::uint16_t>(line->zoneY())) != 0) {
      return true;
    }
  }
  return false;
}

} // namespace

// The fillings bordered by the group's lines go and come with them: one pass over the fillings
// finds them all, each once.
void ElementGeometry::SetGroupHidden(PartElement& group, bool hidden) {
  const std::uint32_t flag = hidden ? 1 : 0;
  SetHiddenFlags(group, flag, true);
  const HeldLines held(group);
  for (FillingElement* f : Each(drawing_.fillings)) {
    if (!BorderedByGroup(*f, held)) continue;
    if (hidden) {
      if (drawing_.layerVisible[f->layer()] != 0) store_.painter().Draw(*f, DrawMode::kErase);
      f->SetHidden(1);
    } else {
      f->SetHidden(0);
      store_.painter().Draw(*f, DrawMode::kNormal);
    }
  }
  SetHiddenFlags(group, flag, false);
}

bool ElementGeometry::ReplaceTextString(TextElement& text, std::string_view value) {
  store_.Keep(text);
  const bool shown = text.hidden() == 0 && drawing_.layerVisible[text.layer()] != 0;
  if (shown) store_.painter().Draw(text, DrawMode::kErase);
  const bool replaced = ReplaceString(drawing_, store_.allocator(), env_, text, value) != 0;
  ElementChanged(text);
  if (shown) store_.painter().Draw(text, DrawMode::kNormal);
  return replaced;
}

} // namespace lumora
