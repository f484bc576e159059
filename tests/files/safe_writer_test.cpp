#include "files/file_access.h"
#include "files/safe_writer.h"
#include "recording_reporter.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace lumora {
namespace {

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::size_t FileCount(const std::string& dir) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
}

TEST(SafeWriter, ReplacesTheFileOnlyAfterACompleteWrite) {
  const std::string dir = test::ScratchDirectory("safe_writer_ok");
  const std::string target = dir + "/A.drw";
  std::ofstream(target) << "old";
  test::RecordingReporter reporter;
  SafeWriter writer(reporter);
  ASSERT_TRUE(writer.Open(target));
  ASSERT_TRUE(writer.WriteText("new "));
  EXPECT_EQ(Contents(target), "old"); // nothing visible before the commit
  const std::string big(100000, 'b');
  ASSERT_TRUE(writer.WriteText(big));
  ASSERT_TRUE(writer.Commit());
  EXPECT_EQ(Contents(target), "new " + big);
  EXPECT_EQ(FileCount(dir), 1u);
  EXPECT_TRUE(reporter.errors.empty());
}

TEST(SafeWriter, AFailedWriteKeepsTheOldFileAndSaysSo) {
  const std::string dir = test::ScratchDirectory("safe_writer_fail");
  const std::string target = dir + "/A.drw";
  std::ofstream(target) << "old";
  test::RecordingReporter reporter;
  std::size_t room = 10; // a disk that fills up after ten bytes
  SafeWriter writer(reporter, [&room](const void* data, std::size_t size, std::FILE* file) {
    const std::size_t n = std::min(size, room);
    room -= n;
    return std::fwrite(data, 1, n, file);
  });
  ASSERT_TRUE(writer.Open(target));
  EXPECT_FALSE(writer.WriteText(std::string(70000, 'x')) && writer.Commit());
  EXPECT_EQ(Contents(target), "old");
  EXPECT_EQ(FileCount(dir), 1u); // the temporary file is gone
  EXPECT_EQ(reporter.errors, std::vector<std::string>{"Writing to file not succeeded !"});
  EXPECT_FALSE(writer.WriteText("more")); // nothing more goes anywhere
}

TEST(SafeWriter, RefusesNullDataAndUnopenableTargets) {
  const std::string dir = test::ScratchDirectory("safe_writer_null");
  test::RecordingReporter reporter;
  {
    SafeWriter writer(reporter);
    ASSERT_TRUE(writer.Open(dir + "/B.drw"));
    EXPECT_FALSE(writer.Write(nullptr, 4));
    EXPECT_FALSE(writer.Commit());
  }
  EXPECT_EQ(FileCount(dir), 0u);
  SafeWriter writer(reporter);
  EXPECT_FALSE(writer.Open(dir + "/missing/C.drw"));
  EXPECT_EQ(reporter.errors, (std::vector<std::string>{
                                 "Attempt to write to NULL-pointer !",
                                 OpenFailedMessage(dir + "/missing/C.drw", Language::kEnglish)}));
}

TEST(SafeWriter, AnAbandonedWriteLeavesNoTrace) {
  const std::string dir = test::ScratchDirectory("safe_writer_abandon");
  test::RecordingReporter reporter;
  {
    SafeWriter writer(reporter);
    ASSERT_TRUE(writer.Open(dir + "/D.drw"));
    ASSERT_TRUE(writer.WriteText("half"));
  }
  EXPECT_EQ(FileCount(dir), 0u);
}

} // namespace
} // namespace lumora
