#include "platform/fake/fake_clipboard.h"

namespace solvane::fake {

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

namespace {

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
std::string FakeClipboard::Utf8ToAnsi(std::string_view utf8) { return Utf8ToLatin1(utf8); }

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

}  // namespace solvane::fake
