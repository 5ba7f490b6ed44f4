// Finding the program's windows and reading its clip list, and the
// commands that look at the main window and its controls.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <shellapi.h>

#include "driver.h"

namespace driver {

HWND find_main() { return FindWindowW(kMainClass, kMainCaption); }

HWND require_main() {
  HWND main = find_main();
  if (!main) throw Failure("no window of class TForm1 titled \"Solvane Clips\"");
  return main;
}

HWND require_list(HWND main) {
  HWND list = GetDlgItem(main, kTitleListId);
  if (!list) throw Failure("the main window has no child with id 1001");
  return list;
}

LRESULT send_or_fail(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, const char* what) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(hwnd, msg, wp, lp, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
    throw Failure(std::string(what) + ": no answer (error " + std::to_string(GetLastError()) + ")");
  return static_cast<LRESULT>(result);
}

int list_count(HWND list) {
  LRESULT count = send_or_fail(list, LB_GETCOUNT, 0, 0, "LB_GETCOUNT");
  if (count == LB_ERR) throw Failure("LB_GETCOUNT failed");
  return static_cast<int>(count);
}

// NOTE: Wine answers cross-process LB_GETTEXT in UTF-16 even to SendMessageA,
// so ask for wide text and convert as the program would have stored it.
std::wstring list_item_wide(HWND list, int index) {
  LRESULT len = send_or_fail(list, LB_GETTEXTLEN, index, 0, "LB_GETTEXTLEN");
  if (len == LB_ERR) throw Failure("LB_GETTEXTLEN failed for item " + std::to_string(index));
  std::wstring text(static_cast<size_t>(len) + 1, L'\0');
  LRESULT got = send_or_fail(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()), "LB_GETTEXT");
  if (got == LB_ERR) throw Failure("LB_GETTEXT failed for item " + std::to_string(index));
  text.resize(static_cast<size_t>(got));
  return text;
}

std::string list_item(HWND list, int index) { return narrow(list_item_wide(list, index)); }

std::vector<std::string> list_items(HWND list) {
  std::vector<std::string> items;
  const int count = list_count(list);
  for (int i = 0; i < count; ++i) items.push_back(list_item(list, i));
  return items;
}

// An item is title + 70 spaces + "/:hdr:\" + key (13 characters).
std::string title_of(const std::string& item, int index) {
  const size_t mark_len = std::strlen(kHeaderMark);
  auto bad = [&](const char* why) {
    return Failure("item " + std::to_string(index) + " " + why + ": \"" + encode_escapes(item) + "\"");
  };
  if (item.size() < kItemTail) throw bad("is too short for title + padding + header mark + key");
  size_t mark = item.size() - kKeyLength - mark_len;
  if (item.compare(mark, mark_len, kHeaderMark) != 0) throw bad("does not end with /:hdr:\\ and a 13-character key");
  size_t title_end = mark - kTitlePadding;
  if (item.find_first_not_of(' ', title_end) != mark) throw bad("lacks the 70 spaces before /:hdr:\\");
  return item.substr(0, title_end);
}

std::string key_of(const std::string& item) { return item.substr(item.size() - kKeyLength); }

// Text of any window, read as another process must: wide, then converted.
std::wstring window_text_wide(HWND hwnd) {
  LRESULT len = send_or_fail(hwnd, WM_GETTEXTLENGTH, 0, 0, "WM_GETTEXTLENGTH");
  std::wstring text(static_cast<size_t>(len) + 1, L'\0');
  LRESULT got = send_or_fail(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), "WM_GETTEXT");
  text.resize(static_cast<size_t>(got));
  return text;
}

std::string window_text(HWND hwnd) { return narrow(window_text_wide(hwnd)); }

std::vector<HWND> top_windows() {
  std::vector<HWND> windows;
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

DWORD process_of(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

HANDLE open_program(HWND main, DWORD access) {
  HANDLE process = OpenProcess(access, FALSE, process_of(main));
  if (!process) throw Failure("OpenProcess failed (error " + std::to_string(GetLastError()) + ")");
  return process;
}

std::string class_name(HWND hwnd) {
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  return narrow(cls);
}

bool answers(HWND hwnd, DWORD timeout_ms) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, timeout_ms, &ignored) != 0;
}

// Top-level windows of process PID with this class.
std::vector<HWND> process_windows(DWORD pid, const wchar_t* className) {
  std::vector<HWND> found;
  for (HWND hwnd : top_windows()) {
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    if (process_of(hwnd) == pid && std::wcscmp(cls, className) == 0) found.push_back(hwnd);
  }
  return found;
}

