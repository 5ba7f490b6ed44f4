// The title list adapter over real LISTBOX controls (run under Wine here):
// lines, ticks, the sideways extent, the deferred fill, owner drawing and
// exact lines in a Unicode list.

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>

#include "base/app_error.h"
#include "core/clip_files.h"
#include "platform/components/clipboard_monitor.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_clipboard_chain.h"
#include "platform/components/global_hotkey.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_ini_files.h"
#include "platform/win32/win32_input.h"
#include "platform/win32/win32_search.h"
#include "platform/win32/win32_text_metrics.h"
#include "platform/win32/win32_title_list.h"
#include "pump.h"

namespace solvane::win32 {
namespace {

class ListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    list = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                           WS_POPUP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_HASSTRINGS, 0, 0, 233, 473, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(list, nullptr);
    SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(font.font()), FALSE);
  }
  void TearDown() override { DestroyWindow(list); }
  Win32TextMetrics font{kDesignDpi};
  HWND list = nullptr;
};

TEST_F(ListTest, LinesChecksAndIndexErrors) {
  Win32TitleList titles(list, font);
  titles.Add("b");
  titles.Insert(0, "a");
  titles.SetChecked(1, true);
  titles.Insert(0, "new top");
  ASSERT_EQ(titles.Count(), 3);
  EXPECT_EQ(titles.Get(0), "new top");
  EXPECT_TRUE(titles.Checked(2));  // the tick travelled with its line
  titles.Delete(0);
  EXPECT_EQ(titles.Get(0), "a");
  try {
    titles.Get(5);
    FAIL() << "expected an error";
  } catch (const AppError& error) {
    EXPECT_STREQ(error.what(), "List index out of bounds (5)");
  }
  EXPECT_THROW(titles.Delete(-1), AppError);
  titles.Add("b");
  titles.SetChecked(0, true);
  titles.SetChecked(1, true);
  titles.Assign({"x", "y"});
  EXPECT_EQ(titles.Count(), 2);
  EXPECT_FALSE(titles.Checked(0));  // a loaded line comes unchecked
  EXPECT_FALSE(titles.Checked(1));
}

TEST_F(ListTest, FileLinesAreTheLinesEachWithCrLf) {
  Win32TitleList titles(list, font);
  std::string out = "kept";
  titles.AppendFileLines(out);
  EXPECT_EQ(out, "kept");
  const std::string wide(300, 'w');
  titles.Assign({"caf\xe9", "", wide});
  titles.AppendFileLines(out);
  EXPECT_EQ(out,
            "kept"
            "caf\xe9\r\n"
            "\r\n" +
                wide + "\r\n");
}

// A long load puts its first page in at once and the rest as the loop
// idles; meanwhile the list presents every line in its place: a capture
// on top stays above the waiting lines, the file lines are exact before and
// after the fill, and reading a waiting line puts the rest in first.
TEST_F(ListTest, LongLoadFillsTheRestInOrder) {
  Win32TitleList titles(list, font);
  const int n = Win32TitleList::kFirstPage + Win32TitleList::kFillChunk + 7;
  std::vector<std::string> lines;
  for (int i = 0; i < n; ++i) lines.push_back("line " + std::to_string(i));
  const std::vector<std::string_view> views(lines.begin(), lines.end());
  const auto inControl = [&] { return static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0)); };
  titles.Assign(views);
  EXPECT_EQ(inControl(), Win32TitleList::kFirstPage);
  EXPECT_EQ(titles.Count(), n);
  titles.Insert(0, "captured");
  std::string expected = "captured\r\n";
  for (const std::string& line : lines) expected += line + "\r\n";
  std::string out;
  titles.AppendFileLines(out);
  EXPECT_EQ(out, expected);
  // A range across the last line in the control and into the waiting ones,
  // and one among the waiting ones alone (the title file is saved so).
  const int page = Win32TitleList::kFirstPage;
  out.clear();
  titles.AppendFileLines(out, page, 3);
  EXPECT_EQ(out, lines[page - 1] + "\r\n" + lines[page] + "\r\n" + lines[page + 1] + "\r\n");
  out.clear();
  titles.AppendFileLines(out, n - 1, 2);
  EXPECT_EQ(out, lines[n - 2] + "\r\n" + lines[n - 1] + "\r\n");
  out.clear();
  titles.AppendFileLines(out);
  titles.FillSome();
  EXPECT_TRUE(titles.HasWaitingLines());
  titles.FillSome();
  EXPECT_FALSE(titles.HasWaitingLines());
  EXPECT_EQ(inControl(), n + 1);
  out.clear();
  titles.AppendFileLines(out);
  EXPECT_EQ(out, expected);
  EXPECT_EQ(titles.Get(n), lines.back());

  titles.Assign(views);
  EXPECT_EQ(titles.Get(n - 1), lines.back());
  EXPECT_EQ(inControl(), n);
  EXPECT_FALSE(titles.HasWaitingLines());
  titles.Assign(views);
  titles.Delete(Win32TitleList::kFirstPage);  // the first waiting line
  EXPECT_EQ(titles.Count(), n - 1);
  EXPECT_EQ(titles.Get(Win32TitleList::kFirstPage), lines[Win32TitleList::kFirstPage + 1]);

  // A search's match among the waiting lines is drawn and read from the
  // control: showing it puts them in first.
  titles.Assign(views);
  HWND matches = CreateWindowExW(0, L"LISTBOX", L"", WS_POPUP | LBS_NODATA | LBS_OWNERDRAWFIXED, 0, 0, 233, 473,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(matches, nullptr);
  Win32MatchList matchList(matches, nullptr, titles);
  matchList.Show({n - 1}, 0);
  wchar_t row[32] = {};
  LRESULT length = 0;
  ASSERT_TRUE(matchList.AnswerTextMessage(LB_GETTEXT, 0, reinterpret_cast<LPARAM>(row), length));
  EXPECT_EQ(std::wstring(row), L"line " + std::to_wstring(n - 1));
  DestroyWindow(matches);
}

