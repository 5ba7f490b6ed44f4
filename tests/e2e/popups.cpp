// The program's other windows: message boxes, the preview hint, popup
// menus and dialogs, found by class among its process's top-level windows.

#include <cstdio>
#include <cstring>

#include "driver.h"

namespace driver {
namespace {

// True when BOX is closing: destroyed, hidden, or its program has ended or
// ends within a few seconds.
bool box_going(HWND box) {
  const DWORD pid = process_of(box);
  HANDLE process = pid != 0 ? OpenProcess(SYNCHRONIZE, FALSE, pid) : nullptr;
  const bool going = wait_for(kSendTimeoutMs, [&] {
    return !IsWindow(box) || !IsWindowVisible(box) ||
           (process != nullptr && WaitForSingleObject(process, 0) == WAIT_OBJECT_0);
  });
  if (process != nullptr) CloseHandle(process);
  return going;
}

// Message boxes on screen, one line each: caption, then the texts of the
// box's static controls. An error box is often the only trace of a failure.
std::vector<std::string> message_boxes() {
  std::vector<std::string> lines;
  for (HWND box : top_windows()) {
    if (!IsWindowVisible(box) || class_name(box) != "#32770") continue;
    try {
      std::string line = window_text(box) + ":";
      for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (_stricmp(class_name(child).c_str(), "Static") != 0) continue;
        std::string text = window_text(child);
        if (!text.empty()) line += " " + text;
      }
      lines.push_back(line);
    } catch (const Failure&) {
      // A box that was answered while being read is gone, not an error.
      if (!box_going(box)) throw;
    }
  }
  return lines;
}

// The program's preview hint window (class THintWindow), if it has one.
HWND find_program_hint(HWND main) { return find_program_window(main, L"THintWindow", false); }

// The visible popup menu (class #32768) of the program's process, if any.
HWND find_program_menu(HWND main) { return find_program_window(main, L"#32768", true); }

// The program's visible top-level window of class NAME (ASCII), or a failure.
HWND require_program_window(const std::string& name) {
  HWND window = find_program_window(require_main(), wide_ascii(name).c_str(), true);
  if (!window) throw Failure("no visible " + name + " window of the program");
  return window;
}

HWND require_control(const std::string& windowClass, const std::string& id) {
  HWND control = GetDlgItem(require_program_window(windowClass), static_cast<int>(parse_number(id, "control id")));
  if (!control) throw Failure("no control " + id + " in " + windowClass);
  return control;
}

}  // namespace

int cmd_boxes(const Args&) {
  for (const auto& line : message_boxes()) print_line(encode_escapes(line));
  return 0;
}

int cmd_wait_hint(const Args& args) {
  bool want = parse_number(args[1], "0 or 1") != 0;
  DWORD timeout = parse_number(args[2], "timeout");
  HWND main = require_main();
  HWND hint = nullptr;
  wait_or_fail(
      timeout,
      [&] {
        hint = find_program_hint(main);
        return (hint && IsWindowVisible(hint)) == want;
      },
      [&] {
        return std::string("the hint window is still ") + (want ? "hidden or absent" : "visible") + " after " +
               args[2] + " ms";
      });
  if (want) print_window_rect(hint);
  return 0;
}

int cmd_wait_menu(const Args& args) {
  DWORD timeout = parse_number(args[1], "timeout");
  HWND main = require_main();
  HWND menu = nullptr;
  wait_or_fail(
      timeout, [&] { return (menu = find_program_menu(main)) != nullptr; },
      [&] { return "no popup menu of the program after " + args[1] + " ms"; });
  print_window_rect(menu);
  return 0;
}

int cmd_wait_class(const Args& args) {
  const std::wstring cls = wide_ascii(args[1]);
  DWORD timeout = parse_number(args[2], "timeout");
  HWND main = require_main();
  HWND found = nullptr;
  wait_or_fail(
      timeout, [&] { return (found = find_program_window(main, cls.c_str(), true)) != nullptr; },
      [&] { return "no visible " + args[1] + " window of the program after " + args[2] + " ms"; });
  print_window_rect(found);
  return 0;
}

// The class of the window that owns the program's window of class CLASS
// ("#32770" for its message box), or "none".
int cmd_owner(const Args& args) {
  HWND window = find_program_window(require_main(), wide_ascii(args[1]).c_str(), args[1] == "#32770");
  if (!window) throw Failure("the program has no " + args[1] + " window");
  HWND owner = GetWindow(window, GW_OWNER);
  print_line(owner ? class_name(owner) : "none");
  return 0;
}

int cmd_control_rect(const Args& args) {
  print_window_rect(require_control(args[1], args[2]));
  return 0;
}

// Types TEXT (UTF-8, escaped) into the control ID of the program's visible
// CLASS window, as an input method or a paste puts a whole text there.
int cmd_set_text(const Args& args) {
  HWND control = require_control(args[1], args[2]);
  const std::string text = decode_escapes(args[3]);
  std::wstring wide(text.size() + 1, L'\0');  // UTF-8, of which ASCII is a part
  wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                      wide.data(), static_cast<int>(wide.size()))));
  send_or_fail(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()), "WM_SETTEXT");
  return 0;
}

int cmd_type_text(const Args& args) {
  HWND control = require_control(args[1], args[2]);
  const std::string text = decode_escapes(args[3]);
  std::wstring wide(text.size() + 1, L'\0');
  wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                      wide.data(), static_cast<int>(wide.size()))));
  for (const wchar_t unit : wide) {
    if (!PostMessageW(control, WM_CHAR, unit, 1)) throw Failure("PostMessage WM_CHAR failed");
  }
  return 0;
}

int cmd_children(const Args& args) {
  for (HWND child = GetWindow(require_program_window(args[1]), GW_CHILD); child;
       child = GetWindow(child, GW_HWNDNEXT)) {
    std::printf("%d %s %08lx ", GetDlgCtrlID(child), class_name(child).c_str(),
                static_cast<unsigned long>(GetWindowLongW(child, GWL_STYLE)));
    print_line(encode_escapes(narrow(window_text_wide(child), CP_UTF8)));
  }
  return 0;
}

}  // namespace driver
