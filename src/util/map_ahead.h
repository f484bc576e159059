// Mapping fresh memory ahead of its first use. Filling a large new buffer otherwise takes a
// page fault at every page it first touches, which is a large share of reading a big file.
#pragma once

#include <cstddef>

namespace lumora {

// Asks for the whole pages within [data, data + bytes) to be mapped now. Only a hint: where the
// system cannot, the pages are mapped as they are first touched.
void MapAhead(const void* data, std::size_t bytes);

// The room a list has reserved beyond its elements, mapped ahead.
template <class List> void MapAheadRoom(const List& list) {
  using T = typename List::value_type;
  MapAhead(list.data() + list.size(), (list.capacity() - list.size()) * sizeof(T));
}

} // namespace lumora
