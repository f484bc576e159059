// A drawing with its store and recording environments, for the file reader and writer tests.
#pragma once

#include "files/drawing_reader.h"
#include "files/drawing_writer.h"
#include "files/headless_environment.h"
#include "model/element_store.h"
#include "recording_reporter.h"

#include <string>
#include <vector>

namespace lumora::test {

using QuietStoreEnvironment = HeadlessStoreEnvironment;

// Records the trace and what the reader asks of the screen and the view.
class RecordingFileEnvironment : public HeadlessFileEnvironment {
public:
  std::vector<std::string> traces;
  std::vector<std::string> calls; // "line", "filling", "text", "origins", "plotter"

  void Trace(std::string_view line) override { traces.emplace_back(line); }
  void ResetOrigins() override { calls.emplace_back("origins"); }
  void SetUpPlotter(Drawing&) override { calls.emplace_back("plotter"); }
};

// Records what a read draws among the file environment's calls.
class RecordingPainter final : public HeadlessPainter {
public:
  explicit RecordingPainter(std::vector<std::string>& calls) : calls_(calls) {}
  void Draw(const LineElement&, DrawMode) override { calls_.emplace_back("line"); }
  void Draw(FillingElement&, DrawMode) override { calls_.emplace_back("filling"); }
  void Draw(const TextElement&, DrawMode) override { calls_.emplace_back("text"); }

private:
  std::vector<std::string>& calls_;
};

struct DrawingFixture {
  Drawing drawing;
  QuietStoreEnvironment storeEnv;
  RecordingFileEnvironment env;
  RecordingPainter painter{env.calls};
  ElementStore store{drawing, storeEnv, painter};
  DrawingFileState state;

  DrawingFixture() { drawing.limits = Box{0, 0, 1000, 1000}; }

  int Save(const std::string& name, const PartElement* part = nullptr, Point origin = {0, 0}) {
    return WriteDrawingFile(drawing, env, name, part, origin, drawing.limits);
  }
  int Read(const std::string& name, PartElement* container = nullptr, Placement at = {},
           bool draw = false) {
    return ReadDrawingFile(store, env, state, name, container, at, draw);
  }

  LineElement* Line(std::uint32_t shape, std::vector<Point> points, std::uint32_t layer = 1) {
    PropertySet set;
    set.SetShape(shape);
    set.SetLayer(layer);
    return store.AddLine(set, points.data(), static_cast<int>(points.size()));
  }
  FillingElement* Filling(std::vector<LineElement*> lines, double gap, std::int16_t angle) {
    PropertySet set;
    set.gap = gap;
    set.hatchAngle = angle;
    return store.AddFilling(set, lines.data(), static_cast<int>(lines.size()));
  }
  TextElement* Text(const std::string& value, std::vector<Point> points, std::uint32_t height = 25,
                    std::uint32_t mitta = 0, double angle = 0, std::uint32_t positioning = 1) {
    PropertySet set;
    set.SetHeight(height);
    set.SetMitta(mitta);
    set.SetPositioning(positioning);
    set.angle = angle;
    return store.AddText(set, points.data(), static_cast<int>(points.size()), value);
  }
};

template <class Element> std::vector<Element*> ListOf(Element* head) {
  std::vector<Element*> items;
  for (; head != nullptr; head = head->next) items.push_back(head);
  return items;
}

template <class Node> std::size_t NodeCount(const Node* head) {
  std::size_t n = 0;
  for (; head != nullptr; head = head->next) ++n;
  return n;
}

} // namespace lumora::test
