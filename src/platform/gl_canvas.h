// The screen of the window: the canvas calls in immediate-mode OpenGL. Needs the window's GL
// context to be current whenever it is used; the window code calls SetSize on every reshape.
//
// The projection is orthographic over the whole window, one unit per pixel, origin at the lower
// left; pen primitives are clipped with the scissor box. The inverting pen plots exactly the
// pixels the in-memory canvas would, as points drawn with an inverting logic operation.
#pragma once

#include "view/pen_canvas.h"

namespace lumora {

class GlCanvas final : public PenCanvas {
public:
  GlCanvas(int width, int height) : width_(width), height_(height) {}

  // Sets the viewport and the projection for a window of this size.
  void SetSize(int width, int height);

  int Width() const override { return width_; }
  int Height() const override { return height_; }

  // Builds the display lists of the screen characters; DrawGlyphs builds them on first use.
  void InitScreenCharacters();

  void FillRect(const PixelRect& rect, Rgb colour) override;
  void DrawGlyphs(int x, int y, std::string_view text, Rgb colour) override;
  bool ReadBlock(const PixelRect& rect, PixelBlock& block) override;
  void WriteBlock(const PixelBlock& block) override;
  void Flush() override;

protected:
  void InvertPixels(std::span<const PixelPoint> pixels) override;
  void PaintPixels(std::span<const PixelPoint> pixels, Rgb colour) override;

private:
  void ScissorToClip();
  void Points(std::span<const PixelPoint> pixels);

  int width_ = 0;
  int height_ = 0;
  unsigned glyphBase_ = 0; // first of 256 display lists, one per byte value; 0 = not built
};

} // namespace lumora
