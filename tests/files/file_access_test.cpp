#include "files/file_access.h"
#include "recording_reporter.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(OpenFileChecked, ComposesTheOpenMessageInBothLanguages) {
  test::RecordingReporter reporter;
  const std::string missing = test::ScratchDirectory("open_checked") + "/no/such";
  EXPECT_EQ(OpenFileChecked(reporter, missing, "rb", true), nullptr);
  ASSERT_EQ(reporter.errors.size(), 1u);
  EXPECT_EQ(OpenFailedMessage("A.drw", Language::kEnglish),
            "Opening of \"A.drw\"-file not succeeded !");
  EXPECT_EQ(OpenFailedMessage("A.drw", Language::kFinnish),
            "\"A.drw\"-nimisen tiedoston avaus ei onnistu !");
  // Without the report flag the message goes to the caller and nothing is shown.
  reporter.language = Language::kFinnish;
  std::string message;
  EXPECT_EQ(OpenFileChecked(reporter, missing, "rb", false, &message), nullptr);
  EXPECT_EQ(reporter.errors.size(), 1u);
  EXPECT_EQ(message, OpenFailedMessage(missing, Language::kFinnish));
  // A long name is cut so the message stays within its limit.
  EXPECT_EQ(OpenFailedMessage(std::string(200, 'n'), Language::kEnglish).size(), kOpenMessageMax);
}

TEST(FileExists, TellsReadableCreatableAndImpossible) {
  const std::string dir = test::ScratchDirectory("file_exists");
  std::ofstream(dir + "/there.txt") << "x";
  EXPECT_EQ(FileExists(dir + "/there.txt"), 1);
  EXPECT_EQ(FileExists(dir + "/new.drw"), -1);
  EXPECT_FALSE(std::filesystem::exists(dir + "/new.drw")); // the test file is removed again
  EXPECT_EQ(FileExists(dir + "/missing/new.drw"), 0);
}

TEST(ReadTextLine, SplitsLinesDropsCarriageReturnsAndCutsLongLines) {
  const std::string path = test::ScratchDirectory("text_line") + "/lines.txt";
  std::ofstream(path, std::ios::binary) << "first\r\n"
                                        << "abcdefghij\n"
                                        << "\n"
                                        << "\xE4\x01z";
  FilePtr file(std::fopen(path.c_str(), "rb"));
  std::string line;
  EXPECT_EQ(ReadTextLine(file, line, 80), 1);
  EXPECT_EQ(line, "first");
  EXPECT_EQ(ReadTextLine(file, line, 5), 1);
  EXPECT_EQ(line, "abcd"); // the rest of the long line is read and dropped
  EXPECT_EQ(ReadTextLine(file, line, 80), 1);
  EXPECT_EQ(line, "");
  EXPECT_EQ(ReadTextLine(file, line, 80), 1); // a last line without a line feed
  EXPECT_EQ(line, "\xE4\x01z");
  EXPECT_EQ(ReadTextLine(file, line, 80), 0);
  EXPECT_EQ(file, nullptr); // closed at the end
  EXPECT_EQ(ReadTextLine(file, line, 80), 0);
}

TEST(IsDirectory, KnowsDirectoriesFromFiles) {
  const std::string dir = test::ScratchDirectory("is_directory");
  std::ofstream(dir + "/plain") << "x";
  EXPECT_EQ(IsDirectory(dir), 1);
  EXPECT_EQ(IsDirectory(dir + "/plain"), 0);
  EXPECT_EQ(IsDirectory(dir + "/none"), 0);
}

} // namespace
} // namespace lumora
