// A point of the drawing plane, in drawing units (y points up).
#pragma once

namespace lumora {

struct Point {
  double x;
  double y;
};

} // namespace lumora
