#include "view/canvas.h"

#include <cmath>

namespace lumora {
namespace {

constexpr std::uint8_t kFull = 255;
constexpr std::uint8_t kHalf = 128; // 0.5 as the display stores it
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{kFull, kFull, kFull};
constexpr Rgb kGrey{kHalf, kHalf, kHalf};
constexpr Rgb kPink{kFull, kHalf, kFull};

constexpr int kHighlightFrom = 100;
constexpr int kEraseScale = 100;
constexpr double kPixelCountBelow = 0.001;

enum Style { kStyleLongDash = 2, kStyleDots = 3, kStyleDashDot = 4 };

enum Colour {
  kColourForeground = 1,
  kColourBlue,
  kColourGreen,
  kColourCyan,
  kColourRed,
  kColourMagenta,
  kColourYellow,
  kColourGrey,
};

} // namespace

std::uint16_t StipplePattern(int style) {
  switch (style) {
  case kStyleLongDash:
    return kLongDashPattern;
  case kStyleDots:
    return kDotPattern;
  case kStyleDashDot:
    return kDashDotPattern;
  default:
    return kSolidPattern;
  }
}

Rgb BackgroundColour(Background background) {
  return background == Background::kDark ? kBlack : kWhite;
}

Rgb ForegroundColour(Background background) {
  return background == Background::kDark ? kWhite : kBlack;
}

PenColour ResolvePenColour(int colourValue, Background background) {
  if (colourValue == kInvertingColour) return {true, {}};
  if (colourValue >= kHighlightFrom) return {false, kGrey};
  if (colourValue <= -kHighlightFrom) colourValue /= kEraseScale;
  if (colourValue < 0) return {false, BackgroundColour(background)};
  switch (colourValue) {
  case kColourBlue:
    return {false, {0, 0, kFull}};
  case kColourGreen:
    return {false, {0, kFull, 0}};
  case kColourCyan:
    return {false, {0, kFull, kFull}};
  case kColourRed:
    return {false, {kFull, 0, 0}};
  case kColourMagenta:
    return {false, {kFull, 0, kFull}};
  case kColourYellow:
    return {false, background == Background::kDark ? Rgb{kFull, kFull, 0} : kPink};
  case kColourGrey:
    return {false, kGrey};
  default:
    return {false, ForegroundColour(background)};
  }
}

double PenWidthPixels(double width, double paperUnit, double pixelsPerUnit) {
  double pixels = 1.0;
  if (std::isnan(width)) return pixels;
  if (width < kPixelCountBelow) {
    pixels = -width;
  } else {
    pixels = std::fabs(paperUnit * pixelsPerUnit) * width;
  }
  if (!(pixels >= 1.0)) return 1.0; // also catches a NaN scale
  return pixels > kMaxLineWidthPixels ? kMaxLineWidthPixels : pixels;
}

} // namespace lumora
