#include "platform/win32/win32_clipboard_chain.h"

namespace solvane::win32 {

WindowHandle Win32ClipboardChain::CreateUtilWindow(MessageHandler handler) {
  return reinterpret_cast<WindowHandle>(windows_.CreateUtil(std::move(handler)));
}

void Win32ClipboardChain::DestroyUtilWindow(WindowHandle window) { windows_.Destroy(reinterpret_cast<HWND>(window)); }

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
