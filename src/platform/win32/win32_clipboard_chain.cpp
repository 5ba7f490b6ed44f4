#include "platform/win32/win32_clipboard_chain.h"

namespace solvane::win32 {

namespace {
constexpr char kUtilWindowClass[] = "TPUtilWindow";
}

Win32ClipboardChain::~Win32ClipboardChain() {
  for (auto& [window, handler] : handlers_) DestroyWindow(window);
}

LRESULT CALLBACK Win32ClipboardChain::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* handler = reinterpret_cast<MessageHandler*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (handler == nullptr || message == WM_NCCREATE || message == WM_NCDESTROY) {
    return DefWindowProcA(window, message, wParam, lParam);
  }
  // No exception may unwind into the system's dispatcher.
  try {
    return (*handler)(message, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

WindowHandle Win32ClipboardChain::CreateUtilWindow(MessageHandler handler) {
  WNDCLASSA existing{};
  if (!GetClassInfoA(instance_, kUtilWindowClass, &existing)) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &WindowProc;
    windowClass.hInstance = instance_;
    windowClass.lpszClassName = kUtilWindowClass;
    RegisterClassA(&windowClass);
  }
  auto owned = std::make_unique<MessageHandler>(std::move(handler));
  HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, kUtilWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                instance_, owned.get());
  if (window == nullptr) return 0;
  handlers_[window] = std::move(owned);
  return reinterpret_cast<WindowHandle>(window);
}

void Win32ClipboardChain::DestroyUtilWindow(WindowHandle window) {
  HWND hwnd = reinterpret_cast<HWND>(window);
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  DestroyWindow(hwnd);
  handlers_.erase(hwnd);
}

WindowHandle Win32ClipboardChain::SetClipboardViewer(WindowHandle window) {
  return reinterpret_cast<WindowHandle>(::SetClipboardViewer(reinterpret_cast<HWND>(window)));
}

void Win32ClipboardChain::ChangeClipboardChain(WindowHandle remove, WindowHandle next) {
  ::ChangeClipboardChain(reinterpret_cast<HWND>(remove), reinterpret_cast<HWND>(next));
}

std::intptr_t Win32ClipboardChain::Send(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                        std::intptr_t lParam) {
  if (window == 0) return 0;
  return SendMessageA(reinterpret_cast<HWND>(window), message, wParam, lParam);
}

std::intptr_t Win32ClipboardChain::DefaultProc(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                               std::intptr_t lParam) {
  return DefWindowProcA(reinterpret_cast<HWND>(window), message, wParam, lParam);
}

}  // namespace solvane::win32
