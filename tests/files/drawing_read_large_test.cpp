// Reading straight into the records: a file read from disk whose records run past the
// reader's window reads as it was written, and a read cut short anywhere keeps no block.
#include "file_test_env.h"
#include "files/drawing_format.h"
#include "model/store_fixture.h"

#include <gtest/gtest.h>
#include <string>

namespace lumora {
namespace {

using test::DrawingFixture;

// A line far longer than the reader's window among thousands of small records, a filling and a
// part over thousands of lines, and texts.
void BuildLarge(DrawingFixture& f) {
  std::vector<Point> long_line;
  for (int k = 0; k < 30000; ++k) long_line.push_back({k * 0.5, (k % 7) * 1.25});
  f.Line(kShapeOpen, long_line);
  std::vector<LineElement*> boundary;
  PartElement* part = f.store.AddPart("Many", 1, 2);
  for (int k = 0; k < 3000; ++k) {
    LineElement* line = f.Line(k % 2 == 0 ? kShapeOpen : kShapeArc,
                               {{k * 1.0, 1}, {k + 0.5, 2}, {k * 1.0, 3}}, k % 100);
    boundary.push_back(line);
    if (k % 3 == 0) f.store.AddMember(part, line);
    f.Text("T" + std::to_string(k), {{k * 1.0, 5}}, 20 + k % 50);
  }
  f.Filling(boundary, 1.5, 30);
}

TEST(DrawingFileLarge, RecordsPastTheReadWindowReadFromDiskAsWritten) {
  for (float version : {kShortVersion, kWideVersion}) {
    const std::string dir = test::ScratchDirectory("large_" + std::to_string(int(version)));
    DrawingFixture first;
    first.drawing.version = version;
    BuildLarge(first);
    ASSERT_EQ(first.Save(dir + "/A.drw"), 1);
    // Read twice, the lists are back in their first order and save the same bytes.
    DrawingFixture second;
    second.drawing.version = version;
    ASSERT_EQ(second.Read(dir + "/A.drw"), 1);
    EXPECT_EQ(test::ListOf(second.drawing.lines).front()->ps0(), 30000u);
    ASSERT_EQ(second.Save(dir + "/B.drw"), 1);
    DrawingFixture third;
    third.drawing.version = version;
    ASSERT_EQ(third.Read(dir + "/B.drw"), 1);
    ASSERT_EQ(third.Save(dir + "/C.drw"), 1);
    EXPECT_EQ(test::Slurp(dir + "/C.drw"), test::Slurp(dir + "/A.drw")) << version;
    EXPECT_TRUE(second.env.errors.empty() && third.env.errors.empty());
  }
}

TEST(DrawingFileLarge, AReadCutShortAnywhereKeepsNoBlock) {
  const std::string dir = test::ScratchDirectory("large_cut");
  DrawingFixture source;
  source.drawing.version = kWideVersion;
  LineElement* closed = source.Line(kShapeClosed, {{0, 0}, {10, 0}, {10, 10}});
  source.Line(kShapeArc, {{5, 5}, {8, 5}, {5, 8}});
  source.Filling({closed}, 1, 45);
  source.Text("Ab", {{1, 2}}, 30);
  source.store.AddMember(source.store.AddPart("P", 1, 0), closed);
  ASSERT_EQ(source.Save(dir + "/A.drw"), 1);
  const std::string whole = test::Slurp(dir + "/A.drw");
  for (std::size_t size = 0; size <= whole.size(); ++size) {
    Drawing drawing;
    test::QuietStoreEnvironment storeEnv;
    HeadlessPainter painter;
    test::CountingAllocator allocator;
    test::RecordingFileEnvironment env;
    {
      ElementStore store(drawing, storeEnv, painter, allocator);
      const auto* data = reinterpret_cast<const unsigned char*>(whole.data());
      const int result = ReadDrawingBytes(store, env, {data, size}, "x.drw", nullptr, {}, false);
      EXPECT_EQ(result == 1, size == whole.size()) << size;
      store.ClearDrawing();
      EXPECT_TRUE(allocator.live.empty()) << size;
    }
  }
}

} // namespace
} // namespace lumora
