// What the element store, the file reader and the setup reader need from the rest of the
// program besides the painter, answered with the App's screen, view and fonts.
#pragma once

#include "files/file_environment.h"
#include "model/store_environment.h"
#include "text/message_sink.h"
#include "view/render.h"

namespace lumora {

struct App;

class AppStoreEnvironment final : public StoreEnvironment, public HatchSource {
public:
  explicit AppStoreEnvironment(App& app) : app_(app) {}

  void ShowError(const TextPair& message) override;
  void RedrawAll() override;
  void RedrawMenuBar() override;
  double ViewBoxWidth() const override;
  void SetViewBoxes(const Box& box) override;
  int LoadedFontCount() const override;
  Box TextExtent(const TextElement& text, bool includePoints) const override;
  void MakeHatch(FillingElement& filling) override;

private:
  App& app_;
};

class AppFileEnvironment final : public FileEnvironment {
public:
  explicit AppFileEnvironment(App& app) : app_(app) {}

  Language CurrentLanguage() const override;
  void ShowError(std::string_view message) override;
  void Trace(std::string_view line) override;
  void ResetOrigins() override;
  void SetUpPlotter(Drawing& drawing) override;
  int RunScript(const std::string& fileName, PartElement* group, const Placement& placement,
                bool draw) override;
  const Setup& ReadingSetup() const override;
  const Fonts* LetterFonts() const override;
  using FileReporter::ShowError;

private:
  App& app_;
};

// Setup and font messages: on the console until the window exists, then on the screen.
class AppMessageSink final : public MessageSink {
public:
  explicit AppMessageSink(App& app) : app_(app) {}
  void Show(MessageKind kind, std::string_view text) override;

private:
  App& app_;
};

} // namespace lumora
