// A uniform grid of buckets over the sheet that finds the elements whose boxes may meet a
// query box without walking a whole list.
//
// Every element carries a sequence number that grows with each element placed: since records
// are pushed at the head of their lists, a larger number means nearer the head. Searches take
// the candidates newest first and so see them in list order, which keeps ties and repeated
// picks exactly as a walk over the list would give them. Elements whose boxes span many
// buckets, or have no usable box, sit in a wide bucket every query visits.
//
// Each element has a slot in a dense table, and the record keeps its slot's number, so placing,
// moving and removing an element never searches. The buckets hold slot numbers. They are laid
// out lazily: when many elements arrive at once (a file being read) or the grid must grow, the
// buckets are dropped and built again in one pass at the next query, counting each bucket's
// entries before filling it, so a million elements cost one sweep instead of a million inserts
// and repeated regrids.
#pragma once

#include "geometry/primitives.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumora {

template <class Element> class SpatialIndex {
public:
  struct Entry {
    Element* element;
    std::uint64_t sequence;
  };

  // Places a new element at the head of the order, or moves a known one to its new box.
  void Place(Element* element, const Box& box, const Box& frame);
  // Makes room for more elements to come. Many of them, or enough to outgrow the grid, are
  // placed without filing them in the buckets, which are built once at the next query.
  void Reserve(std::size_t more, const Box& frame);
  void Remove(const Element* element);
  void Clear();
  // Lays the buckets anew over the frame (the sheet limits), keeping every element's number.
  void Regrid(const Box& frame);
  // Lays the grid out over the frame for the elements there are and files them all, when a
  // change has left the buckets stale: one pass counts each bucket's entries, a second fills
  // the buckets sized to them. Every query does this first; a reader does it when done.
  void Build() const;

  // 0 when the element is not indexed.
  std::uint64_t Sequence(const Element* element) const;
  // Gives a placed element back the number it had, so an element put back onto its list
  // keeps its place in the order (0 leaves the number as it is).
  void SetSequence(const Element* element, std::uint64_t sequence);
  std::size_t size() const { return live_; }
  // The number the next element placed would follow.
  std::uint64_t LastSequence() const { return lastSequence_; }
  // The larger side of a bucket; 0 before the first element is placed.
  double CellSize() const;
  // Replaces out by the elements whose boxes may meet the query box, newest first, each once.
  // False when the query covers so much of the grid that a walk over the list is cheaper, or
  // when the index could not be kept for want of memory.
  bool Collect(const Box& query, std::vector<Entry>& out) const;
  // Bytes held by the index.
  std::size_t MemoryBytes() const;

private:
  // The box kept in floats, rounded outwards so it never shrinks.
  struct FloatBox {
    float xmin;
    float ymin;
    float xmax;
    float ymax;
  };
  struct Slot {
    Element* element = nullptr; // null while the slot is free
    std::uint64_t sequence = 0;
    FloatBox box{};
  };
  struct Range {
    bool valid = false;
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
  };

  static FloatBox Outward(const Box& box);
  int SideFor(std::size_t elements) const;
  std::uint32_t Find(const Element* element) const;
  std::uint32_t NewSlot(Element* element);
  void Break() const;
  std::size_t CellIndex(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(side_) +
           static_cast<std::size_t>(x);
  }
  Range RangeOf(const FloatBox& box) const;
  int Column(double v, double origin, double inverse) const;
  bool Wide(const Range& range) const;
  bool Bucket(std::uint32_t id);
  void Unbucket(std::uint32_t id);

  std::vector<Slot> slots_;
  std::vector<std::uint32_t> free_; // slots freed, taken again before the table grows
  std::size_t live_ = 0;
  std::uint64_t lastSequence_ = 0;
  Box frame_{0.0, 0.0, 1.0, 1.0};
  // The buckets and their layout, built at the first query after a change makes them stale.
  mutable std::vector<std::vector<std::uint32_t>> cells_;
  mutable std::vector<std::uint32_t> wide_;
  mutable bool stale_ = false;
  mutable bool broken_ = false;
  mutable int side_ = 0;
  mutable double x0_ = 0.0;
  mutable double y0_ = 0.0;
  mutable double cellWidth_ = 1.0;
  mutable double cellHeight_ = 1.0;
  // Buckets per unit of length: a multiplication finds a bucket where a division would.
  mutable double perX_ = 1.0;
  mutable double perY_ = 1.0;
};

struct LineElement;
struct FillingElement;
struct TextElement;
extern template class SpatialIndex<LineElement>;
extern template class SpatialIndex<FillingElement>;
extern template class SpatialIndex<TextElement>;

} // namespace lumora
