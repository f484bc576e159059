#include "files/recovery_log.h"

#include <cstring>
#include <gtest/gtest.h>

namespace lumora {
namespace {

std::vector<std::byte> Payload(std::string_view text) {
  const auto* bytes = reinterpret_cast<const std::byte*>(text.data());
  return {bytes, bytes + text.size()};
}

std::vector<unsigned char> Log(const std::vector<std::string_view>& steps) {
  std::vector<unsigned char> log = EncodeRecoveryHeader({.name = "talo\xe4",
                                                         .savedAt = 1700000000,
                                                         .checkpoint = 7,
                                                         .unsaved = true,
                                                         .parts = {},
                                                         .boundaryLines = {}});
  for (const std::string_view step : steps) {
    const std::vector<unsigned char> record = EncodeRecoveryStep(Payload(step));
    log.insert(log.end(), record.begin(), record.end());
  }
  return log;
}

TEST(RecoveryLog, KeepsEveryWholeStepAndDropsACutOrDamagedTail) {
  const std::vector<unsigned char> whole = Log({"first", "", "third step"});
  const RecoveryLogContents read = ReadRecoveryLog(whole);
  ASSERT_TRUE(read.headerRead);
  EXPECT_EQ(read.header.name, "talo\xe4");
  EXPECT_EQ(read.header.savedAt, 1700000000);
  EXPECT_EQ(read.header.checkpoint, 7u);
  EXPECT_TRUE(read.header.unsaved);
  ASSERT_EQ(read.steps.size(), 3u);
  EXPECT_EQ(read.steps[2], Payload("third step"));
  EXPECT_TRUE(read.steps[1].empty());
  EXPECT_FALSE(read.damagedTail);

  // A crash may cut the last step at any byte: the steps before it are all kept.
  const std::size_t lastStart = Log({"first", ""}).size();
  for (std::size_t cut = lastStart; cut < whole.size(); ++cut) {
    const RecoveryLogContents cutRead = ReadRecoveryLog(std::span(whole).first(cut));
    ASSERT_EQ(cutRead.steps.size(), 2u) << "cut at " << cut;
    EXPECT_EQ(cutRead.damagedTail, cut != lastStart);
    EXPECT_EQ(cutRead.keptBytes, lastStart);
  }
  // A flipped bit anywhere in the last record drops that record only.
  for (std::size_t at = lastStart; at < whole.size(); ++at) {
    std::vector<unsigned char> damaged = whole;
    damaged[at] ^= 0x10;
    EXPECT_EQ(ReadRecoveryLog(damaged).steps.size(), 2u) << "flip at " << at;
  }
}

TEST(RecoveryLog, RefusesWhatIsNotALogAndNeverTrustsALength) {
  std::vector<unsigned char> log = Log({"a"});
  EXPECT_FALSE(ReadRecoveryLog({}).headerRead);
  std::vector<unsigned char> badName = log;
  badName[14] ^= 1; // the name's first letter: the header's checksum fails
  EXPECT_FALSE(ReadRecoveryLog(badName).headerRead);
  std::vector<unsigned char> badVersion = log;
  badVersion[8] = 9;
  EXPECT_FALSE(ReadRecoveryLog(badVersion).headerRead);
  EXPECT_FALSE(ReadRecoveryLog(std::span(log).first(10)).headerRead);

  // A record that claims four gigabytes is a cut record, not an allocation.
  const std::size_t header = Log({}).size();
  std::memset(log.data() + header, 0xFF, 4);
  const RecoveryLogContents read = ReadRecoveryLog(log);
  EXPECT_TRUE(read.headerRead);
  EXPECT_TRUE(read.steps.empty());
  EXPECT_TRUE(read.damagedTail);
}

TEST(RecoveryLog, CrcIsTheUsualOne) {
  const std::string_view text = "123456789";
  EXPECT_EQ(Crc32({reinterpret_cast<const unsigned char*>(text.data()), text.size()}), 0xCBF43926u);
}

} // namespace
} // namespace lumora
