#include "files/dxf_reader.h"

#include "files/dxf_binary.h"
#include "files/dxf_build.h"
#include "files/dxf_guard.h"
#include "files/dxf_messages.h"
#include "files/dxf_parse.h"
#include "files/file_access.h"
#include "files/file_messages.h"
#include "model/store_messages.h"
#include "setup/setup.h"
#include "util/map_ahead.h"

#include <cctype>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace lumora {

namespace {

constexpr std::size_t kRememberedNameMax = 99;

// File bytes are read over at once: the buffer is not cleared first.
template <class T> struct Uncleared : std::allocator<T> {
  template <class U> struct rebind { using other = Uncleared<U>; };
  Uncleared() = default;
  template <class U> explicit Uncleared(const Uncleared<U>&) {}
  template <class U> void construct(U* p) noexcept { ::new (static_cast<void*>(p)) U; }
  template <class U, class... Args> void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};
using FileBytes = std::vector<char, Uncleared<char>>;

// Reads the whole file into one buffer of its size, without growing and clearing the buffer a
// chunk at a time; a file that is not seekable (or grows while read) still reads to its end.
bool ReadAll(std::FILE* file, FileBytes& bytes) {
  constexpr std::size_t kChunk = 1 << 20;
  std::size_t expected = 0;
  if (std::fseek(file, 0, SEEK_END) == 0) {
    const long end = std::ftell(file);
    if (end > 0) expected = static_cast<std::size_t>(end);
    if (std::fseek(file, 0, SEEK_SET) != 0) return false;
  }
  // One byte more than expected, so that the end shows without growing the buffer.
  bytes.resize(expected + 1);
  MapAhead(bytes.data(), bytes.size());
  std::size_t used = 0;
  for (;;) {
    if (bytes.size() <= used) bytes.resize(used + kChunk);
    const std::size_t want = bytes.size() - used;
    const std::size_t got = std::fread(bytes.data() + used, 1, want, file);
    used += got;
    if (got < want) break;
  }
  bytes.resize(used);
  return std::ferror(file) == 0;
}

int Refuse(FileEnvironment& env, const std::string& problem) {
  env.Trace("DXF refused: " + problem + "\n");
  env.ShowError(problem == kDxfLineTooLong     ? dxf_messages::kLineTooLong
                : problem == kDxfBinaryDamaged ? dxf_messages::kBinaryDamaged
                                               : file_messages::kReadFailed);
  return 0;
}

// Reads the scene and builds it. Memory that runs out while the file is read or planned
// leaves the drawing as it was; the building reports its own failures.
int ParseAndBuild(ElementStore& store, FileEnvironment& env, FileBytes* owned,
                  std::span<const char> bytes, PartElement* container, const Placement& placement,
                  bool draw, double budgetBytes) {
  DxfScene scene;
  std::string problem;
  bool parsed = false;
  try {
    parsed = ParseDxf(bytes, scene, problem);
  } catch (const std::bad_alloc&) {
    env.ShowError(store_messages::kMemoryOverflow);
    return 0;
  }
  // The scene holds all that is needed: the bytes go before the drawing grows.
  if (owned != nullptr) FileBytes().swap(*owned);
  if (!parsed) return Refuse(env, problem);
  return BuildDxfScene(store, env, scene, container, placement, draw, budgetBytes);
}

} // namespace

const Setup& FileEnvironment::ReadingSetup() const {
  static const Setup kNone{};
  return kNone;
}

bool IsDxfName(std::string_view name) {
  if (name.size() < 4) return false;
  std::string tail(name.substr(name.size() - 4));
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return tail == ".dxf";
}

int ReadDxfBytes(ElementStore& store, FileEnvironment& env, std::span<const char> bytes,
                 PartElement* container, const Placement& placement, bool draw,
                 double budgetBytes) {
  return ParseAndBuild(store, env, nullptr, bytes, container, placement, draw, budgetBytes);
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
  FileBytes bytes;
  try {
    if (!ReadAll(file.get(), bytes)) {
      env.ShowError(file_messages::kReadFailed);
      return 0;
    }
  } catch (const std::bad_alloc&) {
    env.ShowError(store_messages::kMemoryOverflow);
    return 0;
  }
  file.reset();
  return ParseAndBuild(store, env, &bytes, bytes, container, placement, draw, kMaxDxfBytes);
}

} // namespace lumora
