#include "share/shared_history.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>
#include <utility>

#include "base/app_error.h"
#include "base/text_buffer.h"
#include "core/clip_files.h"
#include "share/share_read.h"

namespace solvane {

namespace {

constexpr std::size_t kSaltBytes = 16;

std::string Quoted(const std::string& folder) { return "\"" + folder + "\""; }

// Eight bytes a step: a merge asks it of every text of a whole history.
bool IsAscii(std::string_view text) {
  std::size_t at = 0;
  for (std::uint64_t word = 0; at + 8 <= text.size(); at += 8) {
    std::memcpy(&word, text.data() + at, 8);
    if ((word & 0x8080808080808080u) != 0) return false;
  }
  return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(at), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Machine and position are given when the event is written.
ShareEvent LocalEvent(ShareEventKind kind, std::int64_t time, std::string text) {
  ShareEvent event;
  event.kind = kind;
  event.time = time;
  event.text = std::move(text);
  return event;
}

}  // namespace

SharedHistory::SharedHistory(ShareDesktop desktop, ClipTextStore& store, ClipTextStore& exact, KeptClips& kept,
                             ClipCapture& capture, HistoryKeeper& keeper, SharedState& state)
    : desktop_(std::move(desktop)),
      store_(store),
      exact_(exact),
      kept_(kept),
      capture_(capture),
      keeper_(keeper),
      state_(state) {}

std::string SharedHistory::FolderPath(std::string_view name) const { return SharePath(folder_, name); }

// The id is made once and kept beside the program with the folder and the
// computer it was made for: a copy of the program folder, here or on
// another computer, makes an id of its own instead of writing into the
// same file as the original.
void SharedHistory::LoadMachineId() {
  if (!machine_.empty()) return;
  const std::string path = LocalPath(kMachineFileName);
  if (auto bytes = desktop_.files.ReadAll(path)) {
    if (auto id = MachineIdOf(*bytes, desktop_.programFolder, desktop_.computerName)) {
      machine_ = std::move(*id);
      return;
    }
  }
  auto random = desktop_.crypto.Random(kMachineIdBytes);
  if (!random) throw AppError("Solvane Clips could not make an id for this machine's shared history.");
  machine_ = ToHex(*random);
  SaveReplacing(desktop_.files, path,
                machine_ + "\r\n" + desktop_.programFolder + "\r\n" + desktop_.computerName + "\r\n");
}

bool SharedHistory::LoadKey() {
  auto bytes = desktop_.files.ReadAll(LocalPath(kShareKeyFileName));
  auto key = bytes ? ShareKeyOf(*bytes, desktop_.crypto) : std::nullopt;
  if (!key) return false;
  key_ = std::move(key->key);
  keySalt_ = std::move(key->salt);
  return true;
}

// Only the derived key is kept, wrapped for this user on this machine; the
// passphrase is never written anywhere.
void SharedHistory::SaveKey(const std::string& salt) {
  auto blob = desktop_.crypto.Protect(key_);
  if (!blob) throw AppError("Solvane Clips could not keep the shared folder's key on this machine.");
  SaveReplacing(desktop_.files, LocalPath(kShareKeyFileName), ToHex(salt) + "\r\n" + ToHex(*blob) + "\r\n");
  keySalt_ = salt;
}

void SharedHistory::SaveApplied() {
  std::string bytes;
  for (const auto& [machine, count] : read_.applied) bytes += machine + " " + std::to_string(count) + "\r\n";
  SaveReplacing(desktop_.files, LocalPath(kShareStateFileName), bytes);
}

void SharedHistory::Configure(const std::string& folder, std::string_view passphrase) {
  SaveMerged();  // counted for the folder it came from
  if (folder != folder_) {
    folder_ = folder;
    connected_ = false;
    keyFits_ = false;
    positionKnown_ = false;
    // A new folder starts this machine's file again from its first entry.
    read_ = ShareReadState();
    problem_.clear();
  }
  if (folder_.empty()) {
    desktop_.watch.Watch("");
    desktop_.timers.SetInterval(kShareCheckTimer, 0);
    AllWell();
    return;
  }
  LoadMachineId();
  if (!passphrase.empty()) {
    FileSystem& files = desktop_.files;
    if (!files.ListFiles(folder_)) {
      throw AppError("The shared folder " + Quoted(folder_) + " cannot be reached: choose a folder that exists.");
    }
    const std::string saltPath = FolderPath(kShareSaltFileName);
    const auto saltBytes = files.ReadAll(saltPath);
    std::optional<ShareSalt> salt = saltBytes ? ParseShareSalt(*saltBytes) : std::nullopt;
    if (saltBytes && !salt) {
      throw AppError("The shared folder's " + std::string(kShareSaltFileName) + " is damaged; it is left as it is.");
    }
    std::string saltValue = salt ? salt->salt : desktop_.crypto.Random(kSaltBytes).value_or("");
    if (saltValue.empty()) throw AppError("Solvane Clips could not make a salt for the shared folder.");
    auto key = desktop_.crypto.DeriveKey(passphrase, saltValue, kShareKeyIterations);
    if (!key || key->size() != kShareKeyBytes)
      throw AppError("Solvane Clips could not derive the shared folder's key.");
    if (salt && !KeyFitsSalt(desktop_.crypto, *key, *salt)) {
      throw AppError("This passphrase does not open the history shared in " + Quoted(folder_) +
                     ". Type the passphrase the other machines share it with; nothing was merged.");
    }
    if (!salt) {
      salt = SealSaltCheck(desktop_.crypto, *key, saltValue);
      if (!salt) throw AppError("Solvane Clips could not seal the shared folder's key check.");
      SaveReplacing(files, saltPath, ShareSaltBytes(*salt));
    }
    key_ = std::move(*key);
    SaveKey(saltValue);
    keyFits_ = true;
    connected_ = false;
  }
  desktop_.watch.Watch(folder_);
  desktop_.timers.SetInterval(kShareCheckTimer, kShareCheckInterval);
  Check();
}

bool SharedHistory::Connect() {
  if (key_.empty() && !LoadKey()) {
    Fail("The history is not shared yet: type the shared folder's passphrase in Settings on this machine.");
    return false;
  }
  const auto saltBytes = desktop_.files.ReadAll(FolderPath(kShareSaltFileName));
  if (!saltBytes) {
    Fail(Unreachable());
    return false;
  }
  const auto salt = ParseShareSalt(*saltBytes);
  if (!salt || salt->salt != keySalt_ || !KeyFitsSalt(desktop_.crypto, key_, *salt)) {
    keyFits_ = false;
    Fail("The passphrase typed on this machine does not open the history shared in " + Quoted(folder_) +
         ". Type it again in Settings; until then nothing is merged.");
    return false;
  }
  keyFits_ = true;
  read_.applied = LoadAppliedCounts(desktop_.files, LocalPath(kShareStateFileName));
  connected_ = true;
  return true;
}

void SharedHistory::Check() {
  SaveMerged();
  if (folder_.empty()) return;
  const bool first = !connected_;
  if (!connected_ && !Connect()) return;
  ShareReadNews news;
  if (first) TakeReadAhead(news);
  if (!ReadFolder(news)) return;
  TextSet& touched = news.touched;
  const bool clearSeen = news.clearSeen;
  // Once connected, every line's text is in the ledger or waits to be
  // written: texts it never knew are on no line, and newer than line 0 they
  // go on top without a walk through a long list.
  if (!touched.empty() && !clearSeen && !first && news.onlyNewCaptures && pending_.empty() && PutOnTop(touched)) {
    touched.clear();
  }
  // The first check publishes the lines the folder never heard of; a merge
  // that walks the list anyway finds them on its way.
  std::vector<UnknownLine> unknown;
  const bool walked = !touched.empty() || clearSeen;
  if (walked) Apply(touched, clearSeen, first ? &unknown : nullptr);
  if (first) PublishUnknown(walked ? unknown : UnknownLines());
  if (read_.rejected > rejectedTold_) {
    rejectedTold_ = read_.rejected;
    if (notice) {
      notice(std::to_string(read_.rejected) + " entries in the shared folder " + Quoted(folder_) +
             " did not authenticate: they were skipped, and nothing of them was merged.");
    }
  }
  if (Flush()) AllWell();
}

bool SharedHistory::ReadFolder(ShareReadNews& news) {
  if (!ReadShareFolder(ShareReader{desktop_.files, desktop_.crypto, folder_, machine_, key_}, read_, news)) {
    connected_ = false;
    Fail(Unreachable());
    return false;
  }
  positionKnown_ = true;
  return true;
}

// Made from the same files before this run read any of them, the read ahead
// is this read's first part; what changed since, the read after it finds.
void SharedHistory::TakeReadAhead(ShareReadNews& news) {
  if (!desktop_.readAhead) return;
  auto ahead = desktop_.readAhead();
  desktop_.readAhead = nullptr;
  if (!ahead || ahead->folder != folder_ || ahead->machine != machine_ || ahead->key != key_ ||
      ahead->appliedBefore != read_.applied || !read_.sizes.empty() || read_.ledger.EventCount() != 0) {
    return;
  }
  read_ = std::move(ahead->state);
  news = std::move(ahead->news);
}

std::string SharedHistory::TextOfLine(int line) const { return TextOfItem(desktop_.titles.Get(line)); }

std::vector<std::string_view> SharedHistory::ListItems(std::string& bytes) const {
  bytes.clear();
  desktop_.titles.AppendFileLines(bytes);
  return LinesOf(bytes);
}

std::string SharedHistory::TextOfItem(std::string_view item) const {
  const std::string key = ClipTextStore::KeyOfTitle(item);
  if (key.empty()) return {};
  if (auto exact = exact_.TextView(key)) return std::string(*exact);
  if (auto text = store_.TextView(key))
    return IsAscii(*text) ? std::string(*text) : desktop_.clipboard.AnsiToUtf8(*text);
  if (auto text = store_.Lookup(item)) return desktop_.clipboard.AnsiToUtf8(*text);
  return {};
}

std::vector<ClipCapture::Items> SharedHistory::RecordMerged(const std::vector<ShareLedger::Clip>& clips) {
  std::vector<std::string> ansi(clips.size());
  std::vector<ClipCapture::Elsewhere> texts;
  texts.reserve(clips.size());
  for (std::size_t i = 0; i < clips.size(); ++i) {
    const std::string_view text = clips[i].text;
    // Most texts are ASCII, the same in every code page: no round trip.
    if (IsAscii(text)) {
      texts.push_back({text, {}});
      continue;
    }
    ansi[i] = desktop_.clipboard.Utf8ToAnsi(text);
    const bool exact = desktop_.clipboard.AnsiToUtf8(ansi[i]) == text;
    texts.push_back({ansi[i], exact ? std::string_view() : text});
  }
  std::vector<ClipCapture::Items> items = capture_.RecordElsewhere(texts);
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (clips[i].kept) kept_.Set(ClipTextStore::KeyOfTitle(items[i].item), true);
  }
  return items;
}

bool SharedHistory::PutOnTop(const TextSet& texts) {
  TitleList& list = desktop_.titles;
  std::vector<ShareLedger::Clip> clips;
  for (const std::string_view text : texts) {
    auto clip = read_.ledger.Find(text);
    if (!clip) return false;
    clips.push_back(*clip);
  }
  std::sort(clips.begin(), clips.end(), [](const auto& a, const auto& b) { return b.lastUse < a.lastUse; });
  if (list.Count() > 0) {
    const auto top = read_.ledger.Find(TextOfLine(0));
    if (!top || !(top->lastUse < clips.back().lastUse)) return false;
  }
  {
    const ListUpdate update(list);
    // A store too full for them all takes the newest; the rest stays in the folder.
    int at = 0;
    for (const ClipCapture::Items& items : RecordMerged(clips)) {
      list.Insert(at, items.item);
      if (!items.exactItem.empty()) list.SetExactLine(at, items.exactItem);
      ++at;
    }
  }
  ++state_.Changes;
  MergeShown();
  return true;
}

void SharedHistory::Apply(const TextSet& touched, bool clearSeen, std::vector<UnknownLine>* unknown) {
  TitleList& list = desktop_.titles;
  struct Line {
    std::string item, exactItem;
    std::optional<ShareStamp> stamp;
    int from = -1;     // its line in the list before, or none for a merged clip
    std::string text;  // kept only for a line the folder has not heard of
  };
  std::vector<Line> lines;
  TextStringSet present;
  bool changed = false;
  bool dropped = false;
  std::string bytes;
  const std::vector<std::string_view> listed = ListItems(bytes);
  for (int i = 0; i < static_cast<int>(listed.size()); ++i) {
    const std::string item(listed[static_cast<std::size_t>(i)]);
    std::string text = TextOfItem(item);
    const auto clip = read_.ledger.Find(text);
    // Removed or cleared on some machine, it goes here too; and a text
    // shown twice (copied here and merged from elsewhere) is one clip.
    if ((!clip && read_.ledger.Knows(text)) || (clip && present.count(text))) {
      DropRecords(item);
      changed = true;
      dropped = true;
      continue;
    }
    if (clip && touched.count(text)) kept_.Set(ClipTextStore::KeyOfTitle(item), clip->kept);
    // A line the folder has not heard of stays beside the one above it.
    std::optional<ShareStamp> stamp = clip ? std::optional(clip->lastUse) : std::nullopt;
    if (!stamp && !lines.empty()) stamp = lines.back().stamp;
    lines.push_back({item, {}, stamp, i, clip || !unknown ? std::string() : text});
    present.insert(std::move(text));
  }
  // The newest first, so that a store too full for them all takes those.
  std::vector<ShareLedger::Clip> merged;
  if (touched.size() == read_.ledger.TextCount()) {
    // Every text is news (a folder's first read): taken as the ledger holds
    // them, without looking each one up again.
    merged = read_.ledger.Shown();
    if (!present.empty()) {  // an empty set still hashes the text
      std::erase_if(merged, [&](const ShareLedger::Clip& clip) { return present.count(clip.text) != 0; });
    }
  } else {
    merged.reserve(touched.size());
    for (const std::string_view text : touched) {
      if (!present.empty() && present.count(text)) continue;
      if (const auto clip = read_.ledger.Find(text)) merged.push_back(*clip);
    }
    std::sort(merged.begin(), merged.end(), [](const auto& a, const auto& b) { return b.lastUse < a.lastUse; });
  }
  std::vector<ClipCapture::Items> records = RecordMerged(merged);
  // Grown line by line, a whole history's lines were moved a dozen times
  // into fresh memory.
  lines.reserve(lines.size() + records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    lines.push_back(
        {std::move(records[i].item), std::move(records[i].exactItem), std::move(merged[i].lastUse), -1, {}});
    changed = true;
  }
  const auto newer = [](const Line& a, const Line& b) {
    if (!a.stamp || !b.stamp) return false;
    return *b.stamp < *a.stamp;
  };
  if (!std::is_sorted(lines.begin(), lines.end(), newer)) {
    std::stable_sort(lines.begin(), lines.end(), newer);
    changed = true;
  }
  if (changed || clearSeen) {
    const ListUpdate update(list);
    const int selected = list.ItemIndex();
    // Merged clips that only come between lines kept in their order (most
    // often on top) are put in, when they are fewer than the lines there: a
    // long list is not filled again for them, nor a whole history put in
    // line by line beside a few clips of this machine's own.
    bool inPlace = !dropped && static_cast<std::size_t>(list.Count()) > records.size();
    for (int last = -1; const Line& line : lines) {
      if (line.from < 0) continue;
      inPlace = inPlace && line.from > last;
      last = line.from;
    }
    if (inPlace) {
      for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].from >= 0) continue;
        list.Insert(static_cast<int>(i), lines[i].item);
        if (!lines[i].exactItem.empty()) list.SetExactLine(static_cast<int>(i), lines[i].exactItem);
      }
    } else {
      // Filled again as a file is loaded: a whole history merged at the
      // first start costs what loading it does.
      std::vector<std::string_view> items;
      items.reserve(lines.size());
      for (Line& line : lines) {
        if (line.from >= 0) line.exactItem = list.ExactLine(line.from);
        items.push_back(line.item);
      }
      list.Assign(items);
      for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i].exactItem.empty()) list.SetExactLine(static_cast<int>(i), lines[i].exactItem);
      }
    }
    // Put in, the lines around it move and the selected one with them.
    if (!inPlace && selected >= 0 && selected < list.Count()) list.SetItemIndex(selected);
    ++state_.Changes;
  }
  if (unknown) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].text.empty()) continue;
      unknown->push_back({static_cast<int>(i), std::move(lines[i].text), std::move(lines[i].item)});
    }
  }
  MergeShown();
}

