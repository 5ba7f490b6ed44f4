#pragma once
// Hidden windows whose messages go to a handler function.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "platform/win32/win32_owned.h"

namespace solvane::win32 {

class MessageWindows {
 public:
  using Handler = std::function<LRESULT(HWND window, UINT message, WPARAM wParam, LPARAM lParam)>;

  explicit MessageWindows(HINSTANCE instance) : instance_(instance) {}
  ~MessageWindows();
  MessageWindows(const MessageWindows&) = delete;
  MessageWindows& operator=(const MessageWindows&) = delete;

  // A hidden WS_POPUP window of the class (registered on first use).
  // nullptr when it cannot be created.
  HWND Create(const char* className, DWORD exStyle, Handler handler);
  // The hidden tool window of class "TPUtilWindow" that the clipboard
  // monitor and the tray icon each use for their messages.
  HWND CreateUtil(Handler handler) { return Create("TPUtilWindow", WS_EX_TOOLWINDOW, std::move(handler)); }
  void Destroy(HWND window);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HINSTANCE instance_;
  // The handlers live here; each window's user data points at its own.
  // The window is declared after its handler, so it goes first.
  struct Entry {
    std::unique_ptr<Handler> handler;
    OwnedWindow window;
  };
  std::map<HWND, Entry> handlers_;
};

}  // namespace solvane::win32
