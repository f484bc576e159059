// lumora-cli dump DRAWING [REPORT] [--home DIR]: the drawing report of a drawing file, on
// standard output or into REPORT.
#include "files/drawing_dump.h"
#include "files/drawing_reader.h"
#include "files/file_access.h"
#include "model/element_store.h"
#include "util/latin1.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

namespace {

constexpr std::string_view kDrawingsDirectory = "DRAWINGS";
constexpr const char* kHomeVariable = "LUMORA_HOME";

// Headless: nothing is drawn, messages are kept for the one line the tool prints.
class HeadlessStoreEnvironment final : public StoreEnvironment {
public:
  std::vector<std::string> errors;
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

class HeadlessFileEnvironment final : public FileEnvironment {
public:
  std::vector<std::string> errors;
  Language CurrentLanguage() const override { return Language::kEnglish; }
  void ShowError(std::string_view message) override { errors.emplace_back(message); }
  void Trace(std::string_view) override {} // standard output carries the report
  void DrawLine(const LineElement&) override {}
  void DrawFilling(FillingElement&) override {}
  void DrawText(const TextElement&) override {}
  void ResetOrigins() override {}
  void SetUpPlotter(Drawing&) override {}
  using FileReporter::ShowError;
};

struct DumpArguments {
  std::string drawing;
  std::string report;
  std::string home;
};

// The directory of the program path, "." when it has none.
std::string DirectoryOf(std::string_view path) {
  const auto slash = path.rfind('/');
  if (slash == std::string_view::npos) return ".";
  return std::string(path.substr(0, slash == 0 ? 1 : slash));
}

int Refuse(const std::string& line) {
  std::fprintf(stderr, "lumora-cli dump: %s\n", line.c_str());
  return 1;
}

bool ParseArguments(int argc, char** argv, DumpArguments& args, std::string& problem) {
  const char* fromEnvironment = std::getenv(kHomeVariable);
  args.home = fromEnvironment != nullptr && *fromEnvironment != '\0' ? fromEnvironment
                                                                     : DirectoryOf(argv[0]);
  std::vector<std::string> positional;
  for (int k = 2; k < argc; ++k) {
    const std::string_view arg = argv[k];
    if (arg == "--home") {
      if (k + 1 >= argc) return problem = "--home needs a directory", false;
      args.home = argv[++k];
    } else if (arg.starts_with("--")) {
      return problem = "unknown option '" + std::string(arg) + "'", false;
    } else {
      positional.emplace_back(arg);
    }
  }
  if (positional.empty() || positional.size() > 2)
    return problem = "usage: lumora-cli dump DRAWING [REPORT] [--home DIR]", false;
  args.drawing = positional[0];
  if (positional.size() == 2) args.report = positional[1];
  return true;
}

// A drawing named without a path that is not in the working directory is looked for in the
// program directory's DRAWINGS.
std::string LocateDrawing(const DumpArguments& args) {
  if (FileExists(args.drawing) == 1 || args.drawing.find('/') != std::string::npos)
    return args.drawing;
  const std::string inHome = args.home + "/" + std::string(kDrawingsDirectory) + "/" + args.drawing;
  return FileExists(inHome) == 1 ? inHome : args.drawing;
}

std::string FirstMessage(const HeadlessFileEnvironment& env,
                         const HeadlessStoreEnvironment& store) {
  if (!env.errors.empty()) return Latin1ToUtf8(env.errors.front());
  if (!store.errors.empty()) return store.errors.front();
  return "the drawing could not be read";
}

} // namespace

int RunDumpCommand(int argc, char** argv) {
  DumpArguments args;
  std::string problem;
  if (!ParseArguments(argc, argv, args, problem)) return Refuse(problem);
  Drawing drawing;
  HeadlessStoreEnvironment storeEnv;
  ElementStore store(drawing, storeEnv);
  HeadlessFileEnvironment env;
  DrawingFileState state;
  const std::string path = LocateDrawing(args);
  if (ReadDrawingFile(store, env, state, path, nullptr, Placement{}, false) != 1)
    return Refuse(FirstMessage(env, storeEnv));
  SetDrawingName(drawing, path.substr(path.rfind('/') + 1));
  if (args.report.empty()) {
    const std::string report = DrawingReport(drawing);
    std::fwrite(report.data(), 1, report.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  if (DumpDrawing(drawing, env, args.report) != 1) return Refuse(FirstMessage(env, storeEnv));
  return 0;
}

} // namespace lumora
