// A uniform grid of buckets over the sheet that finds the elements whose boxes may meet a
// query box without walking a whole list.
//
// Every element carries a sequence number that grows with each element placed: since records
// are pushed at the head of their lists, a larger number means nearer the head. Searches take
// the candidates newest first and so see them in list order, which keeps ties and repeated
// picks exactly as a walk over the list would give them. Elements whose boxes span many
// buckets, or have no usable box, sit in a wide bucket every query visits.
//
// The index takes its memory from its own pool: blocks it frees are never handed to the
// element records, whose lists stay in the order they were allocated and so walk fast.
#pragma once

#include "geometry/primitives.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory_resource>
#include <new>
#include <unordered_map>
#include <vector>

namespace lumora {

template <class Element> class SpatialIndex {
public:
  struct Entry {
    Element* element;
    std::uint64_t sequence;
  };

  // Places a new element at the head of the order, or moves a known one to its new box.
  void Place(Element* element, const Box& box, const Box& frame) {
    auto [it, added] = slots_.try_emplace(element);
    Slot& slot = it->second;
    if (added) {
      slot.sequence = ++lastSequence_;
    } else {
      Unbucket(element, slot);
    }
    slot.box = Outward(box);
    if (cells_.empty() || (slots_.size() > kPerCell * cells_.size() && side_ < kMaxSide)) {
      Regrid(frame, cells_.empty() ? kMinSide : side_ * 2);
    } else {
      Bucket(element, slot);
    }
  }

  // Makes room for more elements to come, laying the grid out at once for the size they will
  // make, so placing them neither rehashes nor regrids on the way. Nothing when memory is short.
  void Reserve(std::size_t more, const Box& frame) {
    const std::size_t total = slots_.size() + more;
    try {
      slots_.reserve(total);
    } catch (const std::bad_alloc&) {
      return;
    }
    int side = side_ == 0 ? kMinSide : side_;
    while (total > kPerCell * static_cast<std::size_t>(side) * static_cast<std::size_t>(side) &&
           side < kMaxSide)
      side *= 2;
    if (side != side_) Regrid(frame, side);
  }

  void Remove(const Element* element) {
    auto it = slots_.find(const_cast<Element*>(element));
    if (it == slots_.end()) return;
    Unbucket(element, it->second);
    slots_.erase(it);
    // An emptied drawing is laid out anew over the limits of whatever comes next.
    if (slots_.empty()) Clear();
  }

  void Clear() {
    slots_.clear();
    cells_.clear();
    wide_.clear();
    side_ = 0;
  }

  // Lays the buckets anew over the frame (the sheet limits), keeping every element's number.
  void Regrid(const Box& frame) {
    if (!cells_.empty()) Regrid(frame, side_);
  }

  // 0 when the element is not indexed.
  std::uint64_t Sequence(const Element* element) const {
    auto it = slots_.find(const_cast<Element*>(element));
    return it == slots_.end() ? 0 : it->second.sequence;
  }

  std::size_t size() const { return slots_.size(); }
  // The larger side of a bucket; 0 before the first element is placed.
  double CellSize() const { return cells_.empty() ? 0.0 : std::max(cellWidth_, cellHeight_); }

  // Replaces out by the elements whose boxes may meet the query box, newest first, each once.
  // False when the query covers so much of the grid that a walk over the list is cheaper.
  bool Collect(const Box& query, std::vector<Entry>& out) const {
    out.clear();
    if (cells_.empty()) return true;
    const Range range = RangeOf(Outward(query));
    if (!range.valid) return false;
    const std::size_t covered = static_cast<std::size_t>(range.x1 - range.x0 + 1) *
                                static_cast<std::size_t>(range.y1 - range.y0 + 1);
    if (covered * kWalkShare > cells_.size()) return false;
    out.assign(wide_.begin(), wide_.end());
    for (int y = range.y0; y <= range.y1; ++y) {
      for (int x = range.x0; x <= range.x1; ++x) {
        const std::pmr::vector<Entry>& cell = cells_[CellIndex(x, y)];
        out.insert(out.end(), cell.begin(), cell.end());
      }
    }
    std::sort(out.begin(), out.end(),
              [](const Entry& a, const Entry& b) { return a.sequence > b.sequence; });
    out.erase(std::unique(out.begin(), out.end(),
                          [](const Entry& a, const Entry& b) { return a.sequence == b.sequence; }),
              out.end());
    return true;
  }

  // Bytes held by the index, counting the hash map's nodes and buckets as the standard
  // library lays them out.
  std::size_t MemoryBytes() const {
    std::size_t bytes = sizeof(*this) + cells_.capacity() * sizeof(std::pmr::vector<Entry>) +
                        wide_.capacity() * sizeof(Entry);
    for (const std::pmr::vector<Entry>& cell : cells_) bytes += cell.capacity() * sizeof(Entry);
    constexpr std::size_t kNode = sizeof(void*) + sizeof(Element*) + sizeof(Slot);
    bytes += slots_.size() * kNode + slots_.bucket_count() * sizeof(void*);
    return bytes;
  }

private:
  // The box kept in floats, rounded outwards so it never shrinks.
  struct FloatBox {
    float xmin;
    float ymin;
    float xmax;
    float ymax;
  };
  struct Slot {
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

  static constexpr int kMinSide = 16;
  static constexpr int kMaxSide = 256;
  static constexpr std::size_t kPerCell = 16;   // the grid doubles beyond this many per bucket
  static constexpr std::size_t kWideCells = 64; // an element over more buckets is wide
  static constexpr std::size_t kWalkShare = 4;  // a query over a quarter of the grid walks

  static float Down(double v) {
    const auto f = static_cast<float>(v);
    return static_cast<double>(f) > v ? std::nextafter(f, -std::numeric_limits<float>::infinity())
                                      : f;
  }
  static float Up(double v) {
    const auto f = static_cast<float>(v);
    return static_cast<double>(f) < v ? std::nextafter(f, std::numeric_limits<float>::infinity())
                                      : f;
  }
  static FloatBox Outward(const Box& box) {
    if (!(box.xmin <= box.xmax) || !(box.ymin <= box.ymax)) return {1.0f, 1.0f, 0.0f, 0.0f};
    return {Down(box.xmin), Down(box.ymin), Up(box.xmax), Up(box.ymax)};
  }

  std::size_t CellIndex(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(side_) +
           static_cast<std::size_t>(x);
  }

  // The buckets a box covers; a box outside the frame falls in the edge buckets, so two boxes
  // that meet always share a bucket.
  Range RangeOf(const FloatBox& box) const {
    Range range;
    const bool finite = std::isfinite(box.xmin) && std::isfinite(box.ymin) &&
                        std::isfinite(box.xmax) && std::isfinite(box.ymax);
    if (!finite || !(box.xmin <= box.xmax) || !(box.ymin <= box.ymax)) return range;
    range.valid = true;
    range.x0 = Column(box.xmin, x0_, cellWidth_);
    range.x1 = Column(box.xmax, x0_, cellWidth_);
    range.y0 = Column(box.ymin, y0_, cellHeight_);
    range.y1 = Column(box.ymax, y0_, cellHeight_);
    return range;
  }

  int Column(double v, double origin, double size) const {
    const double c = std::floor((v - origin) / size);
    if (!(c > 0.0)) return 0;
    return c >= side_ - 1 ? side_ - 1 : static_cast<int>(c);
  }

  static void Drop(std::pmr::vector<Entry>& cell, const Element* element) {
    for (Entry& entry : cell) {
      if (entry.element == element) {
        entry = cell.back();
        cell.pop_back();
        return;
      }
    }
  }

  bool Wide(const Range& range) const {
    return !range.valid || static_cast<std::size_t>(range.x1 - range.x0 + 1) *
                                   static_cast<std::size_t>(range.y1 - range.y0 + 1) >
                               kWideCells;
  }

  void Bucket(Element* element, const Slot& slot) {
    const Entry entry{element, slot.sequence};
    const Range range = RangeOf(slot.box);
    if (Wide(range)) {
      wide_.push_back(entry);
      return;
    }
    for (int y = range.y0; y <= range.y1; ++y) {
      for (int x = range.x0; x <= range.x1; ++x) cells_[CellIndex(x, y)].push_back(entry);
    }
  }

  void Unbucket(const Element* element, const Slot& slot) {
    const Range range = RangeOf(slot.box);
    if (Wide(range)) {
      Drop(wide_, element);
      return;
    }
    for (int y = range.y0; y <= range.y1; ++y) {
      for (int x = range.x0; x <= range.x1; ++x) Drop(cells_[CellIndex(x, y)], element);
    }
  }

  void Regrid(const Box& frame, int side) {
    Box f = frame;
    if (!(f.xmax - f.xmin > 0.0) || !(f.ymax - f.ymin > 0.0) || !std::isfinite(f.xmin) ||
        !std::isfinite(f.ymin) || !std::isfinite(f.xmax) || !std::isfinite(f.ymax)) {
      f = Box{0.0, 0.0, 1.0, 1.0};
    }
    side_ = side;
    x0_ = f.xmin;
    y0_ = f.ymin;
    cellWidth_ = (f.xmax - f.xmin) / side;
    cellHeight_ = (f.ymax - f.ymin) / side;
    wide_.clear();
    cells_.assign(static_cast<std::size_t>(side) * static_cast<std::size_t>(side), {});
    for (auto& [element, slot] : slots_) Bucket(element, slot);
  }

  std::pmr::unsynchronized_pool_resource pool_;
  std::pmr::unordered_map<Element*, Slot> slots_{&pool_};
  std::pmr::vector<std::pmr::vector<Entry>> cells_{&pool_};
  std::pmr::vector<Entry> wide_{&pool_};
  std::uint64_t lastSequence_ = 0;
  int side_ = 0;
  double x0_ = 0.0;
  double y0_ = 0.0;
  double cellWidth_ = 1.0;
  double cellHeight_ = 1.0;
};

} // namespace lumora
