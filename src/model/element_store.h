// The element store: creates, links, unlinks and frees the records of the drawing, keeps part
// membership and filling boundaries consistent, keeps the selection and presentation lists,
// and finds the text or part under a point.
//
// Every record lives in the store's allocator and is reachable from the drawing's lists; the
// store frees whatever is left when it is destroyed. Failed allocations show
// "Memory overflow !" and add nothing; so do points that are not finite numbers, with their
// own message.
//
// Deletes find the parts holding an element and the fillings a line bounds through indexes,
// never by scanning the drawing, and walk part nesting without recursion.
#pragma once

#include "model/drawing.h"
#include "model/painter.h"
#include "model/property_set.h"
#include "model/spatial_index.h"
#include "model/store_allocator.h"
#include "model/store_environment.h"
#include "model/store_journal.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace lumora {

// Longest text string a text element keeps.
inline constexpr std::size_t kMaxTextLength = 32767;
// Most points a line or boundary lines a filling can hold (the count fields are 16 bits).
inline constexpr int kMaxLinePoints = 0xFFFF;
inline constexpr int kMaxFillingLines = 0xFFFF;
// Most points a text element can hold (the count field is 3 bits).
inline constexpr int kMaxTextPoints = 7;

class ElementStore {
public:
  ElementStore(Drawing& drawing, StoreEnvironment& env, Painter& painter);
  ElementStore(Drawing& drawing, StoreEnvironment& env, Painter& painter,
               StoreAllocator& allocator);
  ~ElementStore();
  ElementStore(const ElementStore&) = delete;
  ElementStore& operator=(const ElementStore&) = delete;

  Drawing& drawing() { return drawing_; }
  // What the store tells the rest of the program; a store built aside tells it the same.
  StoreEnvironment& environment() { return env_; }
  // The one way elements reach the screen: what the store selects, unselects and takes away is
  // drawn through it, and so is what the commands and readers make and change.
  Painter& painter() { return painter_; }
  // Where records take their memory; a text's string is replaced through it.
  StoreAllocator& allocator() { return allocator_; }

  // ---- Adding records ----
  LineElement* AddLine(const PropertySet& set, const Point* points, int count);
  FillingElement* AddFilling(const PropertySet& set, LineElement* const* lines, int count);
  TextElement* AddText(const PropertySet& set, const Point* points, int count,
                       std::string_view text);
  PartElement* AddPart(std::string_view name, std::uint32_t type, std::uint32_t layer);
  // The same adds for a reader that decodes a record's points or boundary lines straight into
  // it: fill(std::span<Point>) or fill(std::span<LineElement*>) writes them, and nothing is
  // added when it answers false (it has told why) or a point is not a finite number.
  template <class Fill> LineElement* AddLineFilled(const PropertySet& set, int count, Fill fill);
  template <class Fill>
  FillingElement* AddFillingFilled(const PropertySet& set, int count, Fill fill);

  // ---- Part membership ----
  LineNode* AddMember(PartElement* part, LineElement* line);
  FillingNode* AddMember(PartElement* part, FillingElement* filling);
  TextNode* AddMember(PartElement* part, TextElement* text);
  PartNode* AddMember(PartElement* part, PartElement* member);
  int RemoveMember(PartElement* part, LineElement* line);
  int RemoveMember(PartElement* part, FillingElement* filling);
  int RemoveMember(PartElement* part, TextElement* text);
  int RemoveMember(PartElement* part, PartElement* member);
  static bool PartIsEmpty(const PartElement* part);
  void ApplyPartAttributes(PartElement* part, const PropertySet& set);

  // ---- Deleting records: 1 deleted (the pointer becomes null), 0 not on its list ----
  int DeleteLine(LineElement*& line);
  int DeleteFilling(FillingElement*& filling);
  int DeleteText(TextElement*& text);
  int DeletePart(PartElement*& part, bool withMembers);

