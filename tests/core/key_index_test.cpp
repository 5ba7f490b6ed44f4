#include "core/key_index.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace solvane {
namespace {

// The lines the table indexes: each number's key, as a store would give it.
class Lines : public KeyIndex::KeySource {
 public:
  std::string_view KeyOfLine(KeyIndex::LineId id) const override { return keys_.at(id); }
  KeyIndex::LineId Put(KeyIndex::LineId id, std::string key) {
    keys_[id] = std::move(key);
    return id;
  }

 private:
  std::map<KeyIndex::LineId, std::string> keys_;
};

struct KeyIndexTest : ::testing::Test {
  void AddLargest(const std::string& key, KeyIndex::LineId id) { index.AddLargest(key, lines.Put(id, key)); }
  void AddSmallest(const std::string& key, KeyIndex::LineId id) { index.AddSmallest(key, lines.Put(id, key)); }
  Lines lines;
  KeyIndex index{lines};
};

TEST_F(KeyIndexTest, NumbersOfAKeyComeBackInOrderFromBothEnds) {
  AddLargest("0000000000001", 10);
  AddLargest("0000000000001", 20);
  AddSmallest("0000000000001", 5);
  AddSmallest("0000000000001", -3);
  EXPECT_EQ(index.FirstAbove("0000000000001", -100), -3);
  EXPECT_EQ(index.FirstAbove("0000000000001", -3), 5);
  EXPECT_EQ(index.FirstAbove("0000000000001", 5), 10);
  EXPECT_EQ(index.FirstAbove("0000000000001", 12), 20);
  EXPECT_EQ(index.FirstAbove("0000000000001", 20), std::nullopt);
  EXPECT_EQ(index.size(), 1u);
}

TEST_F(KeyIndexTest, KeysDifferByLetterCaseOnlyAreOneKeyButLengthsAndBytesMatter) {
  AddLargest("AbCdEfGhIjKlM", 1);
  EXPECT_TRUE(index.Contains("abcdefghijklm"));
  EXPECT_EQ(index.FirstAbove("ABCDEFGHIJKLM", 0), 1);
  EXPECT_FALSE(index.Contains("abcdefghijkl"));
  EXPECT_FALSE(index.Contains(std::string("abcdefghijklm\0", 14)));
  EXPECT_FALSE(index.Contains("abcdefghijkln"));
  EXPECT_FALSE(index.Contains(""));
  // Too long to be held: never added, never found.
  AddLargest("0123456789abcdef", 2);
  EXPECT_FALSE(index.Contains("0123456789abcdef"));
  EXPECT_EQ(index.size(), 1u);
}

// Enough keys that some share a slot's hash bits with another key, present
// or asked for, so that only the key read back from its line tells them apart.
TEST_F(KeyIndexTest, GrowsPastItsRoomAndKeepsEveryKey) {
  constexpr int kKeys = 60000;
  index.Reserve(4);
  std::vector<KeyIndex::LineId> batch;
  const auto keyOf = [](int i) { return std::to_string(1000000000000LL + i * 7919LL); };
  for (int i = 0; i < kKeys; ++i) {
    if (i % 2 == 0) {
      AddLargest(keyOf(i), i);
    } else {
      batch.push_back(lines.Put(i, keyOf(i)));
    }
  }
  index.AddAllLargest(batch);
  // Line numbers at both ends of what the table holds.
  AddSmallest("9999999999999", -KeyIndex::kIdBias);
  AddLargest("8888888888888", KeyIndex::kIdBias - 1);
  ASSERT_EQ(index.size(), kKeys + 2u);
  int wrong = 0;
  for (int i = 0; i < kKeys; ++i) wrong += index.FirstAbove(keyOf(i), -1) != i;
  for (int i = kKeys; i < 2 * kKeys; ++i) wrong += index.Contains(keyOf(i));
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(index.FirstAbove("9999999999999", -KeyIndex::kIdBias - 1), -KeyIndex::kIdBias);
  EXPECT_EQ(index.FirstAbove("8888888888888", 0), KeyIndex::kIdBias - 1);
  index.Clear();
  EXPECT_FALSE(index.Contains("1000000000000"));
  EXPECT_EQ(index.FirstAbove("1000000000000", -1), std::nullopt);
}

}  // namespace
}  // namespace solvane
