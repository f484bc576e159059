// The store and file environments of a program without a screen: the command-line tools, the
// fuzz target and the benchmarks. Nothing is drawn and nothing is traced; messages are kept so
// that a tool can print the one that matters.
#pragma once

#include "files/file_environment.h"
#include "model/store_environment.h"
#include "setup/setup.h"

#include <string>
#include <vector>

namespace lumora {

class HeadlessStoreEnvironment : public StoreEnvironment {
public:
  std::vector<std::string> errors; // English texts

  void ShowError(const TextPair& message) override { errors.emplace_back(message.en); }
  void DrawLine(const LineElement&, int) override {}
  void DrawFilling(FillingElement&, int) override {}
  void DrawText(const TextElement&, int) override {}
  void DrawMarker(const Point&, char) override {}
  void DrawOutline(const OutlineNode&) override {}
  void RedrawAll() override {}
  void RedrawMenuBar() override {}
  double ViewBoxWidth() const override { return 1.0; }
  void SetViewBoxes(const Box&) override {}
  int LoadedFontCount() const override { return 1; }
};

class HeadlessFileEnvironment : public FileEnvironment {
public:
  Language language = Language::kEnglish;
  std::vector<std::string> errors; // Latin-1, in the language above
  Setup setup;                     // the lists a foreign file's attributes are matched with

  Language CurrentLanguage() const override { return language; }
  void ShowError(std::string_view message) override { errors.emplace_back(message); }
  void Trace(std::string_view) override {}
  void DrawLine(const LineElement&) override {}
  void DrawFilling(FillingElement&) override {}
  void DrawText(const TextElement&) override {}
  void ResetOrigins() override {}
  void SetUpPlotter(Drawing&) override {}
  const Setup& ReadingSetup() const override { return setup; }
  using FileReporter::ShowError;
};

} // namespace lumora
