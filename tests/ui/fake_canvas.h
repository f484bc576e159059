// A small framebuffer canvas for the text-window tests: fills and pixel blocks are exact, each
// glyph paints its 8x13 box in its colour, and every glyph string is remembered with its place
// and colour. Reads can be made to fail like an exhausted memory.
#pragma once

#include "view/canvas.h"

#include <algorithm>
#include <string>
#include <vector>

namespace lumora {

struct GlyphCall {
  int x;
  int y;
  std::string text;
  Rgb colour;
};

class FakeCanvas final : public Canvas {
public:
  FakeCanvas(int width, int height)
      : width_(width), height_(height), pixels_(static_cast<std::size_t>(width * height)) {}

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetBackground(Background background) override { background_ = background; }
  Background GetBackground() const override { return background_; }
  void SetClip(const PixelRect&) override {}
  PixelRect Clip() const override { return {0, 0, width_, height_}; }
  void SetPen(int, int, double) override {}
  void MoveTo(double, double) override {}
  void LineTo(double, double) override {}
  void EndPath() override {}
  void Circle(double, double, double) override {}
  void Arc(double, double, double, double, double, double, double) override {}
  void Flush() override {}

  void FillRect(const PixelRect& r, Rgb colour) override {
    for (int y = std::max(r.y, 0); y < std::min(r.y + r.height, height_); ++y) {
      for (int x = std::max(r.x, 0); x < std::min(r.x + r.width, width_); ++x) At(x, y) = colour;
    }
  }

  void DrawGlyphs(int x, int y, std::string_view text, Rgb colour) override {
    glyphs.push_back({x, y, std::string(text), colour});
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] != ' ') {
        FillRect(
            {x + static_cast<int>(i) * kGlyphAdvance, y - kGlyphOriginY, kGlyphWidth, kGlyphHeight},
            colour);
      }
    }
  }

  bool ReadBlock(const PixelRect& rect, PixelBlock& block) override {
    block = {};
    if (failReads) return false;
    const int x0 = std::max(rect.x, 0), y0 = std::max(rect.y, 0);
    const int x1 = std::min(rect.x + rect.width, width_),
              y1 = std::min(rect.y + rect.height, height_);
    block.rect = {x0, y0, std::max(x1 - x0, 0), std::max(y1 - y0, 0)};
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) {
        block.rgb.insert(block.rgb.end(), {At(x, y).r, At(x, y).g, At(x, y).b});
      }
    }
    return true;
  }

  void WriteBlock(const PixelBlock& block) override {
    const PixelRect& r = block.rect;
    if (block.rgb.size() != static_cast<std::size_t>(r.width * r.height * 3)) return;
    std::size_t i = 0;
    for (int y = r.y; y < r.y + r.height; ++y) {
      for (int x = r.x; x < r.x + r.width; ++x, i += 3) {
        At(x, y) = {block.rgb[i], block.rgb[i + 1], block.rgb[i + 2]};
      }
    }
  }

  Rgb Pixel(int x, int y) const { return pixels_[static_cast<std::size_t>(y * width_ + x)]; }
  const std::vector<Rgb>& Pixels() const { return pixels_; }

  std::vector<GlyphCall> glyphs;
  bool failReads = false;

private:
  Rgb& At(int x, int y) { return pixels_[static_cast<std::size_t>(y * width_ + x)]; }

  int width_;
  int height_;
  Background background_ = Background::kLight;
  std::vector<Rgb> pixels_;
};

} // namespace lumora
