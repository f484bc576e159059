#include "util/map_ahead.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace lumora {

void MapAhead(const void* data, std::size_t bytes) {
#ifdef MADV_POPULATE_WRITE
  // Small buffers are not worth a call.
  constexpr std::size_t kLeast = std::size_t{1} << 20;
  if (data == nullptr || bytes < kLeast) return;
  const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto from = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (from + page - 1) / page * page;
  const std::uintptr_t end = (from + bytes) / page * page;
  if (end <= first) return;
#ifdef MADV_HUGEPAGE
  // Large pages where the system offers them: one fault maps many.
  madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#endif
  madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
#else
  (void)data;
  (void)bytes;
#endif
}

} // namespace lumora
