#include "commands/filling_commands.h"
#include "element_geometry/element_geometry.h"
#include "protocol/command_state.h"
#include "sound/my_beep.h"
#include "util/number_text.h"

#include <string>

namespace lumora {
namespace {

constexpr double kAreaPrecision = 0.001;
constexpr std::size_t kAreaWidth = 40;

} // namespace

int SurfaceArea::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  found_ = nullptr;
  ShowPrompt(control, false);
  return kStillRunning;
}

int SurfaceArea::Act(Control& control, const CommandRow& row) {
  const InputRecord& in = control.In();
  if (step_ == Step::kResult) {
    if (in.code == kCodeEsc) return Cancel(control, row);
    return in.rawKey != kRawNone ? Again(control) : kStillRunning;
  }
  if (in.code == kCodeEnter) return Pick(control);
  return in.rawKey != kRawNone ? NotInUse(control) : kStillRunning;
}

int SurfaceArea::Complete(Control& control, const CommandRow& /*row*/) {
  return Pick(control);
}

int SurfaceArea::Back(Control& control, const CommandRow& /*row*/) {
  return NotInUse(control);
}

int SurfaceArea::Alternative(Control& control, const CommandRow& row) {
  return Back(control, row);
}

int SurfaceArea::Cancel(Control& control, const CommandRow& row) {
  Release(control);
  return Finish(control, row);
}

int SurfaceArea::Pick(Control& control) {
  Beep(control, kSoundKey);
  ElementGeometry& geometry = Geometry(control);
  FillingElement* filling = geometry.PickFilling(control.In().cursor);
  if (filling == nullptr) {
    Message(control, kSoundError, kFillingNotFound);
    return kStillRunning;
  }
  found_ = filling;
  control.store.Select(found_);
  double area = 0.0;
  if (!geometry.FillingArea(*found_, area)) {
    Release(control);
    Message(control, kSoundError, kCountingFailed);
    return kStillRunning;
  }
  const std::string value = NumberToText(area, kAreaPrecision, kAreaWidth);
  for (const Language language : {Language::kEnglish, Language::kFinnish}) {
    std::string prompt(kSurfaceAreaIs.In(language));
    prompt += value;
    prompt += kSurfaceAreaEnd.In(language);
    SetPrompt(control, language, kCountingArea.In(language), prompt);
  }
  step_ = Step::kResult;
  Beep(control, kSoundWaiting);
  return kStillRunning;
}

int SurfaceArea::Again(Control& control) {
  Beep(control, kSoundKey);
  Release(control);
  ShowPrompt(control, false);
  return kStillRunning;
}

void SurfaceArea::ShowPrompt(Control& control, bool waiting) {
  step_ = Step::kShow;
  control.state.referenceLock = true;
  SetPrompt(control, kCountingArea, kShowFilling);
  if (waiting) Beep(control, kSoundWaiting);
}

// The highlight goes; the filling is drawn again in its own look.
void SurfaceArea::Release(Control& control) {
  if (found_ == nullptr) return;
  control.store.Unselect(found_);
  control.store.painter().Draw(*found_, DrawMode::kNormal);
  found_ = nullptr;
}

} // namespace lumora
