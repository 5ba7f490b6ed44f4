#include "history/history_keeper.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <string_view>

#include "base/text_buffer.h"
#include "core/clip_files.h"
#include "platform/dpi.h"
#include "core/title_builder.h"
#include "history/folder_probe.h"

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

// Said once at start, instead of a failure at every save.
std::string UnwritableFolderMessage(std::string folder) {
  if (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  return "Solvane Clips cannot write to its folder " + folder +
         ", so the clips you copy cannot be saved there. Move Solvane Clips to a folder you can write to, "
         "such as one in your user profile, and start it from there.";
}

// What a title item shows: the text before its padding and key.
std::string ShownTitle(std::string_view item) {
  const std::size_t padding = item.rfind(kTitlePadding);
  std::string_view shown = item.substr(0, padding);
  while (!shown.empty() && shown.back() == ' ') shown.remove_suffix(1);
  return std::string(shown);
}

// The key of each line, kKeyLength characters a line (NULs for a line
// without one).
std::string KeysOf(const std::vector<std::string_view>& lines) {
  std::string keys;
  keys.reserve(lines.size() * kKeyLength);
  for (const std::string_view line : lines) {
    const std::string key = ClipTextStore::KeyOfTitle(line);
    keys += key.size() == kKeyLength ? key : std::string(kKeyLength, '\0');
  }
  return keys;
}

}  // namespace

HistoryKeeper::HistoryKeeper(HistoryDesktop desktop, ClipTextStore& store, ClipTextStore& exact, KeptClips& kept,
                             SharedState& state)
    : desktop_(std::move(desktop)), store_(store), exact_(exact), kept_(kept), state_(state) {}

std::vector<std::string> HistoryKeeper::LoadAtStart() {
  RemoveStaleSaves();
  std::vector<std::string> problems = LoadClipFiles();
  folderWritable_ = FolderIsWritable(desktop_.files, desktop_.programFolder);
  if (!folderWritable_) problems.insert(problems.begin(), UnwritableFolderMessage(desktop_.programFolder));
  return problems;
}

// Each file is read even when the other is not: a title file that cannot
// be opened must not cost the clips' texts, nor the other way round.
std::vector<std::string> HistoryKeeper::LoadClipFiles() {
  std::vector<std::string> problems;
  TitleList& list = desktop_.titles;
  store_.Clear();
  // Each loaded line's key, kKeyLength characters a line, kept only when
  // there are exact texts to show: the title file's bytes go before the
  // store's are read.
  std::string lineKeys;
  try {
    // A file cut short by a NUL byte keeps the titles shown, and is kept
    // aside like an unread one before it is saved over.
    const TitleFile titles = ReadTitleFile(desktop_.files, PathOf(kTitleFileName));
    list.Assign(titles.lines);
    titleFileLoaded_ = titles.whole;
    if (desktop_.files.Exists(PathOf(kExactFileName)) || desktop_.files.Exists(PathOf(kKeptFileName))) {
      lineKeys = KeysOf(titles.lines);
    }
  } catch (const std::exception& error) {
    lineKeys.clear();
    list.Clear();  // half a list would be saved over the whole file
    problems.push_back(error.what());
  }
  try {
    const std::string path = PathOf(kStoreFileName);
    if (!desktop_.storeLoadedAhead || !desktop_.storeLoadedAhead(path, store_)) {
      LoadTextStore(store_, desktop_.files, path);
    }
    storeFileLoaded_ = true;
  } catch (const std::exception& error) {
    problems.push_back(error.what());
  }
  try {
    LoadExactTexts(exact_, desktop_.files, PathOf(kExactFileName));
    exactFileLoaded_ = true;
  } catch (const std::exception& error) {
    problems.push_back(error.what());
  }
  if (storeFileLoaded_ && list.Count() == 0 && !store_.Empty()) {
    try {
      RebuildTitles();
    } catch (const std::exception& error) {
      list.Clear();
      problems.push_back(error.what());
    }
    LoadKeptFile(std::nullopt, problems);
    return problems;  // the rebuilt lines have their exact titles
  }
  const bool keysAreTheLists = list.Count() * kKeyLength == lineKeys.size();
  if (keysAreTheLists) ShowExactTitles(lineKeys);
  LoadKeptFile(keysAreTheLists ? lineKeys : std::string_view(), problems);
  return problems;
}

