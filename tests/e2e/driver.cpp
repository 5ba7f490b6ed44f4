// solvane_driver: plays the user against a running SolvaneClips.exe.
//
// One subcommand per run, so a bash test reads like a session at the desk:
// copy text, read the clip list, pick a menu command, close the program.
// Text on the command line and in the output uses C-style escapes (see
// decode_escapes / encode_escapes) so every byte survives the shell.
//
// Exit codes: 0 done, 1 the desktop did not do what was asked (timeout,
// no window, clipboard busy, malformed list item), 2 bad command line.

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Our own copies of the program's contract: the driver must not build
// against the program's headers, or a wrong constant would agree with itself.
constexpr wchar_t kMainClass[] = L"TForm1";
constexpr wchar_t kMainCaption[] = L"Solvane Clips";
constexpr int kTitleListId = 1001;
constexpr size_t kTitlePadding = 70;
constexpr char kHeaderMark[] = "/:hdr:\\";
constexpr size_t kKeyLength = 13;

struct NamedCommand {
  const char* name;
  WORD id;
};
constexpr NamedCommand kCommands[] = {
    {"caching", 0x0101},
    {"save", 0x0102},
    {"clear", 0x0103},
    {"quit", 0x0104},
    {"settings", 0x0100},
};

constexpr wchar_t kTargetClass[] = L"SolvaneDriverTarget";
constexpr wchar_t kTargetCaption[] = L"Solvane Paste Target";
constexpr int kTargetEditId = 100;

// Rides on every key the driver sends (keybd_event's extra info), so a
// keyboard hook can tell them from the keys the program synthesises.
constexpr ULONG_PTR kDriverKeyMark = 0x534F4C56;

// A hung program must fail the test, not hang it.
constexpr UINT kSendTimeoutMs = 5000;
constexpr DWORD kPollMs = 50;

class Failure {
 public:
  explicit Failure(std::string message) : message_(std::move(message)) {}
  const std::string& message() const { return message_; }

 private:
  std::string message_;
};

class UsageError : public Failure {
 public:
  using Failure::Failure;
};

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// \xHH takes exactly two digits, unlike C, so "\x41BC" is "ABC".
std::string decode_escapes(const std::string& in) {
  std::string out;
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i] != '\\') {
      out += in[i];
      continue;
    }
    if (i + 1 >= in.size()) throw UsageError("text ends with a lone backslash");
    char c = in[++i];
    switch (c) {
      case 'r': out += '\r'; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case '\\': out += '\\'; break;
      case 'x': {
        int hi = i + 1 < in.size() ? hex_digit(in[i + 1]) : -1;
        int lo = i + 2 < in.size() ? hex_digit(in[i + 2]) : -1;
        if (hi < 0 || lo < 0) throw UsageError("\\x needs two hex digits");
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        break;
      }
      default:
        throw UsageError(std::string("unknown escape \\") + c);
    }
  }
  return out;
}

// Inverse of decode_escapes; bytes outside printable ASCII become \xHH so the
// output does not depend on the console's code page.
std::string encode_escapes(const std::string& in) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : in) {
    switch (c) {
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\\': out += "\\\\"; break;
      default:
        if (c < 0x20 || c >= 0x7f) {
          out += "\\x";
          out += digits[c >> 4];
          out += digits[c & 15];
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out;
}

unsigned long parse_number(const std::string& text, const char* what) {
  char* end = nullptr;
  unsigned long value = std::strtoul(text.c_str(), &end, 0);
  if (text.empty() || *end != '\0') throw UsageError(std::string("not a number for ") + what + ": " + text);
  return value;
}

std::string narrow(const std::wstring& wide) {
  if (wide.empty()) return {};
  int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), size, nullptr, nullptr);
  return out;
}

std::string hwnd_text(HWND hwnd) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%p", static_cast<void*>(hwnd));
  return buf;
}

// ---- the program's windows ----

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
std::vector<std::string> list_items(HWND list) {
  std::vector<std::string> items;
  int count = list_count(list);
  for (int i = 0; i < count; ++i) {
    LRESULT len = send_or_fail(list, LB_GETTEXTLEN, i, 0, "LB_GETTEXTLEN");
    if (len == LB_ERR) throw Failure("LB_GETTEXTLEN failed for item " + std::to_string(i));
    std::wstring text(static_cast<size_t>(len) + 1, L'\0');
    LRESULT got = send_or_fail(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()), "LB_GETTEXT");
    if (got == LB_ERR) throw Failure("LB_GETTEXT failed for item " + std::to_string(i));
    text.resize(static_cast<size_t>(got));
    items.push_back(narrow(text));
  }
  return items;
}

// An item is title + 70 spaces + "/:hdr:\" + key (13 characters).
std::string title_of(const std::string& item, int index) {
  const size_t mark_len = std::strlen(kHeaderMark);
  const size_t tail = kTitlePadding + mark_len + kKeyLength;
  auto bad = [&](const char* why) {
    return Failure("item " + std::to_string(index) + " " + why + ": \"" + encode_escapes(item) + "\"");
  };
  if (item.size() < tail) throw bad("is too short for title + padding + header mark + key");
  size_t mark = item.size() - kKeyLength - mark_len;
  if (item.compare(mark, mark_len, kHeaderMark) != 0) throw bad("does not end with /:hdr:\\ and a 13-character key");
  size_t title_end = mark - kTitlePadding;
  if (item.find_first_not_of(' ', title_end) != mark) throw bad("lacks the 70 spaces before /:hdr:\\");
  return item.substr(0, title_end);
}

// Waits until want() holds, polling; false on timeout.
template <typename Pred>
bool wait_for(DWORD timeout_ms, Pred want) {
  DWORD start = GetTickCount();
  for (;;) {
    if (want()) return true;
    if (GetTickCount() - start >= timeout_ms) return false;
    Sleep(kPollMs);
  }
}

// ---- clipboard ----

// The program (or Wine's X11 bridge) may hold the clipboard for a moment.
bool open_clipboard(HWND owner) {
  return wait_for(5000, [&] { return OpenClipboard(owner) != FALSE; });
}

class ClipboardSession {
 public:
  explicit ClipboardSession(HWND owner) {
    if (!open_clipboard(owner)) throw Failure("could not open the clipboard within 5 s");
  }
  ~ClipboardSession() { CloseClipboard(); }
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;
};

// A clipboard owner window: EmptyClipboard with no owner may make
// SetClipboardData fail on Windows. Destroyed at exit; the data stays.
HWND make_owner_window() {
  HWND hwnd = CreateWindowExW(0, L"STATIC", L"solvane driver", 0, 0, 0, 0, 0, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) throw Failure("CreateWindowEx for the clipboard owner failed");
  return hwnd;
}

void set_clip(const std::string& text) {
  HWND owner = make_owner_window();
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (!mem) throw Failure("GlobalAlloc failed");
  char* dst = static_cast<char*>(GlobalLock(mem));
  std::memcpy(dst, text.c_str(), text.size() + 1);
  GlobalUnlock(mem);
  {
    ClipboardSession session(owner);
    if (!EmptyClipboard()) {
      GlobalFree(mem);
      throw Failure("EmptyClipboard failed");
    }
    if (!SetClipboardData(CF_TEXT, mem)) {
      GlobalFree(mem);
      throw Failure("SetClipboardData(CF_TEXT) failed");
    }
    // The clipboard owns mem from here on.
  }
  DestroyWindow(owner);
}

// TEXT as CF_TEXT plus a registered marker format that asks clipboard
// monitors to leave the copy alone, both set in one clipboard open as a
// password manager does.
void set_secret(const std::string& text, const std::string& kind) {
  const char* format_name = nullptr;
  DWORD marker = 1;
  if (kind == "ignore") {
    format_name = "Clipboard Viewer Ignore";
  } else if (kind == "exclude") {
    format_name = "ExcludeClipboardContentFromMonitorProcessing";
  } else if (kind == "history0") {
    format_name = "CanIncludeInClipboardHistory";
    marker = 0;
  } else {
    throw UsageError("format must be ignore, exclude or history0: " + kind);
  }
  UINT format = RegisterClipboardFormatA(format_name);
  if (!format) throw Failure(std::string("RegisterClipboardFormat failed for ") + format_name);
  HWND owner = make_owner_window();
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  HGLOBAL flag = GlobalAlloc(GMEM_MOVEABLE, sizeof marker);
  if (!mem || !flag) throw Failure("GlobalAlloc failed");
  std::memcpy(GlobalLock(mem), text.c_str(), text.size() + 1);
  GlobalUnlock(mem);
  std::memcpy(GlobalLock(flag), &marker, sizeof marker);
  GlobalUnlock(flag);
  {
    ClipboardSession session(owner);
    if (!EmptyClipboard()) throw Failure("EmptyClipboard failed");
    // The clipboard owns each handle once it is set.
    if (!SetClipboardData(format, flag)) throw Failure(std::string("SetClipboardData failed for ") + format_name);
    if (!SetClipboardData(CF_TEXT, mem)) throw Failure("SetClipboardData(CF_TEXT) failed");
  }
  DestroyWindow(owner);
}

// Empty string with false when the clipboard holds no text.
bool get_clip(std::string& text) {
  ClipboardSession session(nullptr);
  HANDLE mem = GetClipboardData(CF_TEXT);
  if (!mem) return false;
  const char* src = static_cast<const char*>(GlobalLock(mem));
  if (!src) return false;
  size_t cap = GlobalSize(mem);
  text.assign(src, strnlen(src, cap));
  GlobalUnlock(mem);
  return true;
}

// ---- paste target ----

HWND g_target_edit = nullptr;
// Ctrl+V presses the paste target has received; asked for with this message.
LRESULT g_target_ctrl_v = 0;
constexpr UINT kTargetCtrlVCount = WM_APP + 41;

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
  HWND frame = CreateWindowExW(0, kTargetClass, kTargetCaption, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 480,
                               320, nullptr, nullptr, inst, nullptr);
  if (!frame) throw Failure("CreateWindowEx for the paste target failed");
  g_target_edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                  WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                                  0, 0, 0, 0, frame, reinterpret_cast<HMENU>(kTargetEditId), inst, nullptr);
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

