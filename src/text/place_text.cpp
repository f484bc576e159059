#include "text/place_text.h"

#include "util/number_text.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace lumora {
namespace {

constexpr double kMaxHeightCode = 511;
constexpr double kHeightCeiling = 510.999;
constexpr double kUpperAngle = 100;
constexpr double kLowerAngle = -80;
constexpr double kHalfTurn = 180;
constexpr double kFullTurn = 360;
constexpr double kValueStep = 0.001;
constexpr std::size_t kValueWidth = 30;
constexpr std::size_t kMaxStringLength = 32767;
constexpr int kLinearMeasure = 1;
constexpr int kAngleMeasure = 2;
constexpr int kLinearPoints = 3;
constexpr int kAnglePoints = 5;

bool DiffersFromOne(double v) {
  return SameValue(std::fabs(v), 1) == 0;
}

// Ways 1, 4, 7 and 3, 6, 9 trade places in a mirror about the y axis.
std::uint32_t MirrorAcross(std::uint32_t way) {
  switch (way) {
  case 1:
  case 4:
  case 7:
    return way + 2;
  case 3:
  case 6:
  case 9:
    return way - 2;
  default:
    return way;
  }
}

// Ways 1, 2, 3 and 7, 8, 9 trade places in a mirror about the x axis.
std::uint32_t MirrorUpDown(std::uint32_t way) {
  if (way >= 1 && way <= 3) return way + 6;
  if (way >= 7 && way <= 9) return way - 6;
  return way;
}

void ScaleHeight(TextElement& t, double sx, double sy) {
  const double h = t.height() * (std::fabs(sx) + std::fabs(sy)) / 2;
  std::uint32_t code =
      h >= kHeightCeiling ? std::uint32_t(kMaxHeightCode) : std::uint32_t(std::max(h, 0.0));
  t.SetHeight(code == 0 ? 1 : code);
}

// Rewrites the first number of a scaled linear measure's text.
void RewriteValue(std::string& value, const Point* points, double sx, double sy, double angle) {
  std::size_t start = value.find_first_of("+-.0123456789");
  if (start == std::string::npos) return;
  std::size_t end = start;
  double old = 0;
  ReadNumber(value, end, old);
  const auto span = std::string_view(value).substr(start, end - start);
  if (span.find_first_of("0123456789") == std::string_view::npos) return;
  const double number =
      SameValue(std::fabs(sx), std::fabs(sy)) != 0
          ? old * std::fabs(sx)
          : Projection(points[2].x - points[1].x, points[2].y - points[1].y, angle, 1);
  value =
      value.substr(0, start) + NumberToText(number, kValueStep, kValueWidth) + value.substr(end);
}

} // namespace

double MeasureAngleInRange(double angle) {
  if (!std::isfinite(angle)) return 0;
  // Whole turns first, so that a wild angle from a file cannot keep the loop going.
  angle = std::fmod(angle, kFullTurn);
  while (angle > kUpperAngle) angle -= kHalfTurn;
  while (angle < kLowerAngle) angle += kHalfTurn;
  return angle;
}

void PlaceText(TextElement& t, Point* points, int count, std::string* value,
               const Transform& placement, double sx, double sy, double angle) {
  for (int i = 0; i < count; ++i) ApplyTransform(placement, points[i].x, points[i].y);
  if (DiffersFromOne(sx) || DiffersFromOne(sy)) ScaleHeight(t, sx, sy);
  double a = t.angle();
  if (sx < 0) {
    a = -a;
    t.SetPositioning(MirrorAcross(t.positioning()));
  }
  if (sy < 0) {
    a = -a;
    t.SetPositioning(MirrorUpDown(t.positioning()));
  }
  a += std::trunc(angle);
  if (t.mitta() != 0) a = MeasureAngleInRange(a);
  t.SetAngle(a);
  if (t.mitta() == kLinearMeasure && value != nullptr && count >= kLinearPoints &&
      (DiffersFromOne(sx) || DiffersFromOne(sy)))
    RewriteValue(*value, points, sx, sy, a);
  if (t.mitta() == kAngleMeasure && sx * sy < 0 && count >= kAnglePoints) {
    std::swap(points[1], points[3]);
    std::swap(points[2], points[4]);
  }
}

int ReplaceString(TextElement& t, std::string_view s, std::uint32_t& changes,
                  StoreAllocator& allocator, MessageSink& sink) {
  s = s.substr(0, std::min(s.find('\0'), kMaxStringLength));
  if (t.text != nullptr && s == std::string_view(t.text)) return 1;
  char* copy = static_cast<char*>(allocator.Allocate(s.size() + 1));
  if (copy == nullptr) {
    sink.Show(MessageKind::kError, "Memory overflow !");
    return 0;
  }
  std::memcpy(copy, s.data(), s.size());
  copy[s.size()] = '\0';
  if (t.text != nullptr) allocator.Free(t.text);
  t.text = copy;
  ++changes;
  return 1;
}

} // namespace lumora