  // Takes an element out of every part and selection and deletes what depends on it.
  void DetachElement(LineElement* line);
  void DetachElement(FillingElement* filling);
  void DetachElement(TextElement* text);
  void DetachElement(PartElement* part);

  // ---- The whole drawing ----
  void ClearDrawing();
  // Clears the drawing and gives it the header of a new drawing.
  void NewDrawing();
  // Exchanges every element, selection, marker and outline, and the indexes that find them,
  // with a store on the same allocator; the drawings' headers stay. A reader builds a whole
  // drawing aside and puts it in place only once it is complete.
  void SwapElements(ElementStore& other);
  void ShowAllLayers();
  // Recomputes every record's zone masks against the current limits.
  void RecomputeZones();

  // ---- Selections, markers and outlines ----
  void Select(LineElement* line);
  void Select(FillingElement* filling);
  void Select(TextElement* text);
  void Select(PartElement* part);
  void Unselect(LineElement* line);
  void Unselect(FillingElement* filling);
  void Unselect(TextElement* text);
  void Unselect(PartElement* part);
  // Takes many elements out of the selection at once: one pass over each selection list,
  // where one element at a time walks the whole list for each.
  void UnselectMany(std::span<LineElement* const> lines, std::span<FillingElement* const> fillings,
                    std::span<TextElement* const> texts);
  void ClearSelections();
  // Every highlighted element is drawn in its normal look again; the selection lists empty.
  void ShowHighlightedNormally();
  MarkerNode* AddMarker(const Point& point, char marker);
  int RemoveMarker(const Point& point);
  OutlineNode* AddOutline(const Point* points, int count);
  int RemoveOutline(const Point* points, int count);

  // ---- Filling boundaries ----
  // The fillings the line bounds.
  std::vector<FillingElement*> FillingsBoundedBy(const LineElement* line) const;
  // Puts `with` (a null entry ends a loop) in place of boundary entry `index` of the filling,
  // keeping the boundary index and the lines' boundary flags current. The hatch cache and the
  // zone masks are the caller's to renew. False when memory ran out; nothing has changed then.
  bool ReplaceBoundaryEntry(FillingElement& filling, std::uint32_t index,
                            std::span<LineElement* const> with);

  // ---- Hatch cache of a filling ----
  HatchCache* SetHatch(FillingElement& filling, const Point* points, std::uint32_t count);
  void ClearHatch(FillingElement& filling);

  // ---- Finding ----
  TextElement* FindText(const Point& point, double pickFactor);
  PartElement* FindPart(const Point& point, bool skipNested);

  // The line and the filling the last line and filling searches returned. Repeated picks step
  // from them; deleting the element forgets it, so a new record at the same address is not
  // taken for it.
  const LineElement* LastLinePick() const { return lastLine_; }
  void RememberLinePick(const LineElement* line) { lastLine_ = line; }
  const FillingElement* LastFillingPick() const { return lastFilling_; }
  void RememberFillingPick(const FillingElement* filling) { lastFilling_ = filling; }

  // ---- Zone masks and the spatial index ----
  // Gives the element the zone masks of the box and files it in the spatial index; every
  // change of a line's, filling's or text's box goes through here. A text's box is its
  // extent with measure points (TextExtent(text, true)).
  template <class Element> void SetZones(Element& element, const Box& box);
  // The indexes searches take their candidates from; null while searches walk the lists.
  const SpatialIndex<LineElement>* LineIndex() const { return indexed_ ? &lineIndex_ : nullptr; }
  const SpatialIndex<FillingElement>* FillingIndex() const {
    return indexed_ ? &fillingIndex_ : nullptr;
  }
  const SpatialIndex<TextElement>* TextIndex() const { return indexed_ ? &textIndex_ : nullptr; }
  // Off: searches walk the whole lists, as checks of the index compare against. The indexes
  // are kept current either way.
  void UseIndex(bool on) { indexed_ = on; }
  // Readies the indexes for that many more records of each kind (a reader that knows its
  // counts), so adding them does not rebuild the indexes on the way.
  void ReserveIndex(std::size_t lines, std::size_t fillings, std::size_t texts);
  // The same for that many more parts, each holding at least one member.
  void ReserveParts(std::size_t parts);
  // Lays out the indexes left stale by many adds now, not at the first search.
  void BuildIndex() const {
    lineIndex_.Build();
    fillingIndex_.Build();
    textIndex_.Build();
  }

