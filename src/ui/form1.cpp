#include "ui/form1.h"

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

TForm1::TForm1(Form1Platform platform, StartMode mode)
    : platform_(platform),
      fisHotKey1_(platform.hotKeys),
      RxTrayIcon1_(platform.tray),
      PBClipBoard1_(platform.clipboardChain, platform.clipboard) {
  RxTrayIcon1_.SetIcon(platform_.Image3Icon);
  RxTrayIcon1_.SetPopupMenu(&platform_.PopupMenu1);
  RxTrayIcon1_.OnDblClick = [this](void* sender) { RxTrayIcon1DblClick(sender); };
  RxTrayIcon1_.OnError = [this](const std::exception& error) { ShowException(error); };
  RxTrayIcon1_.Loaded();
  fisHotKey1_.OnHotKey = [this](void* sender) { HandleEvent([&] { fisHotKey1HotKey(sender); }); };
  fisHotKey1_.SetKey(0xC028);  // Ctrl+Alt+Down, as the window is built
  fisHotKey1_.Loaded();
  PBClipBoard1_.OnChange = [this](void* sender) { PBClipBoard1Change(sender); };
  PBClipBoard1_.OnError = [this](const std::exception& error) { ShowException(error); };
  // The autosave timer runs at 3 s as the window is built; the first
  // activation sets its real interval.
  SetTimer2Interval(3000);
  PBClipBoard1_.Loaded();
  if (mode == kStartNow) {
    Start();
    ShowStartProblems();
  }
}

void TForm1::Start() {
  try {
    FormCreate();
  } catch (const std::exception& error) {
    startProblems_.push_back(error.what());
  }
}

void TForm1::ShowStartProblems() {
  startShown_ = true;
  for (const std::string& problem : std::exchange(startProblems_, {})) {
    if (closed_) return;  // closed from inside an earlier box
    platform_.dialogs.ShowError(problem);
  }
  ReportHotKey();
}

void TForm1::ShowException(const std::exception& error) { platform_.dialogs.ShowError(error.what()); }

void TForm1::FormCreate() {
  state_.LastSaveTime = platform_.clock.LocalTimeSeconds();
  state_.LastChangeTime = platform_.clock.LocalTimeSeconds();
  platform_.window.SetWidth(250);
  fisHotKey1_.SetKey(TextToShortCut("F5", platform_.keyNames));
  RemoveStaleSaves();
  startProblems_ = LoadClipFiles();
  PBClipBoard1Change(nullptr);
}

