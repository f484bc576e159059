#include "files/file_access.h"
#include "recording_reporter.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(OpenFileChecked, ComposesTheOpenMessageInBothLanguages) {
  EXPECT_EQ(OpenFailedMessage("A.drw", Language::kEnglish),
            "Opening of \"A.drw\"-file not succeeded !");
  EXPECT_EQ(OpenFailedMessage("A.drw", Language::kFinnish),
            "\"A.drw\"-nimisen tiedoston avaus ei onnistu !");
  // Too long a name loses its start, from a directory on: the end of the message stays.
  const std::string deep = "/" + std::string(90, 'd') + "/DRAWINGS/Plan.drw";
  EXPECT_EQ(OpenFailedMessage(deep, Language::kEnglish),
            "Opening of \".../DRAWINGS/Plan.drw\"-file not succeeded !");
  const std::string finnish = OpenFailedMessage(std::string(200, 'n'), Language::kFinnish);
  EXPECT_EQ(finnish.size(), kOpenMessageMax);
  EXPECT_TRUE(finnish.starts_with("\"...n"));
  EXPECT_TRUE(finnish.ends_with("n\"-nimisen tiedoston avaus ei onnistu !"));
  test::RecordingReporter reporter;
  const std::string missing = test::ScratchDirectory("open_checked") + "/no/such";
  EXPECT_EQ(OpenFileChecked(reporter, missing, "rb", true), nullptr);
  reporter.language = Language::kFinnish;
  std::string message;
  EXPECT_EQ(OpenFileChecked(reporter, missing, "rb", false, &message), nullptr);
  // Shown with the report flag, handed back without it.
  EXPECT_EQ(reporter.errors,
            std::vector<std::string>{OpenFailedMessage(missing, Language::kEnglish)});
  EXPECT_EQ(message, OpenFailedMessage(missing, Language::kFinnish));
}

TEST(FileExists, TellsReadableCreatableAndImpossible) {
  const std::string dir = test::ScratchDirectory("file_exists");
  std::ofstream(dir + "/there.txt") << "x";
  EXPECT_EQ(FileExists(dir + "/there.txt"), 1);
  EXPECT_EQ(FileExists(dir + "/new.drw"), -1);
  EXPECT_FALSE(std::filesystem::exists(dir + "/new.drw")); // the test file is removed again
  EXPECT_EQ(FileExists(dir + "/missing/new.drw"), 0);
  EXPECT_EQ(IsDirectory(dir), 1);
  EXPECT_EQ(IsDirectory(dir + "/there.txt"), 0);
}

TEST(ReadTextLine, SplitsLinesDropsCarriageReturnsAndCutsLongLines) {
  const std::string path = test::ScratchDirectory("text_line") + "/lines.txt";
  std::ofstream(path, std::ios::binary) << "first\r\n"
                                        << "abcdefghij\n"
                                        << "\n"
                                        << "\xE4\x01z";
  FilePtr file(std::fopen(path.c_str(), "rb"));
  std::string line;
  for (auto [size, expected] : {std::pair{80, "first"}, {5, "abcd"}, {80, ""}, {80, "\xE4\x01z"}}) {
    EXPECT_EQ(ReadTextLine(file, line, size), 1);
    EXPECT_EQ(line, expected);
  }
  EXPECT_EQ(ReadTextLine(file, line, 80), 0);
  EXPECT_EQ(file, nullptr); // closed at the end
}

} // namespace
} // namespace lumora
