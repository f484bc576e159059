// Reading of the setup file SETUP/<name>.txt into a Setup.
#pragma once

#include "setup/setup.h"
#include "setup/setup_keywords.h"
#include "text/message_sink.h"
#include "util/text_pair.h"

#include <string>
#include <string_view>

namespace lumora {

struct Fonts;

// What reading a setup touches besides the Setup itself.
struct SetupEnvironment {
  std::string home;   // program directory
  Language& language; // the program-wide language; the ENGLISH: key sets it
  MessageSink& sink;
  Fonts* fonts = nullptr; // each font row loads its font here; none: rows are only listed
};

class SetupReader {
public:
  SetupReader(Setup& setup, SetupEnvironment& env) : setup_(setup), env_(env) {}

  // One line of the file: comments and blank lines are skipped, a keyword line selects the
  // section (kNoSection when its keyword is unknown), data goes to the current section.
  void ParseSetupLine(std::string_view line, SetupSection& section);

private:
  void ParseData(std::string_view line, SetupSection section);
  void ParseSingleValue(std::string_view line, SetupSection section);
  bool ParseValueList(std::string_view line, SetupSection section);
  bool ParseCodeList(std::string_view line, SetupSection section);
  bool ParsePresets(std::string_view line, SetupSection section);
  void ParseFontRow(std::string_view line);

  Setup& setup_;
  SetupEnvironment& env_;
};

// The path of a setup: <home>/SETUP/<name>.txt.
std::string SetupPath(std::string_view home, std::string_view name);

// Shows the path being read, then reads every line. False when the file cannot be opened
// (the open-failure message has been shown). The menus are built by the caller afterwards.
bool ReadSetup(std::string_view name, Setup& setup, SetupEnvironment& env);

// The same from text already in memory (the file's content).
void ReadSetupText(std::string_view content, Setup& setup, SetupEnvironment& env);

} // namespace lumora
