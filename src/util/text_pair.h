// An English / Finnish pair of the same user-visible text, chosen at the moment of showing.
#pragma once

#include "util/latin1.h"

#include <cstddef>
#include <string_view>

namespace lumora {

enum class Language { kFinnish = 0, kEnglish = 1 };

// Where a language's text stands among texts kept by language.
constexpr std::size_t LanguageIndex(Language language) {
  return static_cast<std::size_t>(language);
}

struct TextPair {
  std::string_view en;
  std::string_view fi;

  constexpr std::string_view In(Language lang) const {
    return lang == Language::kEnglish ? en : fi;
  }
};

} // namespace lumora
