// An English / Finnish pair of the same user-visible text, chosen at the moment of showing.
#pragma once

#include "util/latin1.h"

#include <string_view>

namespace lumora {

enum class Language { kFinnish = 0, kEnglish = 1 };

struct TextPair {
  std::string_view en;
  std::string_view fi;

  constexpr std::string_view In(Language lang) const {
    return lang == Language::kEnglish ? en : fi;
  }
};

} // namespace lumora
