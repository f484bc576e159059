// Drawing and part files come from anywhere: the reader must answer every byte string with a
// result and at most a message, whether it replaces the drawing or places a part.
#include "files/drawing_reader.h"
#include "files/headless_environment.h"
#include "model/element_store.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace {

using namespace lumora;

void ReadOnce(std::span<const unsigned char> bytes, bool intoPart) {
  Drawing drawing;
  drawing.limits = Box{0, 0, 1000, 1000};
  HeadlessStoreEnvironment storeEnv;
  HeadlessPainter painter;
  ElementStore store(drawing, storeEnv, painter);
  HeadlessFileEnvironment env;
  PartElement* container = intoPart ? store.AddPart("Fuzz", 1, 0) : nullptr;
  const Placement at = intoPart ? Placement{10, 20, -2, 0.5, 33} : Placement{};
  const int result = ReadDrawingBytes(store, env, bytes, "fuzz", container, at, true);
  // Every failure says why, through the file routines or the store (a refused element).
  if (result != 1 && env.errors.empty() && storeEnv.errors.empty()) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const unsigned char> bytes(data, size);
  ReadOnce(bytes, false);
  ReadOnce(bytes, true);
  return 0;
}
