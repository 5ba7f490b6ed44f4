#include "ui/clip_window.h"

#include <utility>
#include <vector>

#include "base/app_error.h"
#include "base/str_to_int.h"
#include "base/text_buffer.h"
#include "platform/components/window_layout.h"

namespace solvane {

namespace {

// What the preview hint shows of a clip (in UTF-8): its lines, at most 45,
// the last of those marked "..." when more follow.
std::string PreviewHintText(std::string_view clip) {
  // The hint machinery splits at "|": show a broken bar instead.
  std::string text;
  text.reserve(clip.size());
  for (const char c : clip) {
    if (c == '|') {
      text += "\xC2\xA6";
    } else {
      text += c;
    }
  }
  std::vector<std::string> lines = SplitBufferLines(text);
  lines.resize(static_cast<std::size_t>(BufferLineCount(text)));
  constexpr std::size_t kMaxHintLines = 45;
  if (lines.size() >= kMaxHintLines) {
    lines.resize(kMaxHintLines);
    lines.back() += "...";
  }
  return JoinLines(lines);
}

constexpr char kShareProblemHint[] = "Solvane Clips: history not shared";

}  // namespace

ClipWindow::ClipWindow(ClipWindowDesktop desktop, StartMode mode)
    : desktop_(std::move(desktop)),
      capture_(CaptureDesktop{desktop_.clipboard, desktop_.clock, desktop_.listFont, desktop_.titles}, store_, exact_,
               state_),
      history_(HistoryDesktop{.files = desktop_.files,
                              .titles = desktop_.titles,
                              .listFont = desktop_.listFont,
                              .dialogs = desktop_.dialogs,
                              .pointer = desktop_.pointer,
                              .timers = desktop_.timers,
                              .window = desktop_.window,
                              .settings = desktop_.settings,
                              .programFolder = desktop_.programFolder,
                              .storeLoadedAhead = desktop_.storeLoadedAhead},
               store_, exact_, kept_, state_),
      paste_(PasteDesktop{desktop_.clipboard, desktop_.titles, desktop_.window, desktop_.input}, store_, exact_, kept_,
             state_),
      search_(desktop_.titles, store_, exact_, desktop_.codePage),
      share_(ShareDesktop{.files = desktop_.files,
                          .crypto = desktop_.crypto,
                          .watch = desktop_.folderWatch,
                          .clock = desktop_.clock,
                          .clipboard = desktop_.clipboard,
                          .titles = desktop_.titles,
                          .timers = desktop_.timers,
                          .programFolder = desktop_.programFolder,
                          .computerName = desktop_.computerName,
                          .readAhead = desktop_.shareReadAhead},
             store_, exact_, kept_, capture_, history_, state_),
      hotkey_(desktop_.hotKeys),
      trayIcon_(desktop_.tray),
      clipboardMonitor_(desktop_.clipboardChain, desktop_.clipboard) {
  // Each exact text stands for a record of the store, and UTF-8 takes at
  // most four bytes for a character the record holds in one.
  exact_.set_capacity(4 * ClipTextStore::kCapacity);
  desktop_.titles.SetMarkedKeys([this](std::string_view key) { return kept_.Contains(key); });
  trayIcon_.SetIcon(desktop_.cachingOnIcon);
  trayIcon_.SetPopupMenu(&desktop_.trayMenu);
  trayIcon_.OnDblClick = [this] { OnTrayDoubleClick(); };
  trayIcon_.OnError = [this](const std::exception& error) { ShowException(error); };
  trayIcon_.Loaded();
  hotkey_.OnHotKey = [this] { HandleEvent([&] { OnHotkey(); }); };
  hotkey_.SetKey(0xC028);  // Ctrl+Alt+Down, as the window is built
  hotkey_.Loaded();
  clipboardMonitor_.OnChange = [this] { OnClipboardChange(); };
  share_.report = [this](const std::string& problem) { ShowShareProblem(problem); };
  share_.notice = [this](const std::string& message) { ReportProblem(message); };
  clipboardMonitor_.OnError = [this](const std::exception& error) { ShowException(error); };
  // The autosave timer runs at 3 s as the window is built; the first
  // activation sets its real interval.
  history_.SetAutosaveInterval(3000);
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
    if (history_.closed()) return;  // closed from inside an earlier box
    ShowProblemOnce(problem);
  }
  ReportHotKey();
}

