// A table of a record's bit fields for layout tests: each entry reads and writes one field.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lumora::test {

template <class Record> struct FieldRef {
  std::string name;
  std::function<std::uint32_t(const Record&)> get;
  std::function<void(Record&, std::uint32_t)> set;
  std::uint32_t max;
};

#define LUMORA_FIELD_REF(Record, getter, setter, bits)                                             \
  ::lumora::test::FieldRef<Record> {                                                               \
#getter,                                                                                       \
        [](const Record& r) { return r.getter(); },                                                \
                                                 [](Record & r,                                    \
                                                    std::uint32_t v) { r.setter(v); },             \
                                                                                    (1u            \
                                                                                     << (bits)) -  \
                                                                                        1u         \
  }

} // namespace lumora::test
