// Key names of event files: "a", "§", "F1", "Shift+Up", "Ctrl+Enter".
#pragma once

#include "control/event_cycle.h"

#include <string_view>

namespace lumora {

// A key of an event file is handed to the cycle as the window hands over a key.
using PlayedKey = KeyInput;

// Shift and Ctrl change what an ASCII key types, as a keyboard does (Ctrl+Enter types its own
// code); the modifiers stay with the key. False when the name is not a key.
bool ParseKeyName(std::string_view name, PlayedKey& key);

} // namespace lumora
