#pragma once
// ClipboardMonitor: tells the program that the clipboard's content changed. It
// joins the clipboard viewer chain once the main window's components are
// loaded, raises OnChange for every change notice (and once at joining, as
// the platform notifies a new viewer at once), passes every chain notice on
// so the other viewers keep working, and leaves the chain when destroyed.

#include <exception>
#include <functional>
#include <string>

#include "platform/clipboard.h"
#include "platform/clipboard_chain.h"

namespace solvane {

class ClipboardMonitor {
 public:
  using NotifyEvent = std::function<void()>;
  using ErrorEvent = std::function<void(const std::exception& error)>;

  ClipboardMonitor(ClipboardChainApi& api, Clipboard& clipboard);
  ~ClipboardMonitor();
  ClipboardMonitor(const ClipboardMonitor&) = delete;
  ClipboardMonitor& operator=(const ClipboardMonitor&) = delete;

  // Creates the hidden window and joins the chain; OnChange runs once inside.
  void Loaded();

  NotifyEvent OnChange;
  // Where an error raised by OnChange goes (the application's error box).
  // The notice is passed along the chain in any case.
  ErrorEvent OnError;

  const std::string& Version() const { return version_; }
  void SetVersion(const std::string&) {}  // fixed: assignments are ignored

  // The process-wide clipboard; not owned.
  Clipboard& clipboard() const { return clipboard_; }

  // A notice of the chain to the monitor's window.
  void HandleNotice(ChainNotice notice, std::uintptr_t first, std::intptr_t second);

  WindowHandle window() const { return window_; }
  WindowHandle next_viewer() const { return nextViewer_; }

 private:
  ClipboardChainApi& api_;
  Clipboard& clipboard_;
  std::string version_ = "1.20.00.00";
  WindowHandle window_ = 0;
  WindowHandle nextViewer_ = 0;
};

}  // namespace solvane