// A top-level window of the program's process with this class, if any.
HWND find_program_window(HWND main, const wchar_t* className, bool visibleOnly) {
  for (HWND window : process_windows(process_of(main), className)) {
    if (!visibleOnly || IsWindowVisible(window)) return window;
  }
  return nullptr;
}

std::string rect_text(const RECT& rc) {
  return std::to_string(rc.left) + " " + std::to_string(rc.top) + " " + std::to_string(rc.right) + " " +
         std::to_string(rc.bottom);
}

void print_window_rect(HWND hwnd) {
  RECT rc{};
  GetWindowRect(hwnd, &rc);
  print_rect(rc);
}

HWND require_child(HWND main, int id) {
  HWND child = GetDlgItem(main, id);
  if (!child) throw Failure("the main window has no child with id " + std::to_string(id));
  return child;
}

// Whether the taskbar holds an icon of process PID. The program adds its
// icon for one of its hidden "TPUtilWindow" windows with id 0.
// NOTE: the shell answers NIM_MODIFY with FALSE for an icon it does not
// hold, and with no flags set the call changes nothing: so this asks the
// taskbar itself, whatever it has drawn yet.
bool has_tray_icon(DWORD pid) {
  for (HWND window : process_windows(pid, L"TPUtilWindow")) {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = window;
    data.uID = 0;
    data.uFlags = 0;
    if (Shell_NotifyIconW(NIM_MODIFY, &data)) return true;
  }
  return false;
}

// ---- commands ----

int cmd_wait_window(const Args& args) {
  wait_or_fail(
      parse_number(args[1], "timeout"),
      [] {
        HWND main = find_main();
        return main && GetDlgItem(main, kTitleListId);
      },
      [&] { return "no Solvane Clips window with a title list after " + args[1] + " ms"; });
  return 0;
}

int cmd_count(const Args&) {
  std::printf("%d\n", list_count(require_list(require_main())));
  return 0;
}

int cmd_wait_count(const Args& args) {
  int want = static_cast<int>(parse_number(args[1], "count"));
  DWORD timeout = parse_number(args[2], "timeout");
  HWND list = require_list(require_main());
  int last = -1;
  wait_or_fail(
      timeout, [&] { return (last = list_count(list)) == want; },
      [&] {
        return "the list holds " + std::to_string(last) + " clips after " + args[2] + " ms, expected " + args[1];
      });
  return 0;
}

int cmd_items(const Args&) {
  for (const auto& item : list_items(require_list(require_main()))) print_line(encode_escapes(item));
  return 0;
}

int cmd_titles(const Args& args) {
  HWND main = require_main();
  // Another list of the window (the search's matches) read the same way.
  HWND list =
      args.size() > 1 ? require_child(main, static_cast<int>(parse_number(args[1], "control id"))) : require_list(main);
  auto items = list_items(list);
  for (size_t i = 0; i < items.size(); ++i) print_line(encode_escapes(title_of(items[i], static_cast<int>(i))));
  return 0;
}

int cmd_wait_title(const Args& args) {
  int index = static_cast<int>(parse_number(args[1], "item index"));
  std::string want = decode_escapes(args[2]);
  DWORD timeout = parse_number(args[3], "timeout");
  HWND list = require_list(require_main());
  std::string last = "(no such item)";
  wait_or_fail(
      timeout,
      [&] {
        auto items = list_items(list);
        if (index >= static_cast<int>(items.size())) return false;
        last = title_of(items[index], index);
        return last == want;
      },
      [&] {
        return "item " + args[1] + " has title \"" + encode_escapes(last) + "\" after " + args[3] + " ms, expected \"" +
               args[2] + "\"";
      });
  return 0;
}

int cmd_visible(const Args&) {
  std::printf("%d\n", IsWindowVisible(require_main()) ? 1 : 0);
  return 0;
}

int cmd_wait_visible(const Args& args) {
  bool want = parse_number(args[1], "0 or 1") != 0;
  DWORD timeout = parse_number(args[2], "timeout");
  HWND main = require_main();
  wait_or_fail(
      timeout, [&] { return (IsWindowVisible(main) != FALSE) == want; },
      [&] {
        return std::string("the main window is still ") + (want ? "hidden" : "visible") + " after " + args[2] + " ms";
      });
  return 0;
}

