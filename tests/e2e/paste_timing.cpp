// Timing pastes: the hotkey until the clip window shows, a key label until
// the program types its first key and until the paste lands in the target.
// A low-level keyboard hook tells the program's keys from the driver's.

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "driver.h"

namespace driver {
namespace {

// Keys seen by a low-level keyboard hook, from any process on the desktop.
struct SeenKey {
  DWORD vk;
  DWORD flags;  // LLKHF_*
  ULONG_PTR extra;
  double at;        // now_ms() when the hook saw it
  HWND foreground;  // the foreground window then, where the key is going
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
      const bool match =
          vk == VK_CONTROL ? key.vk == VK_CONTROL || key.vk == VK_LCONTROL || key.vk == VK_RCONTROL : key.vk == vk;
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

// A window as a failure message names it: its class, and whether it is shown.
std::string window_name(HWND hwnd) {
  if (!hwnd) return "no window";
  return class_name(hwnd) + (IsWindowVisible(hwnd) ? " (visible)" : " (hidden)");
}

// What a time-paste run keeps from one round to the next.
struct PasteRun {
  HWND main;
  HWND target;
  int labels;  // the lines the window shows that have a key label
  DWORD timeout;
  const KeyWatch& watch;
  std::vector<double> shown, toCtrl, landed;
  int lost = 0;
};

// The hotkey with the paste target in front, timed until the clip window
// is visible; then, untimed, until the window is ready for a key label.
void show_clip_window(PasteRun& run, const std::string& which) {
  // The hotkey reaches the program only with an application in front.
  if (!wait_closely(run.timeout, [&] { return GetForegroundWindow() == run.target && !IsWindowVisible(run.main); }))
    throw Failure(which + "the paste target is not in front, or the clip window not hidden");
  send_or_fail(require_target_edit(run.target), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""), "WM_SETTEXT");

  key_event(VK_CONTROL, false);
  key_event(VK_MENU, false);
  const double hotkey = now_ms();
  key_event(VK_DOWN, false);
  key_event(VK_DOWN, true);
  key_event(VK_MENU, true);
  key_event(VK_CONTROL, true);
  if (!wait_closely(run.timeout, [&] { return IsWindowVisible(run.main) != FALSE; }))
    throw Failure(which + "the hotkey did not show the clip window");
  run.shown.push_back(now_ms() - hotkey);

  // The key label must reach the clip window: wait (untimed) until it is
  // in front and the program has finished with the hotkey.
  if (!wait_closely(run.timeout, [&] { return GetForegroundWindow() == run.main; }) || !answers(run.main, run.timeout))
    throw Failure(which + "the clip window did not come to the front");
}

// A paste that never landed, told on stderr with the windows that were in
// front when the program typed Ctrl and V.
void report_lost(const PasteRun& run, const std::string& which, const std::string& last, const std::string& clip,
                 const SeenKey& ctrl) {
  SeenKey v{};
  const bool sawV = run.watch.foreign_key_down('V', ctrl.at, v);
  const auto front = [&](const SeenKey& key) {
    const char* whose = key.foreground == run.target ? "the target's "
                        : key.foreground == run.main ? "the clip window's "
                                                     : "";
    return whose + window_name(key.foreground) + " " + hwnd_text(key.foreground);
  };
  std::fprintf(stderr,
               "%sthe paste target holds %zu bytes after %lu ms, the clipboard %zu; in front when the "
               "program typed Ctrl: %s; V: %s\n",
               which.c_str(), last.size(), static_cast<unsigned long>(run.timeout), clip.size(), front(ctrl).c_str(),
               sawV ? front(v).c_str() : "no V seen");
}

// The key label of ROUND, timed until the program's synthesised Ctrl
// key-down and until the paste has landed; the landing time, or "lost".
std::string press_label(PasteRun& run, int round, const std::string& which) {
  const BYTE label = static_cast<BYTE>(kLabels[(round - 1) % run.labels]);
  const double pressed = now_ms();
  key_event(label, false);
  key_event(label, true);
  SeenKey ctrl{};
  if (!wait_closely(run.timeout, [&] { return run.watch.foreign_key_down(VK_CONTROL, pressed, ctrl); }))
    throw Failure(which + "no synthesised Ctrl key-down after key " + std::string(1, static_cast<char>(label)));
  run.toCtrl.push_back(ctrl.at - pressed);

  // The clipboard is read only once the paste is in: while the driver
  // holds it open, the target's own paste finds it locked and does nothing.
  std::string clip, last;
  if (wait_closely(run.timeout, [&] { return !(last = target_text(run.target)).empty(); })) {
    run.landed.push_back(now_ms() - pressed);
    if (!get_clip(clip)) throw Failure(which + "the clipboard holds no text after the paste");
    if (last != clip)
      throw Failure(which + "the paste target holds " + std::to_string(last.size()) + " bytes, not the " +
                    std::to_string(clip.size()) + " on the clipboard");
    return ms_text(run.landed.back());
  }
  get_clip(clip);
  ++run.lost;
  report_lost(run, which, last, clip, ctrl);
  return "lost";
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
  PasteRun run{main, target, labels, timeout, watch, {}, {}, {}, 0};
  for (int round = 1; round <= rounds; ++round) {
    const std::string which = "paste " + std::to_string(round) + ": ";
    show_clip_window(run, which);
    const std::string outcome = press_label(run, round, which);
    print_line(std::to_string(round) + " " + ms_text(run.shown.back()) + " " + ms_text(run.toCtrl.back()) + " " +
               outcome);
    std::fflush(stdout);
  }
  print_line("median " + ms_text(median(run.shown)) + " " + ms_text(median(run.toCtrl)) + " " +
             (run.landed.empty() ? std::string("-") : ms_text(median(run.landed))));
  print_line("lost " + std::to_string(run.lost));
}

}  // namespace

int cmd_time_paste(const Args& args) {
  int rounds = static_cast<int>(parse_number(args[1], "rounds"));
  if (rounds < 1) throw UsageError("time-paste needs at least one round");
  time_paste(rounds, args.size() > 2 ? parse_number(args[2], "timeout") : 10000);
  return 0;
}

}  // namespace driver
