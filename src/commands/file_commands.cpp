#include "commands/file_commands.h"

#include "commands/quit.h"
#include "files/drawing_replace.h"
#include "files/drawing_writer.h"
#include "files/dxf_reader.h"
#include "files/dxf_writer.h"
#include "model/drawing.h"
#include "model/element_store.h"
#include "protocol/command_state.h"
#include "protocol/window_services.h"
#include "screen/messages.h"
#include "setup/setup.h"
#include "sound/my_beep.h"
#include "text/text_drawing.h"
#include "ui/ask_state.h"
#include "util/quoted.h"
#include "view/view.h"

#include <filesystem>

namespace lumora {
namespace {

constexpr int kQuestionRow = 1;
constexpr int kQuestionColumn = 2;
constexpr std::size_t kTitleMax = 79;
constexpr std::size_t kSavePartTitleMax = 39;

struct TitleWords {
  int code;
  TextPair words;
};

// The words of each file command's title; the subdirectory goes between them and ": ".
constexpr TitleWords kTitleWords[] = {
    {kCodeReadDrawing, {"Reading drawing"_l1, "Kuvan luku"_l1}},
    {kCodeSave, {"Saving drawing"_l1, "Kuvan tallennus"_l1}},
    {kCodeAddPart, {"Adding part"_l1, "Osan lisäys"_l1}},
    {kCodeAddDrawing, {"Adding drawing"_l1, "Kuvan lisäys"_l1}},
    {kCodeSavePart, {"Saving part"_l1, "Osan tallennus"_l1}},
    {kCodeCopy, {"Coping of elements of area"_l1, "Alueen monistus"_l1}},
};

std::string TitleIn(std::string_view words, std::string_view sub, std::size_t max) {
  std::string title(words);
  if (!sub.empty()) {
    title += " (^";
    title += sub;
    title += "/^)";
  }
  title += ": ";
  if (title.size() > max) title.resize(max);
  return title;
}

constexpr TextPair kReadNote{"Read "_l1, "Luettu "_l1};
constexpr TextPair kSavedNote{"Saved "_l1, "Tallennettu "_l1};

std::string FileNameOf(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

bool EndsInDrw(std::string_view path) {
  return path.ends_with("drw") || path.ends_with("DRW") || IsDxfName(path);
}

int End(Control& control, const CommandRow& row) {
  EndFunction(control, row.level);
  return kFinished;
}

} // namespace

FileTitle MakeFileTitle(int code, std::string_view subdirectory) {
  TextPair words = kTitleWords[0].words;
  for (const TitleWords& entry : kTitleWords)
    if (entry.code == code) words = entry.words;
  // Copying an area always works in the part directory itself.
  const std::string_view sub = code == kCodeCopy ? std::string_view{} : subdirectory;
  const std::size_t max = code == kCodeSavePart ? kSavePartTitleMax : kTitleMax;
  return {TitleIn(words.en, sub, max), TitleIn(words.fi, sub, max)};
}

bool UnsavedWork(const Drawing& drawing) {
  return drawing.changes != 0 && (drawing.lines != nullptr || drawing.texts != nullptr);
}

// ---- Read drawing ----

int ReadDrawing::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  if (!UnsavedWork(control.drawing)) return AskFile(control, row);
  step_ = Step::kUnsaved;
  question_.Ask(control, kQuestionRow, kQuestionColumn, 0, kNotSavedTitle, kAreYouSure, kAnswerYes);
  Message(control, kSoundError, kNotSaved);
  return kStillRunning;
}

int ReadDrawing::Continue(Control& control, const CommandRow& row) {
  if (step_ == Step::kUnsaved) {
    const int answer = question_.Ask(control, kQuestionRow, kQuestionColumn, 0, kNotSavedTitle,
                                     kAreYouSure, kAnswerYes);
    if (answer == kStillRunning) return kStillRunning;
    return answer == kAnswerYes ? AskFile(control, row) : End(control, row);
  }
  if (step_ == Step::kScript) return Read(control, row);
  const int result = dialog_.Ask(control, control.prompts, args_, path_);
  if (result == kStillRunning) return kStillRunning;
  if (result != kFileAccepted) return End(control, row);
  return Read(control, row);
}

int ReadDrawing::AskFile(Control& control, const CommandRow& row) {
  step_ = Step::kFile;
  title_ = MakeFileTitle(kCodeReadDrawing, control.prompts.files.drawingSubdirectory);
  args_ = {kCodeReadDrawing, title_.Pair(), control.home, {}};
  const int result = dialog_.Ask(control, control.prompts, args_, path_);
  if (result == kStillRunning) return kStillRunning;
  if (result != kFileAccepted) return End(control, row);
  return Read(control, row);
}

int ReadDrawing::Read(Control& control, const CommandRow& row) {
  // A script answers "still running" while it asks something; it is called again for the
  // next code.
  const int read = ReplaceDrawing(control.store, control.files, control.fileState, path_);
  if (read == kStillRunning) {
    step_ = Step::kScript;
    return kStillRunning;
  }
  if (read >= 1) {
    ShowNote(control.screen, kReadNote, Quoted(FileNameOf(path_)));
    Drawing& drawing = control.drawing;
    // A part left without members by the file is of no use to anyone.
    while (drawing.parts != nullptr && ElementStore::PartIsEmpty(drawing.parts)) {
      PartElement* empty = drawing.parts;
      if (control.store.DeletePart(empty, false) == 0) break;
    }
    drawing.changes = 0;
    SetDrawingName(drawing, dialog_.Name());
    control.In().cursor = control.view.globalOrigin;
  }
  control.window.Repaint();
  return End(control, row);
}

// ---- Save drawing ----

int SaveDrawing::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  if (control.drawing.lines == nullptr && control.drawing.texts == nullptr) {
    Message(control, kSoundError, kNothingToSave);
    return End(control, row);
  }
  title_ = MakeFileTitle(kCodeSave, control.prompts.files.drawingSubdirectory);
  args_ = {kCodeSave, title_.Pair(), control.home, {}};
  return Continue(control, row);
}

