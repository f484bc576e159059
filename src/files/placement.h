// Where the elements of a file read into the drawing go: a location, scale factors (negative
// mirrors) and a rotation in degrees. The identity places a whole drawing as it was saved.
#pragma once

namespace lumora {

struct Placement {
  double x = 0.0;
  double y = 0.0;
  double sx = 1.0;
  double sy = 1.0;
  double angle = 0.0;
};

} // namespace lumora
