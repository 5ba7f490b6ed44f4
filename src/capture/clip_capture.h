#pragma once
// Capture: each new plain text on the clipboard becomes a clip at the top of
// the history, its title on the list's first line and its record first in
// the store. A text that the ANSI code page cannot hold is recorded so as
// well, and its exact text kept beside it in UTF-8 under the same key.

#include <string>
#include <unordered_set>
#include <vector>

#include "core/clip_text_store.h"
#include "core/key_generator.h"
#include "core/shared_state.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/text_metrics.h"
#include "platform/title_list.h"

namespace solvane {

// What capture needs of the desktop; all references outlive the capture.
struct CaptureDesktop {
  Clipboard& clipboard;
  Clock& clock;
  TextMetrics& listFont;
  TitleList& titles;
};

class ClipCapture {
 public:
  ClipCapture(CaptureDesktop desktop, ClipTextStore& store, ClipTextStore& exact, SharedState& state);

  // The clipboard changed: its text, unless it repeats the last capture,
  // becomes the newest clip. A paste's own write is skipped once.
  void OnClipboardChange();

  // "Caching": capture on or off; on at every start.
  bool on() const { return on_; }
  void SetOn(bool on) { on_ = on; }

  // A clip that came from elsewhere (another machine's history): its
  // records go into the stores under a fresh key, and its list items (the
  // title, and the exact title when there is an exact text) come back for
  // the caller to place. `exactText` is empty when the ANSI text is exact.
  // Throws AppError "RichEdit line insertion error" when it does not fit.
  struct Items {
    std::string item;
    std::string exactItem;
  };
  struct Elsewhere {
    std::string_view text, exactText;
  };
  // Many such clips put in together, as one block in each store: the items
  // of those that fit, from the first (the first clip's records on top).
  std::vector<Items> RecordElsewhere(const std::vector<Elsewhere>& clips);

  const std::string& LastCapture() const { return lastCapture_; }
  // After Clear Clips the same text may be captured again.
  void Forget() {
    lastCapture_.clear();
    lastExact_.clear();
  }

 private:
  // Also unlike any key in `alsoTaken` (small letters), when given.
  std::string MakeUniqueKey(std::string_view text, const std::unordered_set<std::string>* alsoTaken = nullptr);
  // The clipboard's Unicode text when the ANSI text does not hold it
  // exactly; empty otherwise.
  std::string ExactTextOf(const std::string& ansi);
  // Title, exact record and record, or none of them.
  void Insert(const std::string& key, const std::string& title, std::string_view text, const std::string& exactText);

  CaptureDesktop desktop_;
  ClipTextStore& store_;
  ClipTextStore& exact_;
  SharedState& state_;
  KeyGenerator keys_;
  // The last capture's text, and its exact text when it has one: a copy
  // repeats it only when both are the same.
  std::string lastCapture_;
  std::string lastExact_;
  bool on_ = true;
};

}  // namespace solvane
