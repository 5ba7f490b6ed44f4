// Real input, as a hand on the keyboard and the mouse gives it, and what
// the screen shows where the hand goes: the pointer, the taskbar, pixels.

#include <cstdio>
#include <cstdlib>

#include "driver.h"

namespace driver {
namespace {

struct KeyName {
  const char* name;
  BYTE vk;
};
constexpr KeyName kKeys[] = {
    {"ctrl", VK_CONTROL}, {"shift", VK_SHIFT}, {"alt", VK_MENU},    {"win", VK_LWIN},  {"enter", VK_RETURN},
    {"esc", VK_ESCAPE},   {"tab", VK_TAB},     {"space", VK_SPACE}, {"back", VK_BACK}, {"del", VK_DELETE},
    {"ins", VK_INSERT},   {"up", VK_UP},       {"down", VK_DOWN},   {"left", VK_LEFT}, {"right", VK_RIGHT},
    {"home", VK_HOME},    {"end", VK_END},     {"pgup", VK_PRIOR},  {"pgdn", VK_NEXT},
};

bool is_extended(BYTE vk) {
  switch (vk) {
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_INSERT:
    case VK_DELETE:
    case VK_LWIN:
      return true;
  }
  return false;
}

// Waits until the pointer is at x y; false on timeout, with `at` where it was last.
// NOTE: a move, ours or another process's, shows here only a moment later.
bool pointer_reaches(long x, long y, DWORD timeout, POINT& at) {
  return wait_for(timeout, [&] { return GetCursorPos(&at) && at.x == x && at.y == y; });
}

std::string point_text(const POINT& p) { return std::to_string(p.x) + " " + std::to_string(p.y); }

void wait_pointer(int x, int y) {
  POINT at{};
  if (!pointer_reaches(x, y, 2000, at))
    throw Failure("the pointer is at " + point_text(at) + ", not at " + point_text(POINT{x, y}) +
                  " 2 s after it was moved");
}

// Real input, as a hand on the mouse gives it: the pointer moves there, then
// the buttons go down and up where it is. A double click is two clicks in
// quick succession at the same spot.
void mouse_click(int x, int y, const std::string& how) {
  DWORD down = 0, up = 0;
  int clicks = 1;
  if (how == "left") {
    down = MOUSEEVENTF_LEFTDOWN;
    up = MOUSEEVENTF_LEFTUP;
  } else if (how == "right") {
    down = MOUSEEVENTF_RIGHTDOWN;
    up = MOUSEEVENTF_RIGHTUP;
  } else if (how == "double") {
    down = MOUSEEVENTF_LEFTDOWN;
    up = MOUSEEVENTF_LEFTUP;
    clicks = 2;
  } else {
    throw UsageError("mouse button must be left, right or double: " + how);
  }
  if (!SetCursorPos(x, y)) throw Failure("SetCursorPos failed");
  // NOTE: under Wine the move lands a moment later; a click sent at once
  // goes where the pointer was before (seen right after the program itself
  // had moved the pointer). Click only once the pointer is there.
  wait_pointer(x, y);
  for (int i = 0; i < clicks; ++i) {
    mouse_event(down, 0, 0, 0, 0);
    mouse_event(up, 0, 0, 0, 0);
  }
}

// NOTE: the Wine desktop's taskbar (Shell_TrayWnd) draws the notification
// icons itself, right-aligned in cells as high as the bar, the first icon
// added at the right end. So the program's icon, the only one in a test
// prefix, sits in the right-most square of the bar.
POINT tray_icon_point() {
  HWND bar = FindWindowW(L"Shell_TrayWnd", nullptr);
  if (!bar || !IsWindowVisible(bar))
    throw Failure("no visible taskbar (Shell_TrayWnd): is the Wine desktop \"shell\" in use?");
  RECT rc;
  GetWindowRect(bar, &rc);
  int cell = rc.bottom - rc.top;
  return POINT{rc.right - cell / 2, rc.top + cell / 2};
}

// A fingerprint of the screen's pixels in a rectangle (FNV-1a over the
// colours), to tell whether a picture there changed.
unsigned long long screen_fingerprint(int x, int y, int width, int height) {
  HDC screen = GetDC(nullptr);
  if (!screen) throw Failure("GetDC(NULL) failed");
  unsigned long long hash = 1469598103934665603ULL;
  for (int row = y; row < y + height; ++row) {
    for (int col = x; col < x + width; ++col) {
      COLORREF c = GetPixel(screen, col, row);
      for (int shift = 0; shift < 32; shift += 8) {
        hash ^= (c >> shift) & 0xFF;
        hash *= 1099511628211ULL;
      }
    }
  }
  ReleaseDC(nullptr, screen);
  return hash;
}

}  // namespace

BYTE key_code(const std::string& name) {
  for (const auto& k : kKeys)
    if (name == k.name) return k.vk;
  if (name.size() == 1) {
    char c = name[0];
    if (c >= 'a' && c <= 'z') return static_cast<BYTE>(c - 'a' + 'A');
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return static_cast<BYTE>(c);
  }
  if ((name[0] == 'f' || name[0] == 'F') && name.size() <= 3) {
    unsigned long n = std::strtoul(name.c_str() + 1, nullptr, 10);
    if (n >= 1 && n <= 24) return static_cast<BYTE>(VK_F1 + n - 1);
  }
  if (name.rfind("0x", 0) == 0) {
    unsigned long vk = parse_number(name, "virtual key");
    if (vk > 0 && vk < 256) return static_cast<BYTE>(vk);
  }
  throw UsageError("unknown key: " + name);
}

void key_event(BYTE vk, bool up) {
  DWORD flags = (up ? KEYEVENTF_KEYUP : 0) | (is_extended(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
  keybd_event(vk, static_cast<BYTE>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)), flags, kDriverKeyMark);
}

std::vector<BYTE> chord_keys(const std::string& chord) {
  std::vector<BYTE> keys;
  size_t start = 0;
  for (;;) {
    size_t plus = chord.find('+', start);
    std::string part = chord.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
    if (part.empty()) throw UsageError("empty key in " + chord);
    keys.push_back(key_code(part));
    if (plus == std::string::npos) break;
    start = plus + 1;
  }
  return keys;
}

// "ctrl+shift+v": press in order, release in reverse, as fingers do.
void press_chord(const std::string& chord) {
  const std::vector<BYTE> keys = chord_keys(chord);
  for (BYTE vk : keys) key_event(vk, false);
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) key_event(*it, true);
}

