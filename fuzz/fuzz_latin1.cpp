// Event files and command lines arrive as UTF-8 of any quality.
#include "util/latin1.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  const std::string latin = lumora::Utf8ToLatin1(in);
  const std::string back = lumora::Latin1ToUtf8(latin);
  if (lumora::Utf8ToLatin1(back) != latin) __builtin_trap();
  return 0;
}
