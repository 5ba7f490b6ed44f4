// The Win32 adapters against the real API (run under Wine here).

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
#include "platform/win32/win32_hotkey_api.h"
#include "platform/win32/win32_ini_files.h"
#include "platform/win32/win32_input.h"
#include "platform/win32/win32_key_names.h"
#include "platform/win32/win32_program_file.h"
#include "platform/win32/win32_text_metrics.h"
#include "platform/win32/win32_title_list.h"
#include "platform/win32/win32_tray_api.h"
#include "pump.h"

namespace solvane::win32 {
namespace {

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
  DWORD thenRanOn = 0;  // the job after the reads (the program loads the store there)
  {
    FileReadAhead ahead({path, folder + "missing.qlx"}, [&thenRanOn] { thenRanOn = GetCurrentThreadId(); });
    files.set_read_ahead(&ahead);
    EXPECT_EQ(files.ReadAll(path), "ahead");
    ahead.Wait();
    EXPECT_NE(thenRanOn, 0u);
    EXPECT_NE(thenRanOn, GetCurrentThreadId());
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
  HANDLE writer =
      CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
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

TEST(Win32System, FontMeasuresAndProgramPaths) {
  Win32TextMetrics font{kDesignDpi};
  EXPECT_EQ(font.TextWidth(""), 0);
  EXPECT_GT(font.TextWidth("WWWW"), font.TextWidth("iiii"));
  EXPECT_EQ(font.TextWidth("ab") + font.TextWidth("cd"), font.TextWidth("abcd"));
  const std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '\\');
  EXPECT_EQ(ApplicationTitle(), "win32_adapter_tests");
}

TEST(Win32System, FontWidthsAreWhatTheSystemMeasures) {
  Win32TextMetrics font{kDesignDpi};
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
    input.KeyEvent(VK_F11, 0, KeyboardInput::Stroke::kDown);
    input.KeyEvent(VK_F11, 0, KeyboardInput::Stroke::kUp);
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

// What the shell is given for the program's icon: the record's first form,
// whose callback message the icon's window answers.
TEST(Win32Tray, IconRecordIsTheFirstFormWithCallbackIconAndTip) {
  const NOTIFYICONDATAA data = NotifyIconData(TrayIconRecord{.window = 0x1234, .id = 0, .icon = 0x31, .tip = "Clips"});
  EXPECT_EQ(data.cbSize, NOTIFYICONDATAA_V1_SIZE);
  EXPECT_EQ(data.hWnd, reinterpret_cast<HWND>(0x1234));
  EXPECT_EQ(data.uID, 0u);
  EXPECT_EQ(data.uFlags, 7u);  // message, icon, tip
  EXPECT_EQ(data.uCallbackMessage, 0xB054u);
  EXPECT_EQ(data.hIcon, reinterpret_cast<HICON>(0x31));
  EXPECT_STREQ(data.szTip, "Clips");
}

}  // namespace
}  // namespace solvane::win32