void SharedHistory::MergeShown() {
  desktop_.titles.RedrawMarks();
  mergeUnsaved_ = true;
  desktop_.timers.SetInterval(kShareCheckTimer, kShareSaveDelay);
}

// The clip files first, then the merge counted as done: a crash in between
// merges the same events again rather than losing them.
void SharedHistory::SaveMerged() {
  if (!mergeUnsaved_) return;
  mergeUnsaved_ = false;
  if (!folder_.empty()) desktop_.timers.SetInterval(kShareCheckTimer, kShareCheckInterval);
  try {
    keeper_.SaveHistory();
    keeper_.SaveKept();
    state_.SavedChanges = state_.Changes;
    SaveApplied();
  } catch (const std::exception&) {
    // The autosave and the close try again and say what fails.
  }
}

std::vector<SharedHistory::UnknownLine> SharedHistory::UnknownLines() const {
  std::vector<UnknownLine> unknown;
  std::string bytes;
  const std::vector<std::string_view> items = ListItems(bytes);
  for (std::size_t line = 0; line < items.size(); ++line) {
    std::string text = TextOfItem(items[line]);
    if (!text.empty() && !read_.ledger.Knows(text)) {
      unknown.push_back({static_cast<int>(line), std::move(text), std::string(items[line])});
    }
  }
  return unknown;
}

