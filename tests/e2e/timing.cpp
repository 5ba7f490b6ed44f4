// Timing the program's start and reading its memory: what
// scripts/bench-wine.sh measures, and the start the tests wait for.

#include <windows.h>

#include <algorithm>
#include <cstdio>

#include <psapi.h>

#include "driver.h"

namespace driver {

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

// The program's start is over once its clip window has been placed in the
// middle of the screen, which it does after loading the clip files, and its
// message loop answers. Before the files are loaded, the window is at 0 0.
bool start_done(HWND main) {
  RECT rc;
  if (!GetWindowRect(main, &rc)) return false;
  const int width = rc.right - rc.left, height = rc.bottom - rc.top;
  if (rc.left != (GetSystemMetrics(SM_CXSCREEN) - width) / 2 || rc.top != (GetSystemMetrics(SM_CYSCREEN) - height) / 2)
    return false;
  return answers(main, kSendTimeoutMs);
}

namespace {

// What a start must show: the title file's line count and its first line's
// key (the newest clip), read from FOLDER\Lb1.qlx as the program reads it
// (up to a NUL).
struct TitleFile {
  int lines = 0;
  std::string firstKey;
};

TitleFile read_title_file(const std::string& folder) {
  TitleFile file;
  const HANDLE handle = CreateFileA((folder + "\\Lb1.qlx").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) throw Failure("cannot read " + folder + "\\Lb1.qlx");
  std::string bytes;
  char buffer[1 << 16];
  DWORD got = 0;
  while (ReadFile(handle, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(handle);
  bytes.resize(std::min(bytes.size(), bytes.find('\0')));
  for (size_t at = 0; (at = bytes.find("\r\n", at)) != std::string::npos; at += 2) ++file.lines;
  const size_t end = bytes.find("\r\n");
  if (end != std::string::npos && end >= kKeyLength) file.firstKey = bytes.substr(end - kKeyLength, kKeyLength);
  return file;
}

// Whether line 0 of the list ends with `key`; false while the list has no
// line (no failure: the start is still under way). Only line 0 is read, so
// the program is not asked for lines it may still be putting in.
bool top_line_has_key(HWND list, const std::string& key) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(list, LB_GETTEXTLEN, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &length) ||
      static_cast<LRESULT>(length) == LB_ERR)
    return false;
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL, kSendTimeoutMs,
                           &copied) ||
      static_cast<LRESULT>(copied) == LB_ERR)
    return false;
  text.resize(copied);
  const std::string line = narrow(text);
  return line.size() >= key.size() && line.compare(line.size() - key.size(), key.size(), key) == 0;
}

// Whether the list holds at least `lines` lines: the last one has a place.
// LB_GETITEMRECT, unlike LB_GETCOUNT, does not ask the program for lines it
// has not put in yet (other programs that count get them all at once).
bool list_holds(HWND list, int lines) {
  if (lines == 0) return true;
  RECT rect{};
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(list, LB_GETITEMRECT, static_cast<WPARAM>(lines - 1), reinterpret_cast<LPARAM>(&rect),
                             SMTO_NORMAL, kSendTimeoutMs, &result) &&
         static_cast<LRESULT>(result) != LB_ERR;
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
  double icon = -1;      // ms from CreateProcess until the taskbar holds the icon
  double ready = -1;     // ... until the start is over (start_done) and line 0 is the newest clip
  double all = -1;       // ... until the list holds every line of the title file
  double close = -1;     // ms from WM_CLOSE until the process has ended
  SIZE_T readyPeak = 0;  // peak working set at the end of the start
  SIZE_T peak = 0;       // the last peak read before the process ended
};