HWND require_target() {
  HWND frame = FindWindowW(kTargetClass, kTargetCaption);
  if (!frame) throw Failure("no paste target window (start one with: target)");
  return frame;
}

// Text of any window, read as another process must: wide, then converted.
std::string window_text(HWND hwnd) {
  LRESULT len = send_or_fail(hwnd, WM_GETTEXTLENGTH, 0, 0, "WM_GETTEXTLENGTH");
  std::wstring text(static_cast<size_t>(len) + 1, L'\0');
  LRESULT got = send_or_fail(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), "WM_GETTEXT");
  text.resize(static_cast<size_t>(got));
  return narrow(text);
}

// True when BOX is closing: destroyed, hidden, or its program has ended or
// ends within a few seconds.
bool box_going(HWND box) {
  DWORD pid = 0;
  GetWindowThreadProcessId(box, &pid);
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
  std::vector<HWND> boxes;
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        wchar_t cls[16] = {};
        GetClassNameW(hwnd, cls, 16);
        if (IsWindowVisible(hwnd) && std::wcscmp(cls, L"#32770") == 0)
          reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&boxes));
  std::vector<std::string> lines;
  for (HWND box : boxes) {
    try {
      std::string line = window_text(box) + ":";
      for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[16] = {};
        GetClassNameW(child, cls, 16);
        if (_wcsicmp(cls, L"Static") != 0) continue;
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

std::string target_text(HWND frame) {
  HWND edit = GetDlgItem(frame, kTargetEditId);
  if (!edit) throw Failure("the paste target has no EDIT child");
  return window_text(edit);
}

// ---- keys ----

struct KeyName {
  const char* name;
  BYTE vk;
};
constexpr KeyName kKeys[] = {
    {"ctrl", VK_CONTROL}, {"shift", VK_SHIFT}, {"alt", VK_MENU},   {"win", VK_LWIN},     {"enter", VK_RETURN},
    {"esc", VK_ESCAPE},   {"tab", VK_TAB},     {"space", VK_SPACE}, {"back", VK_BACK},   {"del", VK_DELETE},
    {"ins", VK_INSERT},   {"up", VK_UP},       {"down", VK_DOWN},   {"left", VK_LEFT},   {"right", VK_RIGHT},
    {"home", VK_HOME},    {"end", VK_END},     {"pgup", VK_PRIOR},  {"pgdn", VK_NEXT},
};

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

bool is_extended(BYTE vk) {
  switch (vk) {
    case VK_UP: case VK_DOWN: case VK_LEFT: case VK_RIGHT: case VK_HOME: case VK_END:
    case VK_PRIOR: case VK_NEXT: case VK_INSERT: case VK_DELETE: case VK_LWIN:
      return true;
  }
  return false;
}

void key_event(BYTE vk, bool up) {
  DWORD flags = (up ? KEYEVENTF_KEYUP : 0) | (is_extended(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
  keybd_event(vk, static_cast<BYTE>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)), flags, kDriverKeyMark);
}

// "ctrl+shift+v": press in order, release in reverse, as fingers do.
void press_chord(const std::string& chord) {
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
  for (BYTE vk : keys) key_event(vk, false);
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) key_event(*it, true);
}

// ---- mouse and screen ----

// Waits until the pointer is at x y; a Wine pointer move lands a moment late.
void wait_pointer(int x, int y) {
  POINT at{};
  if (!wait_for(2000, [&] { return GetCursorPos(&at) && at.x == x && at.y == y; }))
    throw Failure("the pointer is at " + std::to_string(at.x) + " " + std::to_string(at.y) + ", not at " +
                  std::to_string(x) + " " + std::to_string(y) + " 2 s after it was moved");
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

// Top-level windows of process PID with this class.
std::vector<HWND> process_windows(DWORD pid, const wchar_t* className) {
  struct Search {
    DWORD pid;
    const wchar_t* className;
    std::vector<HWND> found;
  } search{pid, className, {}};
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        wchar_t cls[32] = {};
        GetClassNameW(hwnd, cls, 32);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner == s->pid && std::wcscmp(cls, s->className) == 0) s->found.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A top-level window of the program's process with this class, if any.
HWND find_program_window(HWND main, const wchar_t* className, bool visibleOnly) {
  DWORD pid = 0;
  GetWindowThreadProcessId(main, &pid);
  for (HWND window : process_windows(pid, className)) {
    if (!visibleOnly || IsWindowVisible(window)) return window;
  }
  return nullptr;
}

// The program's preview hint window (class THintWindow), if it has one.
HWND find_program_hint(HWND main) { return find_program_window(main, L"THintWindow", false); }

// NOTE: the Wine desktop's taskbar (Shell_TrayWnd) draws the notification
// icons itself, right-aligned in cells as high as the bar, the first icon
// added at the right end. So the program's icon, the only one in a test
// prefix, sits in the right-most square of the bar.
POINT tray_icon_point() {
  HWND bar = FindWindowW(L"Shell_TrayWnd", nullptr);
  if (!bar || !IsWindowVisible(bar)) throw Failure("no visible taskbar (Shell_TrayWnd): is the Wine desktop \"shell\" in use?");
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

// The visible popup menu (class #32768) of the program's process, if any.
HWND find_program_menu(HWND main) { return find_program_window(main, L"#32768", true); }

std::string rect_text(const RECT& rc) {
  return std::to_string(rc.left) + " " + std::to_string(rc.top) + " " + std::to_string(rc.right) + " " +
         std::to_string(rc.bottom);
}

HWND require_child(HWND main, int id) {
  HWND child = GetDlgItem(main, id);
  if (!child) throw Failure("the main window has no child with id " + std::to_string(id));
  return child;
}

// ---- subcommands ----

void print_line(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
}

WORD command_id(const std::string& arg) {
  for (const auto& c : kCommands)
    if (arg == c.name) return c.id;
  unsigned long id = parse_number(arg, "command id");
  if (id > 0xFFFF) throw UsageError("command id above 0xFFFF: " + arg);
  return static_cast<WORD>(id);
}

// Waits for the program's process to end; its window vanishing is not
// enough, the files are written on the way out.
bool wait_process_gone(HWND main, DWORD timeout_ms) {
  DWORD pid = 0;
  GetWindowThreadProcessId(main, &pid);
  HANDLE process = pid ? OpenProcess(SYNCHRONIZE, FALSE, pid) : nullptr;
  if (!process) return wait_for(timeout_ms, [&] { return !IsWindow(main); });
  bool ended = WaitForSingleObject(process, timeout_ms) == WAIT_OBJECT_0;
  CloseHandle(process);
  return ended;
}

// ---- timing ----

// Milliseconds on the performance counter: only differences mean anything.
double now_ms() {
  static const double ticksPerMs = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER count;
  QueryPerformanceCounter(&count);
  return static_cast<double>(count.QuadPart) / ticksPerMs;
}

double median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string ms_text(double ms) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f", ms);
  return buf;
}

// Timing loops poll this often: fine enough for what they measure, coarse
// enough to leave the two cores to the program and the desktop.
constexpr DWORD kTimingPollMs = 2;

// Waits until want() holds, polling at kTimingPollMs; false on timeout.
template <typename Pred>
bool wait_closely(DWORD timeout_ms, Pred want) {
  const double start = now_ms();
  for (;;) {
    if (want()) return true;
    if (now_ms() - start >= timeout_ms) return false;
    Sleep(kTimingPollMs);
  }
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

// The program's start is over once its clip window has been placed in the
// middle of the screen, which it does after loading the clip files, and its
// message loop answers. Before the files are loaded, the window is at 0 0.
bool start_done(HWND main) {
  RECT rc;
  if (!GetWindowRect(main, &rc)) return false;
  const int width = rc.right - rc.left, height = rc.bottom - rc.top;
  if (rc.left != (GetSystemMetrics(SM_CXSCREEN) - width) / 2 || rc.top != (GetSystemMetrics(SM_CYSCREEN) - height) / 2)
    return false;
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &ignored) != 0;
}

// Peak working set of a process in bytes; 0 when it cannot be read.
// NOTE: Wine reads a process's counters from /proc/<pid>/status of its Linux
// process: the peak is VmHWM, so it counts Wine's own libraries as well.
SIZE_T peak_working_set(HANDLE process, SIZE_T* current = nullptr) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!K32GetProcessMemoryInfo(process, &counters, sizeof counters)) return 0;
  if (current) *current = counters.WorkingSetSize;
  return counters.PeakWorkingSetSize;
}

struct StartTimes {
  double icon = -1;   // ms from CreateProcess until the taskbar holds the icon
  double ready = -1;  // ... until the start is over (start_done)
  double close = -1;  // ms from WM_CLOSE until the process has ended
  SIZE_T readyPeak = 0;  // peak working set at the end of the start
  SIZE_T peak = 0;       // the last peak read before the process ended
};

