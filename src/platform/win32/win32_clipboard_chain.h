#pragma once
#include <windows.h>

#include "platform/clipboard_chain.h"
#include "platform/win32/win32_message_window.h"

namespace solvane::win32 {

class Win32ClipboardChain : public ClipboardChainApi {
 public:
  explicit Win32ClipboardChain(HINSTANCE instance) : windows_(instance) {}

  WindowHandle CreateUtilWindow(MessageHandler handler) override;
  void DestroyUtilWindow(WindowHandle window) override;
  WindowHandle SetClipboardViewer(WindowHandle window) override;
  void ChangeClipboardChain(WindowHandle remove, WindowHandle next) override;
  std::intptr_t Send(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
  std::intptr_t DefaultProc(WindowHandle window, unsigned message, std::uintptr_t wParam,
                            std::intptr_t lParam) override;

 private:
  MessageWindows windows_;
};

}  // namespace solvane::win32
