// time-search: keystrokes in the search line, each from the key press until
// the matches are drawn, and the memory the open search adds.

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "driver.h"

namespace driver {
namespace {

constexpr int kMatchListId = 1002;
constexpr int kSearchLineId = 1003;
constexpr int kSearchStatusId = 1004;

// The program's working set now, in bytes.
SIZE_T working_set(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  return K32GetProcessMemoryInfo(process, &counters, sizeof counters) ? counters.WorkingSetSize : 0;
}

// The search line holds `text` (the program has handled the key, and with
// it the search: another program's message waits for that), and the
// matches and their count have been painted since.
bool drawn(HWND line, HWND matches, HWND status, const std::wstring& text) {
  if (window_text_wide(line) != text) return false;
  return !GetUpdateRect(matches, nullptr, FALSE) && !GetUpdateRect(status, nullptr, FALSE);
}

}  // namespace

// With the clip window hidden and the paste target in front: the hotkey,
// F3 (timed until the empty search is drawn), then N keystrokes in turns of
// ten: five letters, each narrowing the last, and five backspaces, each a
// search of the whole history. Prints a line per keystroke (I MS), then
// "open MS", "median MS", "max MS" and "memory BEFORE MOST" (the working
// set before F3 and the most seen while the search was open, in bytes).
int cmd_time_search(const Args& args) {
  const int keystrokes = static_cast<int>(parse_number(args[1], "keystrokes"));
  const DWORD timeout = args.size() > 2 ? parse_number(args[2], "timeout") : 10000;
  HWND main = require_main();
  HWND line = require_child(main, kSearchLineId);
  HWND matches = require_child(main, kMatchListId);
  HWND status = require_child(main, kSearchStatusId);
  DWORD pid = 0;
  GetWindowThreadProcessId(main, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) throw Failure("OpenProcess failed (error " + std::to_string(GetLastError()) + ")");
  const SIZE_T before = working_set(process);
  SIZE_T most = before;

  press_chord("ctrl+alt+down");
  if (!wait_closely(timeout, [&] { return IsWindowVisible(main) && GetForegroundWindow() == main; }))
    throw Failure("the hotkey did not bring the clip window to the front");
  const double opening = now_ms();
  press_chord("f3");
  if (!wait_closely(timeout, [&] { return IsWindowVisible(line) && drawn(line, matches, status, L""); }))
    throw Failure("F3 did not open the search line");
  const double open = now_ms() - opening;

  const char letters[] = "zqxjk";
  std::wstring text;
  std::vector<double> times;
  for (int i = 0; i < keystrokes; ++i) {
    const bool typing = i % 10 < 5;
    const double pressed = now_ms();
    if (typing) {
      const char letter = letters[i % 5];
      press_chord(std::string(1, letter));
      text += static_cast<wchar_t>(letter);
    } else {
      press_chord("back");
      text.pop_back();
    }
    if (!wait_closely(timeout, [&] { return drawn(line, matches, status, text); }))
      throw Failure("keystroke " + std::to_string(i + 1) + ": the search line does not hold \"" + narrow(text) + "\"");
    times.push_back(now_ms() - pressed);
    most = std::max(most, working_set(process));
    std::printf("%d %s\n", i + 1, ms_text(times.back()).c_str());
  }
  press_chord("esc");
  press_chord("esc");
  CloseHandle(process);
  std::printf("open %s\nmedian %s\nmax %s\nmemory %zu %zu\n", ms_text(open).c_str(), ms_text(median(times)).c_str(),
              ms_text(*std::max_element(times.begin(), times.end())).c_str(), static_cast<size_t>(before),
              static_cast<size_t>(most));
  return 0;
}

}  // namespace driver