// Starts FOLDER\EXE in FOLDER, times its start, then closes it as Windows
// does and waits for it to end (it saves its files on the way out). A
// program that fails any step is ended by force, so the next run starts clean.
StartTimes time_start(const std::string& folder, const std::string& exe, DWORD timeout) {
  if (find_main()) throw Failure("a Solvane Clips window is already open");
  if (!FindWindowW(L"Shell_TrayWnd", nullptr))
    throw Failure("no taskbar (Shell_TrayWnd): is the Wine desktop \"shell\" in use?");
  const std::string path = folder + "\\" + exe;
  std::string commandLine = "\"" + path + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  const double start = now_ms();
  if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                      &info))
    throw Failure("CreateProcess failed for " + path + " (error " + std::to_string(GetLastError()) + ")");
  CloseHandle(info.hThread);
  const HANDLE process = info.hProcess;  // closed below on every path
  const auto fail = [&](const std::string& why) {
    TerminateProcess(process, 1);
    WaitForSingleObject(process, kSendTimeoutMs);
    CloseHandle(process);
    return Failure(why + " (the program was ended by force)");
  };
  StartTimes times;
  HWND main = nullptr;
  while (times.icon < 0 || times.ready < 0) {
    if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0) throw fail("the program ended during its start");
    if (now_ms() - start > timeout) {
      throw fail(std::string("after ") + std::to_string(timeout) + " ms the program " +
                 (times.icon < 0 ? "has no tray icon" : "has not finished its start"));
    }
    if (times.icon < 0 && has_tray_icon(info.dwProcessId)) times.icon = now_ms() - start;
    if (!main) {
      HWND found = find_main();
      DWORD pid = 0;
      if (found) GetWindowThreadProcessId(found, &pid);
      if (pid == info.dwProcessId) main = found;
    }
    if (times.ready < 0 && main && start_done(main)) times.ready = now_ms() - start;
    if (times.icon < 0 || times.ready < 0) Sleep(kTimingPollMs);
  }
  times.readyPeak = peak_working_set(process);
  times.peak = times.readyPeak;

  const double closing = now_ms();
  if (!PostMessageW(main, WM_CLOSE, 0, 0)) throw fail("PostMessage(WM_CLOSE) failed");
  // The save on the way out may raise the peak: read it until the end.
  for (;;) {
    const SIZE_T peak = peak_working_set(process);
    if (peak > times.peak) times.peak = peak;
    if (WaitForSingleObject(process, 10) == WAIT_OBJECT_0) break;
    if (now_ms() - closing > timeout)
      throw fail("the program still runs " + std::to_string(timeout) + " ms after WM_CLOSE");
  }
  times.close = now_ms() - closing;
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  CloseHandle(process);
  if (code != 0) throw Failure("the program ended with exit code " + std::to_string(code));
  return times;
}

// Keys seen by a low-level keyboard hook, from any process on the desktop.
struct SeenKey {
  DWORD vk;
  DWORD flags;  // LLKHF_*
  ULONG_PTR extra;
  double at;           // now_ms() when the hook saw it
  HWND foreground;     // the foreground window then, where the key is going
};

CRITICAL_SECTION g_seenLock;
std::vector<SeenKey> g_seen;

LRESULT CALLBACK keyboard_hook(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
    const double at = now_ms();
    const HWND foreground = GetForegroundWindow();
    EnterCriticalSection(&g_seenLock);
    g_seen.push_back(SeenKey{key->vkCode, key->flags, key->dwExtraInfo, at, foreground});
    LeaveCriticalSection(&g_seenLock);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

// A thread that holds a WH_KEYBOARD_LL hook and does nothing but take its
// calls: the system calls the hook in this thread, between the moment a
// program sends a key and the moment the key is queued, so the sender waits
// for it; a thread that slept or polled would delay every key on the desktop.
class KeyWatch {
 public:
  KeyWatch() {
    InitializeCriticalSection(&g_seenLock);
    ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, &KeyWatch::Run, this, 0, &threadId_);
    if (!ready_ || !thread_) throw Failure("could not start the keyboard hook's thread");
    WaitForSingleObject(ready_, INFINITE);
    if (!hooked_) throw Failure("SetWindowsHookEx(WH_KEYBOARD_LL) failed");
  }
  ~KeyWatch() {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    CloseHandle(ready_);
    DeleteCriticalSection(&g_seenLock);
  }
  KeyWatch(const KeyWatch&) = delete;
  KeyWatch& operator=(const KeyWatch&) = delete;

  // The first injected key-down of VK (Ctrl: either Ctrl key) that the
  // driver did not send, seen at or after AFTER; false when none was.
  bool foreign_key_down(BYTE vk, double after, SeenKey& found) const {
    bool seen = false;
    EnterCriticalSection(&g_seenLock);
    for (const SeenKey& key : g_seen) {
      const bool match = vk == VK_CONTROL ? key.vk == VK_CONTROL || key.vk == VK_LCONTROL || key.vk == VK_RCONTROL
                                          : key.vk == vk;
      if (match && key.at >= after && !(key.flags & LLKHF_UP) && (key.flags & LLKHF_INJECTED) &&
          key.extra != kDriverKeyMark) {
        found = key;
        seen = true;
        break;
      }
    }
    LeaveCriticalSection(&g_seenLock);
    return seen;
  }

 private:
  static DWORD WINAPI Run(void* self) {
    auto* watch = static_cast<KeyWatch*>(self);
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before WM_QUIT can be posted
    HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, keyboard_hook, GetModuleHandleW(nullptr), 0);
    watch->hooked_ = hook != nullptr;
    SetEvent(watch->ready_);
    if (!hook) return 1;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    UnhookWindowsHookEx(hook);
    return 0;
  }

  HANDLE ready_ = nullptr;
  HANDLE thread_ = nullptr;
  DWORD threadId_ = 0;
  bool hooked_ = false;
};

constexpr char kLabels[] = "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// A window as a failure message names it: its class, and whether it is shown.
std::string window_name(HWND hwnd) {
  if (!hwnd) return "no window";
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  return narrow(cls) + (IsWindowVisible(hwnd) ? " (visible)" : " (hidden)");
}

// N rounds, with the program running and the paste target in front: the
// hotkey, timed until the clip window is visible; then a key label, timed
// until the program's synthesised Ctrl key-down, then until the paste has
// landed in the target. The labels go round the lines the window shows.
// A paste that never lands is counted and told on stderr with the window
// that was in front when the program typed Ctrl+V; the rounds go on.
void time_paste(int rounds, DWORD timeout) {
  HWND main = require_main();
  HWND list = require_list(main);
  HWND target = require_target();
  const int clips = list_count(list);
  if (clips == 0) throw Failure("the program has no clips to paste");
  const int labels = std::min(clips, static_cast<int>(std::strlen(kLabels)));
  KeyWatch watch;
  std::vector<double> shown, toCtrl, landed;
  int lost = 0;
  for (int round = 1; round <= rounds; ++round) {
    const std::string which = "paste " + std::to_string(round) + ": ";
    // The hotkey reaches the program only with an application in front.
    if (!wait_closely(timeout, [&] { return GetForegroundWindow() == target && !IsWindowVisible(main); }))
      throw Failure(which + "the paste target is not in front, or the clip window not hidden");
    send_or_fail(GetDlgItem(target, kTargetEditId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""), "WM_SETTEXT");

    key_event(VK_CONTROL, false);
    key_event(VK_MENU, false);
    const double hotkey = now_ms();
    key_event(VK_DOWN, false);
    key_event(VK_DOWN, true);
    key_event(VK_MENU, true);
    key_event(VK_CONTROL, true);
    if (!wait_closely(timeout, [&] { return IsWindowVisible(main) != FALSE; }))
      throw Failure(which + "the hotkey did not show the clip window");
    shown.push_back(now_ms() - hotkey);

    // The key label must reach the clip window: wait (untimed) until it is
    // in front and the program has finished with the hotkey.
    DWORD_PTR ignored = 0;
    if (!wait_closely(timeout, [&] { return GetForegroundWindow() == main; }) ||
        !SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, timeout, &ignored))
      throw Failure(which + "the clip window did not come to the front");

    const BYTE label = static_cast<BYTE>(kLabels[(round - 1) % labels]);
    const double pressed = now_ms();
    key_event(label, false);
    key_event(label, true);
    SeenKey ctrl{};
    if (!wait_closely(timeout, [&] { return watch.foreign_key_down(VK_CONTROL, pressed, ctrl); }))
      throw Failure(which + "no synthesised Ctrl key-down after key " + std::string(1, static_cast<char>(label)));
    toCtrl.push_back(ctrl.at - pressed);

    // The clipboard is read only once the paste is in: while the driver
    // holds it open, the target's own paste finds it locked and does nothing.
    std::string clip, last;
    std::string outcome;
    if (wait_closely(timeout, [&] { return !(last = target_text(target)).empty(); })) {
      landed.push_back(now_ms() - pressed);
      outcome = ms_text(landed.back());
      if (!get_clip(clip)) throw Failure(which + "the clipboard holds no text after the paste");
      if (last != clip)
        throw Failure(which + "the paste target holds " + std::to_string(last.size()) + " bytes, not the " +
                      std::to_string(clip.size()) + " on the clipboard");
    } else {
      get_clip(clip);
      ++lost;
      outcome = "lost";
      SeenKey v{};
      const bool sawV = watch.foreign_key_down('V', ctrl.at, v);
      const auto front = [&](const SeenKey& key) {
        const char* whose = key.foreground == target ? "the target's " : key.foreground == main ? "the clip window's " : "";
        return whose + window_name(key.foreground) + " " + hwnd_text(key.foreground);
      };
      std::fprintf(stderr, "%sthe paste target holds %zu bytes after %lu ms, the clipboard %zu; in front when the "
                   "program typed Ctrl: %s; V: %s\n",
                   which.c_str(), last.size(), static_cast<unsigned long>(timeout), clip.size(), front(ctrl).c_str(),
                   sawV ? front(v).c_str() : "no V seen");
    }
    print_line(std::to_string(round) + " " + ms_text(shown.back()) + " " + ms_text(toCtrl.back()) + " " + outcome);
    std::fflush(stdout);
  }
  print_line("median " + ms_text(median(shown)) + " " + ms_text(median(toCtrl)) + " " +
             (landed.empty() ? std::string("-") : ms_text(median(landed))));
  print_line("lost " + std::to_string(lost));
}

// ---- long runs ----

