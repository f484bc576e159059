#include "screen/prompt_line.h"

#include "screen/text_screen.h"
#include "screen/write_text.h"

#include <algorithm>

namespace lumora {
namespace {

constexpr int kPromptRow = 1;
constexpr int kPromptColumn = 2;

void WritePrompt(TextScreen& screen, const PromptPlace& place, std::string_view text,
                 std::string_view note = {}) {
  const int widest = MessageWidth(screen);
  const int width = place.width <= 0 ? widest : std::min(place.width, widest);
  if (note.empty() || place.row != kPromptRow) {
    WriteText(screen, place.row, place.column, width, text, kStyleNormal);
    return;
  }
  // The note stands out after the prompt: the style is switched to highlight unless the prompt
  // already ends in it.
  std::string line(text);
  const bool highlighted = std::count(line.begin(), line.end(), '^') % 2 == 1;
  line += highlighted ? "  " : "  ^";
  line += note;
  WriteText(screen, place.row, place.column, width, line, kStyleNormal);
}

bool AnyActive(const PromptLineInput& input) {
  return input.help.code != 0 || input.helpMenu.code != 0 || input.property.code != 0 ||
         input.main.code != 0;
}

} // namespace

bool RefreshPromptLine(TextScreen& screen, const PromptLineInput& input) {
  PromptLineMemory& memory = screen.promptLine;
  const Language language = CurrentLanguage(screen);
  if (memory.valid && memory.language == language && memory.shown == input) return false;
  memory.valid = true;
  memory.language = language;
  memory.shown = input;

  if (!AnyActive(input)) {
    WritePrompt(screen, {kPromptRow, kPromptColumn, 0}, Tr(screen, kIdlePrompt), input.note);
    return true;
  }
  const LevelPrompt* over = nullptr;
  for (const LevelPrompt* level : {&input.help, &input.helpMenu, &input.property}) {
    if (level->code != 0 && !level->text.empty()) {
      over = level;
      break;
    }
  }
  // A main level without a function clears its place rather than show a finished prompt.
  WritePrompt(screen, input.main.place, input.main.code != 0 ? input.main.text : "",
              over == nullptr ? std::string_view(input.note) : std::string_view());
  if (over != nullptr) WritePrompt(screen, over->place, over->text, input.note);
  return true;
}

void ForgetPromptLine(TextScreen& screen) {
  screen.promptLine.valid = false;
}

} // namespace lumora
