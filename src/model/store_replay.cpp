// Steps read from a recovery log, done again on the drawing they were logged on.
//
// A log is read like any file: before anything changes, the step is checked against the
// drawing as it is, so a step logged on another drawing, or damaged bytes that still decode,
// are refused instead of done. The checks are what the rest of the store relies on: a record
// is on its list when the step takes it off, the counts in its words match the room it has, a
// change starts from the record as it is, and nothing the step leaves on the lists names a
// record the step took off. The step is then done by the same code as a redo, so the journal
// holds it as if it had been committed here, and later undo and redo moves work on it.
#include "model/element_store.h"
#include "model/store_internal.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>

namespace lumora {

namespace {

// Whether a record is on its list, as the step goes.
using OnList = std::unordered_map<const void*, bool>;

template <class Element, class Words> std::uint32_t CountField(const Words& words) {
  Element e;
  std::copy_n(words.begin(), e.words.size(), e.words.begin());
  if constexpr (std::is_same_v<Element, LineElement>) return e.ps0();
  if constexpr (std::is_same_v<Element, FillingElement>) return e.ls0();
  if constexpr (std::is_same_v<Element, TextElement>) return e.pointCount();
  return 0;
}

bool Finite(const Point& p) {
  return std::isfinite(p.x) && std::isfinite(p.y);
}
bool AllFinite(const std::vector<Point>& points) {
  for (const Point& p : points)
    if (!Finite(p)) return false;
  return true;
}
bool FiniteBox(const Box& b) {
  return std::isfinite(b.xmin) && std::isfinite(b.ymin) && std::isfinite(b.xmax) &&
         std::isfinite(b.ymax);
}

// A state the record can hold: its counts agree with its room, its numbers are numbers.
bool Holdable(const LineState& s, std::size_t room) {
  return s.points.size() == room && CountField<LineElement>(s.words) == room && AllFinite(s.points);
}
bool Holdable(const TextState& s, std::size_t room, int fonts) {
  TextElement e;
  e.words = s.words;
  return room >= 1 && s.points.size() == room && e.pointCount() == room &&
         static_cast<int>(e.font()) < fonts && s.text.size() <= kMaxTextLength &&
         s.text.find('\0') == std::string::npos && AllFinite(s.points);
}
bool Holdable(const FillingState& s) {
  return s.lines.size() <= static_cast<std::size_t>(kMaxFillingLines) &&
         CountField<FillingElement>(s.words) == s.lines.size();
}
bool Holdable(const PartState& s) {
  return std::memchr(s.name.data(), '\0', kPartNameMax + 1) != nullptr && Finite(s.location);
}
bool Holdable(const HeaderState& s) {
  return std::isfinite(s.scale) && s.scale > 0 && std::isfinite(s.paperUnit) && s.paperUnit > 0 &&
         std::isfinite(s.step) && FiniteBox(s.limits);
}

// The records a state names as boundary lines or members.
template <class F> void EachNamed(const FillingState& s, F f) {
  for (const LineElement* line : s.lines)
    if (line != nullptr) f(static_cast<const void*>(line));
}
template <class F> void EachNamed(const PartState& s, F f) {
  for (const auto* e : s.lines) f(static_cast<const void*>(e));
  for (const auto* e : s.fillings) f(static_cast<const void*>(e));
  for (const auto* e : s.texts) f(static_cast<const void*>(e));
  for (const auto* e : s.parts) f(static_cast<const void*>(e));
}

} // namespace

namespace {

template <class Element> Element* Reversed(Element* head) {
  Element* out = nullptr;
  while (head != nullptr) {
    Element* next = head->next;
    head->next = out;
    out = head;
    head = next;
  }
  return out;
}

// Numbers the list's records anew, larger towards the head, above every number given so far.
template <class Element> void Renumber(Element* head, SpatialIndex<Element>& index) {
  std::vector<Element*> order;
  for (Element* e = head; e != nullptr; e = e->next) order.push_back(e);
  const std::uint64_t base = index.LastSequence();
  for (std::size_t k = 0; k < order.size(); ++k)
    index.SetSequence(order[k], base + order.size() - k);
}

// Whether a part the step brings in or changes would hold itself, at any depth: the part
// tree would be endless.
bool MakesPartCycle(std::span<LoggedRecord> fresh,
                    const std::unordered_map<const void*, const JournalChange*>& changed) {
  std::unordered_map<const PartElement*, const std::vector<PartElement*>*> held;
  for (const LoggedRecord& r : fresh)
    if (const auto* s = std::get_if<PartState>(&r.content))
      held[static_cast<const PartElement*>(r.record)] = &s->parts;
  for (const auto& [record, change] : changed)
    if (const auto* c = std::get_if<Change<PartElement, PartState>>(change))
      held[c->element] = &c->after.parts;
  for (const auto& [start, members] : held) {
    std::vector<const PartElement*> work(members->begin(), members->end());
    std::unordered_set<const PartElement*> seen;
    while (!work.empty()) {
      const PartElement* part = work.back();
      work.pop_back();
      if (part == start) return true;
      if (part == nullptr || !seen.insert(part).second) continue;
      const auto own = held.find(part);
      if (own != held.end()) {
        work.insert(work.end(), own->second->begin(), own->second->end());
      } else {
        for (const PartNode* node = part->parts; node != nullptr; node = node->next)
          work.push_back(node->element);
      }
    }
  }
  return false;
}

} // namespace

void ElementStore::ReverseLists() {
  drawing_.lines = Reversed(drawing_.lines);
  drawing_.fillings = Reversed(drawing_.fillings);
  drawing_.texts = Reversed(drawing_.texts);
  Renumber(drawing_.lines, lineIndex_);
  Renumber(drawing_.fillings, fillingIndex_);
  Renumber(drawing_.texts, textIndex_);
}

void* ElementStore::NewLoggedRecord(ElementKind kind, std::size_t count) {
  void* block = nullptr;
  switch (kind) {
  case ElementKind::kLine: {
    if (count > static_cast<std::size_t>(kMaxLinePoints)) return nullptr;
    block = Allocate(sizeof(LineElement) + sizeof(Point) * count);
    if (block == nullptr) break;
    auto* line = new (block) LineElement;
    line->points = reinterpret_cast<Point*>(reinterpret_cast<unsigned char*>(line) + sizeof(*line));
    std::uninitialized_value_construct_n(line->points, count);
    line->SetPs0(static_cast<std::uint32_t>(count));
    return line;
  }
  case ElementKind::kFilling: {
    if (count > static_cast<std::size_t>(kMaxFillingLines)) return nullptr;
    block = Allocate(sizeof(FillingElement));
    if (block == nullptr) break;
    auto* filling = new (block) FillingElement;
    const std::size_t slots = std::max<std::size_t>(count, 1);
    void* array = Allocate(sizeof(LineElement*) * slots);
    if (array == nullptr) {
      allocator_.Free(filling);
      block = nullptr;
      break;
    }
    filling->lines = static_cast<LineElement**>(array);
    std::uninitialized_fill_n(filling->lines, slots, nullptr);
    filling->SetLs0(static_cast<std::uint32_t>(count));
    return filling;
  }
  case ElementKind::kText: {
    if (count < 1 || count > static_cast<std::size_t>(kMaxTextPoints)) return nullptr;
    block = Allocate(sizeof(TextElement) + sizeof(Point) * count);
    if (block == nullptr) break;
    auto* text = new (block) TextElement;
    text->points = reinterpret_cast<Point*>(reinterpret_cast<unsigned char*>(text) + sizeof(*text));
    std::uninitialized_value_construct_n(text->points, count);
    text->SetPointCount(static_cast<std::uint32_t>(count));
    return text;
  }
  case ElementKind::kPart:
    block = Allocate(sizeof(PartElement));
    if (block == nullptr) break;
    return new (block) PartElement;
  }
  if (block == nullptr) ReportOverflow();
  return nullptr;
}

void ElementStore::FreeLoggedRecord(ElementKind kind, void* record) {
  if (record == nullptr) return;
  const bool noting = journal_.noteFreed;
  journal_.noteFreed = false; // never named: nothing to forget
  FreeRetired(record, kind);
  journal_.noteFreed = noting;
}

bool ElementStore::LoggedStepFits(JournalStep& step, std::span<LoggedRecord> fresh) {
  std::unordered_map<const void*, const LoggedRecord*> made;
  for (const LoggedRecord& r : fresh) {
    if (r.record == nullptr || Retired(r.record) || !made.emplace(r.record, &r).second)
      return false;
    const bool holdable = std::visit(
        [&](const auto& s) {
          using State = std::decay_t<decltype(s)>;
          if constexpr (std::is_same_v<State, LineState>)
            return r.kind == ElementKind::kLine &&
                   Holdable(s, static_cast<LineElement*>(r.record)->ps0());
          else if constexpr (std::is_same_v<State, TextState>)
            return r.kind == ElementKind::kText &&
                   Holdable(s, static_cast<TextElement*>(r.record)->pointCount(),
                            env_.LoadedFontCount());
          else if constexpr (std::is_same_v<State, FillingState>)
            return r.kind == ElementKind::kFilling && Holdable(s) &&
                   s.lines.size() == static_cast<FillingElement*>(r.record)->ls0();
          else
            return r.kind == ElementKind::kPart && Holdable(s);
        },
        r.content);
    if (!holdable) return false;
  }
  const auto existing = [&](const void* record) {
    return !made.contains(record) && !Retired(record);
  };

  // The lists, as the step goes: a record put on must be off, one taken off must be on, and a
  // neighbour must be on its list. Every fresh record comes in by being put on.
  OnList on;
  const auto state = [&](const void* record) {
    const auto found = on.find(record);
    return found != on.end() ? found->second : existing(record);
  };
  std::unordered_map<ElementKind, std::uint64_t> next;
  next[ElementKind::kLine] = lineIndex_.LastSequence();
  next[ElementKind::kFilling] = fillingIndex_.LastSequence();
  next[ElementKind::kText] = textIndex_.LastSequence();
  std::unordered_map<const void*, std::uint64_t> numbers;
  for (JournalLink& link : step.links) {
    if (link.element == nullptr || link.element == link.before) return false;
    const auto kindOf = made.find(link.element);
    if (kindOf != made.end() && kindOf->second->kind != link.kind) return false;
    if (kindOf == made.end() && Retired(link.element)) return false;
    const bool isOn = state(link.element);
    if (link.op == JournalOp::kLink) {
      if (isOn || link.before != nullptr) return false;
      if (!numbers.contains(link.element) && link.kind != ElementKind::kPart)
        numbers[link.element] = ++next[link.kind];
      link.sequence = numbers.contains(link.element) ? numbers[link.element] : 0;
    } else {
      if (!isOn || (link.before != nullptr && !state(link.before))) return false;
      const auto neighbour = made.find(link.before);
      if (neighbour != made.end() && neighbour->second->kind != link.kind) return false;
      if (!numbers.contains(link.element)) {
        std::uint64_t sequence = 0;
        Dispatch(link.kind, link.element, [&](auto* e) {
          using Element = std::remove_pointer_t<decltype(e)>;
          if constexpr (std::is_same_v<Element, LineElement>) sequence = lineIndex_.Sequence(e);
          if constexpr (std::is_same_v<Element, FillingElement>)
            sequence = fillingIndex_.Sequence(e);
          if constexpr (std::is_same_v<Element, TextElement>) sequence = textIndex_.Sequence(e);
        });
        numbers[link.element] = sequence;
      }
      link.sequence = numbers[link.element];
    }
    on[link.element] = link.op == JournalOp::kLink;
  }
  for (const LoggedRecord& r : fresh)
    if (!on.contains(r.record)) return false;

  // Each change once per record, starting from the record as it is; each state one its record
  // can hold. What a change leaves is what the end of the step shows of the record.
  std::unordered_map<const void*, const JournalChange*> changed;
  std::unordered_map<const void*, const FlagsChange*> flagged;
  bool fits = true;
  for (const JournalChange& change : step.changes) {
    std::visit(
        [&](const auto& c) {
          using State = std::decay_t<decltype(c.before)>;
          const void* record = c.element;
          if (record == nullptr || !changed.emplace(record, &change).second) {
            fits = false;
            return;
          }
          if constexpr (std::is_same_v<State, HeaderState>) {
            // A drawing file keeps the scale, the grid step and the limits; the paper unit
            // follows the set-up when a drawing is read, so it is not held against the step.
            const HeaderState now = StateOf(drawing_);
            fits = fits && record == &drawing_ && Holdable(c.before) && Holdable(c.after) &&
                   now.scale == c.before.scale && now.step == c.before.step &&
                   now.limits.xmin == c.before.limits.xmin &&
                   now.limits.ymin == c.before.limits.ymin &&
                   now.limits.xmax == c.before.limits.xmax &&
                   now.limits.ymax == c.before.limits.ymax;
          } else {
            const bool isNew = made.contains(record);
            if (!isNew && Retired(record)) {
              fits = false;
              return;
            }
            // A record the step leaves off its list keeps no later state: only how it was
            // before is ever written back.
            const bool kept = state(record);
            if constexpr (std::is_same_v<State, LineState>) {
              const std::size_t room = c.element->ps0();
              fits = fits && Holdable(c.before, room) && (!kept || Holdable(c.after, room));
            } else if constexpr (std::is_same_v<State, TextState>) {
              const std::size_t room = c.element->pointCount();
              const int fonts = env_.LoadedFontCount();
              fits = fits && Holdable(c.before, room, fonts) &&
                     (!kept || Holdable(c.after, room, fonts));
            } else {
              fits = fits && Holdable(c.before) && (!kept || Holdable(c.after));
            }
            if constexpr (std::is_same_v<State, PartState>)
              fits = fits && (isNew || liveParts_.contains(c.element));
            if (fits && !isNew) fits = StateOf(*c.element) == c.before;
          }
        },
        change);
    if (!fits) return false;
  }
  for (const FlagsChange& change : step.flags) {
    if (change.element == nullptr || !flagged.emplace(change.element, &change).second) return false;
    const auto maker = made.find(change.element);
    const bool isNew = maker != made.end();
    if (!isNew && Retired(change.element)) return false;
    if (isNew && maker->second->kind != change.kind) return false;
    bool ok = true;
    Dispatch(change.kind, change.element, [&](auto* e) {
      using Element = std::remove_pointer_t<decltype(e)>;
      if constexpr (std::is_same_v<Element, PartElement>) {
        ok = isNew || liveParts_.contains(e);
        if (!ok) return;
      }
      // The words may not change the room the record has.
      const std::uint32_t room = CountField<Element>(e->words);
      if (CountField<Element>(change.before) != room ||
          (state(change.element) && CountField<Element>(change.after) != room))
        ok = false;
      if (ok && !isNew) {
        Element shown;
        shown.words = e->words;
        shown.SetHidden(0);
        ok = std::equal(shown.words.begin(), shown.words.end(), change.before.begin());
      }
    });
    if (!ok) return false;
  }

  // Nothing left on the lists may name a record off them: a filling's boundary lines and a
  // part's members are on their lists when the step ends, as are the fillings and parts that
  // held a record the step took off (unless a change of theirs lets it go).
  const auto endsOn = [&](const void* record) { return state(record); };
  const auto namesOnly = [&](const auto& s) {
    bool good = true;
    EachNamed(s, [&](const void* record) { good = good && record != nullptr && endsOn(record); });
    return good;
  };
  for (const LoggedRecord& r : fresh) {
    if (!endsOn(r.record) || changed.contains(r.record)) continue;
    const bool good = std::visit(
        [&](const auto& s) {
          using State = std::decay_t<decltype(s)>;
          if constexpr (std::is_same_v<State, FillingState> || std::is_same_v<State, PartState>)
            return namesOnly(s);
          return true;
        },
        r.content);
    if (!good) return false;
  }
  for (const auto& [record, change] : changed) {
    if (!endsOn(record)) continue;
    const bool good = std::visit(
        [&](const auto& c) {
          using State = std::decay_t<decltype(c.after)>;
          if constexpr (std::is_same_v<State, FillingState> || std::is_same_v<State, PartState>)
            return namesOnly(c.after);
          return true;
        },
        *change);
    if (!good) return false;
  }
  for (const auto& [record, isOn] : on) {
    if (isOn || made.contains(record)) continue;
    const auto bounds = bounded_.find(static_cast<const LineElement*>(record));
    if (bounds != bounded_.end())
      for (const FillingElement* filling : bounds->second)
        if (endsOn(filling) && !changed.contains(filling)) return false;
    const auto holders = holders_.find(record);
    if (holders != holders_.end())
      for (const PartElement* part : holders->second)
        if (endsOn(part) && !changed.contains(part)) return false;
  }
  return !MakesPartCycle(fresh, changed);
}

bool ElementStore::DoLoggedStep(JournalStep step, std::span<LoggedRecord> fresh) {
  StoreJournal& j = journal_;
  const auto refuse = [&]() {
    for (LoggedRecord& r : fresh) {
      FreeLoggedRecord(r.kind, r.record);
      r.record = nullptr;
    }
    return false;
  };
  if (!j.enabled || j.held || step.Empty()) return refuse();
  // Ends the suspension of a drawing just read, too: the step begins its history.
  CommitStep();
  if (j.suspended || !LoggedStepFits(step, fresh)) return refuse();
  // The fresh records are the journal's, off the lists, as a step taken back leaves them.
  try {
    for (const LoggedRecord& r : fresh) j.retired.emplace(r.record, r.kind);
  } catch (const std::bad_alloc&) {
    for (const LoggedRecord& r : fresh) j.retired.erase(r.record);
    ReportOverflow();
    return refuse();
  }
  for (const LoggedRecord& r : fresh) {
    std::visit(
        [&](const auto& s) {
          using State = std::decay_t<decltype(s)>;
          if constexpr (std::is_same_v<State, LineState>)
            Apply(*static_cast<LineElement*>(r.record), s);
          if constexpr (std::is_same_v<State, FillingState>)
            Apply(*static_cast<FillingElement*>(r.record), s);
          if constexpr (std::is_same_v<State, TextState>)
            Apply(*static_cast<TextElement*>(r.record), s);
          if constexpr (std::is_same_v<State, PartState>)
            Apply(*static_cast<PartElement*>(r.record), s);
        },
        r.content);
  }
  // A new step: the steps taken back can no longer be done again.
  if (j.savedAt > j.position) j.savedReachable = false;
  DropSteps(j.undone, JournalOp::kLink);
  const std::size_t bytes = StepBytes(step);
  step.bytes = bytes;
  try {
    j.undone.push_back(std::move(step));
  } catch (const std::bad_alloc&) {
    for (const LoggedRecord& r : fresh) j.retired.erase(r.record);
    ReportOverflow();
    return refuse();
  }
  j.bytes += bytes;
  StepKind kind = StepKind::kChange;
  Redo(kind);
  KeepBudget();
  return true;
}

} // namespace lumora
