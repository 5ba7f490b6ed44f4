// Unicode through the Win32 adapters (run under Wine here): the clipboard's
// CF_UNICODETEXT, bad UTF-16 included, and exact lines in a Unicode list.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_title_list.h"

namespace solvane::win32 {
namespace {

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
  const std::string text = "\xC5\x81\xC3\xB3" "d\xC5\xBA \xE6\x9D\xB1 \xF0\x9F\x98\x80 \xD7\xA9\r\nx";
  ASSERT_TRUE(clipboard.WriteUnicodeText(text));
  EXPECT_TRUE(clipboard.HasText());  // the system offers CF_TEXT from it
  EXPECT_EQ(clipboard.ReadUnicodeText(), text);
  PutUnits(std::wstring(L"a\xD800" L"b") + L'\0' + L"after");  // a lone surrogate, then a NUL
  EXPECT_EQ(clipboard.ReadUnicodeText(), "a\xEF\xBF\xBD" "b");
  // No NUL at all: read up to the block's end at most, never past it. (Wine
  // gives the block a NUL of its own in place of the last unit.)
  PutUnits(L"no end");
  const std::string unterminated = clipboard.ReadUnicodeText().value_or("none");
  EXPECT_TRUE(unterminated == "no end" || unterminated == "no en") << unterminated;
  EXPECT_EQ(clipboard.AnsiToUtf8("caf\xE9"), Utf8Of(Widen("caf\xE9", CP_ACP)));
}

TEST(Win32UnicodeList, ExactLineIsShownWhileTheFileKeepsTheAnsiLine) {
  Win32TextMetrics font;
  HWND list = CreateWindowExW(0, L"LISTBOX", L"", WS_POPUP | LBS_HASSTRINGS, 0, 0, 233, 473, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(list, nullptr);
  Win32TitleList titles(list, font);
  titles.Assign({"plain", "??? key"});
  titles.SetChecked(1, true);
  titles.SetExactLine(1, "\xE6\x9D\xB1\xE4\xBA\xAC\xE5\xA4\xA7 key");  // 東京大
  titles.Insert(0, "newer");
  EXPECT_EQ(titles.Get(2), "??? key");
  EXPECT_EQ(titles.ExactLine(2), "\xE6\x9D\xB1\xE4\xBA\xAC\xE5\xA4\xA7 key");
  EXPECT_EQ(titles.ExactLine(1), "");
  EXPECT_TRUE(titles.Checked(2));  // the tick stayed with the line
  wchar_t shown[16] = {};
  SendMessageW(list, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(shown));
  EXPECT_EQ(std::wstring(shown), L"\x6771\x4EAC\x5927 key");  // what screen readers get
  std::string file;
  titles.AppendFileLines(file);
  EXPECT_EQ(file, "newer\r\nplain\r\n??? key\r\n");
  titles.Delete(2);
  titles.Add("last");
  EXPECT_EQ(titles.ExactLine(2), "");
  EXPECT_EQ(titles.Get(2), "last");
  DestroyWindow(list);
}

}  // namespace
}  // namespace solvane::win32