TEST_F(ListTest, ExtentFollowsTheWidestLine) {
  Win32TitleList titles(list, font);
  titles.Add("short");
  const int narrow = titles.HorizontalExtent();
  EXPECT_EQ(narrow, font.TextWidth("shortx") + 18);
  titles.Insert(0, std::string(80, 'W'));
  EXPECT_GT(titles.HorizontalExtent(), narrow);
  titles.Delete(0);
  EXPECT_EQ(titles.HorizontalExtent(), narrow);
  titles.SetHorizontalExtent(0);
  EXPECT_EQ(titles.HorizontalExtent(), 0);
  titles.Clear();
  EXPECT_EQ(titles.Count(), 0);
}

// After the program's reset to 0 every line counts as the widest, so each
// delete recounts from the lines left: the deleted line's own width must
// go, not a neighbour's, wherever it stood; lines added behind the list
// object's back count too.
TEST_F(ListTest, ExtentRecountedFromTheLinesLeft) {
  Win32TitleList titles(list, font);
  const auto width = [&](const std::string& text) { return font.TextWidth(text + "x") + 18; };
  const std::string wide(80, 'W'), middle(40, 'W');
  titles.Assign({"short", wide, middle});
  EXPECT_EQ(titles.HorizontalExtent(), width(wide));
  titles.SetHorizontalExtent(0);
  titles.Delete(0);  // wide, middle
  EXPECT_EQ(titles.HorizontalExtent(), width(wide));
  titles.Insert(1, "tiny");  // wide, tiny, middle
  titles.Delete(0);          // tiny, middle
  EXPECT_EQ(titles.HorizontalExtent(), width(middle));
  titles.SetHorizontalExtent(0);
  titles.Delete(1);  // tiny
  EXPECT_EQ(titles.HorizontalExtent(), width("tiny"));
  SendMessageA(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));  // wide, tiny
  titles.Insert(2, "short");                                                       // wide, tiny, short
  titles.SetHorizontalExtent(0);
  titles.Delete(1);  // wide, short
  EXPECT_EQ(titles.HorizontalExtent(), width(wide));
  titles.Delete(0);  // short
  EXPECT_EQ(titles.HorizontalExtent(), width("short"));
  titles.Delete(0);
  EXPECT_EQ(titles.HorizontalExtent(), 0);
}

