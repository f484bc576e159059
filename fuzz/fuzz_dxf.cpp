// DXF files come from other programs: the reader must answer every byte string with a result
// and at most a message, and leave the drawing as it was whenever it refuses, both when it
// replaces the drawing and when it places the file into a part. The entities it decodes itself
// must come out exactly as the DXF library reads them.
#include "files/dxf_parse.h"
#include "files/dxf_reader.h"
#include "files/dxf_scene_digest.h"
#include "files/dxf_tokens.h"
#include "files/headless_environment.h"
#include "model/element_store.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <set>
#include <span>
#include <vector>

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

// Whether a light polyline gives other vertices than its count says and is cut short by a
// variable or comment: the library then reads it, with vertices it never set.
bool UnsetVertices(std::span<const char> bytes) {
  DxfPairs pairs(bytes);
  int code = 0;
  std::string_view value;
  bool inside = false;
  bool cut = false;
  bool broken = false; // a count after a vertex, a y or bulge before any x, two ys for one x
  bool counted = false;
  int count = -1, xs = 0, ys = 0;
  const auto odd = [&] { return inside && cut && (broken || count != xs || xs != ys); };
  while (pairs.Next(code, value)) {
    if (code == 0) {
      if (odd()) return true;
      inside = value == "LWPOLYLINE";
      cut = broken = counted = false;
      count = -1, xs = 0, ys = 0;
    } else if (!inside) {
      continue;
    } else if (code == 9 || code == 999) {
      cut = true;
    } else if (code == 90) {
      broken = broken || xs > 0 || counted;
      counted = true;
      count = DxfInt(value);
    } else if (code == 10) {
      ++xs;
    } else if (code == 20 || code == 42) {
      broken = broken || xs == 0 || (code == 20 && ++ys > xs);
    }
  }
  return odd();
}

// A hatch edge that lacks one of its numbers: the library then hands on the number its edge
// held before, which depends on what it read earlier, so the two readings may part there.
bool UnsetHatchEdge(std::span<const char> bytes) {
  DxfPairs pairs(bytes);
  int code = 0;
  std::string_view value;
  bool hatch = false;
  bool polylinePath = false;
  int type = 0;
  std::set<int> seen;
  const auto missing = [&] {
    static const std::map<int, std::vector<int>> kNeeds{{1, {10, 20, 11, 21}},
                                                        {2, {10, 20, 40, 50, 51, 73}},
                                                        {3, {10, 20, 11, 21, 40, 50, 51, 73}}};
    const auto needs = kNeeds.find(type);
    if (needs == kNeeds.end()) return false;
    for (int c : needs->second)
      if (!seen.contains(c)) return true;
    return false;
  };
  while (pairs.Next(code, value)) {
    const bool edgeEnds = code == 0 || code == 72 || code == 92 || code == 97 || code == 75;
    if (hatch && type != 0 && edgeEnds) {
      if (missing()) return true;
      type = 0;
    }
    if (code == 0) {
      hatch = value == "HATCH";
      polylinePath = false;
    } else if (!hatch) {
      continue;
    } else if (code == 92) {
      polylinePath = (DxfInt(value) & 2) != 0;
    } else if (code == 72 && !polylinePath) {
      type = DxfInt(value);
      seen.clear();
    } else if (type != 0) {
      seen.insert(code);
    }
  }
  return hatch && type != 0 && missing();
}

// Both readings, the program's own decoding and the library's, give the same scene, or both
// refuse, except where the library reads what the file never set.
void ReadBothWays(std::span<const char> bytes) {
  if (UnsetVertices(bytes) || UnsetHatchEdge(bytes)) return;
  DxfScene decoded;
  DxfScene library;
  std::string problem;
  const bool fast = ParseDxf(bytes, decoded, problem, true);
  const bool slow = ParseDxf(bytes, library, problem, false);
  // Where the two part is a hunt of its own (LUMORA_FUZZ_COMPARE=1): the tests' short runs look
  // for crashes, leaks and runaway reads, and must not fail on the next divergence found.
  static const bool compare = std::getenv("LUMORA_FUZZ_COMPARE") != nullptr;
  if (!compare) return;
  if (fast != slow) __builtin_trap();
  if (fast && DxfSceneDigest(decoded) != DxfSceneDigest(library)) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const char> bytes(reinterpret_cast<const char*>(data), size);
  ReadBothWays(bytes);
  ReadOnce(bytes, false);
  ReadOnce(bytes, true);
  return 0;
}
