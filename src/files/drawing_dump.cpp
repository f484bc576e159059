#include "files/drawing_dump.h"

#include "files/safe_writer.h"
#include "model/drawing.h"
#include "util/latin1.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace lumora {

namespace {

constexpr std::string_view kUnnamedReport = "Database";
constexpr std::string_view kReportExtension = ".txt";

// printf into the end of a string, whatever the length of the result.
[[gnu::format(printf, 2, 3)]] void Append(std::string& out, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  if (length > 0) {
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(length) + 1);
    std::vsnprintf(out.data() + at, static_cast<std::size_t>(length) + 1, format, again);
    out.resize(at + static_cast<std::size_t>(length));
  }
  va_end(again);
}

void ReportLines(const Drawing& drawing, std::string& out) {
  if (drawing.lines == nullptr) return;
  out += "\nLines:";
  for (const LineElement* line = drawing.lines; line != nullptr; line = line->next) {
    Append(out, "\n ps0:%u shape:%u ", line->ps0(), line->shape());
    for (std::uint32_t k = 0; k < line->ps0(); ++k)
      Append(out, " %7.1f,%7.1f ", line->points[k].x, line->points[k].y);
  }
}

void ReportFillings(const Drawing& drawing, std::string& out) {
  if (drawing.fillings == nullptr) return;
  out += "\n\nFillings:";
  for (const FillingElement* f = drawing.fillings; f != nullptr; f = f->next) {
    Append(out, " \nls0:%u ldista:%u ", f->ls0(), f->ldista());
    // A boundary line that is gone has no shape to give: nothing is written for it.
    for (std::uint32_t k = 0; k < f->ls0() && f->lines != nullptr; ++k)
      if (f->lines[k] != nullptr) Append(out, " %u ", f->lines[k]->shape());
  }
}

void ReportTexts(const Drawing& drawing, std::string& out) {
  if (drawing.texts == nullptr) return;
  out += "\n\nTexts:";
  for (const TextElement* t = drawing.texts; t != nullptr; t = t->next) {
    out += "\n pisteitä "_l1;
    Append(out, "%u kpl mitta:%u ", t->pointCount(), t->mitta());
    for (std::uint32_t k = 0; k < t->pointCount(); ++k)
      Append(out, " %f,%f ", t->points[k].x, t->points[k].y);
  }
}

void ReportParts(const Drawing& drawing, std::string& out) {
  if (drawing.parts == nullptr) return;
  out += "\n\nParts:";
  unsigned position = 1;
  for (const PartElement* p = drawing.parts; p != nullptr; p = p->next, ++position) {
    out += "\n name:\"";
    out += std::string_view(p->name, strnlen(p->name, sizeof(p->name)));
    Append(out, "\" type:%u  location:%7.1f,%7.1f next:%x", p->type(), p->location.x, p->location.y,
           p->next != nullptr ? position + 1 : 0u);
  }
}

} // namespace

std::string DrawingReport(const Drawing& drawing) {
  std::string out = "DRAWING: \"";
  out += DrawingName(drawing);
  out += "\"\n";
  Append(out, "version:%3.0f limits:%7.1f,%7.1f,%7.1f,%7.1f scale:%7.1f step:%7.1f\n",
         static_cast<double>(drawing.version), drawing.limits.xmin, drawing.limits.ymin,
         drawing.limits.xmax, drawing.limits.ymax, drawing.scale, drawing.step);
  ReportLines(drawing, out);
  ReportFillings(drawing, out);
  ReportTexts(drawing, out);
  ReportParts(drawing, out);
  return out;
}

int DumpDrawing(const Drawing& drawing, FileReporter& reporter, const std::string& fileName) {
  SafeWriter writer(reporter);
  if (!writer.Open(fileName)) return 0;
  return writer.WriteText(DrawingReport(drawing)) && writer.Commit() ? 1 : 0;
}

std::string ReportFileName(const Drawing& drawing) {
  const std::string_view name = DrawingName(drawing);
  return std::string(name.empty() ? kUnnamedReport : name) + std::string(kReportExtension);
}

} // namespace lumora
