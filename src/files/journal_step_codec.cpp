#include "files/journal_step_codec.h"

#include "model/element_store.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>
#include <type_traits>

namespace lumora {

namespace {

constexpr std::uint8_t kFormat = 1;
enum class RecordType : std::uint8_t { kStep = 1, kUndo = 2, kRedo = 3 };
enum class ChangeTag : std::uint8_t { kLine = 1, kFilling = 2, kText = 3, kPart = 4, kHeader = 5 };
constexpr std::uint32_t kNoRecord = 0xFFFFFFFFu;
constexpr std::uint8_t kLastStepKind = static_cast<std::uint8_t>(StepKind::kAddDrawing);

std::size_t KindIndex(ElementKind kind) {
  return static_cast<std::size_t>(kind) - 1;
}

class Out {
public:
  void U8(std::uint8_t v) { bytes.push_back(static_cast<std::byte>(v)); }
  void U32(std::uint32_t v) {
    for (int k = 0; k < 4; ++k) U8(static_cast<std::uint8_t>(v >> (8 * k)));
  }
  void F64(double v) {
    const auto bits = std::bit_cast<std::uint64_t>(v);
    U32(static_cast<std::uint32_t>(bits));
    U32(static_cast<std::uint32_t>(bits >> 32));
  }
  void Point2(const Point& p) {
    F64(p.x);
    F64(p.y);
  }
  template <std::size_t N> void Words(const std::array<std::uint32_t, N>& words) {
    for (std::uint32_t w : words) U32(w);
  }
  std::vector<std::byte> bytes;
};

// Reads what Out wrote; every read is bounded by what is left, and a count is never trusted
// for more items than the bytes left could hold.
class In {
public:
  explicit In(std::span<const std::byte> bytes) : bytes_(bytes) {}
  bool U8(std::uint8_t& v) {
    if (at_ >= bytes_.size()) return false;
    v = static_cast<std::uint8_t>(bytes_[at_++]);
    return true;
  }
  bool U32(std::uint32_t& v) {
    if (bytes_.size() - at_ < 4) return false;
    v = 0;
    for (int k = 0; k < 4; ++k)
      v |= std::uint32_t(static_cast<std::uint8_t>(bytes_[at_++])) << (8 * k);
    return true;
  }
  bool F64(double& v) {
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    if (!U32(low) || !U32(high)) return false;
    v = std::bit_cast<double>((std::uint64_t{high} << 32) | low);
    return true;
  }
  bool Point2(Point& p) { return F64(p.x) && F64(p.y); }
  template <std::size_t N> bool Words(std::array<std::uint32_t, N>& words) {
    for (std::uint32_t& w : words)
      if (!U32(w)) return false;
    return true;
  }
  bool Count(std::size_t itemBytes, std::size_t& count) {
    std::uint32_t n = 0;
    if (!U32(n) || n > (bytes_.size() - at_) / itemBytes) return false;
    count = n;
    return true;
  }
  bool Bytes(char* out, std::size_t n) {
    if (bytes_.size() - at_ < n) return false;
    std::memcpy(out, bytes_.data() + at_, n);
    at_ += n;
    return true;
  }
  bool Done() const { return at_ == bytes_.size(); }

private:
  std::span<const std::byte> bytes_;
  std::size_t at_ = 0;
};

template <class Element> constexpr ElementKind KindOf() {
  if constexpr (std::is_same_v<Element, LineElement>) return ElementKind::kLine;
  if constexpr (std::is_same_v<Element, FillingElement>) return ElementKind::kFilling;
  if constexpr (std::is_same_v<Element, TextElement>) return ElementKind::kText;
  return ElementKind::kPart;
}

} // namespace

// ---- Names ----

void JournalStepCodec::Begin(ElementStore& store) {
  names_.clear();
  for (auto& list : records_) list.clear();
  logged_ = 0;
  loggedUndone_ = 0;
  store.NoteFreedRecords(true);
  const Drawing& d = store.drawing();
  const auto name = [this](const auto* head) {
    for (const auto* record = head; record != nullptr; record = record->next)
      Rename(record, KindOf<std::remove_cvref_t<decltype(*record)>>());
  };
  name(d.lines);
  name(d.fillings);
  name(d.texts);
  name(d.parts);
}

void JournalStepCodec::Checkpointed(ElementStore& store) {
  Begin(store);
}

void JournalStepCodec::Rename(const void* record, ElementKind kind) {
  const auto found = names_.find(record);
  if (found != names_.end())
    records_[KindIndex(found->second.kind)][found->second.number] = nullptr;
  auto& list = records_[KindIndex(kind)];
  names_[record] = Name{kind, static_cast<std::uint32_t>(list.size())};
  list.push_back(const_cast<void*>(record));
}

// Records the store has freed are no longer anyone's: their numbers name nothing from now on.
void JournalStepCodec::Forget(ElementStore& store) {
  for (const void* record : store.TakeFreedRecords()) {
    const auto found = names_.find(record);
    if (found == names_.end()) continue;
    records_[KindIndex(found->second.kind)][found->second.number] = nullptr;
    names_.erase(found);
  }
}

namespace {

// ---- Writing a step ----

class StepWriter {
public:
  StepWriter(const std::unordered_map<const void*, JournalStepCodec::Name>& names, Out& out)
      : names_(names), out_(out) {}

