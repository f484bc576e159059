#include "view/soft_canvas.h"

#include "view/screen_font.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace lumora {
namespace {

constexpr int kChannels = 3;
constexpr std::uint8_t kAllBits = 0xFF;
constexpr std::uint8_t kLeftmostPixel = 0x80;
// Pixels a merged rectangle may hold beyond its two parts and still count as close: a copy of
// them costs less than one more rectangle.
constexpr std::int64_t kMergeSlack = 4096;

std::int64_t Area(const PixelRect& r) {
  return std::int64_t{r.width} * r.height;
}

bool Covers(const PixelRect& outer, const PixelRect& inner) {
  return inner.x >= outer.x && inner.y >= outer.y &&
         std::int64_t{inner.x} + inner.width <= std::int64_t{outer.x} + outer.width &&
         std::int64_t{inner.y} + inner.height <= std::int64_t{outer.y} + outer.height;
}

PixelRect Union(const PixelRect& a, const PixelRect& b) {
  const int x0 = std::min(a.x, b.x);
  const int y0 = std::min(a.y, b.y);
  const int x1 = std::max(a.x + a.width, b.x + b.width);
  const int y1 = std::max(a.y + a.height, b.y + b.height);
  return {x0, y0, x1 - x0, y1 - y0};
}

// The pixels of the union of a and b that neither holds.
std::int64_t Waste(const PixelRect& a, const PixelRect& b) {
  const PixelRect both = Intersect(a, b);
  const std::int64_t shared = both.width > 0 && both.height > 0 ? Area(both) : 0;
  return Area(Union(a, b)) - Area(a) - Area(b) + shared;
}

} // namespace

void ChangedRects::Add(const PixelRect& r) {
  if (r.width <= 0 || r.height <= 0) return;
  for (std::size_t k = 0; k < count_; ++k) {
    if (Covers(rects_[k], r)) return;
  }
  for (std::size_t k = 0; k < count_; ++k) {
    if (Waste(rects_[k], r) <= kMergeSlack) {
      rects_[k] = Union(rects_[k], r);
      Absorb(k);
      return;
    }
  }
  rects_[count_++] = r;
  if (count_ <= kLimit) return;
  std::size_t bestI = 0;
  std::size_t bestJ = 1;
  std::int64_t best = Waste(rects_[0], rects_[1]);
  for (std::size_t i = 0; i < count_; ++i) {
    for (std::size_t j = i + 1; j < count_; ++j) {
      const std::int64_t waste = Waste(rects_[i], rects_[j]);
      if (waste < best) {
        best = waste;
        bestI = i;
        bestJ = j;
      }
    }
  }
  rects_[bestI] = Union(rects_[bestI], rects_[bestJ]);
  Drop(bestJ);
  Absorb(bestI < count_ ? bestI : bestJ);
}

void ChangedRects::Drop(std::size_t k) {
  rects_[k] = rects_[--count_];
}

void ChangedRects::Absorb(std::size_t k) {
  for (std::size_t j = 0; j < count_;) {
    if (j == k || Waste(rects_[k], rects_[j]) > kMergeSlack) {
      ++j;
      continue;
    }
    rects_[k] = Union(rects_[k], rects_[j]);
    Drop(j);
    if (k == count_) k = j; // the last one, moved into the gap
    j = 0;
  }
}

SoftCanvas::SoftCanvas(int width, int height) {
  Resize(width, height);
}

bool SoftCanvas::Resize(int width, int height) {
  if (width <= 0 || height <= 0 || width > kMaxCanvasSide || height > kMaxCanvasSide) {
    return false;
  }
  try {
    std::vector<std::uint8_t> fresh(std::size_t(width) * std::size_t(height) * kChannels, 0);
    pixels_.swap(fresh);
  } catch (const std::bad_alloc&) {
    return false;
  }
  width_ = width;
  height_ = height;
  SizeChanged();
  changed_.Clear();
  if (tracking_) ChangedAll();
  return true;
}

void SoftCanvas::TrackChanges(bool on) {
  tracking_ = on;
  changed_.Clear();
}

void SoftCanvas::ChangedAll() {
  changed_.Clear();
  Touch({0, 0, width_, height_});
}

void SoftCanvas::Touch(const PixelRect& r) {
  if (tracking_) changed_.Add(Intersect(r, {0, 0, width_, height_}));
}

void SoftCanvas::Touch(std::span<const PixelPoint> pixels) {
  if (!tracking_ || pixels.empty()) return;
  std::int64_t x0 = pixels[0].x;
  std::int64_t x1 = x0;
  std::int64_t y0 = pixels[0].y;
  std::int64_t y1 = y0;
  for (const PixelPoint& p : pixels) {
    x0 = std::min(x0, p.x);
    x1 = std::max(x1, p.x);
    y0 = std::min(y0, p.y);
    y1 = std::max(y1, p.y);
  }
  x0 = std::max<std::int64_t>(x0, 0);
  y0 = std::max<std::int64_t>(y0, 0);
  x1 = std::min<std::int64_t>(x1, width_ - 1);
  y1 = std::min<std::int64_t>(y1, height_ - 1);
  if (x0 > x1 || y0 > y1) return;
  changed_.Add({int(x0), int(y0), int(x1 - x0 + 1), int(y1 - y0 + 1)});
}

