// Keeping a filling when one of its boundary lines is cut or rounded: the pieces, and a
// rounding arc, take the line's place in the boundary, so the filling is made again instead of
// lost with the line.
#include "element_geometry/element_geometry.h"

#include <algorithm>

namespace lumora {

namespace {

Point FirstOf(const LineElement& line) {
  return IsRound(line) && line.ps0() >= 2 ? line.points[1] : line.points[0];
}

Point LastOf(const LineElement& line) {
  return line.points[line.ps0() - 1];
}

bool EndsALoop(const LineElement& line) {
  return line.shape() == kShapeClosed || line.shape() == kShapeCircle;
}

double NearerEnd(const Point& p, const LineElement& other) {
  return std::min(Distance(p, FirstOf(other), 0), Distance(p, LastOf(other), 0));
}

LineElement* EntryAt(const FillingElement& filling, std::int64_t i) {
  if (i < 0 || i >= static_cast<std::int64_t>(filling.ls0())) return nullptr;
  LineElement* line = filling.lines[i];
  return line != nullptr && line->ps0() > 0 ? line : nullptr;
}

// Whether the boundary walks the old line from its last point back to its first, judged as the
// boundary builder judges it: towards the line before it in the loop, or, first in its loop,
// away towards the line after it.
bool WalkedBackwards(const FillingElement& filling, std::uint32_t index, const LineElement& old) {
  if (EndsALoop(old) || old.ps0() == 0) return false;
  const Point first = FirstOf(old);
  const Point last = LastOf(old);
  const LineElement* before = EntryAt(filling, static_cast<std::int64_t>(index) - 1);
  if (before != nullptr && !EndsALoop(*before)) {
    return NearerEnd(last, *before) < NearerEnd(first, *before);
  }
  const LineElement* after = EntryAt(filling, static_cast<std::int64_t>(index) + 1);
  return after != nullptr && NearerEnd(first, *after) < NearerEnd(last, *after);
}

// The entries that stand for the old line: its pieces in walking order. A closed line was a
// loop of its own; its open pieces are kept apart from the loops beside them.
std::vector<LineElement*> InLoopOrder(const FillingElement& filling, std::uint32_t index,
                                      const LineElement& old,
                                      std::span<LineElement* const> pieces) {
  std::vector<LineElement*> entries(pieces.begin(), pieces.end());
  if (WalkedBackwards(filling, index, old)) std::reverse(entries.begin(), entries.end());
  if (EndsALoop(old)) {
    if (index > 0 && filling.lines[index - 1] != nullptr) entries.insert(entries.begin(), nullptr);
    if (index + 1 < filling.ls0() && filling.lines[index + 1] != nullptr)
      entries.push_back(nullptr);
  }
  return entries;
}

std::int64_t IndexOf(const FillingElement& filling, const LineElement* line) {
  for (std::uint32_t i = 0; i < filling.ls0(); ++i) {
    if (filling.lines[i] == line) return i;
  }
  return -1;
}

// The first and last entry of the loop that holds entry i.
std::pair<std::uint32_t, std::uint32_t> LoopAround(const FillingElement& filling, std::uint32_t i) {
  std::uint32_t first = i;
  while (first > 0 && filling.lines[first - 1] != nullptr) --first;
  std::uint32_t last = i;
  while (last + 1 < filling.ls0() && filling.lines[last + 1] != nullptr) ++last;
  return {first, last};
}

// Where an arc between two lines of one loop goes: after the entry it follows, or -1 when the
// lines do not meet in the loop.
std::int64_t ArcPlace(const FillingElement& filling, const LineElement* line1,
                      const LineElement* line2) {
  const std::int64_t i = IndexOf(filling, line1);
  const std::int64_t j = IndexOf(filling, line2);
  if (i < 0 || j < 0) return -1;
  if (i == j) return i;
  const auto [first, last] = LoopAround(filling, static_cast<std::uint32_t>(i));
  if (j < first || j > last) return -1;
  if (std::abs(i - j) == 1) return std::min(i, j);
  if (std::min(i, j) == first && std::max(i, j) == last) return last; // across the loop's seam
  return -1;
}

} // namespace

void ElementGeometry::PassBoundaryToPieces(const LineElement& old,
                                           std::span<LineElement* const> pieces) {
  for (FillingElement* filling : store_.FillingsBoundedBy(&old)) {
    for (std::int64_t i = IndexOf(*filling, &old); i >= 0; i = IndexOf(*filling, &old)) {
      const auto index = static_cast<std::uint32_t>(i);
      const std::vector<LineElement*> entries = InLoopOrder(*filling, index, old, pieces);
      if (!store_.ReplaceBoundaryEntry(*filling, index, entries)) break;
    }
    ElementChanged(*filling);
  }
}

void ElementGeometry::PassBoundaryToArc(LineElement& arc, const LineElement* line1,
                                        const LineElement* line2) {
  for (FillingElement* filling : store_.FillingsBoundedBy(line1)) {
    const std::int64_t place = ArcPlace(*filling, line1, line2);
    if (place < 0) continue;
    const auto index = static_cast<std::uint32_t>(place);
    LineElement* const entries[] = {filling->lines[index], &arc};
    store_.ReplaceBoundaryEntry(*filling, index, entries);
    ElementChanged(*filling);
  }
}

void ElementGeometry::DropFromBoundaries(const LineElement& line) {
  for (FillingElement* filling : store_.FillingsBoundedBy(&line)) {
    for (std::int64_t i = IndexOf(*filling, &line); i >= 0; i = IndexOf(*filling, &line)) {
      if (!store_.ReplaceBoundaryEntry(*filling, static_cast<std::uint32_t>(i), {})) break;
    }
    ElementChanged(*filling);
  }
}

} // namespace lumora