  void Ref(const void* record, ElementKind kind) {
    if (record == nullptr) return out_.U32(kNoRecord);
    const auto found = names_.find(record);
    if (found == names_.end() || found->second.kind != kind) {
      ok = false;
      return out_.U32(kNoRecord);
    }
    out_.U32(found->second.number);
  }
  template <class Element> void Refs(const std::vector<Element*>& list) {
    out_.U32(static_cast<std::uint32_t>(list.size()));
    for (const Element* e : list) Ref(e, KindOf<Element>());
  }
  void State(const LineState& s) {
    out_.Words(s.words);
    out_.U32(static_cast<std::uint32_t>(s.points.size()));
    for (const Point& p : s.points) out_.Point2(p);
  }
  void State(const FillingState& s) {
    out_.Words(s.words);
    Refs(s.lines);
  }
  void State(const TextState& s) {
    out_.Words(s.words);
    out_.U32(static_cast<std::uint32_t>(s.points.size()));
    for (const Point& p : s.points) out_.Point2(p);
    out_.U32(static_cast<std::uint32_t>(s.text.size()));
    for (char c : s.text) out_.U8(static_cast<std::uint8_t>(c));
  }
  void State(const PartState& s) {
    for (char c : s.name) out_.U8(static_cast<std::uint8_t>(c));
    out_.Words(s.words);
    out_.Point2(s.location);
    out_.F64(s.box.xmin);
    out_.F64(s.box.ymin);
    out_.F64(s.box.xmax);
    out_.F64(s.box.ymax);
    Refs(s.lines);
    Refs(s.fillings);
    Refs(s.texts);
    Refs(s.parts);
  }
  void State(const HeaderState& s) {
    out_.F64(s.scale);
    out_.F64(s.paperUnit);
    out_.U32(s.unitsChosen);
    out_.F64(s.step);
    out_.F64(s.limits.xmin);
    out_.F64(s.limits.ymin);
    out_.F64(s.limits.xmax);
    out_.F64(s.limits.ymax);
  }

