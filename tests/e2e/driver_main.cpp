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
// This file holds the table of commands, each with its line of the usage
// text; each command is a function in the file of its concern (see
// driver.h).

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>

#include "driver.h"

namespace driver {
namespace {

// A command: its name, how many words its command line has (the name
// included), the function that runs it, and its line in the usage text:
// its arguments, a tab, then what it does (a line break there goes on in
// the column of the descriptions).
struct Command {
  const char* name;
  size_t minArgs;
  size_t maxArgs;
  int (*run)(const Args& args);
  const char* usage;
};

constexpr Command kTable[] = {
    {"set-clip", 2, 2, cmd_set_clip, "TEXT\tput TEXT (escapes \\r \\n \\t \\\\ \\xHH) on the clipboard as CF_TEXT"},
    {"set-secret", 3, 3, cmd_set_secret,
     "TEXT ignore|exclude|history0\tput TEXT on the clipboard with a format that\n"
     "asks monitors to skip it (history0: CanIncludeInClipboardHistory = 0)"},
    {"clear-clip", 1, 1, cmd_clear_clip, "\tempty the clipboard"},
    {"hold-clip", 2, 64, cmd_hold_clip,
     "MS [copy TEXT] [keys CHORD...]\t(copy TEXT first, then) hold the clipboard open\n"
     "for MS ms, pressing the keys once it is held, as a busy program does"},
    {"get-clip", 1, 1, cmd_get_clip, "\tprint the clipboard's CF_TEXT, escaped; 1 when there is none"},
    {"set-clip-utf8", 2, 2, cmd_set_clip_utf8, "TEXT\tput TEXT (UTF-8, escaped) on the clipboard as CF_UNICODETEXT"},
    {"get-clip-utf8", 1, 1, cmd_get_clip_utf8, "\tprint the clipboard's CF_UNICODETEXT in UTF-8, escaped"},
    {"title-utf8", 2, 2, cmd_title_utf8, "I\tprint item I's title as the list holds it, in UTF-8, escaped"},
    {"target-text-utf8", 1, 1, cmd_target_text_utf8, "\tprint the paste target's text in UTF-8, escaped"},
    {"wait-window", 2, 2, cmd_wait_window, "TIMEOUT_MS\twait for the main window and its title list"},
    {"count", 1, 1, cmd_count, "\tprint the number of clips in the title list"},
    {"share-frames", 2, 2, cmd_share_frames, "FILE\tprint where each whole frame of a shared-folder file ends"},
    {"time-arrival", 5, 5, cmd_time_arrival,
     "SRC DST TEXT TIMEOUT_MS\tput SRC in place as DST (written aside, renamed) and print the ms\n"
     "until line 0's title is TEXT (escaped)"},
    {"wait-count", 3, 3, cmd_wait_count, "N TIMEOUT_MS\twait until the list holds N clips"},
    {"items", 1, 1, cmd_items, "\tprint each list item in full, escaped"},
    {"titles", 1, 2, cmd_titles,
     "[ID]\tprint each item's title (of list ID, the title list unless named);\n"
     "1 when an item is malformed"},
    {"wait-title", 4, 4, cmd_wait_title, "I TEXT TIMEOUT_MS\twait until item I's title is TEXT (escaped)"},
    {"command", 2, 2, cmd_command, "ID|caching|save|clear|quit|settings\tpost WM_COMMAND to the main window"},
    {"close", 1, 2, cmd_close, "[TIMEOUT_MS]\tpost WM_CLOSE and wait for the program to end"},
    {"end-session", 1, 1, cmd_end_session, "\tsend WM_QUERYENDSESSION and print the answer"},
    {"save-and-kill", 2, 2, cmd_save_and_kill,
     "DELAY_MS\tpost Save Clips, then end the program by force DELAY_MS later"},
    {"close-and-kill", 2, 2, cmd_close_and_kill,
     "DELAY_MS\tthe same with WM_CLOSE, which saves every file on the way out"},
    {"boxes", 1, 1, cmd_boxes, "\tprint the message boxes on screen: caption: texts"},
    {"visible", 1, 1, cmd_visible, "\tprint 1 when the main window is visible, else 0"},
    {"target", 1, 1, cmd_target, "\topen a visible paste target window; runs until closed"},
    {"wait-target", 2, 2, cmd_wait_target, "TIMEOUT_MS\twait for the paste target window"},
    {"target-text", 1, 1, cmd_target_text, "\tprint the paste target's text, escaped"},
    {"target-close", 1, 1, cmd_target_close, "\tclose the paste target"},
    {"keep", 2, 2, cmd_keep, "TIMEOUT_MS\thold the Wine desktop (and its clipboard) open for a while"},
    {"keys", 2, 64, cmd_keys, "CHORD...\ttype chords like ctrl+v, down, enter, alt+f4, 0x41"},
    {"wait-visible", 3, 3, cmd_wait_visible, "0|1 TIMEOUT_MS\twait until the main window is hidden (0) or shown (1)"},
    {"window-rect", 1, 2, cmd_window_rect,
     "[CLASS]\tprint the main window's (or the program's CLASS window's) screen\n"
     "rectangle: left top right bottom"},
    {"move-window", 3, 4, cmd_move_window,
     "X Y [CLASS]\tmove the main window (or CLASS window; no activation, no resize)"},
    {"display-change", 1, 1, cmd_display_change,
     "\tsend WM_DISPLAYCHANGE to the program's windows, as a monitor change does"},
    {"foreground", 1, 1, cmd_foreground, "\tprint the foreground window's class and visible|hidden, or none"},
    {"list-state", 2, 2, cmd_list_state, "ID\tprint list control ID's top index, line height and count"},
    {"scroll", 2, 2, cmd_scroll, "TOP\tscroll the title list to top index TOP"},
    {"control", 2, 2, cmd_control,
     "ID\tprint control ID's state: VISIBLE SELECTED TEXT (1|0, its list\n"
     "selection or -1, its text in UTF-8, escaped)"},
    {"type-chars", 3, 3, cmd_type_chars,
     "ID TEXT\tpost TEXT (UTF-8, escaped) as WM_CHAR to the main window's control ID,\n"
     "as a keyboard layout or input method types it"},
    {"cursor", 1, 1, cmd_cursor, "\tprint the pointer's position: x y"},
    {"wait-cursor", 4, 4, cmd_wait_cursor, "X Y TIMEOUT_MS\twait until the pointer is at X Y"},
    {"click", 2, 2, cmd_click, "ID\tclick the main window's button ID (BM_CLICK)"},
    {"button-state", 2, 2, cmd_button_state, "ID\tprint 1 when button ID is down (checked), else 0"},
    {"enabled", 2, 2, cmd_enabled, "ID\tprint 1 when the main window's control ID takes input, else 0"},
    {"mouse", 4, 4, cmd_mouse, "X Y left|right|double\tmove the pointer to X Y and click there (real input)"},
    {"work-area", 1, 1, cmd_work_area,
     "\tthe work area (GetMonitorInfo rcWork) of the pointer's monitor and\n"
     "the taskbar's rectangle (Shell_TrayWnd): LEFT TOP RIGHT BOTTOM each"},
    {"wait-hint", 3, 3, cmd_wait_hint,
     "0|1 TIMEOUT_MS\twait until the program's hint window (THintWindow) is hidden or\n"
     "absent (0) or visible (1); print its rectangle when visible"},
    {"tray-icon", 1, 1, cmd_tray_icon, "\tprint the centre of the right-most icon in the taskbar: x y"},
    {"fingerprint", 5, 5, cmd_fingerprint, "X Y W H\tprint a hash of the screen's pixels in that rectangle"},
    {"font-face", 3, 3, cmd_font_face,
     "FACE HEIGHT\tprint the face Wine draws FACE with at a character height of HEIGHT pixels,\n"
     "a tab and its file (? when Wine does not say)"},
    {"icon-sizes", 2, 2, cmd_icon_sizes, "EXE\tprint the widths of the icon images in EXE's resources"},
    {"wait-menu", 2, 2, cmd_wait_menu, "TIMEOUT_MS\twait for the program's popup menu; print its rectangle"},
    {"wait-exit", 2, 2, cmd_wait_exit, "TIMEOUT_MS\twait until the program's process has ended"},
    {"wait-class", 3, 3, cmd_wait_class,
     "CLASS TIMEOUT_MS\twait for a visible top-level window of the program of that\n"
     "class; print its rectangle"},
    {"wait-target-text", 3, 3, cmd_wait_target_text,
     "TEXT TIMEOUT_MS\twait until the paste target holds TEXT (escaped)"},
    {"target-clear", 1, 1, cmd_target_clear, "\tempty the paste target"},
    {"target-ctrl-v", 1, 1, cmd_target_ctrl_v, "\tprint how many Ctrl+V presses the paste target has received"},
    {"time-start", 4, 5, cmd_time_start,
     "FOLDER EXE TIMEOUT_MS [LINES]\tstart FOLDER\\EXE in FOLDER (a Windows path), time its\n"
     "start, close it with WM_CLOSE and wait for its end; print\n"
     "ICON_MS READY_MS CLOSE_MS READY_PEAK_BYTES PEAK_BYTES ALL_MS: ms\n"
     "until the taskbar holds its icon, until its window is placed, its\n"
     "message loop answers and line 0 is the title file's first, from\n"
     "WM_CLOSE to its end; its peak working set when ready and the last\n"
     "one read before it ended; ms until the list holds every line\n"
     "(or LINES lines, for a history that comes from the shared folder)"},
    {"watch-top", 3, 3, cmd_watch_top,
     "N TIMEOUT_MS\tprint \"watching\", then for each of N new lines on top of the list\n"
     "(or until TIMEOUT_MS): UNIX_US TITLE, the wall clock in us since\n"
     "1970 when it was seen and its title, escaped"},
    {"wait-started", 2, 2, cmd_wait_started,
     "TIMEOUT_MS\twait until the program has loaded its files: its window is placed\n"
     "in the middle of the screen and its message loop answers"},
    {"time-paste", 2, 3, cmd_time_paste,
     "N [TIMEOUT_MS]\twith the program and the paste target running, N times: the\n"
     "hotkey, then a key label (1, 2, ... in turn); print one line a\n"
     "round and then the medians: I|median SHOWN_MS CTRL_MS LANDED_MS\n"
     "(hotkey to window visible, label key to the program's first\n"
     "synthesised Ctrl key-down, label key to the paste in the target,\n"
     "\"lost\" when it never lands), then: lost COUNT"},
    {"time-search", 2, 3, cmd_time_search,
     "N [TIMEOUT_MS]\twith the program running and the paste target in front: the\n"
     "hotkey, F3, then N keystrokes in the search line (five letters, each\n"
     "narrowing, then five backspaces); print I MS for each, key press\n"
     "until the matches are drawn, then: open MS, median MS, max MS,\n"
     "memory BEFORE MOST (working set before F3, most while searching)"},
    {"memory", 1, 1, cmd_memory, "\tprint the program's peak and current working set in bytes"},
    {"end-session-and-kill", 1, 1, cmd_end_session_and_kill,
     "\tsend WM_QUERYENDSESSION and WM_ENDSESSION, then end the program\n"
     "as Windows does; print the query's answer"},
    {"timer", 2, 2, cmd_timer, "ID\tpost WM_TIMER with that id to the program's window"},
    {"hold-hotkey", 3, 3, cmd_hold_hotkey,
     "CHORD MS\tregister CHORD (ctrl+alt+down) as another program would, for MS ms;\n"
     "prints \"held\" once it holds it"},
    {"tray-forget", 1, 1, cmd_tray_forget, "\tremove the program's tray icon, as a restarting shell loses it"},
    {"tray-present", 1, 1, cmd_tray_present, "\tprint 1 when the program's tray icon is there, else 0"},
    {"taskbar-created", 1, 1, cmd_taskbar_created, "\tbroadcast \"TaskbarCreated\", as a (re)started shell does"},
    {"owner", 2, 2, cmd_owner,
     "CLASS\tprint the class of the window owning the program's CLASS window\n"
     "(#32770: its message box), or none"},
    {"control-rect", 3, 3, cmd_control_rect,
     "CLASS ID\tprint the screen rectangle of control ID in the program's CLASS window"},
    {"set-text", 4, 4, cmd_set_text,
     "CLASS ID TEXT\tset the text (escaped) of control ID in the program's CLASS window"},
    {"type-text", 4, 4, cmd_type_text,
     "CLASS ID TEXT\tpost TEXT (UTF-8, escaped) as WM_CHAR to control ID in the program's\n"
     "CLASS window, as the keyboard types it"},
    {"children", 2, 2, cmd_children,
     "CLASS\tprint each control of the program's CLASS window: ID CLASS STYLE TEXT\n"
     "(the style in hex, the text in UTF-8, escaped)"},
    {"lock-file", 3, 3, cmd_lock_file,
     "PATH MS\thold PATH (a Windows path) open with no sharing for MS ms;\n"
     "prints \"locked\" once it holds it"},
    {"private-bytes", 1, 1, cmd_private_bytes, "\tprint the program's private bytes (PrivateUsage)"},
    {"gui-resources", 1, 1, cmd_gui_resources, "\tprint the program's GDI and USER object counts: GDI USER"},
    {"copy-series", 5, 5, cmd_copy_series,
     "JOURNAL SEED N TIMEOUT_MS\tcopy N texts generated from SEED, each waited for\n"
     "until it is the list's new top clip; add each clip's key and\n"
     "text to the file JOURNAL; print: CLIPS BYTES recorded"},
    {"paste-series", 5, 5, cmd_paste_series,
     "JOURNAL SEED N TIMEOUT_MS\tN times with the paste target in front: the\n"
     "hotkey, then a key label from SEED; check the paste against\n"
     "JOURNAL and the list's new order"},
    {"get-clip-block", 1, 1, cmd_get_clip_block,
     "\tprint the clipboard's whole CF_TEXT block, NULs inside included\n"
     "(trailing NULs dropped), escaped; 1 when there is none"},
};

// Every usage entry has the tab that ends its arguments.
constexpr bool every_usage_has_arguments() {
  for (const Command& command : kTable) {
    const char* p = command.usage;
    while (*p != '\0' && *p != '\t') ++p;
    if (*p != '\t') return false;
  }
  return true;
}
static_assert(every_usage_has_arguments(), "a usage entry lacks the tab after its arguments");

// The usage text, one command after another in the table's order: the
// descriptions start in one column, or two spaces after arguments too long
// for it.
std::string usage_text() {
  constexpr size_t kColumn = 29;
  std::string text = "usage: solvane_driver COMMAND [ARGS]\n";
  for (const Command& command : kTable) {
    const char* tab = std::strchr(command.usage, '\t');
    std::string line = std::string("  ") + command.name;
    if (tab != command.usage) line += " " + std::string(command.usage, tab);
    line.append(line.size() + 2 <= kColumn ? kColumn - line.size() : 2, ' ');
    for (const char* p = tab + 1; *p != '\0'; ++p) {
      line += *p;
      if (*p == '\n') line.append(kColumn, ' ');
    }
    text += line + "\n";
  }
  return text;
}

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
    std::fprintf(stderr, "solvane_driver: %s\n%s", e.message().c_str(), driver::usage_text().c_str());
    return 2;
  } catch (const driver::Failure& e) {
    std::fprintf(stderr, "solvane_driver %s: %s\n", args.empty() ? "" : args[0].c_str(), e.message().c_str());
    return 1;
  }
}
