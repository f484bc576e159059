#include "commands/drawing_report.h"

#include "control/command_state.h"
#include "files/drawing_dump.h"

#include <new>

namespace lumora {
namespace {

// Writes "<name>.txt" (or "Database.txt" for a drawing without a name) in the working
// directory and ends at once; a report that cannot be opened shows the file reader's message.
class ReportCommand final : public Function {
public:
  int Step(Control& control) override {
    BeginFunction(control, Level::kMain, kCodeDrawingReport);
    if (control.drawing != nullptr && control.files != nullptr) {
      DumpDrawing(*control.drawing, *control.files, ReportFileName(*control.drawing));
    }
    EndFunction(control, Level::kMain);
    return kFinished;
  }
};

} // namespace

std::unique_ptr<Function> MakeDrawingReport() {
  return std::unique_ptr<Function>(new (std::nothrow) ReportCommand);
}

} // namespace lumora