  // ---- The undo journal ----
  // Only the drawing being worked on keeps one; a store built aside (a reader's, a trial
  // read's) records nothing.
  void EnableJournal(bool on);
  // The record or the header is about to change in place: the open step keeps how it was.
  // Adds, deletes, membership and boundary changes are kept by the store itself.
  void Keep(LineElement& line);
  void Keep(FillingElement& filling);
  void Keep(TextElement& text);
  void Keep(PartElement& part);
  void KeepHeader();
  // What the user does with the open step, for the note that names it when it is taken back.
  void NameStep(StepKind kind) {
    journal_.open.kind = kind;
    journal_.open.named = true;
  }
  // Ends the open step; false when it changed nothing, or while steps are held.
  bool CommitStep();
  void HoldSteps(bool on) { journal_.held = on; }
  bool CanUndo() const { return !journal_.done.empty(); }
  bool CanRedo() const { return !journal_.undone.empty(); }
  // Takes back the last step, or does the last step taken back again, and redraws; false when
  // there is none. kind tells what the step did.
  bool Undo(StepKind& kind);
  bool Redo(StepKind& kind);
  // Forgets every step (a drawing read or begun anew starts its own history).
  void ResetJournal();
  // For records the open step itself added and its command now takes back: while paused,
  // deletes keep nothing for undo (the memory is free at once); answers whether it was paused.
  // ForgetInOpenStep then drops every trace of them from the open step, as if never made.
  bool PauseJournal(bool on) { return std::exchange(journal_.suspended, on); }
  void ForgetInOpenStep(const std::unordered_set<const void*>& records);
  void SetJournalBudget(std::size_t bytes) { journal_.budget = bytes; }
  const StoreJournal& Journal() const { return journal_; }
  // How many records the drawing holds.
  std::size_t RecordCount() const {
    return lineIndex_.size() + fillingIndex_.size() + textIndex_.size() + liveParts_.size();
  }
  // Where the lists, the indexes and the records disagree; empty when the store is sound.
  std::string CheckSoundness() const;

