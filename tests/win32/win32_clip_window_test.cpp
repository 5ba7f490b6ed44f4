// The clip window's own Win32 side (run under Wine here): the label
// column's line height, the key path in every message loop, and the owner
// of a box while the window is hidden.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/win32/win32_clip_window.h"
#include "platform/win32/win32_input.h"
#include "platform/win32/win32_dialogs.h"
#include "pump.h"

namespace solvane::win32 {
namespace {

// Records the keys and search texts the window reports; every other event
// does nothing.
class KeyRecorder : public ClipWindowEvents {
 public:
  void OnKeyDown(unsigned key, unsigned /*shift*/) override { keys.push_back(key); }
  void OnSearchTextChange(const std::string& text) override { searchTexts.push_back(text); }
  std::vector<unsigned> keys;
  std::vector<std::string> searchTexts;

  void ShowException(const std::exception&) override {}
  void OnActivate() override {}
  void OnDeactivate() override {}
  bool OnClose() override { return true; }
  int OnQueryEndSession() override { return 1; }
  void OnEndSession(bool) override {}
  void OnListClick() override {}
  void OnListMouseUp(MouseButton, unsigned, int, int) override {}
  void OnLabelClick() override {}
  void OnDragStart(MouseButton, unsigned, int, int) override {}
  void OnDragMove(unsigned, int, int) override {}
  void OnTitlePictureDragStart(MouseButton, unsigned, int, int) override {}
  void OnTitlePictureDragMove(unsigned, int, int) override {}
  void OnTitlePictureClick() override {}
  void OnMatchClick(int) override {}
  void OnNoticeClick() override {}
  void OnHintWatchdogTimer() override {}
  void OnAutosaveTimer() override {}
  void OnShareCheck() override {}
  void OnLabelFollowTimer() override {}
  void OpenSettings() override {}
  void OnCachingCommand() override {}
  void OnSaveClipsCommand() override {}
  void ClearClips() override {}
  void Quit() override {}
  void ClearClipboard() override {}
  void UpperCaseClipboard() override {}
  void LowerCaseClipboard() override {}
  void ToggleRunToTop() override {}
  void ToggleAppendCrLf() override {}
  void ToggleAppendCrLfLf() override {}
  void OnHideButton() override {}
  bool runToTop() const override { return false; }
  bool appendCrLf() const override { return false; }
  bool appendCrLfLf() const override { return false; }
  bool cachingOn() const override { return true; }
};

// Runs `action` on the box of this thread once it is up (from a timer that
// the box's own loop dispatches), then closes the box.
void WithBoxUp(const std::function<void(HWND box)>& action, const std::function<void()>& showBox) {
  static const std::function<void(HWND)>* pending = nullptr;
  pending = &action;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) {
          char cls[16] = {};
          GetClassNameA(window, cls, sizeof cls);
          if (std::string(cls) == "#32770" && IsWindowVisible(window)) *reinterpret_cast<HWND*>(found) = window;
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&box));
    if (box == nullptr || pending == nullptr) return;
    KillTimer(nullptr, id);
    (*pending)(box);
    pending = nullptr;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  showBox();
  KillTimer(nullptr, timer);
  pending = nullptr;
}

// One clip window for the whole suite, as in the program: its classes are
// registered once per process.
class ClipWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    listFont = new Win32TextMetrics(kDesignDpi);
    window = new Win32ClipWindow(GetModuleHandleA(nullptr));
    created = window->Create(*listFont);
  }
  static void TearDownTestSuite() {
    delete window;
    delete listFont;
  }
  void SetUp() override {
    ASSERT_TRUE(created);
    window->Attach(&events);
  }
  void TearDown() override { window->Attach(nullptr); }

  static inline Win32TextMetrics* listFont = nullptr;
  static inline Win32ClipWindow* window = nullptr;
  static inline bool created = false;
  KeyRecorder events;
};

TEST_F(ClipWindowTest, LabelsAreAsHighAsTheLinesWhateverTheirFont) {
  EXPECT_EQ(SendMessageA(window->labels(), LB_GETITEMHEIGHT, 0, 0), 13);
  EXPECT_EQ(SendMessageA(window->list(), LB_GETITEMHEIGHT, 0, 0), 13);
  EXPECT_EQ(SendMessageA(window->labels(), LB_GETCOUNT, 0, 0), 72);
}

TEST_F(ClipWindowTest, KeysReachTheHandlerFromAMessageBoxLoopButNotTheProgramsOwn) {
  // A key taken off the queue by the box's loop, not the program's.
  WithBoxUp([&](HWND) { PostMessageA(window->handle(), WM_KEYDOWN, '4', 0); },
            [] { MessageBoxA(nullptr, "waiting", "test", MB_OK); });
  Pump(100);
  EXPECT_EQ(events.keys, std::vector<unsigned>{'4'});

  // Real input: the user's key arrives, the program's stamped one does not.
  events.keys.clear();
  ShowWindow(window->handle(), SW_SHOW);
  SetForegroundWindow(window->handle());
  SetFocus(window->handle());
  Pump(100);
  keybd_event('5', 0, 0, 0);
  keybd_event('5', 0, KEYEVENTF_KEYUP, 0);
  Win32Input own;
  own.KeyEvent('V', 0, KeyboardInput::Stroke::kDown);
  own.KeyEvent('V', 0, KeyboardInput::Stroke::kUp);
  Pump(300);
  EXPECT_EQ(events.keys, std::vector<unsigned>{'5'});
  ShowWindow(window->handle(), SW_HIDE);
}