void ClipWindow::ReportProblem(const std::string& problem) {
  if (!startShown_) {
    startProblems_.push_back(problem);
    return;
  }
  ShowProblemOnce(problem);
}

void ClipWindow::ShowProblemOnce(const std::string& problem) {
  if (history_.closed() || !shownProblems_.insert(problem).second) return;
  desktop_.dialogs.ShowError(problem);
}

void ClipWindow::ShowException(const std::exception& error) {
  if (history_.closed()) return;  // the program is ending: nothing more to say
  desktop_.dialogs.ShowError(error.what());
}

void ClipWindow::LoadAtStart() {
  state_.LastSaveTime = desktop_.clock.LocalTimeSeconds();
  state_.LastChangeTime = desktop_.clock.LocalTimeSeconds();
  desktop_.window.SetWidth(LayOutClipWindow(desktop_.window.Dpi()).width);
  hotkey_.SetKey(TextToShortCut("F5", desktop_.keyNames));
  // The list shows the loaded history once, and without the sideways extent
  // the loaded lines give it: the first activation sets that back to 0
  // anyway, and a scroll bar shown and dropped again cost 15 ms under Wine.
  TitleList& titles = desktop_.titles;
  const ListUpdate update(titles);
  startProblems_ = history_.LoadAtStart();
  capture_.OnClipboardChange();
  titles.SetHorizontalExtent(0);
}

void ClipWindow::OnClipboardChange() {
  const int before = desktop_.titles.Count();
  capture_.OnClipboardChange();
  // A clip copied while a search is open is among the matches at once.
  const int added = desktop_.titles.Count() - before;
  if (added > 0) share_.Captured();
  if (search_.open() && added > 0) {
    search_.LinesAddedAtTop(added);
    ShowMatches();
  }
}

void ClipWindow::OnShareCheck() {
  const auto changes = state_.Changes;
  share_.Check();
  // A merge moves lines under an open search: its matches would name
  // other clips (and paste them), so they are found again.
  if (search_.open() && state_.Changes != changes) {
    search_.Refresh();
    ShowMatches();
  }
}

void ClipWindow::ClearClips() {
  CloseSearch();
  desktop_.window.Hide();
  if (!history_.ConfirmClear()) return;
  capture_.Forget();
  history_.Clear();
  share_.Cleared();
}

void ClipWindow::OnHideButton() {
  CloseSearch();
  state_.WindowShown = false;
  desktop_.window.Hide();
  desktop_.titles.SetTopIndex(0);
}

void ClipWindow::OnHotkey() {
  FormWindow& window = desktop_.window;
  CloseSearch();  // the window always comes up with the whole list
  // A removal is final once the window has gone.
  history_.ForgetRemoved();
  share_.RemovalFinal();
  asked_ = Asked::kNothing;
  desktop_.searchLine.HideNotice();
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
  const Point onButton = LayOutClipWindow(window.Dpi()).pointerAfterHotkey;
  desktop_.pointer.MoveTo(window.Left() + onButton.x, window.Top() + onButton.y);
  desktop_.titles.SetHorizontalExtent(0);
  window.BringToTop();
  state_.WindowShown = true;
  if (prefsPending_) LoadPrefs();
}

void ClipWindow::OnKeyDown(unsigned key, unsigned shift) {
  // Only while the hotkey has the window up: a key that reaches it hidden
  // (activated by a closing box, say) must never paste behind the user's back.
  if (!state_.WindowShown) return;
  if (asked_ != Asked::kNothing) return OnAskedLabel(key);
  if (key == kVkDelete) return ChooseLine(Asked::kDelete);
  if (key == kVkInsert) return ChooseLine(Asked::kKeep);
  if (key == kVkF4) return RestoreRemoved();
  if (search_.open()) return OnSearchKey(key);
  if (key == kVkF3) return OpenSearch();
  if (key == kVkEscape) return OnHideButton();
  Pasting([&] { paste_.OnKeyDown(key, shift); });
}

