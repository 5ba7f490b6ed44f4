#pragma once
// ClipWindow: the clip window's logic. It owns the history (store and shared
// values), the parts that act on it (capture, housekeeping, paste) and the
// components (clipboard monitor, global hotkey, tray icon); its handlers
// are plain methods that the platform (or a test) calls for each event, and
// most hand the event to the part it concerns. Its own concerns are the
// window's: start-up, activation, showing and hiding, dragging, the preview
// hint, the tray menu and the settings.

#include <exception>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "capture/clip_capture.h"
#include "core/clip_files.h"
#include "core/clip_text_store.h"
#include "core/kept_clips.h"
#include "core/shared_state.h"
#include "history/history_keeper.h"
#include "paste/clipboard_commands.h"
#include "paste/paste_engine.h"
#include "search/clip_search.h"
#include "share/shared_history.h"
#include "platform/clipboard.h"
#include "platform/clipboard_chain.h"
#include "platform/clip_window_events.h"
#include "platform/code_page.h"
#include "platform/components/clipboard_monitor.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/folder_watch.h"
#include "platform/form_window.h"
#include "platform/components/global_hotkey.h"
#include "platform/input.h"
#include "platform/label_column.h"
#include "platform/match_list.h"
#include "platform/pointer.h"
#include "platform/share_crypto.h"
#include "platform/text_metrics.h"
#include "platform/timers.h"
#include "platform/title_list.h"
#include "platform/components/tray_icon.h"
#include "settings/settings_dialog.h"

namespace solvane {

// What the clip window needs of the desktop; all references outlive it.
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
  SearchLine& searchLine;
  MatchList& matchList;
  CodePage& codePage;
  IconHandle cachingOffIcon;  // the clipboard with a red mark
  IconHandle cachingOnIcon;
  StoreLoadedAhead storeLoadedAhead = nullptr;  // the store file loaded ahead for the start, if it was
  ShareCrypto& crypto;
  FolderWatch& folderWatch;
  std::string computerName;
  // The shared folder's first read, made ahead for the start, if it was.
  std::function<std::optional<ShareReadAhead>()> shareReadAhead = nullptr;
};

class ClipWindow : public SettingsTarget, public ClipWindowEvents {
 public:
  // Builds the components and joins the clipboard chain (whose first notice
  // the capture swallows); with kStartNow it then runs Start and
  // ShowStartProblems. The program does those itself: the window must pass
  // a close on to the logic first, and the boxes wait until the window has
  // been shown and put away (a box's closing would otherwise activate the
  // hidden window and use up its first activation).
  enum StartMode { kStartNow, kStartLater };
  explicit ClipWindow(ClipWindowDesktop desktop, StartMode mode = kStartNow);
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

  // Capture, and its switch (tray menu " Caching", or a double click on the
  // tray icon, which leaves the window as it is).
  void OnClipboardChange();
  void OnCachingCommand() override;
  void OnTrayDoubleClick();

  // The tray menu's clipboard commands; the write is captured like any copy.
  void UpperCaseClipboard() override { solvane::UpperCaseClipboard(desktop_.clipboard); }
  void LowerCaseClipboard() override { solvane::LowerCaseClipboard(desktop_.clipboard); }
  void ClearClipboard() override { solvane::ClearClipboard(desktop_.clipboard); }
  // A right-button release on the clip list or the label column opens the
  // tray menu on the window.
  void OnListMouseUp(MouseButton button, unsigned shift, int x, int y) override;

  // Saving, clearing and quitting.
  void OnSaveClipsCommand() override {
    CloseSearch();
    history_.OnSaveClipsCommand();
  }
  void OnAutosaveTimer() override { history_.OnAutosaveTimer(); }
  // The shared folder changed, or its periodic check is due.
  void OnShareCheck() override;
  void ClearClips() override;
  void Quit() override { history_.Quit(); }
  bool OnClose() override {
    share_.RemovalFinal();
    share_.SaveMerged();
    return history_.OnClose();
  }
  int OnQueryEndSession() override {
    share_.SaveMerged();
    return history_.OnQueryEndSession();
  }
  void OnEndSession(bool ending) override { history_.OnEndSession(ending); }

  // Paste and the option buttons.
  void OnListClick() override {
    Pasting([&] { paste_.OnListClick(); });
  }
  // Keys act only while the hotkey has the window up.
  void OnKeyDown(unsigned key, unsigned shift) override;
  // Released while a search is open: a run goes up from a line of the
  // whole list, which the matches do not show.
  void ToggleRunToTop() override {
    if (!search_.open()) paste_.ToggleRunToTop();
  }
  void ToggleAppendCrLf() override { paste_.ToggleAppendCrLf(); }
  void ToggleAppendCrLfLf() override { paste_.ToggleAppendCrLfLf(); }
  bool runToTop() const override { return paste_.runToTop(); }
  bool appendCrLf() const override { return paste_.appendCrLf(); }
  bool appendCrLfLf() const override { return paste_.appendCrLfLf(); }

  // Showing and hiding: the hotkey, the hide button, another program's
  // activation.
  void OnHotkey();
  void OnHideButton() override;
  void OnActivate() override;
  void OnDeactivate() override;
  void OnLabelFollowTimer() override;
  // The preview hint: a click on a label shows its clip; the hint goes once
  // the pointer leaves the label column.
  void OnLabelClick() override { ShowPreviewHint(); }
  void OnHintWatchdogTimer() override;

