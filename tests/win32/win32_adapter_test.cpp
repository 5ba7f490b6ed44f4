// The Win32 adapters against the real API (run under Wine here).

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>

#include "base/app_error.h"
#include "core/clip_files.h"
#include "platform/clipboard_monitor.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_clipboard_chain.h"
#include "platform/global_hotkey.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_ini_files.h"
#include "platform/win32/win32_input.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_title_list.h"

namespace solvane::win32 {
namespace {

// Handles whatever the system sent or posted to this thread for a while.
void Pump(DWORD milliseconds) {
  const DWORD until = GetTickCount() + milliseconds;
  while (static_cast<LONG>(until - GetTickCount()) > 0) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(5);
  }
}

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

class ChainTest : public ::testing::Test {
 protected:
  Win32ClipboardChain api{GetModuleHandleA(nullptr)};
  Win32Clipboard clipboard;
};

TEST_F(ChainTest, MonitorsInAChainEachSeeEveryChange) {
  int first = 0, second = 0;
  auto older = std::make_unique<ClipboardMonitor>(api, clipboard);
  older->OnChange = [&]() { ++first; };
  older->Loaded();
  EXPECT_EQ(first, 1);  // the notice at joining

  auto newer = std::make_unique<ClipboardMonitor>(api, clipboard);
  newer->OnChange = [&]() { ++second; };
  newer->Loaded();
  EXPECT_EQ(second, 1);
  EXPECT_EQ(newer->next_viewer(), older->window());

  ASSERT_TRUE(clipboard.WriteText("seen by both"));
  Pump(300);
  EXPECT_EQ(first, 2);
  EXPECT_EQ(second, 2);

  // The head leaves: the older monitor must still hear of changes.
  newer.reset();
  ASSERT_TRUE(clipboard.WriteText("after the head left"));
  Pump(300);
  EXPECT_EQ(first, 3);
  EXPECT_EQ(second, 2);
}

TEST_F(ChainTest, UtilWindowIsAHiddenToolWindowOfItsClass) {
  ClipboardMonitor monitor(api, clipboard);
  monitor.Loaded();
  HWND window = reinterpret_cast<HWND>(monitor.window());
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  EXPECT_STREQ(className, "TPUtilWindow");
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_TRUE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
}

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder = std::string(temp) + "solvane_adapter_" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
  }
  void TearDown() override {
    for (const char* name : {"a.qlx", "a.qlx.saving", "big.qlx"}) DeleteFileA((folder + name).c_str());
    RemoveDirectoryA(folder.c_str());
  }
  std::string folder;
  Win32FileSystem files;
};

TEST_F(FilesTest, SavesReplaceWholeFilesWithoutTranslatingBytes) {
  const std::string path = folder + "a.qlx";
  SaveReplacing(files, path, "first\r\nlone\nlf\r\n");
  EXPECT_EQ(files.ReadAll(path), "first\r\nlone\nlf\r\n");
  SaveReplacing(files, path, std::string("\xff\x00\r\n", 4));
  EXPECT_EQ(files.ReadAll(path), std::string("\xff\x00\r\n", 4));
  EXPECT_EQ(files.SizeOf(path), 4u);
  EXPECT_EQ(GetFileAttributesA((path + ".saving").c_str()), INVALID_FILE_ATTRIBUTES);
}

// A file read ahead is handed over once; a second read, and a missing file,
// read the disk as it is then.
TEST_F(FilesTest, ReadAheadHandsEachFileOverOnce) {
  const std::string path = folder + "a.qlx";
  SaveReplacing(files, path, "ahead");
  {
    FileReadAhead ahead({path, folder + "missing.qlx"});
    files.set_read_ahead(&ahead);
    EXPECT_EQ(files.ReadAll(path), "ahead");
    SaveReplacing(files, path, "later");
    EXPECT_EQ(files.ReadAll(path), "later");
    EXPECT_EQ(files.ReadAll(folder + "missing.qlx"), std::nullopt);
    files.set_read_ahead(nullptr);
  }
  EXPECT_EQ(files.ReadAll(path), "later");
}

TEST_F(FilesTest, SizeIsReadWhileAnotherHandleWritesTheFile) {
  const std::string path = folder + "a.qlx";
  SaveReplacing(files, path, "12345");
  HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_EQ(files.SizeOf(path), 5u);
  CloseHandle(writer);
  EXPECT_EQ(files.SizeOf(folder + "missing.qlx"), std::nullopt);
  EXPECT_EQ(files.ReadAll(folder + "missing.qlx"), std::nullopt);
}

TEST_F(FilesTest, ScrubLeavesAnEmptyFileAndLargeFilesReadWhole) {
  const std::string path = folder + "big.qlx";
  const std::string big(3 * 1024 * 1024 + 7, 'b');  // more than one write piece
  SaveReplacing(files, path, big);
  EXPECT_EQ(files.ReadAll(path), big);
  const std::string small = folder + "a.qlx";
  SaveReplacing(files, small, "secret");
  ScrubFile(files, small);
  EXPECT_EQ(files.SizeOf(small), 0u);
}

