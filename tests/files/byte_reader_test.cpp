#include "files/byte_reader.h"
#include "recording_reporter.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <vector>

namespace lumora {
namespace {

TEST(ByteReader, DecodesLittleEndianValuesOfEveryWidth) {
  const std::vector<unsigned char> bytes = {0x34, 0x12,             // u16 0x1234
                                            0xFE, 0xFF,             // i16 -2
                                            0x78, 0x56, 0x34, 0x12, // u32
                                            0xFF, 0xFF, 0xFF, 0x7F, // i32 max
                                            0x00, 0x00, 0x40, 0x40, // float 3.0
                                            0,    0,    0,    0,
                                            0,    0,    0xF8, 0xBF}; // double -1.5
  ByteReader reader(bytes);
  std::uint16_t u16 = 0;
  std::int32_t i = 0;
  std::uint32_t u32 = 0;
  double d = 0;
  ASSERT_TRUE(reader.ReadU16(u16));
  EXPECT_EQ(u16, 0x1234);
  ASSERT_TRUE(reader.ReadI16(i));
  EXPECT_EQ(i, -2);
  ASSERT_TRUE(reader.ReadU32(u32));
  EXPECT_EQ(u32, 0x12345678u);
  ASSERT_TRUE(reader.ReadI32(i));
  EXPECT_EQ(i, 2147483647);
  ASSERT_TRUE(reader.ReadF32(d));
  EXPECT_EQ(d, 3.0);
  ASSERT_TRUE(reader.ReadF64(d));
  EXPECT_EQ(d, -1.5);
  EXPECT_EQ(reader.Remaining(), 0u);
}

TEST(ByteReader, AReadThatDoesNotFitFailsAndConsumesNothing) {
  const std::vector<unsigned char> bytes = {1, 2, 3};
  ByteReader reader(bytes);
  std::uint32_t value = 0;
  EXPECT_FALSE(reader.ReadU32(value));
  EXPECT_EQ(reader.Remaining(), 3u);
  EXPECT_FALSE(reader.Skip(4));
  std::uint16_t small = 0;
  ASSERT_TRUE(reader.ReadU16(small));
  EXPECT_EQ(small, 0x0201);
  EXPECT_EQ(reader.Position(), 2u);
  EXPECT_FALSE(reader.ReadU16(small));
  EXPECT_TRUE(reader.Skip(1));
  EXPECT_EQ(reader.Remaining(), 0u);
}

TEST(ByteReader, StreamsAFileAcrossChunksFromItsCurrentPosition) {
  const std::string path = test::ScratchDirectory("byte_reader") + "/data.bin";
  constexpr std::uint32_t kCount = 70000; // more than one chunk of the stream
  {
    std::ofstream out(path, std::ios::binary);
    out.put('X');
    for (std::uint32_t k = 0; k < kCount; ++k) {
      const unsigned char word[4] = {static_cast<unsigned char>(k),
                                     static_cast<unsigned char>(k >> 8),
                                     static_cast<unsigned char>(k >> 16), 0};
      out.write(reinterpret_cast<const char*>(word), 4);
    }
  }
  std::FILE* file = std::fopen(path.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(std::fgetc(file), 'X');
  {
    ByteReader reader(file);
    EXPECT_EQ(reader.Remaining(), 4u * kCount);
    std::uint32_t value = 0;
    bool allMatch = true;
    for (std::uint32_t k = 0; k < kCount / 2; ++k)
      allMatch = allMatch && reader.ReadU32(value) && value == k;
    EXPECT_TRUE(allMatch);
    ASSERT_TRUE(reader.Skip(4u * (kCount / 2 - 1)));
    ASSERT_TRUE(reader.ReadU32(value));
    EXPECT_EQ(value, kCount - 1);
    EXPECT_FALSE(reader.ReadU32(value));
  }
  std::fclose(file);
}

} // namespace
} // namespace lumora
