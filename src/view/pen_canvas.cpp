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

inline void PenCanvas::Push(PixelPoint p) {
  batch_[batchSize_++] = p;
  if (batchSize_ + 2 > kBatchPixels) FlushBatch();
}

// The walk of a one-pixel pen between two pixels of the clip, as almost every segment of a
// redraw is: every pixel between them lies in the clip too, so the steps are those of the
// general walk from its first, without its cutting.
//
// Most segments of a redraw end in the pixel they start from or in a neighbour of it; their walk
// is the pixel and then the other one if it differs, written without a branch on the direction.
inline void PenCanvas::PaintInside(PixelPoint a, PixelPoint b) {
  const std::int64_t dx = b.x - a.x;
  const std::int64_t dy = b.y - a.y;
  if (static_cast<std::uint64_t>(dx + 1) <= 2 && static_cast<std::uint64_t>(dy + 1) <= 2) {
    const unsigned moved = (dx | dy) != 0 ? 1u : 0u;
    const unsigned bit = stripCounter_;
    PixelPoint* out = batch_.data() + batchSize_;
    out[0] = a;
    std::size_t n = (pattern_ >> bit) & 1u;
    out[n] = b;
    n += moved & (pattern_ >> ((bit + 1) & kTopBit));
    stripCounter_ = (bit + 1 + moved) & kTopBit;
    batchSize_ += n;
    if (batchSize_ + 2 > kBatchPixels) FlushBatch();
    return;
  }
  const std::int64_t adx = dx < 0 ? -dx : dx;
  const std::int64_t ady = dy < 0 ? -dy : dy;
  const bool xMajor = adx >= ady;
  const std::int64_t dMajor = xMajor ? adx : ady;
  const std::int64_t dMinor = xMajor ? ady : adx;
  const std::int64_t sMajor = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const std::int64_t sMinor = (xMajor ? dy : dx) < 0 ? -1 : 1;
  std::int64_t major = xMajor ? a.x : a.y;
  std::int64_t minor = xMajor ? a.y : a.x;
  std::int64_t error = -(dMajor / 2);
  unsigned bit = stripCounter_;
  for (std::int64_t i = 0;; ++i) {
    if ((pattern_ >> bit) & 1u) Push(xMajor ? PixelPoint{major, minor} : PixelPoint{minor, major});
    bit = (bit + 1) & kTopBit;
    if (i == dMajor) break;
    major += sMajor;
    error += dMinor;
    if (error > 0) {
      error -= dMajor;
      minor += sMinor;
    }
  }
  stripCounter_ = bit;
}

// A strip through many points, as a figure's vertices are. While the ordinary one-pixel pen goes
// from points of the far square to others, the segments are those of LineTo with each pixel
// found once; anything else goes through LineTo itself.
void PenCanvas::LineStrip(std::span<const CanvasPoint> points) {
  std::size_t k = 0;
  while (k < points.size()) {
    if (hasCurrent_ && stripOpen_ && !Inverting() && width_ == 1 &&
        InFarSquare(currentX_, currentY_, currentX_, currentY_)) {
      PixelPoint a{FloorOf(currentX_), FloorOf(currentY_)};
      bool aInside = Contains(penClip_, a.x, a.y);
      for (; k < points.size(); ++k) {
        const CanvasPoint& p = points[k];
        if (!InFarSquare(p.x, p.y, p.x, p.y)) break;
        const PixelPoint b{FloorOf(p.x), FloorOf(p.y)};
        const bool bInside = Contains(penClip_, b.x, b.y);
        if (aInside && bInside) {
          PaintInside(a, b);
        } else {
          PaintWalk(a, b);
        }
        currentX_ = p.x;
        currentY_ = p.y;
        a = b;
        aInside = bInside;
      }
      if (k == points.size()) break;
    }
    PenCanvas::LineTo(points[k].x, points[k].y);
    ++k;
  }
}

