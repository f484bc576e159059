#include "text/place_text.h"

#include "model/drawing.h"
#include "model/store_allocator.h"
#include "model/store_environment.h"
#include "model/store_messages.h"
#include "util/number_text.h"

#include <cmath>
#include <cstring>
#include <utility>

namespace lumora {

namespace {

constexpr std::uint32_t kLinearMeasure = 1;
constexpr std::uint32_t kAngleMeasure = 2;
constexpr std::size_t kLinearPoints = 3;
constexpr std::size_t kAnglePoints = 5;
constexpr double kMeasureAngleLow = -80.0;
constexpr double kMeasureAngleHigh = 100.0;
constexpr double kHalfTurn = 180.0;
constexpr double kFullTurn = 360.0;
constexpr double kValuePrecision = 0.001;
constexpr std::size_t kValueWidth = 40;

// Positioning ways swapped by a mirror about the y axis (left and right exchange) and about the
// x axis (top and bottom exchange); index = way.
constexpr std::uint32_t kMirrorX[] = {0, 3, 2, 1, 6, 5, 4, 9, 8, 7};
constexpr std::uint32_t kMirrorY[] = {0, 7, 8, 9, 4, 5, 6, 1, 2, 3};

std::uint32_t Mirrored(const std::uint32_t (&table)[10], std::uint32_t way) {
  return way < std::size(table) ? table[way] : way;
}

bool IsOne(double factor) {
  return SameValue(std::fabs(factor), 1.0) != 0;
}

// Whole degrees of a rotation, safe for any double.
double WholeDegrees(double angle) {
  return std::isfinite(angle) ? std::trunc(std::fmod(angle, kFullTurn)) : 0.0;
}

// A measure's text reads from left to right: its angle is kept within -80..100 degrees.
double UprightMeasureAngle(double angle) {
  if (!std::isfinite(angle)) return 0.0;
  angle = std::fmod(angle, kFullTurn);
  while (angle > kMeasureAngleHigh) angle -= kHalfTurn;
  while (angle < kMeasureAngleLow) angle += kHalfTurn;
  return angle;
}

// Finds the first number of the value: a sign or point that no digit follows ("approx. 25",
// "a - b") starts none. Answers false when there is no number.
bool FindNumber(std::string_view value, std::size_t& start, std::size_t& end, double& number) {
  for (start = value.find_first_of(kNumberStart); start != std::string_view::npos;
       start = value.find_first_of(kNumberStart, end)) {
    end = start;
    ReadNumber(value, end, number);
    const std::string_view literal = value.substr(start, end - start);
    if (literal.find_first_of("0123456789") != std::string_view::npos) return true;
  }
  return false;
}

// Rewrites the first number of the value as the measured length after scaling.
void UpdateMeasureValue(const TextElement& text, std::span<const Point> points, std::string& value,
                        double sx, double sy) {
  std::size_t start = 0;
  std::size_t end = 0;
  double number = 0;
  if (!FindNumber(value, start, end, number)) return;
  if (SameValue(std::fabs(sx), std::fabs(sy))) {
    number *= std::fabs(sx);
  } else {
    if (points.size() < kLinearPoints) return;
    number = Projection(points[2].x - points[1].x, points[2].y - points[1].y, text.angle(), 1);
  }
  std::string rebuilt = value.substr(0, start) + NumberToText(number, kValuePrecision, kValueWidth);
  rebuilt += value.substr(std::min(end, value.size()));
  if (rebuilt.size() > kPlacedValueMax) rebuilt.resize(kPlacedValueMax);
  value = std::move(rebuilt);
}

} // namespace

std::uint32_t ClampTextHeight(double height) {
  constexpr double kHeightTop = 510.999;
  if (!(height < kHeightTop)) return kTextHeightMax; // also NaN
  if (height < kTextHeightMin) return kTextHeightMin;
  return static_cast<std::uint32_t>(height);
}

void PlaceText(TextElement& text, std::span<Point> points, std::string* value, const Transform& m,
               double sx, double sy, double angle) {
  for (Point& p : points) ApplyTransform(m, p.x, p.y);
  if (!IsOne(sx) || !IsOne(sy))
    text.SetHeight(ClampTextHeight(text.height() * (std::fabs(sx) + std::fabs(sy)) / 2));
  double turn = text.angle();
  if (sx < 0) {
    turn = -turn;
    text.SetPositioning(Mirrored(kMirrorX, text.positioning()));
  }
  if (sy < 0) {
    turn = -turn;
    text.SetPositioning(Mirrored(kMirrorY, text.positioning()));
  }
  turn += WholeDegrees(angle);
  if (text.mitta() != 0) turn = UprightMeasureAngle(turn);
  text.SetAngle(turn);
  if (text.mitta() == kLinearMeasure && value != nullptr && (!IsOne(sx) || !IsOne(sy)))
    UpdateMeasureValue(text, points, *value, sx, sy);
  if (text.mitta() == kAngleMeasure && sx * sy < 0 && points.size() >= kAnglePoints) {
    std::swap(points[1], points[3]);
    std::swap(points[2], points[4]);
  }
}

int ReplaceString(Drawing& drawing, StoreAllocator& allocator, StoreEnvironment& env,
                  TextElement& text, std::string_view value) {
  if (text.text != nullptr && std::string_view(text.text) == value) return 1;
  auto* fresh = static_cast<char*>(allocator.Allocate(value.size() + 1));
  if (fresh == nullptr) {
    env.ShowError(store_messages::kMemoryOverflow);
    return 0;
  }
  ++drawing.changes;
  std::memcpy(fresh, value.data(), value.size());
  fresh[value.size()] = '\0';
  if (text.text != nullptr) allocator.Free(text.text);
  text.text = fresh;
  return 1;
}

} // namespace lumora
