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

void AppStoreEnvironment::DrawLine(const LineElement& line, DrawMode mode) {
  if (app_.canvas == nullptr) return;
  lumora::DrawLine(app_.Scene(), line, mode);
  if (mode == DrawMode::kErase) app_.window.erased.push_back(LineBox(line));
}

void AppStoreEnvironment::DrawFilling(FillingElement& filling, DrawMode mode) {
  if (app_.canvas == nullptr) return;
  if (mode == DrawMode::kNormal && filling.hatch == nullptr) MakeHatch(filling);
  lumora::DrawFilling(app_.Scene(), filling, mode);
  if (mode == DrawMode::kErase) app_.window.erased.push_back(FillingBox(filling));
}

// Built once, at the first normal drawing; a change of the filling or its lines drops it.
void AppStoreEnvironment::MakeHatch(FillingElement& filling) {
  app_.geometry.settings.arcAccuracy = app_.setup.arcAccuracy;
  app_.geometry.BuildHatch(filling);
}

void AppStoreEnvironment::DrawText(const TextElement& text, DrawMode mode) {
  if (app_.canvas == nullptr) return;
  DrawTextElement(app_.Scene(), text, mode);
  if (mode == DrawMode::kErase) app_.window.erased.push_back(TextExtent(text, true));
}

void AppStoreEnvironment::DrawMarker(const Point& point, char marker) {
  if (app_.canvas != nullptr) lumora::DrawMarker(app_.Scene(), point, marker);
}

void AppStoreEnvironment::DrawOutline(const OutlineNode& outline) {
  if (app_.canvas != nullptr) lumora::DrawOutline(app_.Scene(), outline);
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

void AppElementScreen::Show(ElementKind kind, void* element, DrawMode mode) {
  switch (kind) {
  case ElementKind::kLine:
    app_.storeEnv.DrawLine(*static_cast<LineElement*>(element), mode);
    break;
  case ElementKind::kFilling:
    app_.storeEnv.DrawFilling(*static_cast<FillingElement*>(element), mode);
    break;
  case ElementKind::kText:
    app_.storeEnv.DrawText(*static_cast<TextElement*>(element), mode);
    break;
  default:
    break;
  }
}

void AppElementScreen::Erase(ElementKind kind, void* element) {
  Show(kind, element, DrawMode::kErase);
}

void AppElementScreen::Draw(ElementKind kind, void* element) {
  Show(kind, element, DrawMode::kNormal);
}

void AppElementScreen::Highlight(ElementKind kind, void* element) {
  switch (kind) {
  case ElementKind::kLine:
    app_.store.Select(static_cast<LineElement*>(element));
    break;
  case ElementKind::kFilling:
    app_.store.Select(static_cast<FillingElement*>(element));
    break;
  case ElementKind::kText:
    app_.store.Select(static_cast<TextElement*>(element));
    break;
  default:
    break;
  }
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

void AppFileEnvironment::DrawLine(const LineElement& line) {
  app_.storeEnv.DrawLine(line, DrawMode::kNormal);
}

void AppFileEnvironment::DrawFilling(FillingElement& filling) {
  app_.storeEnv.DrawFilling(filling, DrawMode::kNormal);
}

void AppFileEnvironment::DrawText(const TextElement& text) {
  app_.storeEnv.DrawText(text, DrawMode::kNormal);
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