int SaveDrawing::Continue(Control& control, const CommandRow& row) {
  const int result = dialog_.Ask(control, control.prompts, args_, path_);
  if (result == kStillRunning) return kStillRunning;
  // Esc, a "no" to replacing and a file that cannot be made all leave the files as they were.
  if (result != kFileAccepted) return End(control, row);
  if (EndsInDrw(path_)) return Write(control, row);
  ShowNotice(control.screen, kDrwAtTheEnd, false);
  title_ = MakeFileTitle(kCodeSave, control.prompts.files.drawingSubdirectory);
  args_ = {kCodeSave, title_.Pair(), control.home, dialog_.Name()};
  return Continue(control, row);
}

int SaveDrawing::Write(Control& control, const CommandRow& row) {
  Drawing& drawing = control.drawing;
  int written = 0;
  if (IsDxfName(path_)) {
    TextScene scene{control.fonts, drawing.paperUnit,
                    MeasureStyle{control.setup.measureLineWidth, control.setup.measureLineColour,
                                 control.setup.measureGap}};
    written = WriteDxfFile(drawing, control.files, scene, path_, &control.setup);
  } else {
    written = WriteDrawingFile(drawing, control.files, path_, nullptr, control.view.globalOrigin,
                               drawing.limits);
  }
  if (written == 1) {
    SetDrawingName(drawing, dialog_.Name());
    ShowNote(control.screen, kSavedNote, Quoted(FileNameOf(path_)));
  }
  return End(control, row);
}

// ---- New drawing ----

int NewDrawing::Start(Control& control, const CommandRow& row) {
  BeginFunction(control, row);
  Ask(control);
  Message(control, kSoundNotice, kNewDrawingQuestion);
  return kStillRunning;
}

int NewDrawing::Continue(Control& control, const CommandRow& row) {
  const int answer = Ask(control);
  if (answer == kStillRunning) return kStillRunning;
  if (answer == kAnswerYes) {
    control.store.NewDrawing();
    control.window.Repaint();
  }
  return End(control, row);
}

int NewDrawing::Ask(Control& control) {
  return question_.Ask(control, kQuestionRow, kQuestionColumn, 0, kNewDrawingTitle, kAreYouSure,
                       kAnswerYes);
}

} // namespace lumora