// ---- commands ----

int cmd_keys(const Args& args) {
  for (size_t i = 1; i < args.size(); ++i) {
    press_chord(args[i]);
    Sleep(kPollMs);  // lets the receiver see separate key strokes
  }
  return 0;
}

// As another program that took the combination first.
int cmd_hold_hotkey(const Args& args) {
  UINT modifiers = 0;
  BYTE vk = 0;
  for (const BYTE code : chord_keys(args[1])) {
    if (code == VK_CONTROL)
      modifiers |= MOD_CONTROL;
    else if (code == VK_MENU)
      modifiers |= MOD_ALT;
    else if (code == VK_SHIFT)
      modifiers |= MOD_SHIFT;
    else
      vk = code;
  }
  if (!RegisterHotKey(nullptr, 1, modifiers, vk)) throw Failure("RegisterHotKey failed for " + args[1]);
  print_line("held");
  std::fflush(stdout);
  Sleep(parse_number(args[2], "milliseconds"));
  UnregisterHotKey(nullptr, 1);
  return 0;
}

int cmd_mouse(const Args& args) {
  mouse_click(int_arg(args[1]), int_arg(args[2]), args[3]);
  return 0;
}

int cmd_cursor(const Args&) {
  POINT p;
  if (!GetCursorPos(&p)) throw Failure("GetCursorPos failed");
  print_line(point_text(p));
  return 0;
}

int cmd_wait_cursor(const Args& args) {
  POINT p{};
  if (!pointer_reaches(int_arg(args[1]), int_arg(args[2]), parse_number(args[3], "timeout"), p))
    throw Failure("the pointer is at " + point_text(p) + " after " + args[3] + " ms, expected " + args[1] + " " +
                  args[2]);
  return 0;
}

int cmd_work_area(const Args&) {
  POINT p{};
  GetCursorPos(&p);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST), &info)) throw Failure("GetMonitorInfo failed");
  HWND bar = FindWindowW(L"Shell_TrayWnd", nullptr);
  RECT barRect{};
  if (!bar || !GetWindowRect(bar, &barRect)) throw Failure("no taskbar (Shell_TrayWnd)");
  print_line(rect_text(info.rcWork) + " " + rect_text(barRect));
  return 0;
}

int cmd_tray_icon(const Args&) {
  print_line(point_text(tray_icon_point()));
  return 0;
}

int cmd_fingerprint(const Args& args) {
  int w = static_cast<int>(parse_number(args[3], "width"));
  int h = static_cast<int>(parse_number(args[4], "height"));
  char buf[32];
  std::snprintf(buf, sizeof buf, "%016llx", screen_fingerprint(int_arg(args[1]), int_arg(args[2]), w, h));
  print_line(buf);
  return 0;
}

}  // namespace driver