// Starts FOLDER\EXE in FOLDER, times its start, then closes it as Windows
// does and waits for it to end (it saves its files on the way out). A
// program that fails any step is ended by force, so the next run starts clean.
// LINES, when not -1, is the count of lines the whole list holds in place of
// the title file's.
StartTimes time_start(const std::string& folder, const std::string& exe, DWORD timeout, int lines) {
  if (find_main()) throw Failure("a Solvane Clips window is already open");
  if (!FindWindowW(L"Shell_TrayWnd", nullptr))
    throw Failure("no taskbar (Shell_TrayWnd): is the Wine desktop \"shell\" in use?");
  const TitleFile titles = read_title_file(folder);
  const int wanted = lines >= 0 ? lines : titles.lines;
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
      if (found && process_of(found) == info.dwProcessId) main = found;
    }
    if (times.ready < 0 && main && start_done(main) &&
        (titles.lines == 0 || top_line_has_key(GetDlgItem(main, kTitleListId), titles.firstKey)))
      times.ready = now_ms() - start;
    if (times.icon < 0 || times.ready < 0) Sleep(kTimingPollMs);
  }
  times.readyPeak = peak_working_set(process);
  times.peak = times.readyPeak;
  const HWND list = GetDlgItem(main, kTitleListId);
  while (!list_holds(list, wanted)) {
    if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0) throw fail("the program ended during its start");
    if (now_ms() - start > timeout) throw fail("after " + std::to_string(timeout) + " ms the list is not complete");
    Sleep(kTimingPollMs);
  }
  times.all = now_ms() - start;
  if (const SIZE_T peak = peak_working_set(process); peak > times.peak) times.peak = peak;

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

}  // namespace

// ---- commands ----

int cmd_time_start(const Args& args) {
  const int lines = args.size() > 4 ? static_cast<int>(parse_number(args[4], "lines")) : -1;
  StartTimes t = time_start(args[1], args[2], parse_number(args[3], "timeout"), lines);
  print_line(ms_text(t.icon) + " " + ms_text(t.ready) + " " + ms_text(t.close) + " " + std::to_string(t.readyPeak) +
             " " + std::to_string(t.peak) + " " + ms_text(t.all));
  return 0;
}

// The wall clock in microseconds since 1970: under Wine the same clock as
// a Linux program's CLOCK_REALTIME, so times taken on both sides compare.
long long unix_us() {
  FILETIME now{};
  GetSystemTimePreciseAsFileTime(&now);
  const ULONGLONG ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return static_cast<long long>((ticks - 116444736000000000ULL) / 10);
}

// The waiter of the capture timing: polls the list's line count every
// millisecond and reads line 0 whenever it grows. Each line is flushed at
// once, so the caller can read them while this runs.
int cmd_watch_top(const Args& args) {
  const int want = static_cast<int>(parse_number(args[1], "count"));
  const DWORD timeout = parse_number(args[2], "timeout");
  const HWND list = require_list(require_main());
  int count = list_count(list);
  std::printf("watching\n");
  std::fflush(stdout);
  const double start = now_ms();
  for (int seen = 0; seen < want && now_ms() - start < timeout;) {
    const int now = list_count(list);
    if (now > count) {
      const long long at = unix_us();
      std::printf("%lld %s\n", at, encode_escapes(title_of(list_item(list, 0), 0)).c_str());
      std::fflush(stdout);
      ++seen;
    }
    count = now;
    Sleep(1);
  }
  return 0;
}

int cmd_wait_started(const Args& args) {
  wait_or_fail(
      parse_number(args[1], "timeout"),
      [] {
        HWND main = find_main();
        return main && start_done(main);
      },
      [&] { return "the program has not finished its start after " + args[1] + " ms"; });
  return 0;
}

int cmd_memory(const Args&) {
  HANDLE process = open_program(require_main(), PROCESS_QUERY_INFORMATION | PROCESS_VM_READ);
  SIZE_T current = 0;
  SIZE_T peak = peak_working_set(process, &current);
  CloseHandle(process);
  if (peak == 0) throw Failure("GetProcessMemoryInfo failed");
  print_line(std::to_string(peak) + " " + std::to_string(current));
  return 0;
}

}  // namespace driver
