#include "files/drawing_replace.h"

#include "files/drawing_reader.h"
#include "files/dxf_reader.h"
#include "files/file_access.h"
#include "files/file_messages.h"
#include "files/headless_environment.h"
#include "files/script_entry.h"
#include "model/drawing.h"
#include "model/element_store.h"

#include <new>
#include <vector>

namespace lumora {
namespace {

constexpr std::size_t kChunk = 1 << 16;

// The trial read says what is wrong with the file, and nothing else: it draws nothing and
// leaves the view and the plotter alone.
class TrialEnvironment final : public FileEnvironment {
public:
  explicit TrialEnvironment(FileEnvironment& real) : real_(real) {}
  Language CurrentLanguage() const override { return real_.CurrentLanguage(); }
  void ShowError(std::string_view message) override { real_.ShowError(message); }
  void Trace(std::string_view) override {}
  void ResetOrigins() override {}
  void SetUpPlotter(Drawing&) override {}
  const Fonts* LetterFonts() const override { return real_.LetterFonts(); }
  using FileReporter::ShowError;

private:
  FileEnvironment& real_;
};

// The whole file, read once, so that the trial and the real read see the same bytes.
bool ReadAllBytes(FileEnvironment& env, const std::string& fileName,
                  std::vector<unsigned char>& bytes) {
  FilePtr file = OpenFileChecked(env, fileName, "rb", true);
  if (!file) return false;
  try {
    for (;;) {
      const std::size_t had = bytes.size();
      bytes.resize(had + kChunk);
      const std::size_t got = std::fread(bytes.data() + had, 1, kChunk, file.get());
      bytes.resize(had + got);
      if (got < kChunk) break;
    }
  } catch (const std::bad_alloc&) {
    env.ShowError(file_messages::kReadFailed);
    return false;
  }
  if (std::ferror(file.get()) != 0) {
    env.ShowError(file_messages::kReadFailed);
    return false;
  }
  return true;
}

bool TrialRead(FileEnvironment& env, std::span<const unsigned char> bytes,
               const std::string& fileName) {
  try {
    Drawing scratch;
    HeadlessStoreEnvironment storeEnv;
    HeadlessPainter painter;
    ElementStore store(scratch, storeEnv, painter);
    TrialEnvironment trial(env);
    return ReadDrawingBytes(store, trial, bytes, fileName, nullptr, Placement{}, false) == 1;
  } catch (const std::bad_alloc&) {
    env.ShowError(file_messages::kReadFailed);
    return false;
  }
}

} // namespace

int ReplaceDrawing(ElementStore& store, FileEnvironment& env, DrawingFileState& state,
                   const std::string& fileName) {
  if (IsScriptName(fileName) || IsDxfName(fileName)) {
    // A DXF file is parsed whole before the drawing changes; a script builds as it runs.
    return IsDxfName(fileName)
               ? ReadDxfFile(store, env, state, fileName, nullptr, Placement{}, true)
               : ReadDrawingFile(store, env, state, fileName, nullptr, Placement{}, true);
  }
  std::vector<unsigned char> bytes;
  if (!ReadAllBytes(env, fileName, bytes) || !TrialRead(env, bytes, fileName)) return 0;
  if (state.lastReadName != fileName) {
    env.Trace("Reading file '" + fileName + "'\n");
    state.lastReadName = fileName;
  }
  return ReadDrawingBytes(store, env, bytes, fileName, nullptr, Placement{}, true);
}

} // namespace lumora