// Letters and digits go into the search line; these keys act on the matches.
void ClipWindow::OnSearchKey(unsigned key) {
  switch (key) {
    case kVkUp:
      search_.MoveHighlight(-1);
      break;
    case kVkDown:
      search_.MoveHighlight(1);
      break;
    case kVkPageUp:
      search_.MoveHighlight(-(kLabelsPerPage - 1));
      break;
    case kVkPageDown:
      search_.MoveHighlight(kLabelsPerPage - 1);
      break;
    case kVkReturn:
      return PasteMatch();
    case kVkEscape:
      return CloseSearch();
    default:
      return;
  }
  desktop_.matchList.SetHighlight(search_.highlight());
}

// The line Delete or Insert acts on: in a search the highlighted match,
// else the one under the pointer, else the one whose label comes next.
void ClipWindow::ChooseLine(Asked action) {
  if (search_.open()) return ActOnLine(action, search_.LineOfRow(search_.highlight()));
  const int pointed = desktop_.titles.LineAtScreenPoint(desktop_.pointer.X(), desktop_.pointer.Y());
  if (pointed >= 0) return ActOnLine(action, pointed);
  asked_ = action;
  desktop_.searchLine.ShowNotice(action == Asked::kDelete ? "Delete which clip?" : "Keep which clip?");
}

void ClipWindow::OnAskedLabel(unsigned key) {
  const Asked action = asked_;
  asked_ = Asked::kNothing;
  desktop_.searchLine.HideNotice();
  const TitleList& list = desktop_.titles;
  ActOnLine(action, LineForKey(key, list.TopIndex(), list.Count()));  // no line: the key only cancels
}

void ClipWindow::ActOnLine(Asked action, int line) {
  if (action == Asked::kDelete) {
    RemoveLine(line);
  } else {
    ToggleKeptLine(line);
  }
}

void ClipWindow::ToggleKeptLine(int line) {
  if (line < 0) return;
  history_.ToggleKept(line);
  share_.KeptChanged(line);
  if (search_.open()) ShowMatches();  // their marks
}

void ClipWindow::RemoveLine(int line) {
  if (line < 0 || !history_.ConfirmRemoveKept(line)) return;
  std::string text = share_.TextOfLine(line);
  ChangeRemoval([&] {
    if (history_.RemoveClip(line)) share_.Removed(std::move(text));
  });
}

void ClipWindow::RestoreRemoved() {
  if (history_.HasRemoved()) {
    ChangeRemoval([&] {
      share_.RemovalUndone();
      history_.RestoreRemoved();
    });
  }
}

void ClipWindow::ChangeRemoval(const std::function<void()>& change) {
  // The save that follows a change may fail (and throw) with the list
  // already changed: the window shows the change either way.
  try {
    change();
  } catch (...) {
    ShowRemovalChange();
    throw;
  }
  ShowRemovalChange();
}

void ClipWindow::ShowRemovalChange() {
  if (history_.HasRemoved()) {
    desktop_.searchLine.ShowNotice("Deleted. F4 restores it.");
  } else {
    desktop_.searchLine.HideNotice();
  }
  if (search_.open()) {
    search_.Refresh();
    ShowMatches();
  }
}

void ClipWindow::OnNoticeClick() {
  if (state_.WindowShown && asked_ == Asked::kNothing) RestoreRemoved();
}

void ClipWindow::OpenSearch() {
  if (!state_.WindowShown || search_.open()) return;
  paste_.ReleaseRunToTop();
  search_.Open();
  desktop_.searchLine.Open();
  ShowMatches();
}

void ClipWindow::CloseSearch() {
  if (!search_.open()) return;
  search_.Close();
  desktop_.matchList.Hide();
  desktop_.searchLine.Close();
}

void ClipWindow::OnSearchTextChange(const std::string& text) {
  if (!search_.open()) return;
  desktop_.searchLine.HideNotice();  // F4 still puts a removed clip back
  search_.SetText(text);
  ShowMatches();
}

void ClipWindow::ShowMatches() {
  const auto count = static_cast<int>(search_.matches().size());
  desktop_.matchList.Show(search_.matches(), search_.highlight());
  desktop_.searchLine.SetStatus(count, count == 0 ? "No clip matches" : std::to_string(count));
}

void ClipWindow::OnMatchClick(int row) {
  if (!search_.open()) return;
  search_.SetHighlight(row);
  PasteMatch();
}

