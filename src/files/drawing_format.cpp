#include "files/drawing_format.h"

#include <cmath>

namespace lumora {

bool IsWideVersion(double version) {
  return std::fabs(version - kWideVersion) < kVersionTolerance;
}

} // namespace lumora
