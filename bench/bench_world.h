// A drawing with its store and quiet environments, as the benchmarks build them.
#pragma once

#include "files/drawing_format.h"
#include "files/headless_environment.h"
#include "model/element_store.h"

namespace lumora::bench {

struct World {
  Drawing drawing;
  HeadlessStoreEnvironment storeEnv;
  ElementStore store{drawing, storeEnv};
  HeadlessFileEnvironment env;
  DrawingFileState state;
};

} // namespace lumora::bench
