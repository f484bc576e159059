#include "control/startup_headless.h"

#include "control/app.h"
#include "control/startup.h"
#include "files/drawing_reader.h"
#include "files/drawing_writer.h"
#include "files/dxf_reader.h"
#include "files/dxf_writer.h"
#include "model/store_messages.h"
#include "text/text_drawing.h"
#include "util/latin1.h"

#include <new>
#include <string>
#include <vector>

namespace lumora {
namespace {

// Keeps what the file routines say instead of showing it; the view and plotter set-up of a
// whole drawing go to the program's own environment.
class CollectingFileEnvironment final : public FileEnvironment {
public:
  explicit CollectingFileEnvironment(App& app) : app_(app) {}
  std::string first;
  Language CurrentLanguage() const override { return Language::kEnglish; }
  void ShowError(std::string_view message) override {
    if (first.empty()) first = Latin1ToUtf8(message);
  }
  void Trace(std::string_view) override {}
  void ResetOrigins() override { app_.fileEnv.ResetOrigins(); }
  void SetUpPlotter(Drawing& drawing) override { app_.fileEnv.SetUpPlotter(drawing); }
  const Setup& ReadingSetup() const override { return app_.setup; }
  const Fonts* LetterFonts() const override { return &app_.fonts; }
  using FileReporter::ShowError;

private:
  App& app_;
};

} // namespace

bool StartHeadless(App& app, const HeadlessOptions& options, SoftCanvas& canvas,
                   std::string& problem) {
  app.home = options.home;
  app.setupName = options.setupName;
  if (StartWithSetup(app) != StartupDecision::kOpenWindow) {
    problem = "the setup '" + app.setupName + "' could not be read under '" + app.home + "'";
    return false;
  }
  const int width = options.width > 0 ? options.width : app.setup.windowWidth;
  const int height = options.height > 0 ? options.height : app.setup.windowHeight;
  if (!canvas.Resize(width, height)) {
    problem = "a window of " + std::to_string(width) + "x" + std::to_string(height) +
              " pixels cannot be drawn";
    return false;
  }
  AttachCanvas(app, canvas);
  HandleInput(app, {ExposeInput{width, height}, {}});
  return true;
}

bool ReadDrawingHeadless(App& app, const std::string& path, std::string& problem, bool repaint,
                         std::string* note) {
  CollectingFileEnvironment env(app);
  // The store says why it gave up on the program's screen, not to the file routines.
  const std::vector<std::string> shownBefore = app.screen.shownMessages;
  int result = 0;
  try {
    result =
        IsDxfName(path)
            ? ReadDxfFile(app.store, env, app.fileState, path, nullptr, Placement{}, false)
            : ReadDrawingFile(app.store, env, app.fileState, path, nullptr, Placement{}, false);
  } catch (const std::bad_alloc&) {
    problem = Latin1ToUtf8(store_messages::kMemoryOverflow.en);
    return false;
  }
  if (result != 1) {
    const std::vector<std::string>& shown = app.screen.shownMessages;
    if (!env.first.empty())
      problem = env.first;
    else if (shown != shownBefore && !shown.empty())
      problem = Latin1ToUtf8(shown.back());
    else
      problem = "the drawing '" + path + "' could not be read";
    return false;
  }
  if (note != nullptr) *note = env.first;
  SetDrawingName(app.drawing, DrawingNameOfPath(path));
  if (repaint) RepaintWindow(app);
  return true;
}

bool WriteDrawingHeadless(App& app, const std::string& path, std::string& problem) {
  CollectingFileEnvironment env(app);
  int result = 0;
  if (IsDxfName(path)) {
    TextScene scene{app.fonts, app.drawing.paperUnit,
                    MeasureStyle{app.setup.measureLineWidth, app.setup.measureLineColour,
                                 app.setup.measureGap}};
    result = WriteDxfFile(app.drawing, env, scene, path, &app.setup);
    // Written, but not whole: the message says what was left out.
    if (result == 2) {
      problem = env.first;
      return true;
    }
  } else {
    result = WriteDrawingFile(app.drawing, env, path, nullptr, Point{0, 0}, app.drawing.limits);
  }
  if (result != 1) {
    problem = env.first.empty() ? "cannot write '" + path + "'" : env.first;
    return false;
  }
  return true;
}

} // namespace lumora
