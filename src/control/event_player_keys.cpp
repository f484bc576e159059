#include "control/event_player_keys.h"

#include "protocol/command_state.h"
#include "util/latin1.h"

#include <array>
#include <string>

namespace lumora {
namespace {

struct NamedKey {
  std::string_view name;
  bool special;
  int key;
};

constexpr std::array<NamedKey, 19> kNamedKeys{{
    {"Left", true, kKeyLeft},
    {"Up", true, kKeyUp},
    {"Right", true, kKeyRight},
    {"Down", true, kKeyDown},
    {"PageUp", true, kKeyPageUp},
    {"PageDown", true, kKeyPageDown},
    {"Home", true, kKeyHome},
    {"End", true, kKeyEnd},
    {"Insert", true, kKeyInsert},
    {"Delete", false, kCodeDelete},
    {"Enter", false, kCodeEnter},
    {"Tab", false, kCodeTab},
    {"Backspace", false, kCodeBackspace},
    {"Esc", false, kCodeEsc},
    // Modifiers and locks pressed alone, as the window system reports them.
    {"Shift", true, kKeyShift},
    {"Ctrl", true, kKeyCtrl},
    {"Alt", true, kKeyAlt},
    {"Super", true, kKeySuper},
    {"NumLock", true, kKeyNumLock},
}};

constexpr int kSpace = ' ';
constexpr int kControlMask = 0x1F; // Ctrl with a letter gives its control character
constexpr std::string_view kFunctionPrefix = "F";

bool TakePrefix(std::string_view& name, std::string_view prefix) {
  if (name.size() <= prefix.size() || !name.starts_with(prefix)) return false;
  name.remove_prefix(prefix.size());
  return true;
}

bool FunctionKey(std::string_view name, int& key) {
  if (!TakePrefix(name, kFunctionPrefix) || name.size() > 2) return false;
  int number = 0;
  for (char c : name) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
  }
  if (number < kKeyF1 || number > kKeyF12) return false;
  key = number;
  return true;
}

bool NamedOrFunction(std::string_view name, PlayedKey& key) {
  if (FunctionKey(name, key.key)) {
    key.special = true;
    return true;
  }
  if (name == "Space") {
    key.key = kSpace;
    return true;
  }
  for (const NamedKey& named : kNamedKeys) {
    if (named.name == name) {
      key.special = named.special;
      key.key = named.key;
      return true;
    }
  }
  return false;
}

// Shift and Ctrl change what an ASCII key types, as a keyboard does.
void ApplyModifiers(PlayedKey& key) {
  if (key.special) return;
  const bool letter = (key.key >= 'a' && key.key <= 'z') || (key.key >= 'A' && key.key <= 'Z');
  if (key.modifiers.ctrl && key.key == kCodeEnter) {
    key.key = kCodeCtrlEnter;
  } else if (key.modifiers.ctrl && letter) {
    key.key &= kControlMask;
  } else if (key.modifiers.shift && key.key >= 'a' && key.key <= 'z') {
    key.key = key.key - 'a' + 'A';
  }
}

} // namespace

bool ParseKeyName(std::string_view name, PlayedKey& key) {
  key = {};
  for (bool more = true; more;) {
    more = false;
    if (TakePrefix(name, "Shift+")) more = key.modifiers.shift = true;
    if (TakePrefix(name, "Ctrl+")) more = key.modifiers.ctrl = true;
    if (TakePrefix(name, "Alt+")) more = key.modifiers.alt = true;
  }
  if (!NamedOrFunction(name, key)) {
    const std::string latin1 = Utf8ToLatin1(name);
    if (latin1.size() != 1) return false;
    key.key = static_cast<unsigned char>(latin1[0]);
  }
  ApplyModifiers(key);
  return true;
}

} // namespace lumora