Rgb SoftCanvas::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
  const std::uint8_t* p = &pixels_[(std::size_t(y) * std::size_t(width_) + std::size_t(x)) * 3];
  return {p[0], p[1], p[2]};
}

RgbImage SoftCanvas::Image() const {
  RgbImage image{width_, height_, {}};
  image.rgb.resize(pixels_.size());
  const std::size_t row = std::size_t(width_) * kChannels;
  for (int y = 0; y < height_; ++y) {
    std::copy_n(&pixels_[std::size_t(y) * row], row,
                &image.rgb[std::size_t(height_ - 1 - y) * row]);
  }
  return image;
}

bool SoftCanvas::WritePng(const std::string& path) const {
  return lumora::WritePng(path, Image());
}

void SoftCanvas::Set(std::int64_t x, std::int64_t y, Rgb colour) {
  std::uint8_t* p = At(x, y);
  p[0] = colour.r;
  p[1] = colour.g;
  p[2] = colour.b;
}

void SoftCanvas::InvertPixels(std::span<const PixelPoint> pixels) {
  for (const PixelPoint& p : pixels) {
    if (!Contains({0, 0, width_, height_}, p.x, p.y)) continue;
    std::uint8_t* q = At(p.x, p.y);
    for (int c = 0; c < kChannels; ++c) q[c] ^= kAllBits;
  }
  Touch(pixels);
}

void SoftCanvas::PaintPixels(std::span<const PixelPoint> pixels, Rgb colour) {
  for (const PixelPoint& p : pixels) {
    if (Contains({0, 0, width_, height_}, p.x, p.y)) Set(p.x, p.y, colour);
  }
  Touch(pixels);
}

void SoftCanvas::FillRect(const PixelRect& rect, Rgb colour) {
  const PixelRect r = Intersect(rect, {0, 0, width_, height_});
  for (int y = r.y; y < r.y + r.height; ++y) {
    for (int x = r.x; x < r.x + r.width; ++x) Set(x, y, colour);
  }
  Touch(r);
}

void SoftCanvas::DrawGlyphs(int x, int y, std::string_view text, Rgb colour) {
  const PixelRect window{0, 0, width_, height_};
  std::int64_t left = x;
  const std::int64_t bottom = std::int64_t{y} - kGlyphOriginY;
  for (const char c : text) {
    const auto glyph = ScreenGlyph(static_cast<unsigned char>(c));
    for (std::size_t row = 0; row < glyph.size(); ++row) {
      for (int col = 0; col < kGlyphWidth; ++col) {
        if (!(glyph[row] & (kLeftmostPixel >> col))) continue;
        const std::int64_t px = left + col;
        const std::int64_t py = bottom + std::int64_t(row);
        if (Contains(window, px, py)) Set(px, py, colour);
      }
    }
    left += kGlyphAdvance;
    if (left >= width_) break;
  }
  if (!tracking_ || left <= x) return;
  // The glyph cells drawn, cut to the canvas before they are narrowed to int.
  const std::int64_t from = std::max<std::int64_t>(x, 0);
  const std::int64_t to = std::min<std::int64_t>(left, width_);
  const std::int64_t low = std::max<std::int64_t>(bottom, 0);
  const std::int64_t high = std::min<std::int64_t>(bottom + kGlyphHeight, height_);
  if (from >= to || low >= high) return;
  Touch({int(from), int(low), int(to - from), int(high - low)});
}

bool SoftCanvas::ReadBlock(const PixelRect& rect, PixelBlock& block) {
  if (!PrepareBlock(rect, block)) return false;
  const PixelRect& r = block.rect;
  const std::size_t row = std::size_t(r.width) * kChannels;
  for (int j = 0; j < r.height; ++j) {
    std::copy_n(At(r.x, r.y + j), row, &block.rgb[std::size_t(j) * row]);
  }
  return true;
}

void SoftCanvas::WriteBlock(const PixelBlock& block) {
  if (!BlockFits(block)) return;
  const PixelRect& r = block.rect;
  const PixelRect window{0, 0, width_, height_};
  for (int j = 0; j < r.height; ++j) {
    for (int i = 0; i < r.width; ++i) {
      const std::int64_t x = std::int64_t{r.x} + i;
      const std::int64_t y = std::int64_t{r.y} + j;
      if (!Contains(window, x, y)) continue;
      const std::uint8_t* p = &block.rgb[(std::size_t(j) * std::size_t(r.width) + i) * kChannels];
      Set(x, y, {p[0], p[1], p[2]});
    }
  }
  Touch(r);
}

} // namespace lumora
