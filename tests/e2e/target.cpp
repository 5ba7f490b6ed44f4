// The paste target: a window of another program in front, as the user's
// application is when the hotkey is pressed, and the commands that open,
// read, empty and close it.

#include <cstdio>

#include "driver.h"

namespace driver {
namespace {

HWND g_target_edit = nullptr;
// Ctrl+V presses the paste target has received; asked for with kTargetCtrlVCount.
LRESULT g_target_ctrl_v = 0;

LRESULT CALLBACK target_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      if (g_target_edit) MoveWindow(g_target_edit, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
      return 0;
    case WM_SETFOCUS:
      if (g_target_edit) SetFocus(g_target_edit);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case kTargetCtrlVCount:
      return g_target_ctrl_v;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// A plain window with a multi-line EDIT, where a paste lands as in any
// application. Runs until closed (target-close or WM_CLOSE).
int run_target() {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  WNDCLASSW wc{};
  wc.lpfnWndProc = target_proc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kTargetClass;
  if (!RegisterClassW(&wc)) throw Failure("RegisterClass for the paste target failed");
  HWND frame = CreateWindowExW(0, kTargetClass, kTargetCaption, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 480, 320,
                               nullptr, nullptr, inst, nullptr);
  if (!frame) throw Failure("CreateWindowEx for the paste target failed");
  g_target_edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                  WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 0,
                                  0, 0, 0, frame, reinterpret_cast<HMENU>(kTargetEditId), inst, nullptr);
  if (!g_target_edit) throw Failure("CreateWindowEx for the target's EDIT failed");
  // The default limit (30000 characters) would cut a long clip's paste short.
  SendMessageW(g_target_edit, EM_SETLIMITTEXT, 0, 0);
  RECT rc;
  GetClientRect(frame, &rc);
  MoveWindow(g_target_edit, 0, 0, rc.right, rc.bottom, TRUE);
  SetForegroundWindow(frame);
  SetFocus(g_target_edit);
  std::printf("%s\n", hwnd_text(frame).c_str());
  std::fflush(stdout);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_KEYDOWN && msg.wParam == 'V' && GetKeyState(VK_CONTROL) < 0) ++g_target_ctrl_v;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

}  // namespace

HWND require_target() {
  HWND frame = FindWindowW(kTargetClass, kTargetCaption);
  if (!frame) throw Failure("no paste target window (start one with: target)");
  return frame;
}

HWND require_target_edit(HWND frame) {
  HWND edit = GetDlgItem(frame, kTargetEditId);
  if (!edit) throw Failure("the paste target has no EDIT child");
  return edit;
}

std::string target_text(HWND frame) { return window_text(require_target_edit(frame)); }

// ---- commands ----

int cmd_target(const Args&) { return run_target(); }

int cmd_wait_target(const Args& args) {
  wait_or_fail(
      parse_number(args[1], "timeout"), [] { return FindWindowW(kTargetClass, kTargetCaption) != nullptr; },
      [&] { return "no paste target window after " + args[1] + " ms"; });
  return 0;
}

int cmd_target_text(const Args&) {
  print_line(encode_escapes(target_text(require_target())));
  return 0;
}

int cmd_target_close(const Args&) {
  HWND frame = require_target();
  PostMessageW(frame, WM_CLOSE, 0, 0);
  if (!wait_for(5000, [&] { return !IsWindow(frame); })) throw Failure("the paste target did not close");
  return 0;
}

int cmd_wait_target_text(const Args& args) {
  std::string want = decode_escapes(args[1]);
  DWORD timeout = parse_number(args[2], "timeout");
  HWND frame = require_target();
  std::string last;
  wait_or_fail(
      timeout, [&] { return (last = target_text(frame)) == want; },
      [&] {
        return "the paste target holds \"" + encode_escapes(last) + "\" after " + args[2] + " ms, expected \"" +
               args[1] + "\"";
      });
  return 0;
}

int cmd_target_ctrl_v(const Args&) {
  print_line(std::to_string(send_or_fail(require_target(), kTargetCtrlVCount, 0, 0, "the Ctrl+V count")));
  return 0;
}

int cmd_target_clear(const Args&) {
  send_or_fail(require_target_edit(require_target()), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""), "WM_SETTEXT");
  return 0;
}

}  // namespace driver
