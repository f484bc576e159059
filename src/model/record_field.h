// Declares a named getter and setter pair for one bit field of a record's `words` array, so the
// record headers read like their layout tables.
#pragma once

#include "model/bit_field.h"

#define LUMORA_RECORD_FIELD(getter, setter, word, shift, width)                                    \
  std::uint32_t getter() const {                                                                   \
    return ::lumora::BitField<shift, width>::Get(words[word]);                                     \
  }                                                                                                \
  void setter(std::uint32_t value) {                                                               \
    ::lumora::BitField<shift, width>::Set(words[word], value);                                     \
  }
