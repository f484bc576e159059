#include "files/recovery_writer.h"

#include "files/file_messages.h"
#include "files/recovery_log.h"
#include "model/drawing.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace lumora {

namespace {

constexpr mode_t kLogMode = 0600; // the steps of someone's unsaved work

bool WriteAll(int fd, std::span<const unsigned char> bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes = bytes.subspan(static_cast<std::size_t>(n));
  }
  return true;
}

// A renamed file is only safe once its directory entry is on the disk too.
void SyncDirectoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  const std::string directory = slash == std::string::npos ? "." : path.substr(0, slash);
  const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Checkpoints are the program's own business: their errors are shown, their trace lines are
// not.
class UntracedReporter final : public FileReporter {
public:
  explicit UntracedReporter(FileReporter& reporter) : reporter_(reporter) {}
  Language CurrentLanguage() const override { return reporter_.CurrentLanguage(); }
  void ShowError(std::string_view message) override { reporter_.ShowError(message); }
  void Trace(std::string_view) override {}

private:
  FileReporter& reporter_;
};

std::string NewLogName(const std::string& logPath) {
  const auto slash = logPath.rfind('/');
  const std::size_t at = slash == std::string::npos ? 0 : slash + 1;
  return logPath.substr(0, at) + "." + logPath.substr(at) + ".new";
}

} // namespace

RecoveryWriter::RecoveryWriter(Drawing& drawing, FileReporter& reporter, std::uint64_t logFloor)
    : drawing_(drawing), reporter_(reporter), logFloor_(logFloor) {}

RecoveryWriter::~RecoveryWriter() {
  if (syncer_.joinable()) {
    Sync();
    syncer_.request_stop();
    syncer_.join();
  }
  if (fd_ >= 0) ::close(fd_);
}

bool RecoveryWriter::Open(const std::string& directory, std::int64_t now) {
  if (fd_ >= 0) return true;
  logPath_ = ClaimSlot(directory, lock_);
  if (logPath_.empty()) return false;
  if (!syncer_.joinable()) syncer_ = std::jthread([this](std::stop_token stop) { SyncLoop(stop); });
  return Checkpoint(now);
}

bool RecoveryWriter::Checkpoint(std::int64_t now) {
  if (logPath_.empty()) return false;
  const std::uint64_t number = checkpoint_ + 1;
  const std::string checkpointPath = CheckpointPathOf(logPath_, number);
  UntracedReporter reporter(reporter_);
  const std::uint64_t bytes = WriteCheckpoint(drawing_, reporter, checkpointPath);
  if (bytes == 0) {
    // The old log and checkpoint still hold everything; steps go on into them, and the log's
    // growth asks for no checkpoint again until one is written.
    growthCheckpoints_ = false;
    return false;
  }
  const std::vector<unsigned char> header =
      EncodeRecoveryHeader({.name = std::string(DrawingName(drawing_)),
                            .savedAt = now,
                            .checkpoint = number,
                            .unsaved = drawing_.changes != 0,
                            .parts = CheckpointPartsOf(drawing_),
                            .boundaryLines = StaleBoundaryLinesOf(drawing_)});
  // The new log is complete on the disk before it takes the old one's name.
  const std::string newLog = NewLogName(logPath_);
  const int fd =
      ::open(newLog.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, kLogMode);
  if (fd < 0 || !WriteAll(fd, header) || ::fdatasync(fd) != 0 ||
      std::rename(newLog.c_str(), logPath_.c_str()) != 0) {
    if (fd >= 0) ::close(fd);
    ::unlink(newLog.c_str());
    ::unlink(checkpointPath.c_str());
    Fail();
    return false;
  }
  SyncDirectoryOf(logPath_);
  {
    const std::scoped_lock hold(mutex_);
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
    synced_ = written_;
  }
  if (checkpoint_ != 0) ::unlink(CheckpointPathOf(logPath_, checkpoint_).c_str());
  checkpoint_ = number;
  ++checkpointsWritten_;
  checkpointBytes_ = bytes;
  logBytes_ = header.size();
  steps_ = 0;
  growthCheckpoints_ = true;
  return true;
}

bool RecoveryWriter::Step(std::span<const std::byte> payload, std::int64_t now) {
  if (fd_ < 0) return false;
  if (!Append(EncodeRecoveryStep(payload))) return false;
  ++steps_;
  if (growthCheckpoints_ && logBytes_ > std::max(checkpointBytes_, logFloor_)) Checkpoint(now);
  return true;
}

bool RecoveryWriter::Append(std::span<const unsigned char> bytes) {
  // Only this thread writes or replaces the descriptor; the flushing thread reads it under
  // the lock.
  if (!WriteAll(fd_, bytes)) {
    Fail();
    return false;
  }
  logBytes_ += bytes.size();
  {
    const std::scoped_lock hold(mutex_);
    ++written_;
  }
  changed_.notify_all();
  return true;
}

void RecoveryWriter::Sync() {
  std::unique_lock hold(mutex_);
  changed_.wait(hold, [this] { return synced_ >= written_ || !syncer_.joinable(); });
}

void RecoveryWriter::Remove() {
  if (logPath_.empty()) return;
  Close();
  RemoveLogFiles(logPath_);
  lock_.Release();
  logPath_.clear();
  checkpoint_ = 0;
}

void RecoveryWriter::Fail() {
  if (!failureTold_) reporter_.ShowError(file_messages::kWriteFailed);
  failureTold_ = true;
  Close();
}

void RecoveryWriter::Close() {
  const std::scoped_lock hold(mutex_);
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  synced_ = written_;
  changed_.notify_all();
}

void RecoveryWriter::SyncLoop(std::stop_token stop) {
  std::unique_lock hold(mutex_);
  while (changed_.wait(hold, stop, [this] { return written_ > synced_; })) {
    const std::uint64_t target = written_;
    // A descriptor of its own, so the log may be replaced while this one is flushed.
    const int fd = fd_ >= 0 ? ::dup(fd_) : -1;
    hold.unlock();
    if (fd >= 0) {
      ::fdatasync(fd);
      ::close(fd);
    }
    hold.lock();
    synced_ = std::max(synced_, target);
    changed_.notify_all();
  }
}

} // namespace lumora
