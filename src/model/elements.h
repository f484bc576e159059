// The element records of a drawing: lines, fillings, texts and parts, and the nodes that group
// and select them.
//
// Each record keeps its attributes in packed 32-bit words exactly as drawing files store them;
// the named accessors below are the only way the rest of the program touches single fields.
// Records are created and freed only by the ElementStore.
#pragma once

#include "geometry/point.h"
#include "geometry/primitives.h"
#include "model/list_range.h"
#include "model/record_field.h"

#include <array>
#include <cstdint>

namespace lumora {

// Line shapes.
inline constexpr std::uint32_t kShapeOpen = 1;
inline constexpr std::uint32_t kShapeClosed = 2;
inline constexpr std::uint32_t kShapeArc = 3;
inline constexpr std::uint32_t kShapeCircle = 4;

// Polyline, closed line, arc (centre, start, end) or circle (centre, point on it).
struct LineElement {
  std::array<std::uint32_t, 3> words{};
  std::uint32_t indexSlot = 0; // where the spatial index keeps the record; never stored
  LineElement* next = nullptr;
  Point* points = nullptr; // ps0 points, stored in the same allocation right after the record

  LUMORA_RECORD_FIELD(ps0, SetPs0, 0, 0, 16)
  LUMORA_RECORD_FIELD(shape, SetShape, 0, 16, 3)
  LUMORA_RECORD_FIELD(layer, SetLayer, 0, 19, 7)
  LUMORA_RECORD_FIELD(hidden, SetHidden, 0, 26, 1)
  LUMORA_RECORD_FIELD(boundary, SetBoundary, 0, 27, 1)
  LUMORA_RECORD_FIELD(inPart, SetInPart, 0, 28, 1)
  LUMORA_RECORD_FIELD(spareFlags, SetSpareFlags, 0, 29, 3)
  LUMORA_RECORD_FIELD(width, SetWidth, 1, 0, 4)
  LUMORA_RECORD_FIELD(colour, SetColour, 1, 4, 4)
  LUMORA_RECORD_FIELD(style, SetStyle, 1, 8, 4)
  LUMORA_RECORD_FIELD(section, SetSection, 1, 12, 4)
  LUMORA_RECORD_FIELD(zoneX, SetZoneX, 1, 16, 16)
  LUMORA_RECORD_FIELD(zoneY, SetZoneY, 2, 0, 16)
};

// Cached hatch segments of a filling: count points taken in pairs (start, end of a segment),
// stored in the same allocation right after this header.
struct HatchCache {
  std::uint32_t count = 0;
  Point* points = nullptr;
};

// Hatched area bounded by line elements.
struct FillingElement {
  std::array<std::uint32_t, 5> words{};
  std::uint32_t indexSlot = 0;   // where the spatial index keeps the record; never stored
  LineElement** lines = nullptr; // ls0 entries; an entry may be null
  FillingElement* next = nullptr;
  HatchCache* hatch = nullptr; // computed on first drawing, freed with the filling

  LUMORA_RECORD_FIELD(ls0, SetLs0, 0, 0, 16)
  LUMORA_RECORD_FIELD(layer, SetLayer, 0, 16, 7)
  LUMORA_RECORD_FIELD(hidden, SetHidden, 0, 23, 1)
  LUMORA_RECORD_FIELD(inPart, SetInPart, 0, 24, 1)
  LUMORA_RECORD_FIELD(spareFlags, SetSpareFlags, 0, 25, 3)
  LUMORA_RECORD_FIELD(width, SetWidth, 0, 28, 4)
  LUMORA_RECORD_FIELD(colour, SetColour, 1, 0, 4)
  LUMORA_RECORD_FIELD(style, SetStyle, 1, 4, 4)
  LUMORA_RECORD_FIELD(ldista, SetLdista, 1, 8, 4)
  LUMORA_RECORD_FIELD(reserved1, SetReserved1, 1, 12, 20)
  LUMORA_RECORD_FIELD(reserved3, SetReserved3, 3, 16, 16)
  LUMORA_RECORD_FIELD(zoneX, SetZoneX, 4, 0, 16)
  LUMORA_RECORD_FIELD(zoneY, SetZoneY, 4, 16, 16)

