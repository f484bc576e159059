// Hatching a room by a click inside it: the closed region round a point among the drawing's
// visible lines, and its boundary made into new lines a filling can follow.
#pragma once

#include "element_geometry/element_geometry.h"
#include "geometry/region.h"

#include <vector>

namespace lumora {

// The smallest closed region round p formed by the visible lines, arcs and circles, with the
// closed regions inside it as holes. The lines near p are taken first, and more as the search
// widens, until a region closes or the sheet is covered. False when none closes.
bool FindRegion(ElementGeometry& geometry, const Point& p, Region& region);

// The region's loops made into new lines with the attributes: a loop of straight edges as one
// closed line, a whole circle as a circle, any other loop as open lines and arcs chained in
// loop order. `entries` lists them for a filling (a null between loops), `made` every line
// made. False when a line could not be made; what was made is in `made` for the caller to take
// away.
bool MakeRegionBoundary(ElementGeometry& geometry, const Region& region,
                        const PropertySet& attributes, std::vector<LineElement*>& entries,
                        std::vector<LineElement*>& made);

} // namespace lumora
