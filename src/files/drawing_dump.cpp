#include "files/drawing_dump.h"

#include "files/safe_writer.h"
#include "model/drawing.h"
#include "util/latin1.h"

#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace lumora {

namespace {

constexpr std::string_view kUnnamedReport = "Database";
constexpr std::string_view kReportExtension = ".txt";

// printf into the end of a string, whatever the length of the result: formatted once where it
// fits a small buffer, as nearly every piece of the report does.
[[gnu::format(printf, 2, 3)]] void Append(std::string& out, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::va_list again;
  va_copy(again, args);
  char buffer[128];
  const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (length > 0 && static_cast<std::size_t>(length) < sizeof buffer) {
    out.append(buffer, static_cast<std::size_t>(length));
  } else if (length > 0) {
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(length) + 1);
    std::vsnprintf(out.data() + at, static_cast<std::size_t>(length) + 1, format, again);
    out.resize(at + static_cast<std::size_t>(length));
  }
  va_end(again);
}

// What printf's "%7.1f" writes, at a fraction of its cost: a report holds millions of these.
void AppendTenths(std::string& out, double value) {
  constexpr std::size_t kWidth = 7;
  char buffer[400]; // the largest double has 309 digits before its point
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1);
  if (error != std::errc()) return Append(out, "%7.1f", value);
  const auto length = static_cast<std::size_t>(end - buffer);
  if (length < kWidth) out.append(kWidth - length, ' ');
  out.append(buffer, length);
}

// The report built a piece at a time: a piece grown past its size is handed on.
class Pieces {
public:
  explicit Pieces(const ReportSink& sink) : sink_(sink) { out.reserve(kPiece + kPiece / 4); }
  std::string out;
  // Hands the piece on once it is full; false once the sink has refused one.
  void Pass() {
    if (out.size() >= kPiece) Hand();
  }
  bool Finish() {
    Hand();
    return ok_;
  }

private:
  static constexpr std::size_t kPiece = 1 << 16;
  void Hand() {
    if (ok_ && !out.empty()) ok_ = sink_(out);
    out.clear();
  }
  const ReportSink& sink_;
  bool ok_ = true;
};

void ReportLines(const Drawing& drawing, Pieces& pieces) {
  std::string& out = pieces.out;
  if (drawing.lines == nullptr) return;
  out += "\nLines:";
  for (const LineElement* line = drawing.lines; line != nullptr; line = line->next) {
    Append(out, "\n ps0:%u shape:%u ", line->ps0(), line->shape());
    for (std::uint32_t k = 0; k < line->ps0(); ++k) {
      out += ' ';
      AppendTenths(out, line->points[k].x);
      out += ',';
      AppendTenths(out, line->points[k].y);
      out += ' ';
    }
    pieces.Pass();
  }
}

void ReportFillings(const Drawing& drawing, Pieces& pieces) {
  std::string& out = pieces.out;
  if (drawing.fillings == nullptr) return;
  out += "\n\nFillings:";
  for (const FillingElement* f = drawing.fillings; f != nullptr; f = f->next) {
    Append(out, " \nls0:%u ldista:%u ", f->ls0(), f->ldista());
    // A boundary line that is gone has no shape to give: nothing is written for it.
    for (std::uint32_t k = 0; k < f->ls0() && f->lines != nullptr; ++k)
      if (f->lines[k] != nullptr) Append(out, " %u ", f->lines[k]->shape());
    pieces.Pass();
  }
}

void ReportTexts(const Drawing& drawing, Pieces& pieces) {
  std::string& out = pieces.out;
  if (drawing.texts == nullptr) return;
  out += "\n\nTexts:";
  for (const TextElement* t = drawing.texts; t != nullptr; t = t->next) {
    out += "\n pisteitä "_l1;
    Append(out, "%u kpl mitta:%u ", t->pointCount(), t->mitta());
    for (std::uint32_t k = 0; k < t->pointCount(); ++k)
      Append(out, " %f,%f ", t->points[k].x, t->points[k].y);
    pieces.Pass();
  }
}

void ReportParts(const Drawing& drawing, Pieces& pieces) {
  std::string& out = pieces.out;
  if (drawing.parts == nullptr) return;
  out += "\n\nParts:";
  unsigned position = 1;
  for (const PartElement* p = drawing.parts; p != nullptr; p = p->next, ++position) {
    out += "\n name:\"";
    out += std::string_view(p->name, strnlen(p->name, sizeof(p->name)));
    Append(out, "\" type:%u  location:%7.1f,%7.1f next:%x", p->type(), p->location.x, p->location.y,
           p->next != nullptr ? position + 1 : 0u);
    pieces.Pass();
  }
}

} // namespace

bool WriteDrawingReport(const Drawing& drawing, const ReportSink& sink) {
  Pieces pieces(sink);
  std::string& out = pieces.out;
  out += "DRAWING: \"";
  out += DrawingName(drawing);
  out += "\"\n";
  Append(out, "version:%3.0f limits:%7.1f,%7.1f,%7.1f,%7.1f scale:%7.1f step:%7.1f\n",
         static_cast<double>(drawing.version), drawing.limits.xmin, drawing.limits.ymin,
         drawing.limits.xmax, drawing.limits.ymax, drawing.scale, drawing.step);
  ReportLines(drawing, pieces);
  ReportFillings(drawing, pieces);
  ReportTexts(drawing, pieces);
  ReportParts(drawing, pieces);
  return pieces.Finish();
}

std::string DrawingReport(const Drawing& drawing) {
  std::string report;
  WriteDrawingReport(drawing, [&report](std::string_view piece) {
    report += piece;
    return true;
  });
  return report;
}

int DumpDrawing(const Drawing& drawing, FileReporter& reporter, const std::string& fileName) {
  SafeWriter writer(reporter);
  if (!writer.Open(fileName)) return 0;
  const bool written = WriteDrawingReport(
      drawing, [&writer](std::string_view piece) { return writer.WriteText(piece); });
  return written && writer.Commit() ? 1 : 0;
}

std::string ReportFileName(const Drawing& drawing) {
  const std::string_view name = DrawingName(drawing);
  return std::string(name.empty() ? kUnnamedReport : name) + std::string(kReportExtension);
}

} // namespace lumora
