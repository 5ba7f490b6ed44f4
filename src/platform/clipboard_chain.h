#pragma once
// The clipboard viewer chain as the monitor uses it: a hidden window of its
// own, joining and leaving the chain, and passing messages along.

#include <cstdint>
#include <functional>

namespace solvane {

using WindowHandle = std::uintptr_t;  // an HWND on Windows; 0 is none

inline constexpr unsigned kWmDrawClipboard = 0x0308;
inline constexpr unsigned kWmChangeCbChain = 0x030D;

class ClipboardChainApi {
 public:
  using MessageHandler = std::function<std::intptr_t(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)>;
  virtual ~ClipboardChainApi() = default;
  // A hidden tool window of class "TPUtilWindow" whose messages go to the
  // handler. 0 when the window cannot be created.
  virtual WindowHandle CreateUtilWindow(MessageHandler handler) = 0;
  virtual void DestroyUtilWindow(WindowHandle window) = 0;
  // Puts the window at the head of the chain and returns the viewer that
  // follows it (0 for none). The new viewer receives WM_DRAWCLIPBOARD at once.
  virtual WindowHandle SetClipboardViewer(WindowHandle window) = 0;
  // Takes the window out of the chain; every viewer sees WM_CHANGECBCHAIN.
  virtual void ChangeClipboardChain(WindowHandle remove, WindowHandle next) = 0;
  // Sends synchronously; does nothing for window 0. The result is not used.
  virtual std::intptr_t Send(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
  // The default handling of any other message.
  virtual std::intptr_t DefaultProc(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                    std::intptr_t lParam) = 0;
};

}  // namespace solvane
