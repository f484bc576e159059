#include "platform/gl_canvas.h"

#define GL_GLEXT_PROTOTYPES 1
#include "view/screen_font.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <algorithm>

namespace lumora {
namespace {

constexpr int kByteValues = 256;
constexpr GLint kDefaultAlignment = 4;
constexpr float kPixelCentre = 0.5f;
// Coordinates queued before they are sent: bounded, so a huge figure never holds much memory.
constexpr std::size_t kQueueLimit = std::size_t{1} << 17;
constexpr int kQuadCorners = 4;

} // namespace

void GlCanvas::SetSize(int width, int height) {
  Send();
  width_ = width > 0 ? width : 0;
  height_ = height > 0 ? height : 0;
  glViewport(0, 0, width_, height_);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0.0, width_, 0.0, height_, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void GlCanvas::InitScreenCharacters() {
  if (glyphBase_ != 0) return;
  glyphBase_ = glGenLists(kByteValues);
  if (glyphBase_ == 0) return;
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  for (int code = 0; code < kByteValues; ++code) {
    const auto glyph = ScreenGlyph(static_cast<unsigned char>(code));
    glNewList(glyphBase_ + code, GL_COMPILE);
    // A code without a glyph still takes its place, so the text stays on its grid.
    if (glyph.empty()) {
      glBitmap(0, 0, 0, 0, kGlyphAdvance, 0, nullptr);
    } else {
      glBitmap(kGlyphWidth, kGlyphHeight, 0, kGlyphOriginY, kGlyphAdvance, 0, glyph.data());
    }
    glEndList();
  }
  glPixelStorei(GL_UNPACK_ALIGNMENT, kDefaultAlignment);
}

// The pixels of one figure end at EndPath, and the pen protocol flushes there; the window flushes
// after every event anyway, so a figure's pixels stay queued with the next figures'.
void GlCanvas::EndPath() {
  endingPath_ = true;
  PenCanvas::EndPath();
  endingPath_ = false;
}

void GlCanvas::InvertPixels(std::span<const PixelPoint> pixels) {
  Queue(pixels, Ink::kInvert, {});
}

void GlCanvas::PaintPixels(std::span<const PixelPoint> pixels, Rgb colour) {
  Queue(pixels, Ink::kPaint, colour);
}

// Consecutive pixels one step apart along a row or a column make a run. The pen hands over
// pixels inside the clip, and the inverting pen each pixel once, so runs never overlap where
// that would matter and need no scissor.
void GlCanvas::Queue(std::span<const PixelPoint> pixels, Ink ink, Rgb colour) {
  if (pixels.empty()) return;
  if (ink != ink_) {
    Send();
    ink_ = ink;
  }
  const std::size_t n = pixels.size();
  std::size_t i = 0;
  while (i < n) {
    const PixelPoint& a = pixels[i];
    std::size_t j = i + 1;
    std::int64_t dx = 0;
    std::int64_t dy = 0;
    if (j < n) {
      dx = pixels[j].x - a.x;
      dy = pixels[j].y - a.y;
    }
    const bool straight = (dy == 0 && (dx == 1 || dx == -1)) || (dx == 0 && (dy == 1 || dy == -1));
    if (!straight) {
      points_.xy.insert(points_.xy.end(), {float(a.x) + kPixelCentre, float(a.y) + kPixelCentre});
      if (ink == Ink::kPaint) points_.rgb.insert(points_.rgb.end(), {colour.r, colour.g, colour.b});
      i = j;
    } else {
      while (j < n && pixels[j].x - pixels[j - 1].x == dx && pixels[j].y - pixels[j - 1].y == dy)
        ++j;
      QueueRun(a, pixels[j - 1], colour);
      i = j;
    }
  }
  if (points_.xy.size() + quads_.xy.size() >= kQueueLimit) Send();
}

// The rectangle over the run's pixels: polygons cover the pixels whose centres they hold, and a
// rectangle on whole pixel edges holds no centre on its edges.
void GlCanvas::QueueRun(const PixelPoint& first, const PixelPoint& last, Rgb colour) {
  const float x0 = float(std::min(first.x, last.x));
  const float y0 = float(std::min(first.y, last.y));
  const float x1 = float(std::max(first.x, last.x) + 1);
  const float y1 = float(std::max(first.y, last.y) + 1);
  quads_.xy.insert(quads_.xy.end(), {x0, y0, x1, y0, x1, y1, x0, y1});
  if (ink_ != Ink::kPaint) return;
  for (int corner = 0; corner < kQuadCorners; ++corner)
    quads_.rgb.insert(quads_.rgb.end(), {colour.r, colour.g, colour.b});
}

void GlCanvas::Draw(const Batch& batch, unsigned mode) {
  if (batch.xy.empty()) return;
  const bool coloured = ink_ == Ink::kPaint;
  if (coloured) {
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(3, GL_UNSIGNED_BYTE, 0, batch.rgb.data());
  }
  glVertexPointer(2, GL_FLOAT, 0, batch.xy.data());
  glDrawArrays(mode, 0, static_cast<GLsizei>(batch.xy.size() / 2));
  if (coloured) glDisableClientState(GL_COLOR_ARRAY);
}

void GlCanvas::Send() {
  if (points_.xy.empty() && quads_.xy.empty()) return;
  if (ink_ == Ink::kInvert) {
    glEnable(GL_COLOR_LOGIC_OP);
    glLogicOp(GL_INVERT);
  }
  glEnableClientState(GL_VERTEX_ARRAY);
  glPointSize(1.0f);
  Draw(points_, GL_POINTS);
  Draw(quads_, GL_QUADS);
  glDisableClientState(GL_VERTEX_ARRAY);
  if (ink_ == Ink::kInvert) glDisable(GL_COLOR_LOGIC_OP);
  points_.Clear();
  quads_.Clear();
}

void GlCanvas::FillRect(const PixelRect& rect, Rgb colour) {
  Send();
  const PixelRect r = Intersect(rect, {0, 0, width_, height_});
  if (r.width <= 0 || r.height <= 0) return;
  glColor3ub(colour.r, colour.g, colour.b);
  glRecti(r.x, r.y, r.x + r.width, r.y + r.height);
}

void GlCanvas::DrawGlyphs(int x, int y, std::string_view text, Rgb colour) {
  InitScreenCharacters();
  if (glyphBase_ == 0 || text.empty()) return;
  Send();
  glColor3ub(colour.r, colour.g, colour.b);
  glWindowPos2i(x, y); // latches the colour; valid even left of or below the window
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glListBase(glyphBase_);
  glCallLists(static_cast<GLsizei>(text.size()), GL_UNSIGNED_BYTE, text.data());
  glFlush();
  glPixelStorei(GL_UNPACK_ALIGNMENT, kDefaultAlignment);
}

bool GlCanvas::ReadBlock(const PixelRect& rect, PixelBlock& block) {
  Send();
  if (!PrepareBlock(rect, block)) return false;
  const PixelRect& r = block.rect;
  if (block.rgb.empty()) return true;
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(r.x, r.y, r.width, r.height, GL_RGB, GL_UNSIGNED_BYTE, block.rgb.data());
  glPixelStorei(GL_PACK_ALIGNMENT, kDefaultAlignment);
  return true;
}

void GlCanvas::WriteBlock(const PixelBlock& block) {
  if (!BlockFits(block)) return;
  Send();
  const PixelRect& r = block.rect;
  glWindowPos2i(r.x, r.y);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glDrawPixels(r.width, r.height, GL_RGB, GL_UNSIGNED_BYTE, block.rgb.data());
  glPixelStorei(GL_UNPACK_ALIGNMENT, kDefaultAlignment);
}

void GlCanvas::Flush() {
  if (endingPath_) return;
  Send();
  glFlush();
}

} // namespace lumora
