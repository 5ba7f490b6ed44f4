#include "platform/win32/win32_clipboard_chain.h"

namespace solvane::win32 {

WindowHandle Win32ClipboardChain::CreateUtilWindow(NoticeHandler handler) {
  HWND window = windows_.CreateUtil(
      [handler = std::move(handler)](HWND self, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        switch (message) {
          case WM_DRAWCLIPBOARD:
            handler(ChainNotice::kContentChanged, wParam, lParam);
            return 0;
          case WM_CHANGECBCHAIN:
            handler(ChainNotice::kViewerLeaving, wParam, lParam);
            return 0;
          default:
            return DefWindowProcA(self, message, wParam, lParam);
        }
      });
  return reinterpret_cast<WindowHandle>(window);
}

void Win32ClipboardChain::DestroyUtilWindow(WindowHandle window) { windows_.Destroy(reinterpret_cast<HWND>(window)); }

WindowHandle Win32ClipboardChain::SetClipboardViewer(WindowHandle window) {
  return reinterpret_cast<WindowHandle>(::SetClipboardViewer(reinterpret_cast<HWND>(window)));
}

void Win32ClipboardChain::ChangeClipboardChain(WindowHandle remove, WindowHandle next) {
  ::ChangeClipboardChain(reinterpret_cast<HWND>(remove), reinterpret_cast<HWND>(next));
}

void Win32ClipboardChain::Send(WindowHandle window, ChainNotice notice, std::uintptr_t first, std::intptr_t second) {
  if (window == 0) return;
  const UINT message = notice == ChainNotice::kContentChanged ? WM_DRAWCLIPBOARD : WM_CHANGECBCHAIN;
  SendMessageA(reinterpret_cast<HWND>(window), message, first, second);
}

}  // namespace solvane::win32
