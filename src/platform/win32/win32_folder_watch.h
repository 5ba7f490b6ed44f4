#pragma once
#include <windows.h>

#include <atomic>
#include <string>

#include "platform/folder_watch.h"
#include "platform/win32/win32_owned.h"

namespace solvane::win32 {

// Watches a folder on a thread of its own and posts `message` (wParam and
// lParam 0) to `window` after changes there: at most one post per batch of
// changes the system reports, and at most one per kSettleMs while changes
// keep coming. Stops, waiting for the thread, on Watch("") and when it goes.
// A folder that goes away while watched ends the thread quietly: the
// periodic check is all from then on, as for a folder that cannot be watched.
class Win32FolderWatch : public FolderWatch {
 public:
  static constexpr DWORD kSettleMs = 40;

  Win32FolderWatch(HWND window, UINT message) : window_(window), message_(message) {}
  ~Win32FolderWatch() override { Stop(); }
  Win32FolderWatch(const Win32FolderWatch&) = delete;
  Win32FolderWatch& operator=(const Win32FolderWatch&) = delete;

  bool Watch(const std::string& folder) override;

 private:
  using OwnedHandle = Owned<HANDLE, &CloseHandle>;
  static DWORD WINAPI Run(void* self);
  void Loop();
  void Stop();

  HWND window_;
  UINT message_;
  OwnedHandle folder_;                  // read by the thread only while it runs
  OwnedHandle stop_;                    // set: the thread ends
  OwnedHandle started_;                 // set by the thread once it watches, or has given up
  std::atomic<bool> watching_ = false;  // the first read went through; set before started_
  OwnedHandle thread_;
};

}  // namespace solvane::win32
