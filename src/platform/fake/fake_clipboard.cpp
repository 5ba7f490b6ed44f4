#include "platform/fake/fake_clipboard.h"

#include <algorithm>

namespace solvane::fake {

bool FakeClipboard::HasText() { return text_.has_value(); }

std::optional<std::string> FakeClipboard::ReadText() {
  if (locked_ || !text_) return std::nullopt;
  // CF_TEXT ends at its first NUL.
  return text_->substr(0, text_->find('\0'));
}

bool FakeClipboard::WriteText(std::string_view text) {
  if (locked_) return false;
  text_ = std::string(text);
  excluded_ = false;
  ++writes_;
  if (log) log->push_back("clipboard " + *text_);
  NotifyChange();
  return true;
}

bool FakeClipboard::Clear() {
  if (locked_) return false;
  text_.reset();
  ++writes_;
  NotifyChange();
  return true;
}

void FakeClipboard::CopyText(std::string text) {
  text_ = std::move(text);
  excluded_ = false;
  NotifyChange();
}

void FakeClipboard::CopySecret(std::string text) {
  text_ = std::move(text);
  excluded_ = true;
  NotifyChange();
}

void FakeClipboard::CopyOtherFormat() {
  text_.reset();
  excluded_ = false;
  NotifyChange();
}

void FakeClipboard::NotifyChange() { Send(head_, kWmDrawClipboard, 0, 0); }

WindowHandle FakeClipboard::CreateUtilWindow(MessageHandler handler) {
  const WindowHandle window = nextHandle_++;
  windows_[window] = std::move(handler);
  return window;
}

void FakeClipboard::DestroyUtilWindow(WindowHandle window) { windows_.erase(window); }

WindowHandle FakeClipboard::SetClipboardViewer(WindowHandle window) {
  const WindowHandle previous = head_;
  head_ = window;
  Send(window, kWmDrawClipboard, 0, 0);
  return previous;
}

void FakeClipboard::ChangeClipboardChain(WindowHandle remove, WindowHandle next) {
  const WindowHandle first = head_;
  if (head_ == remove) head_ = next;
  // The first viewer hears of it and passes it along.
  Send(first, kWmChangeCbChain, remove, static_cast<std::intptr_t>(next));
}

std::intptr_t FakeClipboard::Send(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                  std::intptr_t lParam) {
  const auto found = windows_.find(window);
  if (found == windows_.end()) return 0;
  // Copy: the handler may destroy its own window.
  MessageHandler handler = found->second;
  return handler(message, wParam, lParam);
}

ForeignViewer& FakeClipboard::JoinForeignViewer() {
  foreign_.push_back(std::make_unique<ForeignViewer>());
  ForeignViewer* viewer = foreign_.back().get();
  viewer->window = CreateUtilWindow([this, viewer](unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (message == kWmDrawClipboard) {
      ++viewer->drawCount;
      Send(viewer->next, message, wParam, lParam);
    } else if (message == kWmChangeCbChain) {
      ++viewer->chainCount;
      if (static_cast<WindowHandle>(wParam) == viewer->next) {
        viewer->next = static_cast<WindowHandle>(lParam);
      } else {
        Send(viewer->next, message, wParam, lParam);
      }
    }
    return std::intptr_t{0};
  });
  viewer->next = SetClipboardViewer(viewer->window);
  return *viewer;
}

void FakeClipboard::LeaveForeignViewer(ForeignViewer& viewer) {
  ChangeClipboardChain(viewer.window, viewer.next);
  DestroyUtilWindow(viewer.window);
}

}  // namespace solvane::fake
