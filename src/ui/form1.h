#pragma once
// TForm1: the clip window's logic. It owns the clip store and the adapters
// (clipboard monitor, hotkey, tray icon); its handlers are plain methods that
// the platform (or a test) calls for each event.

#include <exception>
#include <string>
#include <vector>

#include "core/clip_text_store.h"
#include "core/key_generator.h"
#include "core/shared_state.h"
#include "base/shortcut.h"
#include "platform/clipboard.h"
#include "platform/clipboard_chain.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/fis_hotkey.h"
#include "platform/form_window.h"
#include "platform/input.h"
#include "platform/label_column.h"
#include "platform/pb_clipboard.h"
#include "platform/pointer.h"
#include "platform/rx_tray_icon.h"
#include "platform/text_metrics.h"
#include "platform/timers.h"
#include "platform/title_list.h"
#include "settings/form2.h"

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
  FileSystem& files;
  Pointer& pointer;
  Timers& timers;
  TForm2& Form2;
  std::string programFolder;  // with its trailing separator
  HotKeyApi& hotKeys;
  KeyNames& keyNames;
  KeyboardInput& input;
  LabelColumn& ListBox7;
  TrayApi& tray;
  TrayMenu& PopupMenu1;
  IconHandle Image2Icon;  // caching off: the clipboard with a red mark
  IconHandle Image3Icon;  // caching on
};

inline constexpr int kTimer1 = 1;  // preview hint watchdog
inline constexpr int kTimer3 = 3;  // label column follows the list

// Virtual-key codes the paste uses.
inline constexpr std::uint8_t kVkControl = 0x11;
inline constexpr std::uint8_t kVkV = 0x56;

class TForm1 : public SettingsTarget {
 public:
  // Builds the components and joins the clipboard chain (whose first notice
  // the capture handler swallows); with kStartNow it then runs Start and
  // ShowStartProblems. The program does those itself: the window must pass
  // a close on to the form first, and the boxes wait until the window has
  // been shown and put away (a box's closing would otherwise activate the
  // hidden window and use up its first activation).
  enum StartMode { kStartNow, kStartLater };
  explicit TForm1(Form1Platform platform, StartMode mode = kStartNow);
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // FormCreate, its failures kept for ShowStartProblems.
  void Start();
  // Loads the clip files and records the clipboard's text; what failed is
  // kept to be shown once everything has been tried, so the history is
  // whole whenever a box is up.
  void FormCreate();
  // One error box for each failure of the start, until the program closes.
  void ShowStartProblems();
  // Capture: the clipboard's new text becomes a clip at the top.
  void PBClipBoard1Change(void* sender);
  // Tray menu " Caching": capture on or off.
  void Caching1Click();
  // The same switch from the tray icon, leaving the window as it is.
  void RxTrayIcon1DblClick(void* sender);

  // The clipboard's text converted in place; its write is captured like
  // any copy.
  void UpperCase1Click();
  void LowerCase1Click();
  void ClearClipboard1Click();
  // A right-button release on the clip list or the label column opens the
  // tray menu on the window.
  void RxCheckListBox1MouseUp(MouseButton button, unsigned shift, int x, int y);

  // Saving, clearing and quitting.
  void Housekeeping();
  void SaveClips1Click();
  void Timer2Timer();
  void ClearClips1Click();
  void ScrubFile(const std::string& path);
  void Quit1Click();
  // Saves the clip files, "prefs.qlx" and the settings. False when the
  // window must stay open: something could not be saved and the user chose
  // not to quit.
  bool FormClose();
  // The answer to the system's query whether the session may end: the clips
  // are saved, and no box ever holds the session up.
  int WMQueryEndSession();
  // The session ends (or, with false, goes on after all): whatever changed
  // since and the settings are saved, without boxes.
  void WMEndSession(bool ending);
  // "PgmUpdate" reads "prefs.qlx", "ParmUpdate" writes it; others do nothing.
  void InitializeParameters(const std::string& mode);

  // Paste: the selected clip (or the run from it up to the newest) onto
  // the clipboard and into the application below the clip window.
  // False when the store has no text for a title of the selection.
  bool GatherFullClip();
  void ProcessRxCheckListBoxClick();
  void RxCheckListBox1Click();
  // The option buttons: pressing toggles (SpeedButton2 and SpeedButton3 are
  // one group in which at most one is down).
  void PressSpeedButton1();
  void PressSpeedButton2();
  void PressSpeedButton3();
  void SpeedButton1Click();
  // The hide button.
  void SpeedButton8Click();
  bool SpeedButton1Down() const { return SpeedButton1Down_; }
  bool SpeedButton2Down() const { return SpeedButton2Down_; }
  bool SpeedButton3Down() const { return SpeedButton3Down_; }

