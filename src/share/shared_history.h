#pragma once
// The history shared with the user's other machines through a folder that a
// file-sync program (or a cloud drive) keeps in step. This machine appends
// its own events (copies, pastes, removals, marks, clears) to its own file
// there, sealed under a key derived from the user's passphrase, and merges
// the other machines' files into its list when they change. The local clip
// files stay the history's own copy: the folder is an addition.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "capture/clip_capture.h"
#include "core/clip_text_store.h"
#include "core/kept_clips.h"
#include "core/share_ledger.h"
#include "core/share_log.h"
#include "core/shared_state.h"
#include "history/history_keeper.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/folder_watch.h"
#include "platform/share_crypto.h"
#include "platform/timers.h"
#include "platform/title_list.h"
#include "share/share_read.h"

namespace solvane {

// While the folder is watched the check is a fallback; after a failure it
// is the retry.
inline constexpr int kShareCheckInterval = 2000;
// A merge is saved this long after it is shown, by a check that comes that
// soon: the list shows an arrival without waiting for a long history's save.
inline constexpr int kShareSaveDelay = 500;

struct ShareDesktop {
  FileSystem& files;
  ShareCrypto& crypto;
  FolderWatch& watch;
  Clock& clock;
  Clipboard& clipboard;  // the code page's conversions
  TitleList& titles;
  Timers& timers;
  std::string programFolder;  // with its trailing separator
  std::string computerName;
  // The folder's first read, when it was made ahead (once; may be null).
  std::function<std::optional<ShareReadAhead>()> readAhead;
};

class SharedHistory {
 public:
  SharedHistory(ShareDesktop desktop, ClipTextStore& store, ClipTextStore& exact, KeptClips& kept, ClipCapture& capture,
                HistoryKeeper& keeper, SharedState& state);

  // The folder (empty: not shared) and, when the user typed one, the
  // passphrase. A passphrase that does not open the folder's history throws
  // AppError, and nothing is merged; so does a folder whose salt cannot be
  // made. Otherwise the folder is checked at once.
  void Configure(const std::string& folder, std::string_view passphrase);
  bool on() const { return !folder_.empty(); }

  // The watch saw a change, or the periodic check is due.
  void Check();
  // The local files and how far each machine's file is merged, saved once a
  // merge has been shown; the check does it soon after, the close at once.
  // Until then a crash only means the same events are merged again.
  void SaveMerged();

  // What the user did here, told after it was done.
  void Captured();    // line 0 is a new copy
  void MovedToTop();  // line 0 was pasted and moved up
  void KeptChanged(int line);
  void Cleared();
  // A removal waits until it can no longer be put back: only then it goes
  // to the other machines.
  void Removed(std::string text) {
    RemovalFinal();
    heldRemoval_ = std::move(text);
  }
  void RemovalUndone() { heldRemoval_.reset(); }
  void RemovalFinal();

  // A clip's text as the other machines know it (UTF-8).
  std::string TextOfLine(int line) const;
  std::string TextOfItem(std::string_view item) const;

  // Told each new problem, and an empty text once all is well again.
  std::function<void(const std::string& problem)> report;
  // Told what the user should know once, with no lasting problem.
  std::function<void(const std::string& message)> notice;

  // For tests and the benchmark.
  const ShareLedger& ledger() const { return read_.ledger; }
  int rejected() const { return read_.rejected; }
  const std::string& machineId() const { return machine_; }

 private:
  std::string FolderPath(std::string_view name) const;
  std::string LocalPath(const char* name) const { return desktop_.programFolder + name; }
  void LoadMachineId();
  bool LoadKey();
  void SaveKey(const std::string& salt);
  void SaveApplied();
  // Makes the folder ready (salt, key); false with the problem reported.
  bool Connect();
  using TextSet = std::unordered_set<std::string_view>;
  // A line of the list whose clip the folder has not heard of.
  struct UnknownLine {
    int line = 0;
    std::string text, item;
  };
  // Reads every changed file, into `news` what was new here.
  bool ReadFolder(ShareReadNews& news);
  // The first read made ahead, when it read this folder as this machine
  // with this key from the state just loaded.
  void TakeReadAhead(ShareReadNews& news);
  // Every line's item, read at once: a line read on its own puts every line
  // above it into the control first.
  std::vector<std::string_view> ListItems(std::string& bytes) const;
  // The list made to show what the merge says; the lines the folder has
  // not heard of into `unknown`, when given.
  void Apply(const TextSet& touched, bool clearSeen, std::vector<UnknownLine>* unknown);
  // Clips new to this machine and newer than line 0, put above it; false
  // (and nothing done) when they are not.
  bool PutOnTop(const TextSet& texts);
  // The marks redrawn and the save set for soon, once the list shows a merge.
  void MergeShown();
  // Merged clips' records and titles, for those the store can take (from
  // the first).
  std::vector<ClipCapture::Items> RecordMerged(const std::vector<ShareLedger::Clip>& clips);
  std::vector<UnknownLine> UnknownLines() const;
  // This machine's clips that the folder has not heard of yet, oldest first.
  void PublishUnknown(const std::vector<UnknownLine>& lines);
  // A line's records and kept mark, its title left to the caller.
  void DropRecords(const std::string& item);
  void Note(ShareEventKind kind, std::string text);
  bool Flush();
  void Fail(const std::string& problem);
  std::string Unreachable() const;
  void AllWell();

  ShareDesktop desktop_;
  ClipTextStore& store_;
  ClipTextStore& exact_;
  KeptClips& kept_;
  ClipCapture& capture_;
  HistoryKeeper& keeper_;
  SharedState& state_;

  std::string folder_;
  std::string machine_;
  std::string key_;
  std::string keySalt_;  // the salt the key was derived with
  bool connected_ = false;
  bool keyFits_ = false;  // the key opens the folder's salt check
  bool mergeUnsaved_ = false;
  ShareReadState read_;
  bool positionKnown_ = false;
  std::vector<ShareEvent> pending_;  // not yet written to the folder
  std::optional<std::string> heldRemoval_;
  std::string problem_;
  int rejectedTold_ = 0;
};

}  // namespace solvane
