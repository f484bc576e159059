#include "commands/part_commands.h"
#include "files/drawing_writer.h"
#include "files/file_environment.h"
#include "model/drawing.h"
#include "model/element_store.h"
#include "protocol/command_state.h"
#include "protocol/window_services.h"
#include "screen/messages.h"
#include "ui/ask_str.h"
#include "util/quoted.h"

#include <filesystem>

namespace lumora {

int SavePart::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  title_ = MakeFileTitle(kCodeSavePart, control.prompts.files.partSubdirectory);
  selection_.Begin(control, title_.Pair());
  step_ = Step::kSelect;
  return kStillRunning;
}

// While gathering, the selection owns every key.
int SavePart::Select(Control& control, const CommandRow& row) {
  const int result = selection_.Step(control, false);
  if (result == kStillRunning) return kStillRunning;
  if (result != kSelectionReady) return End(control, row);
  step_ = Step::kReference;
  SetPrompt(control, title_.Pair(), kEnterPositioning);
  return kStillRunning;
}

int SavePart::Act(Control& control, const CommandRow& row) {
  if (step_ == Step::kSelect) return Select(control, row);
  if (step_ == Step::kName)
    return Named(control, row, dialog_.Ask(control, control.prompts, args_, path_));
  if (control.In().code == kCodeEnter) return Reference(control, row);
  return NotInUse(control);
}

int SavePart::Back(Control& control, const CommandRow& /*row*/) {
  // The set is given up; an area can be drawn again from its first corner.
  RemoveMarker(control);
  const bool byArea = selection_.AreaCount() > 0;
  const Point corner = selection_.Area()[0];
  selection_.Dissolve(control);
  step_ = Step::kSelect;
  if (byArea) {
    selection_.BeginAtCorner(control, title_.Pair(), corner);
  } else {
    selection_.Begin(control, title_.Pair(), true);
  }
  return kStillRunning;
}

int SavePart::Complete(Control& control, const CommandRow& row) {
  return Reference(control, row);
}

int SavePart::Alternative(Control& control, const CommandRow& /*row*/) {
  // Back to the gathering, keeping the set: more elements can be picked into it or out of it.
  RemoveMarker(control);
  const std::array<Point, 4> area = selection_.Area();
  const int areaCount = selection_.AreaCount();
  PartElement* group = selection_.TakeGroup();
  selection_.Resume(control, title_.Pair(), group, area, areaCount);
  step_ = Step::kSelect;
  return kStillRunning;
}

int SavePart::Cancel(Control& control, const CommandRow& row) {
  return End(control, row);
}

int SavePart::Reference(Control& control, const CommandRow& row) {
  reference_ = control.In().cursor;
  marked_ = control.store.AddMarker(reference_, '+') != nullptr;
  step_ = Step::kName;
  args_ = {kCodeSavePart, title_.Pair(), control.home, {}};
  return Named(control, row, dialog_.Ask(control, control.prompts, args_, path_));
}

int SavePart::Named(Control& control, const CommandRow& row, int result) {
  if (result == kStillRunning) return kStillRunning;
  if (result == kEntryEsc) return End(control, row);
  if (result == kFileAccepted) {
    PartElement* group = selection_.Group();
    if (group != nullptr && WriteDrawingFile(control.drawing, control.files, path_, group,
                                             reference_, group->box) == 1) {
      constexpr TextPair kSavedNote{"Saved "_l1, "Tallennettu "_l1};
      ShowNote(control.screen, kSavedNote,
               Quoted(std::filesystem::path(path_).filename().string()));
    }
    RemoveMarker(control);
    selection_.Dissolve(control);
    Restart(control);
    return kStillRunning;
  }
  // Back, or a file not replaced or not creatable: nothing was written; the point again.
  RemoveMarker(control);
  step_ = Step::kReference;
  SetPrompt(control, title_.Pair(), kEnterPositioning);
  return kStillRunning;
}

// The marker is drawn by inversion: it goes before the set is drawn again, or taking it off the
// redrawn lines would punch a hole in them.
void SavePart::RemoveMarker(Control& control) {
  if (marked_) control.store.RemoveMarker(reference_);
  marked_ = false;
}

void SavePart::Restart(Control& control) {
  RemoveMarker(control);
  step_ = Step::kSelect;
  selection_.Begin(control, title_.Pair());
}

int SavePart::End(Control& control, const CommandRow& row) {
  RemoveMarker(control);
  selection_.Dissolve(control);
  control.In().pointCount = 0;
  return Finish(control, row);
}

} // namespace lumora
