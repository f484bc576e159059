// Steps of adds, deletes, membership, boundary and point changes on the element store, taken
// back and done again in any order the input gives. After every step, undo and redo the store
// is sound, and each state reached by undo or redo reports exactly as it did when it was made.
#include "files/drawing_dump.h"
#include "files/headless_environment.h"
#include "model/element_store.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace lumora;

class Bytes {
public:
  Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Empty() const { return at_ >= size_; }
  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  double Coordinate() { return static_cast<double>(Byte()) - 20.0; }

private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

template <class Element> Element* Nth(Element* head, std::uint8_t n) {
  Element* found = head;
  for (int k = 0; k < n && found != nullptr; ++k)
    found = found->next != nullptr ? found->next : head;
  return found;
}

void Sound(const ElementStore& store) {
  const std::string faults = store.CheckSoundness();
  if (faults.empty()) return;
  std::fprintf(stderr, "unsound: %s\n", faults.c_str());
  std::abort();
}

void ChangeDrawing(ElementStore& store, Drawing& drawing, Bytes& in) {
  PropertySet set;
  set.SetShape(kShapeOpen);
  switch (in.Byte() % 9) {
  case 0: {
    const Point points[] = {{in.Coordinate(), in.Coordinate()}, {in.Coordinate(), in.Coordinate()}};
    store.AddLine(set, points, 2);
    return;
  }
  case 1: {
    LineElement* lines[] = {Nth(drawing.lines, in.Byte()), Nth(drawing.lines, in.Byte())};
    if (lines[0] != nullptr) store.AddFilling(set, lines, 2);
    return;
  }
  case 2: {
    const Point at[] = {{in.Coordinate(), in.Coordinate()}};
    store.AddText(set, at, 1, "T");
    return;
  }
  case 3: {
    PartElement* part = store.AddPart("P", 1 + in.Byte() % 2, 0);
    for (int k = in.Byte() % 4; k > 0; --k) {
      if (LineElement* line = Nth(drawing.lines, in.Byte())) store.AddMember(part, line);
      if (TextElement* text = Nth(drawing.texts, in.Byte())) store.AddMember(part, text);
    }
    if (PartElement* other = Nth(drawing.parts, in.Byte()); other != part)
      store.AddMember(part, other);
    return;
  }
  case 4:
    if (LineElement* line = Nth(drawing.lines, in.Byte())) store.DeleteLine(line);
    return;
  case 5:
    if (FillingElement* filling = Nth(drawing.fillings, in.Byte())) store.DeleteFilling(filling);
    return;
  case 6:
    if (PartElement* part = Nth(drawing.parts, in.Byte())) store.DeletePart(part, in.Byte() % 2);
    return;
  case 7:
    if (LineElement* line = Nth(drawing.lines, in.Byte())) {
      store.Keep(*line);
      line->points[0] = {in.Coordinate(), in.Coordinate()};
      store.SetZones(*line, LineBox(*line));
    }
    return;
  default:
    if (FillingElement* filling = Nth(drawing.fillings, in.Byte())) {
      LineElement* with[] = {Nth(drawing.lines, in.Byte())};
      store.ReplaceBoundaryEntry(*filling, 0, with);
      store.SetZones(*filling, FillingBox(*filling));
    }
    return;
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Drawing drawing;
  drawing.limits = Box{0, 0, 200, 200};
  HeadlessStoreEnvironment env;
  HeadlessPainter painter;
  ElementStore store(drawing, env, painter);
  store.EnableJournal(true);
  std::vector<std::string> reports{DrawingReport(drawing)};
  Bytes in(data, size);
  StepKind kind = StepKind::kChange;
  while (!in.Empty()) {
    const std::uint8_t what = in.Byte() % 4;
    const std::uint64_t at = store.Journal().position;
    if (what == 0) {
      store.Undo(kind);
    } else if (what == 1) {
      store.Redo(kind);
    } else {
      for (int k = 1 + in.Byte() % 3; k > 0; --k) ChangeDrawing(store, drawing, in);
      if (store.CommitStep()) {
        reports.resize(at + 1);
        reports.push_back(DrawingReport(drawing));
      }
    }
    Sound(store);
    if (DrawingReport(drawing) != reports.at(store.Journal().position)) std::abort();
  }
  while (store.Undo(kind)) Sound(store);
  if (DrawingReport(drawing) != reports.front()) std::abort();
  return 0;
}
