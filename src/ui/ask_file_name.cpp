#include "ui/ask_file_name.h"

#include "files/directory_list.h"
#include "files/dxf_reader.h"
#include "files/file_access.h"
#include "model/drawing.h"
#include "protocol/command_state.h"
#include "protocol/texts.h"
#include "screen/messages.h"
#include "screen/text_screen.h"
#include "sound/my_beep.h"
#include "ui/ask_str.h"

#include <algorithm>
#include <filesystem>

namespace lumora {
namespace {

constexpr std::string_view kDrawingKind = "drw";
constexpr std::string_view kPartKind = "part";
constexpr std::string_view kDrawingDirectory = "DRAWINGS";
constexpr std::string_view kPartDirectory = "PARTS";
constexpr std::string_view kCopyFile = "Copy.part";
constexpr std::string_view kParent = "..";
constexpr std::string_view kCurrent = ".";
constexpr std::array<std::string_view, 2> kScriptMarks{".txt", ".TXT"};
constexpr char kSeparator = '/';
constexpr char kOtherSeparator = '\\'; // accepted as typed, stored as "/"
constexpr char kPatternMark = '*';
constexpr std::size_t kNameSize = 100;
constexpr int kQuestionRow = 1;
constexpr int kQuestionColumn = 2;
constexpr int kListRow = 3;
constexpr int kListColumn = 2;
constexpr int kRowsBesideList = 5;
constexpr int kColumnsBesideList = 4;
constexpr int kMinListWidth = 12;
constexpr int kDefaultListRows = 20;

// The file routines' messages go to the screen like every other message.
class ScreenReporter final : public FileReporter {
public:
  explicit ScreenReporter(Control& control) : control_(control) {}
  Language CurrentLanguage() const override { return control_.Lang(); }
  void ShowError(std::string_view message) override {
    ShowMessage(control_.screen, kSoundError, message, 0.0);
  }
  void Trace(std::string_view) override {}
  using FileReporter::ShowError;

private:
  Control& control_;
};

bool IsScript(std::string_view name) {
  return std::any_of(kScriptMarks.begin(), kScriptMarks.end(),
                     [&](std::string_view mark) { return name.find(mark) != std::string::npos; });
}

std::string Quoted(std::string_view head, std::string_view name, std::string_view tail) {
  std::string text(head);
  text += name;
  text += tail;
  return text;
}

} // namespace

int AskFileName::Ask(Control& control, PromptState& prompts, const FileDialogArgs& args,
                     std::string& path) {
  switch (step_) {
  case Step::kIdle:
    return Start(control, prompts, args, path);
  case Step::kName:
    return StepName(control, prompts, path);
  case Step::kList:
    return StepList(control, prompts, path);
  case Step::kCreate:
    return StepCreate(control, prompts, path);
  case Step::kReplace:
    return StepReplace(control, prompts);
  case Step::kNotFound:
  case Step::kCannotCreate:
    if (!NoticeDone(control)) return kStillRunning;
    return AfterNotice(control, prompts);
  }
  return Finish(kEntryEsc);
}

int AskFileName::Start(Control& control, PromptState& prompts, const FileDialogArgs& args,
                       std::string& path) {
  command_ = args.command;
  home_ = args.home;
  while (home_.size() > 1 && home_.back() == kSeparator) home_.pop_back(); // "data/" joins once
  title_ = args.title;
  typed_.clear();
  const bool part = command_ == kCodeAddPart || command_ == kCodeSavePart || command_ == kCodeCopy;
  kind_ = part ? kPartKind : kDrawingKind;
  if (command_ == kCodeCopy) {
    // The temporary part lives in the program directory itself, so it never replaces a user's
    // own part that happens to be called Copy.
    path = home_ + kSeparator + std::string(kCopyFile);
    return Finish(kFileAccepted);
  }
  if (command_ == kCodeSave) {
    const std::string name =
        args.proposal.empty() ? std::string(DrawingName(control.drawing)) : args.proposal;
    return AskName(control, prompts, name);
  }
  if (command_ == kCodeSavePart) {
    const std::string name = prompts.files.partName;
    return AskName(control, prompts, name);
  }
  return ShowList(control, prompts, "");
}

bool AskFileName::Saving() const {
  return command_ == kCodeSave || command_ == kCodeSavePart;
}

std::string& AskFileName::Subdirectory(PromptState& prompts) const {
  return kind_ == kPartKind ? prompts.files.partSubdirectory : prompts.files.drawingSubdirectory;
}

std::string AskFileName::Directory(PromptState& prompts) const {
  std::string directory = home_ + kSeparator;
  directory += kind_ == kPartKind ? kPartDirectory : kDrawingDirectory;
  directory += kSeparator;
  const std::string& sub = Subdirectory(prompts);
  if (!sub.empty()) directory += sub + kSeparator;
  return directory;
}

int AskFileName::Finish(int result) {
  step_ = Step::kIdle;
  return result;
}

// The name question, on every step of it.
AskStrArgs AskFileName::NameArgs() const {
  AskStrArgs args;
  args.row = kQuestionRow;
  args.column = kQuestionColumn;
  args.title = title_;
  args.prompt = kWriteName;
  args.size = kNameSize;
  return args;
}

int AskFileName::AskName(Control& control, PromptState& prompts, std::string_view initial) {
  step_ = Step::kName;
  const std::string proposal(initial); // the proposal may be the text the entry overwrites
  AskStrArgs args = NameArgs();
  args.initial = proposal;
  return AskStr(control, prompts, args, typed_);
}

int AskFileName::StepName(Control& control, PromptState& prompts, std::string& path) {
  const int result = AskStr(control, prompts, NameArgs(), typed_);
  if (result == kStillRunning) return kStillRunning;
  if (result != kEntryAccepted) return Finish(result);
  return Handle(control, prompts, typed_, path);
}

int AskFileName::Refuse(Control& control, PromptState& prompts, const TextPair& text) {
  Message(control, kSoundSmallError, text);
  return Saving() ? AskName(control, prompts, typed_) : ShowList(control, prompts, "");
}

// A name is a pattern for the list, a way out of the subdirectory, a way into one, or final.
// A pattern is only ever matched against the names of the directory we are in: its ".." and
// separators neither leave nor enter a directory, nor make one.
int AskFileName::Handle(Control& control, PromptState& prompts, std::string name,
                        std::string& path) {
  std::replace(name.begin(), name.end(), kOtherSeparator, kSeparator);
  if (name.empty() || name.find(kPatternMark) != std::string::npos) {
    if (name.empty() && Saving()) Message(control, kSoundSmallError, kGiveName);
    return ShowList(control, prompts, name);
  }
  if (const std::size_t up = name.find(kParent); up != std::string::npos) {
    if (Subdirectory(prompts).empty()) return Refuse(control, prompts, kNotInDirectory);
    Subdirectory(prompts).clear();
    std::string rest = name.substr(up + kParent.size());
    rest.erase(0, rest.find_first_not_of(kSeparator));
    return Handle(control, prompts, rest, path);
  }
  if (const std::size_t slash = name.rfind(kSeparator); slash != std::string::npos) {
    std::string directory = name.substr(0, slash);
    const std::string rest = name.substr(slash + 1);
    directory.erase(0, directory.find_first_not_of(kSeparator));
    // "/Plan" and "./Plan" name a file where we are.
    if (directory.empty() || directory == kCurrent) return Handle(control, prompts, rest, path);
    if (!Subdirectory(prompts).empty() || directory.find(kSeparator) != std::string::npos) {
      return Refuse(control, prompts, kAlreadyInDirectory);
    }
    return EnterDirectory(control, prompts, directory, rest, path);
  }
  return Final(control, prompts, name, path);
}

int AskFileName::EnterDirectory(Control& control, PromptState& prompts,
                                const std::string& directory, const std::string& rest,
                                std::string& path) {
  std::error_code error;
  if (std::filesystem::is_directory(Directory(prompts) + directory, error)) {
    Subdirectory(prompts) = directory;
    return Handle(control, prompts, rest, path);
  }
  newDirectory_ = directory;
  rest_ = rest;
  questionEn_ = Quoted("New '", directory, "' directory: ^ DO WE CREATE ? ");
  questionFi_ = Quoted("Uusi hakemisto '"_l1, directory, "': ^ TEHDÄÄNKÖ ? "_l1);
  Message(control, kSoundNotice, kNewDirectory);
  step_ = Step::kCreate;
  return question_.Ask(control, kQuestionRow, kQuestionColumn, 0, title_,
                       {questionEn_, questionFi_}, kAnswerYes);
}

// The directory is made directly, never through a command line built from the typed name.
int AskFileName::StepCreate(Control& control, PromptState& prompts, std::string& path) {
  const int answer = question_.Ask(control, kQuestionRow, kQuestionColumn, 0, title_,
                                   {questionEn_, questionFi_}, kAnswerYes);
  if (answer == kStillRunning) return kStillRunning;
  if (answer == kAnswerEsc || answer == kAnswerBack) return Finish(answer);
  if (answer != kAnswerYes) return AskName(control, prompts, typed_);
  const std::string full = Directory(prompts) + newDirectory_;
  std::error_code error;
  std::filesystem::create_directory(full, error);
  std::error_code kindError;
  if (error || !std::filesystem::is_directory(full, kindError)) {
    ScreenReporter(control).ShowError(OpenFailedMessage(full, control.Lang()));
    return AskName(control, prompts, typed_);
  }
  Subdirectory(prompts) = newDirectory_;
  return Handle(control, prompts, rest_, path);
}

int AskFileName::ShowList(Control& control, PromptState& prompts, std::string_view pattern) {
  std::vector<DirectoryEntry> entries;
  int longest = 0;
  ScreenReporter reporter(control);
  ListDirectory(reporter, Directory(prompts), std::string(pattern), kind_, entries,
                !Subdirectory(prompts).empty(), kMaxListedFiles, longest);
  items_.clear();
  directories_.clear();
  for (const DirectoryEntry& entry : entries) {
    const bool directory = entry.kind == EntryKind::kDirectory;
    // Subdirectories show with the separator after them; ".." is plain.
    items_.push_back(directory && entry.name != kParent ? entry.name + kSeparator : entry.name);
    directories_.push_back(directory);
  }
  if (items_.empty()) {
    Message(control, kSoundError, kNoFiles);
    return Saving() ? AskName(control, prompts, typed_) : Finish(kEntryBack);
  }
  listArgs_ = {};
  listArgs_.row = kListRow;
  listArgs_.column = kListColumn;
  listArgs_.rows = kDefaultListRows;
  listArgs_.width = std::max(longest + 1, kMinListWidth);
  listArgs_.ownWindow = true;
  listArgs_.rows = std::max(control.screen.rows - kRowsBesideList, 1);
  listArgs_.width =
      std::min(listArgs_.width, std::max(control.screen.columns - kColumnsBesideList, 1));
  SetPrompt(control, title_, kSelectFromList);
  step_ = Step::kList;
  return SelectStr(control, prompts, listArgs_, items_);
}

int AskFileName::StepList(Control& control, PromptState& prompts, std::string& path) {
  const int chosen = SelectStr(control, prompts, listArgs_, items_);
  if (chosen == kStillRunning) return kStillRunning;
  if (chosen == kSelectEsc) return Finish(kEntryEsc);
  // Backspace, Tab and Ctrl+Enter in the list all step back.
  if (chosen < 0 || chosen >= static_cast<int>(items_.size())) return Finish(kEntryBack);
  const std::size_t index = static_cast<std::size_t>(chosen);
  if (!directories_[index]) return Final(control, prompts, items_[index], path);
  if (items_[index] == kParent) {
    Subdirectory(prompts).clear();
    return ShowList(control, prompts, "");
  }
  if (!Subdirectory(prompts).empty()) return Refuse(control, prompts, kAlreadyInDirectory);
  std::string directory = items_[index];
  directory.pop_back(); // the separator it was shown with
  Subdirectory(prompts) = directory;
  return ShowList(control, prompts, "");
}

int AskFileName::Final(Control& control, PromptState& prompts, const std::string& name,
                       std::string& path) {
  // What is saved here is binary: under a name that reads as a script it could not be read
  // back, nor would it be listed as a drawing. (A drawing's name without its ending is told
  // so by the command instead.)
  const bool endingKept = command_ == kCodeSavePart || name.ends_with("drw") ||
                          name.ends_with("DRW") || IsDxfName(name);
  if (Saving() && endingKept && (IsScript(name) || IsScript(Subdirectory(prompts)))) {
    return Refuse(control, prompts, kScriptNameRefused);
  }
  name_ = name;
  path = Directory(prompts) + name;
  if (!IsScript(name) && !IsDxfName(name)) path += "." + kind_;
  const int exists = FileExists(path);
  const bool english = control.Lang() == Language::kEnglish;
  if (!Saving()) {
    if (exists == 1) return Accept(control, prompts);
    const std::string notice = english ? Quoted("File '", path, "' is not found ! ")
                                       : Quoted("Tiedostoa '", path, "' ei löydy ! "_l1);
    return WaitForNotice(control, prompts, notice, Step::kNotFound);
  }
  if (exists == 0) {
    return WaitForNotice(control, prompts, OpenFailedMessage(path, control.Lang()),
                         Step::kCannotCreate);
  }
  if (exists < 0) return Accept(control, prompts);
  questionEn_ = Quoted("File '", name, "' exists: ^ REPLACED ! ");
  questionFi_ = Quoted("Tiedosto '", name, "' löytyy: ^ KORVATAANKO ! "_l1);
  Message(control, kSoundSmallError, kFileExistsMessage);
  step_ = Step::kReplace;
  return question_.Ask(control, kQuestionRow, kQuestionColumn, 0, title_,
                       {questionEn_, questionFi_}, kAnswerNo);
}

int AskFileName::StepReplace(Control& control, PromptState& prompts) {
  const int answer = question_.Ask(control, kQuestionRow, kQuestionColumn, 0, title_,
                                   {questionEn_, questionFi_}, kAnswerNo);
  if (answer == kStillRunning) return kStillRunning;
  if (answer == kAnswerYes) return Accept(control, prompts);
  if (answer == kAnswerNo) return Finish(kFileNotReplaced);
  return Finish(answer); // Esc or back
}

// The drawing keeps its name until the command has read or written the file: a read or save
// that fails must not leave it named after a file that does not hold it.
int AskFileName::Accept(Control& /*control*/, PromptState& prompts) {
  if (command_ == kCodeAddPart || command_ == kCodeSavePart) {
    prompts.files.partName = name_.substr(0, std::min(name_.size(), kCurrentPartNameMax));
  }
  return Finish(kFileAccepted);
}

// A notice waits for a key; meanwhile the keys belong to it, not to the drawing cursor.
int AskFileName::WaitForNotice(Control& control, PromptState& prompts, std::string_view text,
                               Step step) {
  step_ = step;
  noticeSaved_ = SavePromptState(control.state);
  const bool waiting = ShowNotice(control.screen, text, true) == kStillRunning;
  if (!waiting) return AfterNotice(control, prompts);
  control.state.inputMode = kModeYesNo;
  control.state.cursorShown = false;
  control.state.arrows = {};
  return kStillRunning;
}

bool AskFileName::NoticeDone(Control& control) {
  if (NoticeWaiting(control.screen) &&
      AcknowledgeNotice(control.screen, control.In().rawKey) == kStillRunning) {
    return false;
  }
  RestorePromptState(control.state, noticeSaved_);
  return true;
}

int AskFileName::AfterNotice(Control& control, PromptState& prompts) {
  if (step_ == Step::kCannotCreate) return Finish(kFileNotCreatable);
  return Saving() ? AskName(control, prompts, typed_) : ShowList(control, prompts, "");
}

} // namespace lumora
