#include "commands/overlap_check.h"

#include "commands/quit.h"
#include "files/file_environment.h"
#include "model/drawing.h"
#include "model/element_store.h"
#include "protocol/command_state.h"
#include "protocol/window_services.h"
#include "sound/my_beep.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <unordered_map>
#include <unordered_set>

namespace lumora {
namespace {

constexpr int kQuestionRow = 1;
constexpr int kQuestionColumn = 2;
// Cells as wide as the point tolerance: points that count as the same lie in one cell or in
// neighbouring ones.
constexpr double kCell = kGeomTolerance;
constexpr double kCellLimit = 1e18; // far-out coordinates share the outermost cells

struct CellKey {
  std::uint32_t count;
  std::uint32_t shape;
  std::int64_t x;
  std::int64_t y;
  bool operator==(const CellKey&) const = default;
};

struct CellHash {
  std::size_t operator()(const CellKey& k) const {
    std::uint64_t h = k.count * 0x9E3779B97F4A7C15ull ^ k.shape;
    h = (h ^ static_cast<std::uint64_t>(k.x)) * 0xBF58476D1CE4E5B9ull;
    h = (h ^ static_cast<std::uint64_t>(k.y)) * 0x94D049BB133111EBull;
    return static_cast<std::size_t>(h ^ (h >> 31));
  }
};

std::int64_t CellOf(double v) {
  const double c = std::floor(v / kCell);
  if (std::isnan(c)) return std::numeric_limits<std::int64_t>::min(); // never the same point
  return static_cast<std::int64_t>(std::clamp(c, -kCellLimit, kCellLimit));
}

Point FirstPoint(const LineElement& line) {
  return line.ps0() > 0 && line.points != nullptr ? line.points[0] : Point{0.0, 0.0};
}

CellKey KeyOf(const LineElement& line, std::int64_t dx = 0, std::int64_t dy = 0) {
  const Point p = FirstPoint(line);
  return {line.ps0(), line.shape(), CellOf(p.x) + dx, CellOf(p.y) + dy};
}

bool SameLine(const LineElement& a, const LineElement& b) {
  if (a.ps0() != b.ps0() || a.shape() != b.shape()) return false;
  if (a.points == nullptr || b.points == nullptr) return a.points == b.points;
  for (std::uint32_t i = 0; i < a.ps0(); ++i)
    if (SamePoint(a.points[i], b.points[i]) == 0) return false;
  return true;
}

} // namespace

std::vector<LineElement*> OverlappingLines(const Drawing& drawing) {
  std::vector<LineElement*> lines;
  for (LineElement* l : Each(drawing.lines)) lines.push_back(l);
  std::unordered_set<const LineElement*> boundaries;
  for (const FillingElement* f : Each(drawing.fillings))
    for (std::uint32_t i = 0; i < f->ls0() && f->lines != nullptr; ++i)
      boundaries.insert(f->lines[i]);
  // Each cell lists its lines in list order, so the first match is the one nearest the head.
  std::unordered_map<CellKey, std::vector<std::size_t>, CellHash> cells;
  for (std::size_t i = 0; i < lines.size(); ++i) cells[KeyOf(*lines[i])].push_back(i);

  std::vector<bool> deleted(lines.size(), false);
  std::vector<LineElement*> result;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (deleted[i]) continue;
    std::size_t first = lines.size();
    for (std::int64_t dx = -1; dx <= 1; ++dx) {
      for (std::int64_t dy = -1; dy <= 1; ++dy) {
        const auto cell = cells.find(KeyOf(*lines[i], dx, dy));
        if (cell == cells.end()) continue;
        for (const std::size_t j : cell->second) {
          if (j >= first) break;
          if (j == i || deleted[j] || boundaries.contains(lines[j])) continue;
          if (SameLine(*lines[i], *lines[j])) first = j;
        }
      }
    }
    if (first == lines.size()) continue;
    deleted[first] = true;
    result.push_back(lines[first]);
  }
  return result;
}

int CheckOverlaps::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  Ask(control);
  Message(control, kSoundNotice, kOverlapQuestion);
  return kStillRunning;
}

int CheckOverlaps::Continue(Control& control, const CommandRow& row) {
  const int answer = Ask(control);
  if (answer == kStillRunning) return kStillRunning;
  if (answer == kAnswerYes) {
    DeleteLines(control, OverlappingLines(control.drawing));
    control.window.Repaint();
  }
  EndFunction(control, row.level);
  return kFinished;
}

int CheckOverlaps::Ask(Control& control) {
  return question_.Ask(control, kQuestionRow, kQuestionColumn, 0, kOverlapTitle, kAreYouSure,
                       kAnswerYes);
}

// The lines go together through one working group, so the lists are swept once rather than
// walked for every line; a line held by a placed part is deleted on its own.
void CheckOverlaps::DeleteLines(Control& control, const std::vector<LineElement*>& lines) {
  if (lines.empty()) return;
  ElementStore& store = control.store;
  control.files.Trace("\nDeleting lines: " + std::string(lines.size(), '.'));
  PartElement* group = store.AddPart("", 0, 0);
  for (LineElement* line : lines) {
    if (group != nullptr && store.AddMember(group, line) != nullptr) continue;
    store.DeleteLine(line);
  }
  if (group != nullptr) store.DeletePart(group, true);
  store.NameStep(StepKind::kOverlaps);
}

} // namespace lumora
