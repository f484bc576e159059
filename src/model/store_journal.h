// The undo journal of the element store: every change to the drawing, grouped into steps.
//
// A step holds, in the order they happened, the records it linked onto or unlinked from the
// element lists (with the list neighbour and the index number that put them back exactly
// where they were), and for every record it changed in place the state before and after. The
// states are whole records (packed words, points, text, boundary lines, part members), kept
// once per record and step, so a step is taken back by undoing its list changes in reverse
// and writing the earlier states back, and done again the other way round.
//
// Records are named by address only while they are alive; records a step took off the lists
// stay allocated while a step can bring them back, and are freed with that step. The index
// number of a record and its list neighbour name its place in a way a log can keep too.
#pragma once

#include "geometry/point.h"
#include "geometry/primitives.h"
#include "model/element_kind.h"
#include "model/elements.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <variant>
#include <vector>

namespace lumora {

// What a step did, for the message that names it.
enum class StepKind : std::uint8_t {
  kChange,
  kLine,
  kArc,
  kCircle,
  kText,
  kMeasure,
  kFilling,
  kPart,
  kDelete,
  kScale,
  kCopy,
  kMove,
  kStretch,
  kGrid,
  kPlotArea,
  kUpdateTexts,
  kOverlaps,
  kDissolve,
  kAddDrawing,
};

enum class JournalOp : std::uint8_t { kLink, kUnlink };

// An element put on (kLink, always at the head) or taken off its list.
struct JournalLink {
  JournalOp op = JournalOp::kLink;
  ElementKind kind = ElementKind::kLine;
  void* element = nullptr;
  void* before = nullptr;     // the record ahead of it on its list, null at the head
  std::uint64_t sequence = 0; // its number in the spatial index (0: none)
};

// Points compare by value: a state kept and found the same needs no record.
inline bool SamePoints(const std::vector<Point>& a, const std::vector<Point>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].x != b[i].x || a[i].y != b[i].y) return false;
  return true;
}

struct LineState {
  std::array<std::uint32_t, 3> words{};
  std::vector<Point> points;
  bool operator==(const LineState& o) const {
    return words == o.words && SamePoints(points, o.points);
  }
};
struct FillingState {
  std::array<std::uint32_t, 5> words{};
  std::vector<LineElement*> lines;
  bool operator==(const FillingState&) const = default;
};
struct TextState {
  std::array<std::uint32_t, 4> words{};
  std::vector<Point> points;
  std::string text;
  bool operator==(const TextState& o) const {
    return words == o.words && text == o.text && SamePoints(points, o.points);
  }
};
struct PartState {
  std::array<char, kPartNameSize> name{};
  std::array<std::uint32_t, 2> words{};
  Point location{0.0, 0.0};
  Box box;
  // Members head first, as the lists run.
  std::vector<LineElement*> lines;
  std::vector<FillingElement*> fillings;
  std::vector<TextElement*> texts;
  std::vector<PartElement*> parts;
  bool operator==(const PartState& o) const {
    return name == o.name && words == o.words && location.x == o.location.x &&
           location.y == o.location.y && box.xmin == o.box.xmin && box.ymin == o.box.ymin &&
           box.xmax == o.box.xmax && box.ymax == o.box.ymax && lines == o.lines &&
           fillings == o.fillings && texts == o.texts && parts == o.parts;
  }
};
struct HeaderState {
  double scale = 1.0;
  double paperUnit = 1.0;
  std::uint32_t unitsChosen = 0;
  double step = 1.0;
  Box limits;
  bool operator==(const HeaderState& o) const {
    return scale == o.scale && paperUnit == o.paperUnit && unitsChosen == o.unitsChosen &&
           step == o.step && limits.xmin == o.limits.xmin && limits.ymin == o.limits.ymin &&
           limits.xmax == o.limits.xmax && limits.ymax == o.limits.ymax;
  }
};

template <class Element, class State> struct Change {
  Element* element = nullptr;
  State before;
  State after;
};
// A record of which only the packed words changed (a delete, a membership, a boundary): the
// rest of it stays as it is in the record, and a deleted record stays allocated while a step
// can bring it back, so its words are all a step keeps of it.
struct FlagsChange {
  using Words = std::array<std::uint32_t, 5>; // as many as the kind has are used
  void* element = nullptr;
  ElementKind kind = ElementKind::kLine;
  Words before{};
  Words after{};
};

using JournalChange =
    std::variant<Change<LineElement, LineState>, Change<FillingElement, FillingState>,
                 Change<TextElement, TextState>, Change<PartElement, PartState>,
                 Change<Drawing, HeaderState>>;

struct JournalStep {
  std::vector<JournalLink> links;
  std::vector<JournalChange> changes;
  std::vector<FlagsChange> flags;
  StepKind kind = StepKind::kChange;
  bool named = false;    // the command said what the step is; otherwise it is told by its links
  std::size_t bytes = 0; // what the step holds, for the memory budget
  bool Empty() const { return links.empty() && changes.empty() && flags.empty(); }
};

inline constexpr std::size_t kKeptFlags = ~(~std::size_t{0} >> 1);

// How much the journal may hold before the oldest steps go.
inline constexpr std::size_t kJournalBudget = std::size_t{256} << 20;

struct StoreJournal {
  bool enabled = false;   // only the drawing being worked on keeps a journal
  bool suspended = false; // a drawing being read: nothing is kept until its step ends
  bool held = false;      // a script runs: all it does is one step, ended when it ends
  JournalStep open;       // what the current step has done so far
  // Records whose earlier state the open step has: where in its changes, or in its flags
  // (kKeptFlags set).
  std::unordered_map<const void*, std::size_t> kept;
  std::vector<JournalStep> done;   // oldest first
  std::vector<JournalStep> undone; // most recently undone last
  // Records off the lists that a step may bring back, and their kinds.
  std::unordered_map<const void*, ElementKind> retired;
  std::uint64_t position = 0; // steps done since the history began (dropped ones included)
  std::uint64_t dropped = 0;  // the oldest steps given up to the budget
  std::uint64_t savedAt = 0;  // the position of the last save
  bool savedReachable = true; // false once the saved state's steps were dropped or redone away
  std::size_t bytes = 0;
  std::size_t budget = kJournalBudget;
  bool budgetTold = false;
  std::uint64_t resets = 0; // how many times the history began anew
  // While noteFreed is on, the records the journal frees are listed in freed (a step done
  // again from a log keeps its names of records only while they exist); freedLost tells that
  // the list ran out of memory.
  bool noteFreed = false;
  bool freedLost = false;
  std::vector<const void*> freed;

  bool Recording() const { return enabled && !suspended; }
};

// A record as a state holds it (the hidden flag left out); the header's undoable fields.
LineState StateOf(const LineElement& line);
FillingState StateOf(const FillingElement& filling);
TextState StateOf(const TextElement& text);
PartState StateOf(const PartElement& part);
HeaderState StateOf(const Drawing& drawing);
// What a step holds, as allocated (its vectors are shrunk to fit first).
std::size_t StepBytes(JournalStep& step);

// A record a step read from a log brings into the drawing, and the content it is to have.
using RecordState = std::variant<LineState, FillingState, TextState, PartState>;
struct LoggedRecord {
  ElementKind kind = ElementKind::kLine;
  void* record = nullptr;
  RecordState content;
};

} // namespace lumora
