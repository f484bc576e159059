#include "file_test_env.h"
#include "files/drawing_format.h"
#include "files/file_access.h"

#include <bit>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace lumora {
namespace {

using test::DrawingFixture;
using Bytes = std::vector<unsigned char>;

// Hand-made files, for what the writer never produces.
struct Builder {
  Bytes bytes;
  bool wide;
  explicit Builder(float version) : wide(IsWideVersion(version)) {
    Word(std::bit_cast<std::uint32_t>(version));
    for (double v : {0.0, 0.0, 100.0, 100.0, 1.0, 1.0}) Real(v);
  }
  void Little(std::uint64_t v, int n) {
    for (int i = 0; i < n; ++i) bytes.push_back(static_cast<unsigned char>(v >> (8 * i)));
  }
  void Word(std::uint32_t v) { Little(v, 4); }
  void Real(double v) {
    wide ? Little(std::bit_cast<std::uint64_t>(v), 8)
         : Little(std::bit_cast<std::uint32_t>(static_cast<float>(v)), 4);
  }
  void Count(std::int32_t v) { Little(static_cast<std::uint32_t>(v), wide ? 4 : 2); }
};

// A saved sample of every record kind, as bytes, in both precisions. (The reader's fuzz target
// keeps copies of them among its committed seeds.)
Bytes SampleFile(float version) {
  const std::string name = version == kWideVersion ? "sample_v3.drw" : "sample_v2.drw";
  const std::string dir = test::ScratchDirectory(std::string("sample_") + name);
  DrawingFixture f;
  f.drawing.version = version;
  LineElement* line = f.Line(kShapeClosed, {{0, 0}, {10, 0}, {10, 10}});
  f.Line(kShapeArc, {{5, 5}, {8, 5}, {5, 8}});
  f.Filling({line}, 1, 45);
  f.Text("Ab", {{1, 2}}, 30);
  PartElement* part = f.store.AddPart("P", 1, 0);
  f.store.AddMember(part, line);
  EXPECT_EQ(f.Save(dir + "/" + name), 1);
  const std::string text = test::Slurp(dir + "/" + name);
  return Bytes(text.begin(), text.end());
}

int ReadBytes(DrawingFixture& f, const Bytes& bytes, PartElement* container = nullptr) {
  return ReadDrawingBytes(f.store, f.env, bytes, "x.drw", container, {}, false);
}

TEST(DrawingFileFailures, EveryTruncationGivesAMessageAndKeepsTheDrawingSound) {
  for (float version : {kShortVersion, kWideVersion}) {
    const Bytes whole = SampleFile(version);
    const std::size_t headerSize = 4 + 6 * (version == kWideVersion ? 8 : 4);
    for (std::size_t size = 0; size < whole.size(); ++size) {
      DrawingFixture f;
      f.Line(kShapeOpen, {{0, 0}, {1, 1}}); // what was there before
      const int result = ReadBytes(f, Bytes(whole.begin(), whole.begin() + size));
      ASSERT_EQ(f.env.errors.size(), 1u) << size;
      if (size < headerSize) {
        EXPECT_EQ(result, 0) << size;
        EXPECT_EQ(test::ListOf(f.drawing.lines).size(), 1u); // a bad header changes nothing
      } else {
        EXPECT_EQ(result, -1) << size;
      }
    }
    DrawingFixture f;
    EXPECT_EQ(ReadBytes(f, whole), 1);
    EXPECT_TRUE(f.env.errors.empty());
  }
}

TEST(DrawingFileFailures, ShortReadsNameWhatWasBeingRead) {
  DrawingFixture f;
  Builder unreadable(kUnreadableVersion);
  EXPECT_EQ(ReadBytes(f, unreadable.bytes), 0);
  Builder shortFloats(kShortVersion);
  shortFloats.bytes.resize(10);
  EXPECT_EQ(ReadBytes(f, shortFloats.bytes), 0);
  Builder shortCount(kShortVersion);
  shortCount.bytes.push_back(0);
  EXPECT_EQ(ReadBytes(f, shortCount.bytes), -1);
  Builder notANumber(kWideVersion);
  notANumber.Count(1);
  notANumber.Word(2); // two points
  notANumber.Word(0);
  notANumber.Real(1);
  notANumber.Real(std::nan(""));
  EXPECT_EQ(ReadBytes(f, notANumber.bytes), -1);
  EXPECT_EQ(f.env.errors, (std::vector<std::string>{"File is not readable !",
                                                    "Reading file not succeeded (DoublesToFloat) !",
                                                    "Reading file not succeeded (IntToShort) !",
                                                    "Reading file not succeeded !"}));
}

TEST(DrawingFileFailures, AStringLengthBeyondTheFileOrTheFieldIsRefused) {
  for (std::int32_t length : {5, 40000, 0, -3}) {
    Builder b(kWideVersion);
    b.Count(0);
    b.Count(0);
    b.Count(1); // one text
    b.Word(1);  // one point
    b.Word(25); // height
    b.Word(0);  // angle
    b.Real(1);
    b.Real(1);
    b.Count(length);
    b.Word(0x00434241); // "ABC" and its zero: enough for every accepted length but 5
    DrawingFixture f;
    EXPECT_EQ(ReadBytes(f, b.bytes), -1) << length;
    EXPECT_EQ(f.env.errors, std::vector<std::string>{"Reading file not succeeded !"});
    EXPECT_EQ(f.drawing.texts, nullptr);
  }
}

TEST(DrawingFileFailures, APartThatListsItselfIsNotItsOwnMember) {
  Builder b(kShortVersion);
  b.Count(0);
  b.Count(0);
  b.Count(0);
  b.Count(1);
  for (int k = 0; k < 12; ++k) b.Word(k == 0 ? 'S' : 0); // the name
  b.Word(1);                                             // type 1
  b.Word(0);
  for (int list = 0; list < 3; ++list) b.Count(0);
  b.Count(2); // parts: itself, and an index that resolves to nothing
  b.Count(0);
  b.Count(7);
  DrawingFixture f;
  ASSERT_EQ(ReadBytes(f, b.bytes), 1);
  ASSERT_NE(f.drawing.parts, nullptr);
  EXPECT_EQ(f.drawing.parts->parts, nullptr);
  EXPECT_EQ(f.drawing.parts->nested(), 0u);
}

// A chain of typed parts, each holding the one before it, the first holding the only line.
Bytes PartChain(int depth) {
  Builder b(kWideVersion);
  b.Count(1);
  b.Word(1); // one point
  b.Word(0);
  b.Real(5);
  b.Real(5);
  b.Count(0);
  b.Count(0);
  b.Count(depth);
  constexpr std::uint32_t kTypedMixedLayer = 1 | (kMixedLayer << 4);
  for (int k = 0; k < depth; ++k) {
    for (int w = 0; w < 12; ++w) b.Word(0); // no name
    b.Word(kTypedMixedLayer);
    b.Word(0);
    b.Count(k == 0 ? 1 : 0);
    if (k == 0) b.Count(0);
    b.Count(0);
    b.Count(0);
    b.Count(k == 0 ? 0 : 1);
    if (k > 0) b.Count(k - 1);
  }
  return b.bytes;
}

TEST(DrawingFileParts, AHundredThousandNestedPartsReadSelectPickAndDelete) {
  constexpr int kDepth = 100000;
  const Bytes chain = PartChain(kDepth);
  DrawingFixture f;
  ASSERT_EQ(ReadBytes(f, chain), 1);
  PartElement* top = f.drawing.parts;
  ASSERT_EQ(test::NodeCount(top), static_cast<std::size_t>(kDepth));
  f.store.Select(top);
  EXPECT_EQ(test::NodeCount(f.drawing.SelectedLines), 1u);
  // Every part holds the point; only the outermost is not nested.
  EXPECT_EQ(f.store.FindPart({5, 5}, true), top);
  EXPECT_NE(f.store.FindPart({5, 5}, false), nullptr);
  f.drawing.layerVisible[0] = 0; // the line's layer: no part is visible any more
  EXPECT_EQ(f.store.FindPart({5, 5}, false), nullptr);
  // Deleting the line empties the innermost part, and each emptied part empties its holder.
  LineElement* line = f.drawing.lines;
  EXPECT_EQ(f.store.DeleteLine(line), 1);
  EXPECT_EQ(f.drawing.parts, nullptr);

  ASSERT_EQ(ReadBytes(f, chain), 1);
  top = f.drawing.parts;
  EXPECT_EQ(f.store.DeletePart(top, true), 1);
  EXPECT_EQ(f.drawing.parts, nullptr);
  EXPECT_EQ(f.drawing.lines, nullptr);

  ASSERT_EQ(ReadBytes(f, chain), 1);
  f.store.ClearDrawing();
  EXPECT_EQ(f.drawing.parts, nullptr);
}

TEST(DrawingFileParts, AReversedSavedAreaGivesTheLimitsOfItsCorners) {
  Builder b(kWideVersion);
  b.bytes.resize(4); // the version only: the area again, corners exchanged
  for (double v : {100.0, 80.0, 0.0, 0.0, 1.0, 1.0}) b.Real(v);
  for (int list = 0; list < 4; ++list) b.Count(0);
  DrawingFixture f;
  ASSERT_EQ(ReadBytes(f, b.bytes), 1);
  const Box& limits = f.drawing.limits;
  EXPECT_EQ(std::vector<double>({limits.xmin, limits.ymin, limits.xmax, limits.ymax}),
            std::vector<double>({0, 0, 100, 80}));
}

// A scale of nothing (or a hostile one) would divide by zero in the scale command and the
// limits; it is read as 1. A sound scale is kept, into a container too.
TEST(DrawingFileFailures, AScaleBelowAThousandthIsReadAsOne) {
  for (const double stored : {0.0, 0.0009, -2.0, 0.5}) {
    Builder b(kWideVersion);
    b.bytes.resize(4);
    for (double v : {0.0, 0.0, 100.0, 100.0, stored, 1.0}) b.Real(v);
    for (int list = 0; list < 4; ++list) b.Count(0);
    DrawingFixture f;
    ASSERT_EQ(ReadBytes(f, b.bytes), 1) << stored;
    EXPECT_EQ(f.drawing.scale, stored == 0.5 ? 0.5 : 1.0) << stored;
  }
}

TEST(DrawingFileFailures, MissingFilesAndScriptsAnswerZero) {
  const std::string dir = test::ScratchDirectory("read_missing");
  DrawingFixture f;
  f.env.language = Language::kFinnish;
  EXPECT_EQ(f.Read(dir + "/none.drw"), 0);
  EXPECT_EQ(f.Read(dir + "/none.drw"), 0);
  EXPECT_EQ(f.env.traces.size(), 1u); // the same name is traced once
  EXPECT_EQ(f.env.errors.back(), OpenFailedMessage(dir + "/none.drw", Language::kFinnish));
  EXPECT_EQ(f.Read(dir + "/make.TXT.old"), 0);
  EXPECT_EQ(f.env.errors.back(), "Skriptit eivät ole vielä käytettävissä !"_l1);
  Box area;
  EXPECT_EQ(ReadFileHeader(dir + "/none.drw", area), 0);
}

TEST(DrawingFileSave, AFailedSaveKeepsThePreviousFile) {
  const std::string dir = test::ScratchDirectory("save_fails");
  DrawingFixture f;
  f.Line(kShapeOpen, {{0, 0}, {1, 1}});
  ASSERT_EQ(f.Save(dir + "/A.drw"), 1);
  const std::string before = test::Slurp(dir + "/A.drw");
  f.Line(kShapeOpen, {{2, 2}, {3, 3}});
  const std::uint32_t changes = f.drawing.changes;
  const auto fullDisk = [](const void*, std::size_t, std::FILE*) -> std::size_t { return 0; };
  EXPECT_EQ(WriteDrawingFile(f.drawing, f.env, dir + "/A.drw", nullptr, {0, 0}, f.drawing.limits,
                             fullDisk),
            0);
  EXPECT_EQ(f.env.errors, std::vector<std::string>{"Writing to file not succeeded !"});
  EXPECT_EQ(test::Slurp(dir + "/A.drw"), before);
  EXPECT_EQ(f.drawing.changes, changes); // still unsaved
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);

  // A coordinate that is not a finite number could not be read back: nothing is written.
  f.env.errors.clear();
  f.drawing.lines->points[1].y = std::nan("");
  EXPECT_EQ(f.Save(dir + "/A.drw"), 0);
  EXPECT_EQ(f.env.errors,
            std::vector<std::string>{"Coordinate is not a finite number, file not written !"});
  EXPECT_EQ(test::Slurp(dir + "/A.drw"), before);
  EXPECT_EQ(f.drawing.changes, changes);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
}

} // namespace
} // namespace lumora
