// solvane_driver: plays the user against a running SolvaneClips.exe.
//
// One subcommand per run, so a bash test reads like a session at the desk:
// copy text, read the clip list, pick a menu command, close the program.
// Text on the command line and in the output uses C-style escapes (see
// decode_escapes / encode_escapes) so every byte survives the shell.
//
// Exit codes: 0 done, 1 the desktop did not do what was asked (timeout,
// no window, clipboard busy, malformed list item), 2 bad command line.
//
// This file holds the table of commands and the usage text; each command
// is a function in the file of its concern (see driver.h).

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>

#include "driver.h"

namespace driver {
namespace {

const char kUsage[] =
    "usage: solvane_driver COMMAND [ARGS]\n"
    "  set-clip TEXT              put TEXT (escapes \\r \\n \\t \\\\ \\xHH) on the clipboard as CF_TEXT\n"
    "  set-secret TEXT ignore|exclude|history0  put TEXT on the clipboard with a format that\n"
    "                             asks monitors to skip it (history0: CanIncludeInClipboardHistory = 0)\n"
    "  clear-clip                 empty the clipboard\n"
    "  hold-clip MS [copy TEXT] [keys CHORD...]  (copy TEXT first, then) hold the clipboard open\n"
    "                             for MS ms, pressing the keys once it is held, as a busy program does\n"
    "  get-clip                   print the clipboard's CF_TEXT, escaped; 1 when there is none\n"
    "  set-clip-utf8 TEXT         put TEXT (UTF-8, escaped) on the clipboard as CF_UNICODETEXT\n"
    "  get-clip-utf8              print the clipboard's CF_UNICODETEXT in UTF-8, escaped\n"
    "  title-utf8 I               print item I's title as the list holds it, in UTF-8, escaped\n"
    "  target-text-utf8           print the paste target's text in UTF-8, escaped\n"
    "  wait-window TIMEOUT_MS     wait for the main window and its title list\n"
    "  count                      print the number of clips in the title list\n"
    "  wait-count N TIMEOUT_MS    wait until the list holds N clips\n"
    "  items                      print each list item in full, escaped\n"
    "  titles [ID]                print each item's title (of list ID, the title list unless named);\n"
    "                             1 when an item is malformed\n"
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
    "  window-rect [CLASS]        print the main window's (or the program's CLASS window's) screen\n"
    "                             rectangle: left top right bottom\n"
    "  move-window X Y [CLASS]    move the main window (or CLASS window; no activation, no resize)\n"
    "  display-change             send WM_DISPLAYCHANGE to the program's windows, as a monitor change does\n"
    "  foreground                 print the foreground window's class and visible|hidden, or none\n"
    "  list-state ID              print list control ID's top index, line height and count\n"
    "  scroll TOP                 scroll the title list to top index TOP\n"
    "  type-chars ID TEXT         post TEXT (UTF-8, escaped) as WM_CHAR to the main window's control ID,\n"
    "                             as a keyboard layout or input method types it\n"
    "  control ID                 print control ID's state: VISIBLE SELECTED TEXT (1|0, its list\n"
    "                             selection or -1, its text in UTF-8, escaped)\n"
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
    "                             ICON_MS READY_MS CLOSE_MS READY_PEAK_BYTES PEAK_BYTES ALL_MS: ms\n"
    "                             until the taskbar holds its icon, until its window is placed, its\n"
    "                             message loop answers and line 0 is the title file's first, from\n"
    "                             WM_CLOSE to its end; its peak working set when ready and the last\n"
    "                             one read before it ended; ms until the list holds every line\n"
    "  watch-top N TIMEOUT_MS     print \"watching\", then for each of N new lines on top of the list\n"
    "                             (or until TIMEOUT_MS): UNIX_US TITLE, the wall clock in us since\n"
    "                             1970 when it was seen and its title, escaped\n"
    "  wait-started TIMEOUT_MS    wait until the program has loaded its files: its window is placed\n"
    "                             in the middle of the screen and its message loop answers\n"
    "  time-paste N [TIMEOUT_MS]  with the program and the paste target running, N times: the\n"
    "                             hotkey, then a key label (1, 2, ... in turn); print one line a\n"
    "                             round and then the medians: I|median SHOWN_MS CTRL_MS LANDED_MS\n"
    "                             (hotkey to window visible, label key to the program's first\n"
    "                             synthesised Ctrl key-down, label key to the paste in the target,\n"
    "                             \"lost\" when it never lands), then: lost COUNT\n"
    "  time-search N [TIMEOUT_MS]  with the program running and the paste target in front: the\n"
    "                             hotkey, F3, then N keystrokes in the search line (five letters, each\n"
    "                             narrowing, then five backspaces); print I MS for each, key press\n"
    "                             until the matches are drawn, then: open MS, median MS, max MS,\n"
    "                             memory BEFORE MOST (working set before F3, most while searching)\n"
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

// A command: its name, how many words its command line has (the name
// included), and the function that runs it.
struct Command {
  const char* name;
  size_t minArgs;
  size_t maxArgs;
  int (*run)(const Args& args);
};

constexpr Command kTable[] = {
    {"set-clip", 2, 2, cmd_set_clip},
    {"set-clip-utf8", 2, 2, cmd_set_clip_utf8},
    {"get-clip-utf8", 1, 1, cmd_get_clip_utf8},
    {"title-utf8", 2, 2, cmd_title_utf8},
    {"target-text-utf8", 1, 1, cmd_target_text_utf8},
    {"set-secret", 3, 3, cmd_set_secret},
    {"hold-clip", 2, 64, cmd_hold_clip},
    {"clear-clip", 1, 1, cmd_clear_clip},
    {"get-clip", 1, 1, cmd_get_clip},
    {"get-clip-block", 1, 1, cmd_get_clip_block},
    {"wait-window", 2, 2, cmd_wait_window},
    {"count", 1, 1, cmd_count},
    {"wait-count", 3, 3, cmd_wait_count},
    {"items", 1, 1, cmd_items},
    {"titles", 1, 2, cmd_titles},
    {"wait-title", 4, 4, cmd_wait_title},
    {"command", 2, 2, cmd_command},
    {"close", 1, 2, cmd_close},
    {"save-and-kill", 2, 2, cmd_save_and_kill},
    {"close-and-kill", 2, 2, cmd_close_and_kill},
    {"end-session", 1, 1, cmd_end_session},
    {"end-session-and-kill", 1, 1, cmd_end_session_and_kill},
    {"hold-hotkey", 3, 3, cmd_hold_hotkey},
    {"tray-forget", 1, 1, cmd_tray_forget},
    {"tray-present", 1, 1, cmd_tray_present},
    {"taskbar-created", 1, 1, cmd_taskbar_created},
    {"owner", 2, 2, cmd_owner},
    {"control-rect", 3, 3, cmd_control_rect},
    {"set-text", 4, 4, cmd_set_text},
    {"timer", 2, 2, cmd_timer},
    {"lock-file", 3, 3, cmd_lock_file},
    {"boxes", 1, 1, cmd_boxes},
    {"visible", 1, 1, cmd_visible},
    {"target", 1, 1, cmd_target},
    {"wait-target", 2, 2, cmd_wait_target},
    {"target-text", 1, 1, cmd_target_text},
    {"target-close", 1, 1, cmd_target_close},
    {"keep", 2, 2, cmd_keep},
    {"keys", 2, 64, cmd_keys},
    {"wait-visible", 3, 3, cmd_wait_visible},
    {"window-rect", 1, 2, cmd_window_rect},
    {"move-window", 3, 4, cmd_move_window},
    {"display-change", 1, 1, cmd_display_change},
    {"foreground", 1, 1, cmd_foreground},
    {"list-state", 2, 2, cmd_list_state},
    {"scroll", 2, 2, cmd_scroll},
    {"control", 2, 2, cmd_control},
    {"type-chars", 3, 3, cmd_type_chars},
    {"cursor", 1, 1, cmd_cursor},
    {"wait-cursor", 4, 4, cmd_wait_cursor},
    {"click", 2, 2, cmd_click},
    {"button-state", 2, 2, cmd_button_state},
    {"enabled", 2, 2, cmd_enabled},
    {"mouse", 4, 4, cmd_mouse},
    {"wait-hint", 3, 3, cmd_wait_hint},
    {"work-area", 1, 1, cmd_work_area},
    {"tray-icon", 1, 1, cmd_tray_icon},
    {"fingerprint", 5, 5, cmd_fingerprint},
    {"wait-menu", 2, 2, cmd_wait_menu},
    {"wait-class", 3, 3, cmd_wait_class},
    {"wait-exit", 2, 2, cmd_wait_exit},
    {"wait-target-text", 3, 3, cmd_wait_target_text},
    {"target-ctrl-v", 1, 1, cmd_target_ctrl_v},
    {"target-clear", 1, 1, cmd_target_clear},
    {"time-start", 4, 4, cmd_time_start},
    {"watch-top", 3, 3, cmd_watch_top},
    {"wait-started", 2, 2, cmd_wait_started},
    {"time-paste", 2, 3, cmd_time_paste},
    {"time-search", 2, 3, cmd_time_search},
    {"memory", 1, 1, cmd_memory},
    {"private-bytes", 1, 1, cmd_private_bytes},
    {"gui-resources", 1, 1, cmd_gui_resources},
    {"copy-series", 5, 5, cmd_copy_series},
    {"paste-series", 5, 5, cmd_paste_series},
};

int run(const Args& args) {
  if (args.empty()) throw UsageError("no command");
  for (const Command& command : kTable) {
    if (args[0] != command.name) continue;
    if (args.size() < command.minArgs || args.size() > command.maxArgs)
      throw UsageError("wrong number of arguments for " + args[0]);
    return command.run(args);
  }
  throw UsageError("unknown command: " + args[0]);
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
}  // namespace driver

int main(int argc, char** argv) {
  SetUnhandledExceptionFilter(driver::report_crash);
  // Plain LF endings, so bash compares lines without stripping CRs.
  _setmode(_fileno(stdout), _O_BINARY);
  const driver::Args args(argv + 1, argv + argc);
  try {
    return driver::run(args);
  } catch (const driver::UsageError& e) {
    std::fprintf(stderr, "solvane_driver: %s\n%s", e.message().c_str(), driver::kUsage);
    return 2;
  } catch (const driver::Failure& e) {
    std::fprintf(stderr, "solvane_driver %s: %s\n", args.empty() ? "" : args[0].c_str(), e.message().c_str());
    return 1;
  }
}
