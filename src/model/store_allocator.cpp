#include "model/store_allocator.h"

#include <cstdlib>

namespace lumora {

void* HeapAllocator::Allocate(std::size_t bytes) {
  return std::malloc(bytes == 0 ? 1 : bytes);
}

void HeapAllocator::Free(void* block) {
  std::free(block);
}

} // namespace lumora