// splitmix64: the same seed gives the same session, so a failing long run
// can be repeated exactly.
class SeededRandom {
 public:
  explicit SeededRandom(unsigned long long seed) : state_(seed) {}
  unsigned long long next() {
    unsigned long long z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  size_t between(size_t lo, size_t hi) { return lo + static_cast<size_t>(next() % (hi - lo + 1)); }
  bool chance(unsigned percent) { return next() % 100 < percent; }

 private:
  unsigned long long state_;
};

// What the program recorded, one clip a line: its key and its text, both
// escaped, split by a tab. The driver runs once per series, so the journal
// carries what it knows from one run to the next.
struct JournalEntry {
  std::string key;
  std::string text;
};

std::vector<JournalEntry> read_journal(const std::string& path) {
  std::vector<JournalEntry> journal;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return journal;  // nothing captured yet
  std::string bytes;
  char buf[65536];
  size_t got;
  while ((got = std::fread(buf, 1, sizeof buf, file)) > 0) bytes.append(buf, got);
  std::fclose(file);
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    const std::string line = bytes.substr(start, end - start);
    const size_t tab = line.find('\t');
    if (tab == std::string::npos) throw Failure("journal line without a tab: " + path);
    journal.push_back({decode_escapes(line.substr(0, tab)), decode_escapes(line.substr(tab + 1))});
    start = end + 1;
  }
  return journal;
}

std::string list_item(HWND list, int index) {
  LRESULT len = send_or_fail(list, LB_GETTEXTLEN, index, 0, "LB_GETTEXTLEN");
  if (len == LB_ERR) throw Failure("LB_GETTEXTLEN failed for item " + std::to_string(index));
  std::wstring text(static_cast<size_t>(len) + 1, L'\0');
  LRESULT got = send_or_fail(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()), "LB_GETTEXT");
  if (got == LB_ERR) throw Failure("LB_GETTEXT failed for item " + std::to_string(index));
  text.resize(static_cast<size_t>(got));
  return narrow(text);
}

std::string key_of(const std::string& item) { return item.substr(item.size() - kKeyLength); }

// Words with the characters a clip file and a title must carry as they are.
std::string words(SeededRandom& rng, size_t length) {
  static const char* const kWords[] = {"clip",  "paste", "Solvane", "tray",     "history", "a",      "of",
                                       "x",     "42",    "C:\\tmp", "(quoted)", "#tag",    "a|b",    "50%",
                                       "{it}",  "~/.x",  "\"q\"",   "'s'",      "<b>",     "e=mc^2", "--"};
  std::string out;
  while (out.size() < length) {
    if (!out.empty()) out += rng.chance(10) ? "\t" : " ";
    out += kWords[rng.next() % (sizeof kWords / sizeof kWords[0])];
  }
  out.resize(length);
  return out;
}

// Lines of words, CR LF between them, exactly SIZE bytes from FIRST on;
// never ending in a line break, which the store would not keep apart.
std::string lines_of(SeededRandom& rng, std::string first, size_t size, size_t longest) {
  std::string out = std::move(first);
  while (out.size() < size) {
    out += "\r\n";
    out += rng.chance(5) ? std::string() : words(rng, rng.between(1, longest));
  }
  out.resize(size);
  while (!out.empty() && (out.back() == '\r' || out.back() == '\n')) out.pop_back();
  out.append(size - out.size(), 'z');
  return out;
}

constexpr size_t kLongestText = 100 * 1024;

// A fresh text for capture number SERIAL (1 for the first of the run).
// Every text but the one-character ones carries its serial in its first
// visible line, so its title tells it from any other.
std::string fresh_text(SeededRandom& rng, size_t serial) {
  const std::string tag = "c" + std::to_string(serial) + ":";
  if (serial == 1) return "1";
  if (serial == 2) return lines_of(rng, tag, kLongestText, 120);
  const unsigned kind = static_cast<unsigned>(rng.next() % 1000);
  if (kind < 100) return std::string(1, static_cast<char>(rng.between(0x21, 0x7E)));
  if (kind < 550) return tag + " " + words(rng, rng.between(0, 90));
  if (kind < 700) return lines_of(rng, tag + " " + words(rng, rng.between(0, 60)), rng.between(30, 900), 80);
  if (kind < 880) {
    // Blank lines and blanks before the first visible character.
    std::string lead;
    for (size_t i = rng.between(0, 3); i > 0; --i) lead += std::string(rng.between(0, 4), ' ') + "\r\n";
    lead += std::string(rng.between(1, 6), ' ') + (rng.chance(50) ? "\t" : "") + tag;
    return rng.chance(50) ? lead + " " + words(rng, rng.between(1, 40))
                          : lines_of(rng, lead, lead.size() + rng.between(10, 400), 60);
  }
  if (kind < 992) return lines_of(rng, tag, rng.between(1024, 8192), 200);
  // The longest texts: some one line, some many.
  const size_t size = rng.between(kLongestText / 2, kLongestText);
  return rng.chance(30) ? tag + words(rng, size - tag.size()) : lines_of(rng, tag, size, 160);
}

// Whether TITLE is a title the program may give TEXT: its first line with
// a character above a blank (else its first line), cut to fit the list, with
// "..." when it was cut or the text has more lines. The width the list
// allows is not known here, so any cut is accepted.
bool title_fits(const std::string& title, const std::string& text) {
  std::vector<std::string> lines;
  for (size_t start = 0;;) {
    const size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 2;
  }
  std::string line = lines[0];
  for (const auto& candidate : lines) {
    if (std::any_of(candidate.begin(), candidate.end(), [](char c) { return static_cast<unsigned char>(c) > 32; })) {
      line = candidate;
      break;
    }
  }
  if (title.size() >= 3 && title.compare(title.size() - 3, 3, "...") == 0) {
    const size_t kept = title.size() - 3;
    if (kept <= line.size() && line.compare(0, kept, title, 0, kept) == 0 && (lines.size() > 1 || kept < line.size()))
      return true;
  }
  return lines.size() == 1 && title == line;
}

// COUNT texts from SEED onto the clipboard, one after another, each waited
// for until the program's list has taken it as a new clip whose title fits.
// About one in fifty is the text captured just before, which must add no
// clip; it is followed by a fresh text, whose capture shows it was handled.
// Prints: clips recorded, bytes of their texts.
void copy_series(const std::string& journalPath, unsigned long long seed, int count, DWORD timeout) {
  std::vector<JournalEntry> journal = read_journal(journalPath);
  HWND list = require_list(require_main());
  FILE* out = std::fopen(journalPath.c_str(), "ab");
  if (!out) throw Failure("cannot write the journal " + journalPath);
  SeededRandom rng(seed);
  int recorded = 0;
  size_t bytes = 0;
  bool repeated = false;  // the last text set repeats the capture before it
  int countBefore = list_count(list);
  for (int i = 0; i < count; ++i) {
    const std::string which = "copy " + std::to_string(i + 1) + " of seed " + std::to_string(seed) + ": ";
    const std::string* last = journal.empty() ? nullptr : &journal.back().text;
    std::string text;
    if (!repeated && last && i + 1 < count && rng.chance(2)) {
      set_clip(*last);
      repeated = true;
      continue;
    }
    if (!repeated && journal.size() >= 2 && rng.chance(8)) {
      text = journal[rng.next() % journal.size()].text;
    }
    while (text.empty() || (last && text == *last)) text = fresh_text(rng, journal.size() + 1);
    set_clip(text);
    int now = countBefore;
    if (!wait_closely(timeout, [&] { return (now = list_count(list)) != countBefore; }))
      throw Failure(which + "no new clip after " + std::to_string(timeout) + " ms for a text of " +
                    std::to_string(text.size()) + " bytes");
    const std::string top = list_item(list, 0);
    const std::string title = title_of(top, 0);
    if (now != countBefore + 1 || !title_fits(title, text))
      throw Failure(which + "the list went from " + std::to_string(countBefore) + " to " + std::to_string(now) +
                    " clips" + (repeated ? " (after a repeat of the capture before)" : "") + ", the top title is \"" +
                    encode_escapes(title) + "\", the text began \"" + encode_escapes(text.substr(0, 80)) + "\"");
    journal.push_back({key_of(top), text});
    std::fprintf(out, "%s\t%s\n", encode_escapes(journal.back().key).c_str(), encode_escapes(text).c_str());
    ++recorded;
    bytes += text.size();
    repeated = false;
    countBefore = now;
  }
  if (std::fclose(out) != 0) throw Failure("cannot write the journal " + journalPath);
  print_line(std::to_string(recorded) + " " + std::to_string(bytes));
}

