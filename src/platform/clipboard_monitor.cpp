#include "platform/clipboard_monitor.h"

namespace solvane {

ClipboardMonitor::ClipboardMonitor(ClipboardChainApi& api, Clipboard& clipboard) : api_(api), clipboard_(clipboard) {}

ClipboardMonitor::~ClipboardMonitor() {
  if (window_ == 0) return;
  api_.ChangeClipboardChain(window_, nextViewer_);
  api_.DestroyUtilWindow(window_);
}

void ClipboardMonitor::Loaded() {
  if (window_ != 0) return;
  window_ = api_.CreateUtilWindow(
      [this](unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
        return HandleMessage(message, wParam, lParam);
      });
  nextViewer_ = api_.SetClipboardViewer(window_);
}

std::intptr_t ClipboardMonitor::HandleMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  switch (message) {
    case kWmChangeCbChain:
      if (static_cast<WindowHandle>(wParam) == nextViewer_) {
        nextViewer_ = static_cast<WindowHandle>(lParam);
      } else {
        api_.Send(nextViewer_, kWmChangeCbChain, wParam, lParam);
      }
      return 0;
    case kWmDrawClipboard:
      if (OnChange) {
        // A failing handler must not cut the chain for the viewers behind us.
        try {
          OnChange();
        } catch (const std::exception& error) {
          if (OnError) OnError(error);
        }
      }
      api_.Send(nextViewer_, kWmDrawClipboard, wParam, lParam);
      return 0;
    default:
      return api_.DefaultProc(window_, message, wParam, lParam);
  }
}

}  // namespace solvane
