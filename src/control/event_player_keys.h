// Key names of event files: "a", "§", "F1", "Shift+Up", "Ctrl+Enter".
#pragma once

#include "control/event_cycle.h"

#include <string_view>

namespace lumora {

struct PlayedKey {
  bool special = false; // a special key (function, arrow, page keys), else an ASCII key
  int key = 0;          // the window system's key number, or the ASCII byte
  Modifiers modifiers;
};

// False when the name is not a key.
bool ParseKeyName(std::string_view name, PlayedKey& key);

} // namespace lumora