// The owner-drawn list in a window of its own, drawn by the real control.
Win32TitleList* g_drawn = nullptr;
LRESULT CALLBACK DrawingParent(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MEASUREITEM) {
    reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = LayOutClipWindow(kDesignDpi).lineHeight;
    return TRUE;
  }
  if (message == WM_DRAWITEM && g_drawn != nullptr) {
    g_drawn->Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    return TRUE;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST(Win32OwnerDrawnList, LinesAreThirteenPixelsWithTheListColourAndAHighlight) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA parentClass{};
  parentClass.lpfnWndProc = &DrawingParent;
  parentClass.hInstance = instance;
  parentClass.lpszClassName = "SolvaneDrawTest";
  RegisterClassA(&parentClass);
  HWND parent = CreateWindowExA(0, "SolvaneDrawTest", "", WS_POPUP | WS_VISIBLE, 50, 50, 300, 300, nullptr, nullptr,
                                instance, nullptr);
  HWND list = CreateWindowExA(
      0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | LBS_NOTIFY | LBS_HASSTRINGS | LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT,
      0, 0, 233, 200, parent, reinterpret_cast<HMENU>(1001), instance, nullptr);
  Win32TextMetrics font{kDesignDpi};
  SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(font.font()), FALSE);
  Win32TitleList titles(list, font);
  g_drawn = &titles;
  titles.Assign({"first", "second", "third"});
  titles.SetItemIndex(1);
  titles.SetChecked(2, true);
  InvalidateRect(list, nullptr, TRUE);
  UpdateWindow(list);
  Pump(200);

  EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), 13);
  EXPECT_EQ(titles.LineAt(100, 15), 1);
  EXPECT_EQ(titles.LineAt(100, 150), -1);  // below the last line
  HDC dc = GetDC(list);
  EXPECT_EQ(GetPixel(dc, 200, 6), RGB(255, 255, 204));                 // line 0, text area
  EXPECT_EQ(GetPixel(dc, 200, 13 + 6), GetSysColor(COLOR_HIGHLIGHT));  // line 1, selected
  EXPECT_EQ(GetPixel(dc, 0, 13 + 6), RGB(255, 255, 204));              // its check column is not
  // The checked box on line 2 has a dark tick inside; line 0's box is empty.
  int darkChecked = 0, darkUnchecked = 0;
  for (int x = 2; x < 16; ++x) {
    for (int y = 1; y < 12; ++y) {
      if (GetPixel(dc, x, 26 + y) == RGB(0, 0, 0)) ++darkChecked;
      if (GetPixel(dc, x, y) == RGB(0, 0, 0)) ++darkUnchecked;
    }
  }
  EXPECT_GT(darkChecked, 5);
  EXPECT_EQ(darkUnchecked, 0);
  ReleaseDC(list, dc);
  g_drawn = nullptr;
  DestroyWindow(parent);
}

// A list box made as a Unicode window, as the clip window makes its own.
class UnicodeListTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(list, nullptr); }
  void TearDown() override { DestroyWindow(list); }
  Win32TextMetrics font{kDesignDpi};
  HWND list = CreateWindowExW(0, L"LISTBOX", L"", WS_POPUP | LBS_HASSTRINGS, 0, 0, 233, 473, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  Win32TitleList titles{list, font};
};

TEST_F(UnicodeListTest, ExactLineIsShownWhileTheFileKeepsTheAnsiLine) {
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
}

// A start with exact texts deep in a long history puts in only the first
// page: the exact line waits with its line and goes in in its place.
TEST_F(UnicodeListTest, ExactLineOfAWaitingLineWaitsWithIt) {
  const int page = Win32TitleList::kFirstPage;
  std::vector<std::string> lines;
  for (int i = 0; i < page + 10; ++i) lines.push_back("line " + std::to_string(i));
  titles.Assign(std::vector<std::string_view>(lines.begin(), lines.end()));
  const std::string lodz =
      "\xC5\x81\xC3\xB3"
      "d\xC5\xBA";  // Łódź
  titles.SetExactLine(page + 5, lodz);
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), page);
  titles.Insert(0, "newer");  // the waiting lines move down a line, the exact one with them
  std::string file;
  titles.AppendFileLines(file);
  EXPECT_NE(file.find("\r\n" + lines[page + 5] + "\r\n"), std::string::npos);
  titles.FillSome();
  ASSERT_FALSE(titles.HasWaitingLines());
  EXPECT_EQ(titles.ExactLine(page + 6), lodz);
  EXPECT_EQ(titles.Get(page + 6), lines[page + 5]);
  EXPECT_EQ(titles.ExactLine(page + 5), "");
  EXPECT_EQ(titles.ExactLine(page + 7), "");
}

}  // namespace
}  // namespace solvane::win32