  // ---- Steps read from a recovery log ----
  // A record, off every list and zeroed, for a logged step to bring in, with room for count
  // points (a line, a text) or boundary entries (a filling). Null when count is out of range
  // or memory ran out. DoLoggedStep takes it over, or frees it when the step does not fit.
  void* NewLoggedRecord(ElementKind kind, std::size_t count);
  // Does a step read from a log as a new step: `fresh` are the records it brings in with the
  // content each is to have; every other record it names must be the drawing's. The step must
  // fit the drawing as it is (each change's earlier state is the record's state now, each
  // count matches its record, nothing it leaves names a record it took off); otherwise
  // nothing changes, the fresh records are freed and the answer is false. Done the way a
  // redo does it, so the journal then holds the step as if it had been committed here.
  bool DoLoggedStep(JournalStep step, std::span<LoggedRecord> fresh);
  // Frees a record NewLoggedRecord made that no step took over.
  void FreeLoggedRecord(ElementKind kind, void* record);
  // Turns the lists of lines, fillings and texts round, the index order with them: a drawing
  // file is read back newest last, and a checkpoint must come back as it was.
  void ReverseLists();
  // Whether the journal keeps the record off the lists (a step may bring it back).
  bool IsRetired(const void* record) const { return Retired(record); }
  // Lists the records the journal frees from now on (see StoreJournal::freed), or stops.
  void NoteFreedRecords(bool on) {
    journal_.noteFreed = on;
    journal_.freed.clear();
    journal_.freedLost = false;
  }
  std::vector<const void*> TakeFreedRecords() { return std::exchange(journal_.freed, {}); }

private:
  // A record off every list with room for its points or boundary lines, and putting it on its
  // list (a filling that cannot be entered in the boundary index is freed).
  LineElement* NewLine(const PropertySet& set, int count);
  void LinkLine(LineElement& line);
  FillingElement* NewFilling(const PropertySet& set, int count);
  bool LinkFilling(FillingElement& filling);
  void FreeUnlinked(FillingElement* filling);
  void* Allocate(std::size_t bytes);
  void ReportOverflow();
  bool PointsAreFinite(const Point* points, int count);
  bool NoteBoundaries(FillingElement& filling);
  template <class Element> MemberNode<Element>* PushNode(MemberNode<Element>*& head, Element* e);
  template <class Element>
  MemberNode<Element>* PushMember(PartElement* part, MemberNode<Element>*& head, Element* e);
  void FreeLine(LineElement* line);
  void FreeFilling(FillingElement* filling);
  void FreeText(TextElement* text);
  void FreePart(PartElement* part);
  template <class Element> void FreeNodes(MemberNode<Element>*& head);
  // Removes the nodes of the element, at most limit of them (a negative limit: all).
  template <class Element>
  int RemoveNodes(MemberNode<Element>*& head, const Element* element, int limit = -1);
  void FreeEverything();

  // The journal's side of adding and deleting: a record taken off its list stays allocated
  // while a step may bring it back.
  void NoteLink(ElementKind kind, void* element, std::uint64_t sequence);
  // The record's packed words are about to change, and nothing else of it (it is deleted, or
  // joins or leaves a part or a boundary).
  void KeepFlags(LineElement& line);
  void KeepFlags(FillingElement& filling);
  void KeepFlags(TextElement& text);
  void KeepFlags(PartElement& part);
  void Retire(LineElement* line, LineElement* before);
  void Retire(FillingElement* filling, FillingElement* before);
  void Retire(TextElement* text, TextElement* before);
  void Retire(PartElement* part, PartElement* before);
  void TakeOffBookkeeping(ElementKind kind, void* element);
  void PutBackBookkeeping(ElementKind kind, void* element, std::uint64_t sequence);
  void TakeOff(const JournalLink& link);
  void PutBack(const JournalLink& link);
  void FreeRetired(const void* element, ElementKind kind);
  void DropSteps(std::vector<JournalStep>& steps, JournalOp owned);
  void KeepBudget();
  void Apply(LineElement& line, const LineState& state);
  void Apply(FillingElement& filling, const FillingState& state);
  void Apply(TextElement& text, const TextState& state);
  void Apply(PartElement& part, const PartState& state);
  void Apply(Drawing& drawing, const HeaderState& state);
  void ApplyStates(const JournalStep& step, bool after);
  void PlacePutBackFillings(const JournalStep& step, JournalOp putBack);
  void Renew(const JournalStep& step);
  void AfterMove();
  bool Retired(const void* element) const { return journal_.retired.contains(element); }
  bool LoggedStepFits(JournalStep& step, std::span<LoggedRecord> fresh);

  // The holder index: which parts hold an element, one entry per member node.
  bool NoteHolder(const void* element, PartElement* part);
  void ForgetHolder(const void* element, const PartElement* part, int times);
  // The part no longer holds any of its members (its member lists stay as they are).
  void ForgetMembers(const PartElement* part);
  int HolderCount(const void* element, const PartElement* part) const;
  bool IsAncestorOrSelf(const PartElement* candidate, const PartElement* part) const;

