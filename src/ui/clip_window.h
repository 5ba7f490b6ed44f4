#pragma once
// ClipWindow: the clip window's logic. It owns the clip store and the adapters
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
#include "platform/clip_window_events.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/global_hotkey.h"
#include "platform/form_window.h"
#include "platform/input.h"
#include "platform/label_column.h"
#include "platform/clipboard_monitor.h"
#include "platform/pointer.h"
#include "platform/tray_icon.h"
#include "platform/text_metrics.h"
#include "platform/timers.h"
#include "platform/title_list.h"
#include "settings/settings_dialog.h"

namespace solvane {

// What the clip window needs of the desktop; all references outlive ClipWindow.
struct ClipWindowDesktop {
  Clipboard& clipboard;
  ClipboardChainApi& clipboardChain;
  Clock& clock;
  TextMetrics& listFont;
  Dialogs& dialogs;
  TitleList& titles;
  FormWindow& window;
  FileSystem& files;
  Pointer& pointer;
  Timers& timers;
  SettingsDialog& settings;
  std::string programFolder;  // with its trailing separator
  HotKeyApi& hotKeys;
  KeyNames& keyNames;
  KeyboardInput& input;
  LabelColumn& labels;
  TrayApi& tray;
  TrayMenu& trayMenu;
  IconHandle cachingOffIcon;  // caching off: the clipboard with a red mark
  IconHandle cachingOnIcon;  // caching on
};

inline constexpr int kHintWatchdogTimer = 1;  // preview hint watchdog
inline constexpr int kLabelFollowTimer = 3;  // label column follows the list

// Virtual-key codes the paste uses.
inline constexpr std::uint8_t kVkControl = 0x11;
inline constexpr std::uint8_t kVkV = 0x56;

class ClipWindow : public SettingsTarget, public ClipWindowEvents {
 public:
  // Builds the components and joins the clipboard chain (whose first notice
  // the capture handler swallows); with kStartNow it then runs Start and
  // ShowStartProblems. The program does those itself: the window must pass
  // a close on to the form first, and the boxes wait until the window has
  // been shown and put away (a box's closing would otherwise activate the
  // hidden window and use up its first activation).
  enum StartMode { kStartNow, kStartLater };
  explicit ClipWindow(ClipWindowDesktop platform, StartMode mode = kStartNow);
  ClipWindow(const ClipWindow&) = delete;
  ClipWindow& operator=(const ClipWindow&) = delete;

  // LoadAtStart, its failures kept for ShowStartProblems.
  void Start();
  // Loads the clip files and records the clipboard's text; what failed is
  // kept to be shown once everything has been tried, so the history is
  // whole whenever a box is up.
  void LoadAtStart();
  // One error box for each failure of the start, until the program closes.
  void ShowStartProblems();
  // Capture: the clipboard's new text becomes a clip at the top.
  void OnClipboardChange();
  // Tray menu " Caching": capture on or off.
  void OnCachingCommand();
  // The same switch from the tray icon, leaving the window as it is.
  void OnTrayDoubleClick();

  // The clipboard's text converted in place; its write is captured like
  // any copy.
  void UpperCaseClipboard();
  void LowerCaseClipboard();
  void ClearClipboard();
  // A right-button release on the clip list or the label column opens the
  // tray menu on the window.
  void OnListMouseUp(MouseButton button, unsigned shift, int x, int y);

  // Saving, clearing and quitting.
  void SaveHistory();
  void OnSaveClipsCommand();
  void OnAutosaveTimer();
  void ClearClips();
  void ScrubFile(const std::string& path);
  void Quit();
  // Saves the clip files, "prefs.qlx" and the settings. False when the
  // window must stay open: something could not be saved and the user chose
  // not to quit.
  bool OnClose();
  // The answer to the system's query whether the session may end: the clips
  // are saved, and no box ever holds the session up.
  int OnQueryEndSession();
  // The session ends (or, with false, goes on after all): whatever changed
  // since and the settings are saved, without boxes.
  void OnEndSession(bool ending);
  // "prefs.qlx": its first line holds the stored preference flags.
  void LoadPrefs();
  void SavePrefs();