TEST_F(FilesTest, SettingsFileThroughTheProfileFunctions) {
  const std::string path = folder + "a.qlx";
  Win32IniFiles ini;
  EXPECT_EQ(ini.Read(path, "Form2", "Top", "0"), "0");  // no file yet
  ASSERT_TRUE(ini.Write(path, "Form2", "Top", "254"));
  ASSERT_TRUE(ini.Write(path, "Form2", "ComboBox1.Text", "Ctrl+Alt+Down"));
  ASSERT_TRUE(ini.Write(path, "Form2", "Top", "300"));
  EXPECT_EQ(ini.Read(path, "form2", "top", ""), "300");  // names ignore case
  EXPECT_EQ(ini.Read(path, "Form2", "ComboBox1.Text", ""), "Ctrl+Alt+Down");
  EXPECT_EQ(ini.Read(path, "Other", "Top", "none"), "none");
  const std::string text = *files.ReadAll(path);
  EXPECT_NE(text.find("[Form2]\r\n"), std::string::npos);
  EXPECT_LT(text.find("Top=300"), text.find("ComboBox1.Text="));
  ASSERT_TRUE(ini.Write(path, "Form2", "Long", std::string(3000, 'v')));
  EXPECT_EQ(ini.Read(path, "Form2", "Long", "").size(), 2047u);  // cut on reading
  EXPECT_FALSE(ini.Write(folder + "nofolder\\x.ini", "Form2", "Top", "1"));
}

TEST_F(FilesTest, UnwritableTargetGivesTheCreateError) {
  const std::string path = folder + "nofolder\\a.qlx";
  try {
    SaveReplacing(files, path, "x");
    FAIL() << "expected an error";
  } catch (const AppError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot create file " + path);
  }
}

class ListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    list = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                           WS_POPUP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_HASSTRINGS, 0, 0, 233, 473,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(list, nullptr);
    SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(font.font()), FALSE);
  }
  void TearDown() override { DestroyWindow(list); }
  Win32TextMetrics font;
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
  EXPECT_EQ(out, "kept" "caf\xe9\r\n" "\r\n" + wide + "\r\n");
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
  titles.Insert(2, "short");                                                        // wide, tiny, short
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
    reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = Win32TitleList::kLineHeight;
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
  HWND list = CreateWindowExA(0, "LISTBOX", "",
                              WS_CHILD | WS_VISIBLE | LBS_NOTIFY | LBS_HASSTRINGS | LBS_OWNERDRAWFIXED |
                                  LBS_NOINTEGRALHEIGHT,
                              0, 0, 233, 200, parent, reinterpret_cast<HMENU>(1001), instance, nullptr);
  Win32TextMetrics font;
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

TEST(Win32System, FontMeasuresAndProgramPaths) {
  Win32TextMetrics font;
  EXPECT_EQ(font.TextWidth(""), 0);
  EXPECT_GT(font.TextWidth("WWWW"), font.TextWidth("iiii"));
  EXPECT_EQ(font.TextWidth("ab") + font.TextWidth("cd"), font.TextWidth("abcd"));
  const std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '\\');
  EXPECT_EQ(ApplicationTitle(), "win32_adapter_tests");
}

TEST(Win32System, FontWidthsAreWhatTheSystemMeasures) {
  Win32TextMetrics font;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font.font());
  std::string every;
  for (int c = 1; c < 256; ++c) every += static_cast<char>(c);
  for (const std::string& text :
       {std::string("Meeting moved to Thursday, 10:30") + std::string(70, ' ') + "/:hdr:\\0603047123932",
        std::string("caf\xE9 \xFC ber \xA6 | WWiill,,") + "x", std::string("x"), every}) {
    SIZE size{};
    ASSERT_TRUE(GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size));
    EXPECT_EQ(font.TextWidth(text), size.cx) << text;
  }
  SelectObject(dc, old);
  DeleteDC(dc);
}

TEST(Win32Keys, ShortcutTextsConvertWithTheLayoutsKeyNames) {
  Win32KeyNames names;
  EXPECT_EQ(TextToShortCut("Ctrl+Alt+Down", names), 49192);
  EXPECT_EQ(TextToShortCut("f9", names), 0x78);
  EXPECT_EQ(ShortCutToText(0x6028, names), "Shift+Ctrl+Down");
  EXPECT_EQ(ShortCutToText(0x10, names), "");  // "Shift" is longer than one character
}

// A hotkey pressed while one of our visible windows is in the foreground
// reaches the component as OnHotKey.
TEST(Win32Keys, RegisteredHotkeyRaisesTheEvent) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HWND front = CreateWindowExA(0, "STATIC", "front", WS_POPUP | WS_VISIBLE, 10, 10, 100, 100, nullptr, nullptr,
                               instance, nullptr);
  SetForegroundWindow(front);
  Pump(100);
  Win32HotKeys api(instance);
  int presses = 0;
  {
    GlobalHotkey hotkey(api);
    hotkey.OnHotKey = [&]() { ++presses; };
    hotkey.SetKey(0x7A);  // F11
    ASSERT_TRUE(hotkey.registered());
    Win32Input input;
    input.KeyEvent(VK_F11, 0, 0);
    input.KeyEvent(VK_F11, 0, KeyboardInput::kKeyUp);
    for (int i = 0; i < 40 && presses == 0; ++i) Pump(50);
    EXPECT_EQ(presses, 1);
  }
  // Dropped with the component: another registration may take it now.
  HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  EXPECT_TRUE(RegisterHotKey(other, 1, 0, VK_F11));
  UnregisterHotKey(other, 1);
  DestroyWindow(other);
  DestroyWindow(front);
}

}  // namespace
}  // namespace solvane::win32
