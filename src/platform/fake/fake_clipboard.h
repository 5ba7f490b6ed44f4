#pragma once
// An in-memory clipboard with a viewer chain that follows the platform's
// rules, so the monitor's chain handling is tested against real neighbours.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "platform/clipboard_chain.h"

namespace solvane::fake {

class FakeClipboard;

// Another program's viewer window that keeps the chain rules itself.
struct ForeignViewer {
  WindowHandle window = 0;
  WindowHandle next = 0;
  int drawCount = 0;
  int chainCount = 0;
};

class FakeClipboard : public Clipboard, public ClipboardChainApi {
 public:
  // Clipboard
  bool HasText() override;
  bool IsExcludedFromHistory() override { return excluded_; }
  std::optional<std::string> ReadText() override;
  bool WriteText(std::string_view text) override;
  std::optional<std::string> ReadUnicodeText() override;
  bool WriteUnicodeText(std::string_view utf8) override;
  // The fake's ANSI code page is Latin-1: byte n is U+00nn.
  std::string AnsiToUtf8(std::string_view ansi) override;
  bool Clear() override;

  // ClipboardChainApi
  WindowHandle CreateUtilWindow(MessageHandler handler) override;
  void DestroyUtilWindow(WindowHandle window) override;
  WindowHandle SetClipboardViewer(WindowHandle window) override;
  void ChangeClipboardChain(WindowHandle remove, WindowHandle next) override;
  std::intptr_t Send(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
  std::intptr_t DefaultProc(WindowHandle, unsigned, std::uintptr_t, std::intptr_t) override { return 0; }

  // What another program does.
  void CopyText(std::string text);       // text only
  // Unicode text, given in UTF-8; its ANSI form holds "?" for what Latin-1
  // cannot.
  void CopyUnicode(std::string utf8);
  // Text that its program marks as secret (a password manager's copy).
  void CopySecret(std::string text);
  void CopyOtherFormat();                // no text, e.g. a picture
  // While locked, opening the clipboard fails (another program holds it).
  void set_locked(bool locked) { locked_ = locked; }
  ForeignViewer& JoinForeignViewer();    // a viewer of another program joins
  void LeaveForeignViewer(ForeignViewer& viewer);

  std::optional<std::string> text() const { return text_; }
  std::optional<std::string> unicode() const { return unicode_; }
  WindowHandle head() const { return head_; }
  bool WindowExists(WindowHandle window) const { return windows_.count(window) > 0; }
  int writeCount() const { return writes_; }
  std::vector<std::string>* log = nullptr;  // the program's own writes

 private:
  void NotifyChange();

  void Put(std::optional<std::string> ansi, std::optional<std::string> utf8, bool excluded);

  std::optional<std::string> text_;
  std::optional<std::string> unicode_;
  bool excluded_ = false;
  bool locked_ = false;
  int writes_ = 0;
  WindowHandle head_ = 0;
  WindowHandle nextHandle_ = 0x100;
  std::map<WindowHandle, MessageHandler> windows_;
  std::vector<std::unique_ptr<ForeignViewer>> foreign_;
};

}  // namespace solvane::fake