// Each file is read even when the other is not: a title file that cannot
// be opened must not cost the clips' texts, nor the other way round.
std::vector<std::string> TForm1::LoadClipFiles() {
  std::vector<std::string> problems;
  TitleList& list = platform_.RxCheckListBox1;
  RxRichEdit2_.Clear();
  try {
    // A file cut short by a NUL byte keeps the titles shown, and is kept
    // aside like an unread one before it is saved over.
    titleFileLoaded_ = LoadTitleList(list, platform_.files, PathOf(kTitleFileName));
  } catch (const std::exception& error) {
    list.Clear();  // half a list would be saved over the whole file
    problems.push_back(error.what());
  }
  try {
    LoadTextStore(RxRichEdit2_, platform_.files, PathOf(kStoreFileName));
    storeFileLoaded_ = true;
  } catch (const std::exception& error) {
    problems.push_back(error.what());
  }
  if (storeFileLoaded_ && list.Count() == 0 && RxRichEdit2_.Count() > 0) {
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
void TForm1::RebuildTitles() {
  const std::vector<std::string> keys = RxRichEdit2_.RecordKeys();
  std::vector<std::string> items;
  items.reserve(keys.size());
  for (const std::string& key : keys) {
    const std::string item = kTitlePadding + key;
    const std::optional<std::string> text = RxRichEdit2_.Lookup(item);
    items.push_back(BuildTitle(text.value_or(std::string()), platform_.listFont) + item);
  }
  platform_.RxCheckListBox1.Assign(std::vector<std::string_view>(items.begin(), items.end()));
}

void TForm1::KeepIfNotLoaded(const char* fileName, bool& loaded, std::vector<std::string>& kept) {
  if (loaded) return;
  const std::string path = PathOf(fileName);
  if (const auto keptAs = KeepAside(platform_.files, path)) {
    kept.push_back("The clips in " + path +
                   " could not all be loaded when Solvane Clips started. So that saving does not overwrite them, "
                   "that file has been kept as " +
                   *keptAs + ".");
  }
  loaded = true;  // what is written there from now on is this run's own
}

void TForm1::TellKept(const std::vector<std::string>& kept) {
  if (quiet_) return;
  for (const std::string& message : kept) platform_.dialogs.ShowError(message);
}

// A crash in the middle of a save leaves its unfinished copy behind; the
// real files were never touched, so the copy is only clutter.
void TForm1::RemoveStaleSaves() {
  for (const char* name : {kTitleFileName, kStoreFileName, kPrefsFileName}) {
    platform_.files.Remove(PathOf(name) + kSavingSuffix);
  }
}

void TForm1::SetTimer2Interval(int milliseconds) {
  timer2Interval_ = milliseconds;
  platform_.timers.SetInterval(kTimer2, milliseconds);
}

std::string TForm1::MakeUniqueKey(const std::vector<std::string>& textLines) {
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
    return RxRichEdit2_.ContainsKey(key) || std::find(quoted.begin(), quoted.end(), AsciiLower(key)) != quoted.end();
  };
  auto tick = [this] { return platform_.clock.TickCount(); };
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

void TForm1::PBClipBoard1Change(void* /*sender*/) {
  if (state_.SkipNextChange) {
    state_.SkipNextChange = false;
    return;
  }
  if (!Caching1Checked_) return;
  if (!platform_.clipboard.HasText()) return;
  // A copy marked secret (a password) must never reach the history files.
  if (platform_.clipboard.IsExcludedFromHistory()) return;
  auto text = platform_.clipboard.ReadText();
  if (!text) return;  // still locked by another program: nothing to record

  RxRichEdit1_ = NormalizeLineBreaks(*text);
  state_.LastChangeTime = platform_.clock.LocalTimeSeconds();
  ++state_.Changes;
  if (RxRichEdit1_ == RxRichEdit3_) return;

  std::vector<std::string> lines = SplitBufferLines(RxRichEdit1_);
  const std::string key = MakeUniqueKey(lines);
  const std::string title = BuildTitle(RxRichEdit1_, platform_.listFont);
  std::vector<std::string> record;
  record.reserve(lines.size() + 2);
  record.push_back(std::string(kHeaderMarker) + key);
  for (auto& line : lines) record.push_back(std::move(line));
  record.push_back(std::string(kTrailerMarker) + key);

  // The title goes in first: a list that refuses it leaves nothing to undo,
  // and a record that does not fit takes its title back out. Either way no
  // record is left that no title reaches.
  TitleList& list = platform_.RxCheckListBox1;
  try {
    list.Insert(0, title + kTitlePadding + key);
  } catch (const std::exception&) {
    throw AppError(kRichEditInsertionError);
  }
  try {
    RxRichEdit2_.InsertAtTop(record);
  } catch (...) {
    list.Delete(0);
    throw;
  }
  RxRichEdit3_ = RxRichEdit1_;
}

void TForm1::Housekeeping() {
  const std::uint64_t covering = state_.Changes;
  std::vector<std::string> kept;
  try {
    KeepIfNotLoaded(kTitleFileName, titleFileLoaded_, kept);
    SaveTitleList(platform_.RxCheckListBox1, platform_.files, PathOf(kTitleFileName));
    KeepIfNotLoaded(kStoreFileName, storeFileLoaded_, kept);
    SaveTextStore(RxRichEdit2_, platform_.files, PathOf(kStoreFileName));
  } catch (...) {
    TellKept(kept);
    throw;
  }
  state_.SavedChanges = covering;
  TellKept(kept);
}

void TForm1::SaveClips1Click() {
  Housekeeping();
  platform_.window.Hide();
}

void TForm1::Timer2Timer() {
  if (state_.SavedChanges == state_.Changes) return;
  // While a failed save's error box is up, later ticks wait for it instead
  // of stacking more boxes; so the box is shown here, inside the guard.
  if (autosaveBusy_) return;
  const ScopedFlag busy(autosaveBusy_);
  try {
    Housekeeping();
  } catch (const std::exception& error) {
    ShowException(error);
    return;  // LastSaveTime stays: the next tick tries again
  }
  state_.LastSaveTime = state_.LastChangeTime;
}

bool TForm1::Ask(int dx, int dy, const std::string& question) {
  // One question at a time: a second Quit or Clear Clips from the tray menu
  // while a prompt is up is declined, or a Yes to the inner one would close
  // or clear under the outer one still waiting.
  if (asking_) return false;
  const ScopedFlag asking(asking_);
  Pointer& pointer = platform_.pointer;
  pointer.MoveTo(pointer.DesktopWidth() / 2 + dx, pointer.DesktopHeight() / 2 + dy);
  return platform_.dialogs.Confirm(question);
}

void TForm1::ClearClips1Click() {
  platform_.window.Hide();
  if (platform_.Form2.CheckBox3 && !Ask(-20, 33, "Clear all current clips?")) return;
  platform_.RxCheckListBox1.Clear();
  RxRichEdit1_.clear();
  RxRichEdit2_.Clear();
  RxRichEdit3_.clear();
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
    if (platform_.files.Exists(leftover)) {
      ScrubFile(leftover);
      platform_.files.Remove(leftover);
    }
  }
  state_.SavedChanges = covering;
}

void TForm1::ScrubFile(const std::string& path) { solvane::ScrubFile(platform_.files, path); }

void TForm1::Quit1Click() {
  if (!platform_.Form2.CheckBox4 || Ask(-25, 35, "Quit Solvane Clips?")) platform_.window.Close();
  platform_.window.Hide();
  state_.WindowShown = false;
}

bool TForm1::FormClose() {
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
  attempt([this] { Housekeeping(); });
  attempt([this] { InitializeParameters("ParmUpdate"); });
  attempt([this] { platform_.Form2.SaveState(); });
  if (!failures.empty() && !quiet_ &&
      !Ask(-25, 35, "Solvane Clips could not save everything:\r\n\r\n" + failures +
                        "\r\nQuit anyway? What was not saved will be lost.")) {
    return false;
  }
  closed_ = true;
  return true;
}

int TForm1::WMQueryEndSession() {
  const ScopedFlag quiet(quiet_);
  try {
    Housekeeping();
  } catch (const std::exception&) {
    // Nothing can be done about it now, and a box would hold the session.
  }
  return 1;
}

void TForm1::WMEndSession(bool ending) {
  if (!ending) return;
  const ScopedFlag quiet(quiet_);
  // The process ends right after this returns: the message loop never
  // finishes, so what a close would write is written here.
  // Nothing more can be done about a failure now, and no box may wait.
  try {
    if (state_.SavedChanges != state_.Changes) Housekeeping();
  } catch (const std::exception&) {
  }
  try {
    platform_.Form2.SaveState();
  } catch (const std::exception&) {
  }
}

void TForm1::InitializeParameters(const std::string& mode) {
  const std::string path = PathOf(kPrefsFileName);
  if (mode == "PgmUpdate") {
    RxRichEdit1_ = ReadFileOrThrow(platform_.files, path);
    const auto lines = SplitStoreFile(RxRichEdit1_);
    const std::string first = lines.empty() ? std::string() : lines.front();
    // An empty line has no flag to read: take the defaults.
    state_.PrefFlags = first.empty() ? std::string("0000000000") : first;
    if (state_.PrefFlags[0] == '1') titleLineFlag_ = true;
  } else if (mode == "ParmUpdate") {
    state_.PrefFlags[0] = titleLineFlag_ ? '1' : '0';
    RxRichEdit1_ = state_.PrefFlags;
    SaveReplacing(platform_.files, path, JoinFileLines({state_.PrefFlags}));
  }
}


bool TForm1::GatherFullClip() {
  TitleList& list = platform_.RxCheckListBox1;
  RxRichEdit1_.clear();
  const int selected = list.ItemIndex();
  if (selected < 0) return SpeedButton1Down_;  // a run from no line is empty
  if (!SpeedButton1Down_) {
    auto text = RxRichEdit2_.Lookup(list.Get(selected));
    if (!text) return false;
    RxRichEdit1_ = std::move(*text);
    return true;
  }
  // The clicked clip first, the newest last, each ending in a line break.
  bool complete = true;
  for (int line = selected; line >= 0; --line) {
    auto text = RxRichEdit2_.Lookup(list.Get(line));
    if (!text) {
      complete = false;
      continue;
    }
    RxRichEdit1_ += *text;
    RxRichEdit1_ += kCrLf;
  }
  return complete;
}

void TForm1::ProcessRxCheckListBoxClick() {
  TitleList& list = platform_.RxCheckListBox1;
  state_.SkipNextChange = true;
  // A title without its text, or a clipboard that stays locked, pastes
  // nothing: Ctrl+V would otherwise paste whatever was there before. No
  // change notice will come either, so the skip flag must not stay set.
  if (!GatherFullClip()) {
    state_.SkipNextChange = false;
    list.SetItemIndex(-1);
    return;
  }
  std::string text = RxRichEdit1_;
  if (SpeedButton2Down_) {
    text += "\r\n";
  } else if (SpeedButton3Down_) {
    text += "\r\n\n";
  }
  if (!platform_.clipboard.WriteText(text)) {
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
    if (!SpeedButton1Down_) {
      const int selected = list.ItemIndex();
      const std::string item = list.Get(selected);
      // Inserted before it is deleted, so a list that refuses the insert
      // loses no title.
      list.Insert(0, item);
      list.Delete(selected + 1);
      if (list.Count() > state_.MaxClips) list.Delete(state_.MaxClips);
    }
    SpeedButton1Down_ = false;
    list.SetItemIndex(-1);
    platform_.window.MinimizeApplication();
    platform_.window.Hide();
  }
  platform_.input.Sleep(state_.PasteDelay);
  platform_.input.KeyEvent(kVkControl, 0, 0);
  platform_.input.KeyEvent(kVkV, 0, 0);
  platform_.input.KeyEvent(kVkV, 0, KeyboardInput::kKeyUp);
  platform_.input.KeyEvent(kVkControl, 0, KeyboardInput::kKeyUp);
  state_.WindowShown = false;
  list.SetTopIndex(0);
}

void TForm1::RxCheckListBox1Click() {
  TitleList& list = platform_.RxCheckListBox1;
  const int selected = list.ItemIndex();
  if (selected >= 0 && list.Get(selected).find(kHeaderMarker) != std::string::npos) ProcessRxCheckListBoxClick();
  list.SetTopIndex(0);
}

void TForm1::PressSpeedButton1() {
  SpeedButton1Down_ = !SpeedButton1Down_;
  SpeedButton1Click();
}

void TForm1::PressSpeedButton2() {
  SpeedButton2Down_ = !SpeedButton2Down_;
  if (SpeedButton2Down_) SpeedButton3Down_ = false;
}

void TForm1::PressSpeedButton3() {
  SpeedButton3Down_ = !SpeedButton3Down_;
  if (SpeedButton3Down_) SpeedButton2Down_ = false;
}

// Run-to-top works only while the list shows its first line.
void TForm1::SpeedButton1Click() {
  if (platform_.RxCheckListBox1.TopIndex() != 0) SpeedButton1Down_ = false;
}

void TForm1::SpeedButton8Click() {
  state_.WindowShown = false;
  platform_.window.Hide();
  platform_.RxCheckListBox1.SetTopIndex(0);
}

void TForm1::fisHotKey1HotKey(void* /*sender*/) {
  FormWindow& window = platform_.window;
  if (state_.WindowShown) {
    window.Hide();
    state_.WindowShown = false;
    return;
  }
  window.TakeForeground();
  platform_.RxCheckListBox1.SetEnabled(true);
  platform_.ListBox7.SetEnabled(true);
  platform_.timers.SetInterval(kTimer3, 100);
  window.ShowRestored();
  platform_.RxCheckListBox1.SetTopIndex(0);
  window.FocusPanel();
  platform_.pointer.MoveTo(window.Left() + 247, window.Top() + 118);
  platform_.RxCheckListBox1.SetHorizontalExtent(0);
  window.BringToTop();
  state_.WindowShown = true;
}

void TForm1::FormKeyDown(unsigned key, unsigned /*shift: modifiers are not examined*/) {
  TitleList& list = platform_.RxCheckListBox1;
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
  if (list.ItemIndex() >= 0) ProcessRxCheckListBoxClick();
}

void TForm1::Timer3Timer() {
  const int top = platform_.RxCheckListBox1.TopIndex();
  if (platform_.ListBox7.TopIndex() != top) platform_.ListBox7.SetTopIndex(top);
  if (top != 0) SpeedButton1Down_ = false;
}

void TForm1::ListBox7Click() { HintBuilder(); }

void TForm1::HintBuilder() {
  LabelColumn& labels = platform_.ListBox7;
  TitleList& list = platform_.RxCheckListBox1;
  labels.SetHint("");
  const int row = labels.ItemIndex();
  if (row >= 0 && row <= list.Count() - 1) {
    list.SetItemIndex(row);
    GatherFullClip();
    // The hint machinery splits at "|": show a broken bar instead.
    for (char& c : RxRichEdit1_) {
      if (c == '|') c = '\xA6';
    }
    std::vector<std::string> lines = SplitBufferLines(RxRichEdit1_);
    lines.resize(static_cast<std::size_t>(BufferLineCount(RxRichEdit1_)));
    constexpr std::size_t kMaxHintLines = 45;
    if (lines.size() >= kMaxHintLines) {
      lines.resize(kMaxHintLines);
      lines.back() += "...";
    }
    labels.SetHint(JoinLines(lines));
    labels.SetShowHint(true);
    platform_.timers.SetInterval(kTimer1, 100);
  }
  labels.SetItemIndex(-1);
  list.SetItemIndex(-1);
}

void TForm1::Timer1Timer() {
  const ScreenRect r = platform_.ListBox7.Bounds();
  const int x = platform_.pointer.X();
  const int y = platform_.pointer.Y();
  if (x > r.left && x < r.left + r.width && y > r.top && y < r.top + r.height) return;
  platform_.timers.SetInterval(kTimer1, 0);
  platform_.ListBox7.SetShowHint(false);
}

void TForm1::ApplySettings(const TForm2& settings) {
  fisHotKey1_.SetKey(TextToShortCut(settings.ComboBox1, platform_.keyNames));
  fisHotKey1_.SetEnabled(true);  // tries again a combination refused before
  hotKeyProblem_.clear();
  if (fisHotKey1_.registered()) {
    RxTrayIcon1_.SetHint("");
  } else {
    const std::string name = settings.ComboBox1.empty() ? "(none)" : settings.ComboBox1;
    hotKeyProblem_ = (fisHotKey1_.Key() & 0xFF) == 0
                         ? "\"" + name + "\" is not a hotkey that Solvane Clips can use."
                         : "The hotkey " + name + " could not be registered: another program is using it.";
    hotKeyProblem_ += " The clip window cannot be called up until another hotkey is chosen in Settings.";
    RxTrayIcon1_.SetHint("Solvane Clips: hotkey " + name + " not active");
  }
  state_.PasteDelay = StrToInt(settings.ComboBox2);
  SetTimer2Interval(settings.CheckBox1 ? state_.AutoSaveInterval : 0);
}

void TForm1::ReportHotKey() {
  if (hotKeyProblem_.empty() || closed_) return;
  platform_.dialogs.ShowError(std::exchange(hotKeyProblem_, {}));
}

void TForm1::SettingsClick() {
  platform_.window.Hide();
  if (platform_.Form2.window() != nullptr) platform_.Form2.window()->ShowModal();
}

void TForm1::Panel1MouseDown(MouseButton /*button*/, unsigned /*shift*/, int x, int y) {
  dragAnchorX_ = x;
  dragAnchorY_ = y;
}

void TForm1::Panel1MouseMove(unsigned shift, int x, int y) {
  if (shift != kShiftLeft) return;  // the left button alone, no keys held
  FormWindow& window = platform_.window;
  window.SetTop(window.Top() + (y - dragAnchorY_));
  window.SetLeft(window.Left() + (x - dragAnchorX_));
}

void TForm1::FormActivate() {
  if (state_.FirstActivationDone) return;
  ApplySettings(platform_.Form2);
  InitializeParameters("PgmUpdate");
  platform_.RxCheckListBox1.SetHorizontalExtent(0);
  platform_.window.MinimizeApplication();
  state_.FirstActivationDone = true;
  // Before the start has shown its own boxes, it reports this with them.
  if (startShown_) ReportHotKey();
}

void TForm1::AppDeactivate() {
  platform_.RxCheckListBox1.SetTopIndex(0);
  state_.WindowShown = false;
  platform_.window.HideOwner();
  platform_.window.Hide();
  platform_.timers.SetInterval(kTimer3, 0);
}

void TForm1::SetCaching(bool on) {
  Caching1Checked_ = on;
  RxTrayIcon1_.SetIcon(on ? platform_.Image3Icon : platform_.Image2Icon);
}

void TForm1::Caching1Click() {
  SetCaching(!Caching1Checked_);
  platform_.window.Hide();
  state_.WindowShown = false;
}

void TForm1::RxTrayIcon1DblClick(void* /*sender*/) { SetCaching(!Caching1Checked_); }

void TForm1::ConvertClipboard(char from, char to) {
  Clipboard& clipboard = platform_.clipboard;
  if (!clipboard.HasText()) return;
  auto text = clipboard.ReadText();
  if (!text) return;
  for (char& c : *text) {
    if (c >= from && c <= static_cast<char>(from + 25)) c = static_cast<char>(c - from + to);
  }
  clipboard.WriteText(*text);
}

void TForm1::UpperCase1Click() { ConvertClipboard('a', 'A'); }

void TForm1::LowerCase1Click() { ConvertClipboard('A', 'a'); }

void TForm1::ClearClipboard1Click() { platform_.clipboard.Clear(); }

void TForm1::RxCheckListBox1MouseUp(MouseButton button, unsigned /*shift*/, int /*x*/, int /*y*/) {
  if (button != MouseButton::Right) return;
  platform_.RxCheckListBox1.SetEnabled(false);
  platform_.ListBox7.SetEnabled(false);
  platform_.PopupMenu1.Popup(ScreenPoint{platform_.window.Left() + 60, platform_.window.Top() + 50});
}

}  // namespace solvane