// The same strip with its pixels known to lie in the clip: only the current point is checked.
void PenCanvas::LineStripInside(std::span<const CanvasPoint> points, const CanvasPixel* pixels) {
  if (points.empty()) return;
  if (!hasCurrent_ || !stripOpen_ || Inverting() || width_ != 1 ||
      !InFarSquare(currentX_, currentY_, currentX_, currentY_)) {
    LineStrip(points);
    return;
  }
  PixelPoint a{FloorOf(currentX_), FloorOf(currentY_)};
  if (!Contains(penClip_, a.x, a.y)) {
    LineStrip(points);
    return;
  }
  if (pattern_ == kSolidPattern) {
    SolidInside(a, pixels, points.size());
  } else {
    for (std::size_t k = 0; k < points.size(); ++k) {
      const PixelPoint b{pixels[k].x, pixels[k].y};
      PaintInside(a, b);
      a = b;
    }
  }
  currentX_ = points.back().x;
  currentY_ = points.back().y;
}

// With the solid pen every step paints all its pixels, and a short step's first pixel is the last
// one painted: each short step adds only its end, when it moved. The count runs on as PaintInside
// runs it.
void PenCanvas::SolidInside(PixelPoint a, const CanvasPixel* pixels, std::size_t count) {
  PixelPoint* const out = batch_.data();
  std::size_t size = batchSize_;
  unsigned counter = stripCounter_;
  out[size++] = a;
  for (std::size_t k = 0; k < count; ++k) {
    const PixelPoint b{pixels[k].x, pixels[k].y};
    if (static_cast<std::uint64_t>(b.x - a.x + 1) <= 2 &&
        static_cast<std::uint64_t>(b.y - a.y + 1) <= 2) {
      const unsigned moved = b == a ? 0u : 1u;
      out[size] = b;
      size += moved;
      counter = (counter + 1 + moved) & kTopBit;
    } else {
      batchSize_ = size;
      stripCounter_ = counter;
      PaintInside(a, b);
      size = batchSize_;
      counter = stripCounter_;
    }
    if (size + 2 > kBatchPixels) {
      batchSize_ = size;
      FlushBatch();
      size = 0;
    }
    a = b;
  }
  batchSize_ = size;
  stripCounter_ = counter;
}

void PenCanvas::EndPath() {
  EndStrip(true);
  touched_.clear();
  hasCurrent_ = false;
  width_ = 1;
}

void PenCanvas::EndStrip(bool flush) {
  stripOpen_ = false;
  FlushBatch();
  if (flush) Flush();
}

// A wide line is a run of pixels across its minor axis at every step, centred on the step. Both
// canvases paint exactly these pixels, so the window shows what the software canvas shows.
//
// The ordinary pen's pixels wait in the batch until the strip ends or the batch is full: painting
// is the same in any order within one colour, and a strip is drawn in one colour.
void PenCanvas::PaintSegment(double x0, double y0, double x1, double y1) {
  if (InFarSquare(x0, y0, x1, y1)) {
    const PixelPoint a{FloorOf(x0), FloorOf(y0)};
    const PixelPoint b{FloorOf(x1), FloorOf(y1)};
    if (width_ == 1 && Contains(penClip_, a.x, a.y) && Contains(penClip_, b.x, b.y)) {
      PaintInside(a, b);
      return;
    }
    PaintWalk(a, b);
    return;
  }
  if (!ClipToFarSquare(x0, y0, x1, y1)) return;
  PaintWalk(PixelOf(x0, y0), PixelOf(x1, y1));
}

void PenCanvas::PaintWalk(PixelPoint a, PixelPoint b) {
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
      Push({x, y});
      return;
    }
    const std::int64_t minor = xMajor ? y : x;
    const std::int64_t from = std::max<std::int64_t>(minor - before, minorLo);
    const std::int64_t to = std::min<std::int64_t>(minor + after, minorHi);
    for (std::int64_t m = from; m <= to; ++m) {
      Push(xMajor ? PixelPoint{x, m} : PixelPoint{m, y});
    }
  });
  stripCounter_ = static_cast<unsigned>((stripCounter_ + steps) % kPatternBits);
}

void PenCanvas::Plot(std::int64_t x, std::int64_t y, const PixelRect& clip) {
  const bool on = (pattern_ >> (kTopBit - counter_ % kPatternBits)) & 1u;
  ++counter_;
  if (!on || !Contains(clip, x, y)) return;
  if (Inverting() && !touched_.insert(Key(x, y)).second) return;
  Push({x, y});
}

void PenCanvas::FlushBatch() {
  if (batchSize_ == 0) return;
  const std::span<const PixelPoint> pixels(batch_.data(), batchSize_);
  batchSize_ = 0;
  if (Inverting()) {
    InvertPixels(pixels);
  } else {
    PaintPixels(pixels, colour_.rgb);
  }
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