void SharedHistory::PublishUnknown(const std::vector<UnknownLine>& lines) {
  const std::int64_t now = desktop_.clock.UtcMilliseconds();
  // Oldest first, each a millisecond after the one below it, so that the
  // order of this machine's list survives.
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
    const std::int64_t time = read_.ledger.NextTime(now - line->line);
    pending_.push_back(LocalEvent(ShareEventKind::kCapture, time, line->text));
    if (kept_.ContainsItem(line->item)) pending_.push_back(LocalEvent(ShareEventKind::kKeep, time + 1, line->text));
  }
}

void SharedHistory::Note(ShareEventKind kind, std::string text) {
  if (folder_.empty()) return;
  const std::int64_t now = desktop_.clock.UtcMilliseconds();
  // After what is still waiting to be written, which the ledger does not
  // hold yet.
  const std::int64_t time = std::max(read_.ledger.NextTime(now), pending_.empty() ? 0 : pending_.back().time + 1);
  pending_.push_back(LocalEvent(kind, time, std::move(text)));
  if (connected_ && keyFits_) {
    if (Flush()) AllWell();
  }
}

bool SharedHistory::Flush() {
  if (pending_.empty()) return true;
  if (!connected_ || !keyFits_ || !positionKnown_) return false;
  auto file = desktop_.files.OpenForAppend(FolderPath(machine_ + kShareLogSuffix));
  bool ok = file != nullptr;
  if (ok && read_.nextPosition == 0 && desktop_.files.SizeOf(FolderPath(machine_ + kShareLogSuffix)).value_or(0) == 0) {
    ok = file->Write(ShareLogHeader(machine_));
  }
  std::size_t written = 0;
  while (ok && written < pending_.size()) {
    ShareEvent& event = pending_[written];
    event.machine = machine_;
    event.position = read_.nextPosition;
    auto frame = SealShareEvent(desktop_.crypto, key_, machine_, read_.nextPosition, event);
    ok = frame && file->Write(*frame);
    if (!ok) break;
    read_.ledger.Add(event);
    ++read_.nextPosition;
    ++written;
  }
  if (ok) ok = file->Flush();
  if (file && !file->Close()) ok = false;
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(written));
  // What this machine wrote is in its clip files already: the file's next
  // read has nothing new to merge from it.
  read_.sizes.erase(machine_ + kShareLogSuffix);
  if (!ok) {
    if (desktop_.files.ListFiles(folder_)) {
      Fail("Solvane Clips cannot write to the shared folder " + Quoted(folder_) +
           " (it may be read-only or full). It records on this machine as before and tries again.");
    } else {
      connected_ = false;
      Fail(Unreachable());
    }
  }
  return ok;
}

