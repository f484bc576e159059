// A recovery log may be cut or damaged anywhere by the crash it is read after: the reader must
// answer every byte string with the whole steps it holds and nothing more.
#include "files/recovery_log.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const unsigned char> bytes(data, size);
  const lumora::RecoveryLogContents log = lumora::ReadRecoveryLog(bytes);
  std::size_t held = 0;
  for (const auto& step : log.steps) held += step.size() + lumora::kRecoveryRecordFrame;
  // What was kept is exactly the header and the whole records, and lies within the input.
  if (log.keptBytes > size || held > log.keptBytes) __builtin_trap();
  if (!log.headerRead && (!log.steps.empty() || log.keptBytes != 0)) __builtin_trap();
  if (log.headerRead && log.damagedTail != (log.keptBytes != size)) __builtin_trap();
  return 0;
}
