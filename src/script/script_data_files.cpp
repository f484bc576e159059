// INPUT_FILE: a cascade of selections from data files. Each file's first line names the
// variables, every further line holds their values; a FILE or FILE$ among the names makes the
// chosen value the next data file, shown in a window offset from the one before.
#include "files/file_access.h"
#include "files/file_environment.h"
#include "protocol/functions.h"
#include "screen/text_screen.h"
#include "screen/text_window.h"
#include "screen/write_text.h"
#include "script/script_run.h"
#include "sound/my_beep.h"
#include "ui/select_str.h"
#include "util/codes.h"

#include <algorithm>
#include <cmath>

namespace lumora {
namespace {

constexpr std::string_view kNoDataFile = "No name for textfile found!";
constexpr std::string_view kDataFileFull = "Maximum size of INPUT_FILE reached!";

constexpr std::size_t kPromptMax = 99;
constexpr std::size_t kDataLinesMax = 80;
constexpr std::size_t kDataLineMax = 79;
constexpr std::size_t kDataLevelsMax = 3;
constexpr int kFirstRow = 3;
constexpr int kFirstColumn = 2;
// Each deeper level opens this far down and right of the one before.
constexpr int kLevelRowStep = 2;
constexpr int kLevelColumnStep = 4;

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t comma = line.find(',');
    fields.push_back(Trimmed(line.substr(0, comma)));
    if (comma == std::string_view::npos) return fields;
    line.remove_prefix(comma + 1);
  }
}

// Up to 80 lines of up to 79 characters; false when there was more.
bool ReadDataLines(std::FILE* file, std::vector<std::string>& lines) {
  bool whole = true;
  lines.assign(1, std::string());
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
    if (c == '\r') continue;
    if (c == '\n') {
      if (lines.size() > kDataLinesMax) break;
      lines.emplace_back();
      continue;
    }
    if (lines.back().size() < kDataLineMax)
      lines.back().push_back(static_cast<char>(c));
    else
      whole = false;
  }
  if (lines.size() > 1 && lines.back().empty()) lines.pop_back();
  if (lines.size() > kDataLinesMax) {
    lines.resize(kDataLinesMax);
    whole = false;
  }
  return whole;
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace

ScriptRun::Flow ScriptRun::AskFile() {
  std::string prompt;
  if (!values_.String(prompt, kPromptMax)) return Flow::kNext;
  std::string file;
  const bool reporting = values_.reporting;
  values_.reporting = false;
  const bool named = values_.String(file, kScriptTextMax) && !Trimmed(file).empty();
  double width = 0.0;
  double height = 0.0;
  if (named && values_.OptionalNumber(width)) values_.OptionalNumber(height);
  values_.reporting = reporting;
  if (!named) {
    Report(kNoDataFile);
    return Flow::kNext;
  }
  dataWidth_ = std::isfinite(width) ? RoundToInt(width) : 0;
  dataHeight_ = std::isfinite(height) ? RoundToInt(height) : 0;
  inputPrompt_ = prompt;
  CloseDataLevels();
  if (!OpenDataLevel(std::string(Trimmed(file)))) return Flow::kNext;
  input_ = Input::kFile;
  Beep(control_, kSoundWaiting);
  return ContinueFile();
}

// Reads the data file and opens its window below and right of the level before.
bool ScriptRun::OpenDataLevel(const std::string& file) {
  std::string name = file;
  if (name.find(".txt") == std::string::npos && name.find(".TXT") == std::string::npos)
    name += ".txt";
  std::string failed;
  const FilePtr data = OpenFileChecked(control_.files, DirectoryOf(args_.fileName) + "DATA/" + name,
                                       "rb", false, &failed);
  if (!data) {
    Report(failed);
    return false;
  }
  DataLevel level;
  if (!ReadDataLines(data.get(), level.lines)) Report(kDataFileFull);
  if (level.lines.size() < 2) return false; // nothing to choose from
  const int depth = static_cast<int>(dataLevels_.size());
  level.row = kFirstRow + depth * kLevelRowStep;
  level.column = kFirstColumn + depth * kLevelColumnStep;
  std::size_t longest = 1;
  for (const std::string& line : level.lines) longest = std::max(longest, line.size());
  int width = static_cast<int>(longest);
  if (dataWidth_ > 0) width = std::min(width, dataWidth_);
  const TextScreen& screen = control_.screen;
  width = std::clamp(width, 1, std::max(1, MessageWidth(screen) - (level.column - kFirstColumn)));
  int rows = static_cast<int>(level.lines.size());
  if (dataHeight_ > 0) rows = std::min(rows, dataHeight_);
  rows = std::clamp(rows, 1, std::max(1, ListHeight(screen) - (level.row - kFirstRow)));
  level.width = width;
  level.rows = rows;
  level.lines.front().resize(std::max(level.lines.front().size(), std::size_t(width)), ' ');
  if (!OpenWindow(control_.screen, level.row, level.column, rows, width)) return false;
  dataLevels_.push_back(std::move(level));
  return true;
}