  // Hotkey, paste delay and autosave timer from the settings dialog's
  // controls (OK); a paste delay that is not a number throws after the
  // hotkey. A hotkey that does not work is marked in the tray icon's hint at
  // once and kept for ReportHotKey.
  void ApplySettings(const SettingsDialog& settings) override;
  // Says which hotkey could not be made to work, once, in an error box.
  void ReportHotKey() override;
  // Tray menu "Settings...": hides the clip window, opens the dialog.
  void OpenSettings() override;

  // Dragging the borderless window by its background or title picture;
  // x and y in the pressed control's coordinates.
  void OnDragStart(MouseButton button, unsigned shift, int x, int y) override;
  void OnDragMove(unsigned shift, int x, int y) override;
  void OnTitlePictureDragStart(MouseButton button, unsigned shift, int x, int y) override {
    OnDragStart(button, shift, x, y);
  }
  void OnTitlePictureDragMove(unsigned shift, int x, int y) override { OnDragMove(shift, x, y); }

  // The search: F3 (or a click on the title picture) opens a search line
  // over the title picture; what is typed there shows only the clips that
  // match, newest first, in a list over the title list; Up and Down move the
  // highlight, Enter or a click pastes the match, Esc closes the search.
  void OpenSearch();
  void CloseSearch();
  void OnTitlePictureClick() override { OpenSearch(); }
  void OnSearchTextChange(const std::string& text) override;
  void OnMatchClick(int row) override;
  const ClipSearch& search() const { return search_; }

  // Removing one clip: Delete takes the line under the pointer, or else the
  // line of the next key's label ("Delete which clip?"; any other key
  // cancels), or in a search the highlighted match; a kept clip asks first.
  // F4, or a click on the notice that follows, puts it back until the
  // window next hides. Insert keeps a clip for good, or lets it go, by the
  // same choice of line ("Keep which clip?").
  void OnNoticeClick() override;

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
  void ShowException(const std::exception& error) override;

  bool cachingOn() const override { return capture_.on(); }
  SharedState& state() { return state_; }
  const ClipTextStore& store() const { return store_; }
  ClipTextStore& store() { return store_; }
  const ClipTextStore& exactTexts() const { return exact_; }
  ClipTextStore& exactTexts() { return exact_; }
  ClipCapture& capture() { return capture_; }
  HistoryKeeper& history() { return history_; }
  PasteEngine& paste() { return paste_; }
  SharedHistory& share() { return share_; }
  GlobalHotkey& hotkey() { return hotkey_; }
  TrayIcon& trayIcon() { return trayIcon_; }
  ClipboardMonitor& clipboardMonitor() { return clipboardMonitor_; }

 private:
  void ShowPreviewHint();
  void SetCaching(bool on);
  void OnSearchKey(unsigned key);
  enum class Asked;
  void ChooseLine(Asked action);
  void OnAskedLabel(unsigned key);
  void ActOnLine(Asked action, int line);
  void ToggleKeptLine(int line);
  void RemoveLine(int line);
  void RestoreRemoved();
  // Runs a removal or its undo, then shows it: the notice, and the matches
  // taken anew.
  void ChangeRemoval(const std::function<void()>& change);
  void ShowRemovalChange();
  void ShowMatches();
  void PasteMatch();
  // A paste, and word to the shared history when it moved a clip up.
  void Pasting(const std::function<void()>& paste);
  // The shared folder's lasting problem (empty: none) in the tray tip.
  void ShowShareProblem(const std::string& problem);
  std::string ShareFolderPath(const SettingsDialog& settings);
  void ApplyHotkey(const std::string& text);
  // "prefs.qlx", or its failure reported and the load left for the next hotkey.
  void LoadPrefs();
  // A failure the user is told of once: with the start's boxes while they
  // are still to come, else at once, and never twice for the same cause.
  void ReportProblem(const std::string& problem);
  void ShowProblemOnce(const std::string& problem);

  ClipWindowDesktop desktop_;
  SharedState state_;
  ClipTextStore store_;
  ClipTextStore exact_;  // the exact texts of clips the ANSI code page cannot hold
  KeptClips kept_;
  ClipCapture capture_;
  HistoryKeeper history_;
  PasteEngine paste_;
  ClipSearch search_;
  SharedHistory share_;
  std::string shareProblem_;
  std::vector<std::string> startProblems_;
  std::set<std::string> shownProblems_;
  bool startShown_ = false;    // ShowStartProblems has run: boxes may come
  bool prefsPending_ = false;  // "prefs.qlx" could not be read yet
  // Delete or Insert pressed with the pointer on no line: the next key's
  // label names the clip to remove or to keep.
  enum class Asked { kNothing, kDelete, kKeep };
  Asked asked_ = Asked::kNothing;
  std::string hotKeyProblem_;
  int dragAnchorX_ = 0, dragAnchorY_ = 0;
  GlobalHotkey hotkey_;
  TrayIcon trayIcon_;
  ClipboardMonitor clipboardMonitor_;
};

}  // namespace solvane