  // Distance between hatch lines in drawing units, kept as a float in word 2.
  float gap() const;
  void SetGap(double value);
  // Hatch direction in whole degrees, a signed 16-bit value in word 3.
  std::int16_t angle() const;
  void SetAngle(std::int16_t value);
};

// Text, measure or angle measure.
struct TextElement {
  std::array<std::uint32_t, 4> words{};
  std::uint32_t indexSlot = 0; // where the spatial index keeps the record; never stored
  char* text = nullptr;        // zero-terminated, its own allocation of exactly its length plus one
  TextElement* next = nullptr;
  Point* points = nullptr; // pointCount points, in the same allocation right after the record

  LUMORA_RECORD_FIELD(pointCount, SetPointCount, 0, 0, 3)
  LUMORA_RECORD_FIELD(mitta, SetMitta, 0, 3, 3)
  LUMORA_RECORD_FIELD(layer, SetLayer, 0, 6, 7)
  LUMORA_RECORD_FIELD(font, SetFont, 0, 13, 2)
  LUMORA_RECORD_FIELD(hidden, SetHidden, 0, 15, 1)
  LUMORA_RECORD_FIELD(inPart, SetInPart, 0, 16, 1)
  LUMORA_RECORD_FIELD(spareFlags, SetSpareFlags, 0, 17, 3)
  LUMORA_RECORD_FIELD(width, SetWidth, 0, 20, 4)
  LUMORA_RECORD_FIELD(colour, SetColour, 0, 24, 4)
  LUMORA_RECORD_FIELD(positioning, SetPositioning, 0, 28, 4)
  LUMORA_RECORD_FIELD(height, SetHeight, 1, 0, 9)
  LUMORA_RECORD_FIELD(widthRatio, SetWidthRatio, 1, 9, 3)
  LUMORA_RECORD_FIELD(slant, SetSlant, 1, 12, 2)
  LUMORA_RECORD_FIELD(spare, SetSpare, 1, 14, 2)
  LUMORA_RECORD_FIELD(reserved1, SetReserved1, 1, 16, 16)
  LUMORA_RECORD_FIELD(zoneX, SetZoneX, 3, 0, 16)
  LUMORA_RECORD_FIELD(zoneY, SetZoneY, 3, 16, 16)

  // Rotation about the first point in degrees, kept as a float in word 2.
  float angle() const;
  void SetAngle(double value);
};

// One entry of a member or selection list.
template <class Element> struct MemberNode {
  Element* element = nullptr;
  MemberNode* next = nullptr;
};

struct PartElement;
using LineNode = MemberNode<LineElement>;
using FillingNode = MemberNode<FillingElement>;
using TextNode = MemberNode<TextElement>;
using PartNode = MemberNode<PartElement>;

inline constexpr int kPartNameSize = 48;
inline constexpr int kPartNameMax = 44;
// A part layer that means "mixed": visible when any member is on a visible layer.
inline constexpr std::uint32_t kMixedLayer = 127;

// A named group. Its members also stay on the drawing's own lists: a part groups, never owns.
struct PartElement {
  char name[kPartNameSize] = {};
  std::array<std::uint32_t, 2> words{}; // words 12 and 13 of the stored record
  Point location{0.0, 0.0};
  Box box; // starts empty and grows with member lines, texts and parts
  LineNode* lines = nullptr;
  FillingNode* fillings = nullptr;
  TextNode* texts = nullptr;
  PartNode* parts = nullptr;
  PartElement* next = nullptr;

  LUMORA_RECORD_FIELD(type, SetType, 0, 0, 4)
  LUMORA_RECORD_FIELD(layer, SetLayer, 0, 4, 7)
  LUMORA_RECORD_FIELD(hidden, SetHidden, 0, 11, 1)
  LUMORA_RECORD_FIELD(nested, SetNested, 0, 12, 1)
  LUMORA_RECORD_FIELD(spareFlags, SetSpareFlags, 0, 13, 3)
  LUMORA_RECORD_FIELD(zoneX, SetZoneX, 0, 16, 16)
  LUMORA_RECORD_FIELD(zoneY, SetZoneY, 1, 0, 16)
  LUMORA_RECORD_FIELD(reserved13, SetReserved13, 1, 16, 16)
};

// A point marker: '+', 'O' or 'X' centred on its point.
struct MarkerNode {
  char marker = '+';
  Point point{0.0, 0.0};
  MarkerNode* next = nullptr;
};

// A temporary closed outline; its points follow the node in the same allocation.
struct OutlineNode {
  int count = 0;
  Point* points = nullptr;
  OutlineNode* next = nullptr;
};

} // namespace lumora