void HistoryKeeper::LoadKeptFile(std::optional<std::string_view> lineKeys, std::vector<std::string>& problems) {
  kept_.Clear();
  const std::string path = PathOf(kKeptFileName);
  keptFileLoaded_ = !desktop_.files.Exists(path);
  if (keptFileLoaded_) return;
  // With no whole title list to find them on, the keys stay in the file,
  // which is kept aside before a save writes another.
  if (!titleFileLoaded_ && desktop_.titles.Count() == 0) return;
  try {
    // A key that no title carries any more is dropped: the file's few keys
    // are looked for among the lines', not the other way round.
    const std::vector<std::string> fileKeys = KeptClips::KeysOfFile(ReadFileOrThrow(desktop_.files, path));
    if (!lineKeys) {
      for (const std::string& key : fileKeys) {
        if (store_.ContainsKey(key)) kept_.Set(key, true);
      }
    } else if (!fileKeys.empty()) {
      KeptClips wanted;
      for (const std::string& key : fileKeys) wanted.Set(key, true);
      for (std::size_t at = 0; at + kKeyLength <= lineKeys->size(); at += kKeyLength) {
        const std::string_view key = lineKeys->substr(at, kKeyLength);
        if (wanted.Contains(key)) kept_.Set(key, true);
      }
    }
    keptFileLoaded_ = true;
  } catch (const std::exception& error) {
    kept_.Clear();
    problems.push_back(error.what());
  }
}

void HistoryKeeper::WriteKeptFile(std::vector<std::string>& kept) {
  const std::string path = PathOf(kKeptFileName);
  KeepIfNotLoaded(kKeptFileName, keptFileLoaded_, kept);
  if (!kept_.Empty() || desktop_.files.Exists(path)) SaveReplacing(desktop_.files, path, kept_.FileBytes());
}

void HistoryKeeper::SaveKept() {
  std::vector<std::string> kept;
  try {
    WriteKeptFile(kept);
  } catch (...) {
    TellKept(kept);
    throw;
  }
  TellKept(kept);
}

bool HistoryKeeper::ToggleKept(int line) {
  TitleList& titles = desktop_.titles;
  if (line < 0 || line >= titles.Count()) return false;
  const std::string key = ClipTextStore::KeyOfTitle(titles.Get(line));
  if (key.empty()) return false;
  kept_.Set(key, !kept_.Contains(key));
  titles.RedrawMarks();
  SaveKept();
  return true;
}

bool HistoryKeeper::ConfirmRemoveKept(int line) {
  TitleList& titles = desktop_.titles;
  if (line < 0 || line >= titles.Count() || !kept_.ContainsItem(titles.Get(line))) return true;
  return Ask(-20, 33, "Delete the kept clip \"" + ShownTitle(titles.Get(line)) + "\"?");
}

// Only the lines whose key has an exact text are touched: the list's own
// lines are never read back, and most clips have none.
void HistoryKeeper::ShowExactTitles(std::string_view lineKeys) {
  if (exact_.Empty()) return;
  TitleList& list = desktop_.titles;
  for (std::size_t line = 0; line * kKeyLength < lineKeys.size(); ++line) {
    const std::string_view key = lineKeys.substr(line * kKeyLength, kKeyLength);
    // An exact text whose clip has no record is not used.
    if (key[0] == '\0' || !exact_.ContainsKey(key) || !store_.ContainsKey(key)) continue;
    const std::string item = kTitlePadding + std::string(key);
    if (const auto text = exact_.Lookup(item)) {
      list.SetExactLine(static_cast<int>(line), BuildExactTitle(*text, desktop_.listFont) + item);
    }
  }
}

// Titles made from the texts as capture makes them, so that every stored
// clip can be found and pasted again.
void HistoryKeeper::RebuildTitles() {
  const std::vector<std::string> keys = store_.RecordKeys();
  std::vector<std::string> items;
  items.reserve(keys.size());
  for (const std::string& key : keys) {
    const std::string item = kTitlePadding + key;
    const std::optional<std::string> text = store_.Lookup(item);
    items.push_back(BuildTitle(text.value_or(std::string()), desktop_.listFont) + item);
  }
  const std::vector<std::string_view> lines(items.begin(), items.end());
  desktop_.titles.Assign(lines);
  ShowExactTitles(KeysOf(lines));
}

