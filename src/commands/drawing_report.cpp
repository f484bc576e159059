#include "commands/drawing_report.h"

#include "files/drawing_dump.h"
#include "files/file_environment.h"
#include "protocol/command_state.h"

namespace lumora {

int DrawingReport::Step(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  std::string path = ReportFileName(control.drawing);
  if (!control.workDirectory.empty()) path = control.workDirectory + "/" + path;
  DumpDrawing(control.drawing, control.files, path);
  EndFunction(control, row.level);
  return kFinished;
}

} // namespace lumora
