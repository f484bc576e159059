// Where the element store takes its memory. Every record, node, string and array goes through
// one of these, so a test can make any single allocation fail.
#pragma once

#include <cstddef>

namespace lumora {

class StoreAllocator {
public:
  virtual ~StoreAllocator() = default;
  // A block suitably aligned for any record, or null when memory is out.
  virtual void* Allocate(std::size_t bytes) = 0;
  virtual void Free(void* block) = 0;
};

// The ordinary heap.
class HeapAllocator final : public StoreAllocator {
public:
  void* Allocate(std::size_t bytes) override;
  void Free(void* block) override;
};

} // namespace lumora
