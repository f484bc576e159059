// A step read from a recovery log is untrusted bytes: done on a small drawing, any input is
// either refused, leaving the drawing exactly as it was, or done, leaving the store sound.
#include "files/drawing_dump.h"
#include "files/headless_environment.h"
#include "files/journal_step_codec.h"
#include "model/element_store.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace lumora;

void Sample(ElementStore& store) {
  PropertySet set;
  set.SetShape(kShapeOpen);
  const Point a[] = {{0, 0}, {50, 0}, {50, 50}};
  const Point b[] = {{50, 50}, {0, 50}, {0, 0}};
  LineElement* lines[] = {store.AddLine(set, a, 3), store.AddLine(set, b, 3)};
  store.AddFilling(set, lines, 2);
  const Point at[] = {{10, 10}};
  store.AddText(set, at, 1, "T");
  PartElement* part = store.AddPart("P", 1, 0);
  if (part != nullptr && lines[0] != nullptr) store.AddMember(part, lines[0]);
  store.CommitStep();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Drawing drawing;
  drawing.limits = Box{0, 0, 200, 200};
  HeadlessStoreEnvironment env;
  HeadlessPainter painter;
  ElementStore store(drawing, env, painter);
  store.EnableJournal(true);
  Sample(store);
  JournalStepCodec codec;
  codec.Begin(store);
  // The input is the record after its format and type bytes, so most inputs reach the step.
  std::vector<std::byte> step{std::byte{1}, std::byte{1}};
  for (std::size_t k = 0; k < size; ++k) step.push_back(static_cast<std::byte>(data[k]));
  const std::string before = DrawingReport(drawing);
  if (!codec.Apply(store, step) && DrawingReport(drawing) != before) std::abort();
  if (!store.CheckSoundness().empty()) std::abort();
  // Whatever was done can be taken back and done again.
  StepKind kind = StepKind::kChange;
  if (store.Undo(kind)) store.Redo(kind);
  if (!store.CheckSoundness().empty()) std::abort();
  return 0;
}
