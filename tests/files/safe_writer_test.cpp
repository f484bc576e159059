#include "files/file_access.h"
#include "files/safe_writer.h"
#include "recording_reporter.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace lumora {
namespace {

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::size_t FileCount(const std::string& dir) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
}

TEST(SafeWriter, FailuresKeepTheOldFileAndLeaveNoTemporaryFile) {
  const std::string dir = test::ScratchDirectory("safe_writer_fail");
  const std::string target = dir + "/A.drw";
  std::ofstream(target) << "old";
  test::RecordingReporter reporter;
  std::size_t room = 10; // a disk that fills up after ten bytes
  SafeWriter full(reporter, [&room](const void* data, std::size_t size, std::FILE* file) {
    const std::size_t n = std::min(size, room);
    room -= n;
    return std::fwrite(data, 1, n, file);
  });
  ASSERT_TRUE(full.Open(target));
  EXPECT_FALSE(full.WriteText(std::string(70000, 'x')) && full.Commit());
  EXPECT_FALSE(full.WriteText("more"));
  SafeWriter writer(reporter);
  ASSERT_TRUE(writer.Open(target));
  EXPECT_FALSE(writer.Write(nullptr, 4));
  {
    SafeWriter abandoned(reporter);
    ASSERT_TRUE(abandoned.Open(target) && abandoned.WriteText("half"));
  }
  EXPECT_FALSE(writer.Open(dir + "/missing/C.drw"));
  SafeWriter good(reporter);
  ASSERT_TRUE(good.Open(target) && good.WriteText("new"));
  EXPECT_EQ(Contents(target), "old"); // nothing visible before the commit
  ASSERT_TRUE(good.Commit());
  EXPECT_EQ(Contents(target), "new");
  EXPECT_EQ(FileCount(dir), 1u);
  EXPECT_EQ(reporter.errors,
            (std::vector<std::string>{
                "Writing to file not succeeded !", "Attempt to write to NULL-pointer !",
                OpenFailedMessage(dir + "/missing/C.drw", Language::kEnglish)}));
}

} // namespace
} // namespace lumora
