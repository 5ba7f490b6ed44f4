#include "base/text_buffer.h"

#include <gtest/gtest.h>

namespace solvane {
namespace {

using Lines = std::vector<std::string>;

TEST(TextBuffer, BufferLinesBreakAtCrLfLoneCrAndLoneLf) {
  EXPECT_EQ(SplitBufferLines(""), Lines{""});
  EXPECT_EQ(SplitBufferLines("abc"), Lines{"abc"});
  EXPECT_EQ(SplitBufferLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitBufferLines("abc\r\n"), (Lines{"abc", ""}));
  EXPECT_EQ(SplitBufferLines("\n\n"), (Lines{"", "", ""}));
  EXPECT_EQ(NormalizeLineBreaks("a\rb\nc\r\n"), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(JoinLines(SplitBufferLines("x\ny\r\n")), "x\r\ny\r\n");
}

// Sixteen bytes a step, then one at a time: a hit in either part, on
// either side of a step's edge, and bytes above 0x7F are all found first.
TEST(TextBuffer, FindByteFindsTheFirstHitAnywhere) {
  for (const std::size_t size : {0, 1, 15, 16, 17, 31, 32, 33, 100}) {
    for (std::size_t at = 0; at <= size; ++at) {
      std::string text(size, 'a');
      if (at < size) text[at] = '\xE9';
      if (at + 1 < size) text[at + 1] = '\xE9';  // a later hit must not win
      const char* found = FindByte(text.data(), text.data() + size, '\xE9');
      EXPECT_EQ(found - text.data(), static_cast<std::ptrdiff_t>(at)) << size << " " << at;
    }
  }
  const std::string text = "0123456789abcdef0123456789/";
  EXPECT_EQ(FindByte(text.data(), text.data() + 26, '/'), text.data() + 26);  // stops at the end given
}

TEST(TextBuffer, LineCountIgnoresAFinalBreak) {
  EXPECT_EQ(BufferLineCount(""), 0);
  EXPECT_EQ(BufferLineCount("abc"), 1);
  EXPECT_EQ(BufferLineCount("abc\r\n"), 1);
  EXPECT_EQ(BufferLineCount("abc\r\n\r\n"), 2);
  EXPECT_EQ(BufferLineCount("a\rb"), 2);
}

TEST(TextBuffer, StoreFileSplitsOnlyAtCrLf) {
  EXPECT_EQ(SplitStoreFile(""), Lines{});
  EXPECT_EQ(SplitStoreFile("a\r\nb"), (Lines{"a", "b"}));
  EXPECT_EQ(SplitStoreFile("a\r\n\r\n"), (Lines{"a", ""}));
  EXPECT_EQ(SplitStoreFile("a\nb\rc\r\n"), Lines{"a\nb\rc"});
  EXPECT_EQ(SplitStoreFile(std::string("a\0b\r\n", 5)), Lines{std::string("a\0b", 3)});
}

TEST(TextBuffer, TitleFileAlsoBreaksAtLoneCrOrLfAndStopsAtNul) {
  using Views = std::vector<std::string_view>;
  EXPECT_EQ(SplitTitleFile(""), Views{});
  EXPECT_EQ(SplitTitleFile("a\r\nb\nc\rd"), (Views{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitTitleFile("a\r\n"), Views{"a"});
  const std::string withNul("one\r\ntw\0o\r\nthree\r\n", 19);
  EXPECT_EQ(SplitTitleFile(withNul), (Views{"one", "tw"}));
  EXPECT_EQ(SplitTitleFile("\xe9t\xe9\r\n"), Views{"\xe9t\xe9"});
}

TEST(TextBuffer, FileLinesEachEndInCrLf) {
  EXPECT_EQ(JoinFileLines({}), "");
  EXPECT_EQ(JoinFileLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
  EXPECT_EQ(SplitStoreFile(JoinFileLines({"a", "", "b"})), (Lines{"a", "", "b"}));
}

}  // namespace
}  // namespace solvane
