#include "platform/gl_canvas.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

namespace lumora {
namespace {

constexpr GLint kDefaultAlignment = 4;

} // namespace

GlCanvas::GlCanvas(int width, int height) : SoftCanvas(width, height) {
  TrackChanges(true);
  ChangedAll();
}

void GlCanvas::SetSize(int width, int height) {
  if (width != Width() || height != Height()) Resize(width, height);
  ChangedAll();
  const int w = width > 0 ? width : 0;
  const int h = height > 0 ? height : 0;
  glViewport(0, 0, w, h);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0.0, w, 0.0, h, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

// The pen protocol flushes at the end of every figure; the window flushes after every event
// anyway, so the copy waits for that.
void GlCanvas::EndPath() {
  endingPath_ = true;
  SoftCanvas::EndPath();
  endingPath_ = false;
}

// Each changed rectangle goes straight from the pixels in memory: the unpacking skips to its
// lower left pixel and steps a whole canvas row per row.
void GlCanvas::Flush() {
  if (endingPath_) return;
  const auto changed = Changed();
  if (changed.empty()) return;
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, Width());
  for (const PixelRect& r : changed) {
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, r.x);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, r.y);
    glWindowPos2i(r.x, r.y);
    glDrawPixels(r.width, r.height, GL_RGB, GL_UNSIGNED_BYTE, Data());
  }
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_ALIGNMENT, kDefaultAlignment);
  glFlush();
  ForgetChanged();
}

} // namespace lumora
