// A sound file put in place of a cue may be anything; its length is read from its header alone.
#include "sound/wav_length.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const double seconds =
      lumora::WavSeconds(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!(seconds >= 0.0 && seconds <= 10.0)) __builtin_trap();
  return 0;
}
