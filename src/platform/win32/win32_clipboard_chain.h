#pragma once
#include <windows.h>

#include "platform/clipboard_chain.h"
#include "platform/win32/win32_message_window.h"

namespace solvane::win32 {

class Win32ClipboardChain : public ClipboardChainApi {
 public:
  explicit Win32ClipboardChain(HINSTANCE instance) : windows_(instance) {}

  WindowHandle CreateUtilWindow(NoticeHandler handler) override;
  void DestroyUtilWindow(WindowHandle window) override;
  WindowHandle SetClipboardViewer(WindowHandle window) override;
  void ChangeClipboardChain(WindowHandle remove, WindowHandle next) override;
  // WM_DRAWCLIPBOARD or WM_CHANGECBCHAIN with the two values as wParam and lParam.
  void Send(WindowHandle window, ChainNotice notice, std::uintptr_t first, std::intptr_t second) override;

 private:
  MessageWindows windows_;
};

}  // namespace solvane::win32
