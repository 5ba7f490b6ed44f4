#pragma once
// The history's housekeeping: the clip files loaded at start and saved
// (on request, by autosave, at the close and at the session's end), Clear
// Clips, "prefs.qlx", and the questions before clearing and quitting.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/clip_files.h"
#include "core/clip_text_store.h"
#include "core/kept_clips.h"
#include "core/shared_state.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/form_window.h"
#include "platform/pointer.h"
#include "platform/text_metrics.h"
#include "platform/timers.h"
#include "platform/title_list.h"
#include "settings/settings_dialog.h"

namespace solvane {

// What the housekeeping needs of the desktop; all references outlive it.
struct HistoryDesktop {
  FileSystem& files;
  TitleList& titles;
  TextMetrics& listFont;  // titles rebuilt for a lost title file
  Dialogs& dialogs;
  Pointer& pointer;  // put on the question's buttons
  Timers& timers;
  FormWindow& window;
  SettingsDialog& settings;
  std::string programFolder;                    // with its trailing separator
  StoreLoadedAhead storeLoadedAhead = nullptr;  // consulted by the load at start
};

class HistoryKeeper {
 public:
  HistoryKeeper(HistoryDesktop desktop, ClipTextStore& store, ClipTextStore& exact, KeptClips& kept,
                SharedState& state);

  // Removes what a crashed save left and loads both clip files; the
  // failures' messages, in order, for the caller to show once all is tried.
  std::vector<std::string> LoadAtStart();

  // The clip files, each replaced whole (the exact texts' file only while
  // there are exact texts); throws what failed.
  void SaveHistory();
  // Tray menu "Save Clips".
  void OnSaveClipsCommand();
  // Saves when a capture came since the last whole save.
  void OnAutosaveTimer();
  int autosaveInterval() const { return autosaveInterval_; }
  void SetAutosaveInterval(int milliseconds);

  // Clear Clips, in two steps around the caller's own forgetting: the
  // question (when the settings ask for it), then the list, the store and
  // both files scrubbed.
  bool ConfirmClear();
  void Clear();
  void ScrubFile(const std::string& path);

  // Removing one clip: its title line, its records in the store and its
  // exact text, then a save of the clip files at once (which throws what
  // failed; the clip stays removed). False for a line that does not exist.
  bool RemoveClip(int line);
  // Puts the last removed clip back on its line, its records and exact
  // text with it, and saves again. False when there is none to put back.
  bool RestoreRemoved();
  bool HasRemoved() const { return removed_.has_value(); }
  // Whether a line's clip may be removed: a kept one asks first.
  bool ConfirmRemoveKept(int line);

  // Keeping a clip for good, or letting it go: the mark moves with the
  // line, and the kept file is saved at once (which throws what failed).
  bool ToggleKept(int line);
  void SaveKept();
  // The last removal becomes final: it can no longer be put back.
  void ForgetRemoved() { removed_.reset(); }

  // Tray menu "Quit", with its question when the settings ask for it.
  void Quit();
  // Saves the clip files, "prefs.qlx" and the settings. False when the
  // window must stay open: something could not be saved and the user chose
  // not to quit.
  bool OnClose();
  bool closed() const { return closed_; }
  // The answer to the system's query whether the session may end: the clips
  // are saved, and no box ever holds the session up.
  int OnQueryEndSession();
  // The session ends (or, with false, goes on after all): whatever changed
  // since and the settings are saved, without boxes.
  void OnEndSession(bool ending);

  // "prefs.qlx": its first line holds the stored preference flags.
  void LoadPrefs();
  void SavePrefs();
  // "Don't paste 1st (title) line": the one stored preference.
  bool titleLineFlag() const { return titleLineFlag_; }

  std::string PathOf(const char* fileName) const { return desktop_.programFolder + fileName; }

 private:
  void RemoveStaleSaves();
  std::vector<std::string> LoadClipFiles();
  // One title per record, newest first, for a title file that was lost.
  void RebuildTitles();
  // The lines whose clip has an exact text show the title built from it;
  // `lineKeys` holds each list line's key, kKeyLength characters a line.
  void ShowExactTitles(std::string_view lineKeys);
  // A clip file and its unfinished save scrubbed, where they exist.
  void ScrubClipFile(const char* fileName);
  // A clip file this run did not load is moved aside before anything is
  // written in its place; `kept` collects what to tell the user.
  void KeepIfNotLoaded(const char* fileName, bool& loaded, std::vector<std::string>& kept);
  void TellKept(const std::vector<std::string>& kept);
  bool Ask(int dx, int dy, const std::string& question);

  // What RestoreRemoved puts back.
  struct Removed {
    int line = 0;
    std::string title;
    std::string exactLine;
    std::vector<std::string> storeLines, exactLines;
    bool kept = false;
  };
  // The kept file, read after the clip files: only the keys that a line
  // carries (`lineKeys`, kKeyLength characters a line), or with none given
  // (titles rebuilt from the store) that the store holds.
  void LoadKeptFile(std::optional<std::string_view> lineKeys, std::vector<std::string>& problems);
  // Saves it when there are kept clips or it exists; `kept` collects what
  // to tell the user, as for the clip files.
  void WriteKeptFile(std::vector<std::string>& kept);
  void MarkChanged();

  HistoryDesktop desktop_;
  std::optional<Removed> removed_;
  ClipTextStore& store_;
  ClipTextStore& exact_;
  KeptClips& kept_;
  SharedState& state_;
  bool titleLineFlag_ = false;
  int autosaveInterval_ = 0;
  bool autosaveBusy_ = false;
  // Found at start; while false, a failed autosave says nothing (the start
  // said why once, and the close still asks before anything is lost).
  bool folderWritable_ = true;
  // Whether this run read each clip file (or has since written it): a file
  // that was not read may hold clips no one has seen, and is never
  // overwritten.
  bool titleFileLoaded_ = false;
  bool storeFileLoaded_ = false;
  bool exactFileLoaded_ = false;
  bool keptFileLoaded_ = true;
  bool quiet_ = false;   // the session is ending: no box may hold it up
  bool closed_ = false;  // OnClose let the window close
  bool asking_ = false;  // a question is up
};

}  // namespace solvane
