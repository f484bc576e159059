// A name between single quotes, as messages show names of files, drawings and parts.
#pragma once

#include <string>
#include <string_view>

namespace lumora {

// Built by appending: g++ 12 at -O3 warns falsely on "'" + std::string&&.
inline std::string Quoted(std::string_view name) {
  std::string quoted;
  quoted.reserve(name.size() + 2);
  quoted += '\'';
  quoted += name;
  quoted += '\'';
  return quoted;
}

} // namespace lumora