// After a full repaint the windows of the levels behind the open list are empty boxes: their
// rows are written again, with the row chosen there still marked.
void ScriptRun::RewriteDataLevels() {
  for (std::size_t i = 0; i + 1 < dataLevels_.size(); ++i) {
    const DataLevel& level = dataLevels_[i];
    const int count = static_cast<int>(level.lines.size());
    const int first = level.chosen < level.rows ? 0 : level.chosen - level.rows + 1;
    for (int r = 0; r < level.rows && first + r < count; ++r) {
      const int item = first + r;
      const std::string& text = level.lines[static_cast<std::size_t>(item)];
      if (item == 0) {
        WriteText(control_.screen, level.row, level.column, level.width, text, kStyleDimmed, true,
                  true);
      } else {
        WriteText(control_.screen, level.row + r, level.column, level.width, text, kStyleNormal,
                  item == level.chosen);
      }
    }
  }
}

void ScriptRun::CloseDataLevels() {
  for (; !dataLevels_.empty(); dataLevels_.pop_back()) CloseWindow(control_.screen);
}

// One step of the selection in the innermost level.
ScriptRun::Flow ScriptRun::ContinueFile() {
  // A list that could not open again (too many nested) would loop: the second try gives up.
  if (control_.In().code == kContinueTick && control_.state.windowRedrawCounter > 0)
    RewriteDataLevels();
  for (int attempt = 0; attempt < 2; ++attempt) {
    DataLevel& level = dataLevels_.back();
    SetPrompt(control_, TextPair{}, TextPair{inputPrompt_, inputPrompt_});
    SelectArgs args;
    args.row = level.row;
    args.column = level.column;
    args.rows = level.rows;
    args.width = level.width;
    args.initial = level.chosen;
    args.header = true;
    const int answer = SelectStr(control_, control_.prompts, args, level.lines);
    if (answer == kStillRunning) return Flow::kWait;
    if (answer >= 1) {
      level.chosen = answer;
      return DataChosen(answer);
    }
    if (answer == kSelectEsc) {
      CloseDataLevels();
      input_ = Input::kNone;
      result_ = 0; // Esc at a question cancels the run
      return Flow::kEnd;
    }
    // Backspace goes back a level; on the first, and for Tab or Ctrl+Enter, the list comes
    // again.
    if (answer == kSelectBack && dataLevels_.size() > 1) {
      CloseWindow(control_.screen);
      dataLevels_.pop_back();
      attempt = -1;
    }
  }
  CloseDataLevels();
  input_ = Input::kNone;
  return Flow::kNext;
}

// The chosen line's values go to the heading's names; a FILE among them leads a level deeper.
ScriptRun::Flow ScriptRun::DataChosen(int index) {
  const DataLevel& level = dataLevels_.back();
  const std::vector<std::string_view> names = Fields(level.lines.front());
  const std::vector<std::string_view> values = Fields(level.lines[static_cast<std::size_t>(index)]);
  std::string next;
  for (std::size_t i = 0; i < names.size(); ++i) {
    std::string name;
    if (names[i].empty() || !values_.VariableName(names[i], name)) continue;
    const std::string_view value = i < values.size() ? values[i] : std::string_view{};
    values_.SetText(name, value);
    if (name == "FILE" || name == "FILE$") next = value;
  }
  if (!next.empty() && dataLevels_.size() < kDataLevelsMax && OpenDataLevel(next)) {
    Beep(control_, kSoundWaiting);
    return ContinueFile();
  }
  CloseDataLevels();
  input_ = Input::kNone;
  return Flow::kNext;
}

} // namespace lumora
