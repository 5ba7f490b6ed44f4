#pragma once
// TForm1: the clip window's logic. It owns the clip store and the clipboard
// monitor; its handlers are plain methods that the platform (or a test)
// calls for each event.

#include <exception>
#include <string>

#include "core/clip_text_store.h"
#include "core/key_generator.h"
#include "core/shared_state.h"
#include "platform/clipboard.h"
#include "platform/clipboard_chain.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/form_window.h"
#include "platform/pb_clipboard.h"
#include "platform/text_metrics.h"
#include "platform/title_list.h"

namespace solvane {

// What the clip window needs of the desktop; all references outlive TForm1.
struct Form1Platform {
  Clipboard& clipboard;
  ClipboardChainApi& clipboardChain;
  Clock& clock;
  TextMetrics& listFont;
  Dialogs& dialogs;
  TitleList& RxCheckListBox1;
  FormWindow& window;
};

class TForm1 {
 public:
  // Builds the components, joins the clipboard chain (whose first notice the
  // capture handler swallows) and runs FormCreate.
  explicit TForm1(Form1Platform platform);
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  void FormCreate();
  // Capture: the clipboard's new text becomes a clip at the top.
  void PBClipBoard1Change(void* sender);
  // Tray menu " Caching": capture on or off.
  void Caching1Click();

  // Runs one event's handler the way the application does: a failure shows
  // its message in an error box and the program runs on.
  template <typename Handler>
  void HandleEvent(Handler&& handler) {
    try {
      handler();
    } catch (const std::exception& error) {
      ShowException(error);
    }
  }
  void ShowException(const std::exception& error);

  SharedState& state() { return state_; }
  const ClipTextStore& store() const { return RxRichEdit2_; }
  ClipTextStore& store() { return RxRichEdit2_; }
  const std::string& LastCapture() const { return RxRichEdit3_; }
  const std::string& WorkBuffer() const { return RxRichEdit1_; }
  bool CachingChecked() const { return Caching1Checked_; }
  TPBClipBoard& PBClipBoard1() { return PBClipBoard1_; }

 private:
  std::string MakeUniqueKey();

  Form1Platform platform_;
  SharedState state_;
  KeyGenerator keys_;
  std::string RxRichEdit1_;  // work buffer
  ClipTextStore RxRichEdit2_;  // clip text store
  std::string RxRichEdit3_;  // last capture
  bool Caching1Checked_ = true;  // capture is on at every start
  TPBClipBoard PBClipBoard1_;
};

}  // namespace solvane
