#pragma once
// The values the clip window's handlers share for the whole run.

#include <cstdint>
#include <string>

namespace solvane {

struct SharedState {
  std::int32_t MaxClips = 72;
  // Set at start to swallow the notice the monitor gets when it joins the
  // chain, and by every paste to swallow the notice of its own write.
  bool SkipNextChange = true;
  bool WindowShown = false;
  bool FirstActivationDone = false;
  std::int32_t AutoSaveInterval = 300000;
  std::int32_t PasteDelay = 0;
  std::string PrefFlags = "0000000000";
  // Local times cut to whole seconds; see Clock::LocalTimeSeconds.
  std::int64_t LastSaveTime = 0;
  std::int64_t LastChangeTime = 0;
  // Captures so far, and how many of them the last whole save covered.
  // Exact where the times above are cut to seconds: a capture in the same
  // second as a save is still written by the next autosave.
  std::uint64_t Changes = 0;
  std::uint64_t SavedChanges = 0;
};

}  // namespace solvane
