#include "files/recovery_files.h"

#include "files/drawing_format.h"
#include "files/drawing_reader.h"
#include "files/drawing_writer.h"
#include "files/write_order.h"
#include "model/drawing.h"
#include "model/element_store.h"

#include <algorithm>
#include <charconv>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>

namespace lumora {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kSlotPrefix = "slot";
constexpr std::string_view kLogSuffix = ".log";
constexpr std::string_view kLockSuffix = ".lock";
constexpr std::string_view kCheckpointSuffix = ".drw";
constexpr std::string_view kAsidePrefix = "aside-";
constexpr int kSlotMax = 999; // more programs in one directory than anyone runs
constexpr mode_t kFolderMode = 0777;
constexpr mode_t kLockMode = 0666;

// N of "slotN.log"; 0 when the name is not a slot's log.
int SlotOfLog(std::string_view name) {
  if (!name.starts_with(kSlotPrefix) || !name.ends_with(kLogSuffix)) return 0;
  const std::string_view digits =
      name.substr(kSlotPrefix.size(), name.size() - kSlotPrefix.size() - kLogSuffix.size());
  int slot = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), slot);
  return error == std::errc{} && end == digits.data() + digits.size() && slot > 0 ? slot : 0;
}

std::string Stem(const std::string& logPath) {
  return logPath.ends_with(kLogSuffix) ? logPath.substr(0, logPath.size() - kLogSuffix.size())
                                       : logPath;
}

std::string SlotStem(const std::string& directory, int slot) {
  return directory + "/" + std::string(kSlotPrefix) + std::to_string(slot);
}

// Every "STEM.K.drw" beside the stem.
std::vector<fs::path> CheckpointsOf(const std::string& stem) {
  std::vector<fs::path> found;
  const fs::path base(stem);
  const std::string prefix = base.filename().string() + ".";
  std::error_code error;
  for (fs::directory_iterator it(base.parent_path(), error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.starts_with(prefix) && name.ends_with(kCheckpointSuffix)) found.push_back(it->path());
  }
  return found;
}

} // namespace

std::string RecoveryDirectoryOf(const std::string& home) {
  return home + "/" + kRecoveryDirectory;
}

std::string CheckpointPathOf(const std::string& logPath, std::uint64_t checkpoint) {
  return Stem(logPath) + "." + std::to_string(checkpoint) + std::string(kCheckpointSuffix);
}

RecoveryLock::~RecoveryLock() {
  Release();
}

RecoveryLock::RecoveryLock(RecoveryLock&& other) noexcept : fd_(other.fd_) {
  other.fd_ = -1;
}