// COUNT pastes with the paste target in front: the hotkey shows the clip
// window, a key label chosen from SEED pastes that line. The target must
// receive the clip's text as the journal has it, the window must go, and
// the list must show the pasted title on top and the others shifted, with
// the list cut back to 72 lines as the program does after a paste.
void paste_series(const std::string& journalPath, unsigned long long seed, int count, DWORD timeout) {
  const std::vector<JournalEntry> journal = read_journal(journalPath);
  HWND main = require_main();
  HWND list = require_list(main);
  HWND target = require_target();
  HWND edit = GetDlgItem(target, kTargetEditId);
  if (!edit) throw Failure("the paste target has no EDIT child");
  constexpr int kListCut = 72;
  constexpr int kLabelCount = 36;
  SeededRandom rng(seed);
  for (int round = 1; round <= count; ++round) {
    const std::string which = "paste " + std::to_string(round) + " of seed " + std::to_string(seed) + ": ";
    if (!wait_for(timeout, [&] { return GetForegroundWindow() == target && !IsWindowVisible(main); }))
      throw Failure(which + "the paste target is not in front, or the clip window not hidden");
    send_or_fail(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""), "WM_SETTEXT");
    const int countBefore = list_count(list);
    if (countBefore == 0) throw Failure(which + "the program has no clips to paste");
    std::vector<std::string> before;
    for (int i = 0; i < std::min(countBefore, kListCut + 2); ++i) before.push_back(list_item(list, i));

    press_chord("ctrl+alt+down");
    DWORD_PTR ignored = 0;
    if (!wait_for(timeout, [&] { return IsWindowVisible(main) && GetForegroundWindow() == main; }) ||
        !SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, timeout, &ignored))
      throw Failure(which + "the hotkey did not bring the clip window to the front");

    const int line = static_cast<int>(rng.next() % static_cast<unsigned>(std::min(countBefore, kLabelCount)));
    const std::string key = key_of(before[line]);
    const JournalEntry* clip = nullptr;
    for (const auto& entry : journal)
      if (entry.key == key) clip = &entry;
    if (!clip) throw Failure(which + "line " + std::to_string(line) + " has a key that was never captured: \"" +
                             encode_escapes(before[line]) + "\"");
    press_chord(std::string(1, kLabels[line]));
    std::string landed;
    // A long text keeps the target's EDIT busy for a while, so that it does
    // not answer at once: that is no failure until the time is up.
    const auto pasted = [&] {
      try {
        landed = target_text(target);
      } catch (const Failure&) {
        return false;
      }
      return landed == clip->text;
    };
    if (!wait_for(timeout, pasted))
      throw Failure(which + "key " + std::string(1, kLabels[line]) + " pasted " + std::to_string(landed.size()) +
                    " bytes, not the clip's " + std::to_string(clip->text.size()) + " after " +
                    std::to_string(timeout) + " ms: \"" + encode_escapes(landed.substr(0, 80)) + "\"");
    std::string onClipboard;
    if (!get_clip(onClipboard) || onClipboard != clip->text)
      throw Failure(which + "the clipboard holds " + std::to_string(onClipboard.size()) + " bytes, not the clip");
    if (!wait_for(timeout, [&] { return !IsWindowVisible(main); }))
      throw Failure(which + "the clip window stays after the paste");

    std::vector<std::string> want = before;
    want.erase(want.begin() + line);
    want.insert(want.begin(), before[line]);
    if (countBefore > kListCut) want.erase(want.begin() + kListCut);
    const int countAfter = list_count(list);
    const int countWanted = countBefore > kListCut ? countBefore - 1 : countBefore;
    if (countAfter != countWanted)
      throw Failure(which + "the list holds " + std::to_string(countAfter) + " clips, expected " +
                    std::to_string(countWanted));
    for (int i = 0; i < static_cast<int>(want.size()) && i < countAfter; ++i) {
      const std::string item = list_item(list, i);
      if (item != want[i])
        throw Failure(which + "after pasting line " + std::to_string(line) + ", line " + std::to_string(i) + " is \"" +
                      encode_escapes(item) + "\", expected \"" + encode_escapes(want[i]) + "\"");
    }
  }
}

HANDLE open_program(DWORD access) {
  DWORD pid = 0;
  GetWindowThreadProcessId(require_main(), &pid);
  HANDLE process = OpenProcess(access, FALSE, pid);
  if (!process) throw Failure("OpenProcess failed (error " + std::to_string(GetLastError()) + ")");
  return process;
}

// NOTE: Wine's GetGuiResources is a stub (0, ERROR_CALL_NOT_IMPLEMENTED).
// There the GDI objects are counted in the process's own handle table,
// which its PEB points to (GdiSharedHandleTable, as on Windows): an entry
// in use has a type. Stock objects count too; only changes matter.
long gdi_table_count(HANDLE process) {
  static_assert(sizeof(void*) == 8, "the PEB offset and entry layout are those of 64-bit processes");
  constexpr ULONG_PTR kPebGdiHandleTable = 0xF8;
  constexpr size_t kGdiHandles = 0x10000;
  struct BasicInformation {
    LONG_PTR exitStatus;
    ULONG_PTR peb;
    ULONG_PTR affinity, priority, pid, parentPid;
  } basic{};
  struct Entry {
    unsigned long long object;
    ULONG owner;
    USHORT unique;
    BYTE type, flags;
    unsigned long long user;
  };
  static_assert(sizeof(Entry) == 24, "a GDI handle entry is 24 bytes");
  using QueryProcess = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  const auto query = reinterpret_cast<QueryProcess>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  if (!query || query(process, 0 /* ProcessBasicInformation */, &basic, sizeof basic, nullptr) != 0)
    throw Failure("cannot find the program's PEB");
  ULONG_PTR table = 0;
  std::vector<Entry> entries(kGdiHandles);
  if (!ReadProcessMemory(process, reinterpret_cast<void*>(basic.peb + kPebGdiHandleTable), &table, sizeof table,
                         nullptr) ||
      !table ||
      !ReadProcessMemory(process, reinterpret_cast<void*>(table), entries.data(), entries.size() * sizeof(Entry), nullptr))
    throw Failure("cannot read the program's GDI handle table");
  return std::count_if(entries.begin(), entries.end(), [](const Entry& e) { return e.type != 0; });
}

// The windows of process PID: top-level, message-only and their children.
long window_count(DWORD pid) {
  struct Count {
    DWORD pid;
    long windows;
  } count{pid, 0};
  const WNDENUMPROC child = [](HWND hwnd, LPARAM lp) -> BOOL {
    auto* c = reinterpret_cast<Count*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == c->pid) ++c->windows;
    return TRUE;
  };
  const auto tree = [&](HWND top) {
    DWORD owner = 0;
    GetWindowThreadProcessId(top, &owner);
    if (owner != pid) return;
    ++count.windows;
    EnumChildWindows(top, child, reinterpret_cast<LPARAM>(&count));
  };
  std::vector<HWND> tops;
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&tops));
  for (HWND hwnd = nullptr; (hwnd = FindWindowExW(HWND_MESSAGE, hwnd, nullptr, nullptr)) != nullptr;) tops.push_back(hwnd);
  for (HWND top : tops) tree(top);
  return count.windows;
}

// "GDI USER": the program's GDI and USER objects.
std::string gui_resources() {
  DWORD pid = 0;
  GetWindowThreadProcessId(require_main(), &pid);
  HANDLE process = open_program(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ);
  SetLastError(0);
  long gdi = static_cast<long>(GetGuiResources(process, GR_GDIOBJECTS));
  long user = static_cast<long>(GetGuiResources(process, GR_USEROBJECTS));
  try {
    if (gdi == 0 && user == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
      gdi = gdi_table_count(process);
      user = window_count(pid);
    }
  } catch (...) {
    CloseHandle(process);
    throw;
  }
  CloseHandle(process);
  if (gdi == 0 || user == 0) throw Failure("the program's GDI or USER objects cannot be counted");
  return std::to_string(gdi) + " " + std::to_string(user);
}

// The program's private bytes.
// NOTE: Wine 8 reports the Linux process's swap as PrivateUsage, 0 with no
// swap. There the committed private pages are added up instead, which is
// what PrivateUsage counts on Windows.
SIZE_T private_bytes() {
  HANDLE process = open_program(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ);
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  SIZE_T bytes = 0;
  if (K32GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters))
    bytes = counters.PrivateUsage;
  if (bytes == 0) {
    MEMORY_BASIC_INFORMATION region{};
    for (const char* at = nullptr; VirtualQueryEx(process, at, &region, sizeof region) == sizeof region;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
      if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) bytes += region.RegionSize;
    }
  }
  CloseHandle(process);
  if (bytes == 0) throw Failure("the program's private bytes cannot be read");
  return bytes;
}

