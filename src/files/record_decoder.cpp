#include "files/record_decoder.h"

#include "files/file_messages.h"

#include <cmath>

namespace lumora {

bool RecordDecoder::Fail(Kind kind) {
  if (!failed_) {
    // The named conversions only exist for the short precision.
    const Kind shown = wide_ ? Kind::kPlain : kind;
    reporter_.ShowError(shown == Kind::kReals    ? file_messages::kReadFloatsFailed
                        : shown == Kind::kCounts ? file_messages::kReadShortsFailed
                                                 : file_messages::kReadFailed);
  }
  failed_ = true;
  return false;
}

bool RecordDecoder::Real(double& value) {
  if (failed_) return false;
  if (!(wide_ ? in_.ReadF64(value) : in_.ReadF32(value))) return Fail(Kind::kReals);
  if (!std::isfinite(value)) return Fail(Kind::kPlain);
  return true;
}

bool RecordDecoder::Count(std::int32_t& value) {
  if (failed_) return false;
  if (!(wide_ ? in_.ReadI32(value) : in_.ReadI16(value))) return Fail(Kind::kCounts);
  return true;
}

bool RecordDecoder::Words(std::uint32_t* words, std::size_t count) {
  if (failed_ || !Expect(count, sizeof(std::uint32_t), Kind::kPlain)) return false;
  for (std::size_t k = 0; k < count; ++k)
    if (!in_.ReadU32(words[k])) return Fail(Kind::kPlain);
  return true;
}

bool RecordDecoder::Bytes(void* out, std::size_t count) {
  if (failed_) return false;
  if (!in_.ReadBytes(out, count)) return Fail(Kind::kPlain);
  return true;
}

bool RecordDecoder::Expect(std::uint64_t count, std::size_t each, Kind kind) {
  if (failed_) return false;
  if (each != 0 && count > in_.Remaining() / each) return Fail(kind);
  return true;
}

} // namespace lumora
