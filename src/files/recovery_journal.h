// What ties the undo journal to the recovery log: after every key the step it committed is
// appended, an undo or redo move is logged, and a drawing read, begun anew, added to (its
// history starts again) or saved starts a new log from a checkpoint.
#pragma once

#include "files/journal_step_codec.h"
#include "files/recovery_writer.h"
#include "util/clock.h"

#include <cstdint>
#include <string>

namespace lumora {

class ElementStore;

class RecoveryJournal {
public:
  RecoveryJournal(RecoveryWriter& writer, ElementStore& store, Clock& clock)
      : writer_(writer), store_(store), clock_(clock) {}

  JournalStepCodec& codec() { return codec_; }
  RecoveryWriter& writer() { return writer_; }
  // The writer has just opened its log: its checkpoint is what steps start from.
  void Opened();
  // A key has been handled; committed tells that it ended a step.
  void AfterKey(bool committed);
  // The store has just taken a step back (undo) or done one again.
  void Moved(bool undo);
  // A clean quit: the log goes.
  void Remove() { writer_.Remove(); }

private:
  void Checkpoint(std::int64_t now);
  void Append(std::span<const std::byte> payload, std::int64_t now);
  void Remember();
  std::int64_t Now() const;

  RecoveryWriter& writer_;
  ElementStore& store_;
  Clock& clock_;
  JournalStepCodec codec_;
  std::uint64_t checkpoints_ = 0;
  std::uint64_t resets_ = 0;
  std::string name_;
  bool saved_ = true;
};

} // namespace lumora
