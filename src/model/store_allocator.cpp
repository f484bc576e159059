#include "model/store_allocator.h"

#include <cstdlib>
#include <new>
#include <sys/mman.h>
#include <utility>

#if defined(__SANITIZE_ADDRESS__)
#define LUMORA_ARENA_POISON 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LUMORA_ARENA_POISON 1
#endif
#endif
#ifdef LUMORA_ARENA_POISON
#include <sanitizer/asan_interface.h>
#endif

namespace lumora {

namespace {

// Under the address sanitizer, cells not handed out are poisoned, so a record used after its
// delete is caught inside a slab as it would be on the heap.
void Poison([[maybe_unused]] void* cells, [[maybe_unused]] std::size_t bytes) {
#ifdef LUMORA_ARENA_POISON
  ASAN_POISON_MEMORY_REGION(cells, bytes);
#endif
}

void Unpoison([[maybe_unused]] void* cells, [[maybe_unused]] std::size_t bytes) {
#ifdef LUMORA_ARENA_POISON
  ASAN_UNPOISON_MEMORY_REGION(cells, bytes);
#endif
}

} // namespace

void* HeapAllocator::Allocate(std::size_t bytes) {
  return std::malloc(bytes == 0 ? 1 : bytes);
}

void HeapAllocator::Free(void* block) {
  std::free(block);
}

// The head of every slab; its cells follow, each kStep-aligned.
struct ArenaAllocator::Slab {
  Slab* prev = nullptr; // on its size's list of slabs with room
  Slab* next = nullptr;
  Cell* free = nullptr;           // cells freed since the slab was made
  unsigned char* fresh = nullptr; // the first cell never handed out
  unsigned char* end = nullptr;
  std::size_t cellBytes = 0;
  std::size_t cls = 0;
  std::size_t live = 0;
  bool listed = false;

  bool Full() const { return free == nullptr && static_cast<std::size_t>(end - fresh) < cellBytes; }
};

ArenaAllocator::~ArenaAllocator() {
  for (const std::uintptr_t base : slabs_) {
    Unpoison(reinterpret_cast<void*>(base), kSlabBytes);
    std::free(reinterpret_cast<void*>(base));
  }
}

void ArenaAllocator::Unlist(Slab* slab) {
  if (!slab->listed) return;
  if (slab->prev != nullptr)
    slab->prev->next = slab->next;
  else
    classes_[slab->cls].withRoom = slab->next;
  if (slab->next != nullptr) slab->next->prev = slab->prev;
  slab->prev = slab->next = nullptr;
  slab->listed = false;
}

void ArenaAllocator::List(Slab* slab) {
  if (slab->listed) return;
  Slab*& head = classes_[slab->cls].withRoom;
  slab->prev = nullptr;
  slab->next = head;
  if (head != nullptr) head->prev = slab;
  head = slab;
  slab->listed = true;
}

ArenaAllocator::Slab* ArenaAllocator::NewSlab(std::size_t cls) {
  static_assert(sizeof(Slab) <= kHeadBytes && kHeadBytes % kStep == 0);
  void* memory = std::aligned_alloc(kSlabBytes, kSlabBytes);
  if (memory == nullptr) return nullptr;
#ifdef MADV_POPULATE_WRITE
  // The slab's pages are mapped in one call rather than by a fault at each first touch, which
  // is a large share of reading a big drawing into fresh memory. Only a hint.
  madvise(memory, kSlabBytes, MADV_POPULATE_WRITE);
#endif
  try {
    slabs_.insert(reinterpret_cast<std::uintptr_t>(memory));
  } catch (const std::bad_alloc&) {
    std::free(memory);
    return nullptr;
  }
  auto* slab = new (memory) Slab;
  slab->cls = cls;
  slab->cellBytes = (cls + 1) * kStep;
  slab->fresh = static_cast<unsigned char*>(memory) + kHeadBytes;
  slab->end = static_cast<unsigned char*>(memory) + kSlabBytes;
  Poison(slab->fresh, kSlabBytes - kHeadBytes);
  return slab;
}

void ArenaAllocator::Release(Slab* slab) {
  Unlist(slab);
  SizeClass& size = classes_[slab->cls];
  if (size.spare == nullptr) {
    slab->free = nullptr;
    slab->fresh = reinterpret_cast<unsigned char*>(slab) + kHeadBytes;
    size.spare = slab;
    return;
  }
  slabs_.erase(reinterpret_cast<std::uintptr_t>(slab));
  slab->~Slab();
  Unpoison(slab, kSlabBytes);
  std::free(slab);
}

void* ArenaAllocator::Allocate(std::size_t bytes) {
  if (bytes > kLargest) {
    void* block = std::malloc(bytes);
    if (block != nullptr) ++liveBlocks_;
    return block;
  }
  const std::size_t cls = bytes == 0 ? 0 : (bytes - 1) / kStep;
  SizeClass& size = classes_[cls];
  Slab* slab = size.withRoom;
  if (slab == nullptr) {
    slab = size.spare != nullptr ? std::exchange(size.spare, nullptr) : NewSlab(cls);
    if (slab == nullptr) return nullptr;
    List(slab);
  }
  void* cell = nullptr;
  if (slab->free != nullptr) {
    cell = slab->free;
    Unpoison(cell, slab->cellBytes);
    slab->free = slab->free->next;
  } else {
    cell = slab->fresh;
    Unpoison(cell, slab->cellBytes);
    slab->fresh += slab->cellBytes;
  }
  ++slab->live;
  ++liveBlocks_;
  if (slab->Full()) Unlist(slab);
  return cell;
}

void ArenaAllocator::Free(void* block) {
  if (block == nullptr) return;
  --liveBlocks_;
  const auto address = reinterpret_cast<std::uintptr_t>(block);
  const std::uintptr_t base = address & ~(std::uintptr_t{kSlabBytes} - 1);
  // A heap block never lies inside a slab, so the slab's start tells them apart.
  if (address == base || !slabs_.contains(base)) {
    std::free(block);
    return;
  }
  auto* slab = reinterpret_cast<Slab*>(base);
  auto* cell = static_cast<Cell*>(block);
  cell->next = slab->free;
  slab->free = cell;
  Poison(cell, slab->cellBytes);
  if (--slab->live == 0) {
    Release(slab);
  } else {
    List(slab);
  }
}

} // namespace lumora
