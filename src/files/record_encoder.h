// Little-endian encoding of the drawing file's values onto a SafeWriter, in the precision of
// the file being written.
#pragma once

#include "files/safe_writer.h"

#include <cstdint>
#include <string_view>

namespace lumora {

class RecordEncoder {
public:
  RecordEncoder(SafeWriter& writer, bool wide) : writer_(writer), wide_(wide) {}

  bool Wide() const { return wide_; }
  bool Float(float value);
  bool Word(std::uint32_t value);
  // A real: a double in a wide file, a float (held at the float range) otherwise.
  bool Real(double value);
  // A count or index: 32 bits in a wide file, 16 otherwise.
  bool Count(std::int32_t value);
  bool Bytes(std::string_view bytes) { return writer_.WriteText(bytes); }

private:
  template <std::size_t N> bool Little(std::uint64_t value);

  SafeWriter& writer_;
  bool wide_;
};

} // namespace lumora
