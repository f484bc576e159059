// The screen of the window: the canvas calls in OpenGL. Needs the window's GL context to be
// current whenever it is used; the window code calls SetSize on every reshape.
//
// The projection is orthographic over the whole window, one unit per pixel, origin at the lower
// left. The pen's pixels are decided by the shared pen protocol, exactly as the in-memory canvas
// decides them; here they are queued and sent in few calls: a straight row or column of them as
// one rectangle, the rest as points, each with its colour, the inverting pen with an inverting
// logic operation. A figure's pixels wait in the queue until something else is drawn, the pen
// turns to or from inversion, the queue is full, or the canvas is flushed, so a redraw of many
// small elements of many colours costs few GL calls.
#pragma once

#include "view/pen_canvas.h"

#include <cstdint>
#include <vector>

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

  void EndPath() override;
  void FillRect(const PixelRect& rect, Rgb colour) override;
  void DrawGlyphs(int x, int y, std::string_view text, Rgb colour) override;
  bool ReadBlock(const PixelRect& rect, PixelBlock& block) override;
  void WriteBlock(const PixelBlock& block) override;
  void Flush() override;

protected:
  void InvertPixels(std::span<const PixelPoint> pixels) override;
  void PaintPixels(std::span<const PixelPoint> pixels, Rgb colour) override;

private:
  enum class Ink { kPaint, kInvert };

  // A queue of one primitive: the vertices and, for the ordinary pen, a colour for each.
  struct Batch {
    std::vector<float> xy;
    std::vector<std::uint8_t> rgb;
    void Clear() {
      xy.clear();
      rgb.clear();
    }
  };

  void Queue(std::span<const PixelPoint> pixels, Ink ink, Rgb colour);
  void QueueRun(const PixelPoint& first, const PixelPoint& last, Rgb colour);
  // Sends the queued pixels to GL and empties the queue.
  void Send();
  void Draw(const Batch& batch, unsigned mode);

  int width_ = 0;
  int height_ = 0;
  unsigned glyphBase_ = 0; // first of 256 display lists, one per byte value; 0 = not built
  bool endingPath_ = false;
  Ink ink_ = Ink::kPaint; // of the queued pixels
  Batch points_;          // pixel centres
  Batch quads_;           // four corners of each run's rectangle
};

} // namespace lumora
