#include "core/key_generator.h"

#include <gtest/gtest.h>

namespace solvane {
namespace {

// Expected values worked out by hand from seed := seed * 134775813 + 1 and
// the upper half of seed * range.
TEST(KeyGenerator, DrawsFollowTheGeneratorFromSeedZero) {
  KeyGenerator keys;
  EXPECT_EQ(keys.Draw(1000), 0);
  EXPECT_EQ(keys.Draw(1000), 31);
  EXPECT_EQ(keys.Draw(1000), 861);
  EXPECT_EQ(KeyGenerator().Draw(0), 0);
}

TEST(KeyGenerator, KeyIsSevenThenSixCharactersOfTwoDraws) {
  KeyGenerator keys;
  EXPECT_EQ(keys.MakeKey([] { return 123456u; }), "0003874106301");
  // A tick count past 2^31 gives draws that read as negative numbers.
  KeyGenerator late;
  EXPECT_EQ(late.MakeKey([] { return 4000000000u; }), "1255197-85077");
  EXPECT_EQ(late.seed(), 3698175007u);
}

TEST(KeyGenerator, FormattingPadsShortAndCutsLongValues) {
  EXPECT_EQ(KeyGenerator::FormatKey(5, 7), "0000005000007");
  EXPECT_EQ(KeyGenerator::FormatKey(123456789, 1234567), "1234567123456");
  EXPECT_EQ(KeyGenerator::FormatKey(-5, -42), "-000000-00004");
  EXPECT_EQ(KeyGenerator::FormatKey(INT32_MIN, INT32_MAX), "-214748214748");
  EXPECT_EQ(KeyGenerator::FormatKey(0, 0).size(), 13u);
}

}  // namespace
}  // namespace solvane
