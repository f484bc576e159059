// Where the file routines send what they have to say: error messages (shown by the UI with
// their sound cue), the console trace of reads and writes (also copied into the diagnostic
// log when one is open), and the language the messages are chosen in.
#pragma once

#include "util/text_pair.h"

#include <string_view>

namespace lumora {

class FileReporter {
public:
  virtual ~FileReporter() = default;

  virtual Language CurrentLanguage() const = 0;
  // An error message, Latin-1, already in the current language.
  virtual void ShowError(std::string_view message) = 0;
  // A console trace line such as "Reading file 'x'\n"; the log receives the same line.
  virtual void Trace(std::string_view line) = 0;

  void ShowError(const TextPair& message) { ShowError(message.In(CurrentLanguage())); }
};

} // namespace lumora