// A paste like any other, of the match's line in the whole list.
void ClipWindow::PasteMatch() {
  const int line = search_.LineOfRow(search_.highlight());
  if (line < 0) return;
  CloseSearch();
  desktop_.titles.SetItemIndex(line);
  Pasting([&] { paste_.PasteSelection(); });
}

void ClipWindow::OnLabelFollowTimer() {
  // Row r of the column bears label r mod 36, and it has 72 rows: scrolled
  // to the list's top index mod 36, the rows beside the list's lines bear
  // their own labels however far the list is scrolled.
  const int top = (search_.open() ? desktop_.matchList.TopIndex() : desktop_.titles.TopIndex()) % kLabelsPerPage;
  if (desktop_.labels.TopIndex() != top) desktop_.labels.SetTopIndex(top);
  paste_.KeepRunToTopAtTop();
}

void ClipWindow::ShowPreviewHint() {
  LabelColumn& labels = desktop_.labels;
  TitleList& list = desktop_.titles;
  labels.SetHint("");
  const int row = labels.ItemIndex();
  // The list line beside the clicked row: in a search, a match's.
  int line = -1;
  if (row >= 0 && search_.open()) {
    line = search_.LineOfRow(row - labels.TopIndex() + desktop_.matchList.TopIndex());
  } else if (row >= 0) {
    line = row - labels.TopIndex() + list.TopIndex();
  }
  if (line >= 0 && line <= list.Count() - 1) {
    list.SetItemIndex(line);
    const GatheredText clip = paste_.GatherSelection();
    labels.SetHint(PreviewHintText(clip.exact ? *clip.exact : desktop_.clipboard.AnsiToUtf8(clip.text)));
    labels.SetShowHint(true);
    desktop_.timers.SetInterval(kHintWatchdogTimer, 100);
  }
  labels.SetItemIndex(-1);
  list.SetItemIndex(-1);
}

void ClipWindow::OnHintWatchdogTimer() {
  const Rect r = desktop_.labels.Bounds();
  const int x = desktop_.pointer.X();
  const int y = desktop_.pointer.Y();
  if (x > r.left && x < r.right && y > r.top && y < r.bottom) return;
  desktop_.timers.SetInterval(kHintWatchdogTimer, 0);
  desktop_.labels.SetShowHint(false);
}

void ClipWindow::ApplySettings(const SettingsDialog& settings) {
  ApplyHotkey(settings.hotkeyText);
  state_.PasteDelay = StrToInt(settings.pasteDelayText);
  history_.SetAutosaveInterval(settings.autosave ? state_.AutoSaveInterval : 0);
  share_.Configure(ShareFolderPath(settings), settings.sharePassphrase);
}

void ClipWindow::ApplyHotkey(const std::string& text) {
  hotkey_.SetKey(TextToShortCut(text, desktop_.keyNames));
  hotkey_.SetEnabled(true);  // tries again a combination refused before
  hotKeyProblem_.clear();
  if (hotkey_.registered()) {
    trayIcon_.SetHint(shareProblem_.empty() ? "" : kShareProblemHint);
    return;
  }
  const std::string name = text.empty() ? "(none)" : text;
  hotKeyProblem_ = (hotkey_.Key() & 0xFF) == 0
                       ? "\"" + name + "\" is not a hotkey that Solvane Clips can use."
                       : "The hotkey " + name + " could not be registered: another program is using it.";
  hotKeyProblem_ += " The clip window cannot be called up until another hotkey is chosen in Settings.";
  trayIcon_.SetHint("Solvane Clips: hotkey " + name + " not active");
}

// The dialog holds the folder in UTF-8, the files take paths in the ANSI
// code page. A character that code page lacks comes back as '?', which no
// Windows path holds: such a folder is refused by name, not left to look
// missing.
std::string ClipWindow::ShareFolderPath(const SettingsDialog& settings) {
  std::string path = desktop_.clipboard.Utf8ToAnsi(settings.shareFolder);
  if (path.find('?') != std::string::npos) {
    throw AppError("The name of the shared folder \"" + path +
                   "\" has characters (shown here as ?) that Solvane Clips cannot use in a path on this machine. "
                   "Choose or rename a folder so that its name has none of them.");
  }
  return path;
}

