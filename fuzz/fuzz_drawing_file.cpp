// Drawing and part files come from anywhere: the reader must answer every byte string with a
// result and at most a message, whether it replaces the drawing or places a part.
#include "files/drawing_reader.h"
#include "model/element_store.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace {

using namespace lumora;

class NoStore final : public StoreEnvironment {
public:
  void ShowError(const TextPair&) override {}
  void DrawLine(const LineElement&, int) override {}
  void DrawFilling(FillingElement&, int) override {}
  void DrawText(const TextElement&, int) override {}
  void DrawMarker(const Point&, char) override {}
  void DrawOutline(const OutlineNode&) override {}
  void RedrawAll() override {}
  void RedrawMenuBar() override {}
  double ViewBoxWidth() const override { return 1.0; }
  void SetViewBoxes(const Box&) override {}
  int LoadedFontCount() const override { return 2; }
};

class NoScreen final : public FileEnvironment {
public:
  int messages = 0;
  Language CurrentLanguage() const override { return Language::kEnglish; }
  void ShowError(std::string_view) override { ++messages; }
  void Trace(std::string_view) override {}
  void DrawLine(const LineElement&) override {}
  void DrawFilling(FillingElement&) override {}
  void DrawText(const TextElement&) override {}
  void ResetOrigins() override {}
  void SetUpPlotter(Drawing&) override {}
  using FileReporter::ShowError;
};

void ReadOnce(std::span<const unsigned char> bytes, bool intoPart) {
  Drawing drawing;
  drawing.limits = Box{0, 0, 1000, 1000};
  NoStore storeEnv;
  ElementStore store(drawing, storeEnv);
  NoScreen env;
  PartElement* container = intoPart ? store.AddPart("Fuzz", 1, 0) : nullptr;
  const Placement at = intoPart ? Placement{10, 20, -2, 0.5, 33} : Placement{};
  const int result = ReadDrawingBytes(store, env, bytes, "fuzz", container, at, true);
  // Every failure says why.
  if (result != 1 && env.messages == 0) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const unsigned char> bytes(data, size);
  ReadOnce(bytes, false);
  ReadOnce(bytes, true);
  return 0;
}
