// The drawing report: the header and every record of the drawing in readable text, for looking
// at a drawing without the screen. Its labels are fixed and do not follow the language.
#pragma once

#include "files/file_reporter.h"

#include <functional>
#include <string>
#include <string_view>

namespace lumora {

struct Drawing;

// The report as text (Latin-1). The "next" of a part is the 1-based position of the next part
// in the part list, 0 for the last, so that reports of the same drawing are the same.
std::string DrawingReport(const Drawing& drawing);

// Takes the report a piece at a time, in order; false stops the report.
using ReportSink = std::function<bool(std::string_view)>;

// The same report handed to `sink` in pieces, so that a large drawing's report is never held
// whole. False when the sink refused a piece.
bool WriteDrawingReport(const Drawing& drawing, const ReportSink& sink);

// Writes the report to the file; the open message is shown when it cannot be written.
// 1 = written, 0 = not.
int DumpDrawing(const Drawing& drawing, FileReporter& reporter, const std::string& fileName);

// The report's file name for the drawing: its name, or "Database", followed by ".txt".
std::string ReportFileName(const Drawing& drawing);

} // namespace lumora
