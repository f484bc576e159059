#include "files/dxf_reader.h"

#include "files/dxf_build.h"
#include "files/dxf_parse.h"
#include "files/file_access.h"
#include "files/file_messages.h"

#include <cctype>
#include <vector>

namespace lumora {

namespace {

constexpr std::size_t kRememberedNameMax = 99;

bool ReadAll(std::FILE* file, std::vector<char>& bytes) {
  constexpr std::size_t kChunk = 1 << 20;
  std::size_t used = 0;
  for (;;) {
    bytes.resize(used + kChunk);
    const std::size_t got = std::fread(bytes.data() + used, 1, kChunk, file);
    used += got;
    if (got < kChunk) break;
  }
  bytes.resize(used);
  return std::ferror(file) == 0;
}

} // namespace

bool IsDxfName(std::string_view name) {
  if (name.size() < 4) return false;
  std::string tail(name.substr(name.size() - 4));
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return tail == ".dxf";
}

int ReadDxfBytes(ElementStore& store, FileEnvironment& env, std::span<const char> bytes,
                 PartElement* container, const Placement& placement, bool draw) {
  DxfScene scene;
  std::string problem;
  if (!ParseDxf(bytes, scene, problem)) {
    env.Trace("DXF refused: " + problem + "\n");
    env.ShowError(file_messages::kReadFailed);
    return 0;
  }
  return BuildDxfScene(store, env, scene, container, placement, draw);
}

int ReadDxfFile(ElementStore& store, FileEnvironment& env, DrawingFileState& state,
                const std::string& fileName, PartElement* container, const Placement& placement,
                bool draw) {
  const std::string remembered = fileName.substr(0, kRememberedNameMax);
  if (remembered != state.lastReadName) {
    env.Trace("Reading file '" + fileName + "'\n");
    state.lastReadName = remembered;
  }
  FilePtr file = OpenFileChecked(env, fileName, "rb", true);
  if (!file) return 0;
  std::vector<char> bytes;
  if (!ReadAll(file.get(), bytes)) {
    env.ShowError(file_messages::kReadFailed);
    return 0;
  }
  file.reset();
  return ReadDxfBytes(store, env, bytes, container, placement, draw);
}

} // namespace lumora
