#include "view/pen_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

namespace lumora {
namespace {

constexpr unsigned kPatternBits = 16;
constexpr unsigned kTopBit = kPatternBits - 1;

int WholeWidth(double widthPixels) {
  if (!(widthPixels >= 1.0)) return 1;
  if (widthPixels > kMaxLineWidthPixels) widthPixels = kMaxLineWidthPixels;
  return static_cast<int>(std::lround(widthPixels));
}

std::uint64_t Key(std::int64_t x, std::int64_t y) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(x)) << 32) |
         static_cast<std::uint32_t>(y);
}

constexpr std::size_t kChannels = 3;

std::size_t BlockBytes(const PixelRect& r) {
  return std::size_t(r.width) * std::size_t(r.height) * kChannels;
}

} // namespace

bool PenCanvas::PrepareBlock(const PixelRect& rect, PixelBlock& block) const {
  block = {};
  const PixelRect r = Intersect(rect, {0, 0, Width(), Height()});
  try {
    block.rgb.resize(BlockBytes(r));
  } catch (const std::bad_alloc&) {
    block = {};
    return false;
  }
  block.rect = r;
  return true;
}

bool PenCanvas::BlockFits(const PixelBlock& block) {
  const PixelRect& r = block.rect;
  return r.width > 0 && r.height > 0 && block.rgb.size() == BlockBytes(r);
}

PixelRect PenCanvas::Clip() const {
  const PixelRect window{0, 0, Width(), Height()};
  return clip_ ? Intersect(*clip_, window) : window;
}

void PenCanvas::SetPen(int colourValue, int style, double widthPixels) {
  EndStrip(false);
  touched_.clear();
  colour_ = ResolvePenColour(colourValue, background_);
  pattern_ = StipplePattern(style);
  width_ = WholeWidth(widthPixels);
  hasCurrent_ = false;
  counter_ = 0;
}

void PenCanvas::MoveTo(double x, double y) {
  EndStrip(false);
  penClip_ = Clip();
  counter_ = 0;
  hasCurrent_ = std::isfinite(x) && std::isfinite(y);
  currentX_ = x;
  currentY_ = y;
  if (!hasCurrent_ || Inverting()) return;
  stripOpen_ = true;
  stripCounter_ = 0;
}

void PenCanvas::LineTo(double x, double y) {
  // Without a current point there is nothing to draw from: the point starts the path.
  if (!hasCurrent_ || (!Inverting() && !stripOpen_)) {
    MoveTo(x, y);
    return;
  }
  if (!std::isfinite(x) || !std::isfinite(y)) {
    EndStrip(false);
    hasCurrent_ = false;
    return;
  }
  if (Inverting()) {
    InvertSegment(currentX_, currentY_, x, y);
  } else {
    PaintSegment(currentX_, currentY_, x, y);
  }
  currentX_ = x;
  currentY_ = y;
}

void PenCanvas::EndPath() {
  EndStrip(true);
  touched_.clear();
  hasCurrent_ = false;
  width_ = 1;
}

void PenCanvas::EndStrip(bool flush) {
  stripOpen_ = false;
  if (flush) Flush();
}

// A wide line is a run of pixels across its minor axis at every step, centred on the step. Both
// canvases paint exactly these pixels, so the window shows what the software canvas shows.
void PenCanvas::PaintSegment(double x0, double y0, double x1, double y1) {
  if (!InFarSquare(x0, y0, x1, y1) && !ClipToFarSquare(x0, y0, x1, y1)) return;
  const PixelPoint a = PixelOf(x0, y0);
  const PixelPoint b = PixelOf(x1, y1);
  const bool xMajor = std::llabs(b.x - a.x) >= std::llabs(b.y - a.y);
  const int before = width_ / 2;
  const int after = width_ - before - 1;
  const PixelRect& clip = penClip_;
  const std::int64_t minorLo = xMajor ? clip.y : clip.x;
  const std::int64_t minorHi = minorLo + (xMajor ? clip.height : clip.width) - 1;
  const unsigned counter = stripCounter_;
  const std::uint16_t pattern = pattern_;
  // The walk keeps to the clip, the run of a wide step is cut to it here.
  const std::int64_t steps = WalkSegment(a, b, clip, {before, after}, [&](auto x, auto y, auto i) {
    // Stipple bits are taken from the low end first, as the display does for ordinary lines.
    const unsigned bit = (counter + static_cast<unsigned>(i % kPatternBits)) % kPatternBits;
    if (!((pattern >> bit) & 1u)) return;
    if (width_ == 1) {
      batch_.push_back({x, y});
      return;
    }
    const std::int64_t minor = xMajor ? y : x;
    const std::int64_t from = std::max<std::int64_t>(minor - before, minorLo);
    const std::int64_t to = std::min<std::int64_t>(minor + after, minorHi);
    for (std::int64_t m = from; m <= to; ++m) {
      batch_.push_back(xMajor ? PixelPoint{x, m} : PixelPoint{m, y});
    }
  });
  stripCounter_ = static_cast<unsigned>((stripCounter_ + steps) % kPatternBits);
  FlushBatch();
}

void PenCanvas::Plot(std::int64_t x, std::int64_t y, const PixelRect& clip) {
  const bool on = (pattern_ >> (kTopBit - counter_ % kPatternBits)) & 1u;
  ++counter_;
  if (!on || !Contains(clip, x, y)) return;
  if (Inverting() && !touched_.insert(Key(x, y)).second) return;
  batch_.push_back({x, y});
}

void PenCanvas::FlushBatch() {
  if (batch_.empty()) return;
  if (Inverting()) {
    InvertPixels(batch_);
  } else {
    PaintPixels(batch_, colour_.rgb);
  }
  batch_.clear();
}

void PenCanvas::InvertSegment(double x0, double y0, double x1, double y1) {
  if (!InFarSquare(x0, y0, x1, y1) && !ClipToFarSquare(x0, y0, x1, y1)) return;
  const PixelRect& clip = penClip_;
  const unsigned start = counter_;
  const std::int64_t steps =
      WalkSegment(PixelOf(x0, y0), PixelOf(x1, y1), clip, [&](auto x, auto y, auto i) {
        counter_ = start + static_cast<unsigned>(i % kPatternBits);
        Plot(x, y, clip);
      });
  counter_ = start + static_cast<unsigned>(steps % kPatternBits);
  FlushBatch();
}

void PenCanvas::Ring(double cx, double cy, double radius, const std::optional<Sector>& sector) {
  if (!std::isfinite(cx) || !std::isfinite(cy) || !(radius >= 0.0)) return;
  if (radius > double(kMaxRingRadius)) return;
  const PixelPoint centre = PixelOf(cx, cy);
  const auto r = static_cast<std::int64_t>(radius);
  const PixelRect clip = Clip();
  if (RingMisses(centre, r, clip)) return;
  WalkRing(centre, r, [&](auto x, auto y, auto ox, auto oy) {
    if (sector && !sector->Contains(ox, oy)) return;
    Plot(x, y, clip);
  });
  FlushBatch();
}

void PenCanvas::Circle(double cx, double cy, double radius) {
  EndStrip(false);
  Ring(cx, cy, radius, std::nullopt);
}

void PenCanvas::Arc(double cx, double cy, double radius, double startX, double startY, double endX,
                    double endY) {
  EndStrip(false);
  if (!std::isfinite(startX) || !std::isfinite(startY) || !std::isfinite(endX) ||
      !std::isfinite(endY)) {
    return;
  }
  Ring(cx, cy, radius,
       Sector(DirectionOf(cx, cy, startX, startY), DirectionOf(cx, cy, endX, endY)));
}

} // namespace lumora