namespace {

// The main window, or the program's top-level window of class NAME (shown
// or not) when a class is named.
HWND main_or_named(const Args& args, size_t classArg) {
  HWND main = require_main();
  if (args.size() <= classArg) return main;
  HWND window = find_program_window(main, wide_ascii(args[classArg]).c_str(), false);
  if (!window) throw Failure("no " + args[classArg] + " window of the program");
  return window;
}

}  // namespace

int cmd_window_rect(const Args& args) {
  RECT rc;
  if (!GetWindowRect(main_or_named(args, 1), &rc)) throw Failure("GetWindowRect failed");
  print_rect(rc);
  return 0;
}

int cmd_move_window(const Args& args) {
  if (!SetWindowPos(main_or_named(args, 3), nullptr, int_arg(args[1]), int_arg(args[2]), 0, 0,
                    SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE))
    throw Failure("SetWindowPos failed");
  return 0;
}

// The display changed: each of the program's top-level windows hears it, as
// from the system when a monitor goes or the resolution drops.
int cmd_display_change(const Args&) {
  const DWORD pid = process_of(require_main());
  for (const wchar_t* cls : {kMainClass, L"TForm2"}) {
    for (HWND window : process_windows(pid, cls)) {
      send_or_fail(window, WM_DISPLAYCHANGE, 32,
                   MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)), "WM_DISPLAYCHANGE");
    }
  }
  return 0;
}

int cmd_foreground(const Args&) {
  HWND window = GetForegroundWindow();
  if (!window) {
    print_line("none");
    return 0;
  }
  print_line(class_name(window) + (IsWindowVisible(window) ? " visible" : " hidden"));
  return 0;
}

int cmd_list_state(const Args& args) {
  HWND list = require_child(require_main(), static_cast<int>(parse_number(args[1], "control id")));
  const LRESULT top = send_or_fail(list, LB_GETTOPINDEX, 0, 0, "LB_GETTOPINDEX");
  const LRESULT height = send_or_fail(list, LB_GETITEMHEIGHT, 0, 0, "LB_GETITEMHEIGHT");
  std::printf("%d %d %d\n", static_cast<int>(top), static_cast<int>(height), list_count(list));
  return 0;
}

int cmd_control(const Args& args) {
  HWND control = require_child(require_main(), static_cast<int>(parse_number(args[1], "control id")));
  const LRESULT selected = send_or_fail(control, LB_GETCURSEL, 0, 0, "LB_GETCURSEL");
  std::printf("%d %d ", IsWindowVisible(control) ? 1 : 0, static_cast<int>(selected));
  print_line(encode_escapes(narrow(window_text_wide(control), CP_UTF8)));
  return 0;
}

// Characters as a keyboard layout or an input method delivers them: WM_CHAR
// in UTF-16 into the queue of the program, to the main window's control ID.
int cmd_type_chars(const Args& args) {
  HWND control = require_child(require_main(), static_cast<int>(parse_number(args[1], "control id")));
  const std::string text = decode_escapes(args[2]);
  std::wstring wide(text.size() + 1, L'\0');
  wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                      wide.data(), static_cast<int>(wide.size()))));
  for (const wchar_t unit : wide) {
    if (!PostMessageW(control, WM_CHAR, unit, 1)) throw Failure("PostMessage WM_CHAR failed");
  }
  return 0;
}

int cmd_scroll(const Args& args) {
  const LRESULT top = parse_number(args[1], "top index");
  if (send_or_fail(require_list(require_main()), LB_SETTOPINDEX, top, 0, "LB_SETTOPINDEX") == LB_ERR)
    throw Failure("LB_SETTOPINDEX failed");
  return 0;
}

int cmd_click(const Args& args) {
  int id = static_cast<int>(parse_number(args[1], "control id"));
  send_or_fail(require_child(require_main(), id), BM_CLICK, 0, 0, "BM_CLICK");
  return 0;
}

int cmd_button_state(const Args& args) {
  int id = static_cast<int>(parse_number(args[1], "control id"));
  LRESULT state = send_or_fail(require_child(require_main(), id), BM_GETCHECK, 0, 0, "BM_GETCHECK");
  std::printf("%d\n", state == BST_CHECKED ? 1 : 0);
  return 0;
}

int cmd_enabled(const Args& args) {
  int id = static_cast<int>(parse_number(args[1], "control id"));
  std::printf("%d\n", IsWindowEnabled(require_child(require_main(), id)) ? 1 : 0);
  return 0;
}

}  // namespace driver