  // Hotkey and keys.
  void fisHotKey1HotKey(void* sender);
  void FormKeyDown(unsigned key, unsigned shift);
  void Timer3Timer();
  void ListBox7Click();
  // The preview hint goes once the pointer leaves the label column.
  void Timer1Timer();

  // Activation.
  void FormActivate();
  void AppDeactivate();
  // Hotkey, paste delay and autosave timer from the settings dialog's
  // controls; a paste delay that is not a number throws after the hotkey.
  // A hotkey that does not work is marked in the tray icon's hint at once
  // and kept for ReportHotKey.
  void ApplySettings(const TForm2& settings) override;
  // Says which hotkey could not be made to work, once, in an error box.
  void ReportHotKey() override;
  // Tray menu "Settings...": hides the clip window, opens the dialog.
  void SettingsClick();

  // Dragging the borderless window by its background or title picture;
  // x and y in the pressed control's coordinates.
  void Panel1MouseDown(MouseButton button, unsigned shift, int x, int y);
  void Panel1MouseMove(unsigned shift, int x, int y);
  void Image1MouseDown(MouseButton button, unsigned shift, int x, int y) { Panel1MouseDown(button, shift, x, y); }
  void Image1MouseMove(unsigned shift, int x, int y) { Panel1MouseMove(shift, x, y); }

  TfisHotKey& fisHotKey1() { return fisHotKey1_; }
  TRxTrayIcon& RxTrayIcon1() { return RxTrayIcon1_; }
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
  // "Don't paste 1st (title) line": the one stored preference.
  bool TitleLineFlag() const { return titleLineFlag_; }
  int Timer2Interval() const { return timer2Interval_; }
  void SetTimer2Interval(int milliseconds);
  std::string PathOf(const char* fileName) const { return platform_.programFolder + fileName; }
  TPBClipBoard& PBClipBoard1() { return PBClipBoard1_; }

 private:
  std::string MakeUniqueKey(const std::vector<std::string>& textLines);
  void RemoveStaleSaves();
  // Loads both clip files; the failures' messages, in order.
  std::vector<std::string> LoadClipFiles();
  // One title per record, newest first, for a title file that was lost.
  void RebuildTitles();
  // A clip file this run did not load is moved aside before anything is
  // written in its place; `kept` collects what to tell the user.
  void KeepIfNotLoaded(const char* fileName, bool& loaded, std::vector<std::string>& kept);
  void TellKept(const std::vector<std::string>& kept);
  void HintBuilder();
  void SetCaching(bool on);
  void ConvertClipboard(char from, char to);
  bool Ask(int dx, int dy, const std::string& question);

  Form1Platform platform_;
  SharedState state_;
  KeyGenerator keys_;
  std::string RxRichEdit1_;  // work buffer
  ClipTextStore RxRichEdit2_;  // clip text store
  std::string RxRichEdit3_;  // last capture
  bool Caching1Checked_ = true;  // capture is on at every start
  bool titleLineFlag_ = false;
  int timer2Interval_ = 0;
  bool autosaveBusy_ = false;
  // Whether this run read each clip file (or has since written it): a file
  // that was not read may hold clips no one has seen, and is never
  // overwritten.
  bool titleFileLoaded_ = false;
  bool storeFileLoaded_ = false;
  bool quiet_ = false;   // the session is ending: no box may hold it up
  bool closed_ = false;  // FormClose let the window close
  std::vector<std::string> startProblems_;
  bool startShown_ = false;  // ShowStartProblems has run: boxes may come
  std::string hotKeyProblem_;
  bool asking_ = false;  // a confirmation is up
  int dragAnchorX_ = 0, dragAnchorY_ = 0;  // DragAnchor
  bool SpeedButton1Down_ = false;
  bool SpeedButton2Down_ = false;
  bool SpeedButton3Down_ = false;
  TfisHotKey fisHotKey1_;
  TRxTrayIcon RxTrayIcon1_;
  TPBClipBoard PBClipBoard1_;
};

}  // namespace solvane
