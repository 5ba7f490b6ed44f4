#include "core/key_index.h"

#include <gtest/gtest.h>

#include <string>

namespace solvane {
namespace {

TEST(KeyIndex, NumbersOfAKeyComeBackInOrderFromBothEnds) {
  KeyIndex index;
  index.AddLargest("0000000000001", 10);
  index.AddLargest("0000000000001", 20);
  index.AddSmallest("0000000000001", 5);
  index.AddSmallest("0000000000001", -3);
  EXPECT_EQ(index.FirstAbove("0000000000001", -100), -3);
  EXPECT_EQ(index.FirstAbove("0000000000001", -3), 5);
  EXPECT_EQ(index.FirstAbove("0000000000001", 5), 10);
  EXPECT_EQ(index.FirstAbove("0000000000001", 12), 20);
  EXPECT_EQ(index.FirstAbove("0000000000001", 20), std::nullopt);
  EXPECT_EQ(index.size(), 1u);
}

TEST(KeyIndex, KeysDifferByLetterCaseOnlyAreOneKeyButLengthsAndBytesMatter) {
  KeyIndex index;
  index.AddLargest("AbCdEfGhIjKlM", 1);
  EXPECT_TRUE(index.Contains("abcdefghijklm"));
  EXPECT_EQ(index.FirstAbove("ABCDEFGHIJKLM", 0), 1);
  EXPECT_FALSE(index.Contains("abcdefghijkl"));
  EXPECT_FALSE(index.Contains(std::string("abcdefghijklm\0", 14)));
  EXPECT_FALSE(index.Contains("abcdefghijkln"));
  EXPECT_FALSE(index.Contains(""));
  // Too long to be held: never added, never found.
  index.AddLargest("0123456789abcdef", 2);
  EXPECT_FALSE(index.Contains("0123456789abcdef"));
  EXPECT_EQ(index.size(), 1u);
}

TEST(KeyIndex, GrowsPastItsRoomAndKeepsEveryKey) {
  KeyIndex index;
  index.Reserve(4);
  std::vector<KeyIndex::Entry> batch;
  for (int i = 0; i < 3000; ++i) {
    const std::string key = std::to_string(1000000000000LL + i * 7919LL);
    if (i % 2 == 0) {
      index.AddLargest(key, i);
    } else {
      batch.push_back({KeyIndex::Pack(key), i});
    }
  }
  index.AddAllLargest(batch);
  ASSERT_EQ(index.size(), 3000u);
  for (int i = 0; i < 3000; ++i) {
    EXPECT_EQ(index.FirstAbove(std::to_string(1000000000000LL + i * 7919LL), -1), i) << i;
  }
  index.Clear();
  EXPECT_FALSE(index.Contains("1000000000000"));
  EXPECT_EQ(index.FirstAbove("1000000000000", -1), std::nullopt);
}

}  // namespace
}  // namespace solvane