void ClipWindow::ShowShareProblem(const std::string& problem) {
  shareProblem_ = problem;
  // The hotkey's hint stays while it does not work: without it nothing does.
  if (hotkey_.registered()) trayIcon_.SetHint(problem.empty() ? "" : kShareProblemHint);
  if (!problem.empty()) ReportProblem(problem);
}

void ClipWindow::Pasting(const std::function<void()>& paste) {
  const TitleList& list = desktop_.titles;
  const std::string topBefore = list.Count() > 0 ? list.Get(0) : std::string();
  paste();
  if (list.Count() > 0 && list.Get(0) != topBefore) share_.MovedToTop();
}

void ClipWindow::ReportHotKey() {
  if (hotKeyProblem_.empty() || history_.closed()) return;
  desktop_.dialogs.ShowError(std::exchange(hotKeyProblem_, {}));
}

void ClipWindow::OpenSettings() {
  CloseSearch();
  desktop_.window.Hide();
  SettingsWindow* dialog = desktop_.settings.window();
  if (dialog == nullptr) return;
  // Open already (the menu reached from the tray while it waits): the one
  // dialog comes to the front; a second modal run of it would nest.
  if (dialog->IsOpen()) {
    dialog->BringToFront();
  } else {
    dialog->ShowModal();
  }
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
  // Done from here on, whatever fails below: the box that says so activates
  // the window again when it closes, and must not start all this again.
  state_.FirstActivationDone = true;
  SettingsDialog& settings = desktop_.settings;
  ApplyHotkey(settings.hotkeyText);
  std::int32_t delay = 0;
  if (!TryStrToInt(settings.pasteDelayText, delay)) {
    ReportProblem("'" + settings.pasteDelayText + "' is not a valid integer value");
    // The delay in force is the one the dialog shows, and the one kept.
    settings.pasteDelayText = SettingsDialog::kDefaultPasteDelay;
    delay = StrToInt(settings.pasteDelayText);
  }
  state_.PasteDelay = delay;
  history_.SetAutosaveInterval(settings.autosave ? state_.AutoSaveInterval : 0);
  LoadPrefs();
  // Hidden before the shared folder's first read: a merge that fills the
  // list while the window shows pays for the list's new scroll bars and
  // repaint at once (40 ms for a whole history under Wine).
  desktop_.window.MinimizeApplication();
  // The shared folder is read once the local history is in place.
  try {
    share_.Configure(ShareFolderPath(settings), {});
  } catch (const std::exception& error) {
    ReportProblem(error.what());
  }
  desktop_.titles.SetHorizontalExtent(0);
  // Before the start has shown its own boxes, it reports this with them.
  if (startShown_) ReportHotKey();
}

void ClipWindow::LoadPrefs() {
  try {
    history_.LoadPrefs();
    prefsPending_ = false;
  } catch (const std::exception& error) {
    // Tried again at the next hotkey; the defaults hold meanwhile.
    prefsPending_ = true;
    ReportProblem(error.what());
  }
}

void ClipWindow::OnDeactivate() {
  CloseSearch();
  desktop_.titles.SetTopIndex(0);
  state_.WindowShown = false;
  desktop_.window.HideOwner();
  desktop_.window.Hide();
  desktop_.timers.SetInterval(kLabelFollowTimer, 0);
}

void ClipWindow::SetCaching(bool on) {
  capture_.SetOn(on);
  trayIcon_.SetIcon(on ? desktop_.cachingOnIcon : desktop_.cachingOffIcon);
}

void ClipWindow::OnCachingCommand() {
  CloseSearch();
  SetCaching(!capture_.on());
  desktop_.window.Hide();
  state_.WindowShown = false;
}

void ClipWindow::OnTrayDoubleClick() { SetCaching(!capture_.on()); }

void ClipWindow::OnListMouseUp(MouseButton button, unsigned /*shift*/, int /*x*/, int /*y*/) {
  if (button != MouseButton::Right) return;
  desktop_.titles.SetEnabled(false);
  desktop_.labels.SetEnabled(false);
  desktop_.trayMenu.Popup(Point{desktop_.window.Left() + 60, desktop_.window.Top() + 50});
}

}  // namespace solvane
