#include "screen/prompt_line.h"

#include "screen/text_screen.h"
#include "screen/write_text.h"

#include <algorithm>

namespace lumora {
namespace {

constexpr int kPromptRow = 1;
constexpr int kPromptColumn = 2;

void WritePrompt(TextScreen& screen, const PromptPlace& place, std::string_view text) {
  const int widest = MessageWidth(screen);
  const int width = place.width <= 0 ? widest : std::min(place.width, widest);
  WriteText(screen, place.row, place.column, width, text, kStyleNormal);
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
    WritePrompt(screen, {kPromptRow, kPromptColumn, 0}, Tr(screen, kIdlePrompt));
    return true;
  }
  // A main level without a function clears its place rather than show a finished prompt.
  WritePrompt(screen, input.main.place, input.main.code != 0 ? input.main.text : "");
  for (const LevelPrompt* level : {&input.help, &input.helpMenu, &input.property}) {
    if (level->code != 0 && !level->text.empty()) {
      WritePrompt(screen, level->place, level->text);
      break;
    }
  }
  return true;
}

void ForgetPromptLine(TextScreen& screen) {
  screen.promptLine.valid = false;
}

} // namespace lumora
