#include "util/map_ahead.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace lumora {
namespace {

// The whole pages within the bytes, if they are worth a call (small buffers are not).
bool WholePages(const void* data, std::size_t bytes, void*& first, std::size_t& length) {
  constexpr std::size_t kLeast = std::size_t{1} << 20;
  if (data == nullptr || bytes < kLeast) return false;
  const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto from = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t start = (from + page - 1) / page * page;
  const std::uintptr_t end = (from + bytes) / page * page;
  if (end <= start) return false;
  first = reinterpret_cast<void*>(start);
  length = end - start;
  return true;
}

} // namespace

void PreferLargePages(const void* data, std::size_t bytes) {
  void* first = nullptr;
  std::size_t length = 0;
  if (!WholePages(data, bytes, first, length)) return;
#ifdef MADV_HUGEPAGE
  // One fault then maps many pages.
  madvise(first, length, MADV_HUGEPAGE);
#endif
}

void MapAhead(const void* data, std::size_t bytes) {
  void* first = nullptr;
  std::size_t length = 0;
  if (!WholePages(data, bytes, first, length)) return;
#ifdef MADV_HUGEPAGE
  madvise(first, length, MADV_HUGEPAGE);
#endif
#ifdef MADV_POPULATE_WRITE
  madvise(first, length, MADV_POPULATE_WRITE);
#endif
}

} // namespace lumora
