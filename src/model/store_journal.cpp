// The undo journal: keeping what each step changed, taking steps back and doing them again.
//
// The indexes (parts alive, holders, boundaries, the spatial index) follow every record put
// back or taken off and every state written back, so they hold after each of these, in any
// order; the lists themselves are put back in exactly the reverse order they were changed in.
#include "model/element_store.h"
#include "model/store_internal.h"
#include "model/store_journal_screen.h"
#include "model/store_messages.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <new>
#include <sstream>
#include <tuple>
#include <type_traits>

namespace lumora {

namespace {

constexpr TextPair kBudgetNotice{"Oldest undo steps dropped: the undo memory is full !"_l1,
                                 "Vanhimmat kumousvaiheet poistettu: kumousmuisti täynnä !"_l1};

// The hidden flag is left out of every state: it only says what a running command has taken
// off the screen for a while, never what a step changed. Steps are taken back and done again
// with no command running, so every record written back is shown.
template <class Element>
std::array<std::uint32_t, std::tuple_size_v<decltype(Element::words)>>
ShownWords(const Element& element) {
  Element copy;
  copy.words = element.words;
  copy.SetHidden(0);
  return copy.words;
}

template <class Element> void WriteWords(Element& element, const decltype(Element::words)& words) {
  element.words = words;
}

} // namespace

LineState StateOf(const LineElement& line) {
  LineState s{ShownWords(line), {}};
  if (line.points != nullptr) s.points.assign(line.points, line.points + line.ps0());
  return s;
}

FillingState StateOf(const FillingElement& filling) {
  FillingState s{ShownWords(filling), {}};
  if (filling.lines != nullptr) s.lines.assign(filling.lines, filling.lines + filling.ls0());
  return s;
}

TextState StateOf(const TextElement& text) {
  TextState s{ShownWords(text), {}, text.text != nullptr ? std::string(text.text) : std::string()};
  if (text.points != nullptr) s.points.assign(text.points, text.points + text.pointCount());
  return s;
}

template <class Element> std::vector<Element*> Members(const MemberNode<Element>* node) {
  std::vector<Element*> out;
  for (; node != nullptr; node = node->next) out.push_back(node->element);
  return out;
}

PartState StateOf(const PartElement& part) {
  PartState s;
  std::memcpy(s.name.data(), part.name, s.name.size());
  s.words = ShownWords(part);
  s.location = part.location;
  s.box = part.box;
  s.lines = Members(part.lines);
  s.fillings = Members(part.fillings);
  s.texts = Members(part.texts);
  s.parts = Members(part.parts);
  return s;
}

HeaderState StateOf(const Drawing& d) {
  return {.scale = d.scale,
          .paperUnit = d.paperUnit,
          .unitsChosen = d.unitsChosen,
          .step = d.step,
          .limits = d.limits};
}

namespace {

// What a state holds beyond its place in the step's list of changes.
template <class T> std::size_t HeapBytes(const std::vector<T>& v) {
  return v.capacity() * sizeof(T);
}
std::size_t HeapBytes(const std::string& s) {
  return s.capacity() > std::string().capacity() ? s.capacity() + 1 : 0;
}
std::size_t BytesOf(const LineState& s) {
  return HeapBytes(s.points);
}
std::size_t BytesOf(const FillingState& s) {
  return HeapBytes(s.lines);
}
std::size_t BytesOf(const TextState& s) {
  return HeapBytes(s.points) + HeapBytes(s.text);
}
std::size_t BytesOf(const PartState& s) {
  return HeapBytes(s.lines) + HeapBytes(s.fillings) + HeapBytes(s.texts) + HeapBytes(s.parts);
}
std::size_t BytesOf(const HeaderState&) {
  return 0;
}

// An entry of the map of records off the lists: its node, its key and kind, and its bucket.
constexpr std::size_t kRetiredEntryBytes = 4 * sizeof(void*);

// What a record kept off the lists holds: a deleted line of many points weighs as much in the
// journal as it did in the drawing.
std::size_t RecordBytes(const JournalLink& link) {
  switch (link.kind) {
  case ElementKind::kLine: {
    const auto* line = static_cast<const LineElement*>(link.element);
    return sizeof(LineElement) + sizeof(Point) * line->ps0();
  }
  case ElementKind::kFilling: {
    const auto* filling = static_cast<const FillingElement*>(link.element);
    return sizeof(FillingElement) + sizeof(LineElement*) * filling->ls0();
  }
  case ElementKind::kText: {
    const auto* text = static_cast<const TextElement*>(link.element);
    return sizeof(TextElement) + sizeof(Point) * text->pointCount() +
           (text->text == nullptr ? 0 : std::strlen(text->text) + 1);
  }
  case ElementKind::kPart:
    return sizeof(PartElement);
  }
  return 0;
}

// The kind a message names the step by: what it added, or that it only deleted.
StepKind KindOf(const JournalStep& step) {
  bool linked = false;
  bool unlinked = false;
  const JournalLink* last = nullptr;
  for (const JournalLink& link : step.links) {
    if (link.op == JournalOp::kLink) {
      linked = true;
      last = &link;
    } else {
      unlinked = true;
    }
  }
  if (linked && !unlinked && last != nullptr) {
    switch (last->kind) {
    case ElementKind::kLine: {
      const auto* line = static_cast<const LineElement*>(last->element);
      if (line->shape() == kShapeArc) return StepKind::kArc;
      if (line->shape() == kShapeCircle) return StepKind::kCircle;
      return StepKind::kLine;
    }
    case ElementKind::kFilling:
      return StepKind::kFilling;
    case ElementKind::kText:
      return static_cast<const TextElement*>(last->element)->mitta() != 0 ? StepKind::kMeasure
                                                                          : StepKind::kText;
    case ElementKind::kPart:
      return StepKind::kPart;
    }
  }
  if (unlinked && !linked) return StepKind::kDelete;
  if (!linked && !unlinked && step.changes.size() == 1 &&
      std::holds_alternative<Change<Drawing, HeaderState>>(step.changes.front()))
    return StepKind::kScale;
  return StepKind::kChange;
}

template <class Element> bool Journaled(const Element*) {
  return true;
}
template <> bool Journaled(const PartElement* part) {
  // A selection group is a command's working set, gone before any step is taken back.
  return part->type() != 0;
}

template <class Element> Element*& HeadOf(Drawing& drawing);
template <> LineElement*& HeadOf(Drawing& d) {
  return d.lines;
}
template <> FillingElement*& HeadOf(Drawing& d) {
  return d.fillings;
}
template <> TextElement*& HeadOf(Drawing& d) {
  return d.texts;
}
template <> PartElement*& HeadOf(Drawing& d) {
  return d.parts;
}

template <class Element> void LinkAfter(Drawing& drawing, Element* element, Element* before) {
  Element*& head = HeadOf<Element>(drawing);
  if (before == nullptr) {
    element->next = head;
    head = element;
  } else {
    element->next = before->next;
    before->next = element;
  }
}

template <class Element> void UnlinkFrom(Drawing& drawing, Element* element, Element* before) {
  Element*& head = HeadOf<Element>(drawing);
  Element** link = before != nullptr && before->next == element ? &before->next : &head;
  while (*link != nullptr && *link != element) link = &(*link)->next;
  if (*link != nullptr) *link = element->next;
  element->next = nullptr;
}

template <class Element> FlagsChange::Words WordsOf(const Element& element) {
  FlagsChange::Words out{};
  const auto words = ShownWords(element);
  std::copy(words.begin(), words.end(), out.begin());
  return out;
}

FlagsChange::Words CurrentWords(const FlagsChange& change) {
  FlagsChange::Words out{};
  Dispatch(change.kind, change.element, [&out](const auto* element) { out = WordsOf(*element); });
  return out;
}

void WriteFlags(const FlagsChange& change, const FlagsChange::Words& words) {
  Dispatch(change.kind, change.element, [&words](auto* element) {
    std::copy_n(words.begin(), element->words.size(), element->words.begin());
  });
}

template <class Element, class State, class Take>
void KeepState(StoreJournal& journal, Element& element, Take take) {
  if (!journal.Recording()) return;
  const auto [at, fresh] = journal.kept.try_emplace(&element, journal.open.changes.size());
  if (!fresh && (at->second & kKeptFlags) == 0) return;
  try {
    State before = take(element);
    // Kept by its words first: the rest of it has not changed since.
    if constexpr (!std::is_same_v<State, HeaderState>) {
      if (!fresh) {
        const FlagsChange::Words& words = journal.open.flags[at->second & ~kKeptFlags].before;
        std::copy_n(words.begin(), before.words.size(), before.words.begin());
      }
    }
    journal.open.changes.push_back(Change<Element, State>{&element, std::move(before), {}});
    at->second = journal.open.changes.size() - 1;
  } catch (const std::bad_alloc&) {
    if (fresh) journal.kept.erase(at);
  }
}

template <class Element> void KeepWords(StoreJournal& journal, ElementKind kind, Element& element) {
  if (!journal.Recording()) return;
  const auto [at, fresh] =
      journal.kept.try_emplace(&element, journal.open.flags.size() | kKeptFlags);
  if (!fresh) return;
  try {
    journal.open.flags.push_back({&element, kind, WordsOf(element), {}});
  } catch (const std::bad_alloc&) {
    journal.kept.erase(at);
  }
}

// Whether a kept state names the record (as a boundary line or a part member).
bool Names(const JournalChange& change, const std::unordered_set<const void*>& records) {
  return std::visit(
      [&records](const auto& c) {
        bool named = false;
        const auto look = [&](const auto& list) {
          for (const auto* element : list) named = named || records.contains(element);
        };
        using State = std::decay_t<decltype(c.before)>;
        if constexpr (std::is_same_v<State, FillingState>) {
          look(c.before.lines);
          look(c.after.lines);
        } else if constexpr (std::is_same_v<State, PartState>) {
          for (const PartState* s : {&c.before, &c.after}) {
            look(s->lines);
            look(s->fillings);
            look(s->texts);
            look(s->parts);
          }
        }
        return named;
      },
      change);
}

const void* ChangedElement(const JournalChange& change) {
  return std::visit([](const auto& c) { return static_cast<const void*>(c.element); }, change);
}

// Takes every entry of the step that names one of `records` out of it.
void EraseEntriesOf(JournalStep& step, const std::unordered_set<const void*>& records) {
  std::erase_if(step.links,
                [&records](const JournalLink& link) { return records.contains(link.element); });
  std::erase_if(step.changes, [&records](const JournalChange& change) {
    return records.contains(ChangedElement(change));
  });
  std::erase_if(step.flags,
                [&records](const FlagsChange& change) { return records.contains(change.element); });
}

// Records the step both made and deleted (a copy's placed part once its copies are loose, a
// round taken back while it was open) leave nothing to take back: their entries go, and the
// records are handed back for freeing. Nothing goes while another entry still names one.
std::vector<const void*> DropTransient(JournalStep& step) {
  std::unordered_set<const void*> made;
  for (const JournalLink& link : step.links)
    if (link.op == JournalOp::kLink) made.insert(link.element);
  std::unordered_set<const void*> gone;
  for (const JournalLink& link : step.links)
    if (link.op == JournalOp::kUnlink && made.contains(link.element)) gone.insert(link.element);
  if (gone.empty()) return {};
  for (const JournalLink& link : step.links)
    if (!gone.contains(link.element) && gone.contains(link.before)) return {};
  for (const JournalChange& change : step.changes)
    if (!gone.contains(ChangedElement(change)) && Names(change, gone)) return {};
  EraseEntriesOf(step, gone);
  return {gone.begin(), gone.end()};
}

// A step that changed the header (scale, limits, grid) changes how everything is shown: the
// whole window is drawn anew. Any other shows only what it changed.
void ShowMoved(ElementStore& store, const StepRecords& records) {
  if (records.header)
    store.environment().RedrawAll();
  else
    ShowStep(store, records, DrawMode::kNormal);
}

} // namespace

// What the step holds, as allocated, and the entries of the records it keeps off the lists.
std::size_t StepBytes(JournalStep& step) {
  step.links.shrink_to_fit();
  step.changes.shrink_to_fit();
  step.flags.shrink_to_fit();
  std::size_t bytes =
      sizeof(JournalStep) + HeapBytes(step.links) + HeapBytes(step.changes) + HeapBytes(step.flags);
  for (const JournalChange& change : step.changes)
    bytes += std::visit([](const auto& c) { return BytesOf(c.before) + BytesOf(c.after); }, change);
  for (const JournalLink& link : step.links)
    if (link.op == JournalOp::kUnlink) bytes += kRetiredEntryBytes + RecordBytes(link);
  return bytes;
}

void ElementStore::EnableJournal(bool on) {
  ResetJournal();
  journal_.enabled = on;
}

void ElementStore::Keep(LineElement& line) {
  KeepState<LineElement, LineState>(journal_, line, [](auto& e) { return StateOf(e); });
}
void ElementStore::Keep(FillingElement& filling) {
  KeepState<FillingElement, FillingState>(journal_, filling, [](auto& e) { return StateOf(e); });
}
void ElementStore::Keep(TextElement& text) {
  KeepState<TextElement, TextState>(journal_, text, [](auto& e) { return StateOf(e); });
}
void ElementStore::Keep(PartElement& part) {
  if (!Journaled(&part)) return;
  KeepState<PartElement, PartState>(journal_, part, [](auto& e) { return StateOf(e); });
}
void ElementStore::KeepHeader() {
  KeepState<Drawing, HeaderState>(journal_, drawing_, [](auto& d) { return StateOf(d); });
}

void ElementStore::KeepFlags(LineElement& line) {
  KeepWords(journal_, ElementKind::kLine, line);
}
void ElementStore::KeepFlags(FillingElement& filling) {
  KeepWords(journal_, ElementKind::kFilling, filling);
}
void ElementStore::KeepFlags(TextElement& text) {
  KeepWords(journal_, ElementKind::kText, text);
}
void ElementStore::KeepFlags(PartElement& part) {
  if (Journaled(&part)) KeepWords(journal_, ElementKind::kPart, part);
}

void ElementStore::NoteLink(ElementKind kind, void* element, std::uint64_t sequence) {
  if (!journal_.Recording()) return;
  try {
    journal_.open.links.push_back({JournalOp::kLink, kind, element, nullptr, sequence});
  } catch (const std::bad_alloc&) {
    ReportOverflow();
  }
}

// What taking a record off its list does to the indexes, the same whether a delete or the
// journal takes it off.
void ElementStore::TakeOffBookkeeping(ElementKind kind, void* element) {
  switch (kind) {
  case ElementKind::kLine: {
    auto* line = static_cast<LineElement*>(element);
    if (lastLine_ == line) lastLine_ = nullptr;
    lineIndex_.Remove(line);
    return;
  }
  case ElementKind::kFilling: {
    auto* filling = static_cast<FillingElement*>(element);
    if (lastFilling_ == filling) lastFilling_ = nullptr;
    for (std::uint32_t i = 0; i < filling->ls0() && filling->lines != nullptr; ++i) {
      const auto found = bounded_.find(filling->lines[i]);
      if (found == bounded_.end()) continue;
      std::erase(found->second, filling);
      if (found->second.empty()) bounded_.erase(found);
    }
    fillingIndex_.Remove(filling);
    ClearHatch(*filling);
    return;
  }
  case ElementKind::kText: {
    auto* text = static_cast<TextElement*>(element);
    if (lastText_ == text) lastText_ = nullptr;
    textIndex_.Remove(text);
    return;
  }
  case ElementKind::kPart: {
    auto* part = static_cast<PartElement*>(element);
    if (lastPart_ == part) lastPart_ = nullptr;
    ForgetMembers(part);
    liveParts_.erase(part);
    return;
  }
  }
}

void ElementStore::PutBackBookkeeping(ElementKind kind, void* element, std::uint64_t sequence) {
  switch (kind) {
  case ElementKind::kLine: {
    auto* line = static_cast<LineElement*>(element);
    SetZones(*line, LineBox(*line));
    lineIndex_.SetSequence(line, sequence);
    return;
  }
  case ElementKind::kFilling: {
    // Its boundary may still be another state's until the step's states are written back:
    // its zones wait for them (Renew), and only the lines it names are noted here.
    auto* filling = static_cast<FillingElement*>(element);
    if (!NoteBoundaries(*filling)) ReportOverflow();
    fillingIndex_.SetSequence(filling, sequence);
    return;
  }
  case ElementKind::kText: {
    auto* text = static_cast<TextElement*>(element);
    SetZones(*text, env_.TextExtent(*text, true));
    textIndex_.SetSequence(text, sequence);
    return;
  }
  case ElementKind::kPart: {
    auto* part = static_cast<PartElement*>(element);
    try {
      liveParts_.insert(part);
    } catch (const std::bad_alloc&) {
      ReportOverflow();
    }
    const auto note = [this, part](const auto* head) {
      for (; head != nullptr; head = head->next)
        if (head->element != nullptr && !NoteHolder(head->element, part)) ReportOverflow();
    };
    note(part->lines);
    note(part->fillings);
    note(part->texts);
    note(part->parts);
    return;
  }
  }
}

void ElementStore::Retire(LineElement* line, LineElement* before) {
  if (!journal_.Recording()) return FreeLine(line);
  // A record deleted straight away may still be hidden by the command that deleted it: it
  // comes back shown. The rest of it stays in the record.
  KeepFlags(*line);
  const std::uint64_t sequence = lineIndex_.Sequence(line);
  holders_.erase(line);
  bounded_.erase(line);
  TakeOffBookkeeping(ElementKind::kLine, line);
  try {
    journal_.open.links.push_back({JournalOp::kUnlink, ElementKind::kLine, line, before, sequence});
    journal_.retired.emplace(line, ElementKind::kLine);
  } catch (const std::bad_alloc&) {
    ReportOverflow();
  }
}

void ElementStore::Retire(FillingElement* filling, FillingElement* before) {
  if (!journal_.Recording()) return FreeFilling(filling);
  // A record deleted straight away may still be hidden by the command that deleted it: it
  // comes back shown. The rest of it stays in the record.
  KeepFlags(*filling);
  const std::uint64_t sequence = fillingIndex_.Sequence(filling);
  holders_.erase(filling);
  TakeOffBookkeeping(ElementKind::kFilling, filling);
  try {
    journal_.open.links.push_back(
        {JournalOp::kUnlink, ElementKind::kFilling, filling, before, sequence});
    journal_.retired.emplace(filling, ElementKind::kFilling);
  } catch (const std::bad_alloc&) {
    ReportOverflow();
  }
}

void ElementStore::Retire(TextElement* text, TextElement* before) {
  if (!journal_.Recording()) return FreeText(text);
  // A record deleted straight away may still be hidden by the command that deleted it: it
  // comes back shown. The rest of it stays in the record.
  KeepFlags(*text);
  const std::uint64_t sequence = textIndex_.Sequence(text);
  holders_.erase(text);
  TakeOffBookkeeping(ElementKind::kText, text);
  try {
    journal_.open.links.push_back({JournalOp::kUnlink, ElementKind::kText, text, before, sequence});
    journal_.retired.emplace(text, ElementKind::kText);
  } catch (const std::bad_alloc&) {
    ReportOverflow();
  }
}

void ElementStore::Retire(PartElement* part, PartElement* before) {
  if (!journal_.Recording() || !Journaled(part)) return FreePart(part);
  Keep(*part);
  holders_.erase(part);
  TakeOffBookkeeping(ElementKind::kPart, part);
  try {
    journal_.open.links.push_back({JournalOp::kUnlink, ElementKind::kPart, part, before, 0});
    journal_.retired.emplace(part, ElementKind::kPart);
  } catch (const std::bad_alloc&) {
    ReportOverflow();
  }
}

void ElementStore::TakeOff(const JournalLink& link) {
  Dispatch(link.kind, link.element, [&](auto* element) {
    using Element = std::remove_pointer_t<decltype(element)>;
    UnlinkFrom(drawing_, element, static_cast<Element*>(link.before));
  });
  TakeOffBookkeeping(link.kind, link.element);
  journal_.retired.emplace(link.element, link.kind);
}

void ElementStore::PutBack(const JournalLink& link) {
  Dispatch(link.kind, link.element, [&](auto* element) {
    using Element = std::remove_pointer_t<decltype(element)>;
    LinkAfter(drawing_, element, static_cast<Element*>(link.before));
  });
  journal_.retired.erase(link.element);
  PutBackBookkeeping(link.kind, link.element, link.sequence);
}

void ElementStore::FreeRetired(const void* element, ElementKind kind) {
  if (journal_.noteFreed) {
    try {
      journal_.freed.push_back(element);
    } catch (const std::bad_alloc&) {
      journal_.freedLost = true;
    }
  }
  void* record = const_cast<void*>(element);
  switch (kind) {
  case ElementKind::kLine:
    allocator_.Free(record);
    return;
  case ElementKind::kFilling: {
    auto* filling = static_cast<FillingElement*>(record);
    ClearHatch(*filling);
    allocator_.Free(filling->lines);
    allocator_.Free(filling);
    return;
  }
  case ElementKind::kText: {
    auto* text = static_cast<TextElement*>(record);
    allocator_.Free(text->text);
    allocator_.Free(text);
    return;
  }
  case ElementKind::kPart: {
    auto* part = static_cast<PartElement*>(record);
    FreeNodes(part->lines);
    FreeNodes(part->fillings);
    FreeNodes(part->texts);
    FreeNodes(part->parts);
    allocator_.Free(part);
    return;
  }
  }
}

// Gives up steps: the records only they could bring back are freed (those a step deleted, for
// steps done; those it added, for steps undone).
void ElementStore::DropSteps(std::vector<JournalStep>& steps, JournalOp owned) {
  for (JournalStep& step : steps) {
    for (const JournalLink& link : step.links) {
      if (link.op != owned) continue;
      const auto found = journal_.retired.find(link.element);
      if (found == journal_.retired.end()) continue;
      FreeRetired(found->first, found->second);
      journal_.retired.erase(found);
    }
    journal_.bytes -= std::min(journal_.bytes, step.bytes);
  }
  steps.clear();
}

void ElementStore::ResetJournal() {
  for (const auto& [element, kind] : journal_.retired) FreeRetired(element, kind);
  journal_.retired.clear();
  journal_.open = {};
  journal_.kept.clear();
  journal_.done.clear();
  journal_.undone.clear();
  journal_.position = 0;
  journal_.dropped = 0;
  journal_.savedAt = 0;
  journal_.savedReachable = true;
  journal_.bytes = 0;
  journal_.budgetTold = false;
  ++journal_.resets;
}

void ElementStore::KeepBudget() {
  if (journal_.bytes <= journal_.budget || journal_.done.size() <= 1) return;
  std::size_t drop = 0;
  std::size_t bytes = journal_.bytes;
  while (drop + 1 < journal_.done.size() && bytes > journal_.budget)
    bytes -= std::min(bytes, journal_.done[drop++].bytes);
  std::vector<JournalStep> oldest(std::make_move_iterator(journal_.done.begin()),
                                  std::make_move_iterator(journal_.done.begin() + drop));
  journal_.done.erase(journal_.done.begin(), journal_.done.begin() + drop);
  DropSteps(oldest, JournalOp::kUnlink);
  journal_.dropped += drop;
  if (journal_.savedAt < journal_.dropped) journal_.savedReachable = false;
  if (!journal_.budgetTold) {
    journal_.budgetTold = true;
    env_.ShowError(kBudgetNotice);
  }
}

void ElementStore::ForgetInOpenStep(const std::unordered_set<const void*>& records) {
  JournalStep& step = journal_.open;
  EraseEntriesOf(step, records);
  // What is kept moved along in its lists: found again where it now is, a change over flags.
  journal_.kept.clear();
  for (std::size_t k = 0; k < step.flags.size(); ++k)
    journal_.kept[step.flags[k].element] = k | kKeptFlags;
  for (std::size_t k = 0; k < step.changes.size(); ++k)
    journal_.kept[ChangedElement(step.changes[k])] = k;
}

bool ElementStore::CommitStep() {
  StoreJournal& j = journal_;
  if (!j.enabled || j.held) return false;
  if (j.suspended) {
    // What was read is where the history begins.
    j.suspended = false;
    j.open = {};
    j.kept.clear();
    return false;
  }
  JournalStep& step = j.open;
  // A record the step deleted is off every list when the step is done again: only how it was
  // before counts.
  std::erase_if(step.changes, [this](JournalChange& change) {
    return std::visit(
        [this](auto& c) {
          if (Retired(c.element)) return false;
          c.after = StateOf(*c.element);
          return c.after == c.before;
        },
        change);
  });
  std::erase_if(step.flags, [this](FlagsChange& change) {
    if (Retired(change.element)) return false;
    change.after = CurrentWords(change);
    return change.after == change.before;
  });
  j.kept.clear();
  for (const void* record : DropTransient(step)) {
    const auto found = j.retired.find(record);
    if (found == j.retired.end()) continue;
    FreeRetired(found->first, found->second);
    j.retired.erase(found);
  }
  const std::size_t bytes = StepBytes(step);
  const bool changed = !step.Empty();
  if (changed) {
    // A new change after steps were taken back: they can no longer be done again.
    if (j.savedAt > j.position) j.savedReachable = false;
    DropSteps(j.undone, JournalOp::kLink);
    if (!step.named) step.kind = KindOf(step);
    step.bytes = bytes;
    j.bytes += bytes;
    try {
      j.done.push_back(std::move(step));
      ++j.position;
    } catch (const std::bad_alloc&) {
      ReportOverflow();
    }
    KeepBudget();
    // Whatever the command counted, a step is a change to save.
    if (drawing_.changes == 0) drawing_.changes = 1;
  }
  j.open = {};
  if (drawing_.changes == 0) {
    j.savedAt = j.position;
    j.savedReachable = true;
  }
  return changed;
}

void ElementStore::Apply(LineElement& line, const LineState& state) {
  WriteWords(line, state.words);
  std::copy(state.points.begin(), state.points.end(), line.points);
}

void ElementStore::Apply(FillingElement& filling, const FillingState& state) {
  const bool live = !Retired(&filling);
  const auto forget = [this, &filling]() {
    for (std::uint32_t i = 0; i < filling.ls0() && filling.lines != nullptr; ++i) {
      const auto found = bounded_.find(filling.lines[i]);
      if (found == bounded_.end()) continue;
      std::erase(found->second, &filling);
      if (found->second.empty()) bounded_.erase(found);
    }
  };
  if (live) forget();
  if (state.lines.size() != filling.ls0()) {
    void* block = Allocate(sizeof(LineElement*) * std::max<std::size_t>(state.lines.size(), 1));
    if (block == nullptr) {
      ReportOverflow();
      return;
    }
    allocator_.Free(filling.lines);
    filling.lines = static_cast<LineElement**>(block);
    filling.lines[0] = nullptr;
  }
  WriteWords(filling, state.words);
  std::copy(state.lines.begin(), state.lines.end(), filling.lines);
  ClearHatch(filling);
  if (live && !NoteBoundaries(filling)) ReportOverflow();
}

void ElementStore::Apply(TextElement& text, const TextState& state) {
  WriteWords(text, state.words);
  std::copy(state.points.begin(), state.points.end(), text.points);
  if (text.text != nullptr && state.text == text.text) return;
  void* chars = Allocate(state.text.size() + 1);
  if (chars == nullptr) {
    ReportOverflow();
    return;
  }
  std::memcpy(chars, state.text.c_str(), state.text.size() + 1);
  allocator_.Free(text.text);
  text.text = static_cast<char*>(chars);
}

void ElementStore::Apply(PartElement& part, const PartState& state) {
  const bool live = liveParts_.contains(&part);
  const auto rebuild = [this, &part, live](auto& head, const auto& members) {
    for (auto* node = head; node != nullptr && live; node = node->next)
      if (node->element != nullptr) ForgetHolder(node->element, &part, 1);
    FreeNodes(head);
    for (auto it = members.rbegin(); it != members.rend(); ++it) {
      if (PushNode(head, *it) != nullptr && live && *it != nullptr && !NoteHolder(*it, &part))
        ReportOverflow();
    }
  };
  std::memcpy(part.name, state.name.data(), state.name.size());
  WriteWords(part, state.words);
  part.location = state.location;
  part.box = state.box;
  rebuild(part.lines, state.lines);
  rebuild(part.fillings, state.fillings);
  rebuild(part.texts, state.texts);
  rebuild(part.parts, state.parts);
}

void ElementStore::Apply(Drawing& drawing, const HeaderState& state) {
  drawing.scale = state.scale;
  drawing.paperUnit = state.paperUnit;
  drawing.unitsChosen = state.unitsChosen;
  drawing.step = state.step;
  drawing.limits = state.limits;
}

// Whole states first: a record kept by its words and then whole has both, and its whole state
// must meet the counts its arrays were made for (a filling's boundary count sizes its lines).
// Its words are then written again, the same.
void ElementStore::ApplyStates(const JournalStep& step, bool after) {
  for (auto it = step.changes.rbegin(); it != step.changes.rend(); ++it) {
    std::visit(
        [this, after](const auto& c) {
          if (!after || !Retired(c.element)) Apply(*c.element, after ? c.after : c.before);
        },
        *it);
  }
  for (auto it = step.flags.rbegin(); it != step.flags.rend(); ++it)
    if (!after || !Retired(it->element)) WriteFlags(*it, after ? it->after : it->before);
}

// Zone masks, index boxes and hatches of what the step touched, and of the fillings its lines
// bound.
void ElementStore::Renew(const JournalStep& step) {
  const StepRecords records = RecordsOf(step);
  std::vector<FillingElement*> fillings;
  for (LineElement* line : records.lines) {
    if (Retired(line)) continue;
    SetZones(*line, LineBox(*line));
    const auto found = bounded_.find(line);
    if (found != bounded_.end())
      fillings.insert(fillings.end(), found->second.begin(), found->second.end());
  }
  for (TextElement* text : records.texts)
    if (!Retired(text)) SetZones(*text, env_.TextExtent(*text, true));
  for (PartElement* part : records.parts)
    if (liveParts_.contains(part)) SetZones(*part, part->box);
  fillings.insert(fillings.end(), records.fillings.begin(), records.fillings.end());
  std::sort(fillings.begin(), fillings.end());
  fillings.erase(std::unique(fillings.begin(), fillings.end()), fillings.end());
  for (FillingElement* filling : fillings) {
    if (Retired(filling)) continue;
    ClearHatch(*filling);
    SetZones(*filling, FillingBox(*filling));
  }
  if (records.header) {
    RecomputeZones();
    for (FillingElement* filling : Each(drawing_.fillings)) ClearHatch(*filling);
  }
}

// The zones of the fillings a move put back, once their boundaries are the step's again.
void ElementStore::PlacePutBackFillings(const JournalStep& step, JournalOp putBack) {
  for (const JournalLink& link : step.links) {
    if (link.op != putBack || link.kind != ElementKind::kFilling || Retired(link.element)) continue;
    auto* filling = static_cast<FillingElement*>(link.element);
    SetZones(*filling, FillingBox(*filling));
    fillingIndex_.SetSequence(filling, link.sequence);
  }
}

void ElementStore::AfterMove() {
  StoreJournal& j = journal_;
  const bool saved = j.savedReachable && j.position == j.savedAt;
  drawing_.changes = saved ? 0 : std::max<std::uint32_t>(drawing_.changes, 1);
}

bool ElementStore::Undo(StepKind& kind) {
  StoreJournal& j = journal_;
  // What is still open is a step of its own first: nothing may be taken back from under it.
  j.held = false;
  CommitStep();
  if (j.done.empty()) return false;
  ClearSelections();
  JournalStep step = std::move(j.done.back());
  j.done.pop_back();
  const StepRecords records = RecordsOf(step);
  if (!records.header) ShowStep(*this, records, DrawMode::kErase);
  for (auto it = step.links.rbegin(); it != step.links.rend(); ++it) {
    if (it->op == JournalOp::kLink)
      TakeOff(*it);
    else
      PutBack(*it);
  }
  ApplyStates(step, false);
  PlacePutBackFillings(step, JournalOp::kUnlink);
  Renew(step);
  kind = step.kind;
  --j.position;
  AfterMove();
  ShowMoved(*this, records);
  j.undone.push_back(std::move(step));
  return true;
}

bool ElementStore::Redo(StepKind& kind) {
  StoreJournal& j = journal_;
  j.held = false;
  CommitStep();
  if (j.undone.empty()) return false;
  ClearSelections();
  JournalStep step = std::move(j.undone.back());
  j.undone.pop_back();
  const StepRecords records = RecordsOf(step);
  if (!records.header) ShowStep(*this, records, DrawMode::kErase);
  for (const JournalLink& link : step.links) {
    if (link.op == JournalOp::kLink)
      PutBack({link.op, link.kind, link.element, nullptr, link.sequence});
    else
      TakeOff(link);
  }
  ApplyStates(step, true);
  PlacePutBackFillings(step, JournalOp::kLink);
  Renew(step);
  kind = step.kind;
  ++j.position;
  AfterMove();
  ShowMoved(*this, records);
  j.done.push_back(std::move(step));
  return true;
}

namespace {

template <class Element>
void CheckOrder(const Element* head, const SpatialIndex<Element>& index, const char* what,
                std::ostringstream& out) {
  std::uint64_t previous = 0;
  std::size_t count = 0;
  for (const Element* e = head; e != nullptr; e = e->next, ++count) {
    const std::uint64_t sequence = index.Sequence(e);
    if (sequence == 0) {
      out << what << " not indexed; ";
      return;
    }
    if (previous != 0 && sequence >= previous) {
      out << what << " out of index order; ";
      return;
    }
    previous = sequence;
  }
  if (count != index.size())
    out << what << " index holds " << index.size() << " of " << count << "; ";
}

} // namespace

std::string ElementStore::CheckSoundness() const {
  std::ostringstream out;
  CheckOrder(drawing_.lines, lineIndex_, "lines", out);
  CheckOrder(drawing_.fillings, fillingIndex_, "fillings", out);
  CheckOrder(drawing_.texts, textIndex_, "texts", out);
  std::size_t parts = 0;
  std::map<std::pair<const void*, const PartElement*>, int> held;
  for (const PartElement* p = drawing_.parts; p != nullptr; p = p->next, ++parts) {
    if (!liveParts_.contains(p)) out << "part not alive; ";
    const auto count = [&held, p](const auto* node) {
      for (; node != nullptr; node = node->next)
        if (node->element != nullptr) ++held[{node->element, p}];
    };
    count(p->lines);
    count(p->fillings);
    count(p->texts);
    count(p->parts);
  }
  if (parts != liveParts_.size())
    out << "alive parts " << liveParts_.size() << " of " << parts << "; ";
  std::size_t holderEntries = 0;
  for (const auto& [element, holders] : holders_) {
    for (const PartElement* part : holders) {
      ++holderEntries;
      const auto found = held.find({element, part});
      if (found == held.end() || found->second == 0) {
        out << "holder entry without a member node; ";
        break;
      }
      --found->second;
    }
  }
  for (const auto& [key, left] : held)
    if (left != 0) out << "member node without a holder entry; ";
  std::size_t boundaries = 0;
  for (const FillingElement* f = drawing_.fillings; f != nullptr; f = f->next) {
    std::unordered_set<const LineElement*> lines;
    for (std::uint32_t i = 0; i < f->ls0(); ++i) {
      const LineElement* line = f->lines[i];
      if (line == nullptr || !lines.insert(line).second) continue;
      ++boundaries;
      const auto found = bounded_.find(line);
      if (found == bounded_.end() ||
          std::find(found->second.begin(), found->second.end(), f) == found->second.end())
        out << "boundary line without its entry; ";
      if (Retired(line)) out << "filling bounded by a deleted line; ";
    }
  }
  std::size_t entries = 0;
  for (const auto& [line, fillings] : bounded_) entries += fillings.size();
  if (entries != boundaries) out << "boundary entries " << entries << " of " << boundaries << "; ";
  (void)holderEntries;
  return out.str();
}

} // namespace lumora
