#include "commands/line_commands.h"

#include "element_geometry/element_geometry.h"
#include "protocol/command_state.h"

#include <string>

namespace lumora {

void SetNumberedPrompt(Control& control, const TextPair& title, const TextPair& before, int number,
                       const TextPair& after) {
  const std::string digits = std::to_string(number);
  for (Language language : {Language::kFinnish, Language::kEnglish}) {
    if (language == control.Lang()) continue;
    SetPrompt(control, language, title.In(language),
              std::string(before.In(language)) + digits + std::string(after.In(language)));
  }
  const Language shown = control.Lang();
  SetPrompt(control, shown, title.In(shown),
            std::string(before.In(shown)) + digits + std::string(after.In(shown)));
}

// Taking the highlight away erases the line; it is drawn again in its own look.
void ShowNormally(Control& control, LineElement& line) {
  control.store.Unselect(&line);
  control.store.painter().Draw(line, DrawMode::kNormal);
}

} // namespace lumora
