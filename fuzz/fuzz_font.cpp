// Font files come from anywhere: any bytes must load (or be refused) and draw without a crash.
#include "text/stroke_text.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

class QuietSink : public lumora::MessageSink {
public:
  void Show(lumora::MessageKind, std::string_view) override {}
};

class NullPen : public lumora::ScreenPen {
public:
  void SetPen(int, int, int, double) override {}
  void MoveTo(const lumora::Point&) override {}
  void LineTo(const lumora::Point&) override {}
  void DrawArc(const lumora::Point&, const lumora::Point&, const lumora::Point&) override {}
  void EndPath() override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QuietSink sink;
  lumora::Fonts fonts;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (!lumora::ParseFont(text, fonts.slots[0], sink)) return 0;
  fonts.count = 1;
  lumora::SetTextStyle(fonts, 0, 3.5, 30, 0.7, 0.2);
  NullPen pen;
  lumora::DrawString(fonts, pen, 0, 0, "Lumora 1:50|\xE4\xF6\xB0`\"");
  return 0;
}
