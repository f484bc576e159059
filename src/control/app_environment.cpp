#include "control/app_environment.h"

#include "control/app.h"
#include "screen/messages.h"
#include "screen/write_text.h"
#include "text/text_layout.h"

namespace lumora {
namespace {

constexpr double kErrorSeconds = 2.0; // an error box stays this long
constexpr int kMessageRow = 1;
constexpr int kMessageColumn = 2;

} // namespace

void AppStoreEnvironment::ShowError(const TextPair& message) {
  ShowMessage(app_.screen, kSoundError, message, kErrorSeconds);
}

// The painter asks for a filling's hatch when it first draws it normally.
void AppStoreEnvironment::MakeHatch(FillingElement& filling) {
  app_.geometry.settings.arcAccuracy = app_.setup.arcAccuracy;
  app_.geometry.BuildHatch(filling);
}

void AppStoreEnvironment::RedrawAll() {
  if (app_.canvas != nullptr) RepaintWindow(app_);
}

// The menu bar is written with the rest of the message band by every repaint.
void AppStoreEnvironment::RedrawMenuBar() {}

double AppStoreEnvironment::ViewBoxWidth() const {
  return BoxWidth(app_.view.viewBox);
}

void AppStoreEnvironment::SetViewBoxes(const Box& box) {
  app_.view.viewBox = box;
  app_.view.previousViewBox = box;
}

int AppStoreEnvironment::LoadedFontCount() const {
  return app_.fonts.count;
}

Box AppStoreEnvironment::TextExtent(const TextElement& text, bool includePoints) const {
  return lumora::TextExtent(app_.fonts, app_.drawing.paperUnit, text, includePoints);
}

Language AppFileEnvironment::CurrentLanguage() const {
  return app_.language;
}

void AppFileEnvironment::ShowError(std::string_view message) {
  ShowMessage(app_.screen, kSoundError, message, kErrorSeconds);
}

void AppFileEnvironment::Trace(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  ConsoleLine(app_.screen, line);
}

void AppFileEnvironment::ResetOrigins() {
  app_.view.globalOrigin = {0.0, 0.0};
  app_.view.localOrigin = {0.0, 0.0};
}

void AppFileEnvironment::SetUpPlotter(Drawing& drawing) {
  PlotterSetUp(app_.plotter, drawing, app_.plotter.paperWidth, app_.plotter.paperHeight,
               app_.messageSink);
}

int AppFileEnvironment::RunScript(const std::string& fileName, PartElement* group,
                                  const Placement& placement, bool draw) {
  return app_.script.Run({fileName, group, placement, draw});
}

const Setup& AppFileEnvironment::ReadingSetup() const {
  return app_.setup;
}

const Fonts* AppFileEnvironment::LetterFonts() const {
  return &app_.fonts;
}

void AppMessageSink::Show(MessageKind kind, std::string_view text) {
  TextScreen& screen = app_.screen;
  if (screen.consoleOutput) {
    ConsoleLine(screen, text);
    return;
  }
  switch (kind) {
  case MessageKind::kMessage:
    WriteText(screen, kMessageRow, kMessageColumn, MessageWidth(screen), text, kStyleNormal);
    break;
  case MessageKind::kNotice:
    ShowNotice(screen, text, false);
    break;
  case MessageKind::kError:
    ShowMessage(screen, kSoundError, text, kErrorSeconds);
    break;
  }
}

} // namespace lumora
