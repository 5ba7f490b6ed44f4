#pragma once
// An in-memory clipboard: text in the ANSI code page (Latin-1 here) and in
// Unicode, and what other programs do with it. Every change is told to the
// viewer chain given.

#include <optional>
#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "platform/fake/fake_clipboard_chain.h"

namespace solvane::fake {

// The fake's ANSI code page is Latin-1: byte n is U+00nn.
std::string Latin1ToUtf8(std::string_view ansi);

class FakeClipboard : public Clipboard {
 public:
  explicit FakeClipboard(FakeClipboardChain& chain) : chain_(chain) {}

  bool HasText() override;
  bool IsExcludedFromHistory() override { return excluded_; }
  std::optional<std::string> ReadText() override;
  bool WriteText(std::string_view text) override;
  std::optional<std::string> ReadUnicodeText() override;
  bool WriteUnicodeText(std::string_view utf8) override;
  // The fake's ANSI code page is Latin-1: byte n is U+00nn.
  std::string AnsiToUtf8(std::string_view ansi) override;
  std::string Utf8ToAnsi(std::string_view utf8) override;
  bool Clear() override;

  // What another program does.
  void CopyText(std::string text);  // text only
  // Unicode text, given in UTF-8; its ANSI form holds "?" for what Latin-1
  // cannot.
  void CopyUnicode(std::string utf8);
  // Text that its program marks as secret (a password manager's copy).
  void CopySecret(std::string text);
  void CopyOtherFormat();  // no text, e.g. a picture
  // While locked, opening the clipboard fails (another program holds it).
  void set_locked(bool locked) { locked_ = locked; }

  std::optional<std::string> text() const { return text_; }
  std::optional<std::string> unicode() const { return unicode_; }
  int writeCount() const { return writes_; }
  std::vector<std::string>* log = nullptr;  // the program's own writes

 private:
  void NotifyChange() { chain_.NotifyChange(); }
  void Put(std::optional<std::string> ansi, std::optional<std::string> utf8, bool excluded);

  FakeClipboardChain& chain_;
  std::optional<std::string> text_;
  std::optional<std::string> unicode_;
  bool excluded_ = false;
  bool locked_ = false;
  int writes_ = 0;
};

}  // namespace solvane::fake