void SharedHistory::DropRecords(const std::string& item) {
  const std::string key = ClipTextStore::KeyOfTitle(item);
  store_.RemoveKey(key);
  exact_.RemoveKey(key);
  kept_.Set(key, false);
}

void SharedHistory::Captured() {
  std::string text = TextOfLine(0);
  // Copied again here after it came from another machine: the one clip
  // moves up, as a copy of it there did. Only a shared text can be on the
  // list twice so.
  if (read_.ledger.Knows(text)) {
    TitleList& list = desktop_.titles;
    for (int line = 1; line < list.Count(); ++line) {
      if (TextOfLine(line) != text) continue;
      const std::string item = list.Get(line);
      if (kept_.ContainsItem(item)) kept_.Set(ClipTextStore::KeyOfTitle(list.Get(0)), true);
      DropRecords(item);
      list.Delete(line);
      break;
    }
  }
  Note(ShareEventKind::kCapture, std::move(text));
}
void SharedHistory::MovedToTop() { Note(ShareEventKind::kUse, TextOfLine(0)); }

void SharedHistory::KeptChanged(int line) {
  const bool kept = kept_.ContainsItem(desktop_.titles.Get(line));
  Note(kept ? ShareEventKind::kKeep : ShareEventKind::kUnkeep, TextOfLine(line));
}

void SharedHistory::Cleared() {
  heldRemoval_.reset();  // the clear takes it as well
  Note(ShareEventKind::kClear, {});
}

void SharedHistory::RemovalFinal() {
  if (heldRemoval_) Note(ShareEventKind::kRemove, *std::exchange(heldRemoval_, std::nullopt));
}

std::string SharedHistory::Unreachable() const {
  return "The shared folder " + Quoted(folder_) +
         " cannot be reached. Solvane Clips records on this machine as before and tries again.";
}

void SharedHistory::Fail(const std::string& problem) {
  if (problem == problem_) return;
  problem_ = problem;
  if (report) report(problem);
}

void SharedHistory::AllWell() {
  if (problem_.empty()) return;
  problem_.clear();
  if (report) report("");
}

}  // namespace solvane