void HistoryKeeper::KeepIfNotLoaded(const char* fileName, bool& loaded, std::vector<std::string>& kept) {
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

void HistoryKeeper::TellKept(const std::vector<std::string>& kept) {
  if (quiet_) return;
  for (const std::string& message : kept) desktop_.dialogs.ShowError(message);
}

// A crash in the middle of a save leaves its unfinished copy behind; the
// real files were never touched, so the copy is only clutter.
void HistoryKeeper::RemoveStaleSaves() {
  for (const char* name : {kTitleFileName, kStoreFileName, kExactFileName, kKeptFileName, kPrefsFileName}) {
    desktop_.files.Remove(PathOf(name) + kSavingSuffix);
  }
}

void HistoryKeeper::SetAutosaveInterval(int milliseconds) {
  autosaveInterval_ = milliseconds;
  desktop_.timers.SetInterval(kAutosaveTimer, milliseconds);
}

void HistoryKeeper::SaveHistory() {
  const std::uint64_t covering = state_.Changes;
  std::vector<std::string> kept;
  try {
    KeepIfNotLoaded(kTitleFileName, titleFileLoaded_, kept);
    SaveTitleList(desktop_.titles, desktop_.files, PathOf(kTitleFileName));
    KeepIfNotLoaded(kStoreFileName, storeFileLoaded_, kept);
    SaveTextStore(store_, desktop_.files, PathOf(kStoreFileName));
    KeepIfNotLoaded(kExactFileName, exactFileLoaded_, kept);
    // Written while there are exact texts, and once more when the last one
    // has gone (a clip removed) from a file that still holds it.
    if (!exact_.Empty() || desktop_.files.Exists(PathOf(kExactFileName))) {
      SaveTextStore(exact_, desktop_.files, PathOf(kExactFileName));
    }
    WriteKeptFile(kept);
  } catch (...) {
    TellKept(kept);
    throw;
  }
  state_.SavedChanges = covering;
  TellKept(kept);
}

void HistoryKeeper::MarkChanged() { ++state_.Changes; }

bool HistoryKeeper::RemoveClip(int line) {
  TitleList& titles = desktop_.titles;
  if (line < 0 || line >= titles.Count()) return false;
  Removed removed{.line = line, .title = titles.Get(line), .exactLine = titles.ExactLine(line)};
  const std::string key = ClipTextStore::KeyOfTitle(removed.title);
  if (!key.empty()) {
    removed.storeLines = store_.RemoveKey(key);
    removed.exactLines = exact_.RemoveKey(key);
    removed.kept = kept_.Contains(key);
    kept_.Set(key, false);
  }
  titles.Delete(line);
  removed_ = std::move(removed);
  MarkChanged();
  SaveHistory();  // gone from the files now, not at the next autosave tick
  return true;
}

bool HistoryKeeper::RestoreRemoved() {
  if (!removed_) return false;
  // The texts first: a store that refuses them (full) leaves the list as it
  // was, and the clip can still be put back once there is room.
  store_.InsertAtTop(removed_->storeLines);
  exact_.InsertAtTop(removed_->exactLines);
  const Removed removed = std::move(*removed_);
  removed_.reset();
  TitleList& titles = desktop_.titles;
  const int line = std::min(removed.line, titles.Count());
  titles.Insert(line, removed.title);
  if (!removed.exactLine.empty()) titles.SetExactLine(line, removed.exactLine);
  kept_.Set(ClipTextStore::KeyOfTitle(removed.title), removed.kept);
  MarkChanged();
  SaveHistory();
  return true;
}

void HistoryKeeper::OnSaveClipsCommand() {
  SaveHistory();
  desktop_.window.Hide();
}

void HistoryKeeper::OnAutosaveTimer() {
  if (state_.SavedChanges == state_.Changes) return;
  // While a failed save's error box is up, later ticks wait for it instead
  // of stacking more boxes; so the box is shown here, inside the guard.
  if (autosaveBusy_) return;
  const ScopedFlag busy(autosaveBusy_);
  try {
    SaveHistory();
  } catch (const std::exception& error) {
    if (folderWritable_) desktop_.dialogs.ShowError(error.what());
    return;  // LastSaveTime stays: the next tick tries again
  }
  state_.LastSaveTime = state_.LastChangeTime;
}

bool HistoryKeeper::Ask(int dx, int dy, const std::string& question) {
  // One question at a time: a second Quit or Clear Clips from the tray menu
  // while a prompt is up is declined, or a Yes to the inner one would close
  // or clear under the outer one still waiting.
  if (asking_) return false;
  const ScopedFlag asking(asking_);
  Pointer& pointer = desktop_.pointer;
  const DpiScale scale(desktop_.window.Dpi());  // the box is laid out at the program's DPI
  pointer.MoveTo(pointer.DesktopWidth() / 2 + scale(dx), pointer.DesktopHeight() / 2 + scale(dy));
  return desktop_.dialogs.Confirm(question);
}

bool HistoryKeeper::ConfirmClear() {
  if (!desktop_.settings.promptClear) return true;
  if (kept_.Empty()) return Ask(-20, 33, "Clear all current clips?");
  return Ask(-20, 33, "Clear all current clips? The " + std::to_string(kept_.Count()) + " kept clips stay.");
}

void HistoryKeeper::Clear() {
  // The kept clips stay: their lines in order, their records and exact
  // texts, taken out before the rest goes and the files are scrubbed.
  struct KeptLine {
    std::string title, exactLine;
  };
  std::vector<KeptLine> keptLines;
  std::vector<std::string> keptRecords, keptExact;
  if (!kept_.Empty()) {
    TitleList& titles = desktop_.titles;
    for (int line = 0; line < titles.Count(); ++line) {
      std::string item = titles.Get(line);
      if (kept_.ContainsItem(item)) keptLines.push_back({std::move(item), titles.ExactLine(line)});
    }
    const auto isKept = [this](std::string_view key) { return kept_.Contains(key); };
    keptRecords = store_.RecordLines(isKept);
    keptExact = exact_.RecordLines(isKept);
  }
  desktop_.titles.Clear();
  store_.Clear();
  exact_.Clear();
  const std::uint64_t covering = state_.Changes;
  // A file this run never read holds clips the user did not see to clear.
  std::vector<std::string> kept;
  try {
    KeepIfNotLoaded(kTitleFileName, titleFileLoaded_, kept);
    KeepIfNotLoaded(kStoreFileName, storeFileLoaded_, kept);
    KeepIfNotLoaded(kExactFileName, exactFileLoaded_, kept);
  } catch (...) {
    TellKept(kept);
    throw;
  }
  TellKept(kept);
  ScrubClipFile(kTitleFileName);
  ScrubClipFile(kStoreFileName);
  // Never created by a clear: only a history with exact texts has one.
  if (desktop_.files.Exists(PathOf(kExactFileName))) ScrubClipFile(kExactFileName);
  state_.SavedChanges = covering;
  if (keptLines.empty()) return;
  store_.InsertAtTop(keptRecords);
  exact_.InsertAtTop(keptExact);
  TitleList& titles = desktop_.titles;
  for (const KeptLine& line : keptLines) {
    titles.Add(line.title);
    if (!line.exactLine.empty()) titles.SetExactLine(titles.Count() - 1, line.exactLine);
  }
  MarkChanged();
  SaveHistory();
}

void HistoryKeeper::ScrubClipFile(const char* fileName) {
  ScrubFile(PathOf(fileName));
  // The unfinished copy of a save cut short holds clips as well.
  const std::string leftover = PathOf(fileName) + kSavingSuffix;
  if (desktop_.files.Exists(leftover)) {
    ScrubFile(leftover);
    desktop_.files.Remove(leftover);
  }
}

void HistoryKeeper::ScrubFile(const std::string& path) { solvane::ScrubFile(desktop_.files, path); }

void HistoryKeeper::Quit() {
  if (!desktop_.settings.promptQuit || Ask(-25, 35, "Quit Solvane Clips?")) desktop_.window.Close();
  desktop_.window.Hide();
  state_.WindowShown = false;
}

bool HistoryKeeper::OnClose() {
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
      !Ask(-25, 35,
           "Solvane Clips could not save everything:\r\n\r\n" + failures +
               "\r\nQuit anyway? What was not saved will be lost.")) {
    return false;
  }
  closed_ = true;
  return true;
}

int HistoryKeeper::OnQueryEndSession() {
  const ScopedFlag quiet(quiet_);
  try {
    SaveHistory();
  } catch (const std::exception&) {
    // Nothing can be done about it now, and a box would hold the session.
  }
  return 1;
}

void HistoryKeeper::OnEndSession(bool ending) {
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

void HistoryKeeper::LoadPrefs() {
  const std::string contents = ReadFileOrThrow(desktop_.files, PathOf(kPrefsFileName));
  const auto lines = SplitStoreFile(contents);
  const std::string first = lines.empty() ? std::string() : lines.front();
  // An empty line has no flag to read: take the defaults.
  state_.PrefFlags = first.empty() ? std::string("0000000000") : first;
  if (state_.PrefFlags[0] == '1') titleLineFlag_ = true;
}

void HistoryKeeper::SavePrefs() {
  state_.PrefFlags[0] = titleLineFlag_ ? '1' : '0';
  SaveReplacing(desktop_.files, PathOf(kPrefsFileName), JoinFileLines({state_.PrefFlags}));
}

}  // namespace solvane