  bool ok = true;

private:
  const std::unordered_map<const void*, JournalStepCodec::Name>& names_;
  Out& out_;
};

// A record the step brings in, as its memory holds it now (the hidden flag included).
RecordState ContentOf(ElementKind kind, const void* record) {
  switch (kind) {
  case ElementKind::kLine: {
    const auto& e = *static_cast<const LineElement*>(record);
    LineState s = StateOf(e);
    s.words = e.words;
    return s;
  }
  case ElementKind::kFilling: {
    const auto& e = *static_cast<const FillingElement*>(record);
    FillingState s = StateOf(e);
    s.words = e.words;
    return s;
  }
  case ElementKind::kText: {
    const auto& e = *static_cast<const TextElement*>(record);
    TextState s = StateOf(e);
    s.words = e.words;
    return s;
  }
  case ElementKind::kPart:
    break;
  }
  const auto& e = *static_cast<const PartElement*>(record);
  PartState s = StateOf(e);
  s.words = e.words;
  return s;
}

std::size_t RoomOf(const RecordState& content) {
  return std::visit(
      [](const auto& s) -> std::size_t {
        using State = std::decay_t<decltype(s)>;
        if constexpr (std::is_same_v<State, LineState> || std::is_same_v<State, TextState>)
          return s.points.size();
        else if constexpr (std::is_same_v<State, FillingState>)
          return s.lines.size();
        else
          return 0;
      },
      content);
}

ChangeTag TagOf(const JournalChange& change) {
  return std::visit(
      [](const auto& c) {
        using State = std::decay_t<decltype(c.before)>;
        if constexpr (std::is_same_v<State, LineState>) return ChangeTag::kLine;
        if constexpr (std::is_same_v<State, FillingState>) return ChangeTag::kFilling;
        if constexpr (std::is_same_v<State, TextState>) return ChangeTag::kText;
        if constexpr (std::is_same_v<State, PartState>) return ChangeTag::kPart;
        return ChangeTag::kHeader;
      },
      change);
}

} // namespace

std::vector<std::byte> JournalStepCodec::Encode(ElementStore& store) {
  Forget(store);
  const StoreJournal& journal = store.Journal();
  if (journal.done.empty()) return {};
  const JournalStep& step = journal.done.back();
  // A step committed here is on top of what the log holds; the moves it cut off are gone.
  ++logged_;
  loggedUndone_ = 0;

  // Records the step put on its lists are new to the log (unless put back by an earlier
  // entry of the same step): numbered in the order they came.
  std::vector<std::pair<ElementKind, const void*>> fresh;
  std::unordered_map<const void*, bool> seen;
  for (const JournalLink& link : step.links) {
    if (!seen.emplace(link.element, true).second) continue;
    if (link.op != JournalOp::kLink) continue;
    Rename(link.element, link.kind);
    fresh.emplace_back(link.kind, link.element);
  }
  Out out;
  StepWriter w(names_, out);
  out.U8(kFormat);
  out.U8(static_cast<std::uint8_t>(RecordType::kStep));
  out.U8(static_cast<std::uint8_t>(step.kind));
  out.U8(step.named ? 1 : 0);
  out.U32(static_cast<std::uint32_t>(fresh.size()));
  std::vector<RecordState> contents;
  contents.reserve(fresh.size());
  for (const auto& [kind, record] : fresh) {
    contents.push_back(ContentOf(kind, record));
    out.U8(static_cast<std::uint8_t>(kind));
    w.Ref(record, kind);
    out.U32(static_cast<std::uint32_t>(RoomOf(contents.back())));
  }
  for (const RecordState& content : contents)
    std::visit([&w](const auto& s) { w.State(s); }, content);
  out.U32(static_cast<std::uint32_t>(step.links.size()));
  for (const JournalLink& link : step.links) {
    out.U8(static_cast<std::uint8_t>(link.op));
    out.U8(static_cast<std::uint8_t>(link.kind));
    w.Ref(link.element, link.kind);
    w.Ref(link.before, link.kind);
  }
  out.U32(static_cast<std::uint32_t>(step.changes.size()));
  for (const JournalChange& change : step.changes) {
    const ChangeTag tag = TagOf(change);
    out.U8(static_cast<std::uint8_t>(tag));
    std::visit(
        [&](const auto& c) {
          if (tag != ChangeTag::kHeader) w.Ref(c.element, static_cast<ElementKind>(tag));
          w.State(c.before);
          w.State(c.after);
        },
        change);
  }
  out.U32(static_cast<std::uint32_t>(step.flags.size()));
  for (const FlagsChange& change : step.flags) {
    out.U8(static_cast<std::uint8_t>(change.kind));
    w.Ref(change.element, change.kind);
    out.Words(change.before);
    out.Words(change.after);
  }
  if (!w.ok) return {};
  return std::move(out.bytes);
}

std::vector<std::byte> JournalStepCodec::EncodeMove(ElementStore& store, bool undo) {
  Forget(store);
  Out out;
  out.U8(kFormat);
  if (undo) {
    if (logged_ == 0) return {};
    --logged_;
    ++loggedUndone_;
    out.U8(static_cast<std::uint8_t>(RecordType::kUndo));
    return std::move(out.bytes);
  }
  if (loggedUndone_ == 0) {
    // The step redone is not in the log: it goes in as a step of its own, which is what the
    // rebuilt drawing's history then holds on top, as here.
    return Encode(store);
  }
  --loggedUndone_;
  ++logged_;
  out.U8(static_cast<std::uint8_t>(RecordType::kRedo));
  return std::move(out.bytes);
}

namespace {

// ---- Reading a step ----

class StepReader {
public:
  StepReader(In& in, const std::array<std::vector<void*>, 4>& records,
             const std::unordered_map<std::uint64_t, void*>& fresh)
      : in_(in), records_(records), fresh_(fresh) {}