  // Takes the element out of its parts and selections; what depends on it is doomed.
  void Detach(LineElement* line);
  void Detach(FillingElement* filling);
  void Detach(TextElement* text);
  void Detach(PartElement* part);
  template <class Element> int DetachFromParts(Element* element);
  template <class Element>
  Element* DetachForDelete(Element*& ref, Element*& head, int& status, Element*& before);
  template <class Element> Element* PopMember(PartElement* part, MemberNode<Element>*& head);
  // Marks records for deletion and detaches them; FinishDeletes unlinks and frees them all
  // with one pass over each list they are on.
  void Doom(LineElement* line);
  void Doom(FillingElement* filling);
  void Doom(TextElement* text);
  bool BeginPartDelete(PartElement* part);
  void ReleaseMembers(PartElement* part, bool withMembers, std::vector<PartElement*>& work);
  void DoomMembers(PartElement* root, bool withMembers);
  void DoomBounded(const LineElement* line);
  template <class Element> void SweepSelection(MemberNode<Element>*& head);
  void FinishDeletes();
  template <class Element, class Free> int Sweep(Element*& head, int& doomed, Free free);
  bool PartVisible(const PartElement* part,
                   std::unordered_map<const PartElement*, bool>& known) const;

  Drawing& drawing_;
  StoreEnvironment& env_;
  Painter& painter_;
  ArenaAllocator arena_; // where records go unless the caller gives an allocator
  StoreAllocator& allocator_;
  // Parts of the drawing, for checking an index entry before following it.
  std::unordered_set<const PartElement*> liveParts_;
  // Element -> the parts holding it; line -> the fillings it bounds (fixed when they are added).
  std::unordered_map<const void*, std::vector<PartElement*>> holders_;
  std::unordered_map<const LineElement*, std::vector<FillingElement*>> bounded_;
  // Parts whose deletion is under way: a cascade must not delete them a second time.
  std::unordered_set<const PartElement*> deleting_;
  // Records marked for deletion, and how many of each kind.
  std::unordered_set<const void*> doomed_;
  int doomedLines_ = 0;
  int doomedFillings_ = 0;
  int doomedTexts_ = 0;
  int doomedParts_ = 0;
  // Typed parts emptied by a delete; they are deleted when it ends.
  std::vector<PartElement*> emptied_;
  // The caller's pointer cleared by the delete under way (see DetachForDelete).
  const void* clearedRef_ = nullptr;
  // The previous results of FindText and FindPart, compared by address only: equally near
  // candidates are stepped through on repeated picks.
  const TextElement* lastText_ = nullptr;
  const PartElement* lastPart_ = nullptr;
  const LineElement* lastLine_ = nullptr;
  const FillingElement* lastFilling_ = nullptr;
  SpatialIndex<LineElement> lineIndex_;
  SpatialIndex<FillingElement> fillingIndex_;
  SpatialIndex<TextElement> textIndex_;
  bool indexed_ = true;
  StoreJournal journal_;
};

template <class Fill>
LineElement* ElementStore::AddLineFilled(const PropertySet& set, int count, Fill fill) {
  LineElement* line = NewLine(set, count);
  if (line == nullptr) return nullptr;
  if (!fill(std::span<Point>(line->points, static_cast<std::size_t>(count))) ||
      !PointsAreFinite(line->points, count)) {
    allocator_.Free(line);
    return nullptr;
  }
  LinkLine(*line);
  return line;
}

template <class Fill>
FillingElement* ElementStore::AddFillingFilled(const PropertySet& set, int count, Fill fill) {
  FillingElement* filling = NewFilling(set, count);
  if (filling == nullptr) return nullptr;
  if (!fill(std::span<LineElement*>(filling->lines, static_cast<std::size_t>(count)))) {
    FreeUnlinked(filling);
    return nullptr;
  }
  return LinkFilling(*filling) ? filling : nullptr;
}

// The box of a line's points, arc or circle.
Box LineBox(const LineElement& line);
// The box of a filling's boundary lines.
Box FillingBox(const FillingElement& filling);

} // namespace lumora
