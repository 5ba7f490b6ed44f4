// The program's life from outside: menu commands and timers posted to its
// window, closing it, ending it as a crash or the end of a session does,
// its tray icon, and the desktop and files around it.

#include <windows.h>

#include <cstdio>

#include <shellapi.h>

#include "driver.h"

namespace driver {
namespace {

struct NamedCommand {
  const char* name;
  WORD id;
};
constexpr NamedCommand kCommands[] = {
    {"caching", 0x0101}, {"save", 0x0102}, {"clear", 0x0103}, {"quit", 0x0104}, {"settings", 0x0100},
};

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
  const DWORD pid = process_of(main);
  HANDLE process = pid ? OpenProcess(SYNCHRONIZE, FALSE, pid) : nullptr;
  if (!process) return wait_for(timeout_ms, [&] { return !IsWindow(main); });
  bool ended = WaitForSingleObject(process, timeout_ms) == WAIT_OBJECT_0;
  CloseHandle(process);
  return ended;
}

HANDLE open_to_end(HWND main) { return open_program(main, PROCESS_TERMINATE | SYNCHRONIZE); }

// Ends the program as a crash or a power cut would, with no chance to
// finish anything, and closes the handle; false when it still runs 10 s on.
bool end_by_force(HANDLE process, UINT exitCode) {
  TerminateProcess(process, exitCode);
  const bool gone = WaitForSingleObject(process, 10000) == WAIT_OBJECT_0;
  CloseHandle(process);
  return gone;
}

// Posts Save Clips (or WM_CLOSE, which saves every file on the way out),
// then ends the program by force DELAY ms later.
int post_then_kill(const Args& args, bool close) {
  const DWORD delay = parse_number(args[1], "delay");
  HWND main = require_main();
  HANDLE process = open_to_end(main);
  if (!(close ? PostMessageW(main, WM_CLOSE, 0, 0)
              : PostMessageW(main, WM_COMMAND, MAKEWPARAM(command_id("save"), 0), 0))) {
    CloseHandle(process);
    throw Failure("PostMessage failed");
  }
  Sleep(delay);
  if (!end_by_force(process, 9)) throw Failure("the program still runs after TerminateProcess");
  return 0;
}

}  // namespace

int cmd_command(const Args& args) {
  WORD id = command_id(args[1]);
  if (!PostMessageW(require_main(), WM_COMMAND, MAKEWPARAM(id, 0), 0)) throw Failure("PostMessage failed");
  return 0;
}

int cmd_timer(const Args& args) {
  const DWORD id = parse_number(args[1], "timer id");
  if (!PostMessageW(require_main(), WM_TIMER, id, 0)) throw Failure("PostMessage(WM_TIMER) failed");
  return 0;
}

int cmd_close(const Args& args) {
  DWORD timeout = args.size() > 1 ? parse_number(args[1], "timeout") : 10000;
  HWND main = require_main();
  if (!PostMessageW(main, WM_CLOSE, 0, 0)) throw Failure("PostMessage(WM_CLOSE) failed");
  if (!wait_process_gone(main, timeout))
    throw Failure("the program still runs " + std::to_string(timeout) + " ms after WM_CLOSE");
  return 0;
}

int cmd_wait_exit(const Args& args) {
  DWORD timeout = parse_number(args[1], "timeout");
  HWND main = find_main();
  if (main && !wait_process_gone(main, timeout)) throw Failure("the program still runs after " + args[1] + " ms");
  return 0;
}

int cmd_save_and_kill(const Args& args) { return post_then_kill(args, false); }

int cmd_close_and_kill(const Args& args) { return post_then_kill(args, true); }

int cmd_end_session(const Args&) {
  LRESULT answer = send_or_fail(require_main(), WM_QUERYENDSESSION, 0, 0, "WM_QUERYENDSESSION");
  print_line(std::to_string(static_cast<long long>(answer)));
  return 0;
}

// As Windows ends a session: the query, the end, then the process is ended
// whether its message loop has finished or not.
int cmd_end_session_and_kill(const Args&) {
  HWND main = require_main();
  HANDLE process = open_to_end(main);
  const LRESULT answer = send_or_fail(main, WM_QUERYENDSESSION, 0, 0, "WM_QUERYENDSESSION");
  send_or_fail(main, WM_ENDSESSION, TRUE, 0, "WM_ENDSESSION");
  if (!end_by_force(process, 0)) throw Failure("the program still runs after TerminateProcess");
  print_line(std::to_string(static_cast<long long>(answer)));
  return 0;
}

// The notification area loses the program's icon, as when it restarts.
int cmd_tray_forget(const Args&) {
  for (HWND window : process_windows(process_of(require_main()), L"TPUtilWindow")) {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = window;
    Shell_NotifyIconW(NIM_DELETE, &data);
  }
  return 0;
}

int cmd_tray_present(const Args&) {
  print_line(has_tray_icon(process_of(require_main())) ? "1" : "0");
  return 0;
}

int cmd_taskbar_created(const Args&) {
  const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(HWND_BROADCAST, message, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
    throw Failure("broadcasting TaskbarCreated failed (error " + std::to_string(GetLastError()) + ")");
  return 0;
}

// Holds the file open with no sharing, as a backup or virus scanner may:
// nobody else can read, write, move or delete it meanwhile.
int cmd_lock_file(const Args& args) {
  const DWORD hold = parse_number(args[2], "milliseconds");
  HANDLE file = CreateFileA(args[1].c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    throw Failure("cannot open " + args[1] + " (error " + std::to_string(GetLastError()) + ")");
  print_line("locked");
  std::fflush(stdout);
  Sleep(hold);
  CloseHandle(file);
  return 0;
}

int cmd_keep(const Args& args) {
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

}  // namespace driver
