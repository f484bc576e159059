// Setup files are typed by hand: any bytes must read without a crash.
#include "setup/setup_reader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

class QuietSink : public lumora::MessageSink {
public:
  void Show(lumora::MessageKind, std::string_view) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QuietSink sink;
  lumora::Language language = lumora::Language::kEnglish;
  lumora::SetupEnvironment env{"/nonexistent", language, sink};
  lumora::Setup setup;
  lumora::ReadSetupText(std::string_view(reinterpret_cast<const char*>(data), size), setup, env);
  return 0;
}
