#pragma once
// An in-memory clipboard viewer chain that follows the platform's rules, so
// the monitor's chain handling is tested against real neighbours.

#include <map>
#include <memory>
#include <vector>

#include "platform/clipboard_chain.h"

namespace solvane::fake {

// Another program's viewer window that keeps the chain rules itself.
struct ForeignViewer {
  WindowHandle window = 0;
  WindowHandle next = 0;
  int drawCount = 0;
  int chainCount = 0;
};

class FakeClipboardChain : public ClipboardChainApi {
 public:
  WindowHandle CreateUtilWindow(NoticeHandler handler) override;
  void DestroyUtilWindow(WindowHandle window) override;
  WindowHandle SetClipboardViewer(WindowHandle window) override;
  void ChangeClipboardChain(WindowHandle remove, WindowHandle next) override;
  void Send(WindowHandle window, ChainNotice notice, std::uintptr_t first, std::intptr_t second) override;

  // The clipboard's content changed: the head of the chain hears of it.
  void NotifyChange();
  ForeignViewer& JoinForeignViewer();  // a viewer of another program joins
  void LeaveForeignViewer(ForeignViewer& viewer);

  WindowHandle head() const { return head_; }
  bool WindowExists(WindowHandle window) const { return windows_.count(window) > 0; }

 private:
  WindowHandle head_ = 0;
  WindowHandle nextHandle_ = 0x100;
  std::map<WindowHandle, NoticeHandler> windows_;
  std::vector<std::unique_ptr<ForeignViewer>> foreign_;
};

}  // namespace solvane::fake
