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
#include <unistd.h>
#include <vector>

namespace lumora {

struct EditFixture : StartedApp {
  using StartedApp::StartedApp;
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
  // Each test process saves to a file of its own, removed when the fixture goes.
  const std::string savePath =
      std::string(LUMORA_TEST_TMP) + "/edit_fixture-" + std::to_string(::getpid()) + ".drw";
  ~EditFixture() override {
    std::error_code ignored;
    std::filesystem::remove(savePath, ignored);
  }

  // The drawing saved at full precision: equal bytes are equal points, strings and boxes.
  std::string Saved() {
    const std::string& path = savePath;
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

template <class Element> bool Listed(const MemberNode<Element>* node, const void* element) {
  for (; node != nullptr; node = node->next) {
    if (node->element == element) return true;
  }
  return false;
}

inline bool HeldByPart(const Drawing& drawing, const void* element) {
  for (const PartElement* p = drawing.parts; p != nullptr; p = p->next) {
    if (p->type() != 0 && (Listed(p->lines, element) || Listed(p->fillings, element) ||
                           Listed(p->texts, element) || Listed(p->parts, element))) {
      return true;
    }
  }
  return false;
}

template <class Element>
inline bool MasksMatch(const Drawing& drawing, const Element& e, const Box& b) {
  const Box& l = drawing.limits;
  return e.zoneX() == ZoneMask(b.xmin, b.xmax, l.xmin, l.xmax) &&
         e.zoneY() == ZoneMask(b.ymin, b.ymax, l.ymin, l.ymax);
}

// What a sound store holds once a command has ended: nothing hidden, membership flags that
// match the typed parts, zone masks that match the boxes, boundary lines marked, no group
// records, markers, outlines or selections left.
inline void ExpectSoundStore(const App& app) {
  const Drawing& drawing = app.drawing;
  for (const LineElement* l = drawing.lines; l != nullptr; l = l->next) {
    EXPECT_EQ(l->hidden(), 0u);
    EXPECT_EQ(l->inPart() != 0, HeldByPart(drawing, l));
    EXPECT_TRUE(MasksMatch(drawing, *l, LineBox(*l)));
  }
  for (const FillingElement* f = drawing.fillings; f != nullptr; f = f->next) {
    EXPECT_EQ(f->hidden(), 0u);
    EXPECT_EQ(f->inPart() != 0, HeldByPart(drawing, f));
    for (std::uint32_t i = 0; i < f->ls0(); ++i) {
      if (f->lines[i] != nullptr) {
        EXPECT_NE(f->lines[i]->boundary(), 0u);
      }
    }
    EXPECT_TRUE(MasksMatch(drawing, *f, FillingBox(*f)));
  }
  for (const TextElement* t = drawing.texts; t != nullptr; t = t->next) {
    EXPECT_EQ(t->hidden(), 0u);
    EXPECT_EQ(t->inPart() != 0, HeldByPart(drawing, t));
    EXPECT_TRUE(MasksMatch(drawing, *t, app.storeEnv.TextExtent(*t, true)));
  }
  for (const PartElement* p = drawing.parts; p != nullptr; p = p->next) {
    EXPECT_EQ(p->hidden(), 0u);
    EXPECT_NE(p->type(), 0u) << "a group record outlived its command";
    EXPECT_EQ(p->nested() != 0, HeldByPart(drawing, p));
    EXPECT_TRUE(MasksMatch(drawing, *p, p->box));
  }
  EXPECT_EQ(drawing.MarkerList, nullptr);
  EXPECT_EQ(drawing.OutlineList, nullptr);
  EXPECT_EQ(drawing.SelectedLines, nullptr);
  EXPECT_EQ(drawing.SelectedTexts, nullptr);
}

} // namespace lumora