const char kUsage[] =
    "usage: solvane_driver COMMAND [ARGS]\n"
    "  set-clip TEXT              put TEXT (escapes \\r \\n \\t \\\\ \\xHH) on the clipboard as CF_TEXT\n"
    "  set-secret TEXT ignore|exclude|history0  put TEXT on the clipboard with a format that\n"
    "                             asks monitors to skip it (history0: CanIncludeInClipboardHistory = 0)\n"
    "  clear-clip                 empty the clipboard\n"
    "  hold-clip MS [copy TEXT] [keys CHORD...]  (copy TEXT first, then) hold the clipboard open\n"
    "                             for MS ms, pressing the keys once it is held, as a busy program does\n"
    "  get-clip                   print the clipboard's CF_TEXT, escaped; 1 when there is none\n"
    "  wait-window TIMEOUT_MS     wait for the main window and its title list\n"
    "  count                      print the number of clips in the title list\n"
    "  wait-count N TIMEOUT_MS    wait until the list holds N clips\n"
    "  items                      print each list item in full, escaped\n"
    "  titles                     print each item's title; 1 when an item is malformed\n"
    "  wait-title I TEXT TIMEOUT_MS  wait until item I's title is TEXT (escaped)\n"
    "  command ID|caching|save|clear|quit|settings  post WM_COMMAND to the main window\n"
    "  close [TIMEOUT_MS]         post WM_CLOSE and wait for the program to end\n"
    "  end-session                send WM_QUERYENDSESSION and print the answer\n"
    "  save-and-kill DELAY_MS     post Save Clips, then end the program by force DELAY_MS later\n"
    "  close-and-kill DELAY_MS    the same with WM_CLOSE, which saves every file on the way out\n"
    "  boxes                      print the message boxes on screen: caption: texts\n"
    "  visible                    print 1 when the main window is visible, else 0\n"
    "  target                     open a visible paste target window; runs until closed\n"
    "  wait-target TIMEOUT_MS     wait for the paste target window\n"
    "  target-text                print the paste target's text, escaped\n"
    "  target-close               close the paste target\n"
    "  keep TIMEOUT_MS            hold the Wine desktop (and its clipboard) open for a while\n"
    "  keys CHORD...              type chords like ctrl+v, down, enter, alt+f4, 0x41\n"
    "  wait-visible 0|1 TIMEOUT_MS  wait until the main window is hidden (0) or shown (1)\n"
    "  window-rect                print the main window's screen rectangle: left top right bottom\n"
    "  move-window X Y            move the main window (no activation, no resize)\n"
    "  cursor                     print the pointer's position: x y\n"
    "  wait-cursor X Y TIMEOUT_MS  wait until the pointer is at X Y\n"
    "  click ID                   click the main window's button ID (BM_CLICK)\n"
    "  button-state ID            print 1 when button ID is down (checked), else 0\n"
    "  enabled ID                 print 1 when the main window's control ID takes input, else 0\n"
    "  mouse X Y left|right|double  move the pointer to X Y and click there (real input)\n"
    "  work-area                  the work area (GetMonitorInfo rcWork) of the pointer's monitor and\n"
    "                             the taskbar's rectangle (Shell_TrayWnd): LEFT TOP RIGHT BOTTOM each\n"
    "  wait-hint 0|1 TIMEOUT_MS   wait until the program's hint window (THintWindow) is hidden or\n"
    "                             absent (0) or visible (1); print its rectangle when visible\n"
    "  tray-icon                  print the centre of the right-most icon in the taskbar: x y\n"
    "  fingerprint X Y W H        print a hash of the screen's pixels in that rectangle\n"
    "  wait-menu TIMEOUT_MS       wait for the program's popup menu; print its rectangle\n"
    "  wait-exit TIMEOUT_MS       wait until the program's process has ended\n"
    "  wait-class CLASS TIMEOUT_MS  wait for a visible top-level window of the program of that\n"
    "                             class; print its rectangle\n"
    "  wait-target-text TEXT TIMEOUT_MS  wait until the paste target holds TEXT (escaped)\n"
    "  target-clear               empty the paste target\n"
    "  target-ctrl-v              print how many Ctrl+V presses the paste target has received\n"
    "  time-start FOLDER EXE TIMEOUT_MS  start FOLDER\\EXE in FOLDER (a Windows path), time its\n"
    "                             start, close it with WM_CLOSE and wait for its end; print\n"
    "                             ICON_MS READY_MS CLOSE_MS READY_PEAK_BYTES PEAK_BYTES: ms until\n"
    "                             the taskbar holds its icon, until its window is placed and its\n"
    "                             message loop answers, from WM_CLOSE to its end; its peak working\n"
    "                             set when ready and the last one read before it ended\n"
    "  wait-started TIMEOUT_MS    wait until the program has loaded its files: its window is placed\n"
    "                             in the middle of the screen and its message loop answers\n"
    "  time-paste N [TIMEOUT_MS]  with the program and the paste target running, N times: the\n"
    "                             hotkey, then a key label (1, 2, ... in turn); print one line a\n"
    "                             round and then the medians: I|median SHOWN_MS CTRL_MS LANDED_MS\n"
    "                             (hotkey to window visible, label key to the program's first\n"
    "                             synthesised Ctrl key-down, label key to the paste in the target,\n"
    "                             \"lost\" when it never lands), then: lost COUNT\n"
    "  memory                     print the program's peak and current working set in bytes\n"
    "  end-session-and-kill       send WM_QUERYENDSESSION and WM_ENDSESSION, then end the program\n"
    "                             as Windows does; print the query's answer\n"
    "  timer ID                   post WM_TIMER with that id to the program's window\n"
    "  hold-hotkey CHORD MS       register CHORD (ctrl+alt+down) as another program would, for MS ms;\n"
    "                             prints \"held\" once it holds it\n"
    "  tray-forget                remove the program's tray icon, as a restarting shell loses it\n"
    "  tray-present               print 1 when the program's tray icon is there, else 0\n"
    "  taskbar-created            broadcast \"TaskbarCreated\", as a (re)started shell does\n"
    "  owner CLASS                print the class of the window owning the program's CLASS window\n"
    "                             (#32770: its message box), or none\n"
    "  control-rect CLASS ID      print the screen rectangle of control ID in the program's CLASS window\n"
    "  set-text CLASS ID TEXT     set the text (escaped) of control ID in the program's CLASS window\n"
    "  lock-file PATH MS          hold PATH (a Windows path) open with no sharing for MS ms;\n"
    "                             prints \"locked\" once it holds it\n"
    "  private-bytes              print the program's private bytes (PrivateUsage)\n"
    "  gui-resources              print the program's GDI and USER object counts: GDI USER\n"
    "  copy-series JOURNAL SEED N TIMEOUT_MS  copy N texts generated from SEED, each waited for\n"
    "                             until it is the list's new top clip; add each clip's key and\n"
    "                             text to the file JOURNAL; print: CLIPS BYTES recorded\n"
    "  paste-series JOURNAL SEED N TIMEOUT_MS  N times with the paste target in front: the\n"
    "                             hotkey, then a key label from SEED; check the paste against\n"
    "                             JOURNAL and the list's new order\n"
    "  get-clip-block             print the clipboard's whole CF_TEXT block, NULs inside included\n"
    "                             (trailing NULs dropped), escaped; 1 when there is none\n";

void need_args(const std::vector<std::string>& args, size_t min, size_t max) {
  if (args.size() < min || args.size() > max) throw UsageError("wrong number of arguments for " + args[0]);
}

