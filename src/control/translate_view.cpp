#include "control/translate_view.h"

#include "element_geometry/element_geometry.h"
#include "element_geometry/feature_snaps.h"
#include "model/drawing.h"
#include "model/element_store.h"
#include "protocol/input_record.h"
#include "view/view.h"

#include <array>
#include <cmath>
#include <optional>

namespace lumora {
namespace {

constexpr double kNoCrossing = 999999995904.0;

// The snaps only search: nothing they reach changes or reports.
class SearchOnlyEnvironment final : public StoreEnvironment {
public:
  explicit SearchOnlyEnvironment(double viewWidth) : viewWidth_(viewWidth) {}
  void ShowError(const TextPair& /*message*/) override {}
  void RedrawAll() override {}
  void RedrawMenuBar() override {}
  double ViewBoxWidth() const override { return viewWidth_; }
  void SetViewBoxes(const Box& /*box*/) override {}
  int LoadedFontCount() const override { return 0; }

private:
  double viewWidth_;
};

// The crossing of the two lines nearest the cursor that lies nearest to it.
bool SnapToCrossing(ElementGeometry& geometry, const Point& cursor, double k, Point& found) {
  Point near{};
  LineElement* first = geometry.NearestLine(cursor, near, k);
  if (first == nullptr) return false;
  // The first line is hidden from the second search, and only for it.
  const std::uint32_t wasHidden = first->hidden();
  first->SetHidden(1);
  LineElement* second = geometry.NearestLine(cursor, near, k);
  first->SetHidden(wasHidden);
  if (second == nullptr) return false;
  std::array<Point, kMaxSnapCrossings> crossings{};
  const int count = ElementGeometry::LineIntersections(*first, *second, crossings);
  double best = kNoCrossing;
  for (int i = 0; i < count; ++i) {
    const Point& q = crossings[static_cast<std::size_t>(i)];
    const double d = std::hypot(q.x - cursor.x, q.y - cursor.y);
    if (d < best) {
      best = d;
      found = q;
    }
  }
  return best < kNoCrossing;
}

std::optional<FeatureSnap> FeatureOf(int snapMode) {
  switch (snapMode) {
  case kSnapMidpoint:
    return FeatureSnap::kMidpoint;
  case kSnapCentre:
    return FeatureSnap::kCentre;
  case kSnapPerpendicular:
    return FeatureSnap::kPerpendicular;
  case kSnapTangent:
    return FeatureSnap::kTangent;
  case kSnapQuadrant:
    return FeatureSnap::kQuadrant;
  default:
    return std::nullopt;
  }
}

} // namespace

bool SnapSearch(const View& view, ElementStore& store, InputRecord& in) {
  if (in.snapMode == kSnapNone) return false;
  const double width = BoxWidth(view.viewBox);
  SearchOnlyEnvironment env(width);
  GeometrySettings settings;
  settings.viewWidth = width;
  ElementGeometry geometry(store, env, settings);
  // With the full-window cursor lines the whole view is in reach (a zero reach).
  const bool whole = in.cursorLinesOff == 0;
  Point found{};
  bool ok = false;
  if (in.snapMode == kSnapLine) {
    ok = geometry.NearestLine(in.cursor, found, whole ? 0.0 : kSnapLineReach, view.directionShown,
                              view.cursorAngle) != nullptr;
  } else if (in.snapMode == kSnapPoint) {
    ok = geometry.NearestLinePoint(in.cursor, found, whole ? 0.0 : kSnapPointReach) != nullptr;
  } else if (in.snapMode == kSnapIntersection) {
    ok = SnapToCrossing(geometry, in.cursor, whole ? 0.0 : kSnapLineReach, found);
  } else if (const auto feature = FeatureOf(in.snapMode)) {
    // A perpendicular or a tangent is drawn from the rubber band's last point, or from the
    // local origin when the band holds none.
    const bool band = in.previewKind == kPreviewElement && in.pointCount > 0;
    const Point from =
        band ? in.points[static_cast<std::size_t>(in.pointCount - 1)] : view.localOrigin;
    ok = SnapToFeature(geometry, *feature, in.cursor, from, whole ? 0.0 : kSnapLineReach, found);
  }
  if (ok) in.cursor = found;
  return ok;
}

} // namespace lumora