  // Paste: the selected clip (or the run from it up to the newest) onto
  // the clipboard and into the application below the clip window.
  // False when the store has no text for a title of the selection.
  bool GatherSelection();
  void PasteSelection();
  void OnListClick();
  // The option buttons: pressing toggles (the two line-ending buttons are
  // one group in which at most one is down).
  void ToggleRunToTop();
  void ToggleAppendCrLf();
  void ToggleAppendCrLfLf();
  void KeepRunToTopAtTop();
  // The hide button.
  void OnHideButton();
  bool runToTop() const { return runToTop_; }
  bool appendCrLf() const { return appendCrLf_; }
  bool appendCrLfLf() const { return appendCrLfLf_; }

  // Hotkey and keys.
  void OnHotkey();
  void OnKeyDown(unsigned key, unsigned shift);
  void OnLabelFollowTimer();
  void OnLabelClick();
  // The preview hint goes once the pointer leaves the label column.
  void OnHintWatchdogTimer();

  // Activation.
  void OnActivate();
  void OnDeactivate();
  // Hotkey, paste delay and autosave timer from the settings dialog's
  // controls; a paste delay that is not a number throws after the hotkey.
  // A hotkey that does not work is marked in the tray icon's hint at once
  // and kept for ReportHotKey.
  void ApplySettings(const SettingsDialog& settings) override;
  // Says which hotkey could not be made to work, once, in an error box.
  void ReportHotKey() override;
  // Tray menu "Settings...": hides the clip window, opens the dialog.
  void OpenSettings();

  // Dragging the borderless window by its background or title picture;
  // x and y in the pressed control's coordinates.
  void OnDragStart(MouseButton button, unsigned shift, int x, int y);
  void OnDragMove(unsigned shift, int x, int y);
  void OnTitlePictureDragStart(MouseButton button, unsigned shift, int x, int y) { OnDragStart(button, shift, x, y); }
  void OnTitlePictureDragMove(unsigned shift, int x, int y) { OnDragMove(shift, x, y); }

  GlobalHotkey& hotkey() { return hotkey_; }
  TrayIcon& trayIcon() { return trayIcon_; }
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
  const ClipTextStore& store() const { return store_; }
  ClipTextStore& store() { return store_; }
  const std::string& LastCapture() const { return lastCapture_; }
  const std::string& WorkBuffer() const { return work_; }
  bool cachingOn() const { return cachingOn_; }
  // "Don't paste 1st (title) line": the one stored preference.
  bool TitleLineFlag() const { return titleLineFlag_; }
  int autosaveInterval() const { return autosaveInterval_; }
  void SetAutosaveInterval(int milliseconds);
  std::string PathOf(const char* fileName) const { return desktop_.programFolder + fileName; }
  ClipboardMonitor& clipboardMonitor() { return clipboardMonitor_; }

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
  void ShowPreviewHint();
  void SetCaching(bool on);
  void ConvertClipboard(char from, char to);
  bool Ask(int dx, int dy, const std::string& question);

  ClipWindowDesktop desktop_;
  SharedState state_;
  KeyGenerator keys_;
  std::string work_;  // work buffer
  ClipTextStore store_;  // clip text store
  std::string lastCapture_;  // last capture
  bool cachingOn_ = true;  // capture is on at every start
  bool titleLineFlag_ = false;
  int autosaveInterval_ = 0;
  bool autosaveBusy_ = false;
  // Whether this run read each clip file (or has since written it): a file
  // that was not read may hold clips no one has seen, and is never
  // overwritten.
  bool titleFileLoaded_ = false;
  bool storeFileLoaded_ = false;
  bool quiet_ = false;   // the session is ending: no box may hold it up
  bool closed_ = false;  // OnClose let the window close
  std::vector<std::string> startProblems_;
  bool startShown_ = false;  // ShowStartProblems has run: boxes may come
  std::string hotKeyProblem_;
  bool asking_ = false;  // a confirmation is up
  int dragAnchorX_ = 0, dragAnchorY_ = 0;  // DragAnchor
  bool runToTop_ = false;
  bool appendCrLf_ = false;
  bool appendCrLfLf_ = false;
  GlobalHotkey hotkey_;
  TrayIcon trayIcon_;
  ClipboardMonitor clipboardMonitor_;
};

}  // namespace solvane
