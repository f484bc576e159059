// The undo journal's steps as recovery log records.
//
// A record names the drawing's records by numbers both the running program and a program
// rebuilding the drawing agree on: at a checkpoint every record gets its place on its list
// (a checkpoint comes back with its lists as they were), and every record a step brings in
// gets the next number of its kind. A step's record holds, for the records it
// brings in, their whole content; for every change the state before and after (the state
// before is checked, so a log is never done on a drawing it does not fit); the words of every
// flags change; and what the step was.
//
// Undo and redo moves are records of their own while the log holds the step they move; an
// undo of a step from before the checkpoint cannot be told by the log (the rebuilt drawing
// has no such step), and answers no bytes: the caller writes a checkpoint instead. A redo of
// such a step is logged as the step itself.
#pragma once

#include "files/step_codec.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

namespace lumora {

class ElementStore;
enum class ElementKind;

class JournalStepCodec final : public StepCodec {
public:
  std::vector<std::byte> Encode(ElementStore& store) override;
  bool Apply(ElementStore& store, std::span<const std::byte> step) override;
  // Names the records of a checkpoint just read back: the lists in order from their heads.
  void Begin(ElementStore& store) override;
  // The same for a checkpoint just written of the store.
  void Checkpointed(ElementStore& store);
  // The undo (or redo) the store has just made; empty when the log cannot hold it.
  std::vector<std::byte> EncodeMove(ElementStore& store, bool undo);

  struct Name {
    ElementKind kind;
    std::uint32_t number;
  };

private:
  void Forget(ElementStore& store);
  void Rename(const void* record, ElementKind kind);

  std::unordered_map<const void*, Name> names_;
  std::array<std::vector<void*>, 4> records_; // by kind: number -> record, null once freed
  // Steps of the log on top of the store's done (and undone) steps: undo and redo moves
  // within them are records of their own.
  std::size_t logged_ = 0;
  std::size_t loggedUndone_ = 0;
};

} // namespace lumora
