// The one object that owns all program-wide state. Nothing else is global: every test builds a
// fresh App, and the window and the headless tools each build one at start-up.
#pragma once

#include <string>

#include "util/text_pair.h"

namespace lumora {

struct App {
  // Language of every text shown; the setup chooses it and the key 0 switches it.
  Language language = Language::kEnglish;

  // The program directory: SETUP/, DRAWINGS/, PARTS/, DATA/, Sounds/ and PLOTS/ hang below it.
  std::string home = ".";

  std::string_view Tr(const TextPair& text) const { return text.In(language); }
};

} // namespace lumora
