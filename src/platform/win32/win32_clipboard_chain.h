#pragma once
#include <windows.h>

#include <map>
#include <memory>

#include "platform/clipboard_chain.h"

namespace solvane::win32 {

class Win32ClipboardChain : public ClipboardChainApi {
 public:
  explicit Win32ClipboardChain(HINSTANCE instance) : instance_(instance) {}
  ~Win32ClipboardChain() override;

  WindowHandle CreateUtilWindow(MessageHandler handler) override;
  void DestroyUtilWindow(WindowHandle window) override;
  WindowHandle SetClipboardViewer(WindowHandle window) override;
  void ChangeClipboardChain(WindowHandle remove, WindowHandle next) override;
  std::intptr_t Send(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
  std::intptr_t DefaultProc(WindowHandle window, unsigned message, std::uintptr_t wParam,
                            std::intptr_t lParam) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HINSTANCE instance_;
  // The handlers live here; each window's user data points at its own.
  std::map<HWND, std::unique_ptr<MessageHandler>> handlers_;
};

}  // namespace solvane::win32
