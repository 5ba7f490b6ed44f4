#include "platform/components/clipboard_monitor.h"

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
      [this](ChainNotice notice, std::uintptr_t first, std::intptr_t second) { HandleNotice(notice, first, second); });
  nextViewer_ = api_.SetClipboardViewer(window_);
}

void ClipboardMonitor::HandleNotice(ChainNotice notice, std::uintptr_t first, std::intptr_t second) {
  switch (notice) {
    case ChainNotice::kViewerLeaving:
      if (static_cast<WindowHandle>(first) == nextViewer_) {
        nextViewer_ = static_cast<WindowHandle>(second);
      } else {
        api_.Send(nextViewer_, notice, first, second);
      }
      return;
    case ChainNotice::kContentChanged:
      if (OnChange) {
        // A failing handler must not cut the chain for the viewers behind us.
        try {
          OnChange();
        } catch (const std::exception& error) {
          if (OnError) OnError(error);
        }
      }
      api_.Send(nextViewer_, notice, first, second);
      return;
  }
}

}  // namespace solvane
