#include "platform/fake/fake_clipboard_chain.h"

namespace solvane::fake {

void FakeClipboardChain::NotifyChange() { Send(head_, ChainNotice::kContentChanged, 0, 0); }

WindowHandle FakeClipboardChain::CreateUtilWindow(NoticeHandler handler) {
  const WindowHandle window = nextHandle_++;
  windows_[window] = std::move(handler);
  return window;
}

void FakeClipboardChain::DestroyUtilWindow(WindowHandle window) { windows_.erase(window); }

WindowHandle FakeClipboardChain::SetClipboardViewer(WindowHandle window) {
  const WindowHandle previous = head_;
  head_ = window;
  Send(window, ChainNotice::kContentChanged, 0, 0);
  return previous;
}

void FakeClipboardChain::ChangeClipboardChain(WindowHandle remove, WindowHandle next) {
  const WindowHandle first = head_;
  if (head_ == remove) head_ = next;
  // The first viewer hears of it and passes it along.
  Send(first, ChainNotice::kViewerLeaving, remove, static_cast<std::intptr_t>(next));
}

void FakeClipboardChain::Send(WindowHandle window, ChainNotice notice, std::uintptr_t first, std::intptr_t second) {
  const auto found = windows_.find(window);
  if (found == windows_.end()) return;
  // Copy: the handler may destroy its own window.
  const NoticeHandler handler = found->second;
  handler(notice, first, second);
}

ForeignViewer& FakeClipboardChain::JoinForeignViewer() {
  foreign_.push_back(std::make_unique<ForeignViewer>());
  ForeignViewer* viewer = foreign_.back().get();
  viewer->window = CreateUtilWindow([this, viewer](ChainNotice notice, std::uintptr_t first, std::intptr_t second) {
    if (notice == ChainNotice::kContentChanged) {
      ++viewer->drawCount;
      Send(viewer->next, notice, first, second);
    } else {
      ++viewer->chainCount;
      if (static_cast<WindowHandle>(first) == viewer->next) {
        viewer->next = static_cast<WindowHandle>(second);
      } else {
        Send(viewer->next, notice, first, second);
      }
    }
  });
  viewer->next = SetClipboardViewer(viewer->window);
  return *viewer;
}

void FakeClipboardChain::LeaveForeignViewer(ForeignViewer& viewer) {
  ChangeClipboardChain(viewer.window, viewer.next);
  DestroyUtilWindow(viewer.window);
}

}  // namespace solvane::fake
