// DXF files come from other programs: the reader must answer every byte string with a result
// and at most a message, and leave the drawing as it was whenever it refuses, both when it
// replaces the drawing and when it places the file into a part.
#include "files/dxf_reader.h"
#include "files/headless_environment.h"
#include "model/element_store.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace {

using namespace lumora;

void ReadOnce(std::span<const char> bytes, bool intoPart) {
  Drawing drawing;
  drawing.limits = Box{0, 0, 1000, 1000};
  HeadlessStoreEnvironment storeEnv;
  HeadlessPainter painter;
  ElementStore store(drawing, storeEnv, painter);
  HeadlessFileEnvironment env;
  const Point kept[] = {{1, 1}, {2, 2}};
  store.AddLine(PropertySet{}, kept, 2);
  PartElement* container = intoPart ? store.AddPart("Fuzz", 1, 0) : nullptr;
  const Placement at = intoPart ? Placement{10, 20, -2, 0.5, 33} : Placement{};
  // A small budget: the refusal is what is checked here, not how much a read may build.
  constexpr double kFuzzBudget = 8.0 * 1024 * 1024;
  const int result = ReadDxfBytes(store, env, bytes, container, at, false, kFuzzBudget);
  if (result != 1 && env.errors.empty() && storeEnv.errors.empty()) __builtin_trap();
  // A refusal changes nothing.
  if (result == 0 && (drawing.lines == nullptr || drawing.lines->next != nullptr)) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const char> bytes(reinterpret_cast<const char*>(data), size);
  ReadOnce(bytes, false);
  ReadOnce(bytes, true);
  return 0;
}
