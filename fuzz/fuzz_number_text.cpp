// Typed numbers arrive as any bytes; reading must stay inside them and always move on.
#include "util/number_text.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

constexpr std::size_t kFieldWidth = 12;
constexpr double kSteps[] = {0.0, 0.001, 0.1, 1.0, -0.01, 25.0};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string_view text(bytes);
  std::size_t pos = 0;
  std::size_t index = 0;
  double value = 0.0;
  std::size_t before = pos;
  while (lumora::ReadNumber(text, pos, value)) {
    // Every number read moves on, and never past the end.
    if (pos <= before || pos > text.size() || std::isnan(value)) __builtin_trap();
    before = pos;
    const double step = kSteps[index++ % std::size(kSteps)];
    const std::string shown = lumora::NumberToText(value, step, kFieldWidth);
    if (shown.size() > kFieldWidth && shown != lumora::kNumberOverflowText) __builtin_trap();
    std::size_t back = 0;
    double reread = 0.0;
    if (!shown.empty() && shown != lumora::kNumberOverflowText &&
        !lumora::ReadNumber(shown, back, reread)) {
      __builtin_trap();
    }
  }
  if (pos != text.size()) __builtin_trap();
  return 0;
}
