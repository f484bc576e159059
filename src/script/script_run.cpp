#include "script/script_run.h"

#include "files/file_environment.h"
#include "model/element_store.h"
#include "screen/messages.h"
#include "sound/my_beep.h"
#include "util/clock.h"
#include "util/codes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace lumora {
namespace {

constexpr std::string_view kNotFromProgram = "Program part not allowed to be called from program!";
constexpr std::string_view kTooLong = "Too long line!";
constexpr std::string_view kNoKeyword = "Could not find any key word!";
constexpr std::string_view kSavedFull = "Maximum amount of saving read lines exceeded!";
constexpr std::string_view kIfTooDeep = "Maximum depth of IF commands exceeded!";
constexpr std::string_view kNoIfBeforeElse = "No IF before ELSE!";
constexpr std::string_view kNoIfBeforeEnd = "No IF before END IF!";
constexpr std::string_view kNoDo = "No DO command found!";
constexpr std::string_view kNoBreak = "No DO or FOR command from where to break!";
constexpr std::string_view kNoContinue = "No DO or FOR command from where to continue!";
constexpr std::string_view kNoFor = "No right FOR command found to return!";
constexpr std::string_view kWrongNext = "Wrong variable name in NEXT-command!";
constexpr std::string_view kNoNextName = "No name of variable for looping in NEXT-command!";
constexpr std::string_view kNoLabel = "Line name to GOTO not found!";
constexpr std::string_view kNoLabelName = "No name of line found!";
constexpr std::string_view kNoForward = "You can not GOTO forward!";
constexpr std::string_view kStringFor = "String type of variable not allowed!";
constexpr std::string_view kNoValue = "No value for variable found!";
constexpr std::string_view kWaitTooLong = "Waiting time over one day not allowed!";

constexpr std::size_t kPrintMax = 199;
constexpr double kReportSeconds = 1.0;
constexpr double kWaitMin = 1.0;
constexpr double kWaitMax = 24.0 * 60.0 * 60.0;

enum Code : int {
  kRem = 0,
  kLine = 1,
  kCircle = 2,
  kText = 3,
  kMeasure = 4,
  kPart = 5,
  kLimits = 6,
  kPaper = 7,
  kScale = 8,
  kAssign = 9,
  kPrint = 10,
  kInput = 11,
  kWait = 12,
  kInputSelect = 13,
  kInputYesNo = 14,
  kDegrees = 16,
  kRadians = 17,
  kIf = 18,
  kElse = 19,
  kEndIf = 20,
  kGoto = 21,
  kDo = 22,
  kLoop = 23,
  kFor = 24,
  kNext = 25,
  kBreak = 26,
  kContinue = 27,
  kUpdate = 28,
  kInputText = 29,
  kInputFile = 30,
  kNone = -1
};

struct Keyword {
  std::string_view word;
  int code;
};

// Looked for anywhere in the line, in this order: the first found names the statement.
constexpr std::array<Keyword, 31> kKeywords{{
    {"IF ", kIf},
    {"ELSE", kElse},
    {"LOOP", kLoop},
    {"INPUT_SELECT ", kInputSelect},
    {"INPUT_YES_NO ", kInputYesNo},
    {"INPUT_TEXT ", kInputText},
    {"INPUT_FILE ", kInputFile},
    {"CONTINUE", kContinue},
    {"UPDATE", kUpdate},
    {"DEGREES", kDegrees},
    {"RADIANS", kRadians},
    {"INPUT ", kInput},
    {"LINE ", kLine},
    {"CIRCLE ", kCircle},
    {"TEXT ", kText},
    {"MEASURE ", kMeasure},
    {"PART ", kPart},
    {"LIMITS ", kLimits},
    {"PAPER ", kPaper},
    {"ARC ", kCircle},
    {"SCALE ", kScale},
    {"PRINT ", kPrint},
    {"WAIT ", kWait},
    {"GOTO ", kGoto},
    {"FOR ", kFor},
    {"NEXT ", kNext},
    {"BREAK", kBreak},
    {"ENDIF", kEndIf},
    {"END IF", kEndIf},
    {"DO", kDo},
    {"=", kAssign},
}};

// Inside an IF branch that is not taken only these count.
constexpr std::array<Keyword, 4> kBranchKeywords{
    {{"ENDIF", kEndIf}, {"END IF", kEndIf}, {"IF ", kIf}, {"ELSE", kElse}}};

std::string_view TrimLeft(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

std::string_view Trim(std::string_view text) {
  text = TrimLeft(text);
  const std::size_t last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

// Where the word stands unless a double quote comes before it.
std::size_t FindUnquoted(std::string_view line, std::string_view word) {
  const std::size_t at = line.find(word);
  if (at == std::string_view::npos) return at;
  return line.substr(0, at).find('"') == std::string_view::npos ? at : std::string_view::npos;
}

// The end-of-line comment from " **" on, unless a double quote stands before it.
std::string_view WithoutComment(std::string_view line) {
  const std::size_t at = FindUnquoted(line, " **");
  return at == std::string_view::npos ? line : line.substr(0, at);
}

} // namespace

ScriptRun::ScriptRun(Control& control, std::ostream& console, std::ofstream& log)
    : control_(control), console_(console), log_(log), values_(*this) {}

double ScriptRun::PauseLeft() const {
  return Paused() ? std::max(0.0, pauseUntil_ - control_.clock.Seconds()) : 0.0;
}

ScriptRun::Question ScriptRun::Asking() const {
  if (!running_ || resume_ != Resume::kInput) return Question::kNone;
  switch (input_) {
  case Input::kYesNo:
    return Question::kYesNo;
  case Input::kSelect:
    return Question::kSelect;
  case Input::kFile:
    return Question::kFile;
  case Input::kNone:
    return Question::kNone;
  default:
    return Question::kEntry;
  }
}

int ScriptRun::Run(const ScriptRunArgs& args) {
  if (!running_) return Start(args);
  if (resume_ == Resume::kNone) {
    Report(kNotFromProgram);
    return -1;
  }
  const bool escape = control_.In().code == kCodeEsc;
  if (resume_ == Resume::kPause) {
    if (escape) return End(-1);
    if (control_.clock.Seconds() < pauseUntil_) return kStillRunning;
    resume_ = Resume::kNone;
    return Loop();
  }
  const Flow flow = Continue();
  if (flow == Flow::kWait) return kStillRunning;
  resume_ = Resume::kNone;
  if (flow == Flow::kEnd) return End(result_);
  return Loop();
}

int ScriptRun::Start(const ScriptRunArgs& args) {
  args_ = args;
  const Placement& at = args.placement;
  MakeTransform(transform_, 0.0, 0.0, at.x, at.y, at.sx, at.sy, at.angle);
  file_ = OpenFileChecked(control_.files, args.fileName, "rb", true);
  if (!file_) return 0;
  OpenReports();
  values_.Reset();
  ifStack_.clear();
  doDepth_ = 0;
  skipTarget_ = 0;
  skipNesting_ = 0;
  saved_.clear();
  nextSaved_ = 0;
  saving_ = false;
  fileEnded_ = false;
  rowsRead_ = 0;
  reopenable_ = false;
  countdown_ = kStatementCountdown;
  executed_ = 0;
  input_ = Input::kNone;
  resume_ = Resume::kNone;
  result_ = 1;
  SaveCommandState();
  running_ = true;
  // All a script run does is one step to take back, or part of the step of the command that
  // runs it (a drawing added from a script).
  heldBefore_ = control_.store.Journal().held;
  control_.store.HoldSteps(true);
  return Loop();
}

void ScriptRun::SaveCommandState() {
  const CommandState& state = control_.state;
  savedFlags_ = SavePromptState(state);
  savedInput_ = control_.In();
  for (std::size_t i = 0; i < savedPrompts_.size(); ++i) {
    const LevelSlot& slot = state.levels[i];
    savedPrompts_[i] = {slot.prompt, slot.title, slot.place};
  }
}

// The event that ended the run stays what it is, and the overlays keep telling what is on
// screen; the rest is as it was before the run.
void ScriptRun::RestoreCommandState() {
  CommandState& state = control_.state;
  RestorePromptState(state, savedFlags_);
  InputRecord& in = control_.In();
  InputRecord restored = savedInput_;
  restored.code = in.code;
  restored.rawKey = in.rawKey;
  restored.mouseX = in.mouseX;
  restored.mouseY = in.mouseY;
  restored.repeat = in.repeat;
  restored.drawn = in.drawn;
  in = restored;
  for (std::size_t i = 0; i < savedPrompts_.size(); ++i) {
    LevelSlot& slot = state.levels[i];
    if (slot.code == 0) continue; // a function that ended meanwhile keeps no prompt
    slot.prompt = savedPrompts_[i].prompt;
    slot.title = savedPrompts_[i].title;
    slot.place = savedPrompts_[i].place;
  }
  RefreshPrompt(control_);
}

void ScriptRun::OpenReports() {
  const std::string setup = control_.home + "/SETUP/";
  struct Report {
    std::FILE** file;
    const char* name;
    const char* heading;
  };
  for (const Report& r : {Report{&errors_, "ERRORS.txt", "ERROR REPORT OF FILE '"},
                          Report{&printings_, "PRINTINGS.txt", "PRINTINGS OF FILE '"}}) {
    *r.file = std::fopen((setup + r.name).c_str(), "wb");
    if (*r.file == nullptr) {
      console_ << "Could't open '" << r.name << "'!\n";
      continue;
    }
    std::fprintf(*r.file, "%s%s':", r.heading, args_.fileName.c_str());
  }
}

int ScriptRun::End(int result) {
  for (std::FILE** file : {&errors_, &printings_}) {
    if (*file != nullptr) std::fclose(*file);
    *file = nullptr;
  }
  file_.reset();
  CloseDataLevels(); // windows the script opened go with it
  if (running_) {
    RestoreCommandState();
    control_.store.HoldSteps(heldBefore_);
  }
  running_ = false;
  resume_ = Resume::kNone;
  input_ = Input::kNone;
  saved_.clear();
  saved_.shrink_to_fit();
  return result;
}

void ScriptRun::Pause(double seconds) {
  resume_ = Resume::kPause;
  const double now = control_.clock.Seconds();
  // An end that is no number would never come, and Esc would be the only way on.
  pauseUntil_ = std::isfinite(now + seconds) ? now + seconds : now;
}

void ScriptRun::Report(std::string_view message) {
  if (!values_.reporting) return;
  console_ << "\n" << line_ << "  [" << row_ << ". row]\n  " << message << "\n";
  if (errors_ == nullptr) return;
  std::fprintf(errors_, "\n%s   [%d. row]:\n  %.*s", line_.c_str(), row_,
               static_cast<int>(message.size()), message.data());
  std::fflush(errors_);
  ShowMessage(control_.screen, kSoundError, message, 0.0);
  // The box stays a second, as a pause the event loop runs through: Esc there ends the run.
  if (running_ && resume_ == Resume::kNone) Pause(kReportSeconds);
}

int ScriptRun::Loop() {
  for (;;) {
    if (resume_ == Resume::kPause) return kStillRunning;
    if (--countdown_ <= 0) {
      countdown_ = kStatementCountdown;
      Pause(0.0);
      return kStillRunning;
    }
    if (!NextLine()) return End(result_);
    ++executed_;
    values_.reporting = true;
    values_.separators = Separators::kNormal;
    const Flow flow = Execute(line_, false);
    if (flow == Flow::kEnd) return End(result_);
    if (flow == Flow::kWait) {
      resume_ = Resume::kInput;
      return kStillRunning;
    }
  }
}

// ---- lines ----

bool ScriptRun::ReadPhysical(std::string& line) {
  line.clear();
  bool any = false;
  bool quoted = false;
  int last = 0; // the last character of the physical line other than blanks and returns
  for (;;) {
    const int c = std::fgetc(file_.get());
    if (c == EOF) return any;
    any = true;
    if (c == '\n') {
      ++rowsRead_;
      if (last == '&') {
        last = 0;
        continue;
      }
      return true;
    }
    if (c == ';' && !quoted) return true;
    if (c == '"') quoted = !quoted;
    if (c != ' ' && c != '\r') last = c;
    if (c == '\r' || c == '&') continue;
    if (line.size() >= kScriptLineMax) {
      std::ungetc(c, file_.get()); // the rest is read as the next line
      line_ = line;
      Report(kTooLong);
      return true;
    }
    line.push_back(static_cast<char>(c));
  }
}

bool ScriptRun::NextLine() {
  if (nextSaved_ < saved_.size()) {
    const SavedLine& saved = saved_[nextSaved_];
    line_ = saved.text;
    row_ = saved.row;
    doDepth_ = saved.doDepth;
    current_ = nextSaved_++;
    currentSaved_ = true;
    replayed_ = true;
    return true;
  }
  std::string raw;
  row_ = rowsRead_ + 1;
  if (fileEnded_ || !ReadPhysical(raw)) {
    fileEnded_ = true;
    return false;
  }
  replayed_ = false;
  currentSaved_ = false;
  // Comments are set aside before a label is looked for: their colons make no labels.
  std::string_view text = TrimLeft(raw);
  std::string label;
  if (!text.empty() && text[0] != '*' && !text.starts_with("REM")) {
    const std::string_view code = WithoutComment(text);
    const std::size_t colon = code.find(':');
    if (colon != std::string_view::npos &&
        code.substr(0, colon).find('"') == std::string_view::npos) {
      for (const char c : code.substr(0, colon))
        if (c != ' ' && label.size() < kLabelMax) label.push_back(c);
      text = code.substr(colon + 1);
      saving_ = true;
    }
  }
  line_ = std::string(text);
  if (!saving_) return true;
  saved_.push_back({line_, label, row_, kNone, {}, 0.0, 1.0, doDepth_, ifStack_.size()});
  return SaveCurrent();
}

// The current line has just been appended to the saved lines.
bool ScriptRun::SaveCurrent() {
  current_ = saved_.size() - 1;
  nextSaved_ = saved_.size();
  currentSaved_ = true;
  if (saved_.size() <= kSavedLinesMax) return true;
  // Going on without the line would make a later LOOP, NEXT or GOTO skip it silently.
  Report(kSavedFull);
  saved_.pop_back();
  currentSaved_ = false;
  result_ = -1;
  return false;
}

void ScriptRun::Trace(int code) {
  if (code == kRem || !log_.is_open()) return;
  log_ << row_ << (replayed_ ? ".line: '" : ".LINE: '") << line_ << "' (" << code << ")\n";
}

// ---- recognising ----

int ScriptRun::Recognise(std::string_view line, std::size_t& cursor) const {
  if (line.starts_with("REM")) {
    cursor = 3;
    return kRem;
  }
  const bool branchOff = !TopTaken() && skipTarget_ == 0;
  auto search = [&](auto& table) {
    for (const Keyword& k : table) {
      const std::size_t at = FindUnquoted(line, k.word);
      if (at == std::string_view::npos) continue;
      cursor = k.code == kAssign ? at : at + k.word.size();
      return k.code;
    }
    return static_cast<int>(kNone);
  };
  if (branchOff) {
    const int code = search(kBranchKeywords);
    return code == kNone ? kRem : code;
  }
  return search(kKeywords);
}

bool ScriptRun::BlockIf(std::string_view line) const {
  const std::size_t then = FindOutsideQuotes(line, "THEN");
  return then == std::string_view::npos || Trim(line.substr(then + 4)).empty();
}

bool ScriptRun::BlockElse(std::string_view line) {
  const std::size_t at = FindUnquoted(line, "ELSE");
  return at != std::string_view::npos && Trim(line.substr(at + 4)).empty();
}

bool ScriptRun::TopTaken() const {
  return ifStack_.empty() || ifStack_.back();
}

bool ScriptRun::EnclosingTaken() const {
  return std::all_of(ifStack_.begin(), ifStack_.end() - (ifStack_.empty() ? 0 : 1),
                     [](bool b) { return b; });
}

ScriptRun::Flow ScriptRun::Execute(std::string_view raw, bool fromThen) {
  std::string_view line = TrimLeft(raw);
  if (line.empty() || line[0] == '*') return Flow::kNext;
  std::string text(Trim(WithoutComment(line)));
  std::size_t cursor = 0;
  const int code = Recognise(text, cursor);
  // The statement after THEN leaves the mark of its IF for an ELSE on the next line.
  const bool reopen = reopenable_ && !fromThen;
  if (!fromThen) reopenable_ = false;
  if (currentSaved_ && !fromThen && current_ < saved_.size()) saved_[current_].code = code;
  if (skipTarget_ != 0) {
    SkipLine(code, text, reopen);
    return Flow::kNext;
  }
  if (code == kNone) {
    Report(kNoKeyword);
    return Flow::kNext;
  }
  if (!fromThen) Trace(code);
  if (code == kElse && reopen) ifStack_.push_back(reopenTruth_);
  return Statement(code, text, cursor);
}

// Skip mode: loops still nest, block IFs still count (with a block ELSE that opens a one-line
// IF again); the target ends it.
bool ScriptRun::SkipLine(int code, std::string_view line, bool reopen) {
  if (code == kIf) {
    if (BlockIf(line)) {
      ifStack_.push_back(false);
    } else {
      reopenable_ = true;
      reopenTruth_ = false;
    }
  } else if (code == kElse && reopen && BlockElse(line)) {
    ifStack_.push_back(false);
  } else if (code == kEndIf && !ifStack_.empty()) {
    ifStack_.pop_back();
  } else if (code == kDo || code == kFor) {
    ++skipNesting_;
  } else if (code == kLoop || code == kNext) {
    if (skipNesting_ > 0) {
      --skipNesting_;
      return true;
    }
    if (code != std::abs(skipTarget_)) return true;
    const bool execute = skipTarget_ < 0;
    skipTarget_ = 0;
    if (execute) {
      std::size_t cursor = 0;
      const int again = Recognise(line, cursor);
      Statement(again, line, cursor);
    } else if (code == kLoop) {
      doDepth_ = std::max(0, doDepth_ - 1);
    }
  }
  return true;
}

ScriptRun::Flow ScriptRun::Statement(int code, std::string_view line, std::size_t cursor) {
  values_.Begin(line, cursor);
  const std::string_view rest = line.substr(std::min(cursor, line.size()));
  switch (code) {
  case kRem:
    return Flow::kNext;
  case kAssign:
    return Assignment(line, cursor);
  case kLine:
    return Line(false);
  case kCircle:
    return Line(true);
  case kText:
    return Text();
  case kMeasure:
    return Measure();
  case kPart:
    return Part();
  case kLimits:
    return Limits();
  case kPaper:
    return Paper();
  case kScale:
    return Scale();
  case kPrint:
    return Print();
  case kWait:
    return Wait();
  case kInput:
  case kInputText:
  case kInputYesNo:
    return AskInput(code);
  case kInputSelect:
    return AskSelect();
  case kUpdate:
    return Update();
  case kInputFile:
    return AskFile();
  case kDegrees:
    values_.degrees = true;
    return Flow::kNext;
  case kRadians:
    values_.degrees = false;
    return Flow::kNext;
  case kIf:
    return If(rest);
  case kElse:
    return Else(rest);
  case kEndIf:
    return EndIf();
  case kDo:
    return Do();
  case kLoop:
    return LoopBack(rest);
  case kFor:
    return For(rest);
  case kNext:
    return Next(rest);
  case kBreak:
    return BreakOut(false);
  case kContinue:
    return BreakOut(true);
  case kGoto:
    return GoTo(rest);
  default:
    return Flow::kNext;
  }
}

ScriptRun::Flow ScriptRun::Abort() {
  result_ = -1;
  return Flow::kEnd;
}

// ---- control flow ----

ScriptRun::Flow ScriptRun::If(std::string_view rest) {
  const bool block = BlockIf(rest);
  if (!TopTaken()) {
    // Not evaluated, but still an IF: an ELSE on the next line belongs to it.
    if (block) {
      ifStack_.push_back(false);
    } else {
      reopenable_ = true;
      reopenTruth_ = false;
    }
    return Flow::kNext;
  }
  const std::size_t then = FindOutsideQuotes(rest, "THEN");
  const bool truth =
      values_.Condition(then == std::string_view::npos ? rest : rest.substr(0, then));
  if (!block) {
    reopenable_ = true;
    reopenTruth_ = truth;
    return truth ? Execute(rest.substr(then + 4), true) : Flow::kNext;
  }
  if (ifStack_.size() >= kIfDepthMax) {
    Report(kIfTooDeep); // counts as an IF that never opened
    return Flow::kNext;
  }
  ifStack_.push_back(truth);
  return Flow::kNext;
}

ScriptRun::Flow ScriptRun::Else(std::string_view rest) {
  if (ifStack_.empty()) {
    Report(kNoIfBeforeElse);
    return Flow::kNext;
  }
  ifStack_.back() = EnclosingTaken() && !ifStack_.back();
  if (Trim(rest).empty()) return Flow::kNext;
  const bool taken = ifStack_.back();
  ifStack_.pop_back(); // a statement on the ELSE line closes the IF
  return taken ? Execute(rest, true) : Flow::kNext;
}

ScriptRun::Flow ScriptRun::EndIf() {
  if (ifStack_.empty())
    Report(kNoIfBeforeEnd);
  else
    ifStack_.pop_back();
  return Flow::kNext;
}

ScriptRun::Flow ScriptRun::Do() {
  if (!saving_) {
    saving_ = true;
    saved_.push_back({line_, {}, row_, kDo, {}, 0.0, 1.0, doDepth_, ifStack_.size()});
    if (!SaveCurrent()) return Flow::kEnd;
  }
  ++doDepth_;
  return Flow::kNext;
}

ScriptRun::Flow ScriptRun::LoopBack(std::string_view rest) {
  const std::size_t loopWhile = FindUnquoted(rest, "WHILE");
  if (loopWhile != std::string_view::npos && !values_.Condition(rest.substr(loopWhile + 5))) {
    doDepth_ = std::max(0, doDepth_ - 1);
    return Flow::kNext;
  }
  const std::size_t from = currentSaved_ ? current_ : saved_.size();
  for (std::size_t i = from; i-- > 0;) {
    if (saved_[i].code == kDo && saved_[i].doDepth == doDepth_ - 1) {
      nextSaved_ = i + 1;
      return Flow::kNext;
    }
  }
  Report(kNoDo);
  return Flow::kNext;
}

ScriptRun::Flow ScriptRun::For(std::string_view rest) {
  const std::size_t equals = rest.find('=');
  std::string name;
  if (equals == std::string_view::npos || !values_.VariableName(rest.substr(0, equals), name)) {
    Report("No number found!");
    return Flow::kNext;
  }
  if (ScriptValues::IsStringName(name)) {
    Report(kStringFor);
    return Flow::kNext;
  }
  values_.separators = Separators::kFor;
  values_.Begin(rest, equals + 1);
  const double start = values_.Number();
  const double end = values_.Number();
  double step = 1.0;
  if (!values_.OptionalNumber(step) || std::abs(step) < kScriptTolerance) step = 1.0;
  values_.separators = Separators::kNormal;
  values_.SetNumber(name, start);
  if (!saving_ || !currentSaved_) {
    saving_ = true;
    saved_.push_back({line_, {}, row_, kFor, {}, 0.0, 1.0, doDepth_, ifStack_.size()});
    if (!SaveCurrent()) return Flow::kEnd;
  }
  SavedLine& saved = saved_[current_];
  saved.code = kFor;
  saved.forVariable = name;
  saved.forEnd = end;
  saved.forStep = step;
  return Flow::kNext;
}

ScriptRun::Flow ScriptRun::Next(std::string_view rest) {
  std::string name;
  const std::string_view written = Trim(rest);
  if (written.empty()) {
    Report(kNoNextName);
    return Flow::kNext;
  }
  if (!values_.VariableName(written, name)) return Flow::kNext;
  if (values_.Find(name) == nullptr) {
    Report(kWrongNext);
    return Flow::kNext;
  }
  const std::size_t from = currentSaved_ ? current_ : saved_.size();
  for (std::size_t i = from; i-- > 0;) {
    const SavedLine& loop = saved_[i];
    if (loop.code != kFor || loop.forVariable != name) continue;
    const double value = values_.NumberOf(name) + loop.forStep;
    values_.SetNumber(name, value);
    const bool goOn = loop.forStep > 0.0 ? value <= loop.forEnd + kScriptTolerance
                                         : value >= loop.forEnd - kScriptTolerance;
    if (goOn) nextSaved_ = i + 1;
    return Flow::kNext;
  }
  Report(kNoFor);
  return Flow::kNext;
}

ScriptRun::Flow ScriptRun::BreakOut(bool resume) {
  // The innermost loop still open: a LOOP or NEXT passed on the way back closes one.
  int closed = 0;
  const std::size_t from = currentSaved_ ? current_ : saved_.size();
  for (std::size_t i = from; i-- > 0;) {
    const int code = saved_[i].code;
    if (code == kLoop || code == kNext) ++closed;
    if (code != kDo && code != kFor) continue;
    if (closed > 0) {
      --closed;
      continue;
    }
    const int target = code == kDo ? kLoop : kNext;
    skipTarget_ = resume ? -target : target;
    skipNesting_ = 0;
    return Flow::kNext;
  }
  Report(resume ? kNoContinue : kNoBreak);
  return Flow::kNext;
}

ScriptRun::Flow ScriptRun::GoTo(std::string_view rest) {
  if (saved_.empty()) {
    Report(kNoForward);
    return Flow::kNext;
  }
  std::string label;
  for (const char c : rest)
    if (c != ' ' && label.size() < kLabelMax) label.push_back(c);
  if (label.empty()) {
    Report(kNoLabelName);
    return Flow::kNext;
  }
  for (std::size_t i = saved_.size(); i-- > 0;) {
    if (saved_[i].label == label) {
      // The IF blocks opened since the label are left for good.
      if (ifStack_.size() > saved_[i].ifDepth) ifStack_.resize(saved_[i].ifDepth);
      nextSaved_ = i;
      return Flow::kNext;
    }
  }
  Report(kNoLabel);
  return Flow::kNext;
}

// ---- values ----

ScriptRun::Flow ScriptRun::Assignment(std::string_view line, std::size_t equals) {
  std::string name;
  if (!values_.VariableName(line.substr(0, equals), name)) return Flow::kNext;
  values_.Begin(line, equals + 1);
  if (ScriptValues::IsStringName(name)) {
    std::string value;
    if (!values_.String(value, kScriptTextMax + 1)) {
      Report(kNoValue);
      value.clear();
    }
    values_.SetText(name, value);
    return Flow::kNext;
  }
  values_.SetNumber(name, values_.Number());
  return Flow::kNext;
}

ScriptRun::Flow ScriptRun::Print() {
  std::string text;
  if (!values_.String(text, kPrintMax)) return Flow::kNext;
  SetPrompt(control_, Language::kEnglish, {}, text);
  SetPrompt(control_, Language::kFinnish, {}, text);
  if (printings_ != nullptr) {
    std::fprintf(printings_, "\n%s", text.c_str());
    std::fflush(printings_);
  }
  console_ << "\n" << text << std::flush;
  return Flow::kNext;
}

ScriptRun::Flow ScriptRun::Wait() {
  const double seconds = values_.Number();
  if (!(seconds <= kWaitMax)) {
    Report(kWaitTooLong);
    return Flow::kNext;
  }
  Pause(std::max(seconds, kWaitMin));
  return Flow::kNext;
}

} // namespace lumora
