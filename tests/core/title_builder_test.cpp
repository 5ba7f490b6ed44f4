#include "core/title_builder.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_text_metrics.h"

namespace solvane {
namespace {

class TitleBuilderTest : public ::testing::Test {
 protected:
  std::string Title(std::string_view text) { return BuildTitle(text, font); }
  fake::FakeTextMetrics font;
};

TEST_F(TitleBuilderTest, ShortSingleLineIsKeptAsItIs) {
  EXPECT_EQ(Title("hello"), "hello");
  EXPECT_EQ(Title("hello\r\n"), "hello");  // a final break starts no line
  EXPECT_EQ(Title(""), "");
}

TEST_F(TitleBuilderTest, FirstLineWithAVisibleCharacterKeepsItsLeadingBlanks) {
  EXPECT_EQ(Title("\r\n   \r\n\t\r\n  indented\r\nmore"), "  indented...");
  EXPECT_EQ(Title("   \r\n\t"), "   ...");  // none visible: line 0
  EXPECT_EQ(Title(std::string("\x01\x1f\r\n\x7f", 5)), "\x7f...");
  EXPECT_EQ(Title("\xa0x"), "\xa0x");  // bytes above 127 are visible
}

TEST_F(TitleBuilderTest, TwoOrMoreLinesGetAnEllipsis) {
  EXPECT_EQ(Title("line one\r\nline two"), "line one...");
  EXPECT_EQ(Title("a\nb"), "a...");
  EXPECT_EQ(Title("a\r\n\r\n"), "a...");
}

TEST_F(TitleBuilderTest, WideLineIsCutToTheLongestPrefixThatFits) {
  // 'a' is 6 px: 30 of them make 180 px exactly and fit.
  EXPECT_EQ(Title(std::string(30, 'a')), std::string(30, 'a'));
  EXPECT_EQ(Title(std::string(31, 'a')), std::string(30, 'a') + "...");
  // 20 'W' of 9 px fit; narrow letters after them fit too until 180.
  EXPECT_EQ(Title(std::string(20, 'W') + "iii"), std::string(20, 'W') + "...");
  const std::string mixed = std::string(19, 'W') + "iiiiiiii";  // 171 + 16
  EXPECT_EQ(Title(mixed), std::string(19, 'W') + "iiii...");
  // 'i' is 2 px: 90 fit, more than the shorter prefixes measured first.
  EXPECT_EQ(Title(std::string(90, 'i')), std::string(90, 'i'));
  EXPECT_EQ(Title(std::string(200, 'i')), std::string(90, 'i') + "...");
}

TEST_F(TitleBuilderTest, VeryLongLineIsMeasuredOnlyAFewTimes) {
  const std::string huge(100000, 'a');
  font.calls = 0;
  EXPECT_EQ(Title(huge), std::string(30, 'a') + "...");
  EXPECT_LT(font.calls, 20);  // halving, not one measurement per character
}

}  // namespace
}  // namespace solvane
