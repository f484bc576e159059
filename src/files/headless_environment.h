// The painter, store and file environments of a program without a screen: the command-line tools,
// the fuzz target and the benchmarks. Nothing is drawn and nothing is traced; messages are kept so
// that a tool can print the one that matters.
#pragma once

#include "files/file_environment.h"
#include "model/painter.h"
#include "model/store_environment.h"
#include "setup/setup.h"

#include <string>
#include <vector>

namespace lumora {

// Nothing to draw on: every element is left off the screen there is not.
class HeadlessPainter : public Painter {
public:
  void Draw(const LineElement&, DrawMode) override {}
  void Draw(FillingElement&, DrawMode) override {}
  void Draw(const TextElement&, DrawMode) override {}
  void DrawMarker(const Point&, char) override {}
  void DrawOutline(const OutlineNode&) override {}
};

class HeadlessStoreEnvironment : public StoreEnvironment {
public:
  std::vector<std::string> errors; // English texts

  void ShowError(const TextPair& message) override { errors.emplace_back(message.en); }
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
  void ResetOrigins() override {}
  void SetUpPlotter(Drawing&) override {}
  const Setup& ReadingSetup() const override { return setup; }
  const Fonts* LetterFonts() const override { return fonts; }
  using FileReporter::ShowError;

  const Fonts* fonts = nullptr; // the fonts letters are weighed with, if any
};

} // namespace lumora
