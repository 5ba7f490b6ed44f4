// The clipboard adapter against the real API (run under Wine here): text in
// both formats, bad UTF-16 included, and another program holding it.

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_text.h"

namespace solvane::win32 {
namespace {

TEST(Win32Clipboard, TextRoundTripsAndEndsAtNul) {
  Win32Clipboard clipboard;
  ASSERT_TRUE(clipboard.WriteText("caf\xe9 \x80\xff\r\nline two"));
  EXPECT_TRUE(clipboard.HasText());
  EXPECT_EQ(clipboard.ReadText(), "caf\xe9 \x80\xff\r\nline two");
  ASSERT_TRUE(clipboard.WriteText(std::string("before\0after", 12)));
  EXPECT_EQ(clipboard.ReadText(), "before");
  ASSERT_TRUE(clipboard.Clear());
  EXPECT_FALSE(clipboard.HasText());
  EXPECT_EQ(clipboard.ReadText(), std::nullopt);
}

TEST(Win32Clipboard, ReadWaitsBrieflyForAnotherHolder) {
  Win32Clipboard clipboard;
  ASSERT_TRUE(clipboard.WriteText("held a moment"));
  std::atomic<bool> opened{false};
  std::thread holder([&] {
    if (OpenClipboard(nullptr)) {
      opened = true;
      Sleep(60);
      CloseClipboard();
    }
  });
  while (!opened) Sleep(1);
  EXPECT_EQ(clipboard.ReadText(), "held a moment");
  holder.join();
}

// Puts these UTF-16 units on the clipboard as they are: no NUL is added.
void PutUnits(const std::wstring& units) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, units.size() * sizeof(wchar_t));
  ASSERT_NE(block, nullptr);
  std::memcpy(GlobalLock(block), units.data(), units.size() * sizeof(wchar_t));
  GlobalUnlock(block);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  SetClipboardData(CF_UNICODETEXT, block);
  CloseClipboard();
}

TEST(Win32UnicodeClipboard, ExactTextRoundTripsAndBadUnitsAreSafe) {
  Win32Clipboard clipboard;
  const std::string text =
      "\xC5\x81\xC3\xB3"
      "d\xC5\xBA \xE6\x9D\xB1 \xF0\x9F\x98\x80 \xD7\xA9\r\nx";
  ASSERT_TRUE(clipboard.WriteUnicodeText(text));
  EXPECT_TRUE(clipboard.HasText());  // the system offers CF_TEXT from it
  EXPECT_EQ(clipboard.ReadUnicodeText(), text);
  PutUnits(std::wstring(L"a\xD800"
                        L"b") +
           L'\0' + L"after");  // a lone surrogate, then a NUL
  EXPECT_EQ(clipboard.ReadUnicodeText(),
            "a\xEF\xBF\xBD"
            "b");
  // No NUL at all: read up to the block's end at most, never past it. (Wine
  // gives the block a NUL of its own in place of the last unit.)
  PutUnits(L"no end");
  const std::string unterminated = clipboard.ReadUnicodeText().value_or("none");
  EXPECT_TRUE(unterminated == "no end" || unterminated == "no en") << unterminated;
  EXPECT_EQ(clipboard.AnsiToUtf8("caf\xE9"), Utf8Of(Widen("caf\xE9", CP_ACP)));
}

}  // namespace
}  // namespace solvane::win32
