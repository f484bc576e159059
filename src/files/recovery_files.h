// The recovery folder (RECOVER/ in the program directory) and what lies in it.
//
// Every running program takes a slot: "slotN.lock", held with flock for as long as the program
// runs, its log "slotN.log" and the checkpoint the log starts from, "slotN.K.drw" (K is the
// number the log's header names). A log whose lock nobody holds was left by a program that
// died. Recovery writes only here, never the user's drawing files.
#pragma once

#include "files/file_environment.h"
#include "files/recovery_log.h"
#include "files/step_codec.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lumora {

class ElementStore;

inline constexpr const char* kRecoveryDirectory = "RECOVER";

std::string RecoveryDirectoryOf(const std::string& home);
// "DIR/slotN.K.drw" for the log "DIR/slotN.log" whose header names checkpoint K.
std::string CheckpointPathOf(const std::string& logPath, std::uint64_t checkpoint);

// An flock held on a file until the object goes.
class RecoveryLock {
public:
  RecoveryLock() = default;
  ~RecoveryLock();
  RecoveryLock(RecoveryLock&& other) noexcept;
  RecoveryLock& operator=(RecoveryLock&& other) noexcept;
  RecoveryLock(const RecoveryLock&) = delete;
  RecoveryLock& operator=(const RecoveryLock&) = delete;

  // Takes the lock without waiting; false when another program holds it or the file cannot
  // be made.
  bool TryTake(const std::string& path);
  void Release();
  bool Held() const { return fd_ >= 0; }

private:
  int fd_ = -1;
};

// A log no running program holds, its lock taken while it is dealt with.
struct OrphanedLog {
  std::string logPath;
  RecoveryLock lock;
};

// Every log in the folder whose lock could be taken, by slot number.
std::vector<OrphanedLog> FindOrphanedLogs(const std::string& directory);

// Takes the first slot with no log of its own; its stray checkpoints are removed. Answers the
// log path, empty when the folder cannot be made or used.
std::string ClaimSlot(const std::string& directory, RecoveryLock& lock);

// Renames the log and its checkpoint aside as "aside-STAMP-slotN.log" (and ".K.drw"), so that
// they are kept but never offered again. Answers the new log path, empty on failure.
std::string PutLogAside(const std::string& logPath, std::uint64_t checkpoint,
                        const std::string& stamp);
// Removes the log and every checkpoint of its slot.
void RemoveLogFiles(const std::string& logPath);

// The drawing a log holds: its checkpoint read in place of the drawing, then its steps done
// again in order, up to the first that does not fit. The name of the log's drawing is kept and
// the drawing counts as unsaved.
struct RebuildResult {
  bool read = false;       // false: the checkpoint could not be read (the drawing may be empty)
  std::size_t applied = 0; // steps done again
  bool damaged = false;    // a cut or refused tail was dropped
};
RebuildResult RebuildFromLog(ElementStore& store, FileEnvironment& env, DrawingFileState& state,
                             const std::string& logPath, const RecoveryLogContents& log,
                             StepCodec& codec);

// What a checkpoint file of the drawing will not keep of its parts, in the file's order.
std::vector<CheckpointPart> CheckpointPartsOf(const Drawing& drawing);
// The lines, by their place on the list, whose boundary flag a checkpoint file will not keep.
std::vector<std::uint32_t> StaleBoundaryLinesOf(const Drawing& drawing);
// Puts back into a drawing just read from the checkpoint file what the file did not keep: the
// parts list in its order, each part's words, place and box, and its members in their order,
// and the boundary flags. Nothing changes of the parts when they are not the ones the
// checkpoint held.
void RestoreCheckpoint(Drawing& drawing, const RecoveryLogHeader& header);

// Writes the drawing into the folder as checkpoint file `path`, atomically, leaving its saved
// state and name as they were. Answers the bytes written, 0 on failure.
std::uint64_t WriteCheckpoint(Drawing& drawing, FileReporter& reporter, const std::string& path);

} // namespace lumora
