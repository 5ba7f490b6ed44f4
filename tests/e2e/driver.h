// Internal header of solvane_driver: the program's contract as the driver
// knows it, the failures a command ends with, the helpers the commands
// share, and the commands themselves (one function each; driver_main.cpp
// holds the table that names them).
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace driver {

// Our own copies of the program's contract: the driver must not build
// against the program's headers, or a wrong constant would agree with itself.
constexpr wchar_t kMainClass[] = L"TForm1";
constexpr wchar_t kMainCaption[] = L"Solvane Clips";
constexpr int kTitleListId = 1001;
constexpr size_t kTitlePadding = 70;
constexpr char kHeaderMark[] = "/:hdr:\\";
constexpr size_t kKeyLength = 13;

constexpr wchar_t kTargetClass[] = L"SolvaneDriverTarget";
constexpr wchar_t kTargetCaption[] = L"Solvane Paste Target";
constexpr int kTargetEditId = 100;

// Rides on every key the driver sends (keybd_event's extra info), so a
// keyboard hook can tell them from the keys the program synthesises.
constexpr ULONG_PTR kDriverKeyMark = 0x534F4C56;

// A hung program must fail the test, not hang it.
constexpr UINT kSendTimeoutMs = 5000;
constexpr DWORD kPollMs = 50;

// Timing loops poll this often: fine enough for what they measure, coarse
// enough to leave the two cores to the program and the desktop.
constexpr DWORD kTimingPollMs = 2;

constexpr char kLabels[] = "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// Exit code 1: the desktop did not do what was asked.
class Failure {
 public:
  explicit Failure(std::string message) : message_(std::move(message)) {}
  const std::string& message() const { return message_; }

 private:
  std::string message_;
};

// Exit code 2: a bad command line; the usage text follows the message.
class UsageError : public Failure {
 public:
  using Failure::Failure;
};

// The command line: the command's name first, then its arguments.
using Args = std::vector<std::string>;

// ---- text (text.cpp) ----
std::string decode_escapes(const std::string& in);
std::string encode_escapes(const std::string& in);
unsigned long parse_number(const std::string& text, const char* what);
// Wide text in a code page's bytes (the program's ANSI one, or CP_UTF8).
std::string narrow(const std::wstring& wide, UINT codePage = CP_ACP);
std::string hwnd_text(HWND hwnd);
// ASCII text (a class name, a control's text) as a wide string.
std::wstring wide_ascii(const std::string& ascii);
// A whole decimal number, negative ones too; 0 for anything else.
int int_arg(const std::string& text);
void print_line(const std::string& text);
// "left top right bottom", on a line of its own.
void print_rect(const RECT& rc);

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

// As wait_for; on timeout the command fails with why() (read after the
// wait, so it can tell what was seen last).
template <typename Pred, typename Why>
void wait_or_fail(DWORD timeout_ms, Pred want, Why why) {
  if (!wait_for(timeout_ms, want)) throw Failure(why());
}

// Milliseconds on the performance counter: only differences mean anything.
double now_ms();

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

// ---- the program's windows (windows.cpp) ----
// A list line's title, padding, header mark and key: the part after the title.
constexpr size_t kItemTail = kTitlePadding + sizeof kHeaderMark - 1 + kKeyLength;
HWND find_main();
HWND require_main();
HWND require_list(HWND main);
HWND require_child(HWND main, int id);
LRESULT send_or_fail(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, const char* what);
int list_count(HWND list);
std::vector<std::string> list_items(HWND list);
std::string list_item(HWND list, int index);
// The line as the list holds it, in UTF-16.
std::wstring list_item_wide(HWND list, int index);
std::string title_of(const std::string& item, int index);
std::string key_of(const std::string& item);
std::string window_text(HWND hwnd);
std::wstring window_text_wide(HWND hwnd);
// Every top-level window on the desktop.
std::vector<HWND> top_windows();
std::vector<HWND> process_windows(DWORD pid, const wchar_t* className);
// The process that made the window (0 for none), and that process opened
// with the access asked for, or a failure.
DWORD process_of(HWND hwnd);
HANDLE open_program(HWND main, DWORD access);
// The window's class name (ASCII), "" for none.
std::string class_name(HWND hwnd);
// Whether the window's thread answers a message within the time.
bool answers(HWND hwnd, DWORD timeout_ms);
HWND find_program_window(HWND main, const wchar_t* className, bool visibleOnly);
std::string rect_text(const RECT& rc);
// The window's place on the screen, printed as print_rect does.
void print_window_rect(HWND hwnd);
bool has_tray_icon(DWORD pid);

// ---- clipboard (clipboard.cpp) ----
// One format's bytes for put_clipboard; `name` names it in a failure.
struct ClipData {
  UINT format;
  std::string bytes;
  std::string name;
};
// Empties the clipboard and puts these on it in one open, as a program
// that copies does; the clipboard owns the data from then on.
void put_clipboard(const std::vector<ClipData>& data);
void set_clip(const std::string& text);
bool get_clip(std::string& text);

// ---- paste target (target.cpp) ----
constexpr UINT kTargetCtrlVCount = WM_APP + 41;
// The clipboard held open for the length of a scope.
class ClipboardSession {
 public:
  explicit ClipboardSession(HWND owner);
  ~ClipboardSession() { CloseClipboard(); }
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;
};
// A window to own what the driver puts on the clipboard; destroyed at
// exit, the data stays.
HWND make_owner_window();
HWND require_target();
// The paste target's EDIT control, or a failure.
HWND require_target_edit(HWND frame);
std::string target_text(HWND frame);

// ---- input (input.cpp) ----
BYTE key_code(const std::string& name);
// The keys of a chord such as "ctrl+shift+v", in order.
std::vector<BYTE> chord_keys(const std::string& chord);
void key_event(BYTE vk, bool up);
void press_chord(const std::string& chord);

// ---- timing (timing.cpp) ----
double median(std::vector<double> values);
std::string ms_text(double ms);
bool start_done(HWND main);

// ---- the commands ----
// clipboard.cpp
int cmd_set_clip(const Args& args);
int cmd_set_clip_utf8(const Args& args);
int cmd_get_clip_utf8(const Args& args);
int cmd_title_utf8(const Args& args);
int cmd_target_text_utf8(const Args& args);
int cmd_set_secret(const Args& args);
int cmd_hold_clip(const Args& args);
int cmd_clear_clip(const Args& args);
int cmd_get_clip(const Args& args);
int cmd_get_clip_block(const Args& args);
// windows.cpp
int cmd_wait_window(const Args& args);
int cmd_count(const Args& args);
int cmd_wait_count(const Args& args);
int cmd_items(const Args& args);
int cmd_titles(const Args& args);
int cmd_wait_title(const Args& args);
int cmd_visible(const Args& args);
int cmd_wait_visible(const Args& args);
int cmd_window_rect(const Args& args);
int cmd_move_window(const Args& args);
int cmd_display_change(const Args& args);
int cmd_foreground(const Args& args);
int cmd_list_state(const Args& args);
int cmd_scroll(const Args& args);
int cmd_control(const Args& args);
int cmd_type_chars(const Args& args);
int cmd_click(const Args& args);
int cmd_button_state(const Args& args);
int cmd_enabled(const Args& args);
// popups.cpp
int cmd_boxes(const Args& args);
int cmd_wait_hint(const Args& args);
int cmd_wait_menu(const Args& args);
int cmd_wait_class(const Args& args);
int cmd_owner(const Args& args);
int cmd_control_rect(const Args& args);
int cmd_set_text(const Args& args);
int cmd_type_text(const Args& args);
int cmd_children(const Args& args);
// program.cpp
int cmd_command(const Args& args);
int cmd_timer(const Args& args);
int cmd_close(const Args& args);
int cmd_wait_exit(const Args& args);
int cmd_save_and_kill(const Args& args);
int cmd_close_and_kill(const Args& args);
int cmd_end_session(const Args& args);
int cmd_end_session_and_kill(const Args& args);
int cmd_tray_forget(const Args& args);
int cmd_tray_present(const Args& args);
int cmd_taskbar_created(const Args& args);
int cmd_lock_file(const Args& args);
int cmd_keep(const Args& args);
// target.cpp
int cmd_target(const Args& args);
int cmd_wait_target(const Args& args);
int cmd_target_text(const Args& args);
int cmd_target_close(const Args& args);
int cmd_wait_target_text(const Args& args);
int cmd_target_ctrl_v(const Args& args);
int cmd_target_clear(const Args& args);
// input.cpp
int cmd_keys(const Args& args);
int cmd_hold_hotkey(const Args& args);
int cmd_mouse(const Args& args);
int cmd_cursor(const Args& args);
int cmd_wait_cursor(const Args& args);
int cmd_work_area(const Args& args);
int cmd_tray_icon(const Args& args);
int cmd_fingerprint(const Args& args);
// fonts.cpp
int cmd_font_face(const Args& args);
int cmd_icon_sizes(const Args& args);
// timing.cpp
int cmd_time_start(const Args& args);
int cmd_watch_top(const Args& args);
int cmd_wait_started(const Args& args);
int cmd_memory(const Args& args);
// paste_timing.cpp
int cmd_time_paste(const Args& args);
int cmd_share_frames(const Args& args);
int cmd_time_arrival(const Args& args);
int cmd_time_search(const Args& args);
// resources.cpp
int cmd_private_bytes(const Args& args);
int cmd_gui_resources(const Args& args);
// series.cpp
int cmd_copy_series(const Args& args);
int cmd_paste_series(const Args& args);

}  // namespace driver
