#include "files/directory_list.h"
#include "recording_reporter.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace lumora {
namespace {

std::string Describe(const std::vector<DirectoryEntry>& entries) {
  std::string text;
  for (const auto& e : entries) text += e.name + (e.kind == EntryKind::kDirectory ? "/ " : " ");
  return text;
}

TEST(ListDirectory, EntersDrawingsScriptsAndSubdirectoriesUpToTheLimit) {
  const std::string dir = test::ScratchDirectory("list_directory");
  for (const char* name :
       {"House.drw", "Gate.drw", "Make.txt", "notes.doc", "Old.drw.bak", "Mill.DXF"})
    std::ofstream(dir + "/" + name) << "x";
  for (const char* name : {"Sub", "DATA"}) std::filesystem::create_directory(dir + "/" + name);
  std::ofstream(dir + "/" + std::string(45, 'L') + ".drw") << "x"; // too long for a slot
  test::RecordingReporter reporter;
  std::vector<DirectoryEntry> entries;
  int longest = 0;
  EXPECT_EQ(ListDirectory(reporter, dir, "", "drw", entries, true, 20, longest), 7);
  EXPECT_EQ(Describe(entries), "../ Gate House Make.txt Mill.DXF Old Sub/ ");
  EXPECT_EQ(longest, 8);
  EXPECT_EQ(ListDirectory(reporter, dir, "H", "drw", entries, true, 20, longest), 1);
  EXPECT_EQ(longest, 5);
  EXPECT_TRUE(reporter.errors.empty());
  EXPECT_EQ(ListDirectory(reporter, dir, "", "drw", entries, false, 2, longest), 2);
  EXPECT_EQ(Describe(entries), "Gate House ");
  EXPECT_EQ(reporter.errors, std::vector<std::string>{"Too many files !"}); // once
  // A DXF drawing is added as a part as well as read as a drawing.
  std::ofstream(dir + "/Bolt.part") << "x";
  EXPECT_EQ(ListDirectory(reporter, dir, "", "part", entries, false, 20, longest), 4);
  EXPECT_EQ(Describe(entries), "Bolt Make.txt Mill.DXF Sub/ ");
}

TEST(ListDirectory, PatternsMatchAStarAnywhereAndAQuestionMarkOnce) {
  struct Case {
    const char* name;
    const char* pattern;
    bool fits;
  };
  for (const Case& c :
       {Case{"Plan.drw", "", true}, Case{"Plan.drw", "Pl", true}, Case{"Plan.drw", "*an", true},
        Case{"House.drw", "*an", false}, Case{"Plan.drw", "P?an", true},
        Case{"Pan.drw", "P?an", false}, Case{"Plan.drw", "*.d*w", true},
        Case{"Plan.drw", "*x*", false}, Case{"a", "a**", true}, Case{"Sub", "*/", false}}) {
    EXPECT_EQ(FitsPattern(c.name, c.pattern), c.fits) << c.name << " " << c.pattern;
  }
  // Many stars against a long name that almost fits: answered at once.
  EXPECT_FALSE(FitsPattern(std::string(4000, 'a'), std::string(200, '*') + "b"));
}

} // namespace
} // namespace lumora