RecoveryLock& RecoveryLock::operator=(RecoveryLock&& other) noexcept {
  if (this != &other) {
    Release();
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

bool RecoveryLock::TryTake(const std::string& path) {
  Release();
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, kLockMode);
  if (fd < 0) return false;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

void RecoveryLock::Release() {
  // Closing the only descriptor lets the lock go.
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

std::vector<OrphanedLog> FindOrphanedLogs(const std::string& directory) {
  std::vector<int> slots;
  std::error_code error;
  for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
    const int slot = SlotOfLog(it->path().filename().string());
    if (slot != 0) slots.push_back(slot);
  }
  std::sort(slots.begin(), slots.end());
  std::vector<OrphanedLog> orphans;
  for (const int slot : slots) {
    OrphanedLog orphan;
    const std::string stem = SlotStem(directory, slot);
    if (!orphan.lock.TryTake(stem + std::string(kLockSuffix))) continue;
    // The lock was free, but its program may have quit cleanly in the meantime.
    orphan.logPath = stem + std::string(kLogSuffix);
    if (::access(orphan.logPath.c_str(), F_OK) == 0) orphans.push_back(std::move(orphan));
  }
  return orphans;
}

std::string ClaimSlot(const std::string& directory, RecoveryLock& lock) {
  ::mkdir(directory.c_str(), kFolderMode);
  for (int slot = 1; slot <= kSlotMax; ++slot) {
    const std::string stem = SlotStem(directory, slot);
    RecoveryLock candidate;
    if (!candidate.TryTake(stem + std::string(kLockSuffix))) {
      // A lock that cannot even be made: the folder is not usable.
      if (::access(directory.c_str(), W_OK) != 0) return {};
      continue;
    }
    const std::string logPath = stem + std::string(kLogSuffix);
    if (::access(logPath.c_str(), F_OK) == 0) continue; // an orphan left for start-up
    std::error_code ignored;
    for (const fs::path& stray : CheckpointsOf(stem)) fs::remove(stray, ignored);
    lock = std::move(candidate);
    return logPath;
  }
  return {};
}

std::string PutLogAside(const std::string& logPath, std::uint64_t checkpoint,
                        const std::string& stamp) {
  const fs::path log(logPath);
  const std::string asideStem =
      (log.parent_path() / (std::string(kAsidePrefix) + stamp + "-" + log.stem().string()))
          .string();
  // The checkpoint first: a log is never left aside without the checkpoint it names.
  const std::string checkpointPath = CheckpointPathOf(logPath, checkpoint);
  if (::access(checkpointPath.c_str(), F_OK) == 0)
    std::rename(checkpointPath.c_str(), CheckpointPathOf(asideStem, checkpoint).c_str());
  const std::string asideLog = asideStem + std::string(kLogSuffix);
  if (std::rename(logPath.c_str(), asideLog.c_str()) != 0) return {};
  return asideLog;
}

void RemoveLogFiles(const std::string& logPath) {
  std::error_code ignored;
  // The log first: a checkpoint without its log is a stray that the next claim removes.
  fs::remove(logPath, ignored);
  for (const fs::path& checkpoint : CheckpointsOf(Stem(logPath))) fs::remove(checkpoint, ignored);
}

RebuildResult RebuildFromLog(ElementStore& store, FileEnvironment& env, DrawingFileState& state,
                             const std::string& logPath, const RecoveryLogContents& log,
                             StepCodec& codec) {
  RebuildResult result;
  if (!log.headerRead) return result;
  const std::string checkpoint = CheckpointPathOf(logPath, log.header.checkpoint);
  if (ReadDrawingFile(store, env, state, checkpoint, nullptr, Placement{}, false) != 1)
    return result;
  result.read = true;
  result.damaged = log.damagedTail;
  store.ReverseLists();
  RestoreCheckpoint(store.drawing(), log.header);
  codec.Begin(store);
  for (const auto& step : log.steps) {
    if (!codec.Apply(store, step)) {
      result.damaged = true;
      break;
    }
    ++result.applied;
  }
  Drawing& drawing = store.drawing();
  SetDrawingName(drawing, log.header.name);
  drawing.changes = std::max<std::uint32_t>(drawing.changes, 1);
  return result;
}

std::vector<CheckpointPart> CheckpointPartsOf(const Drawing& drawing) {
  std::unordered_map<const PartElement*, std::uint32_t> position;
  std::uint32_t n = 0;
  for (const PartElement* p = drawing.parts; p != nullptr; p = p->next) position[p] = n++;
  const WriteOrder order = WholeDrawingOrder(drawing);
  std::vector<CheckpointPart> parts;
  for (const PartElement* p : order.parts.Items())
    parts.push_back({.listPosition = position.at(p),
                     .words = p->words,
                     .x = p->location.x,
                     .y = p->location.y,
                     .box = {p->box.xmin, p->box.ymin, p->box.xmax, p->box.ymax}});
  return parts;
}

std::vector<std::uint32_t> StaleBoundaryLinesOf(const Drawing& drawing) {
  std::unordered_set<const LineElement*> bounding;
  for (const FillingElement* f = drawing.fillings; f != nullptr; f = f->next)
    for (std::uint32_t k = 0; k < f->ls0(); ++k) bounding.insert(f->lines[k]);
  std::vector<std::uint32_t> stale;
  std::uint32_t at = 0;
  for (const LineElement* l = drawing.lines; l != nullptr; l = l->next, ++at)
    if (l->boundary() != 0 && !bounding.contains(l)) stale.push_back(at);
  return stale;
}

namespace {

template <class Element> void ReverseMembers(MemberNode<Element>*& head) {
  MemberNode<Element>* out = nullptr;
  while (head != nullptr) {
    MemberNode<Element>* next = head->next;
    head->next = out;
    out = head;
    head = next;
  }
  head = out;
}

void RestoreParts(Drawing& drawing, const std::vector<CheckpointPart>& parts) {
  // Read back, the parts stand in the reverse of the file's order.
  std::vector<PartElement*> read;
  for (PartElement* p = drawing.parts; p != nullptr; p = p->next) read.push_back(p);
  if (read.size() != parts.size()) return;
  std::reverse(read.begin(), read.end());
  std::vector<PartElement*> listed(parts.size(), nullptr);
  for (std::size_t k = 0; k < parts.size(); ++k) {
    const std::uint32_t at = parts[k].listPosition;
    if (at >= listed.size() || listed[at] != nullptr) return;
    listed[at] = read[k];
  }
  for (std::size_t k = 0; k < parts.size(); ++k) {
    PartElement& part = *read[k];
    part.words = parts[k].words;
    part.location = {parts[k].x, parts[k].y};
    part.box = {parts[k].box[0], parts[k].box[1], parts[k].box[2], parts[k].box[3]};
    // Members are read back in the reverse of their order too.
    ReverseMembers(part.lines);
    ReverseMembers(part.fillings);
    ReverseMembers(part.texts);
    ReverseMembers(part.parts);
  }
  drawing.parts = nullptr;
  for (auto it = listed.rbegin(); it != listed.rend(); ++it) {
    (*it)->next = drawing.parts;
    drawing.parts = *it;
  }
}

} // namespace

void RestoreCheckpoint(Drawing& drawing, const RecoveryLogHeader& header) {
  RestoreParts(drawing, header.parts);
  std::size_t next = 0;
  std::uint32_t at = 0;
  for (LineElement* l = drawing.lines; l != nullptr && next < header.boundaryLines.size();
       l = l->next, ++at) {
    if (header.boundaryLines[next] != at) continue;
    l->SetBoundary(1);
    ++next;
  }
}

std::uint64_t WriteCheckpoint(Drawing& drawing, FileReporter& reporter, const std::string& path) {
  // A checkpoint is no save: the drawing stays as saved or unsaved as it was.
  const std::uint32_t changes = drawing.changes;
  // Every number as it is in memory: the drawing's own version may keep points as floats,
  // which would bring back a drawing that differs from the one being worked on.
  const float version = drawing.version;
  drawing.version = kWideVersion;
  const int written =
      WriteDrawingFile(drawing, reporter, path, nullptr, Point{0, 0}, drawing.limits);
  drawing.version = version;
  drawing.changes = changes;
  struct stat info {};
  if (written != 1 || ::stat(path.c_str(), &info) != 0) return 0;
  return static_cast<std::uint64_t>(info.st_size);
}

} // namespace lumora
