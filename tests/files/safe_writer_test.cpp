#include "files/file_access.h"
#include "files/safe_writer.h"
#include "recording_reporter.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace lumora {
namespace {

std::size_t FileCount(const std::string& dir) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
}

TEST(SafeWriter, FailuresKeepTheOldFileAndLeaveNoTemporaryFile) {
  const std::string dir = test::ScratchDirectory("safe_writer_fail");
  const std::string target = dir + "/A.drw";
  std::ofstream(target) << "old";
  test::RecordingReporter reporter;
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
  EXPECT_EQ(test::Slurp(target), "old"); // nothing visible before the commit
  ASSERT_TRUE(good.Commit());
  EXPECT_EQ(test::Slurp(target), "new");
  EXPECT_EQ(FileCount(dir), 1u);
  EXPECT_EQ(reporter.errors, (std::vector<std::string>{
                                 "Attempt to write to NULL-pointer !",
                                 OpenFailedMessage(dir + "/missing/C.drw", Language::kEnglish)}));
}

} // namespace
} // namespace lumora