TEST_F(ClipWindowTest, ABoxHasNoOwnerWhileTheWindowIsHidden) {
  Win32Dialogs dialogs("test");
  dialogs.set_owner(window->handle());
  HWND owner = reinterpret_cast<HWND>(1);
  WithBoxUp([&](HWND box) { owner = GetWindow(box, GW_OWNER); }, [&] { dialogs.ShowError("hidden"); });
  EXPECT_EQ(owner, nullptr);

  ShowWindow(window->handle(), SW_SHOWNA);
  WithBoxUp([&](HWND box) { owner = GetWindow(box, GW_OWNER); }, [&] { dialogs.ShowError("shown"); });
  EXPECT_EQ(owner, window->handle());
  ShowWindow(window->handle(), SW_HIDE);
}

// An input method's composition changes the line's text as it goes; only
// what it leaves when it ends is searched.
TEST_F(ClipWindowTest, TheSearchLineIsSearchedOnlyOnceACompositionEnds) {
  HWND line = window->searchLine();
  ShowWindow(window->handle(), SW_SHOWNOACTIVATE);
  ShowWindow(line, SW_SHOW);
  SendMessageW(line, WM_IME_STARTCOMPOSITION, 0, 0);
  SetWindowTextW(line, L"\u6771");
  SetWindowTextW(line, L"\u6771\u4eac");
  EXPECT_TRUE(events.searchTexts.empty());
  SendMessageW(line, WM_IME_ENDCOMPOSITION, 0, 0);
  SetWindowTextW(line, L"\u6771\u4eac ");
  ShowWindow(line, SW_HIDE);
  SetWindowTextW(line, L"");
  ShowWindow(window->handle(), SW_HIDE);
  EXPECT_EQ(events.searchTexts, (std::vector<std::string>{"\xE6\x9D\xB1\xE4\xBA\xAC", "\xE6\x9D\xB1\xE4\xBA\xAC "}));
}

// A control's place in the clip window's client area.
Rect PlaceIn(HWND window, HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
  return Rect{r.left, r.top, r.right, r.bottom};
}

// The window moved to a 144-DPI screen and back: laid out anew each time,
// at the place the system suggests, the list's lines and scroll kept.
TEST_F(ClipWindowTest, MovingToAScreenOfAnotherDpiLaysTheWindowOutAgain) {
  HintWindow hint(GetModuleHandleA(nullptr), listFont->font(), kDesignDpi);
  window->AttachHint(&hint);
  HWND list = window->list();
  for (int i = 0; i < 60; ++i) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("line"));
  SendMessageA(list, LB_SETTOPINDEX, 20, 0);
  ShowWindow(window->handle(), SW_SHOWNOACTIVATE);
  hint.Show("a preview");
  ASSERT_TRUE(hint.visible());

  const auto moveTo = [&](int dpi, RECT suggested) {
    SendMessageW(window->handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  };
  moveTo(144, RECT{300, 40, 300 + 375, 40 + 744});
  RECT outer{};
  GetWindowRect(window->handle(), &outer);
  EXPECT_EQ((Rect{outer.left, outer.top, outer.right, outer.bottom}), (Rect{300, 40, 675, 784}));
  const ClipWindowLayout at144 = LayOutClipWindow(144);
  EXPECT_EQ(PlaceIn(window->handle(), list), at144.titles);
  EXPECT_EQ(PlaceIn(window->handle(), GetDlgItem(window->handle(), 1018)), at144.buttons[3]);
  for (HWND lines : {list, window->labels(), window->matchList()}) {
    EXPECT_EQ(SendMessageA(lines, LB_GETITEMHEIGHT, 0, 0), 20);
  }
  // The labels start on the list's first line, inside its border.
  RECT inside{};
  GetClientRect(list, &inside);
  MapWindowPoints(list, window->handle(), reinterpret_cast<POINT*>(&inside), 2);
  EXPECT_EQ(PlaceIn(window->handle(), window->labels()).top, inside.top);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 60);
  EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 20);
  // The face asked for at its new size, the same font the list measures in.
  const auto font = reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0));
  EXPECT_EQ(font, listFont->font());
  LOGFONTA face{};
  GetObjectA(font, sizeof face, &face);
  EXPECT_EQ(face.lfHeight, -17);
  EXPECT_FALSE(hint.visible());

  moveTo(96, RECT{300, 40, 300 + 250, 40 + 496});
  EXPECT_EQ(PlaceIn(window->handle(), list), (Rect{8, 18, 241, 491}));
  EXPECT_EQ(PlaceIn(window->handle(), window->labels()), (Rect{10, 20, 25, 490}));
  EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), 13);
  EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 20);
  ShowWindow(window->handle(), SW_HIDE);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  window->AttachHint(nullptr);
}

}  // namespace
}  // namespace solvane::win32