  template <class Element> bool Ref(Element*& out, bool nullable) {
    std::uint32_t number = 0;
    if (!in_.U32(number)) return false;
    out = nullptr;
    if (number == kNoRecord) return nullable;
    void* record = Find(KindOf<Element>(), number);
    out = static_cast<Element*>(record);
    return record != nullptr;
  }
  void* Find(ElementKind kind, std::uint32_t number) const {
    const auto& list = records_[KindIndex(kind)];
    if (number < list.size() && list[number] != nullptr) return list[number];
    const auto found = fresh_.find(Key(kind, number));
    return found != fresh_.end() ? found->second : nullptr;
  }
  static std::uint64_t Key(ElementKind kind, std::uint32_t number) {
    return (std::uint64_t{KindIndex(kind)} << 32) | number;
  }
  template <class Element> bool Refs(std::vector<Element*>& list, bool nullable) {
    std::size_t n = 0;
    if (!in_.Count(4, n)) return false;
    list.resize(n);
    for (Element*& e : list)
      if (!Ref(e, nullable)) return false;
    return true;
  }
  bool Points(std::vector<Point>& points) {
    std::size_t n = 0;
    if (!in_.Count(16, n)) return false;
    points.resize(n);
    for (Point& p : points)
      if (!in_.Point2(p)) return false;
    return true;
  }
  bool State(LineState& s) { return in_.Words(s.words) && Points(s.points); }
  bool State(FillingState& s) { return in_.Words(s.words) && Refs(s.lines, true); }
  bool State(TextState& s) {
    std::size_t n = 0;
    if (!in_.Words(s.words) || !Points(s.points) || !in_.Count(1, n)) return false;
    s.text.resize(n);
    return in_.Bytes(s.text.data(), n);
  }
  bool State(PartState& s) {
    return in_.Bytes(s.name.data(), s.name.size()) && in_.Words(s.words) &&
           in_.Point2(s.location) && in_.F64(s.box.xmin) && in_.F64(s.box.ymin) &&
           in_.F64(s.box.xmax) && in_.F64(s.box.ymax) && Refs(s.lines, false) &&
           Refs(s.fillings, false) && Refs(s.texts, false) && Refs(s.parts, false);
  }
  bool State(HeaderState& s) {
    return in_.F64(s.scale) && in_.F64(s.paperUnit) && in_.U32(s.unitsChosen) && in_.F64(s.step) &&
           in_.F64(s.limits.xmin) && in_.F64(s.limits.ymin) && in_.F64(s.limits.xmax) &&
           in_.F64(s.limits.ymax);
  }
  template <class Element, class St> bool ReadChange(JournalChange& change, Drawing* header) {
    Change<Element, St> c;
    if constexpr (std::is_same_v<Element, Drawing>)
      c.element = header;
    else if (!Ref(c.element, false))
      return false;
    if (!State(c.before) || !State(c.after)) return false;
    change = std::move(c);
    return true;
  }

private:
  In& in_;
  const std::array<std::vector<void*>, 4>& records_;
  const std::unordered_map<std::uint64_t, void*>& fresh_;
};

bool ReadKind(In& in, ElementKind& kind) {
  std::uint8_t k = 0;
  if (!in.U8(k) || k < 1 || k > 4) return false;
  kind = static_cast<ElementKind>(k);
  return true;
}

RecordState EmptyState(ElementKind kind) {
  switch (kind) {
  case ElementKind::kLine:
    return LineState{};
  case ElementKind::kFilling:
    return FillingState{};
  case ElementKind::kText:
    return TextState{};
  case ElementKind::kPart:
    break;
  }
  return PartState{};
}

} // namespace

bool JournalStepCodec::Apply(ElementStore& store, std::span<const std::byte> bytes) {
  Forget(store);
  In in(bytes);
  std::uint8_t format = 0;
  std::uint8_t type = 0;
  if (!in.U8(format) || format != kFormat || !in.U8(type)) return false;
  if (type == static_cast<std::uint8_t>(RecordType::kUndo) ||
      type == static_cast<std::uint8_t>(RecordType::kRedo)) {
    const bool undo = type == static_cast<std::uint8_t>(RecordType::kUndo);
    if (!in.Done() || (undo ? !store.CanUndo() : !store.CanRedo())) return false;
    StepKind kind = StepKind::kChange;
    const bool moved = undo ? store.Undo(kind) : store.Redo(kind);
    if (moved) {
      logged_ = undo ? logged_ - std::min<std::size_t>(logged_, 1) : logged_ + 1;
      loggedUndone_ =
          undo ? loggedUndone_ + 1 : loggedUndone_ - std::min<std::size_t>(loggedUndone_, 1);
    }
    Forget(store);
    return moved;
  }
  if (type != static_cast<std::uint8_t>(RecordType::kStep)) return false;

  JournalStep step;
  std::uint8_t kind = 0;
  std::uint8_t named = 0;
  std::size_t freshCount = 0;
  if (!in.U8(kind) || kind > kLastStepKind || !in.U8(named) || named > 1 ||
      !in.Count(9, freshCount))
    return false;
  step.kind = static_cast<StepKind>(kind);
  step.named = named != 0;

  std::vector<LoggedRecord> fresh;
  std::unordered_map<std::uint64_t, void*> freshByName;
  std::array<std::uint32_t, 4> nextNumber{};
  for (std::size_t k = 0; k < nextNumber.size(); ++k)
    nextNumber[k] = static_cast<std::uint32_t>(records_[k].size());
  bool ok = true;
  const auto giveUp = [&]() {
    for (LoggedRecord& r : fresh) store.FreeLoggedRecord(r.kind, r.record);
    return false;
  };
  for (std::size_t k = 0; k < freshCount && ok; ++k) {
    ElementKind recordKind{};
    std::uint32_t number = 0;
    std::uint32_t room = 0;
    // A new record takes the next number of its kind, as it did where it was logged.
    ok = ReadKind(in, recordKind) && in.U32(number) && in.U32(room) &&
         number == nextNumber[KindIndex(recordKind)]++;
    if (!ok) break;
    void* record = store.NewLoggedRecord(recordKind, room);
    if (record == nullptr) {
      ok = false;
      break;
    }
    fresh.push_back({recordKind, record, EmptyState(recordKind)});
    freshByName[StepReader::Key(recordKind, number)] = record;
  }
  if (!ok) return giveUp();
  StepReader r(in, records_, freshByName);
  for (LoggedRecord& f : fresh) {
    ok = std::visit([&r](auto& s) { return r.State(s); }, f.content);
    if (!ok) return giveUp();
  }
  std::size_t links = 0;
  if (!in.Count(10, links)) return giveUp();
  step.links.resize(links);
  for (JournalLink& link : step.links) {
    std::uint8_t op = 0;
    std::uint32_t number = 0;
    std::uint32_t before = 0;
    if (!in.U8(op) || op > 1 || !ReadKind(in, link.kind) || !in.U32(number) || !in.U32(before))
      return giveUp();
    link.op = static_cast<JournalOp>(op);
    link.element = r.Find(link.kind, number);
    link.before = before == kNoRecord ? nullptr : r.Find(link.kind, before);
    if (link.element == nullptr || (before != kNoRecord && link.before == nullptr)) return giveUp();
  }
  std::size_t changes = 0;
  if (!in.Count(1, changes)) return giveUp();
  step.changes.resize(changes);
  for (JournalChange& change : step.changes) {
    std::uint8_t tag = 0;
    if (!in.U8(tag)) return giveUp();
    Drawing* header = &store.drawing();
    switch (static_cast<ChangeTag>(tag)) {
    case ChangeTag::kLine:
      ok = r.ReadChange<LineElement, LineState>(change, header);
      break;
    case ChangeTag::kFilling:
      ok = r.ReadChange<FillingElement, FillingState>(change, header);
      break;
    case ChangeTag::kText:
      ok = r.ReadChange<TextElement, TextState>(change, header);
      break;
    case ChangeTag::kPart:
      ok = r.ReadChange<PartElement, PartState>(change, header);
      break;
    case ChangeTag::kHeader:
      ok = r.ReadChange<Drawing, HeaderState>(change, header);
      break;
    default:
      ok = false;
    }
    if (!ok) return giveUp();
  }
  std::size_t flags = 0;
  if (!in.Count(45, flags)) return giveUp();
  step.flags.resize(flags);
  for (FlagsChange& change : step.flags) {
    std::uint32_t number = 0;
    if (!ReadKind(in, change.kind) || !in.U32(number) || !in.Words(change.before) ||
        !in.Words(change.after))
      return giveUp();
    change.element = r.Find(change.kind, number);
    if (change.element == nullptr) return giveUp();
  }
  if (!in.Done()) return giveUp();

  std::vector<std::pair<ElementKind, const void*>> freshNames;
  freshNames.reserve(fresh.size());
  for (const LoggedRecord& f : fresh) freshNames.emplace_back(f.kind, f.record);
  if (!store.DoLoggedStep(std::move(step), fresh)) return false;
  for (const auto& [recordKind, record] : freshNames) Rename(record, recordKind);
  ++logged_;
  loggedUndone_ = 0;
  Forget(store);
  return true;
}

} // namespace lumora