int run(const std::vector<std::string>& args) {
  if (args.empty()) throw UsageError("no command");
  const std::string& cmd = args[0];

  if (cmd == "set-clip") {
    need_args(args, 2, 2);
    set_clip(decode_escapes(args[1]));
    return 0;
  }
  if (cmd == "set-secret") {
    need_args(args, 3, 3);
    set_secret(decode_escapes(args[1]), args[2]);
    return 0;
  }
  if (cmd == "hold-clip") {
    need_args(args, 2, 64);
    const DWORD ms = parse_number(args[1], "milliseconds");
    size_t next = 2;
    if (next + 1 < args.size() && args[next] == "copy") {
      set_clip(decode_escapes(args[next + 1]));
      next += 2;
    }
    std::vector<std::string> chords;
    if (next < args.size()) {
      if (args[next] != "keys" || next + 1 == args.size()) throw UsageError("hold-clip: expected keys CHORD...");
      chords.assign(args.begin() + static_cast<std::ptrdiff_t>(next) + 1, args.end());
    }
    HWND owner = make_owner_window();
    // Opened again at once after a copy: the copy's notice reaches the
    // monitors while the clipboard is held.
    if (!wait_for(5000, [&] { return OpenClipboard(owner) != FALSE; })) throw Failure("OpenClipboard failed");
    const DWORD start = GetTickCount();
    for (const std::string& chord : chords) {
      press_chord(chord);
      Sleep(kPollMs);
    }
    const DWORD spent = GetTickCount() - start;
    if (spent < ms) Sleep(ms - spent);
    CloseClipboard();
    DestroyWindow(owner);
    return 0;
  }
  if (cmd == "clear-clip") {
    need_args(args, 1, 1);
    HWND owner = make_owner_window();
    {
      ClipboardSession session(owner);
      if (!EmptyClipboard()) throw Failure("EmptyClipboard failed");
    }
    DestroyWindow(owner);
    return 0;
  }
  if (cmd == "get-clip") {
    need_args(args, 1, 1);
    std::string text;
    if (!get_clip(text)) throw Failure("the clipboard holds no text");
    print_line(encode_escapes(text));
    return 0;
  }
  if (cmd == "wait-window") {
    need_args(args, 2, 2);
    DWORD timeout = parse_number(args[1], "timeout");
    if (!wait_for(timeout, [] {
          HWND main = find_main();
          return main && GetDlgItem(main, kTitleListId);
        }))
      throw Failure("no Solvane Clips window with a title list after " + args[1] + " ms");
    return 0;
  }
  if (cmd == "count") {
    need_args(args, 1, 1);
    std::printf("%d\n", list_count(require_list(require_main())));
    return 0;
  }
  if (cmd == "wait-count") {
    need_args(args, 3, 3);
    int want = static_cast<int>(parse_number(args[1], "count"));
    DWORD timeout = parse_number(args[2], "timeout");
    HWND list = require_list(require_main());
    int last = -1;
    if (!wait_for(timeout, [&] { return (last = list_count(list)) == want; }))
      throw Failure("the list holds " + std::to_string(last) + " clips after " + args[2] + " ms, expected " + args[1]);
    return 0;
  }
  if (cmd == "items" || cmd == "titles") {
    need_args(args, 1, 1);
    auto items = list_items(require_list(require_main()));
    for (size_t i = 0; i < items.size(); ++i)
      print_line(encode_escapes(cmd == "items" ? items[i] : title_of(items[i], static_cast<int>(i))));
    return 0;
  }
  if (cmd == "wait-title") {
    need_args(args, 4, 4);
    int index = static_cast<int>(parse_number(args[1], "item index"));
    std::string want = decode_escapes(args[2]);
    DWORD timeout = parse_number(args[3], "timeout");
    HWND list = require_list(require_main());
    std::string last = "(no such item)";
    if (!wait_for(timeout, [&] {
          auto items = list_items(list);
          if (index >= static_cast<int>(items.size())) return false;
          last = title_of(items[index], index);
          return last == want;
        }))
      throw Failure("item " + args[1] + " has title \"" + encode_escapes(last) + "\" after " + args[3] +
                    " ms, expected \"" + args[2] + "\"");
    return 0;
  }
  if (cmd == "command") {
    need_args(args, 2, 2);
    WORD id = command_id(args[1]);
    if (!PostMessageW(require_main(), WM_COMMAND, MAKEWPARAM(id, 0), 0)) throw Failure("PostMessage failed");
    return 0;
  }
  if (cmd == "close") {
    need_args(args, 1, 2);
    DWORD timeout = args.size() > 1 ? parse_number(args[1], "timeout") : 10000;
    HWND main = require_main();
    if (!PostMessageW(main, WM_CLOSE, 0, 0)) throw Failure("PostMessage(WM_CLOSE) failed");
    if (!wait_process_gone(main, timeout)) throw Failure("the program still runs " + std::to_string(timeout) + " ms after WM_CLOSE");
    return 0;
  }
  if (cmd == "save-and-kill" || cmd == "close-and-kill") {
    need_args(args, 2, 2);
    const DWORD delay = parse_number(args[1], "delay");
    const bool close = cmd == "close-and-kill";
    HWND main = require_main();
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    if (!process) throw Failure("OpenProcess failed for the program");
    if (!(close ? PostMessageW(main, WM_CLOSE, 0, 0)
                : PostMessageW(main, WM_COMMAND, MAKEWPARAM(command_id("save"), 0), 0))) {
      CloseHandle(process);
      throw Failure("PostMessage failed");
    }
    Sleep(delay);
    // As a crash or a power cut would: no chance to finish anything.
    const bool killed = TerminateProcess(process, 9) != FALSE;
    const bool gone = WaitForSingleObject(process, 10000) == WAIT_OBJECT_0;
    CloseHandle(process);
    if (!gone) throw Failure(killed ? "the program still runs after TerminateProcess" : "TerminateProcess failed");
    return 0;
  }
  if (cmd == "end-session") {
    need_args(args, 1, 1);
    LRESULT answer = send_or_fail(require_main(), WM_QUERYENDSESSION, 0, 0, "WM_QUERYENDSESSION");
    print_line(std::to_string(static_cast<long long>(answer)));
    return 0;
  }
  if (cmd == "end-session-and-kill") {
    // As Windows ends a session: the query, the end, then the process is
    // ended whether its message loop has finished or not.
    need_args(args, 1, 1);
    HWND main = require_main();
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    if (!process) throw Failure("OpenProcess failed for the program");
    const LRESULT answer = send_or_fail(main, WM_QUERYENDSESSION, 0, 0, "WM_QUERYENDSESSION");
    send_or_fail(main, WM_ENDSESSION, TRUE, 0, "WM_ENDSESSION");
    TerminateProcess(process, 0);
    const bool gone = WaitForSingleObject(process, 10000) == WAIT_OBJECT_0;
    CloseHandle(process);
    if (!gone) throw Failure("the program still runs after TerminateProcess");
    print_line(std::to_string(static_cast<long long>(answer)));
    return 0;
  }
  if (cmd == "hold-hotkey") {
    // As another program that took the combination first.
    need_args(args, 3, 3);
    UINT modifiers = 0;
    BYTE vk = 0;
    for (size_t start = 0;;) {
      const size_t plus = args[1].find('+', start);
      const std::string part = args[1].substr(start, plus == std::string::npos ? std::string::npos : plus - start);
      const BYTE code = key_code(part);
      if (code == VK_CONTROL) modifiers |= MOD_CONTROL;
      else if (code == VK_MENU) modifiers |= MOD_ALT;
      else if (code == VK_SHIFT) modifiers |= MOD_SHIFT;
      else vk = code;
      if (plus == std::string::npos) break;
      start = plus + 1;
    }
    if (!RegisterHotKey(nullptr, 1, modifiers, vk)) throw Failure("RegisterHotKey failed for " + args[1]);
    print_line("held");
    std::fflush(stdout);
    Sleep(parse_number(args[2], "milliseconds"));
    UnregisterHotKey(nullptr, 1);
    return 0;
  }
  if (cmd == "tray-forget" || cmd == "tray-present") {
    // tray-forget: the notification area loses the program's icon, as when
    // it restarts; tray-present: 1 when the icon is there, else 0.
    need_args(args, 1, 1);
    DWORD pid = 0;
    GetWindowThreadProcessId(require_main(), &pid);
    if (cmd == "tray-present") {
      print_line(has_tray_icon(pid) ? "1" : "0");
      return 0;
    }
    for (HWND window : process_windows(pid, L"TPUtilWindow")) {
      NOTIFYICONDATAW data{};
      data.cbSize = NOTIFYICONDATAW_V1_SIZE;
      data.hWnd = window;
      Shell_NotifyIconW(NIM_DELETE, &data);
    }
    return 0;
  }
  if (cmd == "taskbar-created") {
    need_args(args, 1, 1);
    const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(HWND_BROADCAST, message, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
      throw Failure("broadcasting TaskbarCreated failed (error " + std::to_string(GetLastError()) + ")");
    return 0;
  }
  if (cmd == "owner") {
    // The class of the window that owns the program's window of class
    // CLASS ("#32770" for its message box), or "none".
    need_args(args, 2, 2);
    const std::wstring cls(args[1].begin(), args[1].end());
    HWND window = find_program_window(require_main(), cls.c_str(), cls == L"#32770");
    if (!window) throw Failure("the program has no " + args[1] + " window");
    HWND owner = GetWindow(window, GW_OWNER);
    wchar_t name[64] = L"none";
    if (owner) GetClassNameW(owner, name, 64);
    print_line(narrow(name));
    return 0;
  }
  if (cmd == "control-rect") {
    need_args(args, 3, 3);
    const std::wstring cls(args[1].begin(), args[1].end());
    HWND window = find_program_window(require_main(), cls.c_str(), true);
    if (!window) throw Failure("no visible " + args[1] + " window of the program");
    HWND control = GetDlgItem(window, static_cast<int>(parse_number(args[2], "control id")));
    if (!control) throw Failure("no control " + args[2] + " in " + args[1]);
    RECT rc;
    GetWindowRect(control, &rc);
    print_line(rect_text(rc));
    return 0;
  }
  if (cmd == "set-text") {
    // Types TEXT into the control ID of the program's visible CLASS window.
    need_args(args, 4, 4);
    const std::wstring cls(args[1].begin(), args[1].end());
    HWND window = find_program_window(require_main(), cls.c_str(), true);
    if (!window) throw Failure("no visible " + args[1] + " window of the program");
    HWND control = GetDlgItem(window, static_cast<int>(parse_number(args[2], "control id")));
    if (!control) throw Failure("no control " + args[2] + " in " + args[1]);
    const std::string text = decode_escapes(args[3]);
    const std::wstring wide(text.begin(), text.end());  // the tests type ASCII
    send_or_fail(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()), "WM_SETTEXT");
    return 0;
  }
  if (cmd == "timer") {
    need_args(args, 2, 2);
    const DWORD id = parse_number(args[1], "timer id");
    if (!PostMessageW(require_main(), WM_TIMER, id, 0)) throw Failure("PostMessage(WM_TIMER) failed");
    return 0;
  }
  if (cmd == "lock-file") {
    // Holds the file open with no sharing, as a backup or virus scanner
    // may: nobody else can read, write, move or delete it meanwhile.
    need_args(args, 3, 3);
    const DWORD hold = parse_number(args[2], "milliseconds");
    HANDLE file = CreateFileA(args[1].c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw Failure("cannot open " + args[1] + " (error " + std::to_string(GetLastError()) + ")");
    print_line("locked");
    std::fflush(stdout);
    Sleep(hold);
    CloseHandle(file);
    return 0;
  }
  if (cmd == "boxes") {
    need_args(args, 1, 1);
    for (const auto& line : message_boxes()) print_line(encode_escapes(line));
    return 0;
  }
  if (cmd == "visible") {
    need_args(args, 1, 1);
    std::printf("%d\n", IsWindowVisible(require_main()) ? 1 : 0);
    return 0;
  }
  if (cmd == "target") {
    need_args(args, 1, 1);
    return run_target();
  }
  if (cmd == "wait-target") {
    need_args(args, 2, 2);
    DWORD timeout = parse_number(args[1], "timeout");
    if (!wait_for(timeout, [] { return FindWindowW(kTargetClass, kTargetCaption) != nullptr; }))
      throw Failure("no paste target window after " + args[1] + " ms");
    return 0;
  }
  if (cmd == "target-text") {
    need_args(args, 1, 1);
    print_line(encode_escapes(target_text(require_target())));
    return 0;
  }
  if (cmd == "target-close") {
    need_args(args, 1, 1);
    HWND frame = require_target();
    PostMessageW(frame, WM_CLOSE, 0, 0);
    if (!wait_for(5000, [&] { return !IsWindow(frame); })) throw Failure("the paste target did not close");
    return 0;
  }
  if (cmd == "keep") {
    need_args(args, 2, 2);
    DWORD timeout = parse_number(args[1], "timeout");
    // NOTE: Wine closes a named desktop, and with it the clipboard, about a
    // second after its last process ends. Touching the desktop makes this
    // process one of its users, so a text copied now is still there for a
    // program started later. Ends by itself in case nobody stops it.
    GetDesktopWindow();
    print_line("ready");
    std::fflush(stdout);
    Sleep(timeout);
    return 0;
  }
  if (cmd == "keys") {
    need_args(args, 2, 64);
    for (size_t i = 1; i < args.size(); ++i) {
      press_chord(args[i]);
      Sleep(kPollMs);  // lets the receiver see separate key strokes
    }
    return 0;
  }
  if (cmd == "wait-visible") {
    need_args(args, 3, 3);
    bool want = parse_number(args[1], "0 or 1") != 0;
    DWORD timeout = parse_number(args[2], "timeout");
    HWND main = require_main();
    if (!wait_for(timeout, [&] { return (IsWindowVisible(main) != FALSE) == want; }))
      throw Failure(std::string("the main window is still ") + (want ? "hidden" : "visible") + " after " + args[2] + " ms");
    return 0;
  }
  if (cmd == "window-rect") {
    need_args(args, 1, 1);
    RECT rc;
    if (!GetWindowRect(require_main(), &rc)) throw Failure("GetWindowRect failed");
    print_line(rect_text(rc));
    return 0;
  }
  if (cmd == "move-window") {
    need_args(args, 3, 3);
    int x = static_cast<int>(std::strtol(args[1].c_str(), nullptr, 10));
    int y = static_cast<int>(std::strtol(args[2].c_str(), nullptr, 10));
    if (!SetWindowPos(require_main(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE))
      throw Failure("SetWindowPos failed");
    return 0;
  }
  if (cmd == "cursor") {
    need_args(args, 1, 1);
    POINT p;
    if (!GetCursorPos(&p)) throw Failure("GetCursorPos failed");
    print_line(std::to_string(p.x) + " " + std::to_string(p.y));
    return 0;
  }
  if (cmd == "wait-cursor") {
    need_args(args, 4, 4);
    long x = std::strtol(args[1].c_str(), nullptr, 10);
    long y = std::strtol(args[2].c_str(), nullptr, 10);
    DWORD timeout = parse_number(args[3], "timeout");
    // NOTE: a move made by another process shows here only a moment later.
    POINT p{};
    if (!wait_for(timeout, [&] { return GetCursorPos(&p) && p.x == x && p.y == y; }))
      throw Failure("the pointer is at " + std::to_string(p.x) + " " + std::to_string(p.y) + " after " + args[3] +
                    " ms, expected " + args[1] + " " + args[2]);
    return 0;
  }
  if (cmd == "click") {
    need_args(args, 2, 2);
    int id = static_cast<int>(parse_number(args[1], "control id"));
    send_or_fail(require_child(require_main(), id), BM_CLICK, 0, 0, "BM_CLICK");
    return 0;
  }
  if (cmd == "button-state") {
    need_args(args, 2, 2);
    int id = static_cast<int>(parse_number(args[1], "control id"));
    LRESULT state = send_or_fail(require_child(require_main(), id), BM_GETCHECK, 0, 0, "BM_GETCHECK");
    std::printf("%d\n", state == BST_CHECKED ? 1 : 0);
    return 0;
  }
  if (cmd == "enabled") {
    need_args(args, 2, 2);
    int id = static_cast<int>(parse_number(args[1], "control id"));
    std::printf("%d\n", IsWindowEnabled(require_child(require_main(), id)) ? 1 : 0);
    return 0;
  }
  if (cmd == "mouse") {
    need_args(args, 4, 4);
    int x = static_cast<int>(std::strtol(args[1].c_str(), nullptr, 10));
    int y = static_cast<int>(std::strtol(args[2].c_str(), nullptr, 10));
    mouse_click(x, y, args[3]);
    return 0;
  }
  if (cmd == "wait-hint") {
    need_args(args, 3, 3);
    bool want = parse_number(args[1], "0 or 1") != 0;
    DWORD timeout = parse_number(args[2], "timeout");
    HWND main = require_main();
    HWND hint = nullptr;
    if (!wait_for(timeout, [&] {
          hint = find_program_hint(main);
          return (hint && IsWindowVisible(hint)) == want;
        }))
      throw Failure(std::string("the hint window is still ") + (want ? "hidden or absent" : "visible") + " after " +
                    args[2] + " ms");
    if (want) {
      RECT rc;
      GetWindowRect(hint, &rc);
      print_line(rect_text(rc));
    }
    return 0;
  }
  if (cmd == "work-area") {
    need_args(args, 1, 1);
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
  if (cmd == "tray-icon") {
    need_args(args, 1, 1);
    POINT p = tray_icon_point();
    print_line(std::to_string(p.x) + " " + std::to_string(p.y));
    return 0;
  }
  if (cmd == "fingerprint") {
    need_args(args, 5, 5);
    int x = static_cast<int>(std::strtol(args[1].c_str(), nullptr, 10));
    int y = static_cast<int>(std::strtol(args[2].c_str(), nullptr, 10));
    int w = static_cast<int>(parse_number(args[3], "width"));
    int h = static_cast<int>(parse_number(args[4], "height"));
    char buf[32];
    std::snprintf(buf, sizeof buf, "%016llx", screen_fingerprint(x, y, w, h));
    print_line(buf);
    return 0;
  }
  if (cmd == "wait-menu") {
    need_args(args, 2, 2);
    DWORD timeout = parse_number(args[1], "timeout");
    HWND main = require_main();
    HWND menu = nullptr;
    if (!wait_for(timeout, [&] { return (menu = find_program_menu(main)) != nullptr; }))
      throw Failure("no popup menu of the program after " + args[1] + " ms");
    RECT rc;
    GetWindowRect(menu, &rc);
    print_line(rect_text(rc));
    return 0;
  }
  if (cmd == "wait-class") {
    need_args(args, 3, 3);
    const std::wstring cls(args[1].begin(), args[1].end());
    DWORD timeout = parse_number(args[2], "timeout");
    HWND main = require_main();
    HWND found = nullptr;
    if (!wait_for(timeout, [&] { return (found = find_program_window(main, cls.c_str(), true)) != nullptr; }))
      throw Failure("no visible " + args[1] + " window of the program after " + args[2] + " ms");
    RECT rc;
    GetWindowRect(found, &rc);
    print_line(rect_text(rc));
    return 0;
  }
  if (cmd == "wait-exit") {
    need_args(args, 2, 2);
    DWORD timeout = parse_number(args[1], "timeout");
    HWND main = find_main();
    if (main && !wait_process_gone(main, timeout)) throw Failure("the program still runs after " + args[1] + " ms");
    return 0;
  }
  if (cmd == "wait-target-text") {
    need_args(args, 3, 3);
    std::string want = decode_escapes(args[1]);
    DWORD timeout = parse_number(args[2], "timeout");
    HWND frame = require_target();
    std::string last;
    if (!wait_for(timeout, [&] { return (last = target_text(frame)) == want; }))
      throw Failure("the paste target holds \"" + encode_escapes(last) + "\" after " + args[2] + " ms, expected \"" +
                    args[1] + "\"");
    return 0;
  }
  if (cmd == "target-ctrl-v") {
    need_args(args, 1, 1);
    print_line(std::to_string(send_or_fail(require_target(), kTargetCtrlVCount, 0, 0, "the Ctrl+V count")));
    return 0;
  }
  if (cmd == "target-clear") {
    need_args(args, 1, 1);
    HWND edit = GetDlgItem(require_target(), kTargetEditId);
    if (!edit) throw Failure("the paste target has no EDIT child");
    send_or_fail(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""), "WM_SETTEXT");
    return 0;
  }
  if (cmd == "time-start") {
    need_args(args, 4, 4);
    StartTimes t = time_start(args[1], args[2], parse_number(args[3], "timeout"));
    print_line(ms_text(t.icon) + " " + ms_text(t.ready) + " " + ms_text(t.close) + " " + std::to_string(t.readyPeak) +
               " " + std::to_string(t.peak));
    return 0;
  }
  if (cmd == "wait-started") {
    need_args(args, 2, 2);
    DWORD timeout = parse_number(args[1], "timeout");
    if (!wait_for(timeout, [] {
          HWND main = find_main();
          return main && start_done(main);
        }))
      throw Failure("the program has not finished its start after " + args[1] + " ms");
    return 0;
  }
  if (cmd == "time-paste") {
    need_args(args, 2, 3);
    int rounds = static_cast<int>(parse_number(args[1], "rounds"));
    if (rounds < 1) throw UsageError("time-paste needs at least one round");
    time_paste(rounds, args.size() > 2 ? parse_number(args[2], "timeout") : 10000);
    return 0;
  }
  if (cmd == "memory") {
    need_args(args, 1, 1);
    DWORD pid = 0;
    GetWindowThreadProcessId(require_main(), &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) throw Failure("OpenProcess failed (error " + std::to_string(GetLastError()) + ")");
    SIZE_T current = 0;
    SIZE_T peak = peak_working_set(process, &current);
    CloseHandle(process);
    if (peak == 0) throw Failure("GetProcessMemoryInfo failed");
    print_line(std::to_string(peak) + " " + std::to_string(current));
    return 0;
  }
  if (cmd == "get-clip-block") {
    need_args(args, 1, 1);
    // get-clip stops at the first NUL, as a pasting program does; this
    // shows whether the program put the rest of a text on the clipboard.
    ClipboardSession session(nullptr);
    HANDLE mem = GetClipboardData(CF_TEXT);
    const char* src = mem ? static_cast<const char*>(GlobalLock(mem)) : nullptr;
    if (!src) throw Failure("the clipboard holds no text");
    std::string block(src, GlobalSize(mem));
    GlobalUnlock(mem);
    block.erase(block.find_last_not_of('\0') + 1);
    print_line(encode_escapes(block));
    return 0;
  }
  if (cmd == "private-bytes") {
    need_args(args, 1, 1);
    print_line(std::to_string(private_bytes()));
    return 0;
  }
  if (cmd == "gui-resources") {
    need_args(args, 1, 1);
    print_line(gui_resources());
    return 0;
  }
  if (cmd == "copy-series" || cmd == "paste-series") {
    need_args(args, 5, 5);
    const unsigned long long seed = parse_number(args[2], "seed");
    const int count = static_cast<int>(parse_number(args[3], "count"));
    const DWORD timeout = parse_number(args[4], "timeout");
    if (cmd == "copy-series") {
      copy_series(args[1], seed, count, timeout);
    } else {
      paste_series(args[1], seed, count, timeout);
    }
    return 0;
  }
  throw UsageError("unknown command: " + cmd);
}

// A crash says so: with Wine's debug output off it would end the driver
// with nothing on stderr, and the test would not know why.
LONG WINAPI report_crash(EXCEPTION_POINTERS* info) {
  std::fprintf(stderr, "solvane_driver: crashed with exception 0x%08lx at %p\n",
               static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode),
               info->ExceptionRecord->ExceptionAddress);
  std::fflush(stderr);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int main(int argc, char** argv) {
  SetUnhandledExceptionFilter(report_crash);
  // Plain LF endings, so bash compares lines without stripping CRs.
  _setmode(_fileno(stdout), _O_BINARY);
  std::vector<std::string> args(argv + 1, argv + argc);
  try {
    return run(args);
  } catch (const UsageError& e) {
    std::fprintf(stderr, "solvane_driver: %s\n%s", e.message().c_str(), kUsage);
    return 2;
  } catch (const Failure& e) {
    std::fprintf(stderr, "solvane_driver %s: %s\n", args.empty() ? "" : args[0].c_str(), e.message().c_str());
    return 1;
  }
}
