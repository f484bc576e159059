// The running program's recovery log: every committed step is appended as it commits, and a
// checkpoint of the whole drawing starts a fresh log when the log has outgrown the drawing,
// and whenever a drawing is read or saved.
//
// A step is written to the log at once, so a killed program loses nothing; the flush to the
// disk (fdatasync, milliseconds) is left to a thread of the writer's own, so no key waits for
// it. A checkpoint is rare and is written where it is asked for.
#pragma once

#include "files/file_reporter.h"
#include "files/recovery_files.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <thread>

namespace lumora {

struct Drawing;

// A log shorter than this is never replaced, however small the drawing: rewriting a small
// drawing after every few keys would make those keys wait for three flushes, while doing
// 256 KiB of steps again at start-up costs a few milliseconds.
inline constexpr std::uint64_t kRecoveryLogFloor = std::uint64_t{256} << 10;

class RecoveryWriter {
public:
  RecoveryWriter(Drawing& drawing, FileReporter& reporter,
                 std::uint64_t logFloor = kRecoveryLogFloor);
  ~RecoveryWriter(); // flushes and stops; the files stay, as after a crash
  RecoveryWriter(const RecoveryWriter&) = delete;
  RecoveryWriter& operator=(const RecoveryWriter&) = delete;

  // Takes a slot in the folder and starts its log with a checkpoint. False when the folder
  // cannot be used: the program then runs without a log.
  bool Open(const std::string& directory, std::int64_t now);
  // A fresh log from a checkpoint of the drawing as it is now, its name included.
  bool Checkpoint(std::int64_t now);
  // Appends one committed step (a checkpoint follows when the log outgrows the drawing and
  // the floor).
  bool Step(std::span<const std::byte> payload, std::int64_t now);
  // A clean quit: the log, its checkpoint and the slot go.
  void Remove();
  // Waits until every step appended is on the disk.
  void Sync();

  bool IsOpen() const { return fd_ >= 0; }
  const std::string& LogPath() const { return logPath_; }
  std::uint64_t LogBytes() const { return logBytes_; }
  std::uint64_t StepCount() const { return steps_; }
  // Checkpoints written since the writer was made.
  std::uint64_t CheckpointCount() const { return checkpointsWritten_; }

private:
  bool Append(std::span<const unsigned char> bytes);
  void Fail();
  void Close();
  void SyncLoop(std::stop_token stop);

  Drawing& drawing_;
  FileReporter& reporter_;
  RecoveryLock lock_;
  std::string logPath_;
  std::uint64_t checkpoint_ = 0;
  std::uint64_t checkpointBytes_ = 0;
  std::uint64_t logBytes_ = 0;
  std::uint64_t steps_ = 0;
  std::uint64_t checkpointsWritten_ = 0;
  bool failureTold_ = false;
  bool growthCheckpoints_ = true;
  std::uint64_t logFloor_;

  // Shared with the flushing thread.
  std::mutex mutex_;
  std::condition_variable_any changed_;
  int fd_ = -1;
  std::uint64_t written_ = 0; // appends made
  std::uint64_t synced_ = 0;  // appends known to be on the disk
  std::jthread syncer_;
};

} // namespace lumora
