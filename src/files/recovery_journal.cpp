#include "files/recovery_journal.h"

#include "files/recovery_offer.h"
#include "model/element_store.h"

namespace lumora {

std::int64_t RecoveryJournal::Now() const {
  return CalendarSeconds(clock_.LocalTime());
}

void RecoveryJournal::Remember() {
  checkpoints_ = writer_.CheckpointCount();
  resets_ = store_.Journal().resets;
  name_ = std::string(DrawingName(store_.drawing()));
  saved_ = store_.drawing().changes == 0;
}

void RecoveryJournal::Opened() {
  if (!writer_.IsOpen()) return;
  codec_.Checkpointed(store_);
  Remember();
}

void RecoveryJournal::Checkpoint(std::int64_t now) {
  // A checkpoint that fails leaves the old log going on: the steps after it no longer fit
  // and a recovery stops there, which loses work but never makes a wrong drawing.
  if (writer_.Checkpoint(now)) codec_.Checkpointed(store_);
}

void RecoveryJournal::Append(std::span<const std::byte> payload, std::int64_t now) {
  if (payload.empty()) return Checkpoint(now);
  writer_.Step(payload, now);
  // The log outgrew the drawing and began again from a checkpoint of it.
  if (writer_.CheckpointCount() != checkpoints_) codec_.Checkpointed(store_);
}

void RecoveryJournal::AfterKey(bool committed) {
  if (!writer_.IsOpen()) return;
  const Drawing& drawing = store_.drawing();
  const bool newHistory = store_.Journal().resets != resets_;
  const bool savedOrRenamed = DrawingName(drawing) != name_ || (drawing.changes == 0 && !saved_);
  // A checkpoint the key wrote itself (of a recovered drawing) is where steps start.
  if (writer_.CheckpointCount() != checkpoints_) codec_.Checkpointed(store_);
  if (committed && !newHistory) Append(codec_.Encode(store_), Now());
  if (newHistory || savedOrRenamed) Checkpoint(Now());
  Remember();
}

void RecoveryJournal::Moved(bool undo) {
  if (!writer_.IsOpen()) return;
  Append(codec_.EncodeMove(store_, undo), Now());
  Remember();
}

} // namespace lumora
