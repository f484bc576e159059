// The program started headless on the shipped setup, with a drawing that holds every kind of
// element: open and closed lines, an arc, a circle, a filling, a text, a measure, and a part
// with a nested part that has its own filling. Keys go through the real translation and
// dispatcher.
#pragma once

#include "element_geometry/element_geometry.h"
#include "files/drawing_format.h"
#include "files/drawing_writer.h"
#include "model/drawing.h"
#include "model/element_store.h"
#include "properties/current_properties.h"
#include "screen/text_screen.h"
#include "support/started_app.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace lumora {

struct EditFixture : StartedApp {
  ElementStore& store = app.store;

  LineElement* openLine = nullptr;
  LineElement* rectangle = nullptr;
  LineElement* arc = nullptr;
  LineElement* circle = nullptr;
  FillingElement* filling = nullptr;
  TextElement* hello = nullptr;
  TextElement* measure = nullptr;
  PartElement* outer = nullptr;
  PartElement* inner = nullptr;
  TextElement* tag = nullptr;
  LineElement* partLine = nullptr;

  void TabAt(double x, double y) {
    control.In().cursor = {x, y};
    Key(kCodeTab);
  }
  // The drawing saved at full precision: equal bytes are equal points, strings and boxes.
  std::string Saved() {
    const std::string path = std::string(LUMORA_TEST_TMP) + "/edit_fixture.drw";
    std::error_code ignored;
    std::filesystem::create_directories(LUMORA_TEST_TMP, ignored);
    app.drawing.version = kWideVersion;
    if (WriteDrawingFile(app.drawing, app.fileEnv, path, nullptr, {0.0, 0.0}, app.drawing.limits) !=
        1) {
      ADD_FAILURE() << "cannot write " << path;
      return {};
    }
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
  }

  LineElement* Line(std::uint32_t shape, std::vector<Point> points) {
    PropertySet set = app.properties.line;
    set.SetShape(shape);
    return store.AddLine(set, points.data(), static_cast<int>(points.size()));
  }
  TextElement* Text(std::uint32_t mitta, std::vector<Point> points, std::string_view value) {
    PropertySet set = app.properties.text;
    set.SetMitta(mitta);
    return store.AddText(set, points.data(), static_cast<int>(points.size()), value);
  }
  FillingElement* Filling(LineElement* boundary) {
    PropertySet set = app.properties.filling;
    set.gap = 3.0;
    set.hatchAngle = 45;
    return store.AddFilling(set, &boundary, 1);
  }

  // Every kind, the loose ones below y 160 and the part above.
  void BuildSample() {
    openLine = Line(kShapeOpen, {{10, 10}, {60, 10}, {60, 30}});
    rectangle = Line(kShapeClosed, {{100, 10}, {140, 10}, {140, 40}, {100, 40}});
    filling = Filling(rectangle);
    arc = Line(kShapeArc, {{160, 60}, {170, 60}, {160, 70}});
    circle = Line(kShapeCircle, {{30, 150}, {40, 150}});
    hello = Text(0, {{20, 80}}, "Hello");
    measure = Text(1, {{60, 85}, {40, 70}, {80, 70}}, "40.0");

    inner = store.AddPart("inner", 1, 0);
    inner->location = {165, 210};
    store.AddMember(inner, Line(kShapeOpen, {{150, 200}, {150, 240}}));
    LineElement* triangle = Line(kShapeClosed, {{160, 200}, {180, 200}, {170, 215}});
    store.AddMember(inner, triangle);
    store.AddMember(inner, Filling(triangle));

    outer = store.AddPart("outer", 1, 0);
    outer->location = {120, 210};
    partLine = Line(kShapeOpen, {{100, 200}, {140, 200}});
    store.AddMember(outer, partLine);
    store.AddMember(outer, Line(kShapeArc, {{120, 220}, {130, 220}, {120, 230}}));
    tag = Text(0, {{105, 240}}, "Tag");
    store.AddMember(outer, tag);
    store.AddMember(outer, inner);
  }

  int Texts() const {
    int n = 0;
    for (const TextElement* p = app.drawing.texts; p != nullptr; p = p->next) ++n;
    return n;
  }
  int Parts() const {
    int n = 0;
    for (const PartElement* p = app.drawing.parts; p != nullptr; p = p->next) ++n;
    return n;
  }
};

} // namespace lumora
