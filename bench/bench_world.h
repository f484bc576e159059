// A drawing with its store and quiet environments, as the benchmarks build them, and the
// counters every benchmark of a drawing's size prints.
#pragma once

#include "files/drawing_format.h"
#include "files/headless_environment.h"
#include "model/element_store.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <thread>

namespace lumora::bench {

struct World {
  Drawing drawing;
  HeadlessStoreEnvironment storeEnv;
  ElementStore store{drawing, storeEnv};
  HeadlessFileEnvironment env;
  DrawingFileState state;
};

// The element count and the machine's cores, so figures from different machines and sizes can
// be told apart.
inline void CountMachine(benchmark::State& state, long elements) {
  state.counters["elements"] = static_cast<double>(elements);
  state.counters["cores"] = static_cast<double>(std::thread::hardware_concurrency());
}

// Bytes the heap has handed out and not taken back, mapped blocks included.
inline double HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<double>(info.uordblks + info.hblkhd);
}

} // namespace lumora::bench
