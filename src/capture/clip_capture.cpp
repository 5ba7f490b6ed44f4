#include "capture/clip_capture.h"

#include <algorithm>
#include <utility>

#include "base/app_error.h"
#include "base/text_buffer.h"
#include "core/clip_files.h"
#include "core/title_builder.h"

namespace solvane {

ClipCapture::ClipCapture(CaptureDesktop desktop, ClipTextStore& store, ClipTextStore& exact, SharedState& state)
    : desktop_(desktop), store_(store), exact_(exact), state_(state) {}

std::string ClipCapture::MakeUniqueKey(std::string_view text, const std::unordered_set<std::string>* alsoTaken) {
  // A line of the new text that reads as a header or trailer (a piece of a
  // clip file copied in an editor) would be taken for the new record's own
  // marker if it named the new key: the record would end at that line.
  std::vector<std::string> quoted;
  // Every marker starts so: a text without it is not split into lines.
  static_assert(kHeaderMarker.substr(0, 2) == kTrailerMarker.substr(0, 2));
  // Looked for sixteen bytes at a time: a merge asks it of a whole history.
  bool mayQuote = false;
  for (const char* at = text.data(); !mayQuote; ++at) {
    at = FindByte(at, text.data() + text.size(), kHeaderMarker[0]);
    if (at == text.data() + text.size()) break;
    mayQuote = at + 1 < text.data() + text.size() && at[1] == kHeaderMarker[1];
  }
  for (const std::string_view line : mayQuote ? BufferLineViews(text) : std::vector<std::string_view>()) {
    if (ClipTextStore::MarkerOf(line) != ClipTextStore::Marker::None) {
      quoted.push_back(AsciiLower(std::string_view(line).substr(kHeaderMarker.size())));
    }
  }
  const auto taken = [&](const std::string& key) {
    // A key that only an exact text left behind by a failed capture holds
    // is taken as well, or that text would come back with the new clip.
    return store_.ContainsKey(key) || exact_.ContainsKey(key) ||
           std::find(quoted.begin(), quoted.end(), AsciiLower(key)) != quoted.end() ||
           (alsoTaken != nullptr && alsoTaken->count(AsciiLower(key)) != 0);
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

std::string ClipCapture::ExactTextOf(const std::string& ansi) {
  auto unicode = desktop_.clipboard.ReadUnicodeText();
  if (!unicode) return {};
  std::string exact = NormalizeLineBreaks(*unicode);
  if (exact == desktop_.clipboard.AnsiToUtf8(ansi)) return {};
  return exact;
}

void ClipCapture::OnClipboardChange() {
  if (state_.SkipNextChange) {
    state_.SkipNextChange = false;
    return;
  }
  if (!on_) return;
  Clipboard& clipboard = desktop_.clipboard;
  if (!clipboard.HasText()) return;
  // A copy marked secret (a password) must never reach the history files.
  if (clipboard.IsExcludedFromHistory()) return;
  auto read = clipboard.ReadText();
  if (!read) return;  // still locked by another program: nothing to record

  std::string text = NormalizeLineBreaks(*read);
  std::string exact = ExactTextOf(text);
  state_.LastChangeTime = desktop_.clock.LocalTimeSeconds();
  ++state_.Changes;
  if (text == lastCapture_ && exact == lastExact_) return;

  const std::string key = MakeUniqueKey(text);
  Insert(key, BuildTitle(text, desktop_.listFont), text, exact);
  lastCapture_ = std::move(text);
  lastExact_ = std::move(exact);
}

std::vector<ClipCapture::Items> ClipCapture::RecordElsewhere(const std::vector<Elsewhere>& clips) {
  std::size_t textBytes = 0, exactBytes = 0, exactCount = 0;
  for (const Elsewhere& clip : clips) {
    textBytes += clip.text.size();
    exactBytes += clip.exactText.size();
    exactCount += clip.exactText.empty() ? 0 : 1;
  }
  ClipTextStore::RecordBlock texts(clips.size(), textBytes), exactTexts(exactCount, exactBytes);
  std::vector<Items> items;
  items.reserve(clips.size());
  std::vector<std::size_t> exactClips;   // which clips have an exact text
  std::unordered_set<std::string> keys;  // the block's own, not in a store yet
  for (const Elsewhere& clip : clips) {
    std::string key = MakeUniqueKey(clip.text, &keys);
    Items& added = items.emplace_back(Items{BuildTitleLine(clip.text, desktop_.listFont, key), {}});
    if (!clip.exactText.empty()) {
      exactTexts.Add(key, clip.exactText);
      exactClips.push_back(items.size() - 1);
      added.exactItem = BuildExactTitleLine(clip.exactText, desktop_.listFont, key);
    }
    texts.Add(key, clip.text);
    keys.insert(AsciiLower(key));
  }
  // A clip is recorded only when both its records fit.
  std::size_t count = store_.FittingRecords(texts);
  exactCount = exact_.FittingRecords(exactTexts);
  if (exactCount < exactClips.size()) count = std::min(count, exactClips[exactCount]);
  exactCount =
      static_cast<std::size_t>(std::lower_bound(exactClips.begin(), exactClips.end(), count) - exactClips.begin());
  exact_.InsertRecordsAtTop(std::move(exactTexts), exactCount);
  store_.InsertRecordsAtTop(std::move(texts), count);
  items.resize(count);
  return items;
}

void ClipCapture::Insert(const std::string& key, const std::string& title, std::string_view text,
                         const std::string& exactText) {
  // The title goes in first: a list that refuses it leaves nothing to undo,
  // and a record that does not fit takes its title back out. Either way no
  // record is left that no title reaches. An exact text left behind by a
  // record that did not fit is never read: its key has no record.
  TitleList& list = desktop_.titles;
  try {
    list.Insert(0, title + kTitlePadding + key);
  } catch (const std::exception&) {
    throw AppError(kLineInsertionError);
  }
  try {
    if (!exactText.empty()) {
      exact_.InsertRecordAtTop(key, exactText);
      list.SetExactLine(0, BuildExactTitle(exactText, desktop_.listFont) + kTitlePadding + key);
    }
    store_.InsertRecordAtTop(key, text);
  } catch (...) {
    list.Delete(0);
    throw;
  }
}

}  // namespace solvane
