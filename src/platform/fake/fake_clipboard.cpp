#include "platform/fake/fake_clipboard.h"

#include <algorithm>

namespace solvane::fake {

namespace {

std::string Latin1ToUtf8(std::string_view ansi) {
  std::string utf8;
  utf8.reserve(ansi.size());
  for (const char c : ansi) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      utf8 += c;
    } else {
      utf8 += static_cast<char>(0xC0 | (byte >> 6));
      utf8 += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return utf8;
}

// What Latin-1 cannot hold becomes "?", as the system's conversion does.
std::string Utf8ToLatin1(std::string_view utf8) {
  std::string ansi;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if (byte < 0x80) {
      ansi += static_cast<char>(byte);
    } else if ((byte == 0xC2 || byte == 0xC3) && i + 1 < utf8.size()) {
      ansi += static_cast<char>(((byte & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
    } else if ((byte & 0xC0) != 0x80) {
      ansi += '?';
    }
  }
  return ansi;
}

std::string UpToNul(const std::string& text) { return text.substr(0, text.find('\0')); }

}  // namespace

bool FakeClipboard::HasText() { return text_.has_value(); }

std::optional<std::string> FakeClipboard::ReadText() {
  if (locked_ || !text_) return std::nullopt;
  return UpToNul(*text_);  // CF_TEXT ends at its first NUL
}

std::optional<std::string> FakeClipboard::ReadUnicodeText() {
  if (locked_ || !unicode_) return std::nullopt;
  return UpToNul(*unicode_);
}

std::string FakeClipboard::AnsiToUtf8(std::string_view ansi) { return Latin1ToUtf8(ansi); }

void FakeClipboard::Put(std::optional<std::string> ansi, std::optional<std::string> utf8, bool excluded) {
  text_ = std::move(ansi);
  unicode_ = std::move(utf8);
  excluded_ = excluded;
}

bool FakeClipboard::WriteText(std::string_view text) {
  if (locked_) return false;
  Put(std::string(text), Latin1ToUtf8(text), false);
  ++writes_;
  if (log) log->push_back("clipboard " + *text_);
  NotifyChange();
  return true;
}

bool FakeClipboard::WriteUnicodeText(std::string_view utf8) {
  if (locked_) return false;
  Put(Utf8ToLatin1(utf8), std::string(utf8), false);
  ++writes_;
  if (log) log->push_back("clipboard (Unicode) " + *unicode_);
  NotifyChange();
  return true;
}

bool FakeClipboard::Clear() {
  if (locked_) return false;
  Put(std::nullopt, std::nullopt, false);
  ++writes_;
  NotifyChange();
  return true;
}

void FakeClipboard::CopyText(std::string text) {
  std::string utf8 = Latin1ToUtf8(text);
  Put(std::move(text), std::move(utf8), false);
  NotifyChange();
}

void FakeClipboard::CopyUnicode(std::string utf8) {
  std::string ansi = Utf8ToLatin1(utf8);
  Put(std::move(ansi), std::move(utf8), false);
  NotifyChange();
}

void FakeClipboard::CopySecret(std::string text) {
  std::string utf8 = Latin1ToUtf8(text);
  Put(std::move(text), std::move(utf8), true);
  NotifyChange();
}

void FakeClipboard::CopyOtherFormat() {
  Put(std::nullopt, std::nullopt, false);
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
