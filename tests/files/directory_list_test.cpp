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

TEST(ListDirectory, EntersDrawingsScriptsAndSubdirectories) {
  const std::string dir = test::ScratchDirectory("list_directory");
  for (const char* name : {"House.drw", "Gate.drw", "Make.txt", "notes.doc", "Old.drw.bak"})
    std::ofstream(dir + "/" + name) << "x";
  for (const char* name : {"Sub", "DATA"}) std::filesystem::create_directory(dir + "/" + name);
  std::ofstream(dir + "/" + std::string(45, 'L') + ".drw") << "x"; // too long for a slot
  test::RecordingReporter reporter;
  std::vector<DirectoryEntry> entries;
  int longest = 0;
  EXPECT_EQ(ListDirectory(reporter, dir, "", "drw", entries, true, 20, longest), 6);
  EXPECT_EQ(Describe(entries), "../ Gate House Make.txt Old Sub/ ");
  EXPECT_EQ(longest, 8);
  EXPECT_TRUE(reporter.errors.empty());

  EXPECT_EQ(ListDirectory(reporter, dir, "H", "drw", entries, true, 20, longest), 1);
  EXPECT_EQ(Describe(entries), "House ");
  EXPECT_EQ(longest, 5);
}

TEST(ListDirectory, DropsWhatDoesNotFitWithOneMessage) {
  const std::string dir = test::ScratchDirectory("list_full");
  for (const char* name : {"a.drw", "b.drw", "c.drw", "d.drw"})
    std::ofstream(dir + "/" + name) << "x";
  test::RecordingReporter reporter;
  std::vector<DirectoryEntry> entries;
  int longest = 0;
  EXPECT_EQ(ListDirectory(reporter, dir, "", "drw", entries, false, 2, longest), 2);
  EXPECT_EQ(Describe(entries), "a b ");
  EXPECT_EQ(reporter.errors, std::vector<std::string>{"Too many files !"});
  EXPECT_EQ(ListDirectory(reporter, dir + "/none", "", "drw", entries, false, 2, longest), 0);
}

} // namespace
} // namespace lumora
