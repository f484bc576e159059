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

} // namespace

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
  return true;
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
}

void SoftCanvas::PaintPixels(std::span<const PixelPoint> pixels, Rgb colour) {
  for (const PixelPoint& p : pixels) {
    if (Contains({0, 0, width_, height_}, p.x, p.y)) Set(p.x, p.y, colour);
  }
}

void SoftCanvas::FillRect(const PixelRect& rect, Rgb colour) {
  const PixelRect r = Intersect(rect, {0, 0, width_, height_});
  for (int y = r.y; y < r.y + r.height; ++y) {
    for (int x = r.x; x < r.x + r.width; ++x) Set(x, y, colour);
  }
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
}

} // namespace lumora
