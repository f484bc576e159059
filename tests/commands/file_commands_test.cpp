// The whole-drawing file commands' own rules: their titles, the read that keeps the drawing
// when the file fails, and the search for lines lying on each other.
#include "commands/file_commands.h"
#include "commands/overlap_check.h"
#include "files/drawing_replace.h"
#include "files/file_test_env.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <unistd.h>

namespace lumora {
namespace {

using test::DrawingFixture;

TEST(FileCommandTitles, SubdirectoryAndCuts) {
  EXPECT_EQ(MakeFileTitle(kCodeReadDrawing, "").en, "Reading drawing: ");
  EXPECT_EQ(MakeFileTitle(kCodeSave, "Old").fi, "Kuvan tallennus (^Old/^): ");
  EXPECT_EQ(MakeFileTitle(kCodeAddPart, "Bolts").en, "Adding part (^Bolts/^): ");
  // Copying an area keeps to the part directory itself.
  EXPECT_EQ(MakeFileTitle(kCodeCopy, "Bolts").en, "Coping of elements of area: ");
  const std::string deep(90, 'd');
  EXPECT_EQ(MakeFileTitle(kCodeAddDrawing, deep).en.size(), 79u);
  const FileTitle part = MakeFileTitle(kCodeSavePart, deep);
  EXPECT_EQ(part.en, "Saving part (^" + std::string(25, 'd'));
  EXPECT_EQ(part.fi.size(), 39u);
}

// A file that fails after its header leaves the drawing, its header and `changes` as they were.
TEST(ReplaceDrawing, AFileFailingPartWayKeepsTheDrawing) {
  const std::string dir = test::ScratchDirectory("replace_fails");
  DrawingFixture source;
  for (int k = 0; k < 20; ++k) source.Line(kShapeOpen, {{0.0 + k, 0}, {1.0 + k, 1}});
  ASSERT_EQ(source.Save(dir + "/Whole.drw"), 1);
  const std::string bytes = test::Slurp(dir + "/Whole.drw");
  std::ofstream(dir + "/Cut.drw", std::ios::binary) << bytes.substr(0, bytes.size() / 2);

  DrawingFixture f;
  f.drawing.limits = Box{-5, -5, 5, 5};
  f.drawing.scale = 20;
  f.Line(kShapeClosed, {{0, 0}, {1, 0}, {1, 1}});
  SetDrawingName(f.drawing, "Kept");
  const std::uint32_t changes = f.drawing.changes;
  EXPECT_EQ(ReplaceDrawing(f.store, f.env, f.state, dir + "/Cut.drw"), 0);
  EXPECT_FALSE(f.env.errors.empty());
  EXPECT_EQ(test::ListOf(f.drawing.lines).size(), 1u);
  EXPECT_EQ(f.drawing.lines->ps0(), 3u);
  EXPECT_EQ(f.drawing.changes, changes);
  EXPECT_EQ(f.drawing.scale, 20);
  EXPECT_EQ(f.drawing.limits.xmax, 5);
  EXPECT_TRUE(f.env.calls.empty()); // neither the origins nor the plotter were touched

  EXPECT_EQ(ReplaceDrawing(f.store, f.env, f.state, dir + "/Whole.drw"), 1);
  EXPECT_EQ(test::ListOf(f.drawing.lines).size(), 20u);
}

TEST(ReplaceDrawing, ASaveIntoAReadOnlyDirectoryKeepsTheOldFileAndChanges) {
  const std::string dir = test::ScratchDirectory("save_read_only");
  DrawingFixture f;
  f.Line(kShapeOpen, {{0, 0}, {1, 1}});
  ASSERT_EQ(f.Save(dir + "/A.drw"), 1);
  const std::string before = test::Slurp(dir + "/A.drw");
  f.Line(kShapeOpen, {{2, 2}, {3, 3}});
  const std::uint32_t changes = f.drawing.changes;
  // A path through a plain file fails for everyone; a directory without write permission
  // fails for everyone but root.
  EXPECT_EQ(f.Save(dir + "/A.drw/B.drw"), 0);
  namespace fs = std::filesystem;
  fs::permissions(dir, fs::perms::owner_write, fs::perm_options::remove);
  if (geteuid() != 0) {
    EXPECT_EQ(f.Save(dir + "/A.drw"), 0);
  }
  fs::permissions(dir, fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(test::Slurp(dir + "/A.drw"), before);
  EXPECT_EQ(f.drawing.changes, changes);
}

// The scan as first written: every line searches the list from its head.
std::vector<LineElement*> QuadraticScan(const Drawing& drawing) {
  std::vector<LineElement*> lines = test::ListOf(drawing.lines);
  std::vector<const LineElement*> boundaries;
  for (const FillingElement* f = drawing.fillings; f != nullptr; f = f->next)
    for (std::uint32_t i = 0; i < f->ls0(); ++i) boundaries.push_back(f->lines[i]);
  const auto bounds = [&](const LineElement* l) {
    return std::find(boundaries.begin(), boundaries.end(), l) != boundaries.end();
  };
  std::vector<bool> gone(lines.size());
  std::vector<LineElement*> deleted;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (gone[i]) continue;
    for (std::size_t j = 0; j < lines.size(); ++j) {
      const LineElement& a = *lines[i];
      const LineElement& b = *lines[j];
      if (j == i || gone[j] || bounds(&b) || a.ps0() != b.ps0() || a.shape() != b.shape()) continue;
      bool same = true;
      for (std::uint32_t k = 0; k < a.ps0() && same; ++k)
        same = SamePoint(a.points[k], b.points[k]) != 0;
      if (!same) continue;
      gone[j] = true;
      deleted.push_back(lines[j]);
      break;
    }
  }
  return deleted;
}

TEST(OverlappingLines, SameShapeCountAndPointsInOrderAndNoBoundary) {
  DrawingFixture f;
  const std::vector<Point> pts{{0, 0}, {10, 0}, {10, 10}};
  LineElement* first = f.Line(kShapeOpen, pts, 1);
  LineElement* second = f.Line(kShapeOpen, pts, 2);
  LineElement* third = f.Line(kShapeOpen, {{0, 0.0004}, {10, 0}, {10, 10}}, 3); // within tolerance
  f.Line(kShapeOpen, {{10, 10}, {10, 0}, {0, 0}});                              // reversed
  f.Line(kShapeClosed, pts);                                                    // closed
  f.Line(kShapeOpen, {{0, 0}, {10, 0}});                                        // fewer points
  // Newest first: the third finds the second nearest the head; the first then finds the
  // third. One of the three stays.
  std::vector<LineElement*> deleted = OverlappingLines(f.drawing);
  EXPECT_EQ(deleted, (std::vector<LineElement*>{second, third}));
  EXPECT_EQ(deleted, QuadraticScan(f.drawing));
  EXPECT_NE(first, nullptr);

  // A twin of a filling's boundary goes and the boundary stays; twin boundaries both stay.
  DrawingFixture g;
  const std::vector<Point> square{{0, 0}, {5, 0}, {5, 5}, {0, 5}};
  LineElement* plain = g.Line(kShapeClosed, square);
  LineElement* bound = g.Line(kShapeClosed, square);
  g.Filling({bound}, 1, 45);
  EXPECT_EQ(OverlappingLines(g.drawing), std::vector<LineElement*>{plain});
  DrawingFixture h;
  h.Filling({h.Line(kShapeClosed, square)}, 1, 45);
  h.Filling({h.Line(kShapeClosed, square)}, 1, 0);
  EXPECT_TRUE(OverlappingLines(h.drawing).empty());
}

TEST(OverlappingLines, TheCellSearchDeletesWhatTheFullScanDeletes) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> coordinate(0, 2);
  std::uniform_int_distribution<int> jitter(-6, 6); // two jitters apart may pass the tolerance
  DrawingFixture f;
  for (int k = 0; k < 600; ++k) {
    std::vector<Point> pts;
    const int count = 2 + k % 2;
    for (int p = 0; p < count; ++p)
      pts.push_back({coordinate(random) + jitter(random) * 1e-4, double(coordinate(random))});
    LineElement* line = f.Line(k % 5 == 0 ? kShapeClosed : kShapeOpen, pts);
    if (k % 97 == 0) f.Filling({line}, 1, 0);
  }
  const std::vector<LineElement*> fast = OverlappingLines(f.drawing);
  EXPECT_GT(fast.size(), 50u);
  EXPECT_EQ(fast, QuadraticScan(f.drawing));
}

} // namespace
} // namespace lumora
