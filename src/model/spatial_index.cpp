#include "model/spatial_index.h"

#include "model/elements.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

namespace lumora {

namespace {

constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
constexpr int kMinSide = 16;
constexpr int kMaxSide = 256;
constexpr std::size_t kPerCell = 16;   // the grid doubles beyond this many per bucket
constexpr std::size_t kWideCells = 64; // an element over more buckets is wide
constexpr std::size_t kWalkShare = 4;  // a query over a quarter of the grid walks

float Down(double v) {
  const auto f = static_cast<float>(v);
  return static_cast<double>(f) > v ? std::nextafter(f, -std::numeric_limits<float>::infinity())
                                    : f;
}

float Up(double v) {
  const auto f = static_cast<float>(v);
  return static_cast<double>(f) < v ? std::nextafter(f, std::numeric_limits<float>::infinity()) : f;
}

void Drop(std::vector<std::uint32_t>& cell, std::uint32_t id) {
  for (std::uint32_t& entry : cell) {
    if (entry == id) {
      entry = cell.back();
      cell.pop_back();
      return;
    }
  }
}

} // namespace

template <class Element>
void SpatialIndex<Element>::Place(Element* element, const Box& box, const Box& frame) {
  if (broken_) return;
  frame_ = frame;
  std::uint32_t id = Find(element);
  if (id == kNone) {
    id = NewSlot(element);
    if (id == kNone) return;
  } else if (!stale_) {
    Unbucket(id);
  }
  slots_[id].box = Outward(box);
  if (stale_) return;
  if (cells_.empty() || SideFor(live_) > side_) {
    stale_ = true;
    return;
  }
  if (!Bucket(id)) Break();
}

template <class Element> void SpatialIndex<Element>::Reserve(std::size_t more, const Box& frame) {
  if (broken_ || more == 0) return;
  frame_ = frame;
  try {
    slots_.reserve(live_ + more);
  } catch (const std::bad_alloc&) {
    // Only a hint: the table grows as it is filled.
  }
  if (more >= live_ || SideFor(live_ + more) > side_) stale_ = true;
}

template <class Element> void SpatialIndex<Element>::Remove(const Element* element) {
  const std::uint32_t id = Find(element);
  if (id == kNone) return;
  if (!stale_) Unbucket(id);
  slots_[id].element = nullptr;
  try {
    free_.push_back(id);
  } catch (const std::bad_alloc&) {
    // The slot stays unused until the index is emptied.
  }
  --live_;
  // An emptied drawing is laid out anew over the limits of whatever comes next.
  if (live_ == 0) Clear();
}

template <class Element> void SpatialIndex<Element>::Clear() {
  slots_.clear();
  free_.clear();
  cells_.clear();
  wide_.clear();
  live_ = 0;
  side_ = 0;
  stale_ = false;
  broken_ = false;
}

template <class Element> void SpatialIndex<Element>::Regrid(const Box& frame) {
  frame_ = frame;
  if (live_ > 0) stale_ = true;
}

template <class Element>
std::uint64_t SpatialIndex<Element>::Sequence(const Element* element) const {
  const std::uint32_t id = Find(element);
  return id == kNone ? 0 : slots_[id].sequence;
}

template <class Element>
void SpatialIndex<Element>::SetSequence(const Element* element, std::uint64_t sequence) {
  const std::uint32_t id = Find(element);
  if (id == kNone || sequence == 0) return;
  slots_[id].sequence = sequence;
  lastSequence_ = std::max(lastSequence_, sequence);
}

template <class Element> double SpatialIndex<Element>::CellSize() const {
  Build();
  return cells_.empty() ? 0.0 : std::max(cellWidth_, cellHeight_);
}

template <class Element>
bool SpatialIndex<Element>::Collect(const Box& query, std::vector<Entry>& out) const {
  out.clear();
  Build();
  if (broken_) return false;
  if (cells_.empty()) return true;
  const Range range = RangeOf(Outward(query));
  if (!range.valid) return false;
  const std::size_t covered = static_cast<std::size_t>(range.x1 - range.x0 + 1) *
                              static_cast<std::size_t>(range.y1 - range.y0 + 1);
  if (covered * kWalkShare > cells_.size()) return false;
  const auto add = [this, &out](const std::vector<std::uint32_t>& ids) {
    for (const std::uint32_t id : ids) out.push_back({slots_[id].element, slots_[id].sequence});
  };
  add(wide_);
  for (int y = range.y0; y <= range.y1; ++y) {
    for (int x = range.x0; x <= range.x1; ++x) add(cells_[CellIndex(x, y)]);
  }
  std::sort(out.begin(), out.end(),
            [](const Entry& a, const Entry& b) { return a.sequence > b.sequence; });
  out.erase(std::unique(out.begin(), out.end(),
                        [](const Entry& a, const Entry& b) { return a.sequence == b.sequence; }),
            out.end());
  return true;
}

template <class Element> std::size_t SpatialIndex<Element>::MemoryBytes() const {
  std::size_t bytes = sizeof(*this) + slots_.capacity() * sizeof(Slot) +
                      free_.capacity() * sizeof(std::uint32_t) +
                      cells_.capacity() * sizeof(std::vector<std::uint32_t>) +
                      wide_.capacity() * sizeof(std::uint32_t);
  for (const std::vector<std::uint32_t>& cell : cells_)
    bytes += cell.capacity() * sizeof(std::uint32_t);
  return bytes;
}

// An empty box stays empty.
template <class Element>
typename SpatialIndex<Element>::FloatBox SpatialIndex<Element>::Outward(const Box& box) {
  if (!(box.xmin <= box.xmax) || !(box.ymin <= box.ymax)) return {1.0f, 1.0f, 0.0f, 0.0f};
  return {Down(box.xmin), Down(box.ymin), Up(box.xmax), Up(box.ymax)};
}

// The side of the grid for that many elements: it only ever grows while the index is in use.
template <class Element> int SpatialIndex<Element>::SideFor(std::size_t elements) const {
  int side = side_ == 0 ? kMinSide : side_;
  while (elements > kPerCell * static_cast<std::size_t>(side) * static_cast<std::size_t>(side) &&
         side < kMaxSide)
    side *= 2;
  return side;
}

// The element's slot, kNone when it has none here. The number kept in the record is only
// trusted when the slot names the record back: a record copied from another keeps its number.
template <class Element> std::uint32_t SpatialIndex<Element>::Find(const Element* element) const {
  const std::uint32_t id = element->indexSlot - 1;
  return element->indexSlot != 0 && id < slots_.size() && slots_[id].element == element ? id
                                                                                        : kNone;
}

template <class Element> std::uint32_t SpatialIndex<Element>::NewSlot(Element* element) {
  std::uint32_t id = kNone;
  if (!free_.empty()) {
    id = free_.back();
    free_.pop_back();
  } else if (slots_.size() >= kNone - 1) {
    Break();
    return kNone;
  } else {
    try {
      slots_.emplace_back();
    } catch (const std::bad_alloc&) {
      Break();
      return kNone;
    }
    id = static_cast<std::uint32_t>(slots_.size() - 1);
  }
  slots_[id].element = element;
  slots_[id].sequence = ++lastSequence_;
  element->indexSlot = id + 1;
  ++live_;
  return id;
}

// Out of memory: searches walk the lists from now on, until the index is emptied. The buckets
// count as stale, so nothing looks into them.
template <class Element> void SpatialIndex<Element>::Break() const {
  broken_ = true;
  stale_ = true;
  cells_.clear();
  wide_.clear();
}

// The buckets a box covers; a box outside the frame falls in the edge buckets, so two boxes
// that meet always share a bucket.
template <class Element>
typename SpatialIndex<Element>::Range SpatialIndex<Element>::RangeOf(const FloatBox& box) const {
  Range range;
  const bool finite = std::isfinite(box.xmin) && std::isfinite(box.ymin) &&
                      std::isfinite(box.xmax) && std::isfinite(box.ymax);
  if (!finite || !(box.xmin <= box.xmax) || !(box.ymin <= box.ymax)) return range;
  range.valid = true;
  range.x0 = Column(box.xmin, x0_, perX_);
  range.x1 = Column(box.xmax, x0_, perX_);
  range.y0 = Column(box.ymin, y0_, perY_);
  range.y1 = Column(box.ymax, y0_, perY_);
  return range;
}

// The bucket column (or row) of a coordinate. It never decreases as the coordinate grows,
// which is all that boxes meeting in a shared bucket need. Between the edge buckets the
// position is positive, so truncating it rounds it down.
template <class Element>
int SpatialIndex<Element>::Column(double v, double origin, double inverse) const {
  const double c = (v - origin) * inverse;
  if (!(c > 0.0)) return 0;
  return c >= side_ - 1 ? side_ - 1 : static_cast<int>(c);
}

template <class Element> bool SpatialIndex<Element>::Wide(const Range& range) const {
  return !range.valid || static_cast<std::size_t>(range.x1 - range.x0 + 1) *
                                 static_cast<std::size_t>(range.y1 - range.y0 + 1) >
                             kWideCells;
}

template <class Element> bool SpatialIndex<Element>::Bucket(std::uint32_t id) {
  const Range range = RangeOf(slots_[id].box);
  try {
    if (Wide(range)) {
      wide_.push_back(id);
      return true;
    }
    for (int y = range.y0; y <= range.y1; ++y) {
      for (int x = range.x0; x <= range.x1; ++x) cells_[CellIndex(x, y)].push_back(id);
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

template <class Element> void SpatialIndex<Element>::Unbucket(std::uint32_t id) {
  const Range range = RangeOf(slots_[id].box);
  if (Wide(range)) {
    Drop(wide_, id);
    return;
  }
  for (int y = range.y0; y <= range.y1; ++y) {
    for (int x = range.x0; x <= range.x1; ++x) Drop(cells_[CellIndex(x, y)], id);
  }
}

template <class Element> void SpatialIndex<Element>::Build() const {
  if (!stale_ || broken_) return;
  stale_ = false;
  Box f = frame_;
  if (!(f.xmax - f.xmin > 0.0) || !(f.ymax - f.ymin > 0.0) || !std::isfinite(f.xmin) ||
      !std::isfinite(f.ymin) || !std::isfinite(f.xmax) || !std::isfinite(f.ymax)) {
    f = Box{0.0, 0.0, 1.0, 1.0};
  }
  side_ = SideFor(live_);
  x0_ = f.xmin;
  y0_ = f.ymin;
  cellWidth_ = (f.xmax - f.xmin) / side_;
  cellHeight_ = (f.ymax - f.ymin) / side_;
  perX_ = side_ / (f.xmax - f.xmin);
  perY_ = side_ / (f.ymax - f.ymin);
  const std::size_t cellCount = static_cast<std::size_t>(side_) * static_cast<std::size_t>(side_);
  try {
    std::vector<std::uint32_t> counts(cellCount, 0);
    std::size_t wide = 0;
    for (const Slot& slot : slots_) {
      if (slot.element == nullptr) continue;
      const Range range = RangeOf(slot.box);
      if (Wide(range)) {
        ++wide;
        continue;
      }
      for (int y = range.y0; y <= range.y1; ++y) {
        for (int x = range.x0; x <= range.x1; ++x) ++counts[CellIndex(x, y)];
      }
    }
    cells_.clear();
    cells_.resize(cellCount);
    for (std::size_t c = 0; c < cellCount; ++c) cells_[c].reserve(counts[c]);
    wide_.clear();
    wide_.reserve(wide);
    for (std::size_t id = 0; id < slots_.size(); ++id) {
      const Slot& slot = slots_[id];
      if (slot.element == nullptr) continue;
      const auto number = static_cast<std::uint32_t>(id);
      const Range range = RangeOf(slot.box);
      if (Wide(range)) {
        wide_.push_back(number);
        continue;
      }
      for (int y = range.y0; y <= range.y1; ++y) {
        for (int x = range.x0; x <= range.x1; ++x) cells_[CellIndex(x, y)].push_back(number);
      }
    }
  } catch (const std::bad_alloc&) {
    Break();
  }
}

template class SpatialIndex<LineElement>;
template class SpatialIndex<FillingElement>;
template class SpatialIndex<TextElement>;

} // namespace lumora
