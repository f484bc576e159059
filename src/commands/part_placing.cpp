#include "commands/part_commands.h"
#include "files/drawing_reader.h"
#include "files/drawing_writer.h"
#include "files/dxf_reader.h"
#include "files/script_entry.h"
#include "model/drawing.h"
#include "model/element_store.h"
#include "properties/current_properties.h"
#include "protocol/command_state.h"
#include "protocol/texts.h"
#include "protocol/window_services.h"
#include "sound/my_beep.h"

#include <array>

namespace lumora {
namespace {

constexpr std::size_t kHeaderMax = 39;
constexpr std::size_t kShortName = 17;
constexpr std::string_view kTemporaryPart = "Copy.part";
constexpr std::uint32_t kPlacedPart = 1;
constexpr std::uint32_t kGroup = 0;
constexpr std::uint32_t kShapeOpenLine = 1;

// "Adding part 'Bolt': " and the like, cut to what the prompt line holds.
FileTitle NamedHeader(int code, const std::string& name) {
  FileTitle header;
  if (code == kCodeAddDrawing) {
    header.en = "Adding drawing '^" + name + "^': ";
    header.fi = "Kuvan '^" + name + std::string("^' lisäys: "_l1);
  } else {
    header.en = "Adding part '^" + name.substr(0, kShortName) + "^': ";
    header.fi = "Osan '^" + name + std::string("^' lisäys: "_l1);
  }
  if (header.en.size() > kHeaderMax) header.en.resize(kHeaderMax);
  if (header.fi.size() > kHeaderMax) header.fi.resize(kHeaderMax);
  return header;
}

// The part name a placement gets: the file name without directory and extension.
std::string PartName(const std::string& fileName) {
  std::string name = fileName.substr(fileName.rfind('/') + 1);
  if (const std::size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0)
    name.resize(dot);
  if (name.size() > static_cast<std::size_t>(kPartNameMax)) name.resize(kPartNameMax);
  return name;
}

// The box the file was saved with follows the cursor as a closed outline.
void SetPreview(Control& control, const Box& box) {
  InputRecord& in = control.In();
  in.previewKind = kPreviewShape;
  in.pointCount = 5;
  in.points[0] = {box.xmin, box.ymin};
  in.points[1] = {box.xmax, box.ymin};
  in.points[2] = {box.xmax, box.ymax};
  in.points[3] = {box.xmin, box.ymax};
  in.points[4] = {box.xmin, box.ymin};
}

void ClearPreview(Control& control) {
  InputRecord& in = control.In();
  in.pointCount = 0;
  in.previewKind = kPreviewElement;
}

// Placements of the file's saved group: the group record is a working set of the part's
// maker, its members are the placement's own.
void DropGroupRecords(ElementStore& store, PartElement& placed) {
  for (PartNode* node = placed.parts; node != nullptr;) {
    PartElement* member = node->element;
    node = node->next;
    if (member != nullptr && member->type() == kGroup) store.DeletePart(member, false);
  }
}

} // namespace

int PartPlacer::Begin(Control& control, int code) {
  code_ = code;
  moving_ = false;
  return AskFile(control);
}

int PartPlacer::BeginCopy(Control& control, const Point& location, bool moving,
                          std::vector<Point> nested) {
  code_ = kCodeCopy;
  moving_ = moving;
  nested_ = std::move(nested);
  placed_ = false;
  // A copy of an earlier round may be gone already: it is never taken back from here.
  lastPlaced_ = nullptr;
  previous_ = Here(control, location);
  path_ = control.home + "/" + std::string(kTemporaryPart);
  partName_ = PartName(path_);
  header_ = MakeFileTitle(kCodeCopy, {});
  Box box{};
  if (ReadFileHeader(path_, box) != 1) box = {};
  return ToLocation(control, box);
}

int PartPlacer::AskFile(Control& control) {
  step_ = Step::kFile;
  const FileDialogMemory& files = control.prompts.files;
  title_ = MakeFileTitle(code_, code_ == kCodeAddPart ? files.partSubdirectory
                                                      : files.drawingSubdirectory);
  args_ = {code_, title_.Pair(), control.home, {}};
  const int result = dialog_.Ask(control, control.prompts, args_, path_);
  // An empty directory answers at once: there is nothing to choose from.
  if (result == kEntryBack) return End(control, kFinished);
  return FileChosen(control, result);
}

int PartPlacer::Run(Control& control) {
  if (step_ == Step::kFile)
    return FileChosen(control, dialog_.Ask(control, control.prompts, args_, path_));
  if (step_ == Step::kScript) return ScriptRan(control);
  return Location(control);
}

int PartPlacer::FileChosen(Control& control, int result) {
  if (result == kStillRunning) return kStillRunning;
  if (result == kEntryBack) {
    if (lastPlaced_ != nullptr) {
      control.store.DeletePart(lastPlaced_, true);
      lastPlaced_ = nullptr;
      placed_ = false;
      control.window.Repaint();
    } else {
      Message(control, kSoundSmallError, kNothingToBeDone);
    }
    return AskFile(control);
  }
  if (result != kFileAccepted) return End(control, kFinished);
  partName_ = PartName(dialog_.Name());
  header_ = NamedHeader(code_, dialog_.Name());
  if (IsScriptName(path_)) return RunScript(control);
  Box box{};
  if (ReadFileHeader(path_, box) != 1) box = {};
  return ToLocation(control, box);
}

// A script draws into a group of its own, which is kept as the temporary part file and placed
// like any part.
int PartPlacer::RunScript(Control& control) {
  ElementStore& store = control.store;
  DropScriptGroup(control);
  scriptGroup_ = store.AddPart("", kGroup, 0);
  if (scriptGroup_ == nullptr) return AskFile(control);
  step_ = Step::kScript;
  return ScriptRan(control);
}

// Called again with every code while the script waits for the user.
int PartPlacer::ScriptRan(Control& control) {
  ElementStore& store = control.store;
  const int ran = ReadDrawingFile(store, control.files, control.fileState, path_, scriptGroup_,
                                  Placement{}, true);
  if (ran == kStillRunning) return kStillRunning;
  const Box box = scriptGroup_->box;
  if (ElementStore::PartIsEmpty(scriptGroup_) || !(box.xmin <= box.xmax && box.ymin <= box.ymax)) {
    DropScriptGroup(control);
    return AskFile(control);
  }
  const std::string temporary = control.home + "/" + std::string(kTemporaryPart);
  const int written = WriteDrawingFile(control.drawing, control.files, temporary, scriptGroup_,
                                       Point{0.0, 0.0}, box);
  DropScriptGroup(control);
  control.window.Repaint();
  if (written != 1) return AskFile(control);
  path_ = temporary;
  return ToLocation(control, box);
}

int PartPlacer::ToLocation(Control& control, const Box& box) {
  step_ = Step::kLocation;
  // The part's size in the part dialog is measured from the box of the file being placed.
  control.properties.part.partBox = box;
  SetPreview(control, box);
  SetPrompt(control, header_.Pair(), kEnterLocation);
  Beep(control, kSoundWaiting);
  return kStillRunning;
}

int PartPlacer::Location(Control& control) {
  switch (control.In().code) {
  case kCodeEnter:
    return Enter(control);
  case kCodeTab:
    return Tab(control);
  case kCodeBackspace:
  case kCodeCtrlEnter:
    return TakeBack(control);
  case kCodeEsc:
    return End(control, ForCopy() ? kCopyCancelled : kFinished);
  default:
    Message(control, kSoundSmallError, kNotInUse);
    return kStillRunning;
  }
}

Placement PartPlacer::Here(const Control& control, const Point& at) const {
  const PropertySet& part = control.properties.part;
  return {at.x, at.y, part.partSx, part.partSy, part.partAngle};
}

bool PartPlacer::SameAsBefore(const Control& /*control*/, const Placement& at) const {
  return SamePoint(at.x, at.y, previous_.x, previous_.y) != 0 &&
         SameValue(at.angle, previous_.angle) != 0 && SameValue(at.sx, previous_.sx) != 0 &&
         SameValue(at.sy, previous_.sy) != 0;
}

int PartPlacer::Enter(Control& control) {
  const Placement at = Here(control, control.In().cursor);
  if ((placed_ || (ForCopy() && !moving_)) && SameAsBefore(control, at)) {
    Message(control, kSoundError, kAlreadyHere);
    return kStillRunning;
  }
  if (code_ == kCodeAddDrawing) DissolveLast(control);
  Place(control, at);
  return kStillRunning;
}

int PartPlacer::Tab(Control& control) {
  if (!ForCopy()) return AskFile(control);
  if (placed_) return End(control, kCopyPlaced);
  const Placement at = previous_;
  const Placement now = Here(control, {at.x, at.y});
  if (!moving_ && SameAsBefore(control, now)) {
    Message(control, kSoundError, kAlreadyHere);
    return kStillRunning;
  }
  return Place(control, now) ? End(control, kCopyPlaced) : kStillRunning;
}

int PartPlacer::TakeBack(Control& control) {
  if (lastPlaced_ == nullptr) {
    if (ForCopy()) return End(control, kCopyTakenBack);
    return AskFile(control);
  }
  control.store.DeletePart(lastPlaced_, true);
  lastPlaced_ = nullptr;
  placed_ = false;
  control.window.Repaint();
  return kStillRunning;
}

// One placement: a new part read from the file. A file that fails takes with it what was read.
bool PartPlacer::Place(Control& control, const Placement& at) {
  ElementStore& store = control.store;
  PartElement* part = store.AddPart(partName_, kPlacedPart, control.properties.part.layer());
  if (part == nullptr) return false;
  part->location = {at.x, at.y};
  const int read =
      IsDxfName(path_)
          ? ReadDxfFile(store, control.files, control.fileState, path_, part, at, true)
          : ReadDrawingFile(store, control.files, control.fileState, path_, part, at, true);
  if (read < 1) {
    store.DeletePart(part, true);
    control.window.Repaint();
    return false;
  }
  DropGroupRecords(store, *part);
  if (ForCopy()) PlaceNested(control, *part, at);
  if (code_ == kCodeAddPart) store.NameStep(StepKind::kPart);
  if (code_ == kCodeAddDrawing) {
    // The placement's part record goes when the command ends: it is no step of its own.
    store.HoldSteps(true);
    store.NameStep(StepKind::kAddDrawing);
    holding_ = true;
  }
  lastPlaced_ = part;
  previous_ = at;
  placed_ = true;
  return true;
}

// The parts read with the placed one stand in the list above it, newest first; read in the
// file's order, they take the carried locations through the same placement as the elements.
void PartPlacer::PlaceNested(Control& control, const PartElement& placed, const Placement& at) {
  std::vector<PartElement*> read;
  for (PartElement* p = control.drawing.parts; p != nullptr && p != &placed; p = p->next)
    read.push_back(p);
  if (read.size() != nested_.size()) return;
  Transform m;
  MakeTransform(m, 0.0, 0.0, at.x, at.y, at.sx, at.sy, at.angle);
  for (std::size_t i = 0; i < read.size(); ++i) {
    Point to = nested_[i];
    ApplyTransform(m, to.x, to.y);
    control.store.Keep(*read[read.size() - 1 - i]);
    read[read.size() - 1 - i]->location = to;
  }
}

void PartPlacer::DissolveLast(Control& control) {
  if (lastPlaced_ == nullptr) return;
  control.store.DeletePart(lastPlaced_, false);
  lastPlaced_ = nullptr;
}

void PartPlacer::DropScriptGroup(Control& control) {
  if (scriptGroup_ == nullptr) return;
  control.store.DeletePart(scriptGroup_, true);
  scriptGroup_ = nullptr;
}

int PartPlacer::End(Control& control, int result) {
  if (code_ == kCodeAddDrawing) DissolveLast(control);
  control.In().attributes.SetShape(kShapeOpenLine);
  ClearPreview(control);
  DropScriptGroup(control);
  if (holding_) control.store.HoldSteps(false);
  holding_ = false;
  return result;
}

// ---- The command ----

int AddPart::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  return Ended(control, row, placer_.Begin(control, row.code));
}

int AddPart::Continue(Control& control, const CommandRow& row) {
  return Ended(control, row, placer_.Run(control));
}

int AddPart::Ended(Control& control, const CommandRow& row, int result) {
  if (result == kStillRunning) return kStillRunning;
  EndFunction(control, row.level);
  return kFinished;
}

} // namespace lumora
