// The arena the store's records live in: blocks never overlap, keep the alignment a record
// needs, are handed out again after a free, and slabs left empty are given back.
#include "model/store_allocator.h"

#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace lumora {
namespace {

struct Block {
  unsigned char* at;
  std::size_t bytes;
  unsigned char fill;
};

bool Intact(const Block& block) {
  for (std::size_t i = 0; i < block.bytes; ++i)
    if (block.at[i] != block.fill) return false;
  return true;
}

TEST(ArenaAllocator, MixedBlocksStayApartAlignedAndIntactThroughFreesAndReuse) {
  ArenaAllocator arena;
  std::mt19937 random(5);
  std::uniform_int_distribution<std::size_t> size(0, 2 * ArenaAllocator::kLargest);
  std::vector<Block> live;
  for (int round = 0; round < 20000; ++round) {
    if (!live.empty() && random() % 3 == 0) {
      const std::size_t k = random() % live.size();
      ASSERT_TRUE(Intact(live[k])) << "round " << round;
      arena.Free(live[k].at);
      live[k] = live.back();
      live.pop_back();
      continue;
    }
    const std::size_t bytes = size(random);
    auto* at = static_cast<unsigned char*>(arena.Allocate(bytes));
    ASSERT_NE(at, nullptr);
    ASSERT_EQ(reinterpret_cast<std::uintptr_t>(at) % ArenaAllocator::kStep, 0u);
    const auto fill = static_cast<unsigned char>(round);
    std::memset(at, fill, bytes);
    live.push_back({at, bytes, fill});
  }
  EXPECT_EQ(arena.LiveBlocks(), live.size());
  for (const Block& block : live) {
    ASSERT_TRUE(Intact(block));
    arena.Free(block.at);
  }
  EXPECT_EQ(arena.LiveBlocks(), 0u);
  // Emptied slabs go back but one of each size.
  EXPECT_LE(arena.SlabBytes(),
            ArenaAllocator::kLargest / ArenaAllocator::kStep * ArenaAllocator::kSlabBytes);
}

TEST(ArenaAllocator, AFreedRecordsPlaceGoesToTheNextRecordOfItsSize) {
  ArenaAllocator arena;
  std::vector<void*> records;
  for (int k = 0; k < 5000; ++k) records.push_back(arena.Allocate(64)); // several slabs
  void* middle = records[2500];
  arena.Free(middle);
  EXPECT_EQ(arena.Allocate(60), middle);
  void* other = arena.Allocate(200); // another size takes its own slab
  EXPECT_NE(other, middle);
  arena.Free(other);
  arena.Free(nullptr);
  for (void* record : records) arena.Free(record);
  EXPECT_EQ(arena.LiveBlocks(), 0u);
  EXPECT_LE(arena.SlabBytes(), 2 * ArenaAllocator::kSlabBytes);
}

} // namespace
} // namespace lumora
