#include "ui/clip_window.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "base/app_error.h"
#include "core/clip_files.h"
#include "base/str_to_int.h"
#include "base/text_buffer.h"
#include "core/title_builder.h"

namespace solvane {

namespace {

// Holds a flag up for the length of a scope, whichever way it is left.
class ScopedFlag {
 public:
  explicit ScopedFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~ScopedFlag() { flag_ = false; }
  ScopedFlag(const ScopedFlag&) = delete;
  ScopedFlag& operator=(const ScopedFlag&) = delete;

 private:
  bool& flag_;
};

}  // namespace

ClipWindow::ClipWindow(ClipWindowDesktop platform, StartMode mode)
    : desktop_(platform),
      hotkey_(platform.hotKeys),
      trayIcon_(platform.tray),
      clipboardMonitor_(platform.clipboardChain, platform.clipboard) {
  trayIcon_.SetIcon(desktop_.cachingOnIcon);
  trayIcon_.SetPopupMenu(&desktop_.trayMenu);
  trayIcon_.OnDblClick = [this]() { OnTrayDoubleClick(); };
  trayIcon_.OnError = [this](const std::exception& error) { ShowException(error); };
  trayIcon_.Loaded();
  hotkey_.OnHotKey = [this]() { HandleEvent([&] { OnHotkey(); }); };
  hotkey_.SetKey(0xC028);  // Ctrl+Alt+Down, as the window is built
  hotkey_.Loaded();
  clipboardMonitor_.OnChange = [this]() { OnClipboardChange(); };
  clipboardMonitor_.OnError = [this](const std::exception& error) { ShowException(error); };
  // The autosave timer runs at 3 s as the window is built; the first
  // activation sets its real interval.
  SetAutosaveInterval(3000);
  clipboardMonitor_.Loaded();
  if (mode == kStartNow) {
    Start();
    ShowStartProblems();
  }
}

void ClipWindow::Start() {
  try {
    LoadAtStart();
  } catch (const std::exception& error) {
    startProblems_.push_back(error.what());
  }
}

void ClipWindow::ShowStartProblems() {
  startShown_ = true;
  for (const std::string& problem : std::exchange(startProblems_, {})) {
    if (closed_) return;  // closed from inside an earlier box
    desktop_.dialogs.ShowError(problem);
  }
  ReportHotKey();
}

void ClipWindow::ShowException(const std::exception& error) { desktop_.dialogs.ShowError(error.what()); }

void ClipWindow::LoadAtStart() {
  state_.LastSaveTime = desktop_.clock.LocalTimeSeconds();
  state_.LastChangeTime = desktop_.clock.LocalTimeSeconds();
  desktop_.window.SetWidth(250);
  hotkey_.SetKey(TextToShortCut("F5", desktop_.keyNames));
  RemoveStaleSaves();
  startProblems_ = LoadClipFiles();
  OnClipboardChange();
}

// Each file is read even when the other is not: a title file that cannot
// be opened must not cost the clips' texts, nor the other way round.
std::vector<std::string> ClipWindow::LoadClipFiles() {
  std::vector<std::string> problems;
  TitleList& list = desktop_.titles;
  store_.Clear();
  try {
    // A file cut short by a NUL byte keeps the titles shown, and is kept
    // aside like an unread one before it is saved over.
    titleFileLoaded_ = LoadTitleList(list, desktop_.files, PathOf(kTitleFileName));
  } catch (const std::exception& error) {
    list.Clear();  // half a list would be saved over the whole file
    problems.push_back(error.what());
  }
  try {
    LoadTextStore(store_, desktop_.files, PathOf(kStoreFileName));
    storeFileLoaded_ = true;
  } catch (const std::exception& error) {
    problems.push_back(error.what());
  }
  if (storeFileLoaded_ && list.Count() == 0 && store_.Count() > 0) {
    try {
      RebuildTitles();
    } catch (const std::exception& error) {
      list.Clear();
      problems.push_back(error.what());
    }
  }
  return problems;
}

// Titles made from the texts as capture makes them, so that every stored
// clip can be found and pasted again.
void ClipWindow::RebuildTitles() {
  const std::vector<std::string> keys = store_.RecordKeys();
  std::vector<std::string> items;
  items.reserve(keys.size());
  for (const std::string& key : keys) {
    const std::string item = kTitlePadding + key;
    const std::optional<std::string> text = store_.Lookup(item);
    items.push_back(BuildTitle(text.value_or(std::string()), desktop_.listFont) + item);
  }
  desktop_.titles.Assign(std::vector<std::string_view>(items.begin(), items.end()));
}

void ClipWindow::KeepIfNotLoaded(const char* fileName, bool& loaded, std::vector<std::string>& kept) {
  if (loaded) return;
  const std::string path = PathOf(fileName);
  if (const auto keptAs = KeepAside(desktop_.files, path)) {
    kept.push_back("The clips in " + path +
                   " could not all be loaded when Solvane Clips started. So that saving does not overwrite them, "
                   "that file has been kept as " +
                   *keptAs + ".");
  }
  loaded = true;  // what is written there from now on is this run's own
}

void ClipWindow::TellKept(const std::vector<std::string>& kept) {
  if (quiet_) return;
  for (const std::string& message : kept) desktop_.dialogs.ShowError(message);
}

// A crash in the middle of a save leaves its unfinished copy behind; the
// real files were never touched, so the copy is only clutter.
void ClipWindow::RemoveStaleSaves() {
  for (const char* name : {kTitleFileName, kStoreFileName, kPrefsFileName}) {
    desktop_.files.Remove(PathOf(name) + kSavingSuffix);
  }
}

void ClipWindow::SetAutosaveInterval(int milliseconds) {
  autosaveInterval_ = milliseconds;
  desktop_.timers.SetInterval(kAutosaveTimer, milliseconds);
}

std::string ClipWindow::MakeUniqueKey(const std::vector<std::string>& textLines) {
  // A line of the new text that reads as a header or trailer (a piece of a
  // clip file copied in an editor) would be taken for the new record's own
  // marker if it named the new key: the record would end at that line.
  std::vector<std::string> quoted;
  for (const std::string& line : textLines) {
    if (ClipTextStore::MarkerOf(line) != ClipTextStore::Marker::None) {
      quoted.push_back(AsciiLower(std::string_view(line).substr(kHeaderMarker.size())));
    }
  }
  const auto taken = [&](const std::string& key) {
    return store_.ContainsKey(key) || std::find(quoted.begin(), quoted.end(), AsciiLower(key)) != quoted.end();
  };
  auto tick = [this] { return desktop_.clock.TickCount(); };
  std::string key = keys_.MakeKey(tick);
  // Two clips must never share a key, or the older one's title would paste
  // the newer text. A tick count too small to give a fresh key is replaced
  // by a wide range after a few tries.
  for (int attempt = 1; taken(key) && attempt < 1000; ++attempt) {
    if (attempt < 8) {
      key = keys_.MakeKey(tick);
    } else {
      key = keys_.MakeKey([] { return 0x7FFFFFFFu; });
    }
  }
  return key;
}

void ClipWindow::OnClipboardChange() {
  if (state_.SkipNextChange) {
    state_.SkipNextChange = false;
    return;
  }
  if (!cachingOn_) return;
  if (!desktop_.clipboard.HasText()) return;
  // A copy marked secret (a password) must never reach the history files.
  if (desktop_.clipboard.IsExcludedFromHistory()) return;
  auto text = desktop_.clipboard.ReadText();
  if (!text) return;  // still locked by another program: nothing to record

  work_ = NormalizeLineBreaks(*text);
  state_.LastChangeTime = desktop_.clock.LocalTimeSeconds();
  ++state_.Changes;
  if (work_ == lastCapture_) return;

  std::vector<std::string> lines = SplitBufferLines(work_);
  const std::string key = MakeUniqueKey(lines);
  const std::string title = BuildTitle(work_, desktop_.listFont);
  std::vector<std::string> record;
  record.reserve(lines.size() + 2);
  record.push_back(std::string(kHeaderMarker) + key);
  for (auto& line : lines) record.push_back(std::move(line));
  record.push_back(std::string(kTrailerMarker) + key);

  // The title goes in first: a list that refuses it leaves nothing to undo,
  // and a record that does not fit takes its title back out. Either way no
  // record is left that no title reaches.
  TitleList& list = desktop_.titles;
  try {
    list.Insert(0, title + kTitlePadding + key);
  } catch (const std::exception&) {
    throw AppError(kRichEditInsertionError);
  }
  try {
    store_.InsertAtTop(record);
  } catch (...) {
    list.Delete(0);
    throw;
  }
  lastCapture_ = work_;
}

void ClipWindow::SaveHistory() {
  const std::uint64_t covering = state_.Changes;
  std::vector<std::string> kept;
  try {
    KeepIfNotLoaded(kTitleFileName, titleFileLoaded_, kept);
    SaveTitleList(desktop_.titles, desktop_.files, PathOf(kTitleFileName));
    KeepIfNotLoaded(kStoreFileName, storeFileLoaded_, kept);
    SaveTextStore(store_, desktop_.files, PathOf(kStoreFileName));
  } catch (...) {
    TellKept(kept);
    throw;
  }
  state_.SavedChanges = covering;
  TellKept(kept);
}

void ClipWindow::OnSaveClipsCommand() {
  SaveHistory();
  desktop_.window.Hide();
}

void ClipWindow::OnAutosaveTimer() {
  if (state_.SavedChanges == state_.Changes) return;
  // While a failed save's error box is up, later ticks wait for it instead
  // of stacking more boxes; so the box is shown here, inside the guard.
  if (autosaveBusy_) return;
  const ScopedFlag busy(autosaveBusy_);
  try {
    SaveHistory();
  } catch (const std::exception& error) {
    ShowException(error);
    return;  // LastSaveTime stays: the next tick tries again
  }
  state_.LastSaveTime = state_.LastChangeTime;
}

bool ClipWindow::Ask(int dx, int dy, const std::string& question) {
  // One question at a time: a second Quit or Clear Clips from the tray menu
  // while a prompt is up is declined, or a Yes to the inner one would close
  // or clear under the outer one still waiting.
  if (asking_) return false;
  const ScopedFlag asking(asking_);
  Pointer& pointer = desktop_.pointer;
  pointer.MoveTo(pointer.DesktopWidth() / 2 + dx, pointer.DesktopHeight() / 2 + dy);
  return desktop_.dialogs.Confirm(question);
}

void ClipWindow::ClearClips() {
  desktop_.window.Hide();
  if (desktop_.settings.promptClear && !Ask(-20, 33, "Clear all current clips?")) return;
  desktop_.titles.Clear();
  work_.clear();
  store_.Clear();
  lastCapture_.clear();
  const std::uint64_t covering = state_.Changes;
  // A file this run never read holds clips the user did not see to clear.
  std::vector<std::string> kept;
  try {
    KeepIfNotLoaded(kTitleFileName, titleFileLoaded_, kept);
    KeepIfNotLoaded(kStoreFileName, storeFileLoaded_, kept);
  } catch (...) {
    TellKept(kept);
    throw;
  }
  TellKept(kept);
  for (const char* name : {kTitleFileName, kStoreFileName}) {
    ScrubFile(PathOf(name));
    // The unfinished copy of a save cut short holds clips as well.
    const std::string leftover = PathOf(name) + kSavingSuffix;
    if (desktop_.files.Exists(leftover)) {
      ScrubFile(leftover);
      desktop_.files.Remove(leftover);
    }
  }
  state_.SavedChanges = covering;
}

void ClipWindow::ScrubFile(const std::string& path) { solvane::ScrubFile(desktop_.files, path); }

void ClipWindow::Quit() {
  if (!desktop_.settings.promptQuit || Ask(-25, 35, "Quit Solvane Clips?")) desktop_.window.Close();
  desktop_.window.Hide();
  state_.WindowShown = false;
}

bool ClipWindow::OnClose() {
  // Each save is tried even when one before it failed: a read-only
  // "prefs.qlx" must not cost the clips or the settings.
  std::string failures;
  const auto attempt = [&](auto&& save) {
    try {
      save();
    } catch (const std::exception& error) {
      failures += error.what();
      failures += "\r\n";
    }
  };
  attempt([this] { SaveHistory(); });
  attempt([this] { SavePrefs(); });
  attempt([this] { desktop_.settings.SaveState(); });
  if (!failures.empty() && !quiet_ &&
      !Ask(-25, 35, "Solvane Clips could not save everything:\r\n\r\n" + failures +
                        "\r\nQuit anyway? What was not saved will be lost.")) {
    return false;
  }
  closed_ = true;
  return true;
}

int ClipWindow::OnQueryEndSession() {
  const ScopedFlag quiet(quiet_);
  try {
    SaveHistory();
  } catch (const std::exception&) {
    // Nothing can be done about it now, and a box would hold the session.
  }
  return 1;
}

void ClipWindow::OnEndSession(bool ending) {
  if (!ending) return;
  const ScopedFlag quiet(quiet_);
  // The process ends right after this returns: the message loop never
  // finishes, so what a close would write is written here.
  // Nothing more can be done about a failure now, and no box may wait.
  try {
    if (state_.SavedChanges != state_.Changes) SaveHistory();
  } catch (const std::exception&) {
  }
  try {
    desktop_.settings.SaveState();
  } catch (const std::exception&) {
  }
}

void ClipWindow::LoadPrefs() {
  const std::string contents = ReadFileOrThrow(desktop_.files, PathOf(kPrefsFileName));
  const auto lines = SplitStoreFile(contents);
  const std::string first = lines.empty() ? std::string() : lines.front();
  // An empty line has no flag to read: take the defaults.
  state_.PrefFlags = first.empty() ? std::string("0000000000") : first;
  if (state_.PrefFlags[0] == '1') titleLineFlag_ = true;
}

void ClipWindow::SavePrefs() {
  state_.PrefFlags[0] = titleLineFlag_ ? '1' : '0';
  SaveReplacing(desktop_.files, PathOf(kPrefsFileName), JoinFileLines({state_.PrefFlags}));
}

bool ClipWindow::GatherSelection() {
  TitleList& list = desktop_.titles;
  work_.clear();
  const int selected = list.ItemIndex();
  if (selected < 0) return runToTop_;  // a run from no line is empty
  if (!runToTop_) {
    auto text = store_.Lookup(list.Get(selected));
    if (!text) return false;
    work_ = std::move(*text);
    return true;
  }
  // The clicked clip first, the newest last, each ending in a line break.
  bool complete = true;
  for (int line = selected; line >= 0; --line) {
    auto text = store_.Lookup(list.Get(line));
    if (!text) {
      complete = false;
      continue;
    }
    work_ += *text;
    work_ += kCrLf;
  }
  return complete;
}

void ClipWindow::PasteSelection() {
  TitleList& list = desktop_.titles;
  state_.SkipNextChange = true;
  // A title without its text, or a clipboard that stays locked, pastes
  // nothing: Ctrl+V would otherwise paste whatever was there before. No
  // change notice will come either, so the skip flag must not stay set.
  if (!GatherSelection()) {
    state_.SkipNextChange = false;
    list.SetItemIndex(-1);
    return;
  }
  std::string text = work_;
  if (appendCrLf_) {
    text += "\r\n";
  } else if (appendCrLfLf_) {
    text += "\r\n\n";
  }
  if (!desktop_.clipboard.WriteText(text)) {
    state_.SkipNextChange = false;
    list.SetItemIndex(-1);
    return;
  }
  {
    // The list shows its new order once the window is gone, not at each
    // step while the user waits for the paste.
    list.BeginUpdate();
    const struct Shown {
      TitleList& list;
      ~Shown() { list.EndUpdate(); }
    } shown{list};
    if (!runToTop_) {
      const int selected = list.ItemIndex();
      const std::string item = list.Get(selected);
      // Inserted before it is deleted, so a list that refuses the insert
      // loses no title.
      list.Insert(0, item);
      list.Delete(selected + 1);
      if (list.Count() > state_.MaxClips) list.Delete(state_.MaxClips);
    }
    runToTop_ = false;
    list.SetItemIndex(-1);
    desktop_.window.MinimizeApplication();
    desktop_.window.Hide();
  }
  desktop_.input.Sleep(state_.PasteDelay);
  desktop_.input.KeyEvent(kVkControl, 0, 0);
  desktop_.input.KeyEvent(kVkV, 0, 0);
  desktop_.input.KeyEvent(kVkV, 0, KeyboardInput::kKeyUp);
  desktop_.input.KeyEvent(kVkControl, 0, KeyboardInput::kKeyUp);
  state_.WindowShown = false;
  list.SetTopIndex(0);
}

void ClipWindow::OnListClick() {
  TitleList& list = desktop_.titles;
  const int selected = list.ItemIndex();
  if (selected >= 0 && list.Get(selected).find(kHeaderMarker) != std::string::npos) PasteSelection();
  list.SetTopIndex(0);
}

void ClipWindow::ToggleRunToTop() {
  runToTop_ = !runToTop_;
  KeepRunToTopAtTop();
}

void ClipWindow::ToggleAppendCrLf() {
  appendCrLf_ = !appendCrLf_;
  if (appendCrLf_) appendCrLfLf_ = false;
}

void ClipWindow::ToggleAppendCrLfLf() {
  appendCrLfLf_ = !appendCrLfLf_;
  if (appendCrLfLf_) appendCrLf_ = false;
}

// Run-to-top works only while the list shows its first line.
void ClipWindow::KeepRunToTopAtTop() {
  if (desktop_.titles.TopIndex() != 0) runToTop_ = false;
}

void ClipWindow::OnHideButton() {
  state_.WindowShown = false;
  desktop_.window.Hide();
  desktop_.titles.SetTopIndex(0);
}

void ClipWindow::OnHotkey() {
  FormWindow& window = desktop_.window;
  if (state_.WindowShown) {
    window.Hide();
    state_.WindowShown = false;
    return;
  }
  window.TakeForeground();
  desktop_.titles.SetEnabled(true);
  desktop_.labels.SetEnabled(true);
  desktop_.timers.SetInterval(kLabelFollowTimer, 100);
  window.ShowRestored();
  desktop_.titles.SetTopIndex(0);
  window.FocusPanel();
  desktop_.pointer.MoveTo(window.Left() + 247, window.Top() + 118);
  desktop_.titles.SetHorizontalExtent(0);
  window.BringToTop();
  state_.WindowShown = true;
}

void ClipWindow::OnKeyDown(unsigned key, unsigned /*shift: modifiers are not examined*/) {
  TitleList& list = desktop_.titles;
  list.SetItemIndex(-1);
  int labelIndex = -1;
  if (key >= 0x31 && key <= 0x39) {
    labelIndex = static_cast<int>(key - 0x31);
  } else if (key == 0x30) {
    labelIndex = 9;
  } else if (key >= 0x41 && key <= 0x5A) {
    labelIndex = static_cast<int>(key - 0x41) + 10;
  }
  if (labelIndex >= 0) {
    const int line = list.TopIndex() <= labelIndex ? labelIndex : labelIndex + 36;
    if (line < list.Count()) list.SetItemIndex(line);
  }
  if (list.ItemIndex() >= 0) PasteSelection();
}

void ClipWindow::OnLabelFollowTimer() {
  const int top = desktop_.titles.TopIndex();
  if (desktop_.labels.TopIndex() != top) desktop_.labels.SetTopIndex(top);
  if (top != 0) runToTop_ = false;
}

void ClipWindow::OnLabelClick() { ShowPreviewHint(); }

void ClipWindow::ShowPreviewHint() {
  LabelColumn& labels = desktop_.labels;
  TitleList& list = desktop_.titles;
  labels.SetHint("");
  const int row = labels.ItemIndex();
  if (row >= 0 && row <= list.Count() - 1) {
    list.SetItemIndex(row);
    GatherSelection();
    // The hint machinery splits at "|": show a broken bar instead.
    for (char& c : work_) {
      if (c == '|') c = '\xA6';
    }
    std::vector<std::string> lines = SplitBufferLines(work_);
    lines.resize(static_cast<std::size_t>(BufferLineCount(work_)));
    constexpr std::size_t kMaxHintLines = 45;
    if (lines.size() >= kMaxHintLines) {
      lines.resize(kMaxHintLines);
      lines.back() += "...";
    }
    labels.SetHint(JoinLines(lines));
    labels.SetShowHint(true);
    desktop_.timers.SetInterval(kHintWatchdogTimer, 100);
  }
  labels.SetItemIndex(-1);
  list.SetItemIndex(-1);
}

void ClipWindow::OnHintWatchdogTimer() {
  const ScreenRect r = desktop_.labels.Bounds();
  const int x = desktop_.pointer.X();
  const int y = desktop_.pointer.Y();
  if (x > r.left && x < r.left + r.width && y > r.top && y < r.top + r.height) return;
  desktop_.timers.SetInterval(kHintWatchdogTimer, 0);
  desktop_.labels.SetShowHint(false);
}

void ClipWindow::ApplySettings(const SettingsDialog& settings) {
  hotkey_.SetKey(TextToShortCut(settings.hotkeyText, desktop_.keyNames));
  hotkey_.SetEnabled(true);  // tries again a combination refused before
  hotKeyProblem_.clear();
  if (hotkey_.registered()) {
    trayIcon_.SetHint("");
  } else {
    const std::string name = settings.hotkeyText.empty() ? "(none)" : settings.hotkeyText;
    hotKeyProblem_ = (hotkey_.Key() & 0xFF) == 0
                         ? "\"" + name + "\" is not a hotkey that Solvane Clips can use."
                         : "The hotkey " + name + " could not be registered: another program is using it.";
    hotKeyProblem_ += " The clip window cannot be called up until another hotkey is chosen in Settings.";
    trayIcon_.SetHint("Solvane Clips: hotkey " + name + " not active");
  }
  state_.PasteDelay = StrToInt(settings.pasteDelayText);
  SetAutosaveInterval(settings.autosave ? state_.AutoSaveInterval : 0);
}

void ClipWindow::ReportHotKey() {
  if (hotKeyProblem_.empty() || closed_) return;
  desktop_.dialogs.ShowError(std::exchange(hotKeyProblem_, {}));
}

void ClipWindow::OpenSettings() {
  desktop_.window.Hide();
  if (desktop_.settings.window() != nullptr) desktop_.settings.window()->ShowModal();
}

void ClipWindow::OnDragStart(MouseButton /*button*/, unsigned /*shift*/, int x, int y) {
  dragAnchorX_ = x;
  dragAnchorY_ = y;
}

void ClipWindow::OnDragMove(unsigned shift, int x, int y) {
  if (shift != kShiftLeft) return;  // the left button alone, no keys held
  FormWindow& window = desktop_.window;
  window.SetTop(window.Top() + (y - dragAnchorY_));
  window.SetLeft(window.Left() + (x - dragAnchorX_));
}

void ClipWindow::OnActivate() {
  if (state_.FirstActivationDone) return;
  ApplySettings(desktop_.settings);
  LoadPrefs();
  desktop_.titles.SetHorizontalExtent(0);
  desktop_.window.MinimizeApplication();
  state_.FirstActivationDone = true;
  // Before the start has shown its own boxes, it reports this with them.
  if (startShown_) ReportHotKey();
}

void ClipWindow::OnDeactivate() {
  desktop_.titles.SetTopIndex(0);
  state_.WindowShown = false;
  desktop_.window.HideOwner();
  desktop_.window.Hide();
  desktop_.timers.SetInterval(kLabelFollowTimer, 0);
}

void ClipWindow::SetCaching(bool on) {
  cachingOn_ = on;
  trayIcon_.SetIcon(on ? desktop_.cachingOnIcon : desktop_.cachingOffIcon);
}

void ClipWindow::OnCachingCommand() {
  SetCaching(!cachingOn_);
  desktop_.window.Hide();
  state_.WindowShown = false;
}

void ClipWindow::OnTrayDoubleClick() { SetCaching(!cachingOn_); }

void ClipWindow::ConvertClipboard(char from, char to) {
  Clipboard& clipboard = desktop_.clipboard;
  if (!clipboard.HasText()) return;
  auto text = clipboard.ReadText();
  if (!text) return;
  for (char& c : *text) {
    if (c >= from && c <= static_cast<char>(from + 25)) c = static_cast<char>(c - from + to);
  }
  clipboard.WriteText(*text);
}

void ClipWindow::UpperCaseClipboard() { ConvertClipboard('a', 'A'); }

void ClipWindow::LowerCaseClipboard() { ConvertClipboard('A', 'a'); }

void ClipWindow::ClearClipboard() { desktop_.clipboard.Clear(); }

void ClipWindow::OnListMouseUp(MouseButton button, unsigned /*shift*/, int /*x*/, int /*y*/) {
  if (button != MouseButton::Right) return;
  desktop_.titles.SetEnabled(false);
  desktop_.labels.SetEnabled(false);
  desktop_.trayMenu.Popup(ScreenPoint{desktop_.window.Left() + 60, desktop_.window.Top() + 50});
}

}  // namespace solvane
