// The element store: creates, links, unlinks and frees the records of the drawing, keeps part
// membership and filling boundaries consistent, keeps the selection and presentation lists,
// and finds the text or part under a point.
//
// Every record lives in the store's allocator and is reachable from the drawing's lists; the
// store frees whatever is left when it is destroyed. Failed allocations show
// "Memory overflow !" and add nothing.
#pragma once

#include "model/drawing.h"
#include "model/property_set.h"
#include "model/spatial_index.h"
#include "model/store_allocator.h"
#include "model/store_environment.h"

#include <cstdint>
#include <string_view>

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
  ElementStore(Drawing& drawing, StoreEnvironment& env);
  ElementStore(Drawing& drawing, StoreEnvironment& env, StoreAllocator& allocator);
  ~ElementStore();
  ElementStore(const ElementStore&) = delete;
  ElementStore& operator=(const ElementStore&) = delete;

  Drawing& drawing() { return drawing_; }
  // Where records take their memory; a text's string is replaced through it.
  StoreAllocator& allocator() { return allocator_; }

  // ---- Adding records ----
  LineElement* AddLine(const PropertySet& set, const Point* points, int count);
  FillingElement* AddFilling(const PropertySet& set, LineElement* const* lines, int count);
  TextElement* AddText(const PropertySet& set, const Point* points, int count,
                       std::string_view text);
  PartElement* AddPart(std::string_view name, std::uint32_t type, std::uint32_t layer);

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
  void ClearSelections();
  MarkerNode* AddMarker(const Point& point, char marker);
  int RemoveMarker(const Point& point);
  OutlineNode* AddOutline(const Point* points, int count);
  int RemoveOutline(const Point* points, int count);

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
  // change of a line's, filling's or text's box goes through here.
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

private:
  // A part whose deletion is under way; a cascade must not delete it a second time.
  struct DeletingPart {
    const PartElement* part;
    const DeletingPart* outer;
  };

  void* Allocate(std::size_t bytes);
  void ReportOverflow();
  template <class Element> MemberNode<Element>* PushNode(MemberNode<Element>*& head, Element* e);
  void FreeLine(LineElement* line);
  void FreeFilling(FillingElement* filling);
  void FreeText(TextElement* text);
  void FreePart(PartElement* part);
  template <class Element> void FreeNodes(MemberNode<Element>*& head);
  template <class Element> int RemoveNodes(MemberNode<Element>*& head, const Element* element);
  void FreeEverything();

  template <class Element> int DetachFromParts(Element* element);
  template <class Element> Element* DetachForDelete(Element*& ref, Element*& head, int& status);
  template <class Element> Element* PopMember(PartElement* part, MemberNode<Element>*& head);
  void DeleteFillingsBoundedBy(const LineElement* line);
  bool BeingDeleted(const PartElement* part) const;
  bool PartVisible(const PartElement* part) const;

  Drawing& drawing_;
  StoreEnvironment& env_;
  HeapAllocator heap_;
  StoreAllocator& allocator_;
  const DeletingPart* deleting_ = nullptr;
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
};

// The box of a line's points, arc or circle.
Box LineBox(const LineElement& line);
// The box of a filling's boundary lines.
Box FillingBox(const FillingElement& filling);

} // namespace lumora
