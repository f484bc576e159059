// Mapping fresh memory ahead of its first use. Filling a large new buffer otherwise takes a
// page fault at every page it first touches, which is a large share of reading a big file.
#pragma once

#include <cstddef>

namespace lumora {

// Asks for the whole pages within [data, data + bytes) to be mapped now, in large pages where
// the system offers them. Only a hint: where the system cannot, the pages are mapped as they
// are first touched. For memory that will be filled.
void MapAhead(const void* data, std::size_t bytes);

// Asks only for large pages, mapped as they are first touched: for room that may stay unused.
void PreferLargePages(const void* data, std::size_t bytes);

// The room a list has reserved beyond its elements, mapped ahead or in large pages.
template <class List> void MapAheadRoom(const List& list, bool filled = true) {
  using T = typename List::value_type;
  const std::size_t bytes = (list.capacity() - list.size()) * sizeof(T);
  if (filled)
    MapAhead(list.data() + list.size(), bytes);
  else
    PreferLargePages(list.data() + list.size(), bytes);
}

} // namespace lumora
