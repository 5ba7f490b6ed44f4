#include "platform/win32/win32_message_window.h"

namespace solvane::win32 {

MessageWindows::~MessageWindows() {
  // The windows' last messages must find no handler; the entries then
  // destroy each window and free its handler.
  for (auto& [window, entry] : handlers_) SetWindowLongPtrA(window, GWLP_USERDATA, 0);
}

LRESULT CALLBACK MessageWindows::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* handler = reinterpret_cast<Handler*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (handler == nullptr || message == WM_NCCREATE || message == WM_NCDESTROY) {
    return DefWindowProcA(window, message, wParam, lParam);
  }
  // No exception may unwind into the system's dispatcher.
  try {
    return (*handler)(window, message, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

HWND MessageWindows::Create(const char* className, DWORD exStyle, Handler handler) {
  WNDCLASSA existing{};
  if (!GetClassInfoA(instance_, className, &existing)) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &WindowProc;
    windowClass.hInstance = instance_;
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
  }
  auto owned = std::make_unique<Handler>(std::move(handler));
  HWND window = CreateWindowExA(exStyle, className, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance_, owned.get());
  if (window == nullptr) return nullptr;
  handlers_[window] = Entry{std::move(owned), OwnedWindow(window)};
  return window;
}

void MessageWindows::Destroy(HWND window) {
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  handlers_.erase(window);  // destroys the window, then frees its handler
}

}  // namespace solvane::win32
